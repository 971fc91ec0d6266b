#include "shell/Locations.h"

#include <QDir>

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

QString folderOf(const QString& path)
{
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? QString() : path.left(cut + 1);
}

} // namespace dbStuff::Locations
