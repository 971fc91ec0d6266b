#pragma once

#include "platform/Variant.h"

#include <QString>

#include <memory>

class Recordset;
struct Connection;

// How OpenRecordset opens its source.
enum class RecordsetType
{
    Default,     // a table name gives a table recordset, anything else forward-only
    Table,       // opened by table name: Index, Seek, live rows, edits
    ForwardOnly, // opened from SQL (or a stored query): read once, first to last
};

// A stored query as CreateQueryDef left it.
struct QueryDef
{
    QString name;
    QString sql; // the text as the program wrote it, before translation
};

// The open database file. All failures are VbError with the program's numbers:
// 3024 missing file, 3045 unusable file (not a database, read-only, held by
// another running copy), 3012 query exists, 3204 compact target exists, ...
// Single-threaded: one instance is used from the user-interface thread only.
class Database final
{
public:
    // Opens an existing file read-write; never creates one. The file stays
    // locked against other running copies until Close (or the process ends).
    // A file of an earlier schema version is upgraded first (a copy of it is
    // left beside it); one of a later version is refused untouched (3343).
    static std::unique_ptr<Database> OpenDatabase(const QString& path);
    // Compacts src into a new file dst (which must not exist: 3204). src must
    // not be open. On failure dst does not exist afterwards.
    static void CompactDatabase(const QString& src, const QString& dst);
    // SQLite's quick_check of the file at path, read through a connection of
    // its own (no lock of this program taken, nothing written): empty when the
    // file is sound, else the first problem found, such as a damaged page, "file
    // is not a database" or "the file holds no tables". 3024 when no file is
    // at path.
    static QString QuickCheck(const QString& path);

    // How long, in milliseconds, a statement waits for a lock another process
    // holds on the file before it fails with 3218.
    static constexpr int BusyTimeoutMs = 3000;

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QString path() const;
    bool isOpen() const;
    // QuickCheck on this open file, through this connection.
    QString quickCheck() const;

    // A table name opens a table recordset; SQL or a stored query's name opens a
    // forward-only one. SQL is accepted in the program's dialect (#date#
    // literals, Last(), True/False, [names]).
    std::unique_ptr<Recordset> OpenRecordset(const QString& source,
                                             RecordsetType type = RecordsetType::Default);

    // Stores a query at once; 3012 when a query or table of that name exists.
    QueryDef CreateQueryDef(const QString& name, const QString& sql);
    // Removes a stored query; 3265 when there is none of that name.
    void DeleteQueryDef(const QString& name);
    // The stored query of that name; 3265 when there is none.
    QueryDef queryDef(const QString& name) const;
    bool hasQueryDef(const QString& name) const;
    // What the file holds under that name: "table", "view" (a stored query),
    // "index" or "trigger"; "" when nothing.
    QString objectType(const QString& name) const;

    // Runs one action statement (INSERT, UPDATE, DELETE) in the program's
    // dialect; returns the number of rows it changed.
    long Execute(const QString& sql);

    // Closes the file and releases its lock; recordsets opened from it are
    // invalid afterwards (3420 on use).
    void Close();

private:
    friend class History;
    friend class HistoryStep;
    explicit Database(std::shared_ptr<Connection> connection);
    std::shared_ptr<Connection> m_conn;
};
