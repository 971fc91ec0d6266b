// The data pass: the delivered reports over a fixture database give the
// expected text (golden files), money adds up to the cent, and rows the
// report cannot use are refused with a clear message.
//
// To write the golden files anew after a deliberate change of a report file,
// run with ZANTORO_UPDATE_GOLDEN=1 and read the difference before committing.

#include "platform/ProgramLocale.h"
#include "ReportFixture.h"

#include <QtTest>

using ReportFixture::MarchCriteria;
using ReportFixture::runReport;

class tst_ReportData : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_temp = std::make_unique<TempDatabase>();
        RawDb raw(m_temp->path());
        m_books = ReportFixture::fill(raw);
        m_large = ReportFixture::fillLarge(raw);
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
        QTest::addColumn<bool>("large");
        QTest::addColumn<ReportPeriod>("period");
        QTest::addColumn<QString>("golden");
        using ReportFixture::TransactionsReport;
        using ReportFixture::VatReport;
        const QDate mid(2026, 3, 15);
        const QDate end(2026, 3, 31);
        QTest::newRow("transactions by category, March")
            << TransactionsReport << false << ReportFixture::March << "transactions-march.txt";
        QTest::newRow("VAT summary, March")
            << VatReport << false << ReportFixture::March << "vat-summary-march.txt";
        QTest::newRow("VAT summary, from a start date")
            << VatReport << false << ReportPeriod{mid, {}} << "vat-summary-from.txt";
        QTest::newRow("VAT summary, up to an end date")
            << VatReport << false << ReportPeriod{{}, end} << "vat-summary-upto.txt";
        QTest::newRow("VAT summary, every date")
            << VatReport << false << ReportPeriod{} << "vat-summary-all.txt";
        QTest::newRow("transactions, nothing in the period")
            << TransactionsReport << false << ReportPeriod{{}, QDate(2025, 12, 31)}
            << "transactions-empty.txt";
        QTest::newRow("transactions, figures up to 999,999,999.99")
            << TransactionsReport << true << ReportFixture::November << "transactions-large.txt";
        QTest::newRow("VAT summary, figures up to 999,999,999.99")
            << VatReport << true << ReportFixture::November << "vat-summary-large.txt";
    }

    void deliveredReportsMatchTheirGoldenText()
    {
        QFETCH(QString, report);
        QFETCH(bool, large);
        QFETCH(ReportPeriod, period);
        QFETCH(QString, golden);

        const QString actual =
            runReport(*m_db, report, large ? m_large : m_books.bakery, period).toPlainText();

        QFile file(QStringLiteral(ZANTORO_DB_DIR "/../tests/reports/golden/") + golden);
        if (qEnvironmentVariableIsSet("ZANTORO_UPDATE_GOLDEN")) {
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(actual.toUtf8());
            QSKIP("golden file written");
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QString expected = QString::fromUtf8(file.readAll());
        QCOMPARE(actual.split(u'\n'), expected.split(u'\n'));
    }

    // Rows named by their receipt ids, which follow the fixture's order.
    void groupsAndSortKeysOrderTheRows_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("expected");
        QTest::newRow("texts without regard to case") << "sort Relation, TransactionDate"
                                                      << "2 12 7 11 4 5 6 8 3 9 10";
        QTest::newRow("nulls first") << "sort VAT, TransactionDate"
                                     << "8 2 3 9 10 12 4 5 6 7 11";
    }

    void groupsAndSortKeysOrderTheRows()
    {
        QFETCH(QString, lines);
        QFETCH(QString, expected);
        ReportFixture::writeQuery(*m_db, MarchCriteria.arg(m_books.bakery));
        RawDb(m_temp->path())
            .exec("UPDATE Transactions SET Relation = 'counter' WHERE ReceiptId = '12'");

        auto rows = m_db->OpenRecordset(QStringLiteral("crys_Default"));
        const ReportResult result = BuildReport(
            ParseReportFile("title T\ncolumn \"Receipt\" ReceiptId text\n" + lines), *rows);

        QStringList receipts;
        for (const ReportLine& line : result.lines)
            if (line.kind == ReportLine::Kind::Detail)
                receipts << line.cells.value(0);
        QCOMPARE(receipts.join(u' '), expected);
    }

    // Each row's VAT is its amount times the stored REAL rate, exact in
    // decimal and rounded once to the cent; the total is the sum of the rows.
    void vatIsTheExactProductRoundedOnce_data()
    {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QVariant>("rate");
        QTest::addColumn<QString>("vat");
        // The half cents below the cent (1,853.52496, 2.20495) are in the
        // large figures' golden text.
        QTest::newRow("a refund") << -40.09 << QVariant(5.5) << "-2.20";
        QTest::newRow("a true half cent goes up") << 10.50 << QVariant(9.0) << "0.95";
        QTest::newRow("no rate") << 100.0 << QVariant() << "";
    }

    void vatIsTheExactProductRoundedOnce()
    {
        QFETCH(double, amount);
        QFETCH(QVariant, rate);
        QFETCH(QString, vat);
        qint64 business = 0;
        {
            RawDb raw(m_temp->path());
            business = raw.business(QStringLiteral("Rates"));
            const qint64 category = raw.category(QStringLiteral("Rated"), true, rate);
            for (int copy = 0; copy < 2; ++copy)
                raw.exec(QStringLiteral("INSERT INTO Transactions (BusinessId, TransactionDate, "
                                        "CategoryId, Cash, MoneyIn, TotalPrice) VALUES "
                                        "(?1, '2026-03-01', ?2, 1, 1, ?3)"),
                         {business, category, amount});
        }
        ReportFixture::writeQuery(*m_db,
                                  QStringLiteral("WHERE Businesses.BusinessId=%1;").arg(business));
        auto rows = m_db->OpenRecordset(QStringLiteral("crys_Default"));
        const ReportResult result =
            BuildReport(ParseReportFile("title T\ncolumn \"Category\" Category text\n"
                                        "column \"VAT\" VatAmount money total\nsummary \"All\"\n"),
                        *rows);

        QStringList cells;
        for (const ReportLine& line : result.lines)
            cells << line.cells.value(1);
        const QString twice =
            vat.isEmpty()
                ? QString()
                : ProgramLocale::formatMoney(Currency::fromString(vat) + Currency::fromString(vat));
        QCOMPARE(cells, QStringList({vat, vat, twice.isEmpty() ? QStringLiteral("0.00") : twice}));
    }

private:
    std::unique_ptr<TempDatabase> m_temp;
    std::unique_ptr<Database> m_db;
    ReportFixture::Books m_books;
    qint64 m_large = 0;
};

QTEST_GUILESS_MAIN(tst_ReportData)
#include "tst_reportdata.moc"
