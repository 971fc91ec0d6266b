#pragma once

#include "data/Ledger.h"
#include "lookups/LookupWindow.h"

#include <memory>

class ComboBox;
class QLabel;
class TextBox;

// "Categories": the category list (LV1) with a details pane, and the list of
// businesses (LV2) whose ticks allocate the category selected in LV1. Opened
// modally from the frame's menu.
//
// The pane is compared with the category last clicked or stored (m_shown).
// Whether a save adds or changes a category is decided by the selection of LV1
// (none: add). Ticks in LV2 are written at once as allocations; ticks the
// window sets itself are display only.
//
// Notifications, once the database holds the change:
//  - Notifier::categoriesChanged after every save (from the toolbar or through
//    the close or the click question), a delete, and every allocation
//    written, so an open sheet refreshes its category picker before the user
//    can type there again.
class frmCategories final : public LookupWindow
{
    Q_OBJECT

public:
    // Opens the window modally and returns when it is closed. When loading
    // fails the error box is shown and the window does not open.
    static void Show(QWidget* parent = nullptr);

    explicit frmCategories(QWidget* parent = nullptr);
    ~frmCategories() override;

    ListView* LV2 = nullptr;
    QLabel* Label1 = nullptr;
    TextBox* etCategory = nullptr;
    QLabel* Label3 = nullptr;
    TextBox* etVAT = nullptr;
    QLabel* Label2 = nullptr;
    ComboBox* cboType = nullptr;
    QLabel* Label4 = nullptr;
    ComboBox* cboCashBank = nullptr;

    void ClearDetails();
    void FillcboType();
    void FillcboCashBank();
    void FillLV1();
    // Adds a category when nothing in LV1 is selected, else changes the
    // selected one.
    void SaveCategory();
    // SaveCategory, then the notice an open sheet refreshes its picker on;
    // every path that stores the pane (toolbar, either question) goes here.
    void Save() override;

    // The allocation list.
    void FillLV2();
    void UpdateLV2();
    void ClearLV2Checkmarks();
    void SaveCat_Bus();

    void Form_Load() override;
    // Runs under its own error handling: a failure shows the error box and
    // leaves the pane as far as it got.
    void LV1_ItemClick(ListItem* Item) override;
    void LV2_ItemCheck(ListItem* Item);
    void Toolbar1_ButtonClick(const QString& key) override;

protected:
    const TextBox* nameBox() const override { return etCategory; }
    // Keys typed as the window opens go to the name, not to a list's search.
    void showEvent(QShowEvent* event) override;
    // The name, the VAT, the type and "Available in" against the stored
    // category.
    bool paneDiffers() override;
    // LV1 and LV2 side by side, each half the width.
    void placeLists(int top, int width, int height) override;

private:
    void buildControls();
    void buildAllocationList();
    void deleteCategory();
    void announceCategoriesChanged();
    // Asks before a save when another category has the same name ignoring
    // case; throws SaveRefused unless the user goes on.
    void confirmUniqueName(const Ledger::Category& category);

    // The category last clicked or stored, as the file holds it.
    Ledger::Category m_shown;
};
