#pragma once

#include <memory>

#include <QDialog>
#include <QString>

class ListItem;
class ListView;
class QGroupBox;
class QLabel;
class Recordset;
class TextBox;
class Toolbar;

// "Businesses/Accounts": lists every business, shows one in the details pane and
// adds, changes and deletes businesses. Opened modally from the frame's menu.
//
// The window is in the new-business state (NewRecord) after loading, after
// "new" and after a delete, where a save adds a row; otherwise it edits the row
// rsBusinesses stands on, which is the business shown in the pane. Every way of
// closing goes through Form_QueryUnload.
//
// Every business saved or deleted is announced with Notifier::businessesChanged
// once the database holds the change.
class frmBusinesses final : public QDialog
{
    Q_OBJECT

public:
    // Opens the window modally and returns when it is closed. When loading
    // fails the error box is shown and the window does not open.
    static void Show(QWidget* parent = nullptr);

    explicit frmBusinesses(QWidget* parent = nullptr);
    ~frmBusinesses() override;

    // Form_Load under the window's error handling: false (after the error box)
    // when the table could not be opened or listed.
    bool Load();

    Toolbar* Toolbar1 = nullptr;
    ListView* LV1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    TextBox* etName = nullptr;
    QLabel* Label2 = nullptr;
    TextBox* etVAT = nullptr;
    QLabel* Label3 = nullptr;
    TextBox* etAccountNr = nullptr;

    // The business shown in the pane, and the item the user clicked last.
    QString CurrentKey;
    QString ClickedKey;

    void ClearDetails();
    void FillLV1();
    bool IsDirty();
    void SaveChanges();

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_QueryUnload(bool& Cancel);
    void LV1_ItemClick(ListItem* Item);
    void Toolbar1_ButtonClick(const QString& key);
    // The change handler of etName, etVAT and etAccountNr alike.
    void etDetails_Change();

    // Closes the window the way its close button does (through the query).
    void Unload();

    // Every way of closing (title bar, Escape, Unload) arrives here.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    // Sub-items 1 and 2 of a list item from the row rsBusinesses stands on.
    void showRow(ListItem* item);

    std::unique_ptr<Recordset> rsBusinesses;
};
