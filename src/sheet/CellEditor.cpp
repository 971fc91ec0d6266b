// The cell editor: choosing an editor for a cell, opening it over the cell,
// its keys, and writing its value back (which lets the sheet store the row).
//
// Order of events on a commit: the grid gains the focus (Enter, the arrow keys,
// a mouse press on the grid) or its cursor leaves the cell; whichever comes
// first writes the value into the cell, which is still the cell being edited,
// and hides the editor; the other then finds the editor hidden.

#include "sheet/CellEditor.h"

#include "platform/Format.h"
#include "platform/ProgramLocale.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/TextBox.h"
#include "sheet/SheetAccessible.h"
#include "sheet/SheetColumns.h"
#include "shell/dbStuff.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QScopedValueRollback>

using namespace dbStuff;
using namespace SheetCol;

namespace {

// A selection length that reaches past any text.
constexpr int WholeText = 1000;

const QString NotNumericMessage = QStringLiteral("A numeric value has to be entered in this box.");
const QString NotADateMessage =
    QStringLiteral("A date has to be entered in this box, for example 16/Jun/2025 or 16/06/2025.");

// A floating editor, hidden until an edit starts.
template <typename Widget, typename... Args>
Widget* hiddenEditor(QWidget* parent, const char* name, Args... args)
{
    auto* editor = new Widget(args..., parent);
    editor->setObjectName(QLatin1String(name));
    editor->hide();
    return editor;
}

} // namespace

CellEditor::CellEditor(QWidget* parent, CellEditorHost& host)
    : QObject(parent), Txt(hiddenEditor<TextBox>(parent, "Txt")),
      Num(hiddenEditor<TextBox>(parent, "Num")),
      Cbo(hiddenEditor<ComboBox>(parent, "Cbo", ComboBox::DropDownList)),
      cbo2(hiddenEditor<ComboBox>(parent, "cbo2", ComboBox::DropDownCombo)),
      DT(hiddenEditor<DatePicker>(parent, "DT")), m_host(host)
{
    for (QWidget* editor :
         {static_cast<QWidget*>(Txt), static_cast<QWidget*>(Num), static_cast<QWidget*>(Cbo),
          static_cast<QWidget*>(cbo2), static_cast<QWidget*>(DT)})
        connectEditor(editor);
}

void CellEditor::connectEditor(QWidget* editor)
{
    watchEditorKeys(editor);
    auto keyDown = [this, editor](int keyCode, int) {
        RunHandler([this, editor, keyCode] {
            if (m_grid)
                editorKeyDown(*m_grid, editor, keyCode);
        });
    };
    if (auto* box = qobject_cast<TextBox*>(editor))
        connect(box, &TextBox::KeyDown, this, keyDown);
    else if (auto* combo = qobject_cast<ComboBox*>(editor))
        connect(combo, &ComboBox::KeyDown, this, keyDown);
    else if (auto* picker = qobject_cast<DatePicker*>(editor))
        connect(picker, &DatePicker::KeyDown, this, keyDown);

    if (editor == Num) {
        // Enter moves on (editorKeyDown); it never types into the amount.
        connect(Num, &TextBox::KeyPress, this, [](int& keyAscii) {
            if (keyAscii == VKey::Return)
                keyAscii = 0;
        });
    }
}

void CellEditor::close()
{
    if (!isOpen())
        return;
    if (m_current == Cbo)
        m_host.categoryPickerDropped();
    // Closed before hidden: hiding the editor moves the focus on, maybe to
    // the grid, which must then find nothing to commit.
    m_state = State::Closed;
    m_current->hide();
}

std::optional<bool> CellEditor::categoryReceivesMoney(const FlexGrid& grid, int row)
{
    bool ok = false;
    const qint64 id = grid.TextMatrix(row, ColCategoryId).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return ledger().categoryReceivesMoney(id);
}

QWidget* CellEditor::editorFor(const FlexGrid& grid, int row, int col) const
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

