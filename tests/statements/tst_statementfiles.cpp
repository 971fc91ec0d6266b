#include "statements/CsvText.h"
#include "statements/StatementReaders.h"
#include "statements/StatementValues.h"
#include "support/DataRows.h"

#include <QFile>
#include <QtTest>

#include <ctime>

namespace {

using StatementReaders::readFile;

// "date|amount|counterparty|text|reference" per line, amounts exact.
QStringList describe(const Statement& s)
{
    QStringList rows;
    for (const StatementLine& l : s.lines) {
        rows << QStringList{l.date.toString(Qt::ISODate), StatementValues::plainAmount(l.amount),
                            l.counterparty, l.text, l.reference}
                    .join(QLatin1Char('|'));
    }
    return rows;
}

CsvMapping bankCsv()
{
    CsvMapping m;
    m.date = 0;
    m.counterparty = 1;
    m.text = 2;
    m.amount = 3;
    m.reference = 4;
    return m;
}

QString sample(const QString& name)
{
    return QFINDTESTDATA(QStringLiteral("samples/") + name);
}

QString writeTemp(QTemporaryDir& dir, const QByteArray& content)
{
    const QString path = dir.filePath(QStringLiteral("statement"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

} // namespace

class tst_StatementFiles : public QObject
{
    Q_OBJECT

private slots:
    // Dates are the days the files write wherever the program runs: the
    // readers run fourteen hours east of UTC here.
    void initTestCase()
    {
        qputenv("TZ", "Pacific/Kiritimati");
        tzset();
    }
    void samples_data();
    void samples();
    void refused_data();
    void refused();
    void amounts_data();
    void amounts();
    void csvRoundTrip();
};

void tst_StatementFiles::samples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("balances");
    // The same month from three banks: a two-transaction batch, a reversal and
    // a pending entry (left out) in camt; :86: over several lines, a name cut
    // across ?32/?33, "12," without decimals and RC in MT940.
    const QStringList month{
        "2026-03-02|250.00|Bakker & Zn|Invoice 2026-014 thank you|REF-0001",
        "2026-03-05|-50.00|Shell Station 12|Fuel|REF-0002-A",
        "2026-03-05|-33.45|Office World|Paper|REF-0002/2",
        "2026-03-09|-12.00||Reversal of fee|",
        "2026-03-31|262.00|Jansen|Payment|REF-0004",
    };
    QTest::newRow("camt.053") << "batch.camt053.xml" << month << "1000.00 1416.55";
    QTest::newRow("mt940") << "umsatz.mt940"
                           << QStringList{
                                  "2026-03-02|250.00|Bakker & Zn|Invoice 2026-014 thank you|B6C02",
                                  "2026-03-05|-83.45|Shell Station 12|Fuel and paper|KUNDE-77",
                                  "2026-03-09|-12.00||Reversal of fee for March|",
                                  "2026-03-31|262.00||Payment Jansen|B6C31",
                              }
                           << "1000.00 1416.55";
    QTest::newRow("csv with BOM, quoted separator and line break")
        << "bom.csv"
        << QStringList{"2026-03-02|1250.00|Bakker & Zn|Invoice 2026-014; \"final\"|R1",
                       "2026-03-05|-83.45|Müller GmbH|two lines|R2", "2026-03-09|-12.00|Bank|Fee|"}
        << "- -";
    QTest::newRow("ofx") << "statement.ofx"
                         << QStringList{"2026-03-02|250.00|Bakker & Zn|Invoice 2026-014|F-0001",
                                        "2026-03-05|-83.45|Shell Station 12|Fuel|F-0002"}
                         << "- 1166.55";
}

void tst_StatementFiles::samples()
{
    QFETCH(QString, file);
    QFETCH(QStringList, expected);
    QFETCH(QString, balances);
    const Statement s = readFile(sample(file), bankCsv());
    QCOMPARE(describe(s), expected);
    auto balance = [](const std::optional<Currency>& c) {
        return c ? StatementValues::plainAmount(*c) : QStringLiteral("-");
    };
    QCOMPARE(balance(s.opening) + QLatin1Char(' ') + balance(s.closing), balances);
}

void tst_StatementFiles::refused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    const QByteArray camtHead = "<?xml version=\"1.0\"?>\n<Document><BkToCstmrStmt><Stmt>\n";
    QTest::newRow("truncated xml") << camtHead + "<Ntry><Amt>1.00</Amt>\n<CdtDbtInd>CR"
                                   << "line 4: the file ends before its XML is complete";
    QTest::newRow("camt date")
        << camtHead +
               "<Ntry><Amt>1.00</Amt><CdtDbtInd>CRDT</CdtDbtInd>\n"
               "<BookgDt><Dt>2026-02-30</Dt></BookgDt></Ntry></Stmt></BkToCstmrStmt></Document>"
        << "line 4: the date 2026-02-30 is not a date";
    QTest::newRow("camt amount")
        << camtHead +
               "<Ntry>\n<Amt>1,00</Amt><CdtDbtInd>CRDT</CdtDbtInd>"
               "<BookgDt><Dt>2026-02-03</Dt></BookgDt></Ntry></Stmt></BkToCstmrStmt></Document>"
        << "line 4: the amount 1,00 is not a number";
    QTest::newRow("camt batch not adding up")
        << camtHead + "<Ntry><Amt>10.00</Amt><CdtDbtInd>DBIT</CdtDbtInd>"
                      "<BookgDt><Dt>2026-02-03</Dt></BookgDt><NtryDtls>"
                      "<TxDtls><Amt>4.00</Amt></TxDtls><TxDtls><Amt>5.00</Amt></TxDtls>"
                      "</NtryDtls></Ntry></Stmt></BkToCstmrStmt></Document>"
        << "line 3: the transactions of the batch add up to -9.00, not -10.00";
    QTest::newRow("other xml") << QByteArray(
                                      "<?xml version=\"1.0\"?>\n<Document><pain/></Document>")
                               << "line 2: the file is not a camt.053 bank statement";
    QTest::newRow("mt940 date") << QByteArray(":20:X\n:25:1/2\n:61:260230C1,00NTRFNONREF\n")
                                << "line 3: the date 260230 is not a date";
    QTest::newRow("mt940 entry") << QByteArray(":20:X\n:61:2602280228C1.00NTRFNONREF\n")
                                 << "line 2: the entry 2602280228C1.00NTRFNONREF cannot be read";
    const QByteArray csvHead = "Datum;Empfänger;Text;Betrag;Ref\n";
    QTest::newRow("csv missing column")
        << csvHead + "01.03.2026;A;B;1,00;R\n02.03.2026;A;B\n"
        << "line 3: the amount column (4) is missing: the line has 3";
    QTest::newRow("csv date") << csvHead + "31.04.2026;A;B;1,00;R\n"
                              << "line 2: the date 31.04.2026 is not a date (dd.MM.yyyy)";
    QTest::newRow("csv amount") << csvHead + "01.04.2026;A;B;12 EUR;R\n"
                                << "line 2: the amount 12 EUR is not a number";
    QTest::newRow("csv open quote") << csvHead + "01.04.2026;A;\"B;1,00;R\n"
                                    << "line 2: a quoted field is not closed";
    QTest::newRow("csv latin-1 as utf-8") << csvHead + "01.04.2026;M\xfcller;B;1,00;R\n"
                                          << "line 2: the text is not UTF-8; choose ISO-8859-1";
}

void tst_StatementFiles::refused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir dir;
    try {
        const Statement s = readFile(writeTemp(dir, content), bankCsv());
        QFAIL(qPrintable(QStringLiteral("read %1 lines").arg(s.lines.size())));
    } catch (const StatementError& e) {
        QCOMPARE(e.message(), message);
    }
}

