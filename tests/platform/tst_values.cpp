#include "platform/Currency.h"
#include "platform/Format.h"
#include "platform/Variant.h"
#include "platform/VbError.h"

#include <QLocale>
#include <QtTest>

#include <functional>
#include <limits>

Q_DECLARE_METATYPE(Variant)

namespace {

constexpr qint64 MaxRaw = std::numeric_limits<qint64>::max();
constexpr qint64 MinRaw = std::numeric_limits<qint64>::min();

const QString Amount = QStringLiteral("#,##0.#0");
const QString Receipt = QStringLiteral("0/000/000");
const QString Day = QStringLiteral("dd/MMM/yyyy");

Currency money(qint64 raw)
{
    return Currency::fromRaw(raw);
}

// Runs f and describes its outcome as text ("Error 13" when it throws), so one
// table can hold results of every type and their failures.
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

void row(const char* name, const Variant& value, const QString& to, const QString& expected)
{
    QTest::newRow(name) << value << to << expected;
}

} // namespace

// Values as the program holds, converts, shows and reads them.
class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void conversions_data();
    void conversions();
    void currencyArithmetic();
    void dateSurvivesTextRoundTrip();
    void machineLocaleIsIgnored();
    void isNumeric_data();
    void isNumeric();
    void val_data();
    void val();
    void parseDate_data();
    void parseDate();
};

void TestValues::conversions_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<QString>("to"); // a conversion, or a Format pattern
    QTest::addColumn<QString>("expected");

    const QDate dec5(2026, 12, 5);
    // Format
    row("amount double", Variant(1234.5), Amount, "1,234.50");
    row("amount half cent away from 0", Variant(-0.005), Amount, "-0.01");
    row("amount carry into group", Variant(999.995), Amount, "1,000.00");
    row("amount no negative zero", Variant(-0.004), Amount, "0.00");
    row("amount largest currency", Variant(money(MaxRaw)), Amount, "922,337,203,685,477.58");
    row("amount letters unchanged", Variant("cX"), Amount, "cX");
    row("amount null", Variant::null(), Amount, "");
    row("receipt padded", Variant("1234"), Receipt, "0/001/234");
    row("receipt keeps every digit", Variant("12345678901"), Receipt, "12345/678/901");
    row("receipt letters kept", Variant("12a4"), Receipt, "12a4");
    row("day", Variant(dec5), Day, "05/Dec/2026");
    row("day numeric text", Variant("5/9/2026"), Day, "05/Sep/2026");
    row("day impossible text kept", Variant("31/Feb/2026"), Day, "31/Feb/2026");
    row("stamp", Variant(QDateTime(dec5, QTime(14, 7, 59))), "dd-MMM-yyyy HH.mm",
        "05-Dec-2026 14.07");
    row("pattern not supported", Variant(1), "0.00", "Error 5");
    // Currency from text: half to even, to the ten-thousandth
    row("currency grouped text", Variant("1,234.50"), "currency", "12345000");
    row("currency half to even", Variant("0.00015"), "currency", "2");
    row("currency largest", Variant("922,337,203,685,477.5807"), "currency",
        QString::number(MaxRaw));
    row("currency one unit too large", Variant("922337203685477.5808"), "currency", "Error 6");
    row("currency comma as decimal point", Variant("1,5"), "currency", "Error 13");
    row("currency empty text", Variant(""), "currency", "Error 13");
    row("currency double", Variant(0.1), "currency", "1000");
    row("currency too large", Variant(qint64(1) << 62), "currency", "Error 6");
    // CLng: half to even, text read exactly, 64-bit range
    row("long 2.5", Variant(2.5), "long", "2");
    row("long grouped text", Variant("1,234"), "long", "1234");
    row("long 17 digits exact", Variant("12345678901234567"), "long", "12345678901234567");
    row("long too large", Variant("9223372036854775808"), "long", "Error 6");
    row("long null", Variant::null(), "long", "Error 94");
    row("long letters", Variant("cX"), "long", "Error 13");
    row("double percent", Variant("15%"), "double", "Error 13");
    row("bool True any case", Variant("tRUE"), "bool", "true");
    row("bool letters", Variant("yes"), "bool", "Error 13");
    row("date shown form", Variant("05/Dec/2026"), "date", "2026-12-05T00:00:00");
    row("date before epoch", Variant(-1.25), "date", "1899-12-29T06:00:00");
    row("date impossible", Variant("31/Feb/2026"), "date", "Error 13");
    row("date null", Variant::null(), "date", "Error 94");
    row("string float noise", Variant(0.1 + 0.2), "string", "0.30000000000000004");
    row("string currency unit", Variant(money(-1)), "string", "-0.0001");
    row("string null", Variant::null(), "string", "Error 94");
    row("text null", Variant::null(), "text", "");
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
            return value.type() == Variant::Type::String
                       ? rawText(Currency::fromString(value.toString()))
                       : rawText(value.toCurrency());
        if (to == "bool")
            return QString(value.toBool() ? "true" : "false");
        if (to == "date")
            return value.toDate().toString(Qt::ISODate);
        if (to == "string")
            return value.toString();
        if (to == "text")
            return value.toText();
        return Format(value, to);
    });
    QCOMPARE(result, expected);
}

