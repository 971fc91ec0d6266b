#include "support/ShellEnvironment.h"

#include "platform/Settings.h"
#include "platform/widgets/Screen.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/UndoCommands.h"
#include "shell/Windows.h"

#include <QCoreApplication>
#include <QDir>

namespace {

int& endCount()
{
    static int count = 0;
    return count;
}

ExitStatus& lastStatus()
{
    static ExitStatus status = ExitStatus::Normal;
    return status;
}

} // namespace

ShellEnvironment::ShellEnvironment()
{
    m_hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    m_oldDataHome = qgetenv("XDG_DATA_HOME");
    QDir(root()).mkpath(QStringLiteral("data/Zantoro"));
    QDir(root()).mkpath(QStringLiteral("config"));
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    SettingsStore::setFolder(settingsFolder());
    Screen::setWidthPixelsForTesting(1024);
    endCount() = 0;
    setEndHandler([](ExitStatus status) {
        ++endCount();
        lastStatus() = status;
        throw ProgramEnded{status};
    });
    resetShell();
}

ShellEnvironment::~ShellEnvironment()
{
    resetShell();
    setEndHandler({});
    Screen::setWidthPixelsForTesting(0);
    Screen::setMousePointer(vbDefault);
    SettingsStore::setFolder(QString());
    if (m_hadDataHome)
        qputenv("XDG_DATA_HOME", m_oldDataHome);
    else
        qunsetenv("XDG_DATA_HOME");
}

QString ShellEnvironment::dataHome() const
{
    return root() + QStringLiteral("/data");
}

QString ShellEnvironment::settingsFolder() const
{
    return root() + QStringLiteral("/config");
}

QString ShellEnvironment::defaultDatabasePath() const
{
    return dataHome() + QStringLiteral("/Zantoro/Zantoro.mdb");
}

int ShellEnvironment::endings() const
{
    return endCount();
}

int ShellEnvironment::endStatus() const
{
    return endCount() ? int(lastStatus()) : -1;
}

void ShellEnvironment::openDatabase(const QString& path)
{
    using namespace dbStuff;
    DBPath = path;
    DBFolder = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
    SortSQL = DefaultSortSQL;
    DB = Database::OpenDatabase(path);
    OpenTableRecordsets();
    StartUndoRun();
}

void ShellEnvironment::resetShell()
{
    using namespace dbStuff;
    if (frmMain* frame = frmMain::loaded()) {
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        delete frame;
    }
    rsList.reset();
    NewItem = nullptr;
    rsCategories.reset();
    rsTransactions.reset();
    DB.reset();
    DBPath.clear();
    DBFolder.clear();
    SortSQL.clear();
    SqlText.clear();
    Answer = 0;
    CurrentTab = 0;
    SheetOpen = false;
    GridBusy = false;
    NewRecord = false;
    ReportQueryName.clear();
    ReportQuery = QueryDef();
    setBackupFiles(nullptr);
    UnregisterWindows();
}
