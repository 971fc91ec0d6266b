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

BackupFiles*& installedFiles()
{
    static BackupFiles* files = nullptr;
    return files;
}

BackupFiles& files()
{
    static BackupFiles real;
    BackupFiles* installed = installedFiles();
    return installed ? *installed : real;
}

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

void BackupFiles::compact(const QString& source, const QString& target)
{
    Database::CompactDatabase(source, target);
}

bool BackupFiles::exists(const QString& path)
{
    return QFileInfo::exists(path);
}

void BackupFiles::remove(const QString& path)
{
    if (!QFileInfo::exists(path))
        throw VbError(VbErr::FileNotFound, path);
    QFile file(path);
    if (!file.remove())
        throw VbError(VbErr::PathFileAccess, path, file.errorString());
}

void BackupFiles::rename(const QString& from, const QString& to)
{
    if (!QFileInfo::exists(from))
        throw VbError(VbErr::FileNotFound, from);
    if (QFileInfo::exists(to))
        throw VbError(VbErr::FileAlreadyExists, to);
    // QFile::rename copies and removes where a plain rename cannot cross file
    // systems (a backup on a removable drive).
    QFile file(from);
    if (!file.rename(to))
        throw VbError(VbErr::PathFileAccess, from, file.errorString());
}

void setBackupFiles(BackupFiles* replacement)
{
    installedFiles() = replacement;
}

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

    frame.setMousePointer(vbHourglass);
    if (DB)
        DB->Close();
    DoEvents();

    BackupFiles& fs = files();
    bool moved = false; // the database file now lies at the backup path
    try {
        try {
            fs.compact(DBPath, workPath);
        } catch (const VbError& e) {
            if (e.number() != VbErr::DatabaseExists)
                throw;
            fs.remove(workPath);
            fs.compact(DBPath, workPath);
        }
        if (fs.exists(backupPath))
            fs.remove(backupPath);
        fs.rename(DBPath, backupPath);
        moved = true;
        fs.rename(workPath, DBPath);
    } catch (const VbError& e) {
        // Put the original file back where it was and drop the half-made copy;
        // the stored backup path stays as it was.
        try {
            if (moved && !fs.exists(DBPath))
                fs.rename(backupPath, DBPath);
            if (fs.exists(workPath))
                fs.remove(workPath);
        } catch (const VbError&) {
            // The first error is the one to report; the database is reopened
            // below from wherever it now is at DBPath.
        }
        frame.setMousePointer(vbDefault);
        ReportError(e);
        ReopenDatabase();
        return;
    }

    frame.setMousePointer(vbDefault);
    SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("BACKUP"), backupPath);
    ReopenDatabase();
}

} // namespace dbStuff
