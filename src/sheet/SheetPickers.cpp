// The category picker (Cbo) and the relation picker (cbo2): their lists, and
// what a choice or a keystroke in them writes into the row being edited.

#include "platform/widgets/ComboBox.h"
#include "platform/widgets/FlexGrid.h"
#include "sheet/frmTransactions.h"
#include "sheet/RelationPicker.h"
#include "sheet/SheetColumns.h"
#include "shell/dbStuff.h"

using namespace dbStuff;
using namespace SheetCol;

void frmTransactions::FillBusinessCategories()
{
    Cbo->Clear();
    const int sheet = CurrentTab == 1 ? 1 : CurrentTab == 2 ? 2 : 0;
    // Without a business there is nothing to offer.
    const std::optional<qint64> business = selectedBusiness();
    if (!business)
        return;
    QStringList names;
    for (const Ledger::Category& category : ledger().sheetCategories(*business, sheet)) {
        Cbo->AddItem(category.name);
        Cbo->setItemData(Cbo->NewIndex(), category.id);
        names << category.name;
    }
    // A name offered now (a category added while the sheet is open) is shown
    // whole once picked.
    if (sheet != 0)
        sheetOf(sheet == 1 ? *FLX1 : *FLX2).fitCategoryNames(names);
}

void frmTransactions::FillcboRelations()
{
    // A relation never typed (Null, or empty) is no choice.
    m_relationPicker->fill(ledger().relations(), m_editor->isOpen() && CurrentEditor() == cbo2);
}

void frmTransactions::Cbo_Click()
{
    FlexGrid* grid = m_editor->grid();
    const int index = Cbo->ListIndex();
    if (!grid || index == -1)
        return;
    const qint64 id = Cbo->ItemData(index);
    const std::optional<bool> receivesMoney = ledger().categoryReceivesMoney(id);
    if (!receivesMoney)
        return;
    const int row = grid->Row();
    grid->setTextMatrix(row, ColCategoryId, QString::number(id));
    const QString notApplicable = QString::fromLatin1(SheetText::NotApplicable);
    if (!*receivesMoney)
        grid->setTextMatrix(row, ColInvoiceNr, notApplicable);
    else if (grid->TextMatrix(row, ColInvoiceNr) == notApplicable)
        grid->setTextMatrix(row, ColInvoiceNr, QString());
}

void frmTransactions::pickerOpening(FlexGrid& grid, int row, QWidget* picker)
{
    if (picker == Cbo) {
        m_categorySnapshot = {&grid, row, grid.TextMatrix(row, ColInvoiceNr),
                              grid.TextMatrix(row, ColCategoryId)};
        // Preselected by the row's category id, which names one category even
        // where two share a name.
        Cbo->setListIndex(-1);
        const QString id = grid.TextMatrix(row, ColCategoryId);
        for (int i = 0; i < Cbo->ListCount(); ++i) {
            if (!id.isEmpty() && QString::number(Cbo->ItemData(i)) == id) {
                Cbo->setListIndex(i, true);
                break;
            }
        }
    } else if (picker == cbo2) {
        if (m_relationPicker->stale())
            FillcboRelations();
        m_relationPicker->openOn(grid.TextMatrix(row, ColRelation));
    }
}

void frmTransactions::restoreCategorySnapshot()
{
    const CategorySnapshot& s = m_categorySnapshot;
    if (!s.grid || s.row < 1 || s.row >= s.grid->Rows())
        return;
    s.grid->setTextMatrix(s.row, ColInvoiceNr, s.invoice);
    s.grid->setTextMatrix(s.row, ColCategoryId, s.categoryId);
}

void frmTransactions::cbo2_Change()
{
    FlexGrid* grid = m_editor->grid();
    if (!grid)
        return;
    // The row follows every change, completed or not.
    if (const std::optional<QString> text = m_relationPicker->textChanged())
        grid->setTextMatrix(grid->Row(), ColRelation, *text);
}

void frmTransactions::cbo2_Click()
{
    FlexGrid* grid = m_editor->grid();
    const int index = cbo2->ListIndex();
    if (!grid || index == -1)
        return;
    grid->setTextMatrix(grid->Row(), ColRelation, cbo2->List(index));
}
