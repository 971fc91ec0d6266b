// Reading report files and formatting their values: the delivered files are
// read as meant, a mistake is reported with its line, and values come out in
// the program's forms, money taken to the cent half away from zero.

#include "platform/VbError.h"
#include "reports/ReportDefinition.h"

#include <QtTest>

Q_DECLARE_METATYPE(Variant)

namespace {

QString deliveredFile(const QString& name)
{
    return QStringLiteral(ZANTORO_DB_DIR "/reports/") + name;
}

} // namespace

class tst_ReportFile : public QObject
{
    Q_OBJECT

private slots:
    void deliveredFilesAreReadAsMeant()
    {
        const ReportDefinition transactions =
            LoadReportFile(deliveredFile(QStringLiteral("Transactions by category.report")));
        QStringList totals;
        for (const ReportColumn& column : transactions.columns)
            if (column.total)
                totals << column.caption;
        QCOMPARE(totals, (QStringList{"Amount", "VAT"}));
        QCOMPARE(transactions.groups[0].key.field, QStringLiteral("Category"));
        QCOMPARE(transactions.summaries[2].mode, SummaryLine::Mode::Signed);

        const ReportDefinition vat =
            LoadReportFile(deliveredFile(QStringLiteral("VAT summary.report")));
        QVERIFY(!vat.details);
        QVERIFY(vat.groups[0].key.descending);
        QVERIFY(vat.groups[1].footerRow);
        QCOMPARE(vat.columns.last().fields, (QStringList{"TotalPrice", "VatAmount"}));
    }

    void mistakesAreReportedWithTheirLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("fragment");
        const QString head = QStringLiteral("title T\ncolumn \"A\" Description text\n");
        QTest::newRow("no title") << "column \"A\" X text" << 0 << "no title";
        QTest::newRow("unknown keyword") << head + "colum \"B\" X text" << 3 << "colum";
        QTest::newRow("open quote") << "title \"T\ncolumn \"A\" X text" << 1 << "not closed";
        QTest::newRow("column without format") << "title T\ncolumn \"A\" X" << 2 << "no format";
        QTest::newRow("total on text") << "title T\ncolumn \"A\" X text total" << 2 << "money";
        QTest::newRow("date pattern")
            << "title T\ncolumn \"A\" X date \"dd/qq\"" << 2 << "date pattern";
        QTest::newRow("number pattern")
            << "title T\ncolumn \"A\" X number \"0.0.0\"" << 2 << "number pattern";
        QTest::newRow("field name") << "title T\ncolumn \"A\" Bad-Name text" << 2 << "Bad-Name";
        QTest::newRow("group header without group") << head + "groupheader \"x\"" << 3 << "group";
        QTest::newRow("page number in a page header")
            << head + "pageheader \"{page}\"" << 3 << "page footer";
        QTest::newRow("field in the page footer")
            << head + "pagefooter \"{Name}\"" << 3 << "page footer";
        QTest::newRow("placeholder not closed")
            << head + "pageheader \"{Name\"" << 3 << "not closed";
        QTest::newRow("unknown format") << head + "pageheader \"{Name:colour}\"" << 3 << "colour";
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

    void placeholdersAndBraces()
    {
        const ReportDefinition def = ParseReportFile(
            "title T\ncolumn \"A\" Description text\n"
            "pageheader \"{{{Name}}} {min TransactionDate:date d-M-yy} {count}\"\n");
        using Kind = TextTemplate::Part::Kind;
        QList<Kind> kinds;
        QStringList texts;
        for (const TextTemplate::Part& part : def.pageHeaders[0].parts) {
            kinds << part.kind;
            texts << part.text;
        }
        QCOMPARE(kinds, (QList<Kind>{Kind::Literal, Kind::First, Kind::Literal, Kind::Min,
                                     Kind::Literal, Kind::Count}));
        QCOMPARE(texts, (QStringList{"{", "Name", "} ", "TransactionDate", " ", ""}));
        QCOMPARE(def.pageHeaders[0].parts[3].format.pattern, QStringLiteral("d-M-yy"));
        QCOMPARE(def.pageFooter.usesPageNumbers(), true); // the default footer
    }

    void valuesAreFormatted_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("money grouped") << "money" << Variant(1234.5) << "1,234.50";
        QTest::newRow("money half cent up") << "money" << Variant(0.125) << "0.13";
        QTest::newRow("money half cent down") << "money" << Variant(-0.125) << "-0.13";
        QTest::newRow("money binary noise") << "money" << Variant(0.09 * 10.5) << "0.95";
        QTest::newRow("money not a number") << "money" << Variant("n/a") << "n/a";
        QTest::newRow("number whole") << "number \"0.##\"" << Variant(21.0) << "21";
        QTest::newRow("number no minus zero") << "number \"0.##\"" << Variant(-0.001) << "0";
        QTest::newRow("date") << "date \"dd/MMM/yyyy\"" << Variant(QDate(2026, 3, 1))
                              << "01/Mar/2026";
        QTest::newRow("date from text") << "date" << Variant("2026-12-05") << "05/Dec/2026";
        QTest::newRow("yes") << "yesno \"Cash\" \"Bank\"" << Variant(true) << "Cash";
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
