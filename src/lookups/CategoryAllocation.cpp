// The allocation list LV2 of frmCategories: one box per business, ticked when
// the category selected in LV1 is allocated to it (a relCat_Bis row). The
// user's ticks are written at once; the window's own ticks only show.

#include "data/Recordset.h"
#include "lookups/frmCategories.h"
#include "platform/VbError.h"
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
    connect(LV2, &ListView::ItemCheck, this,
            [this](ListItem* item) { RunHandler([&] { LV2_ItemCheck(item); }); });
}

void frmCategories::FillLV2()
{
    SqlText = QStringLiteral("SELECT Businesses.BusinessId, Businesses.Name, Businesses.VATNr ") +
              QStringLiteral("From Businesses ") + QStringLiteral("ORDER BY Businesses.Name;");
    rsList = DB->OpenRecordset(SqlText, RecordsetType::ForwardOnly);
    LV2->Clear();
    while (!rsList->EOF_()) {
        NewItem =
            LV2->Add(QStringLiteral("b") +
                         QString::number(rsList->field(QStringLiteral("Businessid")).toLong()),
                     rsList->field(QStringLiteral("Name")).toText());
        const Variant vat = rsList->field(QStringLiteral("vatnr"));
        NewItem->setSubItems(1, vat.isNull() ? QStringLiteral("n/a") : vat.toText());
        rsList->MoveNext();
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
    SqlText = QStringLiteral("SELECT relCat_Bis.CatId, relCat_Bis.Busid ") +
              QStringLiteral("From relCat_Bis ") + QStringLiteral("WHERE (((relCat_Bis.CatId)=") +
              QString::number(IdFromKey(category->Key())) + QStringLiteral("));");
    rsList = DB->OpenRecordset(SqlText, RecordsetType::ForwardOnly);
    while (!rsList->EOF_()) {
        // A row whose business is not listed has no box to tick.
        const QString key =
            QStringLiteral("b") + QString::number(rsList->field(QStringLiteral("Busid")).toLong());
        if (ListItem* business = LV2->Find(key))
            business->setChecked(true);
        rsList->MoveNext();
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
    const Variant categoryId(IdFromKey(LV1->SelectedItem()->Key()));
    const Variant businessId(IdFromKey(business->Key()));
    Recordset& rs = *rsRelCatBis;
    // The box shows the pair as it should be; a pair already stored, or one
    // already gone, needs no write.
    rs.Seek(QStringLiteral("="), categoryId, businessId);
    const bool stored = !rs.NoMatch();
    try {
        if (business->Checked() && !stored) {
            rs.AddNew();
            rs.setField(QStringLiteral("catid"), categoryId);
            rs.setField(QStringLiteral("Busid"), businessId);
            rs.Update();
        } else if (!business->Checked() && stored) {
            rs.Delete();
        } else {
            return;
        }
    } catch (const VbError&) {
        // The box goes back to what the database holds.
        rs.CancelUpdate();
        business->setChecked(stored);
        throw;
    }
    announceCategoriesChanged();
}
