#include "platform/Format.h"
#include "platform/VbError.h"

#include <functional>
#include <limits>

#include <QLocale>
#include <QtTest>

Q_DECLARE_METATYPE(Variant)

namespace {

const QString Amount = QStringLiteral("#,##0.#0");
const QString Receipt = QStringLiteral("0/000/000");
const QString Day = QStringLiteral("dd/MMM/yyyy");
const QString Stamp = QStringLiteral("dd-MMM-yyyy HH.mm");

long errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const VbError& e) {
        return e.number();
    }
    return 0;
}

void formatRow(const char* name, const Variant& value, const QString& pattern, const char* expected)
{
    QTest::newRow(name) << value << pattern << QString::fromUtf8(expected);
}

} // namespace

class TestFormat : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void format_data();
    void format();
    void refusedArguments();
    void machineLocaleIsIgnored();
    void isNumeric_data();
    void isNumeric();
    void val_data();
    void val();
    void parseDate_data();
    void parseDate();
};

void TestFormat::format_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");

    const auto max = Currency::fromRaw(std::numeric_limits<qint64>::max());
    formatRow("amount double", Variant(1234.5), Amount, "1,234.50");
    formatRow("amount half cent away from 0", Variant(-0.005), Amount, "-0.01");
    formatRow("amount carry into group", Variant(999.995), Amount, "1,000.00");
    formatRow("amount no negative zero", Variant(-0.004), Amount, "0.00");
    formatRow("amount largest currency", Variant(max), Amount, "922,337,203,685,477.58");
    formatRow("amount letters unchanged", Variant("cX"), Amount, "cX");
    formatRow("amount null", Variant::null(), Amount, "");
    formatRow("receipt padded", Variant("1234"), Receipt, "0/001/234");
    formatRow("receipt keeps every digit", Variant("12345678901"), Receipt, "12345/678/901");
    formatRow("receipt letters kept", Variant("12a4"), Receipt, "12a4");
    formatRow("receipt sign kept", Variant(-5), Receipt, "-5");
    formatRow("day", Variant(QDate(2026, 12, 5)), Day, "05/Dec/2026");
    formatRow("day numeric text", Variant("5/9/2026"), Day, "05/Sep/2026");
    formatRow("day impossible text kept", Variant("31/Feb/2026"), Day, "31/Feb/2026");
    formatRow("stamp", Variant(QDateTime(QDate(2026, 12, 5), QTime(14, 7, 59))), Stamp,
              "05-Dec-2026 14.07");
}

void TestFormat::format()
{
    QFETCH(Variant, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(Format(value, pattern), expected);
}

void TestFormat::refusedArguments()
{
    QCOMPARE(errorOf([] { Format(Variant(1), QStringLiteral("0.00")); }), VbErr::InvalidCall);
    QCOMPARE(errorOf([] { ProgramLocale::monthAbbreviation(13); }), VbErr::InvalidCall);
    QCOMPARE(errorOf([] { Val(QStringLiteral("1e400")); }), VbErr::Overflow);
}

void TestFormat::machineLocaleIsIgnored()
{
    // German swaps "," and "." and names December "Dez."; none of it may leak.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(Format(Variant(1234.5), Amount), QStringLiteral("1,234.50"));
    QCOMPARE(Format(Variant(QDate(2026, 12, 5)), Day), QStringLiteral("05/Dec/2026"));
    QCOMPARE(ParseNumber(QStringLiteral("1,234.50")), std::optional<double>(1234.5));
    QCOMPARE(Variant(2.5).toString(), QStringLiteral("2.5"));
}

void TestFormat::isNumeric_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<bool>("expected");

    const auto row = [](const char* name, const Variant& value, bool expected) {
        QTest::newRow(name) << value << expected;
    };
    row("grouped amount", Variant("1,234.50"), true);
    row("exponent", Variant("+1.5E-3"), true);
    row("blank text", Variant("   "), false);
    row("comma as decimal point", Variant("1,5"), false);
    row("misplaced group", Variant("1,23,456"), false);
    row("percent", Variant("15%"), false);
    row("currency", Variant(Currency()), true);
    row("date", Variant(QDate(2026, 1, 1)), false);
    row("null", Variant::null(), false);
}

void TestFormat::isNumeric()
{
    QFETCH(Variant, value);
    QFETCH(bool, expected);
    QCOMPARE(IsNumeric(value), expected);
    // ParseNumber accepts exactly what IsNumeric accepts.
    if (value.type() == Variant::Type::String)
        QCOMPARE(ParseNumber(value.toString()).has_value(), expected);
}

void TestFormat::val_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    const auto row = [](const char* text, double expected) {
        QTest::newRow(text) << QString::fromLatin1(text) << expected;
    };
    row("15%", 15.0);
    row("", 0.0);
    row("1,234.50", 1.0);
    row("\t2\n1.\n5", 21.5); // blanks, tabs and line feeds are skipped
    row("1\r2", 1.0);
    row("4e+kg", 4.0);
    row("abc", 0.0);
}

void TestFormat::val()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(Val(text), expected);
}

void TestFormat::parseDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected"); // invalid: not a date

    const QDateTime dec5 = QDate(2026, 12, 5).startOfDay();
    const auto row = [](const char* text, const QDateTime& expected) {
        QTest::newRow(text) << QString::fromLatin1(text) << expected;
    };
    row("05/Dec/2026", dec5);
    row("05/12/2026", dec5);
    row("2026-12-05T14:07:30", QDateTime(dec5.date(), QTime(14, 7, 30)));
    row("05/12/2026 14:07", QDateTime(dec5.date(), QTime(14, 7)));
    row("01/Jan/2030", QDate(2030, 1, 1).startOfDay());
    row("1900-02-29", QDateTime());
    row("05/Foo/2026", QDateTime());
    row("2026-12-05 24:00", QDateTime());
    row("05/Dec/2026x", QDateTime());
}

void TestFormat::parseDate()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    QCOMPARE(ParseDate(text).value_or(QDateTime()), expected);
}

QTEST_GUILESS_MAIN(TestFormat)
#include "tst_format.moc"
