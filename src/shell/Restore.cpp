#include "shell/Restore.h"

#include "data/FileCheck.h"
#include "platform/ProgramLocale.h"
#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Screen.h"
#include "shell/AutoBackup.h"
#include "shell/BackupCopy.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/Locations.h"
#include "shell/UndoCommands.h"
#include "shell/Windows.h"

#include <QDateTime>
#include <QFileInfo>

#include <optional>

namespace dbStuff {

namespace {

struct BackupFacts
{
    QString path;
    QDateTime made;
    FileCheck::Contents contents;
};

// Where the restore dialog starts: the folder of the last backup made.
QString RestoreInitDir()
{
    const QString stored = GetSetting(AppTitle, QStringLiteral("FILELOCATIONS"),
                                      QStringLiteral("BACKUP"), Locations::defaultBackupPath());
    if (stored.isEmpty() || QFileInfo(stored).isDir())
        return stored.isEmpty() ? Locations::defaultBackupPath() : stored;
    const QString folder = Locations::folderOf(stored);
    return folder.isEmpty() ? Locations::defaultBackupPath() : folder;
}

// Asks for the backup to restore; nullopt when the user cancels.
std::optional<QString> ChooseBackup()
{
    CommonDialog& dialog = frmMain::instance().CMDL1;
    dialog.DialogTitle = QStringLiteral("Restore backup");
    dialog.Flags = cdlOFNFileMustExist | cdlOFNHideReadOnly | cdlOFNLongNames;
    dialog.DefaultExt = QStringLiteral("bak");
    dialog.Filter = QStringLiteral("Backup files(*.bak)|*.bak|All files|*");
    dialog.InitDir = RestoreInitDir();
    dialog.FileName.clear();
    dialog.CancelError = true;
    try {
        dialog.ShowOpen();
    } catch (const VbError& e) {
        if (e.number() == VbErr::CancelSelected)
            return std::nullopt;
        throw;
    }
    return dialog.FileName;
}

void Refuse(const QString& why)
{
    MsgBox(why + QStringLiteral("\r\r") +
               QStringLiteral("Nothing was restored; the database is as it was."),
           vbExclamation + vbOKOnly, AppTitle);
}

bool SameFile(const QString& a, const QString& b)
{
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    return fa.exists() && fb.exists() && fa.canonicalFilePath() == fb.canonicalFilePath();
}

// Where the copy of a backup waits beside the database before it takes its
// place.
QString IncomingPath(const QString& database)
{
    return database + QStringLiteral(".restoring");
}

// Where the replaced database waits until the restored one has opened.
QString ReplacedPath(const QString& database)
{
    return database + QStringLiteral(".replaced");
}

// The backup's facts, or nullopt after telling the user why it is refused.
std::optional<BackupFacts> InspectBackup(const QString& path)
{
    if (SameFile(path, DBPath)) {
        Refuse(QStringLiteral("%1 is the database file itself, not a backup of it.").arg(path));
        return std::nullopt;
    }
    // A restore replaces or removes these files while it runs.
    if (SameFile(path, IncomingPath(DBPath)) || SameFile(path, ReplacedPath(DBPath))) {
        Refuse(QStringLiteral("%1 is a work file of a restore; choose a backup.").arg(path));
        return std::nullopt;
    }
    const FileCheck::Finding finding = FileCheck::quickCheck(path);
    switch (finding.verdict) {
    case FileCheck::Verdict::Sound:
        break;
    case FileCheck::Verdict::NotADatabase:
        Refuse(QStringLiteral("%1 is not a Zantoro database.").arg(path));
        return std::nullopt;
    case FileCheck::Verdict::Damaged:
        Refuse(QStringLiteral("The backup %1 is damaged and cannot be restored.").arg(path));
        return std::nullopt;
    case FileCheck::Verdict::Unreadable:
        Refuse(QStringLiteral("The backup %1 cannot be read: %2.").arg(path, finding.detail));
        return std::nullopt;
    }
    const std::optional<FileCheck::Contents> contents = FileCheck::ledgerContents(path);
    if (!contents) {
        Refuse(QStringLiteral("%1 is not a Zantoro database.").arg(path));
        return std::nullopt;
    }
    return BackupFacts{path, QFileInfo(path).lastModified(), *contents};
}

bool ConfirmRestore(const BackupFacts& backup, const QString& whatHappensFirst)
{
    const QString prompt =
        QStringLiteral("Restore this backup?") + QStringLiteral("\r\r") + backup.path +
        QStringLiteral("\r") + QStringLiteral("Made: ") +
        ProgramLocale::formatDateTime(backup.made) + QStringLiteral("\r") +
        QStringLiteral("Businesses: ") +
        ProgramLocale::formatNumber(double(backup.contents.businesses), u"#,##0") +
        QStringLiteral("\r") + QStringLiteral("Transactions: ") +
        ProgramLocale::formatNumber(double(backup.contents.transactions), u"#,##0") +
        QStringLiteral("\r\r") + whatHappensFirst;
    return MsgBox(prompt, vbYesNo + vbQuestion + vbDefaultButton2, AppTitle) == vbYes;
}

// A checked copy of the backup beside the database, ready to take its place:
// compacted from the backup, on the disk, and read back whole with the
// program's tables. On failure nothing of it is left.
void PrepareIncoming(const QString& backup, const QString& incoming)
{
    BackupFiles& fs = backupFiles();
    if (fs.exists(incoming))
        fs.remove(incoming); // left by a restore that was cut off
    try {
        fs.compact(backup, incoming);
        fs.flush(incoming);
        fs.check(incoming);
        if (!FileCheck::ledgerContents(incoming))
            throw VbError(VbErr::UnrecognizedFormat, backup);
    } catch (const VbError&) {
        if (fs.exists(incoming))
            fs.remove(incoming);
        throw;
    }
}

void CloseDatabase()
{
    rsList.reset();
    rsCategories.reset();
    rsTransactions.reset();
    if (DB)
        DB->Close();
}

// Opens DB and the table recordsets on DBPath; false (the error box shown)
// when either fails, with everything closed again.
bool OpenDatabaseHere()
{
    try {
        DB = Database::OpenDatabase(DBPath);
    } catch (const VbError& e) {
        ReportError(e);
        return false;
    }
    if (OpenTableRecordsets())
        return true;
    CloseDatabase();
    return false;
}

// Puts incoming at database; the file there now is moved to aside first and
// comes back when the swap fails. Both renames stay in the database's folder
// and reach the disk with it. Raises the first error.
void Swap(const QString& incoming, const QString& database, const QString& aside)
{
    BackupFiles& fs = backupFiles();
    bool movedAside = false;
    try {
        if (fs.exists(aside))
            fs.remove(aside);
        fs.replace(database, aside);
        movedAside = true;
        fs.replace(incoming, database);
    } catch (const VbError&) {
        try {
            if (movedAside && !fs.exists(database))
                fs.replace(aside, database);
            if (fs.exists(incoming))
                fs.remove(incoming);
        } catch (const VbError&) {
            // The first error is the one to report.
        }
        throw;
    }
}

} // namespace

void RestoreBackup()
{
    const std::optional<QString> chosen = ChooseBackup();
    if (!chosen)
        return;
    const std::optional<BackupFacts> backup = InspectBackup(*chosen);
    if (!backup)
        return;
    const QString safety = AutoBackup::folder();
    if (!ConfirmRestore(*backup, QStringLiteral("The database %1 is first copied to the automatic "
                                                "backups in %2, then replaced by this backup.")
                                     .arg(DBPath, safety)))
        return;
    bool proceed = true;
    emit Notifier::instance().databaseToBeReplaced(proceed);
    if (!proceed)
        return;

    frmMain& frame = frmMain::instance();
    frame.setMousePointer(vbHourglass);
    const QString incoming = IncomingPath(DBPath);
    try {
        AutoBackup::write(false);
    } catch (const VbError& e) {
        frame.setMousePointer(vbDefault);
        Refuse(QStringLiteral("The database could not be backed up before the restore.") +
               QStringLiteral("\r\r") +
               CopyFailureText(e, safety + QStringLiteral("/") +
                                      AutoBackup::fileName(QDateTime::currentDateTime())));
        return;
    }
    try {
        PrepareIncoming(backup->path, incoming);
    } catch (const VbError& e) {
        frame.setMousePointer(vbDefault);
        Refuse(QStringLiteral("The backup could not be copied beside the database:") +
               QStringLiteral("\r\r") + e.description());
        return;
    }

    const QString aside = ReplacedPath(DBPath);
    CloseDatabase();
    try {
        Swap(incoming, DBPath, aside);
    } catch (const VbError& e) {
        frame.setMousePointer(vbDefault);
        ReportError(e);
        OpenDatabaseHere();
        emit Notifier::instance().databaseReopened();
        return;
    }
    if (!OpenDatabaseHere()) {
        // The restored file would not open: the old one goes back.
        try {
            backupFiles().replace(aside, DBPath);
        } catch (const VbError& e) {
            ReportError(e);
        }
        OpenDatabaseHere();
        frame.setMousePointer(vbDefault);
        emit Notifier::instance().databaseReopened();
        return;
    }
    try {
        backupFiles().remove(aside);
    } catch (const VbError&) {
        // A leftover of the replaced file harms nothing; its copy is in the
        // automatic backups.
    }
    frame.setMousePointer(vbDefault);
    // The restored file's steps are not this run's to undo.
    StartUndoRun();
    emit Notifier::instance().databaseReplaced();
}

bool CheckDatabaseAtStartUp(const QString& path, bool thorough)
{
    const bool full = thorough || QFileInfo(path).size() <= FileCheck::StartupCheckLimit;
    const FileCheck::Finding finding =
        full ? FileCheck::quickCheck(path) : FileCheck::checkHeader(path);
    if (finding.verdict != FileCheck::Verdict::Damaged)
        return false;

    const QString prompt =
        QStringLiteral("The database file %1 is damaged.").arg(path) + QStringLiteral("\r\r") +
        QStringLiteral("Zantoro will not open it, so that nothing more is lost; the file is left "
                       "as it is.") +
        QStringLiteral("\r\r") +
        QStringLiteral("Do you want to restore a backup in its place? Choose No to end Zantoro.");
    for (;;) {
        // Ended on a database that cannot be used.
        if (MsgBox(prompt, vbYesNo + vbCritical, AppTitle) != vbYes)
            End(ExitStatus::StartupFailed);
        const std::optional<QString> chosen = ChooseBackup();
        if (!chosen)
            continue;
        const std::optional<BackupFacts> backup = InspectBackup(*chosen);
        if (!backup)
            continue;
        // The damaged file is kept for whoever may rescue something from it.
        const QString aside =
            path + QStringLiteral(".damaged ") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
        if (!ConfirmRestore(
                *backup, QStringLiteral("The damaged file is renamed to %1 and kept.").arg(aside)))
            continue;
        try {
            const QString incoming = IncomingPath(path);
            PrepareIncoming(backup->path, incoming);
            Swap(incoming, path, aside);
            return true;
        } catch (const VbError& e) {
            ReportError(e);
        }
    }
}

} // namespace dbStuff