QWidget* CellEditor::choose(FlexGrid& grid)
{
    m_grid = &grid;
    m_current = nullptr;
    QWidget* editor = editorFor(grid, grid.Row(), grid.Col());
    if (editor == Cbo) {
        // Letters typed in the picker search from its opening on, not on from
        // what was typed the last time it was open.
        Cbo->view()->keyboardSearch(QString());
    }
    if (editor == Cbo || editor == cbo2)
        m_host.pickerOpening(grid, grid.Row(), editor);
    m_current = editor;
    return editor;
}

void CellEditor::open(FlexGrid& grid, QWidget* editor, int keyAscii)
{
    const int row = grid.Row();
    if (row < 1 || row >= grid.Rows() - 2)
        return;
    if (m_host.previousCellIncomplete(grid)) {
        tellWhichCellFirst(grid);
        return;
    }
    if (!editor) {
        // Typing on a cell without an editor goes on to the next cell; on the
        // last column there is none to go to. A typed character then starts
        // the edit of the cell it landed on, as if typed there.
        const int col = grid.Col();
        const int nextRow = col == ColCredited ? row + 1 : row;
        const int nextCol = col == ColCredited ? int(ColDescription) : col + 1;
        if (col != ColCredited && col >= grid.Cols() - 1)
            return;
        grid.moveTo(nextRow, nextCol);
        if (keyAscii > VKey::Space && grid.Row() == nextRow && grid.Col() == nextCol && !isOpen() &&
            grid.hasFocus())
            open(grid, choose(grid), keyAscii);
        return;
    }

    const QString cell = grid.Text();
    const bool startsWithCellValue = keyAscii >= 0 && keyAscii <= 32;
    if (auto* box = qobject_cast<TextBox*>(editor)) {
        if (startsWithCellValue) {
            box->setText(cell);
            box->setSelection(0, WholeText);
        } else {
            box->setText(QString(QChar(char16_t(keyAscii))));
            box->setCursorPosition(1);
        }
    } else if (auto* combo = qobject_cast<ComboBox*>(editor)) {
        // In the relation picker the typed character replaces the whole text.
        if (QLineEdit* edit = combo->lineEdit())
            edit->selectAll();
    } else if (auto* picker = qobject_cast<DatePicker*>(editor)) {
        // Typed as text, like a text box: the key typed on the grid is the
        // first character of the date; an empty text is no date.
        QLineEdit* edit = picker->lineEdit();
        if (startsWithCellValue) {
            picker->setText(cell);
            edit->setSelection(0, WholeText);
        } else {
            picker->setText(QString(QChar(char16_t(keyAscii))));
            edit->setCursorPosition(1);
        }
    }

    SheetAccessible::describeEditor(editor, grid, row, grid.Col());
    place(grid, editor);
    editor->raise();
    editor->show();
    m_state = State::Open;
    editor->setFocus();
    // The typed character reaches the combo now, as if typed there once it
    // had the focus; keys typed after it, still queued, follow it.
    if (auto* combo = qobject_cast<ComboBox*>(editor);
        combo && keyAscii != VKey::Return && keyAscii != VKey::Space)
        sendCharacter(combo->lineEdit() ? static_cast<QWidget*>(combo->lineEdit()) : combo,
                      keyAscii);
}

void CellEditor::editorKeyDown(FlexGrid& grid, QWidget* editor, int keyCode)
{
    const bool combo = editor == Cbo || editor == cbo2;
    switch (keyCode) {
    case VKey::Return: {
        // A refused amount or date neither commits nor moves.
        if (!accepted(editor))
            return;
        grid.setFocus(); // commits
        const int row = grid.Row();
        const int col = grid.Col();
        if (col <= ColDebited)
            grid.moveTo(row, col + 1);
        else if (row + 1 < grid.Rows())
            grid.moveTo(row + 1, ColDescription);
        break;
    }
    case VKey::Escape:
        if (editor == Cbo)
            m_host.categoryPickerDropped();
        // Dropped, not committed, wherever hiding it moves the focus.
        m_state = State::Closed;
        editor->hide();
        grid.setFocus();
        break;
    case VKey::Up:
        if (combo || !accepted(editor))
            return;
        // Commits at once; keys typed after the arrow, still queued, are
        // handled only once the cursor has moved.
        grid.setFocus();
        if (grid.Row() > FlexGrid::FixedRows)
            grid.moveTo(grid.Row() - 1, grid.Col());
        break;
    case VKey::Down:
        if (combo || !accepted(editor))
            return;
        grid.setFocus();
        if (grid.Row() < grid.Rows() - 1)
            grid.moveTo(grid.Row() + 1, grid.Col());
        break;
    default:
        break;
    }
}

