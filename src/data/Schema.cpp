#include "data/Schema.h"

#include "data/Connection.h"
#include "data/SchemaVersions.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Schema {

namespace {

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw VbError(VbErr::FileNotFound, path);
    return QString::fromUtf8(file.readAll());
}

void exec(Connection& conn, const QString& sql)
{
    char* error = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_exec(conn.db, utf8.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error);
        sqlite3_free(error);
        throw VbError(VbErr::ReservedError, QString(), message);
    }
}

} // namespace

void CreateDatabaseFile(const QString& path, const QString& schemaSql, const QString& rowsSql,
                        int version)
{
    if (QFileInfo::exists(path))
        throw VbError(VbErr::DatabaseExists, path);
    Connection conn;
    conn.path = path;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &conn.db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        conn.close();
        QFile::remove(path);
        throw VbError(VbErr::PathFileAccess, path);
    }
    try {
        exec(conn, QStringLiteral("BEGIN"));
        exec(conn, schemaSql);
        exec(conn, rowsSql);
        SchemaVersions::migrate(conn, version < 0 ? SchemaVersions::Current : version);
        exec(conn, QStringLiteral("COMMIT"));
    } catch (...) {
        conn.close();
        QFile::remove(path);
        throw;
    }
}

void CreateDatabaseFileFrom(const QString& path, const QString& dbDir, int version)
{
    const QDir dir(dbDir);
    CreateDatabaseFile(path, readText(dir.filePath(QStringLiteral("schema.sql"))),
                       readText(dir.filePath(QStringLiteral("reports.sql"))), version);
}

} // namespace Schema
