#pragma once

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

} // namespace LookupLayout
