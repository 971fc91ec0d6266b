#include "data/Database.h"

#include "data/Connection.h"
#include "data/Recordset.h"
#include "data/SchemaVersions.h"
#include "data/SqlDialect.h"
#include "platform/VbError.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The original text of a stored query travels in a comment of the view, so the
// file alone says both what the program wrote and what SQLite runs.
constexpr const char* OriginalMarker = "/* original: ";

QString quoteName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool looksLikeSql(const QString& source)
{
    const QString trimmed = source.trimmed();
    return trimmed.contains(QLatin1Char(' ')) || trimmed.contains(QLatin1Char('\n')) ||
           trimmed.startsWith(QLatin1String("select"), Qt::CaseInsensitive);
}

QString withoutTrailingSemicolon(QString sql)
{
    sql = sql.trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql.chop(1);
    return sql;
}

// Throws 3045 unless the file at path is one this program can use: writable, a
// database, with tables in it. Reads only; the file is left as it was.
void checkUsable(sqlite3* db, const QString& path)
{
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table'", -1,
                                &raw, nullptr);
    Stmt stmt(raw);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_ROW)
        throw VbError(VbErr::CannotUseFile, path, QString::fromUtf8(sqlite3_errmsg(db)));
    if (sqlite3_column_int(stmt.get(), 0) == 0)
        throw VbError(VbErr::CannotUseFile, path, QStringLiteral("the file holds no tables"));
    if (sqlite3_db_readonly(db, "main") == 1)
        throw VbError(VbErr::CannotUseFile, path, QStringLiteral("the file is read-only"));
}

// The first problem quick_check finds on db's main file, or empty when none.
// Errors that keep the check from running at all (a file that is no database,
// a page it cannot read) are problems too.
QString quickCheckOn(sqlite3* db)
{
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &raw, nullptr);
    Stmt check(raw);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(check.get());
    if (rc != SQLITE_ROW)
        return QString::fromUtf8(sqlite3_errmsg(db));
    QString verdict =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0)));
    if (verdict != QLatin1String("ok")) {
        // Only the main file is ever checked; the heading naming it says nothing.
        verdict.remove(QStringLiteral("*** in database main ***"));
        return verdict.simplified();
    }
    check.reset();
    // An empty file passes quick_check as an empty database.
    rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table'", -1, &raw,
                            nullptr);
    Stmt tables(raw);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(tables.get());
    if (rc != SQLITE_ROW)
        return QString::fromUtf8(sqlite3_errmsg(db));
    if (sqlite3_column_int(tables.get(), 0) == 0)
        return QStringLiteral("the file holds no tables");
    return QString();
}

} // namespace

Database::Database(std::shared_ptr<Connection> connection) : m_conn(std::move(connection)) {}

Database::~Database() = default;

