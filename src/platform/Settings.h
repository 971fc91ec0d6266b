#pragma once

#include <QString>

// The application title: the caption of every message box and the name under
// which the program keeps its settings.
inline const QString AppTitle = QStringLiteral("Zantoro");

// The per-user settings store. A setting is text addressed by application,
// section and key; a missing (or unreadable) key yields the default. The values
// of one application live in the INI file <folder>/<app>/<app>.conf, one INI
// group per section, where <folder> is $XDG_CONFIG_HOME or ~/.config.
// A damaged file never fails a call: what cannot be read counts as missing.
QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// Writes at once (the file is flushed before the call returns), so a program
// that ends at once afterwards keeps the value.
void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value);

// A folder the program remembers under section/key of its own settings (where
// the user last saved a PDF, an export) while it still exists; otherwise the
// user's documents folder.
QString RememberedFolder(const QString& section, const QString& key);

namespace SettingsStore {
// The folder holding one sub-folder per application. Tests point it at a
// temporary folder; an empty text goes back to the default.
void setFolder(const QString& folder);
QString folder();
// The INI file of one application.
QString filePath(const QString& app);
} // namespace SettingsStore
