#include "shell/Locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace dbStuff::Locations {

QString dataHome()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

#ifdef Q_OS_WIN
QString defaultDatabasePath()
{
    return QStringLiteral("C:\\Program Files\\Zantoro\\Zantoro.mdb");
}

QString defaultDatabaseFolder()
{
    return QStringLiteral("C:\\Program Files\\Zantoro\\");
}

QString defaultBackupPath()
{
    return QStringLiteral("C:\\Program files\\Pendrel");
}

QString rootFolder()
{
    return QStringLiteral("c:\\");
}
#else
QString defaultDatabasePath()
{
    return defaultDatabaseFolder() + QStringLiteral("Zantoro.mdb");
}

QString defaultDatabaseFolder()
{
    return dataHome() + QStringLiteral("/Zantoro/");
}

QString defaultBackupPath()
{
    return dataHome() + QStringLiteral("/Pendrel");
}

QString rootFolder()
{
    return QStringLiteral("/");
}
#endif

void makeDefaultFolders()
{
    QDir().mkpath(defaultDatabaseFolder());
    QDir().mkpath(defaultBackupPath());
}

namespace {
QString deliveredOverride;

bool holdsTemplate(const QString& folder)
{
    return QFileInfo(folder + QStringLiteral("Zantoro.mdb")).isFile();
}
} // namespace

QString deliveredFolder()
{
    QStringList candidates;
    if (!deliveredOverride.isEmpty()) {
        candidates << deliveredOverride;
    } else {
        candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/zantoro");
#ifdef ZANTORO_BUILD_SHARE
        candidates << QStringLiteral(ZANTORO_BUILD_SHARE);
#endif
    }
    for (const QString& candidate : candidates) {
        const QString folder = QDir::cleanPath(candidate) + QLatin1Char('/');
        if (holdsTemplate(folder))
            return folder;
    }
    return {};
}

void setDeliveredFolder(const QString& folder)
{
    deliveredOverride = folder;
}

QString folderOf(const QString& path)
{
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? QString() : path.left(cut + 1);
}

} // namespace dbStuff::Locations
