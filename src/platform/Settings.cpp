#include "platform/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace {

QString& folderOverride()
{
    static QString folder;
    return folder;
}

QString defaultFolder()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    // Only an absolute path counts, as the XDG rules say; anything else is ignored.
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.config");
}

QString settingsKey(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

QString RememberedFolder(const QString& section, const QString& key)
{
    const QString last = GetSetting(AppTitle, section, key);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

namespace SettingsStore {

void setFolder(const QString& folder)
{
    folderOverride() = folder;
}

QString folder()
{
    return folderOverride().isEmpty() ? defaultFolder() : folderOverride();
}

QString filePath(const QString& app)
{
    return folder() + QLatin1Char('/') + app + QLatin1Char('/') + app + QStringLiteral(".conf");
}

} // namespace SettingsStore

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    const QSettings store(SettingsStore::filePath(app), QSettings::IniFormat);
    const QVariant value = store.value(settingsKey(section, key));
    if (!value.isValid())
        return defaultValue;
    // An INI line with unquoted commas reads back as a list: the text the user
    // wrote is those parts joined again.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (!value.canConvert<QString>())
        return defaultValue;
    return value.toString();
}

void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value)
{
    QSettings store(SettingsStore::filePath(app), QSettings::IniFormat);
    store.setValue(settingsKey(section, key), value);
    store.sync();
}
