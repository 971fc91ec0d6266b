#include "shell/AutoBackup.h"

#include "data/Database.h"
#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "shell/BackupCopy.h"
#include "shell/dbStuff.h"
#include "shell/Locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>

namespace dbStuff::AutoBackup {

namespace {

const QString Section = QStringLiteral("AUTOBACKUP");

QString setting(const QString& key)
{
    return GetSetting(AppTitle, Section, key);
}

void store(const QString& key, const QString& value)
{
    SaveSetting(AppTitle, Section, key, value);
}

// Which file the database is, and how often it has been written: the file's
// device and inode (a backup or restore puts another file in its place) and
// the change counter in its header (bytes 24 to 27, raised by every write
// transaction). Empty when the file cannot be read.
QString fileState(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray header = file.read(28);
    if (header.size() < 28)
        return QString();
    const QString counter = QString::fromLatin1(header.mid(24, 4).toHex());
    return QStringLiteral("%1|%2:%3|%4")
        .arg(QFileInfo(path).absoluteFilePath())
        .arg(qulonglong(info.st_dev))
        .arg(qulonglong(info.st_ino))
        .arg(counter);
}

} // namespace

QString folder()
{
    // The stored backup path is the last backup's file, or a folder (the
    // default is one).
    const QString stored = GetSetting(AppTitle, QStringLiteral("FILELOCATIONS"),
                                      QStringLiteral("BACKUP"), Locations::defaultBackupPath());
    QString base = stored;
    if (stored.isEmpty())
        base = Locations::defaultBackupPath();
    else if (!QFileInfo(stored).isDir() && stored != Locations::defaultBackupPath())
        base = Locations::folderOf(stored);
    if (base.isEmpty())
        base = Locations::defaultBackupPath();
    return QDir(base).filePath(QStringLiteral("auto"));
}

QString fileName(const QDateTime& when)
{
    return QStringLiteral("Zantoro ") + when.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")) +
           QStringLiteral(".bak");
}

void rotate(const QString& folder, int keep)
{
    static const QRegularExpression ours(
        QStringLiteral("^Zantoro \\d{4}-\\d\\d-\\d\\d \\d\\d\\.\\d\\d\\.\\d\\d\\.bak$"));
    QStringList copies;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        if (ours.match(name).hasMatch())
            copies << name;
    }
    // Oldest first: the names sort by the moment in them.
    for (qsizetype i = 0; i + keep < copies.size(); ++i) {
        QFile file(QDir(folder).filePath(copies.at(i)));
        if (!file.remove())
            throw VbError(VbErr::PathFileAccess, file.fileName(), file.errorString());
    }
}

namespace {

// Writes the copy into target (made when missing); returns its path.
QString writeCopy(const QString& target)
{
    if (!DB || !DB->isOpen())
        throw VbError(VbErr::ObjectNotSet);
    if (!QDir().mkpath(target))
        throw VbError(VbErr::PathNotFound, target);
    QDateTime when = QDateTime::currentDateTime();
    QString path = QDir(target).filePath(fileName(when));
    // Two copies within one second (a restore, then a close) get apart.
    while (QFileInfo::exists(path)) {
        when = when.addSecs(1);
        path = QDir(target).filePath(fileName(when));
    }
    WriteCheckedCopy(DBPath, path);
    return path;
}

} // namespace

QString write(bool rotateAfter)
{
    const QString target = folder();
    const QString path = writeCopy(target);
    if (rotateAfter)
        rotate(target);
    return path;
}

bool isDue()
{
    const QDateTime last = QDateTime::fromString(setting(QStringLiteral("LAST")), Qt::ISODate);
    if (last.isValid() && last.date() == QDate::currentDate())
        return false;
    const QString state = fileState(DBPath);
    return state.isEmpty() || state != setting(QStringLiteral("STATE"));
}

void AtClose()
{
    if (!DB || !DB->isOpen() || !isDue())
        return;
    // The state is taken before the copy: a write during it counts as a change.
    const QString state = fileState(DBPath);
    const QString target = folder();
    QString failure;
    try {
        writeCopy(target);
        store(QStringLiteral("LAST"), QDateTime::currentDateTime().toString(Qt::ISODate));
        store(QStringLiteral("STATE"), state);
        rotate(target);
        return;
    } catch (const VbError& e) {
        // A copy of a damaged file is refused before anything is written.
        if (e.number() == VbErr::UnrecognizedFormat && e.description().contains(DBPath))
            failure = QStringLiteral("The database file %1 is damaged, so no backup was made of "
                                     "it. File > Restore backup... puts a backup in its place.")
                          .arg(QDir::toNativeSeparators(DBPath));
        else
            failure =
                CopyFailureText(e, QDir(target).filePath(fileName(QDateTime::currentDateTime())));
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    store(QStringLiteral("LASTERROR"), target + QStringLiteral(": ") + failure);
    store(QStringLiteral("LASTERRORDATE"), QDateTime::currentDateTime().toString(Qt::ISODate));
    MsgBox(QStringLiteral("The automatic backup of the database could not be made in %1:")
                   .arg(QDir::toNativeSeparators(target)) +
               QStringLiteral("\r\r") + failure + QStringLiteral("\r\r") +
               QStringLiteral("Zantoro closes all the same; the database itself is as you left "
                              "it. The next close tries again."),
           vbExclamation + vbOKOnly, AppTitle);
}

} // namespace dbStuff::AutoBackup
