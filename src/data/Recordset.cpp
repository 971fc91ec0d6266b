#include "data/Recordset.h"

#include "data/Connection.h"
#include "platform/VbError.h"

#include <QHash>

#include <algorithm>
#include <cstring>

namespace {

QString quoteName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray bookmarkOf(qint64 rowid)
{
    QByteArray bytes(sizeof rowid, Qt::Uninitialized);
    std::memcpy(bytes.data(), &rowid, sizeof rowid);
    return bytes;
}

} // namespace

struct Recordset::Impl final : RecordsetUser
{
    std::shared_ptr<Connection> conn;
    bool released = false;

    // Forward-only: the statement stands on the current row.
    Stmt query;
    QString sql;
    std::vector<QString> names;
    std::vector<ColumnKind> kinds;
    std::vector<bool> kindKnown;
    std::vector<std::pair<QString, int>> indexByName; // names as callers spelled them
    bool eof = true;
    long reached = 0;

    // Table: the current row is a rowid, its values read from the file on use.
    std::shared_ptr<TableInfo> table;
    QString indexName;
    std::vector<int> indexColumns; // empty: rowid order
    bool hasCurrent = false;
    bool currentDeleted = false;
    qint64 current = 0;
    bool noMatch = false;
    std::vector<Variant> row;
    sqlite3_int64 rowVersion = -1;
    Stmt selectRow;

    EditMode mode = EditMode::None;
    std::vector<std::pair<int, Variant>> pending; // column index, value; in assignment order
    qint64 editRowid = 0;
    bool hasLastModified = false;
    qint64 lastModified = 0;

    explicit Impl(std::shared_ptr<Connection> c) : conn(std::move(c))
    {
        conn->users.push_back(this);
    }
    ~Impl() override
    {
        auto& users = conn->users;
        users.erase(std::remove(users.begin(), users.end(), this), users.end());
    }
    void releaseStatements() override
    {
        query.reset();
        selectRow.reset();
        released = true;
    }
    void requireOpen() const
    {
        if (released || !conn->isOpen())
            throw VbError(VbErr::ObjectInvalid);
    }

    QString orderBy() const
    {
        if (indexColumns.empty())
            return QStringLiteral("rowid");
        QStringList parts;
        for (int c : indexColumns)
            parts << quoteName(table->columns[c].name);
        return parts.join(QLatin1String(", "));
    }

    // Positions on the first row in index order after the current one (or the
    // very first when from is false).
    void moveInIndex(bool fromCurrent)
    {
        QString sqlText = QStringLiteral("SELECT rowid FROM %1").arg(quoteName(table->name));
        if (fromCurrent)
            sqlText += QStringLiteral(" WHERE (%1) > (SELECT %1 FROM %2 WHERE rowid = ?1)")
                           .arg(orderBy(), quoteName(table->name));
        sqlText += QStringLiteral(" ORDER BY %1 LIMIT 1").arg(orderBy());
        Stmt stmt = conn->prepare(sqlText);
        if (fromCurrent)
            sqlite3_bind_int64(stmt.get(), 1, current);
        const bool found = conn->step(stmt.get());
        setCurrent(found, found ? sqlite3_column_int64(stmt.get(), 0) : 0);
        eof = !hasCurrent;
    }

    void setCurrent(bool found, qint64 rowid)
    {
        hasCurrent = found;
        currentDeleted = false;
        current = found ? rowid : 0;
        rowVersion = -1;
    }

    // Makes row hold the current record's values as the file has them now.
    void loadRow()
    {
        requireOpen();
        if (!hasCurrent)
            throw VbError(VbErr::NoCurrentRecord);
        if (currentDeleted)
            throw VbError(VbErr::RecordDeleted);
        const sqlite3_int64 version = sqlite3_total_changes64(conn->db);
        if (version == rowVersion)
            return;
        if (!selectRow) {
            QStringList columns;
            for (const ColumnInfo& c : table->columns)
                columns << quoteName(c.name);
            selectRow =
                conn->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1")
                                  .arg(columns.join(QLatin1String(", ")), quoteName(table->name)));
        }
        sqlite3_reset(selectRow.get());
        sqlite3_bind_int64(selectRow.get(), 1, current);
        if (!conn->step(selectRow.get())) {
            currentDeleted = true;
            throw VbError(VbErr::RecordDeleted);
        }
        row.clear();
        for (int i = 0; i < int(table->columns.size()); ++i)
            row.push_back(readColumn(selectRow.get(), i, table->columns[i].kind, true));
        sqlite3_reset(selectRow.get());
        rowVersion = version;
    }

    void stepQuery()
    {
        if (conn->step(query.get(), sql)) {
            eof = false;
            ++reached;
        } else {
            eof = true;
            sqlite3_reset(query.get()); // ends the read, so later writes and drops are not blocked
        }
    }
};

