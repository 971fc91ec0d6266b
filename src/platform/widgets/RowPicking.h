#pragma once

class QAbstractItemView;

// A list of rows picked one at a time, tabbed into: Qt gives it a current cell
// then without selecting it, and in a list of one row the arrow keys cannot
// move to select it. With this, tabbing in picks the current row, so what acts
// on the picked row (Restore, a category for a line) works from the keyboard.
void PickCurrentRowOnTabIn(QAbstractItemView& list);
