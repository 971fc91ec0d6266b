#include "shell/BackupCopy.h"

#include "data/Database.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace dbStuff {

namespace {

BackupFiles*& installedFiles()
{
    static BackupFiles* files = nullptr;
    return files;
}

// The program's error for a failed system call on path.
VbError fileError(int error, const QString& path)
{
    const QString detail = QString::fromLocal8Bit(std::strerror(error));
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return VbError(VbErr::DeviceFull, path, detail);
    case EACCES:
    case EPERM:
    case EROFS:
        return VbError(VbErr::PermissionDenied, path, detail);
    case ENOENT:
        return VbError(VbErr::FileNotFound, path, detail);
    case EIO:
        return VbError(VbErr::DeviceIOError, path, detail);
    default:
        return VbError(VbErr::PathFileAccess, path, detail);
    }
}

// fsync on a file or folder opened read-only.
int syncPath(const QString& path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0)
        return errno;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

QString folderOfFile(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

// A name in target's folder that no file has yet: "<target name>.<random>.part".
QString temporaryBeside(const QString& target)
{
    const QFileInfo info(target);
    QString name;
    do {
        name = info.absolutePath() + QLatin1Char('/') + info.fileName() + QLatin1Char('.') +
               QString::number(QRandomGenerator::global()->generate(), 16) +
               QStringLiteral(".part");
    } while (QFileInfo::exists(name));
    return name;
}

} // namespace

void BackupFiles::compact(const QString& source, const QString& target)
{
    Database::CompactDatabase(source, target);
}

void BackupFiles::flush(const QString& path)
{
    if (const int error = syncPath(path, 0); error != 0)
        throw fileError(error, path);
}

void BackupFiles::check(const QString& path)
{
    const QString problem = Database::QuickCheck(path);
    if (!problem.isEmpty())
        throw VbError(VbErr::UnrecognizedFormat, path, problem);
}

void BackupFiles::replace(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(from).toStdString(),
                            QFile::encodeName(to).toStdString(), error);
    if (error)
        throw fileError(error.value(), to);
    // The new name reaches the disk with its folder. Some file systems refuse
    // to flush a folder; the rename itself has happened, so that is no failure.
    syncPath(folderOfFile(to), O_DIRECTORY);
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

BackupFiles& backupFiles()
{
    static BackupFiles real;
    BackupFiles* installed = installedFiles();
    return installed ? *installed : real;
}

void CheckWritableFolder(const QString& folder)
{
    const QString path = QDir::toNativeSeparators(folder);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw VbError(VbErr::PathNotFound, path);
    // access() also knows read-only file systems and, unlike the permission
    // bits, answers for the user the program runs as.
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        throw fileError(errno == ENOENT ? EACCES : errno, path);
}

void WriteCheckedCopy(const QString& source, const QString& target)
{
    const QString folder = folderOfFile(target);
    CheckWritableFolder(folder);
    BackupFiles& fs = backupFiles();
    const QString temporary = temporaryBeside(target);
    bool written = false; // the copy is whole in the temporary file
    try {
        // A copy of a damaged file would pass for a good backup.
        fs.check(source);
        fs.compact(source, temporary);
        fs.flush(temporary);
        written = true;
        fs.check(temporary);
        fs.replace(temporary, target);
    } catch (const VbError& e) {
        try {
            if (fs.exists(temporary))
                fs.remove(temporary);
        } catch (const VbError&) {
            // The first error is the one to report.
        }
        const QString where = QDir::toNativeSeparators(folder);
        // The store reports a full disk while compacting with its own number.
        if (e.number() == VbErr::DiskFull || e.number() == VbErr::DeviceFull)
            throw VbError(VbErr::DeviceFull, where, e.detail());
        if (e.number() == VbErr::PermissionDenied || e.number() == VbErr::ReadOnly)
            throw VbError(VbErr::PermissionDenied, where, e.detail());
        // A copy written whole that reads back damaged points at the disk it
        // went to, not at the database.
        if (written && e.number() == VbErr::UnrecognizedFormat)
            throw VbError(VbErr::DeviceIOError, where, e.detail());
        throw;
    }
}

QString CopyFailureText(const VbError& error, const QString& target)
{
    const QString folder = QDir::toNativeSeparators(folderOfFile(target));
    switch (error.number()) {
    case VbErr::DeviceFull:
        return QStringLiteral("The backup folder's disk is full: %1.").arg(folder);
    case VbErr::PermissionDenied:
        return QStringLiteral("You have no permission to write in %1.").arg(folder);
    case VbErr::PathNotFound:
        return QStringLiteral("The folder %1 does not exist.").arg(folder);
    case VbErr::DeviceIOError:
        return QStringLiteral("The copy written to %1 did not read back sound; that disk may be "
                              "failing.")
            .arg(folder);
    default:
        return QStringLiteral("Error %1:  %2").arg(error.number()).arg(error.description());
    }
}

} // namespace dbStuff
