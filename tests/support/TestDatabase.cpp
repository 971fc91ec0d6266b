#include "support/TestDatabase.h"

#include "data/Schema.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sqlite3.h>
#include <stdexcept>

TempDatabase::TempDatabase()
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    m_path = m_dir.filePath(QStringLiteral("Zantoro.mdb"));
    Schema::CreateDatabaseFileFrom(m_path, QStringLiteral(ZANTORO_DB_DIR));
}

RawDb::RawDb(const QString& path, bool create)
{
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path.toStdString());
    sqlite3_busy_timeout(m_db, 2000);
    sqlite3_exec(m_db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
}

RawDb::~RawDb()
{
    sqlite3_close(m_db);
}

namespace {

void bind(sqlite3_stmt* stmt, const QVariantList& args)
{
    for (int i = 0; i < args.size(); ++i) {
        const QVariant& v = args[i];
        if (!v.isValid() || v.isNull())
            sqlite3_bind_null(stmt, i + 1);
        else if (v.typeId() == QMetaType::Double)
            sqlite3_bind_double(stmt, i + 1, v.toDouble());
        else if (v.typeId() == QMetaType::Bool || v.typeId() == QMetaType::Int ||
                 v.typeId() == QMetaType::LongLong)
            sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
        else
            sqlite3_bind_text(stmt, i + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
    }
}

} // namespace

QList<QVariantList> RawDb::rows(const QString& sql, const QVariantList& args)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("bad test SQL: ") + sqlite3_errmsg(m_db));
    bind(stmt, args);
    QList<QVariantList> result;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QVariantList row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_NULL:
                row << QVariant();
                break;
            case SQLITE_INTEGER:
                row << QVariant(qint64(sqlite3_column_int64(stmt, i)));
                break;
            case SQLITE_FLOAT:
                row << QVariant(sqlite3_column_double(stmt, i));
                break;
            default:
                row << QVariant(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))));
            }
        }
        result << row;
    }
    const std::string error = sqlite3_errmsg(m_db);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        throw std::runtime_error("test SQL failed: " + error);
    return result;
}

void RawDb::exec(const QString& sql, const QVariantList& args)
{
    rows(sql, args);
}

QVariant RawDb::value(const QString& sql, const QVariantList& args)
{
    const auto result = rows(sql, args);
    return result.isEmpty() || result.first().isEmpty() ? QVariant() : result.first().first();
}

qint64 RawDb::count(const QString& table)
{
    return value(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toLongLong();
}

qint64 RawDb::business(const QString& name, const QVariant& vatNr, const QVariant& accountNr)
{
    exec(QStringLiteral("INSERT INTO Businesses (Name, VATNr, accountnr) VALUES (?1, ?2, ?3)"),
         {name, vatNr, accountNr});
    return sqlite3_last_insert_rowid(m_db);
}

qint64 RawDb::category(const QString& name, bool moneyReceived, const QVariant& vat, int cashOrBank)
{
    exec(QStringLiteral("INSERT INTO Categories (Category, MoneyReceived, VAT, CashOrBank) "
                        "VALUES (?1, ?2, ?3, ?4)"),
         {name, moneyReceived ? 1 : 0, vat, cashOrBank});
    return sqlite3_last_insert_rowid(m_db);
}

void RawDb::allocate(qint64 category, qint64 business)
{
    exec(QStringLiteral("INSERT INTO relCat_Bis (CatId, Busid) VALUES (?1, ?2)"),
         {category, business});
}

qint64 RawDb::transaction(const TxRow& row)
{
    exec(
        QStringLiteral("INSERT INTO Transactions (TransactionDate, Invoicenr, Relation, MoneyIn, "
                       "CategoryId, Description, ReceiptId, TotalPrice, Cash, BusinessId, Remarks) "
                       "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)"),
        {row.date, row.invoiceNr, row.relation, row.moneyIn ? 1 : 0, row.category, row.description,
         row.receiptId, row.amount, row.cash ? 1 : 0, row.business, row.remarks});
    return sqlite3_last_insert_rowid(m_db);
}

void RawDb::report(qint64 id, const QString& title)
{
    exec(QStringLiteral("INSERT OR REPLACE INTO Reports (Reportid, ReportTitle) VALUES (?1, ?2)"),
         {id, title});
}

void fillAndDamageMiddlePage(const QString& path, int rows)
{
    qint64 pageSize = 0;
    qint64 pages = 0;
    {
        RawDb raw(path);
        TxRow row;
        row.business = raw.business(QStringLiteral("Damaged books"));
        row.category = raw.category(QStringLiteral("Sales"), true);
        raw.exec(QStringLiteral("BEGIN"));
        for (int i = 0; i < rows; ++i) {
            row.description = QStringLiteral("row %1 ").arg(i) + QString(120, QLatin1Char('x'));
            raw.transaction(row);
        }
        raw.exec(QStringLiteral("COMMIT"));
        pageSize = raw.value(QStringLiteral("PRAGMA page_size")).toLongLong();
        pages = raw.value(QStringLiteral("PRAGMA page_count")).toLongLong();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(pageSize * (pages / 2)))
        throw std::runtime_error("cannot open the file to damage");
    file.write(QByteArray(pageSize, '\xff'));
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QMap<QString, QByteArray> contentsOf(const QString& folder)
{
    QMap<QString, QByteArray> files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        files.insert(name, bytesOf(dir.filePath(name)));
    return files;
}

long errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const VbError& error) {
        return error.number();
    }
    return 0;
}
