#pragma once

#include <QString>

#include <optional>

struct Connection;
struct TableInfo;

// The version of a file's tables, kept in PRAGMA user_version. Every change to
// the tables of a delivered file is one step here, from one version to the
// next, so a file of any earlier version can be brought up to date on open.
//   0  the tables of db/schema.sql (every file delivered before the history)
//   1  the change history: HistorySteps, History, HistoryCurrentStep and the
//      triggers that fill History and keep it append-only
//   2  ImportedLines: the bank statement lines imported, by business, each with
//      the transaction it became; recorded by the history like the rows above,
//      so undoing an import frees its lines and redoing it takes them again
namespace SchemaVersions {

inline constexpr int Current = 2;

// The version recorded in the open file.
int versionOf(Connection& conn);

// Runs the steps from the file's version up to target inside the caller's
// transaction and records target as the file's version. Raises the store's
// errors; the caller rolls back.
void migrate(Connection& conn, int target = Current);

// Brings the open file at conn up to Current. A file already there is left
// alone. An older one is first copied beside itself (see backupPathFor), then
// upgraded in one transaction: after a failure the file is as it was and the
// copy stays. A file of a newer version is refused untouched (3343, naming it).
// A file without the program's tables is left as it is.
void upgradeOnOpen(Connection& conn);

// The version recorded in the header of the SQLite file at path, read without
// opening it as a database; nullopt when no header can be read.
std::optional<int> versionOfFile(const QString& path);

// json_object('A', <row>.A, 'B', <row>.B, ...) over every column of the table,
// in the file's column order, each value exactly as stored (a REAL reads back
// as the same number). row is the triggers' OLD or NEW, or empty for a
// table's own columns. The history's triggers and undo's checks both use it,
// so what is recorded and what a row is compared with always agree.
QString rowJson(const TableInfo& table, const QString& row);

// Where the copy made before upgrading the file at path from version goes:
// "<path>.version<N>.bak", or with ".<n>" before ".bak" when that is taken.
QString backupPathFor(const QString& path, int version);

} // namespace SchemaVersions
