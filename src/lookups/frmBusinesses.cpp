#include "lookups/frmBusinesses.h"

#include "data/Recordset.h"
#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"
#include "shell/dbStuff.h"
#include "shell/Windows.h"

#include <QGroupBox>
#include <QLabel>

using namespace dbStuff;

namespace {

// The designed client area and the details frame's height, in twips.
constexpr int DesignWidth = 7005;
constexpr int DesignHeight = 5010;
constexpr int FrameHeight = 1695;

QString key(const Variant& id)
{
    return QStringLiteral("b") + QString::number(id.toLong());
}

QString vatText(const Variant& vat)
{
    return vat.isNull() ? QStringLiteral("n/a") : vat.toText();
}

} // namespace

void frmBusinesses::Show(QWidget* parent)
{
    showModal<frmBusinesses>(parent);
}

frmBusinesses::frmBusinesses(QWidget* parent) : LookupWindow(FrameHeight, parent)
{
    buildControls();
}

frmBusinesses::~frmBusinesses() = default;

void frmBusinesses::buildControls()
{
    setObjectName(QStringLiteral("frmBusinesses"));
    setWindowTitle(QStringLiteral("Businesses/Accounts"));

    LV1->addColumnHeader(QStringLiteral("Business/Account name"), 3500);
    LV1->addColumnHeader(QStringLiteral("Business Id"), 1440, ListView::AlignCenter);
    LV1->addColumnHeader(QStringLiteral("VAT Nr."), 1440, ListView::AlignRight);

    // Boxes at 2100 twips and 1695 wide, as designed.
    const auto row = [this](QLabel*& label, TextBox*& box, const char* name,
                            const QString& caption) {
        box = new TextBox(Frame1);
        box->setObjectName(QString::fromLatin1(name));
        label = addDetailsRow(caption, box, 2100, 1695);
    };
    row(Label1, etName, "etName", QStringLiteral("Business/account name"));
    row(Label2, etVAT, "etVAT", QStringLiteral("VAT number"));
    row(Label3, etAccountNr, "etAccountNr", QStringLiteral("Account number"));
    setTabOrder(etName, etVAT);
    setTabOrder(etVAT, etAccountNr);

    setDesignSize(QSize(DesignWidth, DesignHeight));

    for (TextBox* box : {etName, etVAT, etAccountNr})
        connect(box, &TextBox::Change, this, [this] { RunHandler([&] { etDetails_Change(); }); });
}

void frmBusinesses::Form_Load()
{
    NewRecord = true;
    LV1->setHideSelection(true);
    rsBusinesses = DB->OpenRecordset(QStringLiteral("Businesses"), RecordsetType::Table);
    rsBusinesses->setIndex(QStringLiteral("PrimaryKey"));
    ClearDetails();
    FillLV1();
    LV1->setSelectedItem(nullptr);
    LV1->setHideSelection(true);
    // Nothing is selected, so there is nothing to delete yet.
    Toolbar1->setButtonEnabled(QStringLiteral("delete"), false);
    // Boxes that were empty already raise no change: set the save button here.
    etDetails_Change();
}

void frmBusinesses::ClearDetails()
{
    etName->setText(QString());
    etVAT->setText(QString());
    etAccountNr->setText(QString());
}

void frmBusinesses::FillLV1()
{
    SqlText = QStringLiteral("SELECT Businesses.BusinessId, Businesses.Name, Businesses.VATNr ") +
              QStringLiteral("From Businesses ") + QStringLiteral("ORDER BY Businesses.Name;");
    rsList = DB->OpenRecordset(SqlText, RecordsetType::ForwardOnly);
    LV1->Clear();
    while (!rsList->EOF_()) {
        const Variant id = rsList->field(QStringLiteral("BusinessId"));
        NewItem = LV1->Add(key(id), rsList->field(QStringLiteral("Name")).toText());
        NewItem->setSubItems(1, id.toText());
        NewItem->setSubItems(2, vatText(rsList->field(QStringLiteral("VATNr"))));
        rsList->MoveNext();
    }
}

bool frmBusinesses::paneDiffers()
{
    const Recordset& rs = *rsBusinesses;
    return differs(etName, rs[QStringLiteral("Name")]) ||
           differs(etVAT, rs[QStringLiteral("vatnr")]) ||
           differs(etAccountNr, rs[QStringLiteral("accountnr")]);
}