Recordset::Recordset(Kind kind, std::unique_ptr<Impl> impl) : m_kind(kind), m_impl(std::move(impl))
{
}

Recordset::~Recordset() = default;

std::unique_ptr<Recordset> Recordset::openTable(std::shared_ptr<Connection> conn,
                                                std::shared_ptr<TableInfo> table)
{
    auto impl = std::make_unique<Impl>(std::move(conn));
    impl->table = std::move(table);
    impl->moveInIndex(false);
    return std::unique_ptr<Recordset>(new Recordset(Kind::Table, std::move(impl)));
}

std::unique_ptr<Recordset> Recordset::openQuery(std::shared_ptr<Connection> conn,
                                                const QString& sql)
{
    auto impl = std::make_unique<Impl>(std::move(conn));
    impl->sql = sql;
    impl->query = impl->conn->prepare(sql);
    sqlite3_stmt* stmt = impl->query.get();
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        impl->names.push_back(QString::fromUtf8(sqlite3_column_name(stmt, i)));
        const char* decl = sqlite3_column_decltype(stmt, i);
        impl->kinds.push_back(kindFromDeclType(decl));
        impl->kindKnown.push_back(decl != nullptr);
    }
    impl->stepQuery();
    return std::unique_ptr<Recordset>(new Recordset(Kind::ForwardOnly, std::move(impl)));
}

bool Recordset::EOF_() const
{
    return m_impl->eof;
}

bool Recordset::BOF() const
{
    return m_impl->eof && RecordCount() == 0;
}

long Recordset::RecordCount() const
{
    m_impl->requireOpen();
    if (m_kind == Kind::ForwardOnly)
        return m_impl->reached;
    Stmt count = m_impl->conn->prepare(QStringLiteral("SELECT count(*) FROM ") +
                                       quoteName(m_impl->table->name));
    m_impl->conn->step(count.get());
    return long(sqlite3_column_int64(count.get(), 0));
}

void Recordset::MoveFirst()
{
    m_impl->requireOpen();
    if (m_kind == Kind::ForwardOnly) {
        sqlite3_reset(m_impl->query.get());
        m_impl->reached = 0;
        m_impl->stepQuery();
        return;
    }
    m_impl->moveInIndex(false);
}

void Recordset::MoveNext()
{
    m_impl->requireOpen();
    if (m_impl->eof)
        throw VbError(VbErr::NoCurrentRecord);
    if (m_kind == Kind::ForwardOnly) {
        m_impl->stepQuery();
        return;
    }
    if (!m_impl->hasCurrent)
        throw VbError(VbErr::NoCurrentRecord);
    m_impl->moveInIndex(true);
}

int Recordset::fieldIndex(const QString& name) const
{
    if (m_kind == Kind::Table) {
        const int index = m_impl->table->columnIndex(name);
        if (index < 0)
            throw VbError(VbErr::ItemNotFound, name);
        return index;
    }
    // Loops read the same few names on every row: remember how each was spelled.
    for (const auto& [spelling, index] : m_impl->indexByName)
        if (spelling.size() == name.size() && spelling == name)
            return index;
    for (int i = 0; i < int(m_impl->names.size()); ++i)
        if (m_impl->names[i].compare(name, Qt::CaseInsensitive) == 0) {
            m_impl->indexByName.emplace_back(name, i);
            return i;
        }
    // A qualified name ("Transactions.Cash") is looked up by its field part.
    if (const qsizetype dot = name.lastIndexOf(QLatin1Char('.')); dot >= 0)
        return fieldIndex(name.mid(dot + 1));
    throw VbError(VbErr::ItemNotFound, name);
}

