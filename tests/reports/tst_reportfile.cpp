// Reading report files and formatting their values: the delivered files are
// read as meant, a mistake is reported with its line, and values come out in
// the program's forms, money taken to the cent half away from zero.

#include "platform/VbError.h"
#include "reports/ReportDefinition.h"

#include <QtTest>

Q_DECLARE_METATYPE(Variant)

class tst_ReportFile : public QObject
{
    Q_OBJECT

private slots:
    void mistakesAreReportedWithTheirLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("fragment");
        const QString head = QStringLiteral("title T\ncolumn \"A\" Description text\n");
        QTest::newRow("no title") << "column \"A\" X text" << 0 << "no title";
        QTest::newRow("unknown keyword") << head + "colum \"B\" X text" << 3 << "colum";
        QTest::newRow("open quote") << "title \"T\ncolumn \"A\" X text" << 1 << "not closed";
        QTest::newRow("total on text") << "title T\ncolumn \"A\" X text total" << 2 << "money";
        QTest::newRow("group header without group") << head + "groupheader \"x\"" << 3 << "group";
        QTest::newRow("page number in a page header")
            << head + "pageheader \"{page}\"" << 3 << "page footer";
        QTest::newRow("period with a format")
            << head + "pageheader \"{period:date dd/MM/yyyy}\"" << 3 << "no format";
        QTest::newRow("period in the page footer")
            << head + "pagefooter \"{period}\"" << 3 << "page footer";
        QTest::newRow("label before a first total")
            << "title T\ncolumn \"A\" TotalPrice money total\nsummary \"S\"" << 0 << "first column";
    }

    void mistakesAreReportedWithTheirLine()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, fragment);
        try {
            ParseReportFile(text);
            QFAIL("a broken report file was accepted");
        } catch (const ReportFileError& e) {
            QCOMPARE(e.line(), line);
            QVERIFY2(e.message().contains(fragment), qPrintable(e.message()));
            QCOMPARE(e.text().startsWith(QStringLiteral("line ")), line > 0);
        }
    }

    void valuesAreFormatted_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("money half cent up") << "money" << Variant(0.125) << "0.13";
        QTest::newRow("money half cent down") << "money" << Variant(-0.125) << "-0.13";
        QTest::newRow("money binary noise") << "money" << Variant(0.09 * 10.5) << "0.95";
        QTest::newRow("money not a number") << "money" << Variant("n/a") << "n/a";
        QTest::newRow("number whole") << "number \"0.##\"" << Variant(21.0) << "21";
        QTest::newRow("number no minus zero") << "number \"0.##\"" << Variant(-0.001) << "0";
        QTest::newRow("date from text") << "date" << Variant("2026-12-05") << "05/Dec/2026";
    }

    void valuesAreFormatted()
    {
        QFETCH(QString, format);
        QFETCH(Variant, value);
        QFETCH(QString, expected);
        const ReportDefinition def = ParseReportFile("title T\ncolumn \"A\" X " + format);
        QCOMPARE(def.columns[0].format.apply(value), expected);
    }
};

QTEST_GUILESS_MAIN(tst_ReportFile)
#include "tst_reportfile.moc"