std::unique_ptr<Database> Database::OpenDatabase(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw VbError(VbErr::DbFileNotFound, path);
    if (!info.isFile() || !info.isReadable() || !info.isWritable() ||
        !(info.permissions() & QFileDevice::WriteOwner))
        throw VbError(VbErr::CannotUseFile, path);

    auto conn = std::make_shared<Connection>();
    conn->path = info.absoluteFilePath();
    const QByteArray native = QFile::encodeName(conn->path);

    // Another running copy holds this lock for as long as it has the file open;
    // the system drops it when that process ends, however it ends.
    conn->lockFd = ::open(native.constData(), O_RDWR | O_CLOEXEC);
    if (conn->lockFd < 0 || ::flock(conn->lockFd, LOCK_EX | LOCK_NB) != 0)
        throw VbError(VbErr::CannotUseFile, path, QStringLiteral("held by another running copy"));

    const int rc = sqlite3_open_v2(native.constData(), &conn->db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK)
        throw VbError(VbErr::CannotUseFile, path, QString::fromUtf8(sqlite3_errstr(rc)));
    sqlite3_extended_result_codes(conn->db, 1);
    // Another process (a copy or sync tool, the sqlite3 shell) may hold the
    // file's lock for a moment; wait for it rather than fail the first write.
    sqlite3_busy_timeout(conn->db, BusyTimeoutMs);
    checkUsable(conn->db, path);
    sqlite3_exec(conn->db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    // Every stored sheet row is its own transaction. The file is flushed to
    // disk only at the moments that keep it consistent, not at every step of
    // a commit, so storing a row waits for the disk less often.
    sqlite3_exec(conn->db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    SqlDialect::RegisterFunctions(conn->db);
    // An older file gets the tables this program writes (after a copy of it is
    // made beside it); a newer one is refused before anything is written.
    SchemaVersions::upgradeOnOpen(*conn);
    return std::unique_ptr<Database>(new Database(std::move(conn)));
}

void Database::CompactDatabase(const QString& src, const QString& dst)
{
    if (QFileInfo::exists(dst))
        throw VbError(VbErr::DatabaseExists, dst);
    if (!QFileInfo(src).isFile())
        throw VbError(VbErr::DbFileNotFound, src);

    Connection conn;
    conn.path = src;
    const QByteArray native = QFile::encodeName(src);
    int rc = sqlite3_open_v2(native.constData(), &conn.db, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK)
        throw VbError(VbErr::CannotUseFile, src, QString::fromUtf8(sqlite3_errstr(rc)));
    sqlite3_extended_result_codes(conn.db, 1);
    sqlite3_busy_timeout(conn.db, BusyTimeoutMs);
    try {
        Stmt vacuum = conn.prepare(QStringLiteral("VACUUM INTO ?1"));
        bindVariant(vacuum.get(), 1, dst);
        conn.step(vacuum.get(), dst);
    } catch (...) {
        conn.close();
        QFile::remove(dst); // never leave half a copy behind
        throw;
    }
}

QString Database::QuickCheck(const QString& path)
{
    if (!QFileInfo(path).isFile())
        throw VbError(VbErr::DbFileNotFound, path);
    Connection conn;
    conn.path = path;
    const QByteArray native = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(native.constData(), &conn.db, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_busy_timeout(conn.db, BusyTimeoutMs);
    return quickCheckOn(conn.db);
}

QString Database::quickCheck() const
{
    if (!m_conn->isOpen())
        throw VbError(VbErr::ObjectInvalid);
    return quickCheckOn(m_conn->db);
}

QString Database::path() const
{
    return m_conn->path;
}

bool Database::isOpen() const
{
    return m_conn->isOpen();
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& source, RecordsetType type)
{
    if (!m_conn->isOpen())
        throw VbError(VbErr::ObjectInvalid);
    if (!looksLikeSql(source)) {
        const QString name = withoutTrailingSemicolon(source);
        if (auto table = m_conn->table(name)) {
            if (type == RecordsetType::ForwardOnly)
                return Recordset::openQuery(m_conn, QStringLiteral("SELECT * FROM ") +
                                                        quoteName(table->name));
            return Recordset::openTable(m_conn, std::move(table));
        }
        if (hasQueryDef(name) && type != RecordsetType::Table)
            return Recordset::openQuery(m_conn, QStringLiteral("SELECT * FROM ") + quoteName(name));
        throw VbError(VbErr::TableNotFound, name);
    }
    if (type == RecordsetType::Table)
        throw VbError(VbErr::NotSupported);
    return Recordset::openQuery(m_conn, SqlDialect::Translate(source));
}

bool Database::hasQueryDef(const QString& name) const
{
    Stmt find = m_conn->prepare(QStringLiteral(
        "SELECT 1 FROM sqlite_master WHERE type = 'view' AND name = ?1 COLLATE NOCASE"));
    bindVariant(find.get(), 1, name);
    return m_conn->step(find.get());
}

QString Database::objectType(const QString& name) const
{
    Stmt find = m_conn->prepare(
        QStringLiteral("SELECT type FROM sqlite_master WHERE name = ?1 COLLATE NOCASE"));
    bindVariant(find.get(), 1, name);
    if (!m_conn->step(find.get()))
        return QString();
    return readColumn(find.get(), 0, ColumnKind::Text, true).toString();
}

QueryDef Database::CreateQueryDef(const QString& name, const QString& sql)
{
    Stmt find = m_conn->prepare(
        QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = ?1 COLLATE NOCASE"));
    bindVariant(find.get(), 1, name);
    if (m_conn->step(find.get()))
        throw VbError(VbErr::ObjectExists, name);

    const QString translated = withoutTrailingSemicolon(SqlDialect::Translate(sql));
    const QString original = QString::fromLatin1(sql.toUtf8().toBase64());
    Stmt create = m_conn->prepare(
        QStringLiteral("CREATE VIEW %1 AS %2%3 */ %4")
            .arg(quoteName(name), QLatin1String(OriginalMarker), original, translated));
    m_conn->step(create.get(), sql);
    return {name, sql};
}

void Database::DeleteQueryDef(const QString& name)
{
    const QueryDef existing = queryDef(name); // 3265 when there is none
    Stmt drop = m_conn->prepare(QStringLiteral("DROP VIEW ") + quoteName(existing.name));
    m_conn->step(drop.get());
}

QueryDef Database::queryDef(const QString& name) const
{
    Stmt find = m_conn->prepare(QStringLiteral(
        "SELECT name, sql FROM sqlite_master WHERE type = 'view' AND name = ?1 COLLATE NOCASE"));
    bindVariant(find.get(), 1, name);
    if (!m_conn->step(find.get()))
        throw VbError(VbErr::ItemNotFound, name);
    QueryDef def;
    def.name = readColumn(find.get(), 0, ColumnKind::Text, true).toString();
    const QString create = readColumn(find.get(), 1, ColumnKind::Text, true).toString();
    const qsizetype start = create.indexOf(QLatin1String(OriginalMarker));
    if (start >= 0) {
        const qsizetype from = start + qsizetype(qstrlen(OriginalMarker));
        const qsizetype end = create.indexOf(QLatin1String(" */"), from);
        def.sql =
            QString::fromUtf8(QByteArray::fromBase64(create.mid(from, end - from).toLatin1()));
    } else {
        def.sql = create.section(QLatin1String(" AS "), 1);
    }
    return def;
}

long Database::Execute(const QString& sql)
{
    const QString translated = SqlDialect::Translate(sql);
    Stmt stmt = m_conn->prepare(translated);
    m_conn->step(stmt.get(), sql);
    return sqlite3_changes(m_conn->db);
}

void Database::Close()
{
    m_conn->close();
}
