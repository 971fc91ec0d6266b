#pragma once

#include <QString>

class VbError;

// Checked copies of the database file, for backups and restores. Everything
// here runs on the user-interface thread.
namespace dbStuff {

// The file operations of backups and restores, in one place so that a test can
// make a chosen step fail. Failures are VbError: 53 missing file, 58 target
// exists, 61 disk full, 70 no permission, 57 or 75 any other failure of the
// file system, 3343 a copy that fails its check, and the store's numbers for
// compact.
class BackupFiles
{
public:
    virtual ~BackupFiles() = default;
    // Compacts the database file source into a new file target; 3204 when
    // target exists. source may be open in this program.
    virtual void compact(const QString& source, const QString& target);
    // Forces the file's contents onto the disk.
    virtual void flush(const QString& path);
    // SQLite's quick_check on the file; 3343 naming the file when it fails.
    virtual void check(const QString& path);
    // Renames from over to in one step (to may exist and is then replaced);
    // both lie in one folder.
    virtual void replace(const QString& from, const QString& to);
    virtual bool exists(const QString& path);
    virtual void remove(const QString& path);
    // Moves a file, across file systems too; the target must not exist.
    virtual void rename(const QString& from, const QString& to);
};
// Installs the operations backups and restores use (not owned); nullptr
// restores the real ones.
void setBackupFiles(BackupFiles* files);
// The operations installed now.
BackupFiles& backupFiles();

// Throws unless a new file can be made in folder: 76 (item: the folder) when
// it does not exist or is no folder, 70 when it cannot be written to.
void CheckWritableFolder(const QString& folder);

// Writes a checked copy of the database file source to target. source must
// pass quick_check first (3343 naming it when it does not). The copy is
// compacted into a temporary file in target's folder, flushed to the disk,
// passed through quick_check and only then renamed over target, so target is
// either the file it was before or the whole new copy. source may be open in
// this program (it is read through a connection of its own, as one
// consistent snapshot) and is never written.
//
// On failure nothing of the copy is left and a file already at target is
// untouched; the VbError names what happened: 76 the folder is missing, 70 no
// permission to write in it, 61 its disk is full, 57 the copy did not read back
// sound (item: the folder), 3343 source is damaged, others as the file system
// or the store gave them.
// CopyFailureText turns it into a sentence for the user.
void WriteCheckedCopy(const QString& source, const QString& target);

// What a failure of WriteCheckedCopy to target means, in a sentence for the
// user: "The backup folder's disk is full: <folder>.", "You have no permission
// to write in <folder>.", ...; for any other error its number and text.
QString CopyFailureText(const VbError& error, const QString& target);

} // namespace dbStuff
