#include "lookups/frmBusinesses.h"

#include "lookups/DeleteQuestion.h"
#include "platform/VbError.h"
#include "platform/widgets/Accessible.h"
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

QString key(qint64 id)
{
    return QStringLiteral("b") + QString::number(id);
}

QString vatText(const std::optional<QString>& vat)
{
    return vat ? *vat : QStringLiteral("n/a");
}

// Name, VATNr and accountnr are VARCHAR(255), in characters.
constexpr int FieldLength = 255;

// A box's value without blanks around it, which only hide a number's end;
// an empty (or blank) box stands for Null: emptying a box clears the stored
// value.
std::optional<QString> boxValue(const TextBox* box)
{
    const QString text = box->Text().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    return text;
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
    Accessible::describe(LV1, QStringLiteral("Businesses"),
                         QStringLiteral("Every business or account; pick one to show and change it "
                                        "below. Delete removes the one picked."));
    Accessible::describe(Label1, QStringLiteral("The name of the business or account."));
    Accessible::describe(Label2, QStringLiteral("Its VAT number; may stay empty."));
    Accessible::describe(Label3, QStringLiteral("Its bank account number; may stay empty."));

    setDesignSize(QSize(DesignWidth, DesignHeight));

    for (QLabel* label : {Label1, Label2, Label3}) {
        auto* box = static_cast<TextBox*>(label->buddy());
        connect(box, &TextBox::Change, this, [this, box, label] {
            RunHandler([&] {
                fitToField(box, label->text());
                etDetails_Change();
            });
        });
    }
}

void frmBusinesses::Form_Load()
{
    NewRecord = true;
    LV1->setHideSelection(true);
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
    const QList<Ledger::Business> businesses = ledger().businesses();
    LV1->Clear();
    for (const Ledger::Business& business : businesses) {
        NewItem = LV1->Add(key(business.id), business.name);
        NewItem->setSubItems(1, QString::number(business.id));
        NewItem->setSubItems(2, vatText(business.vatNr));
    }
}

bool frmBusinesses::paneDiffers()
{
    // An emptied name is no change (it could not be stored); an emptied VAT or
    // account number is, and stores Null.
    return differs(etName, Variant(m_shown.name)) || boxValue(etVAT) != m_shown.vatNr ||
           boxValue(etAccountNr) != m_shown.accountNr;
}

void frmBusinesses::SaveChanges()
{
    // An empty VAT or account box stores Null. A refused write changes
    // nothing, and the pane keeps the user's text for another try.
    Ledger::Business business = NewRecord ? Ledger::Business() : m_shown;
    // Blanks around a name would sort it first and tell nothing apart.
    business.name = etName->Text().trimmed();
    warnOfNamesake(business);
    business.vatNr = boxValue(etVAT);
    business.accountNr = boxValue(etAccountNr);
    ledger().storeBusiness(business);
    m_shown = business;
    // The pane shows what was stored, so a trimmed text is no edit.
    etName->setText(business.name);
    etVAT->setText(business.vatNr.value_or(QString()));
    etAccountNr->setText(business.accountNr.value_or(QString()));

    if (NewRecord) {
        const QString newKey = key(business.id);
        NewItem = LV1->Add(newKey, business.name);
        showRow(NewItem);
        LV1->setSelectedItem(LV1->Find(newKey));
        NewRecord = false;
        CurrentKey = newKey;
        // The stored business is now the selected one.
        Toolbar1->setButtonEnabled(QStringLiteral("delete"), true);
    } else if (ListItem* item = LV1->Find(CurrentKey)) {
        item->setText(business.name);
        showRow(item);
        item->EnsureVisible();
    }
    LV1->setHideSelection(false);
    etDetails_Change();
    StatusLine->setText(QStringLiteral("Saved ") + business.name);
    emit Notifier::instance().businessesChanged();
}

void frmBusinesses::fitToField(TextBox* box, const QString& caption)
{
    if (box->Text().size() <= FieldLength)
        return;
    // Cutting raises Change again, which then finds the text short enough.
    box->setText(box->Text().left(FieldLength));
    MsgBox(caption + QStringLiteral(" takes at most ") + QString::number(FieldLength) +
               QStringLiteral(" characters; the text was cut to fit."),
           vbOKOnly + vbExclamation, AppTitle);
}

void frmBusinesses::warnOfNamesake(const Ledger::Business& business)
{
    // The sheet's business box cannot tell apart names that differ only in
    // case.
    if (business.name.isEmpty())
        return;
    for (const Ledger::Business& other : ledger().businesses()) {
        if (other.id == business.id || other.name.compare(business.name, Qt::CaseInsensitive) != 0)
            continue;
        Answer =
            MsgBox(QStringLiteral("Another business is already named ") + other.name +
                       QStringLiteral(". Save ") + business.name + QStringLiteral(" all the same?"),
                   vbYesNo + vbExclamation, AppTitle);
        if (Answer != vbYes)
            throw SaveDeclined();
        return;
    }
}

void frmBusinesses::showRow(ListItem* item)
{
    item->setSubItems(1, QString::number(m_shown.id));
    item->setSubItems(2, vatText(m_shown.vatNr));
}

void frmBusinesses::Form_Activate()
{
    etName->setFocus();
}

void frmBusinesses::etDetails_Change()
{
    const bool dirty = IsDirty();
    Toolbar1->setButtonEnabled(QStringLiteral("save"), dirty);
    // "Saved ..." holds only while the pane shows what was saved.
    if (dirty)
        StatusLine->clear();
}

void frmBusinesses::LV1_ItemClick(ListItem* Item)
{
    askToSaveBeforeShowing(Item);
    ClearDetails();
    m_shown = ledger().business(IdFromKey(ClickedKey));
    etName->setText(m_shown.name);
    if (m_shown.vatNr)
        etVAT->setText(*m_shown.vatNr);
    if (m_shown.accountNr)
        etAccountNr->setText(*m_shown.accountNr);
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
        const qint64 id = IdFromKey(selectedKey);
        Answer =
            MsgBox(QStringLiteral("Delete ") + selected->Text() +
                       QStringLiteral(" and all it's related information including accounts?") +
                       QStringLiteral("\r\r") +
                       deleteDependantsLine(selected->Text(), ledger().businessDependants(id),
                                            QStringLiteral("category")),
                   vbYesNo + vbExclamation, AppTitle);
        if (Answer != vbYes)
            return;
        // The business named in the question is the one that goes.
        ledger().deleteBusiness(id);
        LV1->Remove(selectedKey);
        LV1->setSelectedItem(nullptr);
        ClearDetails();
        Toolbar1->setButtonEnabled(QStringLiteral("delete"), false);
        NewRecord = true;
        emit Notifier::instance().businessesChanged();
    } else if (key == QLatin1String("new")) {
        // Clearing the pane would drop its edits: ask as a click does. A
        // refused write stops here with the pane as the user typed it.
        if (IsDirty()) {
            Answer = MsgBox(QStringLiteral("Do you want to save changes?"), vbYesNo + vbQuestion,
                            AppTitle);
            if (Answer == vbYes)
                SaveChanges();
        }
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
