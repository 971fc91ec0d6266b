#include "data/Connection.h"

#include "platform/Format.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"

#include <QRegularExpression>

#include <cmath>
#include <unistd.h>

int TableInfo::columnIndex(const QString& wanted) const
{
    for (int i = 0; i < int(columns.size()); ++i)
        if (columns[i].name.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void Connection::close()
{
    // Statements first: a connection with live statements would stay half open.
    for (RecordsetUser* user : users)
        user->releaseStatements();
    if (db) {
        sqlite3_close(db);
        db = nullptr;
    }
    if (lockFd >= 0) {
        ::close(lockFd); // drops the lock that kept other running copies out
        lockFd = -1;
    }
}

Stmt Connection::prepare(const QString& sql) const
{
    if (!db)
        throw VbError(VbErr::ObjectInvalid);
    sqlite3_stmt* raw = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &raw, nullptr);
    Stmt stmt(raw);
    if (rc != SQLITE_OK)
        raise(rc, sql);
    if (!stmt) // only blanks or a comment
        throw VbError(VbErr::SyntaxError, sql);
    return stmt;
}

bool Connection::step(sqlite3_stmt* stmt, const QString& context) const
{
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt);
    raise(sqlite3_extended_errcode(db), context);
}

std::shared_ptr<TableInfo> Connection::table(const QString& name)
{
    const QString key = name.toLower();
    if (auto it = tables.constFind(key); it != tables.constEnd())
        return *it;

    Stmt find = prepare(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE"));
    bindVariant(find.get(), 1, name);
    if (!step(find.get()))
        return nullptr;

    auto info = std::make_shared<TableInfo>();
    info->name =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0)));
    Stmt columns = prepare(QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?1)"));
    bindVariant(columns.get(), 1, info->name);
    std::vector<std::pair<int, int>> keyOrder; // (position in key, column index)
    while (step(columns.get())) {
        ColumnInfo column;
        column.name =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 0)));
        const QByteArray decl =
            reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 1));
        column.kind = kindFromDeclType(decl.constData(), &column.maxLength);
        if (const int pk = sqlite3_column_int(columns.get(), 2); pk > 0)
            keyOrder.emplace_back(pk, int(info->columns.size()));
        info->columns.push_back(column);
    }
    std::sort(keyOrder.begin(), keyOrder.end());
    for (const auto& [position, column] : keyOrder)
        info->primaryKey.push_back(column);
    if (info->primaryKey.size() == 1 && info->columns[info->primaryKey[0]].kind == ColumnKind::Long)
        info->columns[info->primaryKey[0]].autoNumber = true; // an alias of the rowid
    tables.insert(key, info);
    return info;
}

void Connection::raise(int rc, const QString& context) const
{
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
    const QString afterColon = message.section(QLatin1Char(':'), 1).trimmed();
    switch (rc) {
    case SQLITE_CONSTRAINT_NOTNULL:
        throw VbError(VbErr::NullInRequired, afterColon.section(QLatin1Char('.'), -1), message);
    case SQLITE_CONSTRAINT_CHECK:
        if (afterColon.startsWith(QLatin1String("zero_length_")))
            throw VbError(VbErr::ZeroLengthString, afterColon.mid(12), message);
        throw VbError(VbErr::ValidationRule, afterColon, message);
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        throw VbError(VbErr::DuplicateKey, QString(), message);
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        throw VbError(VbErr::RelatedRecordRequired, QString(), message);
    default:
        break;
    }
    switch (rc & 0xff) {
    case SQLITE_FULL:
        throw VbError(VbErr::DiskFull, QString(), message);
    case SQLITE_READONLY:
        throw VbError(VbErr::ReadOnly, QString(), message);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw VbError(VbErr::RecordLocked, QString(), message);
    case SQLITE_IOERR:
        throw VbError(VbErr::DiskOrNetworkError, QString(), message);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw VbError(VbErr::UnrecognizedFormat, path, message);
    case SQLITE_NOMEM:
        throw VbError(VbErr::OutOfMemory, QString(), message);
    case SQLITE_ERROR:
        if (message.startsWith(QLatin1String("no such table")))
            throw VbError(VbErr::TableNotFound, afterColon, message);
        if (message.startsWith(QLatin1String("no such column")))
            throw VbError(VbErr::TooFewParameters, QStringLiteral("1"), message);
        throw VbError(VbErr::SyntaxError, context, message);
    default:
        throw VbError(VbErr::ReservedError, QString(), message);
    }
}

ColumnKind kindFromDeclType(const char* declType, int* maxLength)
{
    const QString decl = QString::fromLatin1(declType ? declType : "").toUpper();
    if (maxLength) {
        static const QRegularExpression size(QStringLiteral("\\((\\d+)\\)"));
        const auto match = size.match(decl);
        *maxLength = match.hasMatch() ? match.captured(1).toInt() : 0;
    }
    if (decl.startsWith(QLatin1String("BOOL")))
        return ColumnKind::Boolean;
    if (decl.startsWith(QLatin1String("DATE")))
        return ColumnKind::Date;
    if (decl.contains(QLatin1String("INT")))
        return ColumnKind::Long;
    if (decl.contains(QLatin1String("REAL")) || decl.contains(QLatin1String("DOUB")) ||
        decl.contains(QLatin1String("FLOA")) || decl.contains(QLatin1String("NUM")))
        return ColumnKind::Double;
    return ColumnKind::Text;
}

