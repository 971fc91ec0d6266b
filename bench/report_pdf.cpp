// Times a report over a large selection, from the stored query to the PDF file:
// a generated database with one business of N transactions (100,000 unless
// given), the report query written as the report window writes it, the data
// pass, and the layout and writing of the PDF. Runs each delivered report.
//
//   bench_report_pdf [rows] [folder to keep the PDF files in]

#include "data/Database.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "reports/frmPrint.h"
#include "reports/ReportRender.h"

#include <ctime>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPageSize>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Processor time of this process in milliseconds: what the run costs whatever
// else the machine is doing.
qint64 cpuMs()
{
    return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

// db/ of the source tree, which holds the schema and the report files.
QString dbFolder()
{
    return QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath(QStringLiteral("../db"));
}

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        qFatal("sqlite: %s", sqlite3_errmsg(db));
}

// One business with `rows` transactions over 2025 in twelve categories, and a
// second business whose rows the report must leave out.
void generate(const QString& path, int rows)
{
    Schema::CreateDatabaseFileFrom(path, dbFolder());
    sqlite3* db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db);
    check(sqlite3_exec(
              db,
              "BEGIN; "
              "INSERT INTO Businesses (Name, VATNr) VALUES ('Bakery Janssen', 'NL001234567B01');"
              "INSERT INTO Businesses (Name) VALUES ('Corner Shop');",
              nullptr, nullptr, nullptr),
          db);
    const char* categories[][3] = {
        {"Bread sales", "1", "9"}, {"Catering", "1", "21"},  {"Cakes", "1", "9"},
        {"Flour", "0", "9"},       {"Equipment", "0", "21"}, {"Rent", "0", ""},
        {"Energy", "0", "21"},     {"Butter", "0", "9"},     {"Packaging", "0", "21"},
        {"Wages", "0", ""},        {"Insurance", "0", ""},   {"Transport", "0", "21"},
    };
    for (const auto& c : categories) {
        const QString sql = QStringLiteral("INSERT INTO Categories (Category, MoneyReceived, VAT, "
                                           "CashOrBank) VALUES ('%1', %2, %3, 3);")
                                .arg(QString::fromLatin1(c[0]), QString::fromLatin1(c[1]),
                                     *c[2] ? QString::fromLatin1(c[2]) : QStringLiteral("NULL"));
        check(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), db);
    }
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(
              db,
              "INSERT INTO Transactions (TransactionDate, Invoicenr, Relation, MoneyIn, "
              "CategoryId, Description, ReceiptId, TotalPrice, Cash, BusinessId) "
              "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
              -1, &insert, nullptr),
          db);
    QRandomGenerator random(20260301);
    const QDate first(2025, 1, 1);
    for (int i = 0; i < rows + 500; ++i) {
        const int category = int(random.bounded(12)) + 1;
        const bool in = category <= 3;
        const QByteArray date = first.addDays(random.bounded(365)).toString(Qt::ISODate).toLatin1();
        const QByteArray relation = QStringLiteral("Relation %1").arg(random.bounded(200)).toUtf8();
        const QByteArray description = QStringLiteral("%1 number %2")
                                           .arg(QString::fromLatin1(categories[category - 1][0]))
                                           .arg(i)
                                           .toUtf8();
        const QByteArray receipt = QByteArray::number(i + 1);
        sqlite3_bind_text(insert, 1, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, in ? receipt.constData() : "n/a", -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, relation.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 4, in ? 1 : 0);
        sqlite3_bind_int(insert, 5, category);
        sqlite3_bind_text(insert, 6, description.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 7, receipt.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 8, double(random.bounded(1, 250'000)) / 100.0);
        sqlite3_bind_int(insert, 9, int(random.bounded(2)));
        sqlite3_bind_int(insert, 10, i < rows ? 1 : 2);
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100'000;
    QTemporaryDir temp;
    const QString keep = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path();
    QTextStream out(stdout);

    const QString path = temp.filePath(QStringLiteral("Zantoro.mdb"));
    generate(path, rows);
    out << "rows in the selection: " << rows << "\n";

    for (const QString& report : {QStringLiteral("Transactions by category.report"),
                                  QStringLiteral("VAT summary.report")}) {
        QElapsedTimer total;
        total.start();
        const qint64 cpuStart = cpuMs();
        auto db = Database::OpenDatabase(path);
        if (db->hasQueryDef(QStringLiteral("crys_Default")))
            db->DeleteQueryDef(QStringLiteral("crys_Default"));
        db->CreateQueryDef(QStringLiteral("crys_Default"),
                           frmPrint::ReportSelect +
                               QStringLiteral("WHERE (((Businesses.BusinessId)=1) AND "
                                              "((Transactions.TransactionDate)>=#2025-01-01# And "
                                              "(Transactions.TransactionDate)<=#2025-12-31#));"));
        QElapsedTimer step;
        step.start();
        const ReportDefinition definition =
            LoadReportFile(dbFolder() + QStringLiteral("/reports/") + report);
        auto records = db->OpenRecordset(QStringLiteral("crys_Default"));
        const ReportResult result = BuildReport(definition, *records);
        const qint64 dataMs = step.restart();
        const qint64 dataCpu = cpuMs() - cpuStart;

        QPageLayout a4(QPageSize(QPageSize::A4),
                       result.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
        const int pages = ReportPages(result, a4).pageCount();
        const qint64 layoutMs = step.restart();
        const qint64 layoutCpuEnd = cpuMs();

        const QString pdf =
            QDir(keep).filePath(QFileInfo(report).completeBaseName() + QStringLiteral(".pdf"));
        WritePdf(result, pdf);
        const qint64 pdfMs = step.elapsed();
        const qint64 pdfCpu = cpuMs() - layoutCpuEnd;
        out << report << ": " << result.lines.size() << " lines, " << pages << " pages, "
            << QFileInfo(pdf).size() / 1024 << " KiB\n"
            << "  wall: query and data pass " << dataMs << " ms; layout alone " << layoutMs
            << " ms; layout and PDF " << pdfMs << " ms; from query to PDF "
            << (total.elapsed() - layoutMs) << " ms\n"
            << "  processor: data pass " << dataCpu << " ms; layout and PDF " << pdfCpu
            << " ms; from query to PDF " << (dataCpu + pdfCpu) << " ms\n";
        out.flush();
    }
    return 0;
}
