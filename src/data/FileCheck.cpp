#include "data/FileCheck.h"

#include "data/Connection.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace FileCheck {

namespace {

// The first bytes of every SQLite 3 database file.
constexpr char Magic[] = "SQLite format 3";
constexpr int HeaderSize = 100;

quint32 bigEndian(const QByteArray& bytes, int offset, int width)
{
    quint32 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | quint8(bytes.at(offset + i));
    return value;
}

// A read-only connection of its own, closed on every path.
class ReadOnlyFile final
{
public:
    explicit ReadOnlyFile(const QString& path)
    {
        const QByteArray native = QFile::encodeName(path);
        m_rc = sqlite3_open_v2(native.constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
        if (m_db) {
            sqlite3_extended_result_codes(m_db, 1);
            // Another program writing the file holds it for a moment only.
            sqlite3_busy_timeout(m_db, 3000);
        }
    }
    ~ReadOnlyFile() { sqlite3_close_v2(m_db); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool isOpen() const { return m_rc == SQLITE_OK; }
    int openError() const { return m_rc; }
    sqlite3* db() const { return m_db; }
    QString message() const
    {
        return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                    : QString::fromUtf8(sqlite3_errstr(m_rc));
    }

private:
    sqlite3* m_db = nullptr;
    int m_rc = SQLITE_OK;
};

Finding failureOf(int rc, const QString& message)
{
    switch (rc & 0xff) {
    case SQLITE_CORRUPT:
        return {Verdict::Damaged, message};
    case SQLITE_NOTADB:
        return {Verdict::NotADatabase, message};
    default:
        return {Verdict::Unreadable, message};
    }
}

} // namespace

Finding checkHeader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {Verdict::Unreadable, file.errorString()};
    const QByteArray header = file.read(HeaderSize);
    const qint64 size = file.size();
    if (!header.startsWith(QByteArray(Magic, sizeof(Magic))))
        return {Verdict::NotADatabase, QStringLiteral("no database header")};
    if (header.size() < HeaderSize)
        return {Verdict::Damaged, QStringLiteral("the file ends inside its header")};

    // Page size: 1 stands for 65536. The page count is trusted only when the
    // header says it was written by a version that keeps it (offset 92 equal
    // to the change counter at 24).
    quint32 pageSize = bigEndian(header, 16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return {Verdict::Damaged, QStringLiteral("page size %1 in the header").arg(pageSize)};
    const quint32 pages = bigEndian(header, 28, 4);
    if (pages != 0 && bigEndian(header, 92, 4) == bigEndian(header, 24, 4) &&
        size < qint64(pages) * pageSize)
        return {Verdict::Damaged, QStringLiteral("%1 bytes of %2: the file is cut off")
                                      .arg(size)
                                      .arg(qint64(pages) * pageSize)};
    return {};
}

Finding quickCheck(const QString& path)
{
    Finding header = checkHeader(path);
    if (header.verdict != Verdict::Sound)
        return header;

    const ReadOnlyFile file(path);
    if (!file.isOpen())
        return failureOf(file.openError(), file.message());
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(file.db(), "PRAGMA quick_check", -1, &raw, nullptr);
    const Stmt stmt(raw);
    if (rc != SQLITE_OK)
        return failureOf(rc, file.message());
    QStringList problems;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const QString line =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
        if (line != QLatin1String("ok"))
            problems << line;
    }
    if (rc != SQLITE_DONE)
        return failureOf(rc, file.message());
    if (!problems.isEmpty())
        return {Verdict::Damaged, problems.join(QLatin1Char('\n'))};
    return {};
}

std::optional<Contents> ledgerContents(const QString& path)
{
    const ReadOnlyFile file(path);
    if (!file.isOpen())
        return std::nullopt;
    // Each query names every field of its table, so it compiles only on a
    // file with the program's schema.
    static const char* const Fields[] = {
        "SELECT BusinessId, Name, VATNr, accountnr FROM Businesses LIMIT 0",
        "SELECT CategoryId, Category, MoneyReceived, VAT, CashOrBank FROM Categories LIMIT 0",
        "SELECT TransactionId, TransactionDate, Invoicenr, Relation, MoneyIn, CategoryId, "
        "Description, ReceiptId, TotalPrice, Cash, BusinessId, Remarks FROM Transactions LIMIT 0",
        "SELECT CatId, Busid FROM relCat_Bis LIMIT 0",
        "SELECT Reportid, ReportTitle FROM Reports LIMIT 0",
    };
    for (const char* sql : Fields) {
        sqlite3_stmt* raw = nullptr;
        const int rc = sqlite3_prepare_v2(file.db(), sql, -1, &raw, nullptr);
        const Stmt stmt(raw);
        if (rc != SQLITE_OK)
            return std::nullopt;
    }
    auto count = [&](const char* sql) -> std::optional<qint64> {
        sqlite3_stmt* raw = nullptr;
        int rc = sqlite3_prepare_v2(file.db(), sql, -1, &raw, nullptr);
        const Stmt stmt(raw);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(stmt.get());
        if (rc != SQLITE_ROW)
            return std::nullopt;
        return sqlite3_column_int64(stmt.get(), 0);
    };
    const std::optional<qint64> businesses = count("SELECT count(*) FROM Businesses");
    const std::optional<qint64> transactions = count("SELECT count(*) FROM Transactions");
    if (!businesses || !transactions)
        return std::nullopt;
    return Contents{*businesses, *transactions};
}

} // namespace FileCheck
