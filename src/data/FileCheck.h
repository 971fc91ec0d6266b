#pragma once

#include <QString>

#include <optional>

// Looks at a database file from outside, before (or instead of) opening it for
// the program: whether it is a database at all, whether it is whole, and what
// it holds. Every function opens the file read-only on a connection of its own
// and leaves it exactly as it was, so a damaged file is never written to.
namespace FileCheck {

enum class Verdict
{
    Sound,        // nothing wrong was found
    NotADatabase, // no database header: some other kind of file, or empty
    Damaged,      // a database header, but pages are missing or broken
    Unreadable,   // could not be looked at (no permission, held busy): not known
};

struct Finding
{
    Verdict verdict = Verdict::Sound;
    QString detail; // what was found, in the engine's words; empty when sound
};

// The first page's header only: the database magic, and a file at least as
// long as the header says it is (a cut-off copy). Reads 100 bytes, whatever
// the size of the file.
Finding checkHeader(const QString& path);

// The header, then PRAGMA quick_check over every page and index. Costs about
// 1.4 ms a megabyte when the file is in the system's cache, and 10 ms a
// megabyte when it must first be read from the disk (bench_file_checks).
Finding quickCheck(const QString& path);

// What a file of the program's own holds.
struct Contents
{
    qint64 businesses = 0;
    qint64 transactions = 0;
};

// The counts when the file holds the program's five tables with all their
// fields; nullopt when it does not (another program's database, or none).
std::optional<Contents> ledgerContents(const QString& path);

// The size up to which start-up runs quickCheck on the database, in bytes:
// 24 MB (about 190,000 transactions) are checked in 0.26 s when read from
// this project's development disk, 0.04 s from the cache. Larger files get
// checkHeader at start-up, and quickCheck before every backup.
inline constexpr qint64 StartupCheckLimit = qint64(24) * 1024 * 1024;

} // namespace FileCheck
