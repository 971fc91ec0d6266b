// The sheet's quick formats and amount reading agree with the program's own
// Format, IsNumeric and Currency on every shape of value.

#include "platform/Format.h"
#include "sheet/SheetFormat.h"

#include <QTest>

class tst_SheetFormat : public QObject
{
    Q_OBJECT

private slots:
    void agreesWithTheGeneralFormat();
};

void tst_SheetFormat::agreesWithTheGeneralFormat()
{
    for (double v : {0.0, -0.0, 0.1, 0.125, 1.005, 0.005, -0.001, 12.5, 999.995, 1234.5, -1234.56,
                     1234567.891, 1e14 + 0.25, 1e15, 2.5e-7, 123456789012.34})
        QCOMPARE(SheetFormat::amount(Variant(v)), Format(Variant(v), "#,##0.#0"));
    for (const char* t :
         {"", "0", "7", "1234", "1234567", "0001234", "12345678901",
          "123456789012345678901234567890", "1/234/567", "A-12", "1.5", "-3", " 12"})
        QCOMPARE(SheetFormat::receiptId(t), Format(Variant(QString(t)), "0/000/000"));
    for (const QDate& d : {QDate(2026, 12, 5), QDate(1999, 2, 28)})
        QCOMPARE(SheetFormat::date(Variant(d)), Format(Variant(d), "dd/MMM/yyyy"));
    QCOMPARE(SheetFormat::date(Variant::null()), QString());
    // Amount cells are read as the totals read them.
    for (const QString t : {"", "0.00", "1,234.50", "-1,000.00", "12,345,678.9999", "1,234.56789",
                            "1234.5", "1,23", "1,2345.00", "12a", "abc", " 5", "1e3", ".5", "5.",
                            "+3.00", "1,000,000", "99999999999999.99", "n/a"})
        QCOMPARE(SheetFormat::readAmount(t),
                 IsNumeric(Variant(t)) ? std::optional(Currency::fromString(t)) : std::nullopt);
}

QTEST_MAIN(tst_SheetFormat)
#include "tst_sheetformat.moc"
