#pragma once

// The books of a small bakery, shared by the report tests: transactions around
// March 2026 on both sheets, amounts whose VAT falls on half cents, a refund,
// a category without VAT, and a second business whose rows must stay out.

#include "data/Database.h"
#include "data/Ledger.h"
#include "data/Recordset.h"
#include "reports/frmPrint.h"
#include "reports/ReportData.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace ReportFixture {

inline const QString TransactionsReport = QStringLiteral("Transactions by category.report");
inline const QString VatReport = QStringLiteral("VAT summary.report");

struct Books
{
    qint64 bakery = 0;
    qint64 shop = 0;
};

inline Books fill(RawDb& db)
{
    Books books;
    books.bakery = db.business(QStringLiteral("Bakery Janssen"), QStringLiteral("NL001234567B01"));
    books.shop = db.business(QStringLiteral("Corner Shop"));
    const qint64 bread = db.category(QStringLiteral("Bread sales"), true, 9.0);
    const qint64 catering = db.category(QStringLiteral("Catering"), true, 21.0);
    const qint64 flour = db.category(QStringLiteral("Flour"), false, 9.0);
    const qint64 rent = db.category(QStringLiteral("Rent"), false, QVariant());
    const qint64 equipment = db.category(QStringLiteral("Equipment"), false, 21.0);
    // ?1 bakery, ?2 shop, ?3 bread, ?4 catering, ?5 flour, ?6 rent, ?7 equipment.
    db.exec(
        QStringLiteral(
            "INSERT INTO Transactions (BusinessId, TransactionDate, CategoryId, Cash, MoneyIn, "
            "TotalPrice, Description, Relation, ReceiptId) VALUES "
            "(?1, '2026-02-28', ?3, 1, 1, 120.00, 'Bread, last day of February', 'Market', '1'),"
            "(?1, '2026-03-01', ?3, 1, 1, 10.50, 'Rolls', 'Counter', '2'),"
            "(?1, '2026-03-02', ?5, 0, 0, 0.35, 'Yeast', 'Mill', '3'),"
            "(?1, '2026-03-03', ?7, 0, 0, 0.35, 'Piping bag', 'Kitchen Co', '4'),"
            "(?1, '2026-03-04', ?7, 1, 0, 0.35, 'Piping bag', 'Kitchen Co', '5'),"
            "(?1, '2026-03-05', ?7, 1, 0, 0.35, 'Piping bag', 'Kitchen Co', '6'),"
            "(?1, '2026-03-10', ?4, 0, 1, 1234.56, 'Wedding buffet', 'Hotel Dam', '7'),"
            "(?1, '2026-03-15', ?6, 0, 0, 950.00, 'Rent March', 'Landlord', '8'),"
            "(?1, '2026-03-20', ?5, 0, 0, 412.30, 'Flour, 25 sacks', 'Mill', '9'),"
            "(?1, '2026-03-21', ?5, 1, 0, 0.01, 'A very long description of a small "
            "delivery that does not fit its column', 'Mill', '10'),"
            "(?1, '2026-03-12', ?4, 0, 1, -100.00, 'Refund, cancelled party', 'Hotel Dam', '11'),"
            "(?1, '2026-03-31', ?3, 1, 1, 99.99, 'Bread, last day of March', 'Counter', '12'),"
            "(?1, '2026-04-01', ?3, 1, 1, 50.00, 'Bread, first of April', 'Counter', '13'),"
            "(?2, '2026-03-12', ?3, 1, 1, 77.77, 'Shop bread', 'Abbey', '1')"),
        {books.bakery, books.shop, bread, catering, flour, rent, equipment});
    return books;
}

