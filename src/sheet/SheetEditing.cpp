// The floating cell editors: choosing one for a cell, opening it over the
// cell, its keys, and writing its value back (which may store the row).
//
// Order of events on a commit: the grid gains the focus (Enter, the arrow keys,
// a mouse press on the grid) or its cursor leaves the cell; whichever comes
// first writes the value into the cell, which is still the cell being edited,
// and hides the editor; the other then finds the editor hidden.

#include "platform/Format.h"
#include "platform/ProgramLocale.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Twips.h"
#include "sheet/frmTransactions.h"
#include "sheet/RelationPicker.h"
#include "sheet/SheetColumns.h"
#include "shell/dbStuff.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QScopedValueRollback>

#include <algorithm>

using namespace dbStuff;
using namespace SheetCol;

namespace {

// Placement of the editors over a cell, in twips.
constexpr int TextBoxTopInset = 60;
constexpr int TextBoxHeightCut = 68;
constexpr int EditorWidthCut = 8;
// A selection length that reaches past any text.
constexpr int WholeText = 1000;

const QString NotNumericMessage = QStringLiteral("A numeric value has to be entered in this box.");
const QString NotADateMessage =
    QStringLiteral("A date has to be entered in this box, for example 16/Jun/2025 or 16/06/2025.");

} // namespace

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
    watchGridPlacement(grid);
}

void frmTransactions::connectEditor(QWidget* editor)
{
    watchEditorKeys(editor);
    auto keyDown = [this, editor](int keyCode, int shift) {
        RunHandler([this, editor, keyCode, shift] {
            if (m_editGrid)
                EditKeyCode(*m_editGrid, editor, keyCode, shift);
        });
    };
    if (auto* box = qobject_cast<TextBox*>(editor))
        connect(box, &TextBox::KeyDown, this, keyDown);
    else if (auto* combo = qobject_cast<ComboBox*>(editor))
        connect(combo, &ComboBox::KeyDown, this, keyDown);
    else if (auto* picker = qobject_cast<DatePicker*>(editor))
        connect(picker, &DatePicker::KeyDown, this, keyDown);

    if (editor == Num) {
        // Enter moves on (EditKeyCode); it never types into the amount.
        connect(Num, &TextBox::KeyPress, this, [](int& keyAscii) {
            if (keyAscii == VKey::Return)
                keyAscii = 0;
        });
    }
}

bool frmTransactions::editorOpen() const
{
    return m_editState != EditState::Closed;
}

void frmTransactions::closeEditor()
{
    if (!editorOpen())
        return;
    if (CurrentEditor == Cbo)
        restoreCategorySnapshot();
    CurrentEditor->hide();
    m_editState = EditState::Closed;
}

std::optional<bool> frmTransactions::categoryReceivesMoney(const FlexGrid& grid, int row) const
{
    bool ok = false;
    const qint64 id = grid.TextMatrix(row, ColCategoryId).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return ledger().categoryReceivesMoney(id);
}

QWidget* frmTransactions::editorFor(const FlexGrid& grid, int row, int col) const
{
    if (row < 1 || row >= grid.Rows() - 2)
        return nullptr;
    switch (col) {
    case ColDescription:
    case ColReceiptId:
        return Txt;
    case ColCategory:
        return Cbo;
    case ColDate:
        return DT;
    case ColInvoiceNr:
    case ColCredited:
        // A row without a (known) category has no invoice or amount yet.
        if (!categoryReceivesMoney(grid, row).value_or(false))
            return nullptr;
        return col == ColInvoiceNr ? static_cast<QWidget*>(Txt) : Num;
    case ColDebited: {
        const std::optional<bool> receives = categoryReceivesMoney(grid, row);
        return receives.has_value() && !*receives ? Num : nullptr;
    }
    case ColRelation:
        return cbo2;
    default:
        return nullptr;
    }
}

QWidget* frmTransactions::Getcontrol(FlexGrid& ctl)
{
    m_editGrid = &ctl;
    CurrentEditor = nullptr;
    const int row = ctl.Row();
    QWidget* editor = editorFor(ctl, row, ctl.Col());
    if (editor == Cbo) {
        m_categorySnapshot = {&ctl, row, ctl.TextMatrix(row, ColInvoiceNr),
                              ctl.TextMatrix(row, ColCategoryId)};
        // Letters typed in the picker search from its opening on, not on from
        // what was typed the last time it was open.
        Cbo->view()->keyboardSearch(QString());
        // Preselected by the row's category id, which names one category even
        // where two share a name.
        Cbo->setListIndex(-1);
        const QString id = ctl.TextMatrix(row, ColCategoryId);
        for (int i = 0; i < Cbo->ListCount(); ++i) {
            if (!id.isEmpty() && QString::number(Cbo->ItemData(i)) == id) {
                Cbo->setListIndex(i, true);
                break;
            }
        }
    } else if (editor == cbo2) {
        if (m_relationPicker->stale())
            FillcboRelations();
        m_relationPicker->openOn(ctl.TextMatrix(row, ColRelation));
    }
    CurrentEditor = editor;
    return editor;
}