Variant Recordset::field(int index) const
{
    Impl& d = *m_impl;
    d.requireOpen();
    if (m_kind == Kind::ForwardOnly) {
        if (d.eof)
            throw VbError(VbErr::NoCurrentRecord);
        if (index < 0 || index >= int(d.names.size()))
            throw VbError(VbErr::ItemNotFound);
        return readColumn(d.query.get(), index, d.kinds[index], d.kindKnown[index]);
    }
    if (d.mode != EditMode::None) {
        for (const auto& [column, value] : d.pending)
            if (column == index)
                return value;
        if (d.mode == EditMode::AddNew)
            return Variant::null();
    }
    d.loadRow();
    if (index < 0 || index >= int(d.row.size()))
        throw VbError(VbErr::ItemNotFound);
    return d.row[index];
}

Variant Recordset::field(const QString& name) const
{
    return field(fieldIndex(name));
}

QStringList Recordset::fieldNames() const
{
    QStringList names;
    if (m_kind == Kind::ForwardOnly) {
        for (const QString& n : m_impl->names)
            names << n;
    } else {
        for (const ColumnInfo& c : m_impl->table->columns)
            names << c.name;
    }
    return names;
}

void Recordset::setIndex(const QString& indexName)
{
    if (m_kind != Kind::Table)
        throw VbError(VbErr::NotSupported);
    m_impl->requireOpen();
    if (indexName.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) != 0 ||
        m_impl->table->primaryKey.empty())
        throw VbError(VbErr::ItemNotFound, indexName);
    m_impl->indexName = indexName;
    m_impl->indexColumns = m_impl->table->primaryKey;
    m_impl->moveInIndex(false);
}

QString Recordset::index() const
{
    return m_impl->indexName;
}

void Recordset::Seek(const QString& comparison, const Variant& key1, const Variant& key2)
{
    Impl& d = *m_impl;
    if (m_kind != Kind::Table)
        throw VbError(VbErr::NotSupported);
    d.requireOpen();
    if (d.indexColumns.empty())
        throw VbError(VbErr::NoCurrentIndex);
    if (comparison.trimmed() != QLatin1String("="))
        throw VbError(VbErr::NotSupported);
    const std::vector<Variant> keys = {key1, key2};
    QStringList where;
    for (size_t i = 0; i < d.indexColumns.size(); ++i)
        where << quoteName(d.table->columns[d.indexColumns[i]].name) +
                     QStringLiteral(" = ?%1").arg(i + 1);
    Stmt seek =
        d.conn->prepare(QStringLiteral("SELECT rowid FROM %1 WHERE %2 LIMIT 1")
                            .arg(quoteName(d.table->name), where.join(QLatin1String(" AND "))));
    for (size_t i = 0; i < d.indexColumns.size(); ++i) {
        const Variant& key = i < keys.size() ? keys[i] : Variant();
        const ColumnInfo& column = d.table->columns[d.indexColumns[i]];
        Variant bound = key;
        if (column.kind == ColumnKind::Long && !key.isNull() && !key.isEmpty()) {
            try {
                bound = Variant(key.toLong());
            } catch (const VbError&) {
                throw VbError(VbErr::CriteriaTypeMismatch);
            }
        }
        bindVariant(seek.get(), int(i) + 1, bound);
    }
    const bool found = d.conn->step(seek.get());
    d.setCurrent(found, found ? sqlite3_column_int64(seek.get(), 0) : 0);
    d.noMatch = !found;
    d.eof = false;
}

bool Recordset::NoMatch() const
{
    return m_impl->noMatch;
}

void Recordset::AddNew()
{
    if (m_kind != Kind::Table)
        throw VbError(VbErr::ReadOnly);
    m_impl->requireOpen();
    m_impl->mode = EditMode::AddNew;
    m_impl->pending.clear();
}

void Recordset::Edit()
{
    if (m_kind != Kind::Table)
        throw VbError(VbErr::ReadOnly);
    m_impl->mode = EditMode::None;
    m_impl->loadRow(); // 3021 without a current record, 3167 when it was deleted
    m_impl->mode = EditMode::Edit;
    m_impl->editRowid = m_impl->current;
    m_impl->pending.clear();
}

void Recordset::setField(const QString& name, const Variant& value)
{
    Impl& d = *m_impl;
    if (m_kind != Kind::Table)
        throw VbError(VbErr::ReadOnly);
    if (d.mode == EditMode::None)
        throw VbError(VbErr::UpdateWithoutEdit);
    const int index = fieldIndex(name);
    const Variant converted = convertForColumn(d.table->columns[index], value);
    for (auto& [column, pendingValue] : d.pending)
        if (column == index) {
            pendingValue = converted;
            return;
        }
    d.pending.emplace_back(index, converted);
}

