// The data pass: the delivered reports over a fixture database give the
// expected text (golden files), money adds up to the cent, and rows the
// report cannot use are refused with a clear message.
//
// To write the golden files anew after a deliberate change of a report file,
// run with ZANTORO_UPDATE_GOLDEN=1 and read the difference before committing.

#include "data/Recordset.h"
#include "ReportFixture.h"
#include "reports/frmPrint.h"
#include "reports/ReportData.h"

#include <QtTest>

namespace {

const QString MarchCriteria = QStringLiteral(
    "WHERE (((Businesses.BusinessId)=%1) AND ((Transactions.TransactionDate)>=#2026-03-01# "
    "And (Transactions.TransactionDate)<=#2026-03-31#));");

ReportResult run(Database& db, const QString& reportFile, const QString& criteria)
{
    if (db.hasQueryDef(QStringLiteral("crys_Default")))
        db.DeleteQueryDef(QStringLiteral("crys_Default"));
    db.CreateQueryDef(QStringLiteral("crys_Default"), frmPrint::ReportSelect + criteria);
    const ReportDefinition definition =
        LoadReportFile(QStringLiteral(ZANTORO_DB_DIR "/reports/") + reportFile);
    auto rows = db.OpenRecordset(QStringLiteral("crys_Default"));
    return BuildReport(definition, *rows);
}

// A report of one text column and one money column over crys_Default.
ReportResult runText(Database& db, const QString& reportText)
{
    auto rows = db.OpenRecordset(QStringLiteral("crys_Default"));
    return BuildReport(ParseReportFile(reportText), *rows);
}

QStringList cellsOf(const ReportResult& result, ReportLine::Kind kind, int column)
{
    QStringList cells;
    for (const ReportLine& line : result.lines)
        if (line.kind == kind)
            cells << line.cells.value(column);
    return cells;
}

} // namespace

