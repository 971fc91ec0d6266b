// Paper: the pages of a report, as PDF, carry exactly the figures of its text
// form, in the same order; long reports break into pages that each carry the
// title, the captions and their page number.

#include "platform/ProgramLocale.h"
#include "ReportFixture.h"
#include "reports/ReportRender.h"

#include <QPageSize>
#include <QPrinter>
#include <QtTest>

namespace {

// A report of `count` numbered rows, made without a database.
ReportResult longReport(int count)
{
    ReportResult result;
    result.title = QStringLiteral("Long report");
    result.pageHeaders << QStringLiteral("Every row numbered");
    result.pageFooter = ParseReportFile("title T\ncolumn \"A\" X text\n").pageFooter;
    result.columns = {{QStringLiteral("No."), 6, true}, {QStringLiteral("Amount"), 12, true}};
    for (int i = 1; i <= count; ++i)
        result.lines << ReportLine{
            ReportLine::Kind::Detail,
            0,
            1,
            {QString::number(i), ProgramLocale::formatMoney(Currency::fromRaw(i * 10'101LL))}};
    return result;
}

} // namespace

class tst_ReportPdf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
                 "pdftotext (poppler-utils) is needed; scripts/deps installs it");
    }

    // Every figure stands on paper in full, in the order of the text form,
    // under the business, its VAT number and the period chosen.
    void pdfCarriesTheFiguresOfTheText_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<bool>("large");
        QTest::addColumn<ReportPeriod>("period");
        QTest::addColumn<QStringList>("shown");
        using ReportFixture::TransactionsReport;
        QTest::newRow("transactions, March")
            << TransactionsReport << false << ReportFixture::March
            << QStringList{"Bakery Janssen", "VAT number: NL001234567B01",
                           "Period: 01/Mar/2026 to 31/Mar/2026", "1,234.56"};
        QTest::newRow("transactions, large figures")
            << TransactionsReport << true << ReportFixture::November
            << QStringList{"Bigwig Holdings", "Period: 01/Nov/2026 to 30/Nov/2026",
                           "12,345,678.90",   "987,654,321.09",
                           "999,999,999.99",  "999,990,503.14",
                           "1,853.52",        "2.20"};
        QTest::newRow("VAT summary, large figures, from a date")
            << ReportFixture::VatReport << true << ReportPeriod{QDate(2026, 11, 1), {}}
            << QStringList{"VAT number: GB123456789", "Period: from 01/Nov/2026", "999,999,999.99",
                           "11,310.28", "1,855.72"};
        QTest::newRow("nothing in the period")
            << TransactionsReport << false << ReportPeriod{{}, QDate(2025, 12, 31)}
            << QStringList{"Bakery Janssen", "VAT number: NL001234567B01",
                           "Period: up to 31/Dec/2025", "There are no transactions"};
    }

    void pdfCarriesTheFiguresOfTheText()
    {
        QFETCH(QString, report);
        QFETCH(bool, large);
        QFETCH(ReportPeriod, period);
        QFETCH(QStringList, shown);
        TempDatabase temp;
        qint64 business = 0;
        {
            RawDb raw(temp.path());
            const qint64 bakery = ReportFixture::fill(raw).bakery;
            const qint64 bigwig = ReportFixture::fillLarge(raw);
            business = large ? bigwig : bakery;
        }
        const ReportResult result = ReportFixture::runReport(*Database::OpenDatabase(temp.path()),
                                                             report, business, period);
        const QString pdf = temp.filePath(QStringLiteral("report.pdf"));

        WritePdf(result, pdf);

        const QString text = ReportFixture::pdfText(pdf);
        QCOMPARE(ReportFixture::amounts(text), ReportFixture::amounts(result.toPlainText()));
        for (const QString& part : shown)
            QVERIFY2(text.contains(part), qPrintable(part + u'\n' + text));
    }

    // A text too long for its column is cut there; the next column keeps its place.
    void longTextsAreCutAtTheirColumn()
    {
        TempDatabase temp;
        const qint64 bakery = ReportFixture::fill(*std::make_unique<RawDb>(temp.path())).bakery;
        const ReportResult result = ReportFixture::runReport(*Database::OpenDatabase(temp.path()),
                                                             ReportFixture::TransactionsReport,
                                                             bakery, ReportFixture::March);
        const QString pdf = temp.filePath(QStringLiteral("report.pdf"));

        WritePdf(result, pdf);

        const QString text = ReportFixture::pdfText(pdf);
        QVERIFY(!text.contains(QStringLiteral("does not fit its column")));
        const QString line = text.section(QStringLiteral("A very long"), 1).section(u'\n', 0, 0);
        QVERIFY2(line.contains(QStringLiteral("Mill")), qPrintable(line));
    }

    void longReportsBreakIntoNumberedPages()
    {
        QTemporaryDir dir;
        const ReportResult result = longReport(600);
        const QString pdf = dir.filePath(QStringLiteral("long.pdf"));

        WritePdf(result, pdf);

        const QStringList pages = ReportFixture::pdfText(pdf).split(u'\f', Qt::SkipEmptyParts);
        QVERIFY(pages.size() > 5);
        for (int page = 1; page <= pages.size(); ++page) {
            const QString& text = pages[page - 1];
            QVERIFY2(text.contains(QStringLiteral("Every row numbered")), qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("Amount")));
            QVERIFY(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages.size())));
        }
        // No row lost or doubled at a page break.
        QCOMPARE(ReportFixture::amounts(pages.join(u'\n')),
                 ReportFixture::amounts(result.toPlainText()));

        // A printer's page range prints only those pages, numbered as in the whole.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("range.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        QVERIFY(PrintReport(result, printer));
        const QStringList range =
            ReportFixture::pdfText(printer.outputFileName()).split(u'\f', Qt::SkipEmptyParts);
        QCOMPARE(range.size(), 2);
        QVERIFY(range[0].contains(QStringLiteral("Page 2 of %1").arg(pages.size())));
        QVERIFY(range[1].contains(QStringLiteral("Page 3 of %1").arg(pages.size())));
    }
};

QTEST_MAIN(tst_ReportPdf)
#include "tst_reportpdf.moc"
