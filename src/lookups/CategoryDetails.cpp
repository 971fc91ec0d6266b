// The category list and details pane of frmCategories: filling, the change
// check, saving and showing a clicked category.

#include "lookups/frmCategories.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "shell/dbStuff.h"

#include <QLabel>

using namespace dbStuff;

namespace {

QString typeText(bool moneyReceived)
{
    return moneyReceived ? QStringLiteral("Credit") : QStringLiteral("Debit");
}

QString vatText(const std::optional<double>& vat)
{
    return vat ? ProgramLocale::formatPercentage(Variant(*vat)) : QString();
}

// The number of a combo's selected entry; a combo without one cannot be saved
// (error 9).
qint64 selectedNumber(const ComboBox* combo)
{
    return combo->ItemData(combo->ListIndex());
}

// The entry of cboCashBank that shows a stored CashOrBank code; a code the
// list does not know shows as both.
int cashBankIndex(int code)
{
    return code == Ledger::Category::CashOnly ? 0 : code == Ledger::Category::BankOnly ? 1 : 2;
}

// The VAT rate in the box; anything else than a rate is refused with a
// message saying what to type.
double typedVat(const QString& text)
{
    if (const std::optional<double> rate = ProgramLocale::readPercentage(text))
        return *rate;
    MsgBox(QStringLiteral("VAT % takes a number from 0 to 100, with a point before any "
                          "decimals and an optional %, for example 21 or 5.5%."),
           vbExclamation + vbOKOnly, AppTitle);
    throw SaveRefused();
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
    cboCashBank->AddItem(QStringLiteral("Cash transactions"), Ledger::Category::CashOnly);
    cboCashBank->AddItem(QStringLiteral("Bank transactions"), Ledger::Category::BankOnly);
    cboCashBank->AddItem(QStringLiteral("Both bank and cash transactions"),
                         Ledger::Category::CashAndBank);
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
    for (const Ledger::Category& category : ledger().categories()) {
        NewItem = LV1->Add(QStringLiteral("c") + QString::number(category.id), category.name);
        NewItem->setSubItems(1, typeText(category.moneyReceived));
        NewItem->setSubItems(2, vatText(category.vat));
    }
}

bool frmCategories::paneDiffers()
{
    if (differs(etCategory, Variant(m_shown.name)) ||
        differs(etVAT, m_shown.vat ? Variant(vatText(m_shown.vat)) : Variant::null()))
        return true;
    // Without a name the combos are no edit either.
    if (etCategory->Text().isEmpty() || cboType->ListIndex() < 0 || cboCashBank->ListIndex() < 0)
        return false;
    const qint64 type = selectedNumber(cboType);
    if ((m_shown.moneyReceived && type == 0) || (!m_shown.moneyReceived && type == 1))
        return true;
    // A stored code the list does not know shows as "both"; only a pick
    // the user made counts.
    return cboCashBank->ListIndex() != cashBankIndex(m_shown.cashOrBank);
}

void frmCategories::SaveCategory()
{
    NewRecord = false;
    ListItem* selected = LV1->SelectedItem();
    Ledger::Category category;
    if (selected) {
        category.id = IdFromKey(selected->Key());
        // A key without an id names no stored category.
        if (category.id == 0)
            throw VbError(VbErr::NoCurrentRecord);
    } else {
        NewRecord = true;
    }
    // Blanks around a name would sort it first and tell nothing apart.
    category.name = etCategory->Text().trimmed();
    try {
        category.vat = typedVat(etVAT->Text());
    } catch (const SaveRefused&) {
        // Back in the box to mend, the refused text selected.
        etVAT->setFocus();
        etVAT->selectAll();
        throw;
    }
    category.moneyReceived = selectedNumber(cboType) != 0;
    category.cashOrBank = int(selectedNumber(cboCashBank));
    confirmUniqueName(category);
    // A refused write changes nothing; the pane keeps the user's text for
    // another try.
    ledger().storeCategory(category);
    m_shown = category;
    // The boxes show what was stored ("15%" becomes "15"), so the pane no
    // longer differs from the row.
    etCategory->setText(category.name);
    etVAT->setText(vatText(category.vat));
    StatusLine->setText(QStringLiteral("Saved ") + category.name);

    if (NewRecord) {
        const QString newKey = QStringLiteral("c") + QString::number(category.id);
        NewItem = LV1->Add(newKey, category.name);
        NewItem->setSubItems(1, typeText(category.moneyReceived));
        NewItem->setSubItems(2, vatText(category.vat));
        LV1->setSelectedItem(LV1->Find(newKey));
        NewRecord = false;
        CurrentKey = newKey;
        Toolbar1->setButtonEnabled(QStringLiteral("delete"), true);
        // The ticks still on screen belonged to the category shown before.
        UpdateLV2();
    } else {
        selected->setText(category.name);
        selected->setSubItems(1, typeText(category.moneyReceived));
        selected->setSubItems(2, vatText(category.vat));
    }
    LV1->SelectedItem()->EnsureVisible();
}

void frmCategories::confirmUniqueName(const Ledger::Category& category)
{
    for (const Ledger::Category& other : ledger().categories()) {
        if (other.id == category.id || other.name.compare(category.name, Qt::CaseInsensitive) != 0)
            continue;
        // Two such names cannot be told apart in the sheet's picker; the user
        // may still want them.
        Answer = MsgBox(QStringLiteral("Another category is already named '") + other.name +
                            QStringLiteral("'. Save this one under the same name anyway?"),
                        vbYesNo + vbExclamation, AppTitle);
        if (Answer != vbYes)
            throw SaveRefused();
        return;
    }
}

void frmCategories::LV1_ItemClick(ListItem* Item)
{
    try {
        askToSaveBeforeShowing(Item);
        NewRecord = false;
        LV1->setHideSelection(false);
        Toolbar1->setButtonEnabled(QStringLiteral("delete"), true);

        m_shown = ledger().category(IdFromKey(ClickedKey));
        etCategory->setText(m_shown.name);
        etVAT->setText(vatText(m_shown.vat));
        cboType->setListIndex(m_shown.moneyReceived ? 1 : 0);
        cboCashBank->setListIndex(cashBankIndex(m_shown.cashOrBank));
        UpdateLV2();
        CurrentKey = ClickedKey;
    } catch (const VbError& e) {
        ReportError(e);
    } catch (const SaveRefused&) {
        // The user was told what to type; the pane keeps the text.
    }
}
