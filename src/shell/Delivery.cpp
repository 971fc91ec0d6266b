#include "shell/Delivery.h"

#include "shell/Locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dbStuff {

namespace {

constexpr QFile::Permissions UserFile = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                        QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;

// Copies source to target through a temporary file beside target, so that a
// reader never sees half a file; target is never overwritten. The copy is the
// user's to change, whatever the installed file's permissions.
QString copyWhole(const QString& source, const QString& target)
{
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    QFile in(source);
    if (!in.copy(part))
        return QStringLiteral("%1 could not be copied to %2: %3")
            .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target),
                 in.errorString());
    QFile out(part);
    if (!out.setPermissions(UserFile) || !out.rename(target)) {
        const QString why = out.errorString();
        QFile::remove(part);
        return QStringLiteral("%1 could not be written: %2")
            .arg(QDir::toNativeSeparators(target), why);
    }
    return {};
}

} // namespace

QString InstallDeliveredDatabase(const QString& path)
{
    const QString delivered = Locations::deliveredFolder();
    if (delivered.isEmpty())
        return QStringLiteral("The database that Zantoro is delivered with was not found.");
    if (QFileInfo::exists(path))
        return QStringLiteral("%1 already exists.").arg(QDir::toNativeSeparators(path));
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("The folder %1 could not be made.")
            .arg(QDir::toNativeSeparators(folder));
    if (QString failed = copyWhole(delivered + QStringLiteral("Zantoro.mdb"), path);
        !failed.isEmpty())
        return failed;

    QStringList failures;
    const QDir reports(delivered + QStringLiteral("reports"));
    for (const QFileInfo& report : reports.entryInfoList(QDir::Files, QDir::Name)) {
        const QString target = folder + QLatin1Char('/') + report.fileName();
        if (QFileInfo::exists(target))
            continue;
        if (QString failed = copyWhole(report.filePath(), target); !failed.isEmpty())
            failures << failed;
    }
    return failures.join(QLatin1Char('\r'));
}

} // namespace dbStuff
