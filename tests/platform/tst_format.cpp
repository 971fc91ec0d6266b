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
    QTest::newRow("amount double") << Variant(1234.5) << Amount << "1,234.50";
    QTest::newRow("amount formatted text stays") << Variant("1,234.50") << Amount << "1,234.50";
    QTest::newRow("amount text with blanks") << Variant(" 1e3 ") << Amount << "1,000.00";
    QTest::newRow("amount zero") << Variant(0) << Amount << "0.00";
    QTest::newRow("amount negative") << Variant(-1234567.891) << Amount << "-1,234,567.89";
    QTest::newRow("amount half cent away from 0") << Variant(-0.005) << Amount << "-0.01";
    QTest::newRow("amount 1.005 as written") << Variant(1.005) << Amount << "1.01";
    QTest::newRow("amount carry into group") << Variant(999.995) << Amount << "1,000.00";
    QTest::newRow("amount no negative zero") << Variant(-0.004) << Amount << "0.00";
    QTest::newRow("amount largest currency") << Variant(max) << Amount << "922,337,203,685,477.58";
    QTest::newRow("amount huge text exact")
        << Variant("12345678901234567.891") << Amount << "12,345,678,901,234,567.89";
    QTest::newRow("amount huge double")
        << Variant(1e20) << Amount << "100,000,000,000,000,000,000.00";
    QTest::newRow("amount long beyond 2^53")
        << Variant(qint64(9007199254740993)) << Amount << "9,007,199,254,740,993.00";
    QTest::newRow("amount letters unchanged") << Variant("cX") << Amount << "cX";
    QTest::newRow("amount comma decimal unchanged") << Variant("1,5") << Amount << "1,5";
    QTest::newRow("amount null") << Variant::null() << Amount << "";

    QTest::newRow("receipt padded") << Variant("1234") << Receipt << "0/001/234";
    QTest::newRow("receipt seven digits") << Variant("1234567") << Receipt << "1/234/567";
    QTest::newRow("receipt leading zeros") << Variant("0001234") << Receipt << "0/001/234";
    QTest::newRow("receipt keeps every digit")
        << Variant("12345678901") << Receipt << "12345/678/901";
    QTest::newRow("receipt number") << Variant(1234.0) << Receipt << "0/001/234";
    QTest::newRow("receipt already grouped") << Variant("1/234/567") << Receipt << "1/234/567";
    QTest::newRow("receipt letters kept") << Variant("12a4") << Receipt << "12a4";
    QTest::newRow("receipt sign kept") << Variant(-5) << Receipt << "-5";
    QTest::newRow("receipt decimal kept") << Variant("12.5") << Receipt << "12.5";
    QTest::newRow("receipt blank kept") << Variant(" 1234") << Receipt << " 1234";
    QTest::newRow("receipt empty text") << Variant("") << Receipt << "";

    const QDate dec5(2026, 12, 5);
    QTest::newRow("day") << Variant(dec5) << Day << "05/Dec/2026";
    QTest::newRow("day drops time")
        << Variant(QDateTime(dec5, QTime(14, 7))) << Day << "05/Dec/2026";
    QTest::newRow("day small year") << Variant(QDate(800, 7, 9)) << Day << "09/Jul/0800";
    QTest::newRow("day iso text") << Variant("2026-05-01") << Day << "01/May/2026";
    QTest::newRow("day numeric text") << Variant("5/9/2026") << Day << "05/Sep/2026";
    QTest::newRow("day impossible text kept") << Variant("31/Feb/2026") << Day << "31/Feb/2026";
    QTest::newRow("day empty") << Variant() << Day << "";
    // The stamp in the proposed backup file name.
    QTest::newRow("stamp") << Variant(QDateTime(dec5, QTime(14, 7, 59))) << Stamp
                           << "05-Dec-2026 14.07";
    QTest::newRow("stamp at midnight")
        << Variant(QDate(2027, 1, 1)) << Stamp << "01-Jan-2027 00.00";
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
    QCOMPARE(ProgramLocale::monthAbbreviation(12), QStringLiteral("Dec"));
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

    QTest::newRow("grouped amount") << Variant("1,234.50") << true;
    QTest::newRow("millions grouped") << Variant("12,345,678") << true;
    QTest::newRow("signed with blanks") << Variant(" -3 ") << true;
    QTest::newRow("exponent") << Variant("+1.5E-3") << true;
    QTest::newRow("leading point") << Variant(".5") << true;
    QTest::newRow("trailing point") << Variant("5.") << true;
    QTest::newRow("empty text") << Variant("") << false;
    QTest::newRow("blank text") << Variant("   ") << false;
    QTest::newRow("letters") << Variant("cX") << false;
    QTest::newRow("comma as decimal point") << Variant("1,5") << false;
    QTest::newRow("misplaced group") << Variant("1,23,456") << false;
    QTest::newRow("group after point") << Variant("1.234,5") << false;
    QTest::newRow("two points") << Variant("1.2.3") << false;
    QTest::newRow("bare exponent") << Variant("1e") << false;
    QTest::newRow("lone point") << Variant(".") << false;
    QTest::newRow("percent") << Variant("15%") << false;
    QTest::newRow("beyond double") << Variant("1e400") << false;
    QTest::newRow("non-ASCII digit") << Variant(QStringLiteral("\u0663")) << false;
    QTest::newRow("currency") << Variant(Currency()) << true;
    QTest::newRow("date") << Variant(QDate(2026, 1, 1)) << false;
    QTest::newRow("null") << Variant::null() << false;
    QTest::newRow("empty") << Variant() << false;
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

    QTest::newRow("percentage") << "15%" << 15.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("group separator ends it") << "1,234.50" << 1.0;
    QTest::newRow("blanks inside") << " 1 2 3" << 123.0;
    QTest::newRow("tabs and line feeds") << "\t2\n1.\n5" << 21.5;
    QTest::newRow("carriage return ends it") << "1\r2" << 1.0;
    QTest::newRow("blank after sign") << "- 3" << -3.0;
    QTest::newRow("second point ends it") << "12.5.6" << 12.5;
    QTest::newRow("exponent") << "1E-2x" << 0.01;
    QTest::newRow("exponent without digits") << "4e+kg" << 4.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("lone sign") << "-" << 0.0;
    QTest::newRow("underflow") << "1e-400" << 0.0;
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
    const QDateTime none;
    QTest::newRow("shown form") << "05/Dec/2026" << dec5;
    QTest::newRow("month any case") << " 5/dEC/2026 " << dec5;
    QTest::newRow("numeric month") << "05/12/2026" << dec5;
    QTest::newRow("iso") << "2026-12-05" << dec5;
    QTest::newRow("iso T and seconds")
        << "2026-12-05T14:07:30" << QDateTime(dec5.date(), QTime(14, 7, 30));
    QTest::newRow("short date and time")
        << "05/12/2026 14:07" << QDateTime(dec5.date(), QTime(14, 7));
    QTest::newRow("year as written") << "01/Jan/2030" << QDate(2030, 1, 1).startOfDay();
    QTest::newRow("leap day") << "29/Feb/2024" << QDate(2024, 2, 29).startOfDay();
    QTest::newRow("leap day 2000") << "29/02/2000" << QDate(2000, 2, 29).startOfDay();
    QTest::newRow("no leap day 2025") << "29/Feb/2025" << none;
    QTest::newRow("no leap day 1900") << "1900-02-29" << none;
    QTest::newRow("31 February") << "31/Feb/2026" << none;
    QTest::newRow("31 April") << "31/04/2026" << none;
    QTest::newRow("day zero") << "00/Jan/2026" << none;
    QTest::newRow("month 13") << "2026-13-01" << none;
    QTest::newRow("unknown month") << "05/Foo/2026" << none;
    QTest::newRow("two-digit year") << "05/Dec/26" << none;
    QTest::newRow("first century") << "01/01/0099" << none;
    QTest::newRow("hour 24") << "2026-12-05 24:00" << none;
    QTest::newRow("trailing text") << "05/Dec/2026x" << none;
    QTest::newRow("empty") << "" << none;
}

void TestFormat::parseDate()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    QCOMPARE(ParseDate(text).value_or(QDateTime()), expected);
}

QTEST_GUILESS_MAIN(TestFormat)
#include "tst_format.moc"