QString storedDate(const QDateTime& value)
{
    return ProgramLocale::formatIsoDateTime(value);
}

void bindVariant(sqlite3_stmt* stmt, int index, const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        sqlite3_bind_null(stmt, index);
        break;
    case Variant::Type::Boolean:
        sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
        break;
    case Variant::Type::Long:
        sqlite3_bind_int64(stmt, index, value.toLong());
        break;
    case Variant::Type::Double:
    case Variant::Type::Currency:
        sqlite3_bind_double(stmt, index, value.toDouble());
        break;
    case Variant::Type::Date: {
        const QByteArray text = storedDate(value.toDate()).toUtf8();
        sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case Variant::Type::String: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

namespace {

// Midnight of a day in local time. Working that out goes through the time-zone
// rules and costs microseconds; a sheet repeats the same few thousand days over
// many rows, so the answers are kept.
QDateTime startOfDay(QDate date)
{
    static QHash<qint64, QDateTime> known;
    const qint64 day = date.toJulianDay();
    if (auto it = known.constFind(day); it != known.constEnd())
        return *it;
    if (known.size() > 200000)
        known.clear();
    return *known.insert(day, date.startOfDay());
}

// Stored dates are ISO text; loading a sheet reads them on its hot path.
Variant readDate(const char* text, int size)
{
    if (const auto iso = ProgramLocale::readIsoDate(QByteArrayView(text, size)))
        return Variant(iso->hasTime ? QDateTime(iso->date, iso->time) : startOfDay(iso->date));
    const QString whole = QString::fromUtf8(text, size);
    if (const auto parsed = ParseDate(whole))
        return Variant(*parsed);
    return Variant(whole); // not a date after all: show what is there
}

} // namespace

Variant readColumn(sqlite3_stmt* stmt, int index, ColumnKind kind, bool kindKnown)
{
    const int storage = sqlite3_column_type(stmt, index);
    if (storage == SQLITE_NULL)
        return Variant::null();
    if (!kindKnown) {
        switch (storage) {
        case SQLITE_INTEGER:
            return Variant(qint64(sqlite3_column_int64(stmt, index)));
        case SQLITE_FLOAT:
            return Variant(sqlite3_column_double(stmt, index));
        default:
            kind = ColumnKind::Text;
        }
    }
    switch (kind) {
    case ColumnKind::Boolean:
        return Variant(sqlite3_column_int64(stmt, index) != 0);
    case ColumnKind::Long:
        if (storage == SQLITE_FLOAT)
            return Variant(sqlite3_column_double(stmt, index));
        return Variant(qint64(sqlite3_column_int64(stmt, index)));
    case ColumnKind::Double:
        return Variant(sqlite3_column_double(stmt, index));
    case ColumnKind::Date:
        if (storage == SQLITE_TEXT)
            return readDate(reinterpret_cast<const char*>(sqlite3_column_text(stmt, index)),
                            sqlite3_column_bytes(stmt, index));
        break;
    case ColumnKind::Text:
        break;
    }
    return Variant(
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, index)),
                          sqlite3_column_bytes(stmt, index)));
}

Variant convertForColumn(const ColumnInfo& column, const Variant& value)
{
    if (column.autoNumber)
        throw VbError(VbErr::FieldNotUpdatable);
    if (value.isNull() || value.isEmpty())
        return Variant::null();
    try {
        switch (column.kind) {
        case ColumnKind::Text: {
            const QString text = value.toString();
            if (column.maxLength > 0 && text.size() > column.maxLength)
                throw VbError(VbErr::FieldTooSmall);
            return Variant(text);
        }
        case ColumnKind::Long:
            if (value.type() == Variant::Type::Boolean)
                return Variant(qint64(value.toBool() ? -1 : 0));
            return Variant(value.toLong());
        case ColumnKind::Double:
            if (value.type() == Variant::Type::String) {
                const auto number = ParseNumber(value.toString());
                if (!number)
                    throw VbError(VbErr::ConversionError);
                return Variant(*number);
            }
            return Variant(value.toDouble());
        case ColumnKind::Boolean:
            return Variant(value.toBool());
        case ColumnKind::Date:
            if (value.type() != Variant::Type::Date && value.type() != Variant::Type::String)
                throw VbError(VbErr::ConversionError);
            return Variant(value.toDate());
        }
    } catch (const VbError& error) {
        if (error.number() == VbErr::FieldTooSmall)
            throw;
        if (error.number() == VbErr::Overflow && column.kind == ColumnKind::Long)
            throw;
        throw VbError(VbErr::ConversionError, QString(), error.description());
    }
    return value;
}
