#include "sheet/SheetTestKit.h"
#include "statements/CsvText.h"
#include "statements/StatementValues.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace sheetkit;

// The sheet's Export button writes the stored rows of the sheet in front;
// read back, they give the same rows and amounts to the last stored digit,
// texts with quotes, separators and line breaks included.
class tst_SheetExport : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("decimalMark");
        QTest::addColumn<QString>("datePattern");
        QTest::addColumn<bool>("byteOrderMark");
        QTest::newRow("RFC 4180") << int(vbNo) << QString(",") << QString(".")
                                  << QString("yyyy-MM-dd") << false;
        QTest::newRow("spreadsheet")
            << int(vbYes) << QString(";") << QString(",") << QString("dd-MM-yyyy") << true;
    }

    void roundTrip()
    {
        QFETCH(int, answer);
        QFETCH(QString, separator);
        QFETCH(QString, decimalMark);
        QFETCH(QString, datePattern);
        QFETCH(bool, byteOrderMark);
        Sheet s;
        // Bank rows: two show the awkward texts, one is on the cash sheet and
        // must stay out of the bank sheet's file.
        s.add({.date = "2026-03-02",
               .cash = false,
               .moneyIn = true,
               .amount = 1234.56,
               .description = "He said \"no\"; then, yes",
               .relation = "Bakker, Zn"});
        s.add({.category = s.fees,
               .date = "2026-03-05",
               .cash = false,
               .amount = 12.3456,
               .description = "line one\nline two\r\nthree",
               .receiptId = "17"});
        s.add({.date = "2026-03-07", .cash = true, .amount = 5, .description = "cash"});
        s.open();
        s.pick();
        s.showTab(2);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.csv"));
        DialogScript script;
        script.answer(answer).chooseFile(path);
        Sheet::clickButton(*s.sheet().Toolbar1, QStringLiteral("export"));
        QCOMPARE(script.files().at(0).fileName, QStringLiteral("Bakery - bank sheet.csv"));

        QByteArray bytes = bytesOf(path);
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), byteOrderMark);
        if (byteOrderMark)
            bytes.remove(0, 3);
        const auto records = CsvText::read(QString::fromUtf8(bytes), separator[0]);
        QStringList rows;
        for (const CsvText::Record& r : records.mid(1)) {
            QCOMPARE(r.fields.size(), 8);
            QStringList row{StatementValues::readDate(r.fields[0], datePattern)
                                .value_or(QDate())
                                .toString(Qt::ISODate)};
            row << r.fields.mid(1, 5);
            for (const QString& amount : r.fields.mid(6)) {
                const auto value = StatementValues::readAmount(amount, decimalMark[0]);
                row << (value ? StatementValues::plainAmount(*value) : amount);
            }
            rows << row.join(QLatin1Char('|'));
        }
        QCOMPARE(records.at(0).fields,
                 (QStringList{"Date", "Description", "Category", "Invoice nr", "Receipt id",
                              "Relation", "Debited", "Credited"}));
        QCOMPARE(rows, (QStringList{
                           "2026-03-02|He said \"no\"; then, yes|Office|n/a|1|Bakker, Zn||1234.56",
                           "2026-03-05|line one\nline two\r\nthree|Bank fees|n/a|17|Abbey|12.3456|",
                       }));
    }
};

QTEST_MAIN(tst_SheetExport)
#include "tst_sheetexport.moc"
