#pragma once

#include <QString>

// Where the program looks for its files when no setting says otherwise. On
// Windows these are the program's historical paths; elsewhere they live under
// the user's data folder <data> ($XDG_DATA_HOME, or ~/.local/share):
//   database      <data>/Zantoro/Zantoro.mdb
//   locate dialog <data>/Zantoro/
//   backups       <data>/Pendrel
namespace dbStuff::Locations {

// <data>: $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
QString dataHome();
QString defaultDatabasePath();
// The folder the locate dialog starts in, ending in its separator.
QString defaultDatabaseFolder();
// The stored-backup default: a folder, not a file.
QString defaultBackupPath();
// Where the backup dialog starts when the stored backup path is empty.
QString rootFolder();

// Makes the folders of defaultDatabaseFolder() and defaultBackupPath() (and
// <data> itself) where they are missing, so that the locate dialog and the
// first backup open there rather than in the working folder. A folder that
// cannot be made is left to the dialogs, which then start elsewhere.
void makeDefaultFolders();

// The folder holding the delivered database template (Zantoro.mdb) and its
// reports/ folder, ending in "/": <exe>/../share/zantoro/ when the program is
// installed, else the build's share/zantoro/ when it runs from its build tree.
// Empty when neither holds the template.
QString deliveredFolder();
// Makes deliveredFolder() look only in the given folder; an empty text goes
// back to the lookup above.
void setDeliveredFolder(const QString& folder);

// The folder part of a path, up to and including its last "/" or "\"; empty
// when there is neither.
QString folderOf(const QString& path);

} // namespace dbStuff::Locations
