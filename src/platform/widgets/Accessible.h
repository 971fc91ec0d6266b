#pragma once

#include <QString>

class QLabel;
class QWidget;

// Names and descriptions for assistive technology (screen readers): the name is
// what the control's caption says, the description what to type there or what
// the control does. Both are short plain English.
namespace Accessible {

// A caption's text as a name: without the mnemonic "&" (a literal "&&" stays
// one "&") and without a trailing colon.
QString nameOf(const QString& caption);

// Sets the name and description on `control`, and on the widget that takes its
// keyboard focus when that is another one (a date picker's text field): a
// screen reader announces the focused widget.
void describe(QWidget* control, const QString& name, const QString& description);

// Names the control that `caption` labels (its buddy) by the caption's text.
// A caption without a buddy is left alone.
void describe(const QLabel* caption, const QString& description);

} // namespace Accessible
