// The "Changes" report: what changed in a business's records in a period,
// with the values before and after, in its text form and on paper.

#include "ReportFixture.h"
#include "reports/ChangesReport.h"
#include "reports/ReportRender.h"

#include <QDate>
#include <QTemporaryDir>

namespace {

// The words of a piece in order on one line, with any blanks between them:
// the text form and the PDF space columns differently.
QRegularExpression wordsOf(const QString& piece)
{
    QStringList words = piece.split(u' ', Qt::SkipEmptyParts);
    for (QString& word : words)
        word = QRegularExpression::escape(word);
    return QRegularExpression(words.join(QStringLiteral("[ \\t]+")));
}

} // namespace

class tst_ChangesReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
                 "pdftotext (poppler-utils) is needed; scripts/deps installs it");
    }

    // An update lists the fields it changed and no other; the business's own
    // changes and its categories' are in it, another business's are not.
    void changesOfTheBusinessAndPeriod_data()
    {
        QTest::addColumn<ReportPeriod>("period");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("absent");
        const QDate today = QDate::currentDate();
        // Each piece is a run of words on one line, any blanks between them.
        const QStringList changes{"Bakery Janssen",
                                  "Period:",
                                  "transaction 1 changed (outside the program)",
                                  "Description Stationery Rolls",
                                  "Amount 10.00 1,234.50",
                                  "category Flour changed",
                                  "VAT % 9 21",
                                  "category Oven deleted",
                                  "business Bakery Janssen changed",
                                  "Account number NL91 0001"};
        const QStringList others{"Garage", "Tyres", "Relation Abbey Abbey",
                                 "No record of this business"};
        QTest::newRow("all dates") << ReportPeriod{} << changes << others;
        QTest::newRow("today") << ReportPeriod{today, today} << changes << others;
        QTest::newRow("up to yesterday")
            << ReportPeriod{std::nullopt, today.addDays(-1)}
            << QStringList{"No record of this business was changed in the chosen period."}
            << QStringList{"1,234.50", "Flour"};
    }

    void changesOfTheBusinessAndPeriod()
    {
        QFETCH(ReportPeriod, period);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, absent);
        TempDatabase file;
        RawDb raw(file.path());
        const qint64 bakery = raw.business("Bakery Janssen");
        const qint64 garage = raw.business("Garage");
        const qint64 flour = raw.category("Flour", false, 9.0);
        const qint64 oven = raw.category("Oven", false, 21.0);
        const qint64 tyres = raw.category("Tyres", false, 21.0);
        raw.allocate(flour, bakery);
        raw.allocate(oven, bakery);
        raw.allocate(tyres, garage);
        TxRow row;
        row.business = bakery;
        row.category = flour;
        const qint64 bread = raw.transaction(row);
        row.business = garage;
        row.category = tyres;
        const qint64 tyre = raw.transaction(row);
        raw.exec("UPDATE Transactions SET TotalPrice = 1234.5, Description = 'Rolls' "
                 "WHERE TransactionId = ?1",
                 {bread});
        raw.exec("UPDATE Transactions SET Description = 'Garage rent' WHERE TransactionId = ?1",
                 {tyre});
        raw.exec("UPDATE Categories SET VAT = 21 WHERE CategoryId = ?1", {flour});
        raw.exec("UPDATE Categories SET VAT = 6 WHERE CategoryId = ?1", {tyres});
        raw.exec("UPDATE Businesses SET accountnr = 'NL91 0001' WHERE BusinessId = ?1", {bakery});
        raw.exec("DELETE FROM Categories WHERE CategoryId = ?1", {oven});

        auto db = Database::OpenDatabase(file.path());
        const ReportResult result = BuildChangesReport(*db, bakery, period);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("changes.pdf");
        WritePdf(result, pdf);
        const QString paper = ReportFixture::pdfText(pdf);
        const QString text = result.toPlainText();
        for (const QString& piece : shown) {
            QVERIFY2(wordsOf(piece).match(text).hasMatch(), qPrintable(piece + "\n" + text));
            QVERIFY2(wordsOf(piece).match(paper).hasMatch(), qPrintable(piece + "\n" + paper));
        }
        for (const QString& piece : absent)
            QVERIFY2(!wordsOf(piece).match(text).hasMatch(), qPrintable(piece + "\n" + text));
    }
};

QTEST_MAIN(tst_ChangesReport)
#include "tst_changesreport.moc"
