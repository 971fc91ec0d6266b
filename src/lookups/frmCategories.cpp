#include "lookups/frmCategories.h"

#include "data/Recordset.h"
#include "lookups/LookupLayout.h"
#include "platform/VbError.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"
#include "shell/dbStuff.h"
#include "shell/Windows.h"

#include <optional>

#include <QGroupBox>
#include <QLabel>

using namespace dbStuff;
using LookupLayout::place;

namespace {

// The designed client area and the details frame's height, in twips.
constexpr int DesignWidth = 10680;
constexpr int DesignHeight = 6480;
constexpr int FrameHeight = 2115;
// The gap between the lists, and between the lists and the details frame.
constexpr int Gap = 120;
// Room the first column leaves for the list's border and scroll bar.
constexpr int ScrollRoom = 400;

// Sizes the first column of a list to what its other columns leave of the
// list's width. The running sum is kept in whole twips, halves to even.
void fitFirstColumn(ListView* list, int listWidth)
{
    double sum = 0;
    for (int i = 2; i <= list->ColumnHeaderCount(); ++i)
        sum = std::nearbyint(sum + list->ColumnHeaderWidth(i));
    list->setColumnHeaderWidth(1, listWidth - int(sum) - ScrollRoom);
}

} // namespace

void frmCategories::Show(QWidget* parent)
{
    frmCategories window(parent);
    if (!window.Load())
        return;
    window.exec();
}

frmCategories::frmCategories(QWidget* parent) : QDialog(parent)
{
    buildControls();
    buildAllocationList();
    resize(Twips::toPixels(QSize(DesignWidth, DesignHeight)));
}

frmCategories::~frmCategories() = default;

