#pragma once

#include "data/Ledger.h"
#include "lookups/LookupWindow.h"

#include <memory>

class QLabel;
class TextBox;

// "Businesses/Accounts": lists every business, shows one in the details pane and
// adds, changes and deletes businesses. Opened modally from the frame's menu.
//
// The window is in the new-business state (NewRecord) after loading, after
// "new" and after a delete, where a save adds a row; otherwise it edits the
// business shown in the pane (m_shown). Every way of
// closing goes through Form_QueryUnload.
//
// Every business saved or deleted is announced with Notifier::businessesChanged
// once the database holds the change.
class frmBusinesses final : public LookupWindow
{
    Q_OBJECT

public:
    // Opens the window modally and returns when it is closed. When loading
    // fails the error box is shown and the window does not open.
    static void Show(QWidget* parent = nullptr);

    explicit frmBusinesses(QWidget* parent = nullptr);
    ~frmBusinesses() override;

    QLabel* Label1 = nullptr;
    TextBox* etName = nullptr;
    QLabel* Label2 = nullptr;
    TextBox* etVAT = nullptr;
    QLabel* Label3 = nullptr;
    TextBox* etAccountNr = nullptr;

    void ClearDetails();
    void FillLV1();
    void SaveChanges();
    void Save() override { SaveChanges(); }

    void Form_Load() override;
    void Form_Activate();
    void LV1_ItemClick(ListItem* Item) override;
    void Toolbar1_ButtonClick(const QString& key) override;
    // The change handler of etName, etVAT and etAccountNr alike.
    void etDetails_Change();

protected:
    const TextBox* nameBox() const override { return etName; }
    bool paneDiffers() override;
    void placeLists(int top, int width, int height) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    // Cuts the box's text to the field's length, saying so with the caption.
    void fitToField(TextBox* box, const QString& caption);
    // Asks whether to go on when another business has the name, ignoring
    // case; throws SaveDeclined when the user says no.
    void warnOfNamesake(const Ledger::Business& business);
    // Sub-items 1 and 2 of a list item from the business shown.
    void showRow(ListItem* item);

    // The business last shown or stored, as the file holds it.
    Ledger::Business m_shown;
};