void tst_StatementFiles::amounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QString>("expected"); // "-": refused
    using datarows::row;
    row("comma", "1.234,56", ",", "1234.56");
    row("point grouped", "-1,234.5", ".", "-1234.50");
    row("trailing minus", "12,30-", ",", "-12.30");
    row("apostrophe groups", "1'000.05", ".", "1000.05");
    row("four decimals kept", "0,0049", ",", "0.0049");
    row("wrong mark refused", "1,5", ".", "-");
    row("bad grouping refused", "12.34,5", ",", "-");
    row("mark without digits", "12,", ",", "-");
    row("beyond Currency", "99999999999999999", ".", "-");
}

void tst_StatementFiles::amounts()
{
    QFETCH(QString, text);
    QFETCH(QString, mark);
    QFETCH(QString, expected);
    const auto amount = StatementValues::readAmount(text, mark[0]);
    QCOMPARE(amount ? StatementValues::plainAmount(*amount) : QStringLiteral("-"), expected);
}

void tst_StatementFiles::csvRoundTrip()
{
    const QList<QStringList> rows{{"a;b", "say \"hi\"", "two\r\nlines", ""},
                                  {"", "\n", "\"", "plain"}};
    QString text;
    for (const QStringList& r : rows) {
        text += CsvText::record(r, QLatin1Char(';'));
    }
    const auto records = CsvText::read(text, QLatin1Char(';'));
    QCOMPARE(records.size(), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QCOMPARE(records[i].fields, rows[i]);
    }
    QCOMPARE(records[1].line, 3);
}

QTEST_GUILESS_MAIN(tst_StatementFiles)
#include "tst_statementfiles.moc"