void frmBusinesses::SaveChanges()
{
    Recordset& rs = *rsBusinesses;
    try {
        if (NewRecord)
            rs.AddNew();
        else
            rs.Edit();
        rs.setField(QStringLiteral("Name"), etName->Text());
        if (!etVAT->Text().isEmpty())
            rs.setField(QStringLiteral("vatnr"), etVAT->Text());
        if (!etAccountNr->Text().isEmpty())
            rs.setField(QStringLiteral("accountnr"), etAccountNr->Text());
        rs.Update();
    } catch (const VbError&) {
        // A refused write leaves no pending edit behind; the pane keeps the
        // user's text for another try.
        rs.CancelUpdate();
        throw;
    }
    rs.setBookmark(rs.LastModified());

    if (NewRecord) {
        const QString newKey = key(rs[QStringLiteral("Businessid")]);
        NewItem = LV1->Add(newKey, rs[QStringLiteral("Name")].toText());
        showRow(NewItem);
        LV1->setSelectedItem(LV1->Find(newKey));
        NewRecord = false;
        CurrentKey = newKey;
        // The stored business is now the selected one.
        Toolbar1->setButtonEnabled(QStringLiteral("delete"), true);
    } else if (ListItem* item = LV1->Find(CurrentKey)) {
        item->setText(rs[QStringLiteral("Name")].toText());
        showRow(item);
        item->EnsureVisible();
    }
    LV1->setHideSelection(false);
    emit Notifier::instance().businessesChanged();
}

void frmBusinesses::showRow(ListItem* item)
{
    item->setSubItems(1, rsBusinesses->field(QStringLiteral("Businessid")).toText());
    item->setSubItems(2, vatText(rsBusinesses->field(QStringLiteral("vatnr"))));
}

void frmBusinesses::Form_Activate()
{
    etName->setFocus();
}

void frmBusinesses::etDetails_Change()
{
    Toolbar1->setButtonEnabled(QStringLiteral("save"), IsDirty());
}

void frmBusinesses::LV1_ItemClick(ListItem* Item)
{
    askToSaveBeforeShowing(Item);
    ClearDetails();
    Recordset& rs = *rsBusinesses;
    rs.Seek(QStringLiteral("="), Variant(IdFromKey(ClickedKey)));
    etName->setText(rs[QStringLiteral("Name")].toText());
    if (const Variant vat = rs[QStringLiteral("vatnr")]; !vat.isNull())
        etVAT->setText(vat.toString());
    if (const Variant account = rs[QStringLiteral("accountnr")]; !account.isNull())
        etAccountNr->setText(account.toString());
    LV1->setHideSelection(false);
    Toolbar1->setButtonEnabled(QStringLiteral("delete"), true);
    CurrentKey = ClickedKey;
    NewRecord = false;
    // The boxes were filled while the window still counted as holding a new
    // business; judged now, the pane matches the row and save is disabled.
    etDetails_Change();
}

void frmBusinesses::Toolbar1_ButtonClick(const QString& key)
{
    if (key == QLatin1String("save")) {
        SaveChanges();
    } else if (key == QLatin1String("close")) {
        Unload();
    } else if (key == QLatin1String("delete")) {
        const ListItem* selected = LV1->SelectedItem();
        if (!selected)
            return;
        const QString selectedKey = selected->Key();
        Answer = MsgBox(QStringLiteral("Delete ") + selected->Text() +
                            QStringLiteral(" and all it's related information including accounts?"),
                        vbYesNo + vbExclamation, AppTitle);
        if (Answer != vbYes)
            return;
        // The business named in the question is the one that goes.
        Recordset& rs = *rsBusinesses;
        rs.Seek(QStringLiteral("="), Variant(IdFromKey(selectedKey)));
        if (!rs.NoMatch())
            rs.Delete();
        LV1->Remove(selectedKey);
        LV1->setSelectedItem(nullptr);
        ClearDetails();
        Toolbar1->setButtonEnabled(QStringLiteral("delete"), false);
        NewRecord = true;
        emit Notifier::instance().businessesChanged();
    } else if (key == QLatin1String("new")) {
        NewRecord = true;
        LV1->setSelectedItem(nullptr);
        LV1->setHideSelection(true);
        ClearDetails();
        Toolbar1->setButtonEnabled(QStringLiteral("delete"), false);
        etName->setFocus();
    }
}

void frmBusinesses::placeLists(int top, int width, int height)
{
    Twips::setGeometry(LV1, 0, top, width, height);
}

void frmBusinesses::showEvent(QShowEvent* event)
{
    LookupWindow::showEvent(event);
    Form_Activate();
}