void Recordset::Update()
{
    Impl& d = *m_impl;
    d.requireOpen();
    if (d.mode == EditMode::None)
        throw VbError(VbErr::UpdateWithoutEdit);
    const QString table = quoteName(d.table->name);
    QStringList columns;
    for (const auto& [column, value] : d.pending)
        columns << quoteName(d.table->columns[column].name);

    Stmt write;
    if (d.mode == EditMode::AddNew) {
        if (columns.isEmpty()) {
            write = d.conn->prepare(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table));
        } else {
            QStringList params;
            for (int i = 1; i <= columns.size(); ++i)
                params << QStringLiteral("?%1").arg(i);
            write = d.conn->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                        .arg(table, columns.join(QLatin1String(", ")),
                                             params.join(QLatin1String(", "))));
        }
    } else {
        if (columns.isEmpty()) { // nothing assigned: nothing to write
            d.mode = EditMode::None;
            d.hasLastModified = true;
            d.lastModified = d.editRowid;
            return;
        }
        QStringList sets;
        for (int i = 0; i < columns.size(); ++i)
            sets << columns[i] + QStringLiteral(" = ?%1").arg(i + 1);
        write = d.conn->prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                                    .arg(table, sets.join(QLatin1String(", ")))
                                    .arg(columns.size() + 1));
        sqlite3_bind_int64(write.get(), columns.size() + 1, d.editRowid);
    }
    for (int i = 0; i < int(d.pending.size()); ++i)
        bindVariant(write.get(), i + 1, d.pending[i].second);
    d.conn->step(write.get());

    if (d.mode == EditMode::AddNew) {
        d.lastModified = sqlite3_last_insert_rowid(d.conn->db);
    } else {
        if (sqlite3_changes(d.conn->db) == 0) {
            d.currentDeleted = true;
            throw VbError(VbErr::RecordDeleted);
        }
        d.lastModified = d.editRowid;
    }
    d.hasLastModified = true;
    d.mode = EditMode::None;
    d.pending.clear();
    d.rowVersion = -1;
}

void Recordset::CancelUpdate()
{
    m_impl->mode = EditMode::None;
    m_impl->pending.clear();
}

Recordset::EditMode Recordset::editMode() const
{
    return m_impl->mode;
}

void Recordset::Delete()
{
    Impl& d = *m_impl;
    if (m_kind != Kind::Table)
        throw VbError(VbErr::ReadOnly);
    d.requireOpen();
    if (!d.hasCurrent)
        throw VbError(VbErr::NoCurrentRecord);
    if (d.currentDeleted)
        throw VbError(VbErr::RecordDeleted);
    Stmt del = d.conn->prepare(
        QStringLiteral("DELETE FROM %1 WHERE rowid = ?1").arg(quoteName(d.table->name)));
    sqlite3_bind_int64(del.get(), 1, d.current);
    d.conn->step(del.get());
    const bool removed = sqlite3_changes(d.conn->db) > 0;
    d.currentDeleted = true;
    d.mode = EditMode::None;
    d.pending.clear();
    if (!removed)
        throw VbError(VbErr::RecordDeleted);
}

QByteArray Recordset::LastModified() const
{
    if (!m_impl->hasLastModified)
        throw VbError(VbErr::NoCurrentRecord);
    return bookmarkOf(m_impl->lastModified);
}

QByteArray Recordset::Bookmark() const
{
    if (m_kind != Kind::Table)
        throw VbError(VbErr::NotSupported);
    if (!m_impl->hasCurrent)
        throw VbError(VbErr::NoCurrentRecord);
    return bookmarkOf(m_impl->current);
}

void Recordset::setBookmark(const QByteArray& bookmark)
{
    Impl& d = *m_impl;
    if (m_kind != Kind::Table)
        throw VbError(VbErr::NotSupported);
    d.requireOpen();
    qint64 rowid = 0;
    if (bookmark.size() != sizeof rowid)
        throw VbError(VbErr::InvalidBookmark);
    std::memcpy(&rowid, bookmark.constData(), sizeof rowid);
    d.setCurrent(true, rowid);
    d.eof = false;
    d.loadRow(); // 3167 when the row is gone
}
