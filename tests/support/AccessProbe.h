#pragma once

// Looks at a window as a keyboard and screen-reader user meets it: the ring of
// controls that Tab walks through, the order a reader of the window sees them
// in, and what assistive technology announces for each control.

#include <QList>
#include <QString>

class QWidget;

namespace AccessProbe {

// Gives `start` the focus, then presses Tab on whatever holds the focus until
// the focus is back on the first widget, and lists the focused widgets in
// turn (the first one once). On a ring that does not close within 40 presses,
// or a press that leaves the focus where it is (in a window of more than one
// control), `problem` says so and the list ends there.
QList<QWidget*> tabRing(QWidget* start, QString* problem);

// The widgets as a reader of their window meets them: rows from top to bottom,
// left to right within a row. A widget starts a new row when its top is below
// the vertical middle of the row's first widget.
QList<QWidget*> visualOrder(QList<QWidget*> widgets);

// The ring turned to start at its visually first widget.
QList<QWidget*> fromVisualStart(const QList<QWidget*>& ring);

// What assistive technology says for the focused widget: its name and its
// description. A tab row is announced by its current tab. On X11 a combo box
// reports its current entry as its name; the name of the label it is labelled
// by (its caption) is read instead.
struct Spoken
{
    QString name;
    QString description;
};
Spoken spoken(QWidget* focused);

// Empty when the focused widget is named and described, and named as the
// caption that labels it (its buddy, or the buddy's focus proxy) reads;
// otherwise what is wrong.
QString namingProblem(QWidget* focused);

// The object name of the widget or of its nearest named ancestor, for
// messages.
QString nameForMessage(const QWidget* widget);
QString namesForMessage(const QList<QWidget*>& widgets);

} // namespace AccessProbe
