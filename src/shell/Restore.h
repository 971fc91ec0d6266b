#pragma once

#include <QString>

// Putting a backup back in place of the database, from the File menu or at
// start-up when the database file is damaged. A backup is restored only after
// it passed every check (it is a database of this program, whole, and copied
// sound into the database's folder); until the swap nothing of the current
// database is changed, and a failure of the swap puts it back.
namespace dbStuff {

// File > Restore backup...: asks for a backup, shows its date and what it
// holds, and on confirmation makes an automatic backup of the open database,
// puts the backup in its place and reopens it; the open windows follow
// through Notifier::databaseReplaced. Any failure leaves the database open
// as it was.
void RestoreBackup();

// Start-up, before the file at path is opened: reads its header, and every
// page too when the file is no larger than FileCheck::StartupCheckLimit or
// when thorough is set. A damaged file gets a message naming it, then the
// choice to restore a backup in its place or to end the program (End). The
// damaged file is never written to: a restore renames it aside.
// Returns true when the file was damaged and a backup now stands at path,
// false when nothing wrong was found (or the file could not be read).
bool CheckDatabaseAtStartUp(const QString& path, bool thorough);

} // namespace dbStuff
