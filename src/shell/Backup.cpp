#include "platform/Format.h"
#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Screen.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/Locations.h"
#include "shell/Windows.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace dbStuff {

namespace {

const QString WorkFileName = QStringLiteral("NewPendrel.mdb");

const QString RefusedTarget =
    QStringLiteral("A backup cannot be saved as the database file itself, nor as its work file "
                   "NewPendrel.mdb.") +
    QStringLiteral("\r\r") + QStringLiteral("Please choose another name for the backup.");

const QString ChooseAnotherFolder = QStringLiteral("Please choose another folder for the backup.");

const QString WorkFileFolder = QStringLiteral(
    "A backup first writes a compacted copy of the database in the database's folder.");

const QString DamagedDatabase =
    QStringLiteral("The database file %1 is damaged (%2).") + QStringLiteral("\r\r") +
    QStringLiteral("No backup is made of a damaged file, so that it cannot take the place of a "
                   "sound backup.");

const QString NoBackupMade =
    QStringLiteral("No backup was made; the database and any earlier file of that name are as "
                   "they were.");

const QString DatabaseDiskFull = QStringLiteral("The database folder's disk is full: %1.");

const QString NotCompacted = QStringLiteral("The backup %1 was made, but the database could not "
                                            "be compacted; it is as it was.") +
                             QStringLiteral("\r\r");

// Whether two paths name the same file: the same file on disk (links
// included) when both exist, else the same absolute path.
bool SameFile(const QString& a, const QString& b)
{
    std::error_code error;
    const std::filesystem::path pa = QFileInfo(a).absoluteFilePath().toStdString();
    const std::filesystem::path pb = QFileInfo(b).absoluteFilePath().toStdString();
    if (std::filesystem::exists(pa, error) && std::filesystem::exists(pb, error))
        return std::filesystem::equivalent(pa, pb, error);
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

// The dialog starts where the last backup went: the folder of the stored file
// path, or the stored value itself when it names a folder (as the default does).
QString BackupInitDir(const QString& stored)
{
    if (stored.isEmpty())
        return Locations::rootFolder();
    if (QFileInfo(stored).isDir() || stored == Locations::defaultBackupPath())
        return stored;
    const QString folder = Locations::folderOf(stored);
    return folder.isEmpty() ? stored : folder;
}

// The steps of a backup after the database was closed.
enum class Phase
{
    Compact, // the compacted copy is written beside the database
    Copy,    // the backup is written from it
    Swap,    // the backup is made; the compacted copy takes the database's place
};

// What a failure in a phase means to the user.
QString FailureText(const VbError& e, Phase phase, const QString& backupPath,
                    const QString& workPath)
{
    switch (phase) {
    case Phase::Compact:
        if (e.number() == VbErr::DiskFull || e.number() == VbErr::DeviceFull)
            return DatabaseDiskFull.arg(
                       QDir::toNativeSeparators(QFileInfo(workPath).absolutePath())) +
                   QLatin1Char(' ') + WorkFileFolder + QStringLiteral("\r\r") + NoBackupMade;
        return CopyFailureText(e, workPath) + QStringLiteral("\r\r") + NoBackupMade;
    case Phase::Copy:
        return CopyFailureText(e, backupPath) + QStringLiteral("\r\r") + NoBackupMade;
    case Phase::Swap:
        break;
    }
    return NotCompacted.arg(QDir::toNativeSeparators(backupPath)) + CopyFailureText(e, DBPath);
}

// Refuses, with its message, what would make the backup fail after the
// database was closed or make it worthless: a folder it cannot write to (the
// backup's, or the database's for the compacted copy), and a damaged
// database, whose copy could take the place of a sound backup. Nothing is
// closed or written.
bool RefusedBeforeClosing(const QString& backupPath, const QString& workPath)
{
    try {
        CheckWritableFolder(QFileInfo(backupPath).absolutePath());
    } catch (const VbError& e) {
        MsgBox(CopyFailureText(e, backupPath) + QStringLiteral("\r\r") + ChooseAnotherFolder,
               vbExclamation + vbOKOnly, AppTitle);
        return true;
    }
    try {
        CheckWritableFolder(QFileInfo(workPath).absolutePath());
    } catch (const VbError& e) {
        MsgBox(CopyFailureText(e, workPath) + QStringLiteral("\r\r") + WorkFileFolder,
               vbExclamation + vbOKOnly, AppTitle);
        return true;
    }
    try {
        backupFiles().check(DBPath);
    } catch (const VbError& e) {
        if (e.number() == VbErr::UnrecognizedFormat)
            MsgBox(DamagedDatabase.arg(QDir::toNativeSeparators(DBPath), e.detail()),
                   vbCritical + vbOKOnly, AppTitle);
        else
            ReportError(e);
        return true;
    }
    return false;
}

// Opens DB and the table recordsets on DBPath again. A failure shows the error
// box and leaves the closed database in DB, so that later use raises errors
// rather than meeting no object at all.
void ReopenDatabase()
{
    try {
        DB = Database::OpenDatabase(DBPath);
    } catch (const VbError& e) {
        ReportError(e);
        return;
    }
    OpenTableRecordsets();
    emit Notifier::instance().databaseReopened();
}

} // namespace

void BackupDatabase()
{
    const QString stored = GetSetting(AppTitle, QStringLiteral("FILELOCATIONS"),
                                      QStringLiteral("BACKUP"), Locations::defaultBackupPath());
    frmMain& frame = frmMain::instance();
    CommonDialog& dialog = frame.CMDL1;
    dialog.Flags = cdlOFNReadOnly | cdlOFNOverwritePrompt | cdlOFNHideReadOnly |
                   cdlOFNPathMustExist | cdlOFNCreatePrompt | cdlOFNLongNames;
    dialog.DefaultExt = QStringLiteral("bak");
    dialog.FileName =
        QStringLiteral("Pendrel  ") +
        Format(Variant(QDateTime::currentDateTime()), QStringLiteral("dd-MMM-yyyy HH.mm")) +
        QStringLiteral(".bak");
    dialog.Filter = QStringLiteral("Backup files(*.bak)|*.bak");
    dialog.InitDir = BackupInitDir(stored);
    dialog.DialogTitle = QStringLiteral("Create backup");
    dialog.CancelError = true;
    try {
        dialog.ShowSave();
    } catch (const VbError& e) {
        if (e.number() != VbErr::CancelSelected)
            ReportError(e);
        return;
    }
    const QString backupPath = dialog.FileName;
    const QString workPath = DBFolder + WorkFileName;

    // Deleting or renaming over either of these would destroy the database.
    if (SameFile(backupPath, DBPath) || SameFile(backupPath, workPath)) {
        MsgBox(RefusedTarget, vbExclamation + vbOKOnly, AppTitle);
        return;
    }

    BackupFiles& fs = backupFiles();
    if (RefusedBeforeClosing(backupPath, workPath))
        return;

    frame.setMousePointer(vbHourglass);
    if (DB)
        DB->Close();
    DoEvents();

    // The working file comes out compacted: the compacted copy is made first,
    // the backup is written from it, and only then does it take the place of
    // the database file. Until that last step the database file is untouched.
    Phase phase = Phase::Compact;
    try {
        try {
            fs.compact(DBPath, workPath);
        } catch (const VbError& e) {
            if (e.number() != VbErr::DatabaseExists)
                throw;
            fs.remove(workPath);
            fs.compact(DBPath, workPath);
        }
        fs.flush(workPath);
        phase = Phase::Copy;
        WriteCheckedCopy(workPath, backupPath);
        phase = Phase::Swap;
        fs.replace(workPath, DBPath);
    } catch (const VbError& e) {
        try {
            if (fs.exists(workPath))
                fs.remove(workPath);
        } catch (const VbError&) {
            // The first error is the one to report.
        }
        frame.setMousePointer(vbDefault);
        if (phase == Phase::Swap)
            SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("BACKUP"),
                        backupPath);
        MsgBox(FailureText(e, phase, backupPath, workPath),
               (phase == Phase::Swap ? vbExclamation : vbCritical) + vbOKOnly, AppTitle);
        ReopenDatabase();
        return;
    }

    frame.setMousePointer(vbDefault);
    SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("BACKUP"), backupPath);
    ReopenDatabase();
}

} // namespace dbStuff
