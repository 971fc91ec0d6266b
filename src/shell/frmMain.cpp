#include "shell/frmMain.h"

#include "platform/Settings.h"
#include "platform/widgets/Screen.h"
#include "shell/CsvExport.h"
#include "shell/dbStuff.h"
#include "shell/frmImport.h"
#include "shell/GettingStartedPanel.h"
#include "shell/HelpTexts.h"
#include "shell/Restore.h"
#include "shell/UndoCommands.h"
#include "shell/Windows.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

QPointer<frmMain>& frmMain::current()
{
    static QPointer<frmMain> frame;
    return frame;
}

frmMain& frmMain::instance()
{
    if (!current())
        current() = new frmMain;
    return *current();
}

frmMain* frmMain::loaded()
{
    return current();
}

frmMain::frmMain()
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppTitle);
    auto* centre = new QWidget(this);
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    gettingStarted = new GettingStartedPanel(centre);
    m_mdi = new QMdiArea(centre);
    layout->addWidget(gettingStarted);
    layout->addWidget(m_mdi, 1);
    setCentralWidget(centre);
    buildMenu();
    // The platform places the frame; it starts at three quarters of the screen,
    // and after that where the user left it (size, place, maximised). A
    // stored value that is not a geometry is ignored.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size() * 3 / 4);
    restoreGeometry(QByteArray::fromBase64(
        GetSetting(AppTitle, QStringLiteral("WINDOWS"), QStringLiteral("FRAME")).toLatin1()));
}

void frmMain::buildMenu()
{
    // File and Edit: access keys; only Undo, Redo and Getting started have a shortcut.
    auto entry = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                [this, handler] { dbStuff::RunHandler([this, handler] { (this->*handler)(); }); });
        return action;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* line = menu->addSeparator();
        line->setObjectName(QString::fromLatin1(name));
        return line;
    };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuTransactions = entry(mnuFile, "mnuTransactions", QStringLiteral("&Transactions..."),
                            &frmMain::mnuTransactions_Click);
    mnuBackup =
        entry(mnuFile, "mnuBackup", QStringLiteral("&Create backup..."), &frmMain::mnuBackup_Click);
    mnuRestore = entry(mnuFile, "mnuRestore", QStringLiteral("&Restore backup..."),
                       &frmMain::mnuRestore_Click);
    mnuImport = entry(mnuFile, "mnuImport", QStringLiteral("&Import bank statement..."),
                      &frmMain::mnuImport_Click);
    mnuExport =
        entry(mnuFile, "mnuExport", QStringLiteral("E&xport..."), &frmMain::mnuExport_Click);
    mnuLookupTables = mnuFile->addMenu(QStringLiteral("&Lookup tables"));
    mnuLookupTables->setObjectName(QStringLiteral("mnuLookupTables"));
    mnuBusinesses = entry(mnuLookupTables, "mnuBusinesses", QStringLiteral("&Businesses..."),
                          &frmMain::mnuBusinesses_Click);
    mnuCategories = entry(mnuLookupTables, "mnuCategories", QStringLiteral("&Categories..."),
                          &frmMain::mnuCategories_Click);
    mnuLine1 = separator(mnuFile, "mnuLine1");
    mnuPrint = entry(mnuFile, "mnuPrint", QStringLiteral("&Print..."), &frmMain::mnuPrint_Click);
    mnuSetup = entry(mnuFile, "mnuSetup", QStringLiteral("Print &setup"), &frmMain::mnuSetup_Click);
    mnuLine2 = separator(mnuFile, "mnuLine2");
    mnuExit = entry(mnuFile, "mnuExit", QStringLiteral("&Exit"), &frmMain::mnuExit_Click);

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    undoCommands = new UndoCommands(mnuEdit, this);
    mnuEdit->addSeparator();
    mnuHistory =
        entry(mnuEdit, "mnuHistory", QStringLiteral("&History..."), &frmMain::mnuHistory_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuGettingStarted = entry(mnuHelp, "mnuGettingStarted", QStringLiteral("&Getting started"),
                              &frmMain::mnuGettingStarted_Click);
    mnuGettingStarted->setShortcut(QKeySequence(Qt::Key_F1));
    mnuKeyboard =
        entry(mnuHelp, "mnuKeyboard", QStringLiteral("&Keyboard"), &frmMain::mnuKeyboard_Click);
    mnuAbout =
        entry(mnuHelp, "mnuAbout", QStringLiteral("&About Zantoro"), &frmMain::mnuAbout_Click);
}

