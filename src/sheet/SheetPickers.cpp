// The category picker (Cbo) and the relation picker (cbo2): their lists, and
// what a choice or a keystroke in them writes into the row being edited.

#include "platform/widgets/ComboBox.h"
#include "platform/widgets/FlexGrid.h"
#include "sheet/frmTransactions.h"
#include "sheet/SheetColumns.h"
#include "shell/dbStuff.h"

#include <QScopedValueRollback>

using namespace dbStuff;
using namespace SheetCol;

namespace {

// Selection length that reaches past any relation.
constexpr int RestOfText = 100;

// Text as the store compares it: letters A to Z without regard to case,
// everything else as it stands.
QString storeKey(const QString& text)
{
    QString key = text;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return key;
}

} // namespace

void frmTransactions::FillBusinessCategories()
{
    Cbo->Clear();
    const int sheet = CurrentTab == 1 ? 1 : CurrentTab == 2 ? 2 : 0;
    // Without a business there is nothing to offer.
    const std::optional<qint64> business = selectedBusiness();
    if (!business)
        return;
    for (const Ledger::Category& category : ledger().sheetCategories(*business, sheet)) {
        Cbo->AddItem(category.name);
        Cbo->setItemData(Cbo->NewIndex(), category.id);
    }
}

void frmTransactions::FillcboRelations()
{
    // A relation never typed (Null, or empty) is no choice.
    const QStringList relations = ledger().relations();
    m_relationsStale = false;
    if (relations == m_relations)
        return;
    m_relations = relations;
    m_relationKeys.clear();
    m_relationKeys.reserve(relations.size());
    for (const QString& relation : std::as_const(relations))
        m_relationKeys.insert(storeKey(relation));
    const QScopedValueRollback<bool> quiet(m_relationQuiet, true);
    const bool open = editorOpen() && CurrentEditor == cbo2;
    const QString text = cbo2->Text();
    cbo2->Clear();
    cbo2->AddItems(relations);
    if (open)
        cbo2->setText(text);
}

bool frmTransactions::relationListed(const QString& relation) const
{
    return relation.isEmpty() || m_relationKeys.contains(storeKey(relation));
}

void frmTransactions::Cbo_Click()
{
    FlexGrid* grid = m_editGrid;
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

void frmTransactions::restoreCategorySnapshot()
{
    const CategorySnapshot& s = m_categorySnapshot;
    if (!s.grid || s.row < 1 || s.row >= s.grid->Rows())
        return;
    s.grid->setTextMatrix(s.row, ColInvoiceNr, s.invoice);
    s.grid->setTextMatrix(s.row, ColCategoryId, s.categoryId);
}

void frmTransactions::selectRelationFor(const QString& cellText)
{
    // The picker opens on the cell's relation, or on the cell's text as it
    // stands when the list has no such relation; nothing is completed here.
    const QScopedValueRollback<bool> quiet(m_relationQuiet, true);
    cbo2->setListIndex(-1);
    const int found = int(m_relations.indexOf(cellText));
    if (found >= 0)
        cbo2->setListIndex(found, true);
    else
        cbo2->setText(cellText);
}

void frmTransactions::cbo2_Change()
{
    FlexGrid* grid = m_editGrid;
    if (m_relationQuiet || !grid)
        return;
    // Setting the completed text below changes the text again and lands here
    // once more: that inner run only copies the text into the row.
    if (m_completionDepth == 0) {
        const QScopedValueRollback<int> depth(m_completionDepth, 1);
        const QString text = cbo2->Text();
        const qsizetype n = text.size();
        for (const QString& item : std::as_const(m_relations)) {
            if (item.size() >= n &&
                QStringView(item).left(n).compare(text, Qt::CaseInsensitive) == 0) {
                cbo2->setText(item);
                cbo2->setSelection(int(n), RestOfText);
                break;
            }
        }
    }
    grid->setTextMatrix(grid->Row(), ColRelation, cbo2->Text());
}

void frmTransactions::cbo2_Click()
{
    FlexGrid* grid = m_editGrid;
    const int index = cbo2->ListIndex();
    if (!grid || index == -1)
        return;
    grid->setTextMatrix(grid->Row(), ColRelation, cbo2->List(index));
}
