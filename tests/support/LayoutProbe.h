#pragma once

// Looks at a window as a person does: where the keyboard focus goes with Tab,
// and whether captions, boxes and frames are whole and clear of each other.
// Geometry is compared in pixels of the window the widgets belong to.

#include <QList>
#include <QPair>
#include <QRect>
#include <QStringList>

class QGroupBox;
class QLabel;
class QWidget;

namespace LayoutProbe {

// The control that holds the keyboard focus, named as the window names it:
// the object name of the focus widget or of its nearest named ancestor (a
// picker's inner date field counts as the picker). Qt's own inner names
// ("qt_...") are passed over.
QString focusedControl();

// Gives `start` the focus, then presses Tab (or Shift+Tab) on whatever holds
// the focus until the focus has moved to another control `moves` times, and
// lists those controls in turn. Presses that stay in one control (a date
// field's Tab moves from day to month to year) add nothing; ten presses
// without a move end the list early.
QStringList tabCycle(QWidget* start, int moves, bool backwards = false);

// A caption and the box it names.
using Row = QPair<QLabel*, QWidget*>;

// Fails the running test unless, inside `frame`: every caption is at least as
// wide as its text needs; the boxes share one left edge, a few pixels right of
// every caption; each box is at least `minBoxWidth` pixels wide and as large
// as its content needs; rows follow each other without overlapping; and everything lies inside
// the frame's contents, which lies inside the window.
void checkPane(const QGroupBox* frame, const QList<Row>& rows, int minBoxWidth);

// The widget's rectangle in the coordinates of `window` (an ancestor).
QRect rectIn(const QWidget* window, const QWidget* widget);

} // namespace LayoutProbe