void frmTransactions::FGEdit(FlexGrid& FG, QWidget* Edt, int KeyAscii)
{
    const int row = FG.Row();
    if (row < 1 || row >= FG.Rows() - 2)
        return;
    if (PreviousCellIncomplete(FG)) {
        tellWhichCellFirst(FG);
        return;
    }
    if (!Edt) {
        // Typing on a cell without an editor goes on to the next cell; on the
        // last column there is none to go to. A typed character then starts
        // the edit of the cell it landed on, as if typed there.
        const int col = FG.Col();
        const int nextRow = col == ColCredited ? row + 1 : row;
        const int nextCol = col == ColCredited ? int(ColDescription) : col + 1;
        if (col != ColCredited && col >= FG.Cols() - 1)
            return;
        FG.moveTo(nextRow, nextCol);
        if (KeyAscii > VKey::Space && FG.Row() == nextRow && FG.Col() == nextCol && !editorOpen() &&
            FG.hasFocus())
            FGEdit(FG, Getcontrol(FG), KeyAscii);
        return;
    }

    const QString cell = FG.Text();
    const bool startsWithCellValue = KeyAscii >= 0 && KeyAscii <= 32;
    if (auto* box = qobject_cast<TextBox*>(Edt)) {
        if (startsWithCellValue) {
            box->setText(cell);
            box->setSelection(0, WholeText);
        } else {
            box->setText(QString(QChar(char16_t(KeyAscii))));
            box->setCursorPosition(1);
        }
    } else if (auto* combo = qobject_cast<ComboBox*>(Edt)) {
        // In the relation picker the typed character replaces the whole text.
        if (QLineEdit* edit = combo->lineEdit())
            edit->selectAll();
    } else if (auto* picker = qobject_cast<DatePicker*>(Edt)) {
        // Typed as text, like a text box: the key typed on the grid is the
        // first character of the date; an empty text is no date.
        QLineEdit* edit = picker->lineEdit();
        if (startsWithCellValue) {
            picker->setText(cell);
            edit->setSelection(0, WholeText);
        } else {
            picker->setText(QString(QChar(char16_t(KeyAscii))));
            edit->setCursorPosition(1);
        }
    }

    placeEditor(FG, Edt);
    Edt->raise();
    Edt->show();
    m_editState = EditState::Open;
    Edt->setFocus();
    // The typed character reaches the combo now, as if typed there once it
    // had the focus; keys typed after it, still queued, follow it.
    if (auto* combo = qobject_cast<ComboBox*>(Edt);
        combo && KeyAscii != VKey::Return && KeyAscii != VKey::Space)
        sendCharacter(combo->lineEdit() ? static_cast<QWidget*>(combo->lineEdit()) : combo,
                      KeyAscii);
}

void frmTransactions::placeEditor(FlexGrid& grid, QWidget* editor)
{
    const int left = Twips::fromPixels(grid.x()) + grid.CellLeft();
    const int top = Twips::fromPixels(grid.y()) + grid.CellTop();
    const int width = grid.CellWidth() - EditorWidthCut;
    const int height = grid.CellHeight();
    QRect place;
    if (editor == DT) // never so narrow that a date is cut
        place = QRect(left, top, std::max(width, Twips::fromPixels(DT->minimumSizeHint().width())),
                      height);
    else if (qobject_cast<TextBox*>(editor))
        place = QRect(left, top + TextBoxTopInset, width, height - TextBoxHeightCut);
    else if (qobject_cast<ComboBox*>(editor))
        place = QRect(left, top, width, Twips::fromPixels(editor->sizeHint().height()));
    else
        place = QRect(left, top, width, height);
    editor->setGeometry(Twips::toPixels(place));
}

void frmTransactions::EditKeyCode(FlexGrid& FG, QWidget* Edt, int KeyCode, int Shift)
{
    Q_UNUSED(Shift);
    const bool combo = Edt == Cbo || Edt == cbo2;
    switch (KeyCode) {
    case VKey::Return: {
        // A refused amount or date neither commits nor moves.
        if (!editorAccepted(Edt))
            return;
        FG.setFocus(); // commits
        const int row = FG.Row();
        const int col = FG.Col();
        if (col <= ColDebited)
            FG.moveTo(row, col + 1);
        else if (row + 1 < FG.Rows())
            FG.moveTo(row + 1, ColDescription);
        break;
    }
    case VKey::Escape:
        if (Edt == Cbo)
            restoreCategorySnapshot();
        Edt->hide();
        m_editState = EditState::Closed;
        FG.setFocus();
        break;
    case VKey::Up:
        if (combo || !editorAccepted(Edt))
            return;
        // Commits at once; keys typed after the arrow, still queued, are
        // handled only once the cursor has moved.
        FG.setFocus();
        if (FG.Row() > FlexGrid::FixedRows)
            FG.moveTo(FG.Row() - 1, FG.Col());
        break;
    case VKey::Down:
        if (combo || !editorAccepted(Edt))
            return;
        FG.setFocus();
        if (FG.Row() < FG.Rows() - 1)
            FG.moveTo(FG.Row() + 1, FG.Col());
        break;
    default:
        break;
    }
}