void TestValues::currencyArithmetic()
{
    Currency sum;
    for (int i = 0; i < 10; ++i)
        sum += Currency::fromString(QStringLiteral("0.10"));
    QCOMPARE(sum.raw(), qint64(10000));
    Currency many; // 0.01 a hundred thousand times drifts in floating point
    for (int i = 0; i < 100000; ++i)
        many += Currency::fromDouble(0.01);
    QCOMPARE(many.raw(), qint64(1000) * Currency::Scale);

    // Overflow raises 6 and leaves the operand as it was.
    Currency target = money(MaxRaw);
    QCOMPARE(outcome([&] { return rawText(target += money(1)); }), QStringLiteral("Error 6"));
    QCOMPARE(target.raw(), MaxRaw);
    QCOMPARE(outcome([&] { return rawText(money(MinRaw) - money(1)); }), QStringLiteral("Error 6"));
    QCOMPARE(outcome([&] { return rawText(-money(MinRaw)); }), QStringLiteral("Error 6"));
    QCOMPARE(outcome([&] { return rawText(money(MaxRaw - 1) + money(1)); }),
             QString::number(MaxRaw));
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

void TestValues::machineLocaleIsIgnored()
{
    // German swaps "," and "." and names December "Dez."; none of it may leak.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(Format(Variant(1234.5), Amount), QStringLiteral("1,234.50"));
    QCOMPARE(Format(Variant(QDate(2026, 12, 5)), Day), QStringLiteral("05/Dec/2026"));
    QCOMPARE(ParseNumber(QStringLiteral("1,234.50")), std::optional<double>(1234.5));
    QCOMPARE(Variant(2.5).toString(), QStringLiteral("2.5"));
}

void TestValues::isNumeric_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<bool>("expected");

    QTest::newRow("grouped amount") << Variant("1,234.50") << true;
    QTest::newRow("exponent") << Variant("+1.5E-3") << true;
    QTest::newRow("blank text") << Variant("   ") << false;
    QTest::newRow("comma as decimal point") << Variant("1,5") << false;
    QTest::newRow("misplaced group") << Variant("1,23,456") << false;
    QTest::newRow("percent") << Variant("15%") << false;
    QTest::newRow("currency") << Variant(Currency()) << true;
    QTest::newRow("date") << Variant(QDate(2026, 1, 1)) << false;
    QTest::newRow("null") << Variant::null() << false;
}

void TestValues::isNumeric()
{
    QFETCH(Variant, value);
    QFETCH(bool, expected);
    QCOMPARE(IsNumeric(value), expected);
    // ParseNumber accepts exactly what IsNumeric accepts.
    if (value.type() == Variant::Type::String)
        QCOMPARE(ParseNumber(value.toString()).has_value(), expected);
}

void TestValues::val_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    for (const auto& [text, expected] : std::initializer_list<std::pair<const char*, const char*>>{
             {"15%", "15"},
             {"", "0"},
             {"1,234.50", "1"},
             {"\t2\n1.\n5", "21.5"}, // blanks, tabs and line feeds are skipped
             {"1\r2", "1"},
             {"4e+kg", "4"},
             {"abc", "0"},
             {"1e400", "Error 6"}})
        QTest::newRow(text) << QString::fromLatin1(text) << QString::fromLatin1(expected);
}

void TestValues::val()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(outcome([&] { return QString::number(Val(text)); }), expected);
}

void TestValues::parseDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected"); // invalid: not a date

    const QDateTime dec5 = QDate(2026, 12, 5).startOfDay();
    for (const auto& [text, expected] : std::initializer_list<std::pair<const char*, QDateTime>>{
             {"05/Dec/2026", dec5},
             {"05/12/2026", dec5},
             {"2026-12-05T14:07:30", QDateTime(dec5.date(), QTime(14, 7, 30))},
             {"05/12/2026 14:07", QDateTime(dec5.date(), QTime(14, 7))},
             {"01/Jan/2030", QDate(2030, 1, 1).startOfDay()},
             {"1900-02-29", QDateTime()},
             {"05/Foo/2026", QDateTime()},
             {"2026-12-05 24:00", QDateTime()},
             {"05/Dec/2026x", QDateTime()}})
        QTest::newRow(text) << QString::fromLatin1(text) << expected;
}

void TestValues::parseDate()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    QCOMPARE(ParseDate(text).value_or(QDateTime()), expected);
}

QTEST_GUILESS_MAIN(TestValues)
#include "tst_values.moc"