void frmCategories::buildControls()
{
    setObjectName(QStringLiteral("frmCategories"));
    setWindowTitle(QStringLiteral("Categories"));

    Toolbar1 = new Toolbar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->addButton(QStringLiteral("delete"), QStringLiteral("Delete"), QStyle::SP_TrashIcon);
    Toolbar1->addButton(QStringLiteral("new"), QStringLiteral("New"), QStyle::SP_FileIcon);
    Toolbar1->addButton(QStringLiteral("save"), QStringLiteral("Save"),
                        QStyle::SP_DialogSaveButton);
    Toolbar1->addButton(QStringLiteral("close"), QStringLiteral("Close"),
                        QStyle::SP_DialogCloseButton);

    LV1 = new ListView(this);
    LV1->setObjectName(QStringLiteral("LV1"));
    LV1->addColumnHeader(QStringLiteral("Category"), 2000);
    LV1->addColumnHeader(QStringLiteral("Type"), 1440, ListView::AlignCenter);
    LV1->addColumnHeader(QStringLiteral("VAT %"), 1000, ListView::AlignRight);

    Frame1 = new QGroupBox(QStringLiteral("Details"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, 0, 0, DesignWidth, FrameHeight);
    const auto label = [this](QLabel*& label, QWidget* buddy, const QString& caption, int top) {
        label = new QLabel(caption, Frame1);
        label->setBuddy(buddy);
        place(label, 120, top + 60, 1815, 255);
    };
    etCategory = new TextBox(Frame1);
    etCategory->setObjectName(QStringLiteral("etCategory"));
    place(etCategory, 1980, 300, 2835, 315);
    label(Label1, etCategory, QStringLiteral("Category name"), 300);
    etVAT = new TextBox(Frame1);
    etVAT->setObjectName(QStringLiteral("etVAT"));
    place(etVAT, 1980, 720, 2835, 315);
    label(Label3, etVAT, QStringLiteral("VAT %"), 720);
    cboType = new ComboBox(ComboBox::DropDownList, Frame1);
    cboType->setObjectName(QStringLiteral("cboType"));
    place(cboType, 1980, 1140, 2835, 315);
    label(Label2, cboType, QStringLiteral("Category type"), 1140);
    cboCashBank = new ComboBox(ComboBox::DropDownList, Frame1);
    cboCashBank->setObjectName(QStringLiteral("cboCashBank"));
    place(cboCashBank, 1980, 1560, 2835, 315);
    label(Label4, cboCashBank, QStringLiteral("Available in"), 1560);
    LookupLayout::fitLabels({Label1, Label3, Label2, Label4},
                            {etCategory, etVAT, cboType, cboCashBank});
    setTabOrder(etCategory, etVAT);
    setTabOrder(etVAT, cboType);
    setTabOrder(cboType, cboCashBank);

    connect(Toolbar1, &Toolbar::ButtonClick, this,
            [this](const QString& key) { RunHandler([&] { Toolbar1_ButtonClick(key); }); });
    connect(LV1, &ListView::ItemClick, this,
            [this](ListItem* item) { RunHandler([&] { LV1_ItemClick(item); }); });
}

bool frmCategories::Load()
{
    try {
        Form_Load();
        return true;
    } catch (const VbError& e) {
        ReportError(e.number());
        return false;
    }
}

void frmCategories::Form_Load()
{
    NewRecord = true;
    rsRelCatBis = DB->OpenRecordset(QStringLiteral("relCat_Bis"), RecordsetType::Table);
    rsRelCatBis->setIndex(QStringLiteral("Primarykey"));
    FillcboType();
    FillcboCashBank();
    ClearDetails();
    FillLV1();
    FillLV2();
    LV1->setSelectedItem(nullptr);
    LV1->setHideSelection(true);
    // Nothing is selected, so there is nothing to delete yet.
    Toolbar1->setButtonEnabled(QStringLiteral("delete"), false);
}

void frmCategories::Toolbar1_ButtonClick(const QString& key)
{
    if (key == QLatin1String("save")) {
        SaveCategory();
        LV1->setHideSelection(false);
        announceCategoriesChanged();
    } else if (key == QLatin1String("close")) {
        Unload();
    } else if (key == QLatin1String("new")) {
        NewRecord = true;
        LV1->setHideSelection(true);
        LV1->setSelectedItem(nullptr);
        etCategory->setText(QString());
        Toolbar1->setButtonEnabled(QStringLiteral("delete"), false);
        etCategory->setFocus();
    } else if (key == QLatin1String("delete")) {
        deleteCategory();
    }
}

void frmCategories::deleteCategory()
{
    const ListItem* selected = LV1->SelectedItem();
    if (!selected)
        return;
    const QString selectedKey = selected->Key();
    Answer = MsgBox(QStringLiteral("Delete category: '") + selected->Text().toUpper() +
                        QStringLiteral("' and all transactions under that category?"),
                    vbYesNo + vbQuestion, AppTitle);
    if (Answer != vbYes)
        return;
    ClearLV2Checkmarks();
    // The category named in the question is the one that goes.
    Recordset& rs = *rsCategories;
    rs.Seek(QStringLiteral("="), Variant(IdFromKey(selectedKey)));
    if (!rs.NoMatch())
        rs.Delete();
    LV1->Remove(selectedKey);
    Toolbar1->setButtonEnabled(QStringLiteral("delete"), false);
    // The pane still shows the deleted category, but nothing in the list is
    // selected and the window holds a new category: a later save adds one and
    // can never write over another.
    LV1->setSelectedItem(nullptr);
    LV1->setHideSelection(true);
    NewRecord = true;
    announceCategoriesChanged();
}

void frmCategories::announceCategoriesChanged()
{
    std::optional<QByteArray> shown;
    if (!NewRecord)
        shown = rsCategories->Bookmark();
    emit Notifier::instance().categoriesChanged();
    if (shown)
        rsCategories->setBookmark(*shown);
}

void frmCategories::Form_QueryUnload(bool& Cancel)
{
    if (!IsDirty())
        return;
    Answer = MsgBox(QStringLiteral("Save changes before closing this window?"),
                    vbYesNoCancel + vbQuestion, AppTitle);
    if (Answer == vbCancel) {
        Cancel = true;
    } else if (Answer == vbYes) {
        try {
            SaveCategory();
        } catch (const VbError& e) {
            // Closing now would lose the typed category: stay open with it.
            ReportError(e.number());
            Cancel = true;
        }
    }
}

void frmCategories::Unload()
{
    reject();
}

void frmCategories::reject()
{
    bool cancel = false;
    RunHandler([&] { Form_QueryUnload(cancel); });
    if (!cancel)
        QDialog::reject();
}

void frmCategories::Form_Resize()
{
    const int innerWidth = LookupLayout::widthTwips(this);
    const int innerHeight = LookupLayout::heightTwips(this);
    // The toolbar keeps to the top edge, across the window.
    place(Toolbar1, 0, 0, innerWidth, Twips::fromPixels(Toolbar1->sizeHint().height()));
    const int toolbarTop = Twips::fromPixels(Toolbar1->y());
    const int toolbarHeight = LookupLayout::heightTwips(Toolbar1);

    const int listHeight = std::max(0, innerHeight - FrameHeight - toolbarHeight - Gap);
    const int listTop = toolbarTop + toolbarHeight;
    const int listWidth = std::max(0, (innerWidth - Gap) / 2);
    place(LV1, 0, listTop, listWidth, listHeight);
    place(LV2, listWidth + Gap, listTop, listWidth, listHeight);
    place(Frame1, 0, listTop + listHeight + Gap, innerWidth, FrameHeight);
    fitFirstColumn(LV1, listWidth);
    fitFirstColumn(LV2, listWidth);
}

void frmCategories::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    RunHandler([this] { Form_Resize(); });
}
