#include "platform/Currency.h"
#include "platform/Variant.h"
#include "platform/VbError.h"

#include <functional>
#include <limits>

#include <QtTest>

Q_DECLARE_METATYPE(Variant)

namespace {

constexpr qint64 MaxRaw = std::numeric_limits<qint64>::max();
constexpr qint64 MinRaw = std::numeric_limits<qint64>::min();

Currency money(qint64 raw)
{
    return Currency::fromRaw(raw);
}

// Runs f and describes its outcome as text ("Error 13" when it throws), so one
// table can hold conversions of every result type and their failures.
QString outcome(const std::function<QString()>& f)
{
    try {
        return f();
    } catch (const VbError& e) {
        return QStringLiteral("Error %1").arg(e.number());
    }
}

QString rawText(Currency c)
{
    return QString::number(c.raw());
}

} // namespace

class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void currencyReading_data();
    void currencyReading();
    void currencyArithmetic_data();
    void currencyArithmetic();
    void currencySumsAreExact();
    void conversions_data();
    void conversions();
    void dateSurvivesTextRoundTrip();
    void standardTexts_data();
    void standardTexts();
    void thrownErrorCarriesText();
};

void TestValues::currencyReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // raw ten-thousandths, or the error

    QTest::newRow("grouped amount") << "1,234.50"
                                    << "12345000";
    QTest::newRow("exponent and blanks") << " -1e3 "
                                         << "-10000000";
    QTest::newRow("half to even, down") << "0.00005"
                                        << "0";
    QTest::newRow("half to even, up") << "0.00015"
                                      << "2";
    QTest::newRow("half of even digit stays") << "-0.00025"
                                              << "-2";
    QTest::newRow("above half") << "0.000251"
                                << "3";
    QTest::newRow("largest") << "922,337,203,685,477.5807" << QString::number(MaxRaw);
    QTest::newRow("smallest") << "-922337203685477.5808" << QString::number(MinRaw);
    QTest::newRow("one unit too large") << "922337203685477.5808"
                                        << "Error 6";
    QTest::newRow("huge exponent") << "1e400"
                                   << "Error 6";
    QTest::newRow("tiny exponent") << "1e-400"
                                   << "0";
    QTest::newRow("letters") << "cX"
                             << "Error 13";
    QTest::newRow("empty") << ""
                           << "Error 13";
    QTest::newRow("comma as decimal point") << "1,5"
                                            << "Error 13";
    QTest::newRow("misplaced group") << "12,34,567"
                                     << "Error 13";
    QTest::newRow("unit after amount") << "12.50 EUR"
                                       << "Error 13";
}

void TestValues::currencyReading()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(outcome([&] { return rawText(Currency::fromString(text)); }), expected);
}

void TestValues::currencyArithmetic_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<qint64>("left");
    QTest::addColumn<qint64>("right");
    QTest::addColumn<QString>("expected");

    QTest::newRow("add to the top") << "+" << MaxRaw - 1 << qint64(1) << QString::number(MaxRaw);
    QTest::newRow("add past the top") << "+" << MaxRaw << qint64(1) << "Error 6";
    QTest::newRow("add past the bottom") << "+" << MinRaw << qint64(-1) << "Error 6";
    QTest::newRow("subtract past the bottom") << "-" << MinRaw << qint64(1) << "Error 6";
    QTest::newRow("subtract the smallest") << "-" << qint64(0) << MinRaw << "Error 6";
    QTest::newRow("negate smallest") << "neg" << MinRaw << qint64(0) << "Error 6";
    QTest::newRow("negate largest") << "neg" << MaxRaw << qint64(0) << QString::number(-MaxRaw);
    QTest::newRow("+= past the top") << "+=" << MaxRaw << MaxRaw << "Error 6";
    QTest::newRow("-= below zero") << "-=" << qint64(5) << qint64(7) << "-2";
}

void TestValues::currencyArithmetic()
{
    QFETCH(QString, operation);
    QFETCH(qint64, left);
    QFETCH(qint64, right);
    QFETCH(QString, expected);

    Currency target = money(left);
    const QString result = outcome([&] {
        if (operation == "+")
            return rawText(money(left) + money(right));
        if (operation == "-")
            return rawText(money(left) - money(right));
        if (operation == "neg")
            return rawText(-money(left));
        return rawText(operation == "+=" ? target += money(right) : target -= money(right));
    });
    QCOMPARE(result, expected);
    if (expected.startsWith("Error"))
        QCOMPARE(target.raw(), left); // a failed step leaves its operand as it was
}

