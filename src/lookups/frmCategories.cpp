#include "lookups/frmCategories.h"

#include "lookups/DeleteQuestion.h"
#include "platform/widgets/Accessible.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"
#include "shell/dbStuff.h"
#include "shell/Windows.h"

#include <QGroupBox>
#include <QLabel>

#include <optional>

using namespace dbStuff;

namespace {

// The designed client area and the details frame's height, in twips.
constexpr int DesignWidth = 10680;
constexpr int DesignHeight = 6480;
constexpr int FrameHeight = 2115;
// The length of the Category field, in characters.
constexpr int NameLength = 255;
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
    showModal<frmCategories>(parent);
}

frmCategories::frmCategories(QWidget* parent) : LookupWindow(FrameHeight, parent)
{
    buildControls();
    buildAllocationList();
    // Tab follows the window from the top: the two lists side by side, then
    // the pane.
    setTabOrder(LV1, LV2);
    setTabOrder(LV2, etCategory);
    setDesignSize(QSize(DesignWidth, DesignHeight));
}

frmCategories::~frmCategories() = default;

void frmCategories::buildControls()
{
    setObjectName(QStringLiteral("frmCategories"));
    setWindowTitle(QStringLiteral("Categories"));

    LV1->addColumnHeader(QStringLiteral("Category"), 2000);
    LV1->addColumnHeader(QStringLiteral("Type"), 1440, ListView::AlignCenter);
    LV1->addColumnHeader(QStringLiteral("VAT %"), 1000, ListView::AlignRight);

    // Boxes at 1980 twips and 2835 wide, as designed.
    const auto row = [this](QWidget* box, const char* name, const QString& caption) {
        box->setObjectName(QString::fromLatin1(name));
        return addDetailsRow(caption, box, 1980, 2835);
    };
    etCategory = new TextBox(Frame1);
    Label1 = row(etCategory, "etCategory", QStringLiteral("Category name"));
    etVAT = new TextBox(Frame1);
    Label3 = row(etVAT, "etVAT", QStringLiteral("VAT %"));
    cboType = new ComboBox(ComboBox::DropDownList, Frame1);
    Label2 = row(cboType, "cboType", QStringLiteral("Category type"));
    cboCashBank = new ComboBox(ComboBox::DropDownList, Frame1);
    Label4 = row(cboCashBank, "cboCashBank", QStringLiteral("Available in"));
    // The name field holds at most NameLength characters: a longer paste is
    // cut here, with a word, rather than refused by the file at the save.
    connect(etCategory, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.size() <= NameLength)
            return;
        etCategory->setText(text.left(NameLength));
        MsgBox(QStringLiteral("Category name takes at most 255 characters; the text was cut to "
                              "that length."),
               vbExclamation + vbOKOnly, AppTitle);
    });
    // "Saved ..." holds only while the pane shows what was saved.
    const auto edited = [this] { StatusLine->clear(); };
    connect(etCategory, &QLineEdit::textChanged, this, edited);
    connect(etVAT, &QLineEdit::textChanged, this, edited);
    connect(cboType, &QComboBox::currentIndexChanged, this, edited);
    connect(cboCashBank, &QComboBox::currentIndexChanged, this, edited);
    setTabOrder(etCategory, etVAT);
    setTabOrder(etVAT, cboType);
    setTabOrder(cboType, cboCashBank);
    Accessible::describe(LV1, QStringLiteral("Categories"),
                         QStringLiteral("Every category; pick one to show and change it below. "
                                        "Delete removes the one picked."));
    Accessible::describe(Label1, QStringLiteral("The name of the category."));
    Accessible::describe(Label3,
                         QStringLiteral("The VAT percentage of the category, for example 21."));
    Accessible::describe(Label2, QStringLiteral("Debit for money paid out, credit for money "
                                                "received; the arrow keys choose."));
    Accessible::describe(Label4, QStringLiteral("The sheets that offer the category: cash, bank "
                                                "or both; the arrow keys choose."));
}

void frmCategories::Form_Load()
{
    NewRecord = true;
    ledger().requireAllocationTable();
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
        try {
            Save();
        } catch (const SaveRefused&) {
            return; // the user was told; the pane keeps the text
        }
        LV1->setHideSelection(false);
    } else if (key == QLatin1String("close")) {
        Unload();
    } else if (key == QLatin1String("new")) {
        NewRecord = true;
        LV1->setHideSelection(true);
        LV1->setSelectedItem(nullptr);
        // A new category starts from the defaults, not from what was shown.
        ClearDetails();
        ClearLV2Checkmarks();
        m_shown = {};
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
    const qint64 id = IdFromKey(selectedKey);
    Answer = MsgBox(QStringLiteral("Delete category: '") + selected->Text().toUpper() +
                        QStringLiteral("' and all transactions under that category?\r\r") +
                        deleteDependantsLine(QStringLiteral("category ") + selected->Text(),
                                             ledger().categoryDependants(id),
                                             QStringLiteral("business")),
                    vbYesNo + vbQuestion, AppTitle);
    if (Answer != vbYes)
        return;
    ClearLV2Checkmarks();
    // The category named in the question is the one that goes.
    ledger().deleteCategory(id);
    LV1->Remove(selectedKey);
    Toolbar1->setButtonEnabled(QStringLiteral("delete"), false);
    // The pane is emptied and nothing in the list is selected: the window
    // holds a new category, so a close or a click has nothing to ask about,
    // and a later save adds one and can never write over another.
    LV1->setSelectedItem(nullptr);
    LV1->setHideSelection(true);
    NewRecord = true;
    ClearDetails();
    m_shown = {};
    announceCategoriesChanged();
}

void frmCategories::showEvent(QShowEvent* event)
{
    LookupWindow::showEvent(event);
    etCategory->setFocus();
}

void frmCategories::announceCategoriesChanged()
{
    emit Notifier::instance().categoriesChanged();
}

void frmCategories::Save()
{
    SaveCategory();
    announceCategoriesChanged();
}

void frmCategories::placeLists(int top, int width, int height)
{
    const int listWidth = std::max(0, (width - Gap) / 2);
    Twips::setGeometry(LV1, 0, top, listWidth, height);
    Twips::setGeometry(LV2, listWidth + Gap, top, listWidth, height);
    fitFirstColumn(LV1, listWidth);
    fitFirstColumn(LV2, listWidth);
}
