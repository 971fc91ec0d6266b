#include "data/History.h"

#include "data/Connection.h"
#include "data/Database.h"
#include "data/SchemaVersions.h"
#include "platform/VbError.h"

#include <QJsonDocument>
#include <QTimeZone>

#include <exception>

namespace {

constexpr const char* Savepoint = "history_step";

void exec(Connection& conn, const char* sql)
{
    if (sqlite3_exec(conn.db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        conn.raise(sqlite3_extended_errcode(conn.db), QString::fromLatin1(sql));
}

QString text(sqlite3_stmt* stmt, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                             sqlite3_column_bytes(stmt, column));
}

QDateTime utc(const QString& iso)
{
    QDateTime at = QDateTime::fromString(iso, Qt::ISODateWithMs);
    at.setTimeZone(QTimeZone::utc());
    return at;
}

QString isoUtc(const QDateTime& at)
{
    return at.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QJsonObject jsonObject(sqlite3_stmt* stmt, int column)
{
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL)
        return {};
    return QJsonDocument::fromJson(
               QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                          sqlite3_column_bytes(stmt, column)))
        .object();
}

History::Action actionOf(const QString& name)
{
    if (name == QLatin1String("insert"))
        return History::Action::Insert;
    if (name == QLatin1String("update"))
        return History::Action::Update;
    return History::Action::Delete;
}

const char* actionName(History::Action action)
{
    switch (action) {
    case History::Action::Insert:
        return "insert";
    case History::Action::Update:
        return "update";
    case History::Action::Delete:
        break;
    }
    return "delete";
}

const QString ChangeColumns = QStringLiteral(
    "SELECT HistoryId, StepId, ChangedAt, TableName, RowKey, Action, OldValues, NewValues "
    "FROM History ");

QList<History::Change> readChanges(Connection& conn, Stmt stmt)
{
    QList<History::Change> list;
    while (conn.step(stmt.get())) {
        History::Change c;
        c.id = sqlite3_column_int64(stmt.get(), 0);
        c.stepId = sqlite3_column_int64(stmt.get(), 1); // Null reads as 0
        c.changedAt = utc(text(stmt.get(), 2));
        c.table = text(stmt.get(), 3);
        c.rowKey = sqlite3_column_int64(stmt.get(), 4);
        c.action = actionOf(text(stmt.get(), 5));
        c.oldValues = jsonObject(stmt.get(), 6);
        c.newValues = jsonObject(stmt.get(), 7);
        list.append(c);
    }
    return list;
}

const QString StepColumns =
    QStringLiteral("SELECT s.StepId, s.StartedAt, s.Caption, s.UndoOf, s.RedoOf, u.Caption "
                   "FROM HistorySteps s LEFT JOIN HistorySteps u ON u.StepId = s.UndoOf ");

QList<History::Step> readSteps(Connection& conn, Stmt stmt)
{
    QList<History::Step> list;
    while (conn.step(stmt.get())) {
        History::Step s;
        s.id = sqlite3_column_int64(stmt.get(), 0);
        s.startedAt = utc(text(stmt.get(), 1));
        s.caption = text(stmt.get(), 2);
        s.undoOf = sqlite3_column_int64(stmt.get(), 3);
        s.redoOf = sqlite3_column_int64(stmt.get(), 4);
        s.undoneCaption = text(stmt.get(), 5);
        list.append(s);
    }
    return list;
}

QString quoteName(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

// The SQL that reads, restores and compares the rows of one table by rowid,
// with every column's value taken from (or made into) the JSON of History.
struct RowSql
{
    QString current;   // ?1 rowid -> the row as json_object, no row when gone
    QString insert;    // ?1 rowid, ?2 values
    QString insertNew; // ?2 values; the auto-number gives the id
    QString update;    // ?1 rowid, ?2 values
    QString remove;    // ?1 rowid
};

RowSql rowSql(const TableInfo& table)
{
    QStringList names, values, sets, newNames, newValues;
    bool rowidAliased = false;
    for (const ColumnInfo& column : table.columns) {
        const QString name = quoteName(column.name);
        const QString value = QStringLiteral("json_extract(?2, '$.%1')").arg(column.name);
        names << name;
        values << value;
        if (!column.autoNumber) {
            newNames << name;
            newValues << value;
        }
        sets << name + QStringLiteral(" = ") + value;
        rowidAliased = rowidAliased || column.autoNumber;
    }
    if (!rowidAliased) { // relCat_Bis: the rowid is not a column of its own
        names.prepend(QStringLiteral("rowid"));
        values.prepend(QStringLiteral("?1"));
    }
    const QString t = quoteName(table.name);
    RowSql sql;
    sql.current = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1")
                      .arg(SchemaVersions::rowJson(table, QString()), t);
    sql.insert = QStringLiteral("INSERT INTO %1 (%2) SELECT %3 WHERE ?1 IS NOT NULL")
                     .arg(t, names.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
    sql.insertNew =
        QStringLiteral("INSERT INTO %1 (%2) SELECT %3")
            .arg(t, newNames.join(QStringLiteral(", ")), newValues.join(QStringLiteral(", ")));
    sql.update =
        QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?1").arg(t, sets.join(QStringLiteral(", ")));
    sql.remove = QStringLiteral("DELETE FROM %1 WHERE rowid = ?1").arg(t);
    return sql;
}

void bindText(sqlite3_stmt* stmt, int index, const QByteArray& utf8)
{
    sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

} // namespace

// ---- HistoryStep

HistoryStep::HistoryStep(Database& db, const QString& caption)
    : HistoryStep(db.m_conn, caption, Link{})
{
}

HistoryStep::HistoryStep(std::shared_ptr<Connection> conn, const QString& caption, Link link)
    : m_conn(std::move(conn)), m_exceptions(std::uncaught_exceptions())
{
    Connection& c = *m_conn;
    if (!c.isOpen())
        throw VbError(VbErr::ObjectInvalid);
    if (c.stepDepth > 0) {
        m_joined = true;
        ++c.stepDepth;
        return;
    }
    exec(c, "SAVEPOINT history_step");
    try {
        Stmt add = c.prepare(QStringLiteral(
            "INSERT INTO HistorySteps (StartedAt, Caption, UndoOf, RedoOf) VALUES "
            "(strftime('%Y-%m-%dT%H:%M:%fZ', 'now'), ?1, nullif(?2, 0), nullif(?3, 0))"));
        bindText(add.get(), 1, caption.toUtf8());
        sqlite3_bind_int64(add.get(), 2, link.undoOf);
        sqlite3_bind_int64(add.get(), 3, link.redoOf);
        c.step(add.get());
        const qint64 id = sqlite3_last_insert_rowid(c.db);
        Stmt current = c.prepare(QStringLiteral("UPDATE HistoryCurrentStep SET StepId = ?1"));
        sqlite3_bind_int64(current.get(), 1, id);
        c.step(current.get());
        c.stepId = id;
        c.stepDepth = 1;
    } catch (...) {
        sqlite3_exec(c.db, "ROLLBACK TO history_step; RELEASE history_step", nullptr, nullptr,
                     nullptr);
        throw;
    }
}

HistoryStep::~HistoryStep() noexcept(false)
{
    Connection& c = *m_conn;
    if (m_joined) {
        --c.stepDepth;
        return;
    }
    // Ending by an exception: the action failed, and none of it is stored.
    finish(std::uncaught_exceptions() <= m_exceptions);
}

qint64 HistoryStep::id() const
{
    return m_conn->stepId;
}

void HistoryStep::finish(bool keep)
{
    Connection& c = *m_conn;
    c.stepDepth = 0;
    const qint64 id = c.stepId;
    c.stepId = 0;
    if (!c.isOpen()) // closed under the step: SQLite rolled it back
        return;
    try {
        if (keep) {
            exec(c, "UPDATE HistoryCurrentStep SET StepId = NULL");
            Stmt any = c.prepare(QStringLiteral("SELECT 1 FROM History WHERE StepId = ?1"));
            sqlite3_bind_int64(any.get(), 1, id);
            keep = c.step(any.get());
        }
        if (!keep)
            exec(c, "ROLLBACK TO history_step");
        exec(c, "RELEASE history_step");
    } catch (...) {
        sqlite3_exec(c.db, "ROLLBACK TO history_step; RELEASE history_step", nullptr, nullptr,
                     nullptr);
        if (keep) // storing failed (a full disk, say): the caller must hear of it
            throw;
    }
}

// ---- History

History::History(Database& db) : m_conn(db.m_conn)
{
    if (!m_conn->isOpen())
        throw VbError(VbErr::ObjectInvalid);
}

qint64 History::lastStepId()
{
    Stmt stmt = m_conn->prepare(QStringLiteral("SELECT max(StepId) FROM HistorySteps"));
    return m_conn->step(stmt.get()) ? sqlite3_column_int64(stmt.get(), 0) : 0;
}

std::optional<History::Step> History::step(qint64 id)
{
    Stmt stmt = m_conn->prepare(StepColumns + QStringLiteral("WHERE s.StepId = ?1"));
    sqlite3_bind_int64(stmt.get(), 1, id);
    const QList<Step> found = readSteps(*m_conn, std::move(stmt));
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

QList<History::Step> History::steps(qint64 afterStepId)
{
    Stmt stmt =
        m_conn->prepare(StepColumns + QStringLiteral("WHERE s.StepId > ?1 ORDER BY s.StepId"));
    sqlite3_bind_int64(stmt.get(), 1, afterStepId);
    return readSteps(*m_conn, std::move(stmt));
}

QList<History::Change> History::stepChanges(qint64 stepId)
{
    Stmt stmt =
        m_conn->prepare(ChangeColumns + QStringLiteral("WHERE StepId = ?1 ORDER BY HistoryId"));
    sqlite3_bind_int64(stmt.get(), 1, stepId);
    return readChanges(*m_conn, std::move(stmt));
}

QList<History::Change> History::rowChanges(const QString& table, qint64 rowKey)
{
    return rangeChanges(table, rowKey, rowKey);
}

QList<History::Change> History::rangeChanges(const QString& table, qint64 fromKey, qint64 toKey)
{
    Stmt stmt = m_conn->prepare(ChangeColumns +
                                QStringLiteral("WHERE TableName = ?1 AND RowKey BETWEEN ?2 AND ?3 "
                                               "ORDER BY HistoryId"));
    bindText(stmt.get(), 1, table.toUtf8());
    sqlite3_bind_int64(stmt.get(), 2, fromKey);
    sqlite3_bind_int64(stmt.get(), 3, toKey);
    return readChanges(*m_conn, std::move(stmt));
}

QList<History::Change> History::periodChanges(const QDateTime& fromUtc, const QDateTime& toUtc,
                                              const QString& table, std::optional<Action> action)
{
    Stmt stmt = m_conn->prepare(
        ChangeColumns + QStringLiteral("WHERE ChangedAt >= ?1 AND ChangedAt < ?2 "
                                       "AND (?3 IS NULL OR TableName = ?3) "
                                       "AND (?4 IS NULL OR Action = ?4) ORDER BY HistoryId"));
    bindText(stmt.get(), 1, isoUtc(fromUtc).toUtf8());
    bindText(stmt.get(), 2, isoUtc(toUtc).toUtf8());
    if (!table.isEmpty())
        bindText(stmt.get(), 3, table.toUtf8());
    if (action)
        sqlite3_bind_text(stmt.get(), 4, actionName(*action), -1, SQLITE_STATIC);
    return readChanges(*m_conn, std::move(stmt));
}

History::UndoState History::undoState(qint64 afterStepId)
{
    UndoState state;
    for (const Step& s : steps(afterStepId)) {
        if (s.undoOf) {
            std::erase_if(state.undo, [&](const Step& u) { return u.id == s.undoOf; });
            state.redo.push_back(s);
        } else if (s.redoOf) {
            std::erase_if(state.redo, [&](const Step& r) { return r.undoOf == s.redoOf; });
            state.undo.push_back(s);
        } else {
            state.undo.push_back(s);
            state.redo.clear();
        }
    }
    return state;
}

History::Applied History::undo(qint64 stepId)
{
    const auto original = step(stepId);
    if (!original)
        throw VbError(VbErr::NoCurrentRecord);
    return reverse(stepId, QStringLiteral("undo of ") + original->caption,
                   HistoryStep::Link{stepId, 0});
}

History::Applied History::redo(qint64 undoStepId)
{
    const auto undone = step(undoStepId);
    if (!undone || !undone->undoOf)
        throw VbError(VbErr::NoCurrentRecord);
    return reverse(undoStepId, undone->undoneCaption, HistoryStep::Link{0, undone->undoOf});
}

History::Applied History::reverse(qint64 stepId, const QString& caption, HistoryStep::Link link)
{
    Connection& c = *m_conn;
    if (c.stepDepth > 0)
        throw VbError(VbErr::InvalidCall);
    // The recorded values are bound as SQLite wrote them, never re-encoded.
    struct Raw
    {
        QString table;
        qint64 rowKey;
        Action action;
        QByteArray before, after;
    };
    std::vector<Raw> changes;
    {
        Stmt read = c.prepare(
            QStringLiteral("SELECT TableName, RowKey, Action, OldValues, NewValues FROM History "
                           "WHERE StepId = ?1 ORDER BY HistoryId DESC"));
        sqlite3_bind_int64(read.get(), 1, stepId);
        const auto bytes = [&](int column) {
            return QByteArray(
                reinterpret_cast<const char*>(sqlite3_column_text(read.get(), column)),
                sqlite3_column_bytes(read.get(), column));
        };
        while (c.step(read.get()))
            changes.push_back({text(read.get(), 0), sqlite3_column_int64(read.get(), 1),
                               actionOf(text(read.get(), 2)), bytes(3), bytes(4)});
    }
    Applied applied;
    if (changes.empty())
        return applied;
    HistoryStep scope(m_conn, caption, link);
    // Rows come back parent or child first as the reversed order has them; the
    // foreign keys are checked once, when the step is stored.
    exec(c, "PRAGMA defer_foreign_keys = ON");
    for (const Raw& change : changes) {
        const auto table = c.table(change.table);
        if (!table)
            throw VbError(VbErr::TableNotFound, change.table);
        const RowSql sql = rowSql(*table);

        // The row must be as the change left it.
        Stmt current = c.prepare(sql.current);
        sqlite3_bind_int64(current.get(), 1, change.rowKey);
        const bool exists = c.step(current.get());
        if (change.action == Action::Delete) {
            if (exists)
                throw VbError(VbErr::DuplicateKey, QString(), change.table);
        } else if (!exists) {
            throw VbError(VbErr::RecordDeleted);
        } else if (QJsonDocument::fromJson(QByteArray(
                       reinterpret_cast<const char*>(sqlite3_column_text(current.get(), 0)),
                       sqlite3_column_bytes(current.get(), 0))) !=
                   QJsonDocument::fromJson(change.after)) {
            throw VbError(VbErr::DataChanged, QString(), change.table);
        }
        current.reset();

        Stmt write = c.prepare(change.action == Action::Insert   ? sql.remove
                               : change.action == Action::Update ? sql.update
                                                                 : sql.insert);
        sqlite3_bind_int64(write.get(), 1, change.rowKey);
        if (change.action != Action::Insert)
            bindText(write.get(), 2, change.before);
        c.step(write.get(), change.table);
        if (!applied.tables.contains(change.table))
            applied.tables.append(change.table);
    }
    applied.stepId = scope.id();
    return applied;
}

qint64 History::restoreDeleted(qint64 historyId, const QString& caption)
{
    Connection& c = *m_conn;
    Stmt find = c.prepare(ChangeColumns + QStringLiteral("WHERE HistoryId = ?1"));
    sqlite3_bind_int64(find.get(), 1, historyId);
    const QList<Change> found = readChanges(c, std::move(find));
    if (found.isEmpty())
        throw VbError(VbErr::NoCurrentRecord);
    const Change& change = found.first();
    if (change.action != Action::Delete)
        throw VbError(VbErr::InvalidArgument);
    const auto table = c.table(change.table);
    if (!table)
        throw VbError(VbErr::TableNotFound, change.table);
    const RowSql sql = rowSql(*table);
    Stmt raw = c.prepare(QStringLiteral("SELECT OldValues FROM History WHERE HistoryId = ?1"));
    sqlite3_bind_int64(raw.get(), 1, historyId);
    c.step(raw.get());
    const QByteArray values(reinterpret_cast<const char*>(sqlite3_column_text(raw.get(), 0)),
                            sqlite3_column_bytes(raw.get(), 0));
    raw.reset();

    HistoryStep step(m_conn, caption, HistoryStep::Link{});
    Stmt taken = c.prepare(sql.current);
    sqlite3_bind_int64(taken.get(), 1, change.rowKey);
    const bool idTaken = c.step(taken.get());
    taken.reset();
    Stmt insert = c.prepare(idTaken ? sql.insertNew : sql.insert);
    if (!idTaken)
        sqlite3_bind_int64(insert.get(), 1, change.rowKey);
    bindText(insert.get(), 2, values);
    c.step(insert.get(), change.table);
    return idTaken ? sqlite3_last_insert_rowid(c.db) : change.rowKey;
}
