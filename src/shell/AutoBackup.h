#pragma once

#include <QDateTime>
#include <QString>

// Backups the program makes without asking: when it closes normally, and
// before a restore replaces the database. Each is a compacted, checked copy of
// the open database in <backup folder>/auto/, named by the moment it was made;
// the newest ten are kept.
//
// The settings keep, in the section AUTOBACKUP: LAST (when the last copy at
// close was made, ISO date and time), STATE (which file, and its change
// counter, that copy was of), LASTERROR and LASTERRORDATE (the last failure).
namespace dbStuff::AutoBackup {

// How many automatic copies are kept.
inline constexpr int Kept = 10;

// <backup folder>/auto/: the folder of the last backup the user made, else the
// default backup folder.
QString folder();
// "Zantoro 2026-12-06 15.07.12.bak": sorting the names sorts the copies by age.
QString fileName(const QDateTime& when);
// Removes all but the newest `keep` automatic copies in the folder; files
// whose names are not of fileName's form are left alone. Raises VbError when
// one cannot be removed.
void rotate(const QString& folder, int keep = Kept);

// Writes a copy of the open database into folder(); returns its path. Raises
// VbError; on a failure no partial copy is left. With rotateAfter, older
// copies beyond the newest Kept are removed; a restore leaves them, since the
// backup being restored may be one of them.
QString write(bool rotateAfter = true);

// Whether closing now makes a copy: none was made at close today, and the
// database file changed (or is another file) since the last one.
bool isDue();

// Runs when the program closes normally (the frame has closed): writes the
// copy when it is due. A failure is shown in one message and noted in the
// settings; it never raises, so closing always goes on.
void AtClose();

} // namespace dbStuff::AutoBackup
