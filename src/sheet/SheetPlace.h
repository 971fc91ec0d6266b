#pragma once

class QMdiSubWindow;

// Where the sheet window opens: as the user left it in an earlier run (size,
// place, maximised), kept in the settings; maximised the first time, since
// its ten columns want the whole frame.
namespace SheetPlace {
void restore(QMdiSubWindow& sub);
void remember(const QMdiSubWindow& sub);
} // namespace SheetPlace
