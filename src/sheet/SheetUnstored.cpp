// Rows shown but not stored: storing a row after a commit, marking the rows
// that could not be stored, keeping a row's amount on its category's side,
// and asking before such rows are dropped.

#include "platform/Format.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/TabStrip.h"
#include "sheet/CellEditor.h"
#include "sheet/frmTransactions.h"
#include "sheet/SheetColumns.h"
#include "shell/dbStuff.h"

using namespace dbStuff;
using namespace SheetCol;

namespace {

qint64 bookKey(const FlexGrid& grid, int row)
{
    const qint64 id = grid.RowData(row);
    return id == UnsavedRow ? SheetBook::EntryRow : id;
}

// Whether the entry row holds text the user typed. The date and relation a
// new entry row takes over from the row above do not count.
bool typedIn(const FlexGrid& grid, int row)
{
    for (int col :
         {ColDescription, ColCategory, ColInvoiceNr, ColReceiptId, ColDebited, ColCredited})
        if (!grid.TextMatrix(row, col).isEmpty())
            return true;
    return false;
}

// The rows of a grid that are shown but not stored, top to bottom.
QList<int> unstoredRows(const FlexGrid& grid, const SheetBook& book)
{
    QList<int> rows;
    if (!book.anyUnstored())
        return rows;
    for (int row = 1; row <= grid.Rows() - 3; ++row)
        if (book.unstored(bookKey(grid, row)))
            rows << row;
    return rows;
}

QString rowList(const QList<int>& rows)
{
    QStringList numbers;
    for (int row : rows)
        numbers << QString::number(row);
    return numbers.join(QStringLiteral(", "));
}

} // namespace

void SheetGrid::showRowStored(int row, bool stored)
{
    FlexGrid& grid = m_grid;
    const QString number = QString::number(row);
    grid.setTextMatrix(row, RowNumber,
                       stored ? number : QString::fromLatin1(SheetText::UnstoredMark) + number);
    for (int col = ColDescription; col <= ColCredited; ++col)
        grid.setCellForeColor(row, col, stored ? SheetColor::Default : SheetColor::Unstored);
}

void SheetGrid::storeRow(std::optional<qint64> business, RelationPicker& relations, bool changed)
{
    FlexGrid& grid = m_grid;
    const int row = grid.Row();
    const bool complete = canRowBeSaved();
    if (complete && save(business, relations))
        return;
    // Not written: the grid shows text the file does not hold, unless the
    // commit changed nothing on a row that was as stored.
    SheetBook& book = m_book;
    const qint64 key = bookKey(grid, row);
    const bool unstored =
        key == SheetBook::EntryRow ? typedIn(grid, row) : complete || changed || book.unstored(key);
    book.setUnstored(key, unstored);
    showRowStored(row, !unstored);
}

void SheetGrid::alignAmountWithCategory(int row)
{
    FlexGrid& grid = m_grid;
    const std::optional<bool> receives = CellEditor::categoryReceivesMoney(grid, row);
    if (!receives)
        return;
    // The amount the row stands for is the one storing takes: "Credited"
    // when it holds a number other than 0, else "Debited".
    const QString credited = grid.TextMatrix(row, ColCredited);
    const QString debited = grid.TextMatrix(row, ColDebited);
    const QString amount = Val(credited) != 0 || debited.isEmpty() ? credited : debited;
    grid.setTextMatrix(row, *receives ? ColCredited : ColDebited, amount);
    grid.setTextMatrix(row, *receives ? ColDebited : ColCredited, QString());
}

bool frmTransactions::mayDropUnstoredRows(FlexGrid* grid)
{
    // An open editor is committed first, as leaving its cell would; an
    // amount the check refuses keeps the user there.
    if (m_editor->isOpen() && m_editor->grid()) {
        m_editor->commit(*m_editor->grid(), false);
        if (m_editor->isOpen())
            return false;
    }
    struct Sheet
    {
        FlexGrid* grid;
        int tab;
        const char* name;
        QList<int> rows;
    };
    QList<Sheet> sheets;
    for (auto [g, tab, name] : {std::tuple{FLX1, 1, "cash"}, std::tuple{FLX2, 2, "bank"}}) {
        if (grid && grid != g)
            continue;
        const QList<int> rows = sheetOf(*g).unstoredRows();
        if (!rows.isEmpty())
            sheets.append({g, tab, name, rows});
    }
    if (sheets.isEmpty())
        return true;

    QString prompt;
    for (const Sheet& s : std::as_const(sheets))
        prompt += QStringLiteral("Not stored on the %1 sheet: %2 %3.\r")
                      .arg(QLatin1String(s.name),
                           s.rows.size() == 1 ? QStringLiteral("row") : QStringLiteral("rows"),
                           rowList(s.rows));
    prompt += QStringLiteral("These rows are incomplete, or the database refused them. "
                             "Drop what was typed in them?");
    if (MsgBox(prompt, vbYesNo + vbExclamation + vbDefaultButton2, AppTitle) == vbYes)
        return true;

    // Back to the first such row, on the sheet in front when it has one.
    const Sheet* target = &sheets.first();
    for (const Sheet& s : std::as_const(sheets))
        if (s.tab == CurrentTab)
            target = &s;
    if (target->tab != CurrentTab) {
        TS1->setSelectedItem(target->tab);
        TS1_Click();
    }
    target->grid->setFocus();
    target->grid->moveTo(target->rows.first(), ColDescription);
    return false;
}

QList<int> SheetGrid::unstoredRows() const
{
    return ::unstoredRows(m_grid, m_book);
}

void SheetGrid::dropUnstoredRows(std::optional<qint64> business)
{
    FlexGrid& grid = m_grid;
    SheetBook& book = m_book;
    const QList<int> rows = unstoredRows();
    if (rows.isEmpty())
        return;
    const int entryRow = grid.Rows() - 3;
    if (rows.size() > 1 || rows.first() != entryRow) {
        // Stored rows go back to what the file holds.
        format();
        fill(business);
        return;
    }
    for (int col = ColDescription; col <= ColCategoryId; ++col)
        if (col != ColDate && col != ColRelation)
            grid.setTextMatrix(entryRow, col, QString());
    book.setUnstored(SheetBook::EntryRow, false);
    showRowStored(entryRow, true);
}
