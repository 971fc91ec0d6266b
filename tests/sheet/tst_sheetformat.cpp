// The sheet's quick formats and amount reading agree with the program's own
// Format, IsNumeric and Currency on every shape of value.

#include "platform/Format.h"
#include "sheet/SheetFormat.h"

#include <QTest>

class tst_SheetFormat : public QObject
{
    Q_OBJECT

private slots:
    void amountsAsFormatWritesThem_data();
    void amountsAsFormatWritesThem();
    void receiptIdsAsFormatWritesThem_data();
    void receiptIdsAsFormatWritesThem();
    void datesAsFormatWritesThem();
    void amountCellsReadAsTheTotalsDid_data();
    void amountCellsReadAsTheTotalsDid();
};

void tst_SheetFormat::amountsAsFormatWritesThem_data()
{
    QTest::addColumn<double>("value");
    for (double v : {0.0, -0.0, 0.1, 0.125, 1.005, 0.005, -0.001, 12.5, 999.995, 1234.5, -1234.56,
                     1234567.891, 1e14 + 0.25, 1e15, 2.5e-7, 123456789012.34})
        QTest::addRow("%.17g", v) << v;
}

void tst_SheetFormat::amountsAsFormatWritesThem()
{
    QFETCH(double, value);
    QCOMPARE(SheetFormat::amount(Variant(value)), Format(Variant(value), "#,##0.#0"));
}

void tst_SheetFormat::receiptIdsAsFormatWritesThem_data()
{
    QTest::addColumn<QString>("text");
    for (const char* t :
         {"", "0", "7", "1234", "1234567", "0001234", "12345678901",
          "123456789012345678901234567890", "1/234/567", "A-12", "1.5", "-3", " 12"})
        QTest::newRow(t) << QString::fromLatin1(t);
}

void tst_SheetFormat::receiptIdsAsFormatWritesThem()
{
    QFETCH(QString, text);
    QCOMPARE(SheetFormat::receiptId(text), Format(Variant(text), "0/000/000"));
}

void tst_SheetFormat::datesAsFormatWritesThem()
{
    for (const QDate& d :
         {QDate(2026, 12, 5), QDate(2025, 1, 31), QDate(1999, 2, 28), QDate(2030, 10, 1)})
        QCOMPARE(SheetFormat::date(Variant(d)), Format(Variant(d), "dd/MMM/yyyy"));
    QCOMPARE(SheetFormat::date(Variant::null()), QString());
}

void tst_SheetFormat::amountCellsReadAsTheTotalsDid_data()
{
    QTest::addColumn<QString>("text");
    for (const char* t : {"", "0.00", "1,234.50", "-1,000.00", "12,345,678.9999", "1,234.56789",
                          "1234.5", "1,23", "1,2345.00", "12a", "abc", " 5", "1e3", ".5", "5.",
                          "+3.00", "1,000,000", "99999999999999.99", "n/a"})
        QTest::newRow(t) << QString::fromLatin1(t);
}

void tst_SheetFormat::amountCellsReadAsTheTotalsDid()
{
    QFETCH(QString, text);
    const std::optional<Currency> expected =
        IsNumeric(Variant(text)) ? std::optional(Currency::fromString(text)) : std::nullopt;
    QCOMPARE(SheetFormat::readAmount(text), expected);
}

QTEST_MAIN(tst_SheetFormat)
#include "tst_sheetformat.moc"
