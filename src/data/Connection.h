#pragma once

// Internals of the store shared by Database and Recordset; not for callers.

#include "platform/Variant.h"

#include <QHash>
#include <QString>

#include <memory>
#include <sqlite3.h>
#include <vector>

// How a column's values are read and checked, from its declared type.
enum class ColumnKind
{
    Text,
    Long,
    Double,
    Boolean,
    Date
};

struct ColumnInfo
{
    QString name;
    ColumnKind kind = ColumnKind::Text;
    int maxLength = 0; // for Text: the longest text the field takes; 0 = no limit
    bool autoNumber = false;
};

struct TableInfo
{
    QString name; // as the schema spells it
    std::vector<ColumnInfo> columns;
    std::vector<int> primaryKey;                // column indexes, in key order
    int columnIndex(const QString& name) const; // -1 when unknown
};

struct StmtDeleter
{
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtDeleter>;

class RecordsetUser
{
public:
    virtual ~RecordsetUser() = default;
    // The connection is closing: give up every statement now.
    virtual void releaseStatements() = 0;
};

// One open database file. Recordsets hold it by shared_ptr, so a recordset that
// outlives Close finds it closed (3420) instead of dangling.
struct Connection
{
    sqlite3* db = nullptr;
    int lockFd = -1;
    QString path;
    QHash<QString, std::shared_ptr<TableInfo>> tables; // by lower-case name
    std::vector<RecordsetUser*> users;
    // The history step open on this connection (see History.h): its id, and
    // how many HistoryStep scopes share it; 0 when none is open.
    qint64 stepId = 0;
    int stepDepth = 0;

    ~Connection() { close(); }
    void close();
    bool isOpen() const { return db != nullptr; }

    // Prepares SQL already in SQLite's dialect; raises the program's errors.
    Stmt prepare(const QString& sql) const;
    // Steps a statement; true for a row, false when done; raises on failure.
    bool step(sqlite3_stmt* stmt, const QString& context = QString()) const;
    // The table of that name (any case), or nullptr when there is none.
    std::shared_ptr<TableInfo> table(const QString& name);
    [[noreturn]] void raise(int rc, const QString& context = QString()) const;
};

ColumnKind kindFromDeclType(const char* declType, int* maxLength = nullptr);
void bindVariant(sqlite3_stmt* stmt, int index, const Variant& value);
Variant readColumn(sqlite3_stmt* stmt, int index, ColumnKind kind, bool kindKnown);
// The text form a date is stored in.
QString storedDate(const QDateTime& value);
// Converts a value for assignment to a column: 3163 too long, 3421 unreadable.
Variant convertForColumn(const ColumnInfo& column, const Variant& value);