void TestValues::currencySumsAreExact()
{
    Currency sum;
    for (int i = 0; i < 10; ++i)
        sum += Currency::fromString(QStringLiteral("0.10"));
    QCOMPARE(sum.raw(), qint64(10000));

    Currency many; // 0.01 a hundred thousand times drifts in floating point
    for (int i = 0; i < 100000; ++i)
        many += Currency::fromDouble(0.01);
    QCOMPARE(many.raw(), qint64(1000) * Currency::Scale);
}

void TestValues::conversions_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("expected");

    const QDate dec5(2026, 12, 5);
    // CLng: half to even, text read exactly, 64-bit range.
    QTest::newRow("long 2.5") << Variant(2.5) << "long"
                              << "2";
    QTest::newRow("long 3.5") << Variant(3.5) << "long"
                              << "4";
    QTest::newRow("long -2.5") << Variant(-2.5) << "long"
                               << "-2";
    QTest::newRow("long text 6.5") << Variant("6.5") << "long"
                                   << "6";
    QTest::newRow("long currency 3.5") << Variant(money(35000)) << "long"
                                       << "4";
    QTest::newRow("long grouped text") << Variant("1,234") << "long"
                                       << "1234";
    QTest::newRow("long 17 digits exact") << Variant("12345678901234567") << "long"
                                          << "12345678901234567";
    QTest::newRow("long true") << Variant(true) << "long"
                               << "1";
    QTest::newRow("long empty") << Variant() << "long"
                                << "0";
    QTest::newRow("long too large") << Variant(9.3e18) << "long"
                                    << "Error 6";
    QTest::newRow("long text too large") << Variant("9223372036854775808") << "long"
                                         << "Error 6";
    QTest::newRow("long null") << Variant::null() << "long"
                               << "Error 94";
    QTest::newRow("long letters") << Variant("cX") << "long"
                                  << "Error 13";
    QTest::newRow("long empty text") << Variant("") << "long"
                                     << "Error 13";
    // CDbl.
    QTest::newRow("double grouped text") << Variant("1,234.5") << "double"
                                         << "1234.5";
    QTest::newRow("double date") << Variant(QDate(1900, 1, 1)) << "double"
                                 << "2";
    QTest::newRow("double beyond range") << Variant("1e400") << "double"
                                         << "Error 6";
    QTest::newRow("double percent") << Variant("15%") << "double"
                                    << "Error 13";
    QTest::newRow("double null") << Variant::null() << "double"
                                 << "Error 94";
    // CCur: raw ten-thousandths.
    QTest::newRow("currency text") << Variant("1,234.56") << "currency"
                                   << "12345600";
    QTest::newRow("currency double") << Variant(0.1) << "currency"
                                     << "1000";
    QTest::newRow("currency long too large") << Variant(qint64(1) << 62) << "currency"
                                             << "Error 6";
    QTest::newRow("currency null") << Variant::null() << "currency"
                                   << "Error 94";
    // CBool.
    QTest::newRow("bool True any case") << Variant("tRUE") << "bool"
                                        << "true";
    QTest::newRow("bool zero text") << Variant("0") << "bool"
                                    << "false";
    QTest::newRow("bool fraction") << Variant("0.5") << "bool"
                                   << "true";
    QTest::newRow("bool letters") << Variant("yes") << "bool"
                                  << "Error 13";
    QTest::newRow("bool null") << Variant::null() << "bool"
                               << "Error 94";
    // CDate: shown as ISO for comparison.
    QTest::newRow("date shown form") << Variant("05/Dec/2026") << "date"
                                     << "2026-12-05T00:00:00";
    QTest::newRow("date iso with time") << Variant("2026-12-05 14:07") << "date"
                                        << "2026-12-05T14:07:00";
    QTest::newRow("date day count") << Variant(2.5) << "date"
                                    << "1900-01-01T12:00:00";
    QTest::newRow("date before epoch") << Variant(-1.25) << "date"
                                       << "1899-12-29T06:00:00";
    QTest::newRow("date beyond 9999") << Variant(3e6) << "date"
                                      << "Error 6";
    QTest::newRow("date impossible") << Variant("31/Feb/2026") << "date"
                                     << "Error 13";
    QTest::newRow("date empty") << Variant() << "date"
                                << "Error 13";
    QTest::newRow("date null") << Variant::null() << "date"
                               << "Error 94";
    QTest::newRow("date from invalid is null") << Variant(QDate()) << "date"
                                               << "Error 94";
    // CStr: shortest exact text.
    QTest::newRow("string tenth") << Variant(0.1) << "string"
                                  << "0.1";
    QTest::newRow("string float noise") << Variant(0.1 + 0.2) << "string"
                                        << "0.30000000000000004";
    QTest::newRow("string plain large") << Variant(1234567.25) << "string"
                                        << "1234567.25";
    QTest::newRow("string very large") << Variant(1e20) << "string"
                                       << "1E+20";
    QTest::newRow("string very small") << Variant(-1.5e-7) << "string"
                                       << "-1.5E-07";
    QTest::newRow("string currency") << Variant(money(15000)) << "string"
                                     << "1.5";
    QTest::newRow("string currency unit") << Variant(money(-1)) << "string"
                                          << "-0.0001";
    QTest::newRow("string true") << Variant(true) << "string"
                                 << "True";
    QTest::newRow("string date") << Variant(dec5) << "string"
                                 << "05/12/2026";
    QTest::newRow("string date and time") << Variant(QDateTime(dec5, QTime(14, 7, 30))) << "string"
                                          << "05/12/2026 14:07:30";
    QTest::newRow("string empty") << Variant() << "string"
                                  << "";
    QTest::newRow("string null") << Variant::null() << "string"
                                 << "Error 94";
    QTest::newRow("text null") << Variant::null() << "text"
                               << "";
}

