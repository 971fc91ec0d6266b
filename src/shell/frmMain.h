#pragma once

#include "platform/widgets/Dialogs.h"

#include <QMainWindow>
#include <QPointer>

class GettingStartedPanel;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class UndoCommands;

// The frame window: a multiple-document frame with the program's menu and the
// common dialog CMDL1. There is one frame; like a form of the original
// platform it comes into being on first use (start-up uses CMDL1 before the
// frame is shown). Closing it ends the program and deletes it.
class frmMain final : public QMainWindow
{
    Q_OBJECT

public:
    // The one frame, created hidden if it does not exist yet.
    static frmMain& instance();
    // The frame if it exists, else nullptr.
    static frmMain* loaded();

    // Hosts a window as a child inside the frame, or brings it forward when it
    // is one already. The frame takes ownership.
    QMdiSubWindow* showChild(QWidget* window);
    QMdiArea* mdiArea() const { return m_mdi; }

    // vbHourglass or vbDefault over the frame and its children.
    void setMousePointer(int pointer);
    int mousePointer() const { return m_pointer; }

    CommonDialog CMDL1;

    QMenu* mnuFile = nullptr;
    QAction* mnuTransactions = nullptr;
    QAction* mnuBackup = nullptr;
    QAction* mnuRestore = nullptr;
    QAction* mnuImport = nullptr;
    QAction* mnuExport = nullptr;
    QMenu* mnuLookupTables = nullptr;
    QAction* mnuBusinesses = nullptr;
    QAction* mnuCategories = nullptr;
    QAction* mnuLine1 = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuSetup = nullptr;
    QAction* mnuLine2 = nullptr;
    QAction* mnuExit = nullptr;
    // Edit: Undo and Redo of the steps of this run.
    QMenu* mnuEdit = nullptr;
    UndoCommands* undoCommands = nullptr;
    QAction* mnuHistory = nullptr;
    // Help: the guides in a text browser (Getting started on F1) and About.
    QMenu* mnuHelp = nullptr;
    QAction* mnuGettingStarted = nullptr;
    QAction* mnuKeyboard = nullptr;
    QAction* mnuAbout = nullptr;
    // Above the child windows while no business has an allocated category.
    GettingStartedPanel* gettingStarted = nullptr;

    void mnuTransactions_Click();
    void mnuBackup_Click();
    void mnuRestore_Click();
    // The window in front writes its rows as CSV (CsvExportable).
    void mnuExport_Click();
    // Asks for a bank statement and shows its preview.
    void mnuImport_Click();
    void mnuBusinesses_Click();
    void mnuCategories_Click();
    void mnuPrint_Click();
    void mnuSetup_Click();
    void mnuExit_Click();
    void mnuHistory_Click();
    void mnuGettingStarted_Click();
    void mnuKeyboard_Click();
    void mnuAbout_Click();

protected:
    // The child windows are closed first, each asking what it has to ask;
    // when one of them stays open, so does the frame.
    void closeEvent(QCloseEvent* event) override;
    // The getting-started panel is brought up to date with the database.
    void showEvent(QShowEvent* event) override;

private:
    frmMain();
    void buildMenu();
    // Shows the guide in a text browser of its own among the child windows.
    void showHelpPage(const QString& name, const QString& title, const QString& html);

    static QPointer<frmMain>& current();

    QMdiArea* m_mdi = nullptr;
    int m_pointer = 0;
};
