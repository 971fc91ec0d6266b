// The grid events of the sheet and the procedures of the floating editors, as
// the program names them: each hands on to the cell editor, which owns the
// editors and the edit. Here too is what the cell editor asks of the rows.

#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/KeyCodes.h"
#include "sheet/CellEditor.h"
#include "sheet/frmTransactions.h"
#include "shell/dbStuff.h"

using namespace dbStuff;

void frmTransactions::connectGrid(FlexGrid& grid)
{
    FlexGrid* g = &grid;
    connect(g, &FlexGrid::GotFocus, this,
            [this, g] { RunHandler([this, g] { grid_GotFocus(*g); }); });
    connect(g, &FlexGrid::LeaveCell, this,
            [this, g] { RunHandler([this, g] { grid_LeaveCell(*g); }); });
    connect(g, &FlexGrid::EnterCell, this,
            [this, g] { RunHandler([this, g] { grid_EnterCell(*g); }); });
    connect(g, &FlexGrid::KeyDown, this, [this, g](int keyCode, int) {
        if (keyCode == VKey::Delete)
            RunHandler([this, g] { DeleteItem(*g); });
    });
    connect(g, &FlexGrid::KeyPress, this,
            [this, g](int& keyAscii) { RunHandler([&] { grid_KeyPress(*g, keyAscii); }); });
    connect(g, &FlexGrid::DblClick, this,
            [this, g] { RunHandler([this, g] { grid_DblClick(*g); }); });
    m_editor->watchGrid(grid);
}

QWidget* frmTransactions::Getcontrol(FlexGrid& ctl)
{
    return m_editor->choose(ctl);
}

void frmTransactions::FGEdit(FlexGrid& FG, QWidget* Edt, int KeyAscii)
{
    m_editor->open(FG, Edt, KeyAscii);
}

void frmTransactions::EditKeyCode(FlexGrid& FG, QWidget* Edt, int KeyCode, int Shift)
{
    Q_UNUSED(Shift);
    m_editor->editorKeyDown(FG, Edt, KeyCode);
}

void frmTransactions::grid_GotFocus(FlexGrid& grid)
{
    m_editor->gridGotFocus(grid);
}

void frmTransactions::grid_LeaveCell(FlexGrid& grid)
{
    m_editor->gridLeaveCell(grid);
}

void frmTransactions::grid_EnterCell(FlexGrid& grid)
{
    m_editor->gridEnterCell(grid);
}

void frmTransactions::grid_KeyPress(FlexGrid& grid, int& keyAscii)
{
    m_editor->gridKeyPress(grid, keyAscii);
}

void frmTransactions::grid_DblClick(FlexGrid& grid)
{
    m_editor->gridDblClick(grid);
}

bool frmTransactions::previousCellIncomplete(const FlexGrid& grid) const
{
    return PreviousCellIncomplete(grid);
}

QString frmTransactions::receiptIdCell(const QString& typed)
{
    return SheetGrid::receiptCellText(typed);
}

void frmTransactions::categoryWritten(FlexGrid& grid, int row)
{
    alignAmountWithCategory(grid, row);
}

void frmTransactions::rowCommitted(FlexGrid& grid, bool changed)
{
    storeRow(grid, changed);
    if (NewRowOK(grid))
        AddNewRow(grid);
    SumSheet(grid);
}