class tst_ReportData : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_temp = std::make_unique<TempDatabase>();
        RawDb raw(m_temp->path());
        m_books = ReportFixture::fill(raw);
        m_db = Database::OpenDatabase(m_temp->path());
    }

    void cleanup()
    {
        m_db.reset();
        m_temp.reset();
    }

    void deliveredReportsMatchTheirGoldenText_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<QString>("golden");
        QTest::newRow("transactions by category, March")
            << ReportFixture::TransactionsReport << MarchCriteria << "transactions-march.txt";
        QTest::newRow("VAT summary, March")
            << ReportFixture::VatReport << MarchCriteria << "vat-summary-march.txt";
        QTest::newRow("VAT summary, every date")
            << ReportFixture::VatReport << QStringLiteral("WHERE (((Businesses.BusinessId)=%1));")
            << "vat-summary-all.txt";
        QTest::newRow("transactions, nothing in the period")
            << ReportFixture::TransactionsReport
            << QStringLiteral("WHERE Businesses.BusinessId=%1 AND Transactions.TransactionDate "
                              "<=#2025-12-31#;")
            << "transactions-empty.txt";
    }

    void deliveredReportsMatchTheirGoldenText()
    {
        QFETCH(QString, report);
        QFETCH(QString, criteria);
        QFETCH(QString, golden);

        const QString actual = run(*m_db, report, criteria.arg(m_books.bakery)).toPlainText();

        QFile file(ReportFixture::goldenPath(golden));
        if (qEnvironmentVariableIsSet("ZANTORO_UPDATE_GOLDEN")) {
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(actual.toUtf8());
            QSKIP("golden file written");
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QString expected = QString::fromUtf8(file.readAll());
        QCOMPARE(actual.split(u'\n'), expected.split(u'\n'));
    }

    // Each VAT amount is taken to the cent as printed, half a cent away from
    // zero and without the noise of binary fractions, and the totals are the
    // sums of the printed amounts.
    void vatAmountsAndTotalsAreExactToTheCent()
    {
        const ReportResult result =
            run(*m_db, ReportFixture::TransactionsReport, MarchCriteria.arg(m_books.bakery));
        constexpr int Description = 3;
        constexpr int Vat = 7;

        QStringList rolls;
        QStringList pipingBags;
        for (const ReportLine& line : result.lines) {
            if (line.kind != ReportLine::Kind::Detail)
                continue;
            if (line.cells[Description] == u"Rolls")
                rolls << line.cells[Vat];
            if (line.cells[Description] == u"Piping bag")
                pipingBags << line.cells[Vat];
        }
        QCOMPARE(rolls, QStringList{"0.95"});                        // 9% of 10.50 is 0.945
        QCOMPARE(pipingBags, (QStringList{"0.07", "0.07", "0.07"})); // 21% of 0.35 is 0.0735

        const QStringList footers = cellsOf(result, ReportLine::Kind::GroupFooter, Vat);
        QCOMPARE(footers, (QStringList{"9.95", "238.26", "0.21", "37.14", "0.00"}));
        const QStringList summaries = cellsOf(result, ReportLine::Kind::Summary, Vat);
        QCOMPARE(summaries, (QStringList{"248.21", "37.35", "210.86"}));
    }

    // Rows named by their receipt ids, which follow the fixture's order.
    void groupsAndSortKeysOrderTheRows_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("expected");
        QTest::newRow("group descending, then by date")
            << "group MoneyIn desc\nsort TransactionDate"
            << "2 7 11 12 3 4 5 6 8 9 10";
        QTest::newRow("texts without regard to case") << "sort Relation, TransactionDate"
                                                      << "2 12 7 11 4 5 6 8 3 9 10";
    }

    void groupsAndSortKeysOrderTheRows()
    {
        QFETCH(QString, lines);
        QFETCH(QString, expected);
        run(*m_db, ReportFixture::TransactionsReport, MarchCriteria.arg(m_books.bakery));
        RawDb(m_temp->path())
            .exec("UPDATE Transactions SET Relation = 'counter' WHERE ReceiptId = '12'");

        const ReportResult result =
            runText(*m_db, "title T\ncolumn \"Receipt\" ReceiptId text\n" + lines);

        QCOMPARE(cellsOf(result, ReportLine::Kind::Detail, 0).join(u' '), expected);
    }

    void nullsComeFirstAndLeaveCellsEmpty()
    {
        run(*m_db, ReportFixture::TransactionsReport, MarchCriteria.arg(m_books.bakery));
        const ReportResult result = runText(*m_db, "title T\n"
                                                   "column \"Category\" Category text\n"
                                                   "column \"VAT %\" VAT number\n"
                                                   "column \"VAT\" VatAmount money total\n"
                                                   "group VAT\n"
                                                   "groupfooter row\n"
                                                   "sort Category\n");

        QCOMPARE(cellsOf(result, ReportLine::Kind::GroupFooter, 0),
                 (QStringList{"Rent", "Bread sales", "Catering"}));
        QCOMPARE(cellsOf(result, ReportLine::Kind::GroupFooter, 1), (QStringList{"", "9", "21"}));
        QCOMPARE(cellsOf(result, ReportLine::Kind::GroupFooter, 2),
                 (QStringList{"0.00", "47.09", "238.47"}));
        QCOMPARE(cellsOf(result, ReportLine::Kind::Detail, 2).first(), QString());
    }

    void countsAndSignedSummaries()
    {
        run(*m_db, ReportFixture::TransactionsReport, MarchCriteria.arg(m_books.bakery));
        const ReportResult result =
            runText(*m_db, "title T\n"
                           "column \"Sheet\" Cash yesno \"Cash\" \"Bank\" width 6\n"
                           "column \"Rows\" count\n"
                           "column \"Amount\" TotalPrice money total\n"
                           "details off\n"
                           "group Cash\n"
                           "groupfooter \"{Cash:yesno cash/bank} {count}\"\n"
                           "summary \"all\"\n"
                           "summary \"in\" if MoneyIn\n"
                           "summary \"out\" if not MoneyIn\n"
                           "summary \"net\" signed MoneyIn\n");

        QList<QStringList> lines;
        for (const ReportLine& line : result.lines)
            lines << line.cells;
        QCOMPARE(lines, (QList<QStringList>{
                            {"bank 6", "6", "2,497.56"},
                            {"cash 5", "5", "111.20"},
                            {"all", "11", "2,608.76"},
                            {"in", "4", "1,245.05"},
                            {"out", "7", "1,363.71"},
                            {"net", "11", "-118.66"},
                        }));
    }

private:
    std::unique_ptr<TempDatabase> m_temp;
    std::unique_ptr<Database> m_db;
    ReportFixture::Books m_books;
};

QTEST_GUILESS_MAIN(tst_ReportData)
#include "tst_reportdata.moc"