bool frmTransactions::editorAccepted(QWidget* editor)
{
    if (editor == Num)
        return numAccepted();
    if (editor == DT && !DT->Readable()) {
        // Never another date for a text that is none.
        MsgBox(NotADateMessage, vbOKOnly + vbExclamation, AppTitle);
        DT->setFocus();
        return false;
    }
    return true;
}

bool frmTransactions::numAccepted()
{
    const QString text = Num->Text();
    if (text.isEmpty() || IsNumeric(Variant(text)))
        return true;
    MsgBox(NotNumericMessage, vbOKOnly + vbExclamation, AppTitle);
    Num->setFocus();
    return false;
}

QString frmTransactions::editorValue(FlexGrid& grid) const
{
    if (CurrentEditor == Cbo)
        return Cbo->Text();
    if (CurrentEditor == cbo2)
        return cbo2->Text();
    if (CurrentEditor == Num) {
        const QString text = Num->Text();
        return text.isEmpty() ? text
                              : Format(Variant(text), QString::fromLatin1(SheetText::AmountFormat));
    }
    if (CurrentEditor == Txt) {
        return grid.Col() == ColReceiptId ? receiptCellText(Txt->Text()) : Txt->Text();
    }
    if (CurrentEditor == DT)
        return Format(DT->Value(), QString::fromLatin1(SheetText::DateFormat));
    return grid.Text();
}

void frmTransactions::commitEditor(FlexGrid& grid, bool focusVariant)
{
    // Leaving a cell while the program fills or totals a grid is no commit;
    // the grid gaining the focus is one, whatever the program is doing.
    if (!focusVariant && GridBusy)
        return;
    // An editor closed with Escape, or none chosen yet: nothing to write.
    // A message box shown while storing may hand the focus back to the grid;
    // that is not a second commit.
    if (m_editState == EditState::Closed || m_editState == EditState::Committing)
        return;
    // Only into the grid the editor was opened on.
    if (m_editGrid != &grid)
        return;
    // The state the commit reaches is kept when it ends, an error included;
    // until then it is Committing.
    QScopedValueRollback<EditState> committing(m_editState, EditState::Committing);
    const auto reach = [this, &committing](EditState state) {
        m_editState = state;
        committing.commit();
        m_editState = EditState::Committing;
    };

    if (!editorAccepted(CurrentEditor)) {
        if (focusVariant) {
            // A mouse press gave the grid the focus; the cursor move that
            // follows it is taken back (grid_EnterCell).
            m_refusedCell = {grid.Col(), grid.Row()};
            reach(EditState::Refused);
        }
        return;
    }

    QWidget* editor = CurrentEditor;
    const QString value = editorValue(grid);
    const bool changed = value != grid.Text() || editor == Cbo;
    grid.setText(value);
    if (editor == Cbo)
        alignAmountWithCategory(grid, grid.Row());
    if (!focusVariant) {
        editor->hide();
        reach(EditState::Closed);
    }
    storeRow(grid, changed);
    if (NewRowOK(grid))
        AddNewRow(grid);
    SumSheet(grid);
    if (focusVariant) {
        editor->hide();
        reach(EditState::Closed);
    }
}

void frmTransactions::grid_GotFocus(FlexGrid& grid)
{
    commitEditor(grid, true);
}

void frmTransactions::grid_LeaveCell(FlexGrid& grid)
{
    if (m_editState == EditState::Refused)
        return;
    commitEditor(grid, false);
}

void frmTransactions::grid_EnterCell(FlexGrid& grid)
{
    if (m_editState == EditState::Refused && &grid == m_editGrid) {
        grid.setRow(m_refusedCell.y());
        grid.setCol(m_refusedCell.x());
        m_editState = EditState::Open;
    }
    // Storing a row finds it by the grid's row data; nothing to position here.
}

void frmTransactions::grid_KeyPress(FlexGrid& grid, int& keyAscii)
{
    // The grid has the focus only once an edit is committed; an editor still
    // on show here is one the amount check kept open.
    if (editorOpen())
        return;
    QWidget* editor = Getcontrol(grid);
    FGEdit(grid, editor, keyAscii);
}

void frmTransactions::grid_DblClick(FlexGrid& grid)
{
    if (editorOpen())
        return;
    QWidget* editor = Getcontrol(grid);
    FGEdit(grid, editor, VKey::Space);
}
