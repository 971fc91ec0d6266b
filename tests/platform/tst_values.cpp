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

void convRow(const char* name, const Variant& value, const char* to, const QString& expected)
{
    QTest::newRow(name) << value << QString::fromLatin1(to) << expected;
}

} // namespace

class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void currencyReading_data();
    void currencyReading();
    void currencyOverflowLeavesOperand();
    void currencySumsAreExact();
    void conversions_data();
    void conversions();
    void dateSurvivesTextRoundTrip();
    void standardTexts();
};

void TestValues::currencyReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // raw ten-thousandths, or the error

    const auto row = [](const char* name, const char* text, const QString& expected) {
        QTest::newRow(name) << QString::fromLatin1(text) << expected;
    };
    row("grouped amount", "1,234.50", "12345000");
    row("half to even, up", "0.00015", "2");
    row("above half", "0.000251", "3");
    row("largest", "922,337,203,685,477.5807", QString::number(MaxRaw));
    row("one unit too large", "922337203685477.5808", "Error 6");
    row("letters", "cX", "Error 13");
    row("empty", "", "Error 13");
    row("comma as decimal point", "1,5", "Error 13");
}

void TestValues::currencyReading()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(outcome([&] { return rawText(Currency::fromString(text)); }), expected);
}

void TestValues::currencyOverflowLeavesOperand()
{
    Currency target = money(MaxRaw);
    QCOMPARE(outcome([&] { return rawText(target += money(1)); }), QStringLiteral("Error 6"));
    QCOMPARE(target.raw(), MaxRaw);
    QCOMPARE(outcome([&] { return rawText(money(MinRaw) - money(1)); }), QStringLiteral("Error 6"));
    QCOMPARE(outcome([&] { return rawText(-money(MinRaw)); }), QStringLiteral("Error 6"));
    QCOMPARE(outcome([&] { return rawText(money(MaxRaw - 1) + money(1)); }),
             QString::number(MaxRaw));
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
    convRow("long 2.5", Variant(2.5), "long", "2");
    convRow("long grouped text", Variant("1,234"), "long", "1234");
    convRow("long 17 digits exact", Variant("12345678901234567"), "long", "12345678901234567");
    convRow("long too large", Variant("9223372036854775808"), "long", "Error 6");
    convRow("long null", Variant::null(), "long", "Error 94");
    convRow("long empty text", Variant(""), "long", "Error 13");
    convRow("double grouped text", Variant("1,234.5"), "double", "1234.5");
    convRow("double percent", Variant("15%"), "double", "Error 13");
    convRow("currency double", Variant(0.1), "currency", "1000");
    convRow("currency too large", Variant(qint64(1) << 62), "currency", "Error 6");
    convRow("bool True any case", Variant("tRUE"), "bool", "true");
    convRow("bool letters", Variant("yes"), "bool", "Error 13");
    convRow("date shown form", Variant("05/Dec/2026"), "date", "2026-12-05T00:00:00");
    convRow("date before epoch", Variant(-1.25), "date", "1899-12-29T06:00:00");
    convRow("date impossible", Variant("31/Feb/2026"), "date", "Error 13");
    convRow("date null", Variant::null(), "date", "Error 94");
    convRow("string float noise", Variant(0.1 + 0.2), "string", "0.30000000000000004");
    convRow("string currency unit", Variant(money(-1)), "string", "-0.0001");
    convRow("string date and time", Variant(QDateTime(dec5, QTime(14, 7, 30))), "string",
            "05/12/2026 14:07:30");
    convRow("string null", Variant::null(), "string", "Error 94");
    convRow("text null", Variant::null(), "text", "");
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

void TestValues::standardTexts()
{
    const QString file = QStringLiteral("/data/Zantoro.mdb");
    QCOMPARE(VbError(3024, file).description(),
             QStringLiteral("Could not find file '/data/Zantoro.mdb'."));
    QCOMPARE(VbError(3045, file).description(),
             QStringLiteral("Could not use '/data/Zantoro.mdb'; file already in use."));
    QCOMPARE(VbError(3163, file).description(),
             QStringLiteral("The field is too small to accept the amount of data you attempted "
                            "to add. Try inserting or pasting less data."));
    QCOMPARE(VbError(31999).description(),
             QStringLiteral("Application-defined or object-defined error"));
    try {
        (void)(money(MaxRaw) + money(1));
        QFAIL("overflow was not raised");
    } catch (const VbError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Error 6: Overflow"));
    }
}

QTEST_GUILESS_MAIN(TestValues)
#include "tst_values.moc"
