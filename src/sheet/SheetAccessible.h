#pragma once

class FlexGrid;
class QWidget;
class frmTransactions;

// What the sheet's controls say to assistive technology.
namespace SheetAccessible {

// Names the business box, the tab row and the two grids of the window.
void describeControls(frmTransactions& window);

// Names an editor opened on a cell by the cell's column title and row
// ("Date, row 3"), and says what to type there. Called as the editor is shown.
void describeEditor(QWidget* editor, const FlexGrid& grid, int row, int col);

} // namespace SheetAccessible
