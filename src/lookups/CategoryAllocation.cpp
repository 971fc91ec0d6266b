// The allocation list LV2 of frmCategories: one box per business, ticked when
// the category selected in LV1 is allocated to it (a relCat_Bis row). The
// user's ticks are written at once; the window's own ticks only show.

#include "lookups/frmCategories.h"
#include "platform/VbError.h"
#include "platform/widgets/Accessible.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ListView.h"
#include "shell/dbStuff.h"

using namespace dbStuff;

void frmCategories::buildAllocationList()
{
    LV2 = new ListView(this);
    LV2->setObjectName(QStringLiteral("LV2"));
    LV2->setCheckboxes(true);
    LV2->addColumnHeader(QStringLiteral("Business"), 1440);
    LV2->addColumnHeader(QStringLiteral("VatNr."), 1440, ListView::AlignCenter);
    Accessible::describe(LV2, QStringLiteral("Allocation to businesses"),
                         QStringLiteral("The businesses whose sheets offer the category picked on "
                                        "the left; Space ticks or unticks the current one."));
    connect(LV2, &ListView::ItemCheck, this,
            [this](ListItem* item) { RunHandler([&] { LV2_ItemCheck(item); }); });
}

void frmCategories::FillLV2()
{
    const QList<Ledger::Business> businesses = ledger().businesses();
    LV2->Clear();
    for (const Ledger::Business& business : businesses) {
        NewItem = LV2->Add(QStringLiteral("b") + QString::number(business.id), business.name);
        NewItem->setSubItems(1, business.vatNr ? *business.vatNr : QStringLiteral("n/a"));
    }
    // Nothing in this list is acted on until the user ticks a box.
    LV2->setSelectedItem(nullptr);
}

void frmCategories::ClearLV2Checkmarks()
{
    for (int i = 1; i <= LV2->Count(); ++i)
        LV2->Item(i)->setChecked(false);
}

void frmCategories::UpdateLV2()
{
    ClearLV2Checkmarks();
    const ListItem* category = LV1->SelectedItem();
    if (!category)
        return; // a category not stored yet has no allocations
    for (const qint64 id : ledger().allocatedBusinesses(IdFromKey(category->Key()))) {
        // A row whose business is not listed has no box to tick.
        if (ListItem* business = LV2->Find(QStringLiteral("b") + QString::number(id)))
            business->setChecked(true);
    }
}

void frmCategories::LV2_ItemCheck(ListItem* Item)
{
    LV2->setSelectedItem(LV2->Find(Item->Key()));
    SaveCat_Bus();
}

void frmCategories::SaveCat_Bus()
{
    if (!LV1->SelectedItem()) {
        MsgBox(QStringLiteral(
                   "First save the new category before allocating the new category to a business"),
               vbInformation + vbOKOnly, AppTitle);
        ClearLV2Checkmarks();
        return;
    }
    ListItem* business = LV2->SelectedItem();
    const qint64 categoryId = IdFromKey(LV1->SelectedItem()->Key());
    const qint64 businessId = IdFromKey(business->Key());
    // The box shows the pair as it should be; a pair already stored, or one
    // already gone, needs no write.
    try {
        if (!ledger().setAllocated(categoryId, businessId, business->Checked()))
            return;
    } catch (const VbError&) {
        // Nothing was written: the box goes back to what the database holds.
        business->setChecked(!business->Checked());
        throw;
    }
    announceCategoriesChanged();
}
