#include "data/SchemaVersions.h"
#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Screen.h"
#include "shell/dbStuff.h"
#include "shell/Delivery.h"
#include "shell/frmMain.h"
#include "shell/Locations.h"
#include "shell/Restore.h"
#include "shell/UndoCommands.h"

#include <QFileInfo>

namespace dbStuff {

namespace {

const QString ResolutionWarning =
    QStringLiteral("The preferred resolution for this application is 1024 x 768.") +
    QStringLiteral("\r\r") +
    QStringLiteral(" If you are using a different resolution you may not be able to see the full "
                   "content of controls on the screen.") +
    QStringLiteral("\r\r") + QStringLiteral("Do you want to continue?");

const QString NotAccessible =
    QStringLiteral("Either Zantoro application, or Zantoro.mdb are not accessible. Check the "
                   "availability in the correct location of these files and do not click twice to "
                   "open the Zantoro application.");

// A file written by a newer version of the program: refused, never changed.
const QString NewerVersion = QStringLiteral(
    "The database '%1' was written by a newer version of Zantoro (file version %2; this version "
    "reads files up to version %3). It has not been changed. Open it with the newer version.");

// A stored database that has gone: Yes locates it, No makes a new one there.
const QString NotFound =
    QStringLiteral("The database %1 was not found. Locate it, or create a new, empty one?\r\r"
                   "Yes: locate the database.\rNo: create a new, empty database at that place.\r"
                   "Cancel: end Zantoro.");

const QString NotMade = QStringLiteral("The database %1 could not be made:\r%2");
const QString ReportsNotCopied =
    QStringLiteral("The database %1 was made, but not every report file could be put beside "
                   "it:\r%2");

bool FileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// Puts the delivered database at DBPath; says why when that fails. True when
// the file is there afterwards.
bool MakeDatabase()
{
    const QString failed = InstallDeliveredDatabase(DBPath);
    const bool made = FileExists(DBPath);
    if (!failed.isEmpty())
        MsgBox((made ? ReportsNotCopied : NotMade).arg(DBPath, failed), vbExclamation + vbOKOnly,
               AppTitle);
    return made;
}

// Whether the locate dialog is needed for a stored file that has gone; the
// user may have a new, empty database made there instead.
bool LocateMissing()
{
    switch (MsgBox(NotFound.arg(DBPath), vbYesNoCancel + vbQuestion, AppTitle)) {
    case vbYes:
        return true;
    case vbNo:
        return !MakeDatabase();
    default:
        End(ExitStatus::StartupCancelled);
    }
    return true;
}

// Asks the user where the database is; raises 32755 when cancelled.
void LocateDatabase()
{
    CommonDialog& dialog = frmMain::instance().CMDL1;
    dialog.CancelError = true;
    dialog.DialogTitle = QStringLiteral("Locate Zantoro.mdb database");
    dialog.InitDir = Locations::defaultDatabaseFolder();
    dialog.Filter = QStringLiteral("(*.mdb)|*.mdb");
    dialog.FileName = QStringLiteral("Zantoro.mdb");
    dialog.ShowOpen();
    DBPath = dialog.FileName;
    SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("DATABASE"), DBPath);
}

} // namespace

void Main()
{
    try {
        Screen::setMousePointer(vbHourglass);
        if (Screen::widthPixels() < 768) {
            Answer = MsgBox(ResolutionWarning, vbOKCancel + vbInformation, AppTitle);
            if (Answer == vbCancel)
                End(ExitStatus::StartupCancelled);
        }
        Locations::makeDefaultFolders();
        ConnectDatabase();
        frmMain::instance().show();
        Screen::setMousePointer(vbDefault);
    } catch (const VbError& e) {
        Screen::setMousePointer(vbDefault);
        ReportError(e);
    }
}

void ConnectDatabase()
{
    // Settings text never reaches SQL unchecked: an unknown clause is replaced.
    SortSQL =
        GetSetting(AppTitle, QStringLiteral("SETTINGS"), QStringLiteral("SORTSQL"), DefaultSortSQL);
    if (!Ledger::isSortClause(SortSQL))
        SortSQL = DefaultSortSQL;

    DBPath = GetSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("DATABASE"));
    const bool firstRun = DBPath.isEmpty();
    if (firstRun) {
        DBPath = Locations::defaultDatabasePath();
        SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("DATABASE"), DBPath);
    }

    // The first run installs the delivered database where none is yet; when
    // the program's own copy of it is missing, the user locates a file.
    bool locate = !FileExists(DBPath);
    if (locate && firstRun && !Locations::deliveredFolder().isEmpty())
        locate = !MakeDatabase();
    else if (locate && !firstRun)
        locate = LocateMissing();
    for (;;) {
        try {
            if (locate)
                LocateDatabase();
            // A damaged file is never opened: opening may write to it.
            CheckDatabaseAtStartUp(DBPath, false);
            DB = Database::OpenDatabase(DBPath);
            DBFolder = Locations::folderOf(DBPath);
            // The frame never opens on a half-open database.
            if (!OpenTableRecordsets())
                End(ExitStatus::StartupFailed);
            StartUndoRun();
            return;
        } catch (const VbError& e) {
            switch (e.number()) {
            case VbErr::DbFileNotFound:
                locate = true;
                break;
            case VbErr::CannotUseFile:
                // A file too large for the full check at start-up may still
                // turn out damaged when it is opened: it is checked whole now.
                if (CheckDatabaseAtStartUp(DBPath, true)) {
                    locate = false;
                    break;
                }
                MsgBox(NotAccessible, vbExclamation + vbOKOnly, AppTitle);
                End(ExitStatus::StartupFailed);
            case VbErr::CancelSelected:
                End(ExitStatus::StartupCancelled);
            case VbErr::UnrecognizedFormat:
                if (const int version = SchemaVersions::versionOfFile(DBPath).value_or(0);
                    version > SchemaVersions::Current) {
                    MsgBox(NewerVersion.arg(DBPath).arg(version).arg(SchemaVersions::Current),
                           vbCritical + vbOKOnly, AppTitle);
                    End(ExitStatus::StartupFailed);
                }
                ReportError(e);
                End(ExitStatus::StartupFailed);
            default:
                ReportError(e);
                End(ExitStatus::StartupFailed);
            }
        }
    }
}

bool OpenTableRecordsets()
{
    try {
        rsCategories = DB->OpenRecordset(QStringLiteral("Categories"), RecordsetType::Table);
        rsCategories->setIndex(QStringLiteral("PrimaryKey"));
        rsTransactions = DB->OpenRecordset(QStringLiteral("Transactions"), RecordsetType::Table);
        rsTransactions->setIndex(QStringLiteral("PrimaryKey"));
        return true;
    } catch (const VbError& e) {
        rsCategories.reset();
        rsTransactions.reset();
        ReportError(e);
        return false;
    }
}

} // namespace dbStuff
