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

    void pdfCarriesTheFiguresOfTheText()
    {
        TempDatabase temp;
        const qint64 bakery = ReportFixture::fill(*std::make_unique<RawDb>(temp.path())).bakery;
        const ReportResult result = ReportFixture::runReport(
            *Database::OpenDatabase(temp.path()), ReportFixture::TransactionsReport,
            ReportFixture::MarchCriteria.arg(bakery));
        const QString pdf = temp.filePath(QStringLiteral("report.pdf"));

        WritePdf(result, pdf);

        const QString text = ReportFixture::pdfText(pdf);
        const QStringList expected = ReportFixture::amounts(result.toPlainText());
        QVERIFY(expected.size() > 20);
        QCOMPARE(ReportFixture::amounts(text), expected);
        QVERIFY(text.contains(QStringLiteral("Bakery Janssen")));
        // A text too long for its column is cut there; the next column keeps its place.
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
