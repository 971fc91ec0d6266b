// The category list and details pane of frmCategories: filling, the change
// check, saving and showing a clicked category.

#include "data/Recordset.h"
#include "lookups/frmCategories.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "shell/dbStuff.h"

using namespace dbStuff;

namespace {

// The entries of cboCashBank, by number: where a category may be used.
constexpr int CashOnly = 1;
constexpr int BankOnly = 2;
constexpr int CashAndBank = 3;

QString typeText(const Variant& moneyReceived)
{
    return moneyReceived.toBool() ? QStringLiteral("Credit") : QStringLiteral("Debit");
}

// The number of a combo's selected entry; a combo without one cannot be saved
// (error 9).
qint64 selectedNumber(const ComboBox* combo)
{
    return combo->ItemData(combo->ListIndex());
}

} // namespace

void frmCategories::FillcboType()
{
    cboType->Clear();
    cboType->AddItem(QStringLiteral("Debit"), 0);
    cboType->AddItem(QStringLiteral("Credit"), 1);
    cboType->setListIndex(0);
}

void frmCategories::FillcboCashBank()
{
    cboCashBank->AddItem(QStringLiteral("Cash transactions"), CashOnly);
    cboCashBank->AddItem(QStringLiteral("Bank transactions"), BankOnly);
    cboCashBank->AddItem(QStringLiteral("Both bank and cash transactions"), CashAndBank);
    cboCashBank->setListIndex(2);
}

void frmCategories::ClearDetails()
{
    etVAT->setText(QString());
    etCategory->setText(QString());
    cboCashBank->setListIndex(2);
    cboType->setListIndex(0);
}

void frmCategories::FillLV1()
{
    SqlText = QStringLiteral("SELECT Categories.CategoryId, Categories.Category, Categories.vat, "
                             "Categories.MoneyReceived ") +
              QStringLiteral("From Categories ") + QStringLiteral("ORDER BY Categories.Category;");
    rsList = DB->OpenRecordset(SqlText, RecordsetType::ForwardOnly);
    while (!rsList->EOF_()) {
        NewItem =
            LV1->Add(QStringLiteral("c") +
                         QString::number(rsList->field(QStringLiteral("Categoryid")).toLong()),
                     rsList->field(QStringLiteral("Category")).toText());
        NewItem->setSubItems(1, typeText(rsList->field(QStringLiteral("moneyreceived"))));
        NewItem->setSubItems(2,
                             ProgramLocale::formatPercentage(rsList->field(QStringLiteral("vat"))));
        rsList->MoveNext();
    }
}

bool frmCategories::paneDiffers()
{
    const Recordset& rs = *rsCategories;
    if (differs(etCategory, rs[QStringLiteral("Category")]) ||
        differs(etVAT, rs[QStringLiteral("vat")]))
        return true;
    // Without a name the type is no edit either.
    const Variant stored = rs[QStringLiteral("moneyreceived")];
    if (etCategory->Text().isEmpty() || stored.isNull() || cboType->ListIndex() < 0)
        return false;
    const qint64 type = selectedNumber(cboType);
    return (stored.toBool() && type == 0) || (!stored.toBool() && type == 1);
}

void frmCategories::SaveCategory()
{
    Recordset& rs = *rsCategories;
    NewRecord = false;
    ListItem* selected = LV1->SelectedItem();
    try {
        if (!selected) {
            rs.AddNew();
            NewRecord = true;
        } else {
            rs.Seek(QStringLiteral("="), Variant(IdFromKey(selected->Key())));
            rs.Edit();
            NewRecord = false;
        }
        rs.setField(QStringLiteral("Category"), etCategory->Text());
        rs.setField(QStringLiteral("vat"), ProgramLocale::readPercentage(etVAT->Text()));
        rs.setField(QStringLiteral("moneyreceived"), selectedNumber(cboType) != 0);
        rs.setField(QStringLiteral("Cashorbank"), selectedNumber(cboCashBank));
        rs.Update();
    } catch (const VbError&) {
        // A refused write leaves no pending edit behind; the pane keeps the
        // user's text for another try.
        rs.CancelUpdate();
        throw;
    }
    rs.setBookmark(rs.LastModified());

    if (NewRecord) {
        const QString newKey =
            QStringLiteral("c") + QString::number(rs[QStringLiteral("Categoryid")].toLong());
        NewItem = LV1->Add(newKey, rs[QStringLiteral("Category")].toText());
        NewItem->setSubItems(1, typeText(rs[QStringLiteral("moneyreceived")]));
        NewItem->setSubItems(2, ProgramLocale::formatPercentage(rs[QStringLiteral("vat")]));
        LV1->setSelectedItem(LV1->Find(newKey));
        NewRecord = false;
        CurrentKey = newKey;
        Toolbar1->setButtonEnabled(QStringLiteral("delete"), true);
        // The ticks still on screen belonged to the category shown before.
        UpdateLV2();
    } else {
        selected->setText(rs[QStringLiteral("Category")].toText());
        selected->setSubItems(1, typeText(rs[QStringLiteral("moneyreceived")]));
        selected->setSubItems(2, ProgramLocale::formatPercentage(rs[QStringLiteral("vat")]));
    }
    LV1->SelectedItem()->EnsureVisible();
}

void frmCategories::LV1_ItemClick(ListItem* Item)
{
    try {
        askToSaveBeforeShowing(Item);
        NewRecord = false;
        LV1->setHideSelection(false);
        Toolbar1->setButtonEnabled(QStringLiteral("delete"), true);

        Recordset& rs = *rsCategories;
        rs.Seek(QStringLiteral("="), Variant(IdFromKey(ClickedKey)));
        etCategory->setText(rs[QStringLiteral("Category")].toText());
        etVAT->setText(ProgramLocale::formatPercentage(rs[QStringLiteral("vat")]));
        cboType->setListIndex(rs[QStringLiteral("moneyreceived")].toBool() ? 1 : 0);
        const Variant where = rs[QStringLiteral("Cashorbank")];
        const qint64 code = where.isNull() ? CashAndBank : where.toLong();
        cboCashBank->setListIndex(code == CashOnly ? 0 : code == BankOnly ? 1 : 2);
        UpdateLV2();
        CurrentKey = ClickedKey;
    } catch (const VbError& e) {
        ReportError(e);
    }
}