bool CellEditor::accepted(QWidget* editor)
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

bool CellEditor::numAccepted()
{
    const QString text = Num->Text();
    if (text.isEmpty() || IsNumeric(Variant(text)))
        return true;
    MsgBox(NotNumericMessage, vbOKOnly + vbExclamation, AppTitle);
    Num->setFocus();
    return false;
}

QString CellEditor::value(FlexGrid& grid) const
{
    if (m_current == Cbo)
        return Cbo->Text();
    if (m_current == cbo2)
        return cbo2->Text();
    if (m_current == Num) {
        const QString text = Num->Text();
        return text.isEmpty() ? text
                              : Format(Variant(text), QString::fromLatin1(SheetText::AmountFormat));
    }
    if (m_current == Txt)
        return grid.Col() == ColReceiptId ? m_host.receiptIdCell(Txt->Text()) : Txt->Text();
    if (m_current == DT)
        return Format(DT->Value(), QString::fromLatin1(SheetText::DateFormat));
    return grid.Text();
}

void CellEditor::commit(FlexGrid& grid, bool focusVariant)
{
    // Leaving a cell while the program fills or totals a grid is no commit;
    // the grid gaining the focus is one, whatever the program is doing.
    if (!focusVariant && GridBusy)
        return;
    // An editor closed with Escape, or none chosen yet: nothing to write.
    // A message box shown while storing may hand the focus back to the grid;
    // that is not a second commit.
    if (m_state == State::Closed || m_state == State::Committing)
        return;
    // Only into the grid the editor was opened on.
    if (m_grid != &grid)
        return;
    // The state the commit reaches is kept when it ends, an error included;
    // until then it is Committing.
    QScopedValueRollback<State> committing(m_state, State::Committing);
    const auto reach = [this, &committing](State state) {
        m_state = state;
        committing.commit();
        m_state = State::Committing;
    };

    if (!accepted(m_current)) {
        if (focusVariant) {
            // A mouse press gave the grid the focus; the cursor move that
            // follows it is taken back (gridEnterCell).
            m_refusedCell = {grid.Col(), grid.Row()};
            reach(State::Refused);
        }
        return;
    }

    QWidget* editor = m_current;
    const QString text = value(grid);
    const bool changed = text != grid.Text() || editor == Cbo;
    grid.setText(text);
    if (editor == Cbo)
        m_host.categoryWritten(grid, grid.Row());
    if (!focusVariant) {
        editor->hide();
        reach(State::Closed);
    }
    m_host.rowCommitted(grid, changed);
    if (focusVariant) {
        editor->hide();
        reach(State::Closed);
    }
}

void CellEditor::gridGotFocus(FlexGrid& grid)
{
    commit(grid, true);
}

void CellEditor::gridLeaveCell(FlexGrid& grid)
{
    if (m_state == State::Refused)
        return;
    commit(grid, false);
}

void CellEditor::gridEnterCell(FlexGrid& grid)
{
    if (m_state == State::Refused && &grid == m_grid) {
        grid.setRow(m_refusedCell.y());
        grid.setCol(m_refusedCell.x());
        m_state = State::Open;
    }
    // Storing a row finds it by the grid's row data; nothing to position here.
}

void CellEditor::gridKeyPress(FlexGrid& grid, int keyAscii)
{
    // The grid has the focus only once an edit is committed; an editor still
    // on show here is one the amount check kept open.
    if (isOpen())
        return;
    open(grid, choose(grid), keyAscii);
}

void CellEditor::gridDblClick(FlexGrid& grid)
{
    if (isOpen())
        return;
    open(grid, choose(grid), VKey::Space);
}
