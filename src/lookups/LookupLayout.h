#pragma once

#include <QList>

class QLabel;
class QWidget;

// Helpers the two lookup windows share. Positions and sizes are in twips, as
// the windows' layouts are written; they turn into pixels only here.
namespace LookupLayout {

// Moves and sizes a widget; a negative width or height is taken as 0, so that
// a window made too small never fails its layout.
void place(QWidget* widget, int left, int top, int width, int height);
// The widget's height and width in twips.
int heightTwips(const QWidget* widget);
int widthTwips(const QWidget* widget);

// The details panes put a label left of each box. When the screen's font needs
// more room for a label than the design leaves, the boxes move right together,
// so that every caption stays readable and the boxes stay in one column.
void fitLabels(const QList<QLabel*>& labels, const QList<QWidget*>& boxes);

} // namespace LookupLayout