// A business of large figures: received 12,345,678.90 and 987,654,321.09,
// 999,999,999.99 together, without VAT; paid out 9,456.76 at 19.6% (VAT
// 1,853.52496) and 40.09 at 5.5% (VAT 2.20495), all in November 2026.
inline qint64 fillLarge(RawDb& db)
{
    const qint64 large =
        db.business(QStringLiteral("Bigwig Holdings"), QStringLiteral("GB123456789"));
    const qint64 sales = db.category(QStringLiteral("Sales"), true, QVariant());
    const qint64 supplies = db.category(QStringLiteral("Supplies"), false, 19.6);
    const qint64 books = db.category(QStringLiteral("Books"), false, 5.5);
    db.exec(
        QStringLiteral(
            "INSERT INTO Transactions (BusinessId, TransactionDate, CategoryId, Cash, MoneyIn, "
            "TotalPrice, Description, Relation, ReceiptId) VALUES "
            "(?1, '2026-11-03', ?2, 0, 1, 12345678.90, 'Sale of the east wing', 'Estates', '1'),"
            "(?1, '2026-11-20', ?2, 0, 1, 987654321.09, 'Sale of the company', 'Buyer', '2'),"
            "(?1, '2026-11-05', ?3, 0, 0, 9456.76, 'Office chairs', 'Seating', '3'),"
            "(?1, '2026-11-06', ?4, 1, 0, 40.09, 'Ledgers', 'Bookshop', '4')"),
        {large, sales, supplies, books});
    return large;
}

inline const ReportPeriod March{QDate(2026, 3, 1), QDate(2026, 3, 31)};
inline const ReportPeriod November{QDate(2026, 11, 1), QDate(2026, 11, 30)};

inline const QString MarchCriteria = QStringLiteral(
    "WHERE (((Businesses.BusinessId)=%1) AND ((Transactions.TransactionDate)>=#2026-03-01# "
    "And (Transactions.TransactionDate)<=#2026-03-31#));");

// Writes crys_Default as a print does.
inline void writeQuery(Database& db, const QString& criteria)
{
    if (db.hasQueryDef(QStringLiteral("crys_Default")))
        db.DeleteQueryDef(QStringLiteral("crys_Default"));
    db.CreateQueryDef(QStringLiteral("crys_Default"), frmPrint::ReportSelect + criteria);
}

// Builds a delivered report over a business's rows of a period, as a print
// does: crys_Default written with the selection of every report, the
// business and the period as the context.
inline ReportResult runReport(Database& db, const QString& reportFile, qint64 business,
                              const ReportPeriod& period = {})
{
    if (db.hasQueryDef(QStringLiteral("crys_Default")))
        db.DeleteQueryDef(QStringLiteral("crys_Default"));
    db.CreateQueryDef(QStringLiteral("crys_Default"),
                      Ledger::reportQuery(business, period.from, period.to));
    auto rows = db.OpenRecordset(QStringLiteral("crys_Default"));
    Ledger ledger(db);
    return BuildReport(LoadReportFile(QStringLiteral(ZANTORO_DB_DIR "/reports/") + reportFile),
                       *rows, BusinessReportContext(ledger, business, period));
}

// The amounts of a text in the order they stand: "1,234.56", "-0.07".
inline QStringList amounts(const QString& text)
{
    static const QRegularExpression money(QStringLiteral("-?\\d{1,3}(?:,\\d{3})*\\.\\d\\d\\b"));
    QStringList found;
    for (auto it = money.globalMatch(text); it.hasNext();)
        found << it.next().captured(0);
    return found;
}

// The text of a PDF file as pdftotext reads it; empty when the tool is missing.
inline QString pdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace ReportFixture

#include "shell/dbStuff.h"
#include "support/ShellEnvironment.h"

#include <QApplication>
#include <QTimer>

#include <functional>

namespace ReportFixture {

// The bakery's books opened as start-up leaves them (dbStuff::DB and the
// shared recordsets), with the report files beside the database.
struct OpenBooks
{
    TempDatabase temp;
    ShellEnvironment env;
    Books books;

    OpenBooks()
    {
        {
            RawDb raw(temp.path());
            books = fill(raw);
        }
        const QDir source(QStringLiteral(ZANTORO_DB_DIR "/reports"));
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), temp.filePath(name));
        env.openDatabase(temp.path());
    }
};

// Waits for a modal window of type T to come up while the test goes on into
// code that shows it (exec() does not return until it is closed), runs the
// action on it, then closes it. `seen` counts the windows handled.
template <class T> class WhenModal
{
public:
    explicit WhenModal(std::function<void(T&)> action = {}) : m_action(std::move(action))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!window || !window->isVisible() || m_busy)
                return;
            m_busy = true;
            ++m_seen;
            if (m_action)
                m_action(*window);
            window->close();
            m_busy = false;
        });
        m_timer.start();
    }

    int seen() const { return m_seen; }

private:
    std::function<void(T&)> m_action;
    QTimer m_timer;
    int m_seen = 0;
    bool m_busy = false;
};

} // namespace ReportFixture

Q_DECLARE_METATYPE(ReportPeriod)
