// Reading report files and formatting their values: the delivered files are
// read as meant, a mistake is reported with its line, and values come out in
// the program's forms with money exact to the cent.

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
        QCOMPARE(transactions.title, QStringLiteral("Transactions by category"));
        QStringList captions;
        QStringList totals;
        for (const ReportColumn& column : transactions.columns) {
            captions << column.caption;
            if (column.total)
                totals << column.fields.join(u'+');
        }
        QCOMPARE(captions, (QStringList{"Date", "Sheet", "Receipt", "Description", "Relation",
                                        "VAT %", "Amount", "VAT"}));
        QCOMPARE(totals, (QStringList{"TotalPrice", "VatAmount"}));
        QCOMPARE(transactions.groups.size(), 1);
        QCOMPARE(transactions.groups[0].key.field, QStringLiteral("Category"));
        QCOMPARE(transactions.summaries.size(), 3);
        QCOMPARE(transactions.summaries[2].mode, SummaryLine::Mode::Signed);

        const ReportDefinition vat =
            LoadReportFile(deliveredFile(QStringLiteral("VAT summary.report")));
        QVERIFY(!vat.details);
        QCOMPARE(vat.groups.size(), 2);
        QVERIFY(vat.groups[0].key.descending);
        QVERIFY(vat.groups[1].footerRow);
        QCOMPARE(vat.columns.last().fields, (QStringList{"TotalPrice", "VatAmount"}));
        QVERIFY(vat.columns[2].count);
    }

    void mistakesAreReportedWithTheirLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("fragment");
        const QString head = QStringLiteral("title T\ncolumn \"A\" Description text\n");
        QTest::newRow("no title") << "column \"A\" X text" << 0 << "no title";
        QTest::newRow("no column") << "title T" << 0 << "no column";
        QTest::newRow("unknown keyword") << head + "colum \"B\" X text" << 3 << "colum";
        QTest::newRow("open quote") << "title \"T\ncolumn \"A\" X text" << 1 << "not closed";
        QTest::newRow("title twice") << head + "title U" << 3 << "twice";
        QTest::newRow("column without format") << "title T\ncolumn \"A\" X" << 2 << "no format";
        QTest::newRow("total on text") << "title T\ncolumn \"A\" X text total" << 2 << "money";
        QTest::newRow("date pattern")
            << "title T\ncolumn \"A\" X date \"dd/qq\"" << 2 << "date pattern";
        QTest::newRow("number pattern")
            << "title T\ncolumn \"A\" X number \"0.0.0\"" << 2 << "number pattern";
        QTest::newRow("field name") << "title T\ncolumn \"A\" Bad-Name text" << 2 << "Bad-Name";
        QTest::newRow("width") << "title T\ncolumn \"A\" X text width 0" << 2 << "width";
        QTest::newRow("font size") << head + "fontsize 40" << 3 << "font size";
        QTest::newRow("group header without group") << head + "groupheader \"x\"" << 3 << "group";
        QTest::newRow("page number in a page header")
            << head + "pageheader \"{page}\"" << 3 << "page footer";
        QTest::newRow("field in the page footer")
            << head + "pagefooter \"{Name}\"" << 3 << "page footer";
        QTest::newRow("placeholder not closed")
            << head + "pageheader \"{Name\"" << 3 << "not closed";
        QTest::newRow("stray brace") << head + "pageheader \"a } b\"" << 3 << "}}";
        QTest::newRow("unknown format") << head + "pageheader \"{Name:colour}\"" << 3 << "colour";
        QTest::newRow("summary form") << head + "summary \"S\" if" << 3 << "summary";
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

    void aMissingFileIsNamed()
    {
        const QString path = QStringLiteral("/nonexistent/No such report.report");
        try {
            LoadReportFile(path);
            QFAIL("a missing report file was read");
        } catch (const ReportFileError& e) {
            QVERIFY2(e.message().contains(path), qPrintable(e.message()));
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
        QTest::newRow("money large")
            << "money" << Variant(Currency::fromRaw(10'000'000'000'000)) << "1,000,000,000.00";
        QTest::newRow("money half cent up") << "money" << Variant(0.125) << "0.13";
        QTest::newRow("money half cent down") << "money" << Variant(-0.125) << "-0.13";
        QTest::newRow("money under half a cent") << "money" << Variant(0.0049) << "0.00";
        QTest::newRow("money binary noise") << "money" << Variant(0.09 * 10.5) << "0.95";
        QTest::newRow("money not a number") << "money" << Variant("n/a") << "n/a";
        QTest::newRow("money null") << "money" << Variant::null() << "";
        QTest::newRow("number whole") << "number \"0.##\"" << Variant(21.0) << "21";
        QTest::newRow("number half") << "number \"0.##\"" << Variant(9.5) << "9.5";
        QTest::newRow("number no minus zero") << "number \"0.##\"" << Variant(-0.001) << "0";
        QTest::newRow("number grouped")
            << "number \"#,##0.00\"" << Variant(-1234567.891) << "-1,234,567.89";
        QTest::newRow("date") << "date \"dd/MMM/yyyy\"" << Variant(QDate(2026, 3, 1))
                              << "01/Mar/2026";
        QTest::newRow("date short") << "date \"d-M-yy\"" << Variant(QDate(2026, 3, 1)) << "1-3-26";
        QTest::newRow("date from text") << "date" << Variant("2026-12-05") << "05/Dec/2026";
        QTest::newRow("yes") << "yesno \"Cash\" \"Bank\"" << Variant(true) << "Cash";
        QTest::newRow("no") << "yesno \"Cash\" \"Bank\"" << Variant(false) << "Bank";
        QTest::newRow("text of a number") << "text" << Variant(qint64(42)) << "42";
    }

    void valuesAreFormatted()
    {
        QFETCH(QString, format);
        QFETCH(Variant, value);
        QFETCH(QString, expected);
        const ReportDefinition def = ParseReportFile("title T\ncolumn \"A\" X " + format);
        QCOMPARE(def.columns[0].format.apply(value), expected);
    }

    void centsRoundHalfAwayFromZero_data()
    {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<qint64>("cents");
        QTest::newRow("half up") << qint64(50) << qint64(100);
        QTest::newRow("half down") << qint64(-50) << qint64(-100);
        QTest::newRow("below half") << qint64(49) << qint64(0);
        QTest::newRow("above half, negative") << qint64(-12355) << qint64(-12400);
        QTest::newRow("whole cents stay") << qint64(12300) << qint64(12300);
    }

    void centsRoundHalfAwayFromZero()
    {
        QFETCH(qint64, raw);
        QFETCH(qint64, cents);
        QCOMPARE(ToCents(Currency::fromRaw(raw)).raw(), cents);
    }
};

QTEST_GUILESS_MAIN(tst_ReportFile)
#include "tst_reportfile.moc"