void frmMain::showHelpPage(const QString& name, const QString& title, const QString& html)
{
    if (auto* page = m_mdi->findChild<QTextBrowser*>(name)) {
        showChild(page);
        return;
    }
    auto* page = new QTextBrowser;
    page->setObjectName(name);
    page->setWindowTitle(title);
    page->setAccessibleName(title);
    page->setAccessibleDescription(QStringLiteral("Help text; the arrow and page keys scroll it."));
    page->setHtml(html);
    // Wide enough to read without scrolling sideways, and never past the frame.
    showChild(page)->resize(m_mdi->viewport()->size().boundedTo(QSize(720, 560)));
}

void frmMain::mnuGettingStarted_Click()
{
    showHelpPage(QStringLiteral("GettingStartedPage"), QStringLiteral("Getting started"),
                 HelpTexts::gettingStarted());
}

void frmMain::mnuKeyboard_Click()
{
    showHelpPage(QStringLiteral("KeyboardPage"), QStringLiteral("Keyboard"), HelpTexts::keyboard());
}

void frmMain::mnuAbout_Click()
{
    MsgBox(HelpTexts::about(dbStuff::DB && dbStuff::DB->isOpen() ? dbStuff::DBPath : QString()),
           vbInformation + vbOKOnly, QStringLiteral("About Zantoro"));
}

QMdiSubWindow* frmMain::showChild(QWidget* window)
{
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (sub->widget() == window) {
            sub->showNormal();
            m_mdi->setActiveSubWindow(sub);
            return sub;
        }
    }
    QMdiSubWindow* sub = m_mdi->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    m_mdi->setActiveSubWindow(sub);
    return sub;
}

void frmMain::setMousePointer(int pointer)
{
    m_pointer = pointer == vbHourglass ? vbHourglass : vbDefault;
    if (m_pointer == vbHourglass)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void frmMain::mnuTransactions_Click()
{
    dbStuff::ShowWindow(dbStuff::WindowId::Transactions);
}

void frmMain::mnuBackup_Click()
{
    dbStuff::BackupDatabase();
}

void frmMain::mnuRestore_Click()
{
    dbStuff::RestoreBackup();
}

void frmMain::mnuBusinesses_Click()
{
    dbStuff::ShowWindow(dbStuff::WindowId::Businesses);
}

void frmMain::mnuCategories_Click()
{
    dbStuff::ShowWindow(dbStuff::WindowId::Categories);
}

void frmMain::mnuPrint_Click()
{
    dbStuff::ShowWindow(dbStuff::WindowId::Print);
}

void frmMain::mnuHistory_Click()
{
    dbStuff::ShowWindow(dbStuff::WindowId::History);
}

void frmMain::mnuImport_Click()
{
    ShowImportWindow();
}

void frmMain::mnuExport_Click()
{
    QMdiSubWindow* front = m_mdi->activeSubWindow();
    if (auto* exportable = front ? dynamic_cast<CsvExportable*>(front->widget()) : nullptr) {
        exportable->exportCsv();
        return;
    }
    MsgBox(QStringLiteral("Open a transactions sheet and pick a business to export its rows."
                          "\rA report is exported from its viewer."),
           vbInformation + vbOKOnly);
}

void frmMain::mnuSetup_Click()
{
    CMDL1.Flags = cdlPDPrintSetup | cdlPDReturnDC;
    // A cancel here is no error, whatever an earlier file dialog left set.
    CMDL1.CancelError = false;
    CMDL1.ShowPrinter();
}

void frmMain::mnuExit_Click()
{
    close();
}

void frmMain::showEvent(QShowEvent* event)
{
    gettingStarted->refresh();
    QMainWindow::showEvent(event);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    m_mdi->closeAllSubWindows();
    for (const QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (sub->isVisible()) {
            event->ignore();
            return;
        }
    }
    SaveSetting(AppTitle, QStringLiteral("WINDOWS"), QStringLiteral("FRAME"),
                QString::fromLatin1(saveGeometry().toBase64()));
    QMainWindow::closeEvent(event);
}