void TestValues::conversions()
{
    QFETCH(Variant, value);
    QFETCH(QString, to);
    QFETCH(QString, expected);

    const QString result = outcome([&] {
        if (to == "long")
            return QString::number(value.toLong());
        if (to == "double")
            return QString::number(value.toDouble(), 'g', 17);
        if (to == "currency")
            return rawText(value.toCurrency());
        if (to == "bool")
            return QString(value.toBool() ? "true" : "false");
        if (to == "date")
            return value.toDate().toString(Qt::ISODate);
        return to == "text" ? value.toText() : value.toString();
    });
    QCOMPARE(result, expected);
}

void TestValues::dateSurvivesTextRoundTrip()
{
    const QList<QDateTime> moments = {QDate(2024, 2, 29).startOfDay(),
                                      QDateTime(QDate(2030, 1, 31), QTime(23, 59, 59)),
                                      QDate(100, 1, 1).startOfDay()};
    for (const QDateTime& moment : moments) {
        QCOMPARE(Variant(Variant(moment).toString()).toDate(), moment);
        QCOMPARE(Variant(Variant(moment).toDouble()).toDate(), moment);
    }
}

void TestValues::standardTexts_data()
{
    QTest::addColumn<long>("number");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("expected");

    const QString file = QStringLiteral("/data/Zantoro.mdb");
    QTest::newRow("3024") << 3024L << file << "Could not find file '/data/Zantoro.mdb'.";
    QTest::newRow("3045") << 3045L << file
                          << "Could not use '/data/Zantoro.mdb'; file already in use.";
    QTest::newRow("3163 has no item")
        << 3163L << file
        << "The field is too small to accept the amount of data you attempted to add. Try "
           "inserting or pasting less data.";
    QTest::newRow("94") << 94L << ""
                        << "Invalid use of Null";
    QTest::newRow("unknown") << 31999L << ""
                             << "Application-defined or object-defined error";
}

void TestValues::standardTexts()
{
    QFETCH(long, number);
    QFETCH(QString, item);
    QFETCH(QString, expected);
    QCOMPARE(VbError(number, item).description(), expected);
}

void TestValues::thrownErrorCarriesText()
{
    try {
        (void)(money(MaxRaw) + money(1));
        QFAIL("overflow was not raised");
    } catch (const VbError& e) {
        QCOMPARE(e.number(), VbErr::Overflow);
        QCOMPARE(e.description(), QStringLiteral("Overflow"));
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Error 6: Overflow"));
    }
    try {
        (void)Variant("cX").toDouble();
        QFAIL("type mismatch was not raised");
    } catch (const VbError& e) {
        QCOMPARE(e.description(), QStringLiteral("Type mismatch"));
    }
}

QTEST_GUILESS_MAIN(TestValues)
#include "tst_values.moc"
