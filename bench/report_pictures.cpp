// Makes the README's pictures of the reports: the report selection window, the
// viewer with a report in it, and the first PDF page of each delivered report,
// over a month of a small bakery's books. Runs on the offscreen platform.
//
//   QT_QPA_PLATFORM=offscreen bench_report_pictures docs
//
// Needs pdftoppm (poppler-utils) for the PDF pages.

#include "data/Database.h"
#include "data/Ledger.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/ListView.h"
#include "reports/frmCrys.h"
#include "reports/frmPrint.h"
#include "reports/ReportRender.h"
#include "reports/ReportWindow.h"
#include "shell/dbStuff.h"
#include "support/BenchData.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

namespace {

void fill(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    const char* script = R"sql(
BEGIN;
INSERT INTO Businesses (Name, VATNr) VALUES ('Bakery Janssen', 'NL001234567B01');
INSERT INTO Businesses (Name) VALUES ('Corner Shop');
INSERT INTO Categories (Category, MoneyReceived, VAT, CashOrBank) VALUES
  ('Bread sales', 1, 9, 3), ('Catering', 1, 21, 3), ('Flour and yeast', 0, 9, 3),
  ('Equipment', 0, 21, 3), ('Rent', 0, NULL, 2), ('Energy', 0, 21, 2);
INSERT INTO Transactions (TransactionDate, Invoicenr, Relation, MoneyIn, CategoryId, Description,
                          ReceiptId, TotalPrice, Cash, BusinessId) VALUES
  ('2026-03-02', '2026-031', 'Counter', 1, 1, 'Bread and rolls, week 10', '1001', 1843.20, 1, 1),
  ('2026-03-09', '2026-032', 'Counter', 1, 1, 'Bread and rolls, week 11', '1002', 1791.65, 1, 1),
  ('2026-03-16', '2026-033', 'Counter', 1, 1, 'Bread and rolls, week 12', '1003', 1904.10, 1, 1),
  ('2026-03-23', '2026-034', 'Counter', 1, 1, 'Bread and rolls, week 13', '1004', 1866.45, 1, 1),
  ('2026-03-30', '2026-035', 'Counter', 1, 1, 'Bread and rolls, week 14', '1005', 788.30, 1, 1),
  ('2026-03-07', '2026-036', 'Hotel Dam', 1, 2, 'Wedding buffet, 80 guests', '1006', 1234.56, 0, 1),
  ('2026-03-12', '2026-037', 'Hotel Dam', 1, 2, 'Refund, cancelled party', '1007', -100.00, 0, 1),
  ('2026-03-21', '2026-038', 'Town hall', 1, 2, 'Reception lunch', '1008', 412.50, 0, 1),
  ('2026-03-03', 'n/a', 'Mill De Hoop', 0, 3, 'Flour, 25 sacks', '2001', 412.30, 0, 1),
  ('2026-03-17', 'n/a', 'Mill De Hoop', 0, 3, 'Flour, 20 sacks', '2002', 329.84, 0, 1),
  ('2026-03-18', 'n/a', 'Wholesale Smit', 0, 3, 'Yeast and seeds', '2003', 86.15, 1, 1),
  ('2026-03-05', 'n/a', 'Kitchen Co', 0, 4, 'Piping bags', '2004', 12.95, 1, 1),
  ('2026-03-26', 'n/a', 'Kitchen Co', 0, 4, 'Proofing baskets (12)', '2005', 143.40, 0, 1),
  ('2026-03-01', 'n/a', 'Landlord', 0, 5, 'Rent March', '2006', 950.00, 0, 1),
  ('2026-03-28', 'n/a', 'Energy Direct', 0, 6, 'Electricity and gas, March', '2007', 402.77, 0, 1),
  ('2026-03-14', '77', 'Counter', 1, 1, 'Shop bread', '1', 77.77, 1, 2);
COMMIT;)sql";
    sqlite3_exec(db, script, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void pdfPage(const ReportResult& result, const QString& pdf, const QString& png)
{
    WritePdf(result, pdf);
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("90"),
                       QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                       QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, png.chopped(4)});
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("Zantoro.mdb"));
    Schema::CreateDatabaseFileFrom(path, SourceDbFolder());
    fill(path);
    for (const QString& name :
         QDir(SourceDbFolder() + QStringLiteral("/reports")).entryList(QDir::Files))
        QFile::copy(SourceDbFolder() + QStringLiteral("/reports/") + name, temp.filePath(name));
    dbStuff::DB = Database::OpenDatabase(path);
    dbStuff::DBPath = path;
    dbStuff::DBFolder = temp.path() + QLatin1Char('/');

    qint64 business = 0;
    {
        frmPrint window;
        window.show();
        window.cbobusiness->setListIndex(0, true);
        business = window.cbobusiness->ItemData(0);
        window.dt1[0]->setValue(Variant(QDate(2026, 3, 1)));
        window.dt1_Change(0);
        window.dt1[1]->setValue(Variant(QDate(2026, 3, 31)));
        QTest::qWait(100);
        window.grab().save(out.filePath(QStringLiteral("report-selection.png")));

        QTimer poll;
        poll.setInterval(50);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* viewer = qobject_cast<frmCrys*>(QApplication::activeModalWidget());
            if (!viewer || !viewer->Report1.window() || !viewer->Report1.window()->hasReport())
                return;
            poll.stop();
            QTest::qWait(300);
            viewer->grab().save(out.filePath(QStringLiteral("report-preview.png")));
            viewer->close();
        });
        poll.start();
        window.Toolbar1_ButtonClick(QStringLiteral("print"));
    }

    for (const auto& [file, picture] :
         {std::pair{QStringLiteral("Transactions by category.report"),
                    QStringLiteral("report-pdf-transactions.png")},
          std::pair{QStringLiteral("VAT summary.report"), QStringLiteral("report-pdf-vat.png")}}) {
        auto rows = dbStuff::DB->OpenRecordset(QStringLiteral("crys_Default"));
        Ledger ledger(*dbStuff::DB);
        const ReportResult result = BuildReport(
            LoadReportFile(temp.filePath(file)), *rows,
            BusinessReportContext(ledger, business, {QDate(2026, 3, 1), QDate(2026, 3, 31)}));
        pdfPage(result, temp.filePath(QStringLiteral("page.pdf")), out.filePath(picture));
    }
    dbStuff::rsList.reset();
    dbStuff::DB.reset();
    return 0;
}
