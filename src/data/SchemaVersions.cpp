#include "data/SchemaVersions.h"

#include "data/Connection.h"
#include "platform/VbError.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <unistd.h>

namespace SchemaVersions {

namespace {

void exec(Connection& conn, const QString& sql)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_exec(conn.db, utf8.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        conn.raise(sqlite3_extended_errcode(conn.db), sql);
}

// The tables whose rows the history records, as the file spells them.
const QStringList& recordedTables()
{
    static const QStringList tables = {QStringLiteral("Transactions"), QStringLiteral("Categories"),
                                       QStringLiteral("Businesses"), QStringLiteral("relCat_Bis")};
    return tables;
}

// An UPDATE that changes no value records nothing.
QString changedCondition(const TableInfo& table)
{
    QStringList parts;
    for (const ColumnInfo& column : table.columns)
        parts << QStringLiteral("OLD.%1 IS NOT NEW.%1 COLLATE BINARY").arg(column.name);
    return parts.join(QStringLiteral(" OR "));
}

QString recordTrigger(const TableInfo& table, const char* action, const QString& when,
                      const QString& oldValues, const QString& newValues, const QString& key)
{
    return QStringLiteral("CREATE TRIGGER History_%1_%2 AFTER %3 ON %1%4 BEGIN "
                          "INSERT INTO History (StepId, ChangedAt, TableName, RowKey, Action, "
                          "OldValues, NewValues) VALUES ((SELECT StepId FROM HistoryCurrentStep), "
                          "strftime('%Y-%m-%dT%H:%M:%fZ', 'now'), '%1', %5, '%2', %6, %7); END;\n")
        .arg(table.name, QLatin1String(action), QString::fromLatin1(action).toUpper(),
             when.isEmpty() ? QString() : QStringLiteral(" WHEN ") + when, key, oldValues,
             newValues);
}

// Version 1: the change history. One HistorySteps row per user action; one
// History row per changed row, written only by the triggers below, so no path
// of the program (nor another program writing the file) can change a row
// unrecorded. The step the triggers file rows under is the one row of
// HistoryCurrentStep, set by the program for the length of a step and Null
// otherwise (changes made outside the program have no step).
void toVersion1(Connection& conn)
{
    exec(conn, QStringLiteral(R"(
CREATE TABLE HistorySteps (
    StepId    INTEGER PRIMARY KEY AUTOINCREMENT,
    StartedAt TEXT NOT NULL,
    Caption   TEXT NOT NULL,
    UndoOf    INTEGER,
    RedoOf    INTEGER
);
CREATE TABLE History (
    HistoryId INTEGER PRIMARY KEY AUTOINCREMENT,
    StepId    INTEGER,
    ChangedAt TEXT NOT NULL,
    TableName TEXT NOT NULL,
    RowKey    INTEGER NOT NULL,
    Action    TEXT NOT NULL,
    OldValues TEXT,
    NewValues TEXT
);
CREATE INDEX History_Row ON History (TableName, RowKey);
CREATE INDEX History_Step ON History (StepId);
CREATE TABLE HistoryCurrentStep (
    One    INTEGER PRIMARY KEY CHECK (One = 1),
    StepId INTEGER
);
INSERT INTO HistoryCurrentStep (One, StepId) VALUES (1, NULL);
CREATE TRIGGER History_no_update BEFORE UPDATE ON History
BEGIN SELECT RAISE(ABORT, 'the change history cannot be changed'); END;
CREATE TRIGGER History_no_delete BEFORE DELETE ON History
BEGIN SELECT RAISE(ABORT, 'the change history cannot be changed'); END;
CREATE TRIGGER HistorySteps_no_update BEFORE UPDATE ON HistorySteps
BEGIN SELECT RAISE(ABORT, 'the change history cannot be changed'); END;
CREATE TRIGGER HistorySteps_no_delete BEFORE DELETE ON HistorySteps
BEGIN SELECT RAISE(ABORT, 'the change history cannot be changed'); END;
)"));
    QString triggers;
    for (const QString& name : recordedTables()) {
        const auto table = conn.table(name);
        if (!table) // a file without allocations has nothing of them to record
            continue;
        const QString oldRow = rowJson(*table, QStringLiteral("OLD"));
        const QString newRow = rowJson(*table, QStringLiteral("NEW"));
        triggers += recordTrigger(*table, "insert", QString(), QStringLiteral("NULL"), newRow,
                                  QStringLiteral("NEW.rowid"));
        triggers += recordTrigger(*table, "update", changedCondition(*table), oldRow, newRow,
                                  QStringLiteral("NEW.rowid"));
        triggers += recordTrigger(*table, "delete", QString(), oldRow, QStringLiteral("NULL"),
                                  QStringLiteral("OLD.rowid"));
    }
    exec(conn, triggers);
}

// The history records a table's rows through these three triggers.
void recordTable(Connection& conn, const QString& name)
{
    const auto table = conn.table(name);
    if (!table)
        return;
    const QString oldRow = rowJson(*table, QStringLiteral("OLD"));
    const QString newRow = rowJson(*table, QStringLiteral("NEW"));
    exec(conn, recordTrigger(*table, "insert", QString(), QStringLiteral("NULL"), newRow,
                             QStringLiteral("NEW.rowid")) +
                   recordTrigger(*table, "update", changedCondition(*table), oldRow, newRow,
                                 QStringLiteral("NEW.rowid")) +
                   recordTrigger(*table, "delete", QString(), oldRow, QStringLiteral("NULL"),
                                 QStringLiteral("OLD.rowid")));
}

// Version 2: the statement lines imported. The key is the bank's reference
// of the line, or a fingerprint where the format has none; a transaction
// deleted takes its lines along, so they can be imported again.
void toVersion2(Connection& conn)
{
    exec(conn, QStringLiteral(R"(
CREATE TABLE ImportedLines (
    ImportedLineId INTEGER PRIMARY KEY AUTOINCREMENT,
    BusinessId     INTEGER NOT NULL REFERENCES Businesses (BusinessId) ON DELETE CASCADE,
    LineKey        TEXT NOT NULL,
    TransactionId  INTEGER NOT NULL REFERENCES Transactions (TransactionId) ON DELETE CASCADE,
    UNIQUE (BusinessId, LineKey)
);
CREATE INDEX ImportedLines_Transaction ON ImportedLines (TransactionId);
)"));
    conn.tables.clear();
    recordTable(conn, QStringLiteral("ImportedLines"));
}

using StepFn = void (*)(Connection&);
// steps[i] takes a file from version i to version i + 1.
const StepFn Steps[] = {toVersion1, toVersion2};
static_assert(std::size(Steps) == Current);

} // namespace

QString rowJson(const TableInfo& table, const QString& row)
{
    QStringList parts;
    for (const ColumnInfo& column : table.columns) {
        const QString value = row.isEmpty() ? QLatin1Char('"') + column.name + QLatin1Char('"')
                                            : row + QLatin1Char('.') + column.name;
        // SQLite writes a REAL into JSON with 15 digits, which changes some
        // values (0.1 + 0.2); those get the 17 digits that give them back.
        parts << QStringLiteral("'%1', CASE typeof(%2) WHEN 'real' THEN json(CASE WHEN "
                                "CAST(printf('%!.15g', %2) AS REAL) = %2 THEN printf('%!.15g', "
                                "%2) ELSE printf('%!.17g', %2) END) ELSE %2 END")
                     .arg(column.name, value);
    }
    return QStringLiteral("json_object(") + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

int versionOf(Connection& conn)
{
    Stmt stmt = conn.prepare(QStringLiteral("PRAGMA user_version"));
    return conn.step(stmt.get()) ? sqlite3_column_int(stmt.get(), 0) : 0;
}

void migrate(Connection& conn, int target)
{
    const int from = versionOf(conn);
    if (from > target || target > Current)
        throw VbError(VbErr::InvalidArgument);
    for (int version = from; version < target; ++version)
        Steps[version](conn);
    exec(conn, QStringLiteral("PRAGMA user_version = %1").arg(target));
    conn.tables.clear(); // column lists read during the steps may be stale now
}

std::optional<int> versionOfFile(const QString& path)
{
    // user_version is the big-endian 32-bit number at offset 60 of the header.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray header = file.read(64);
    if (header.size() < 64 || !header.startsWith("SQLite format 3"))
        return std::nullopt;
    const auto byte = [&](int i) { return quint32(quint8(header[i])); };
    return int(byte(60) << 24 | byte(61) << 16 | byte(62) << 8 | byte(63));
}

QString backupPathFor(const QString& path, int version)
{
    const QString stem = path + QStringLiteral(".version%1").arg(version);
    QString candidate = stem + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = stem + QStringLiteral(".%1.bak").arg(n);
    return candidate;
}

void upgradeOnOpen(Connection& conn)
{
    const int version = versionOf(conn);
    if (version == Current)
        return;
    if (version > Current)
        throw VbError(VbErr::UnrecognizedFormat, conn.path,
                      QStringLiteral("schema version %1; this program reads up to %2")
                          .arg(version)
                          .arg(Current));

    // A file without the program's tables is none of its files: it is left
    // untouched, and opening its tables reports what is missing.
    for (const char* name : {"Transactions", "Categories", "Businesses"})
        if (!conn.table(QString::fromLatin1(name)))
            return;

    // The file was read once already (its tables counted), so a journal left
    // by a crash has been rolled back: the copy is of a consistent file.
    // It is on the disk before the upgrade is: a crash between the two never
    // leaves an upgraded file without its copy.
    const QString copy = backupPathFor(conn.path, version);
    QFile written(copy);
    if (!QFile::copy(conn.path, copy) || !written.open(QIODevice::ReadWrite) ||
        ::fsync(written.handle()) != 0) {
        written.close();
        QFile::remove(copy);
        throw VbError(VbErr::PathFileAccess, copy);
    }
    written.close();
    exec(conn, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        migrate(conn);
        exec(conn, QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(conn.db, "ROLLBACK", nullptr, nullptr, nullptr);
        conn.tables.clear();
        throw;
    }
}

} // namespace SchemaVersions
