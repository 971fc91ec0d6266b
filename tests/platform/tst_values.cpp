#include "platform/Currency.h"
#include "platform/Format.h"
#include "platform/ProgramLocale.h"
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

QString orRefused(const std::optional<QString>& text)
{
    return text.value_or(QStringLiteral("refused"));
}

// "a|b" -> the two halves; the second argument of two-argument functions.
QPair<QString, QString> halves(const QString& text)
{
    const qsizetype bar = text.indexOf(u'|');
    return {text.left(bar), text.mid(bar + 1)};
}

// The program locale's functions by name, each on a value and giving text, so
// that every format and parse of the program stands in one table.
QString viaLocale(const QString& to, const Variant& value)
{
    using namespace ProgramLocale;
    const QString text = value.type() == Variant::Type::String ? value.toString() : QString();
    if (to == "read number") {
        const auto n = readNumber(text);
        return orRefused(n ? std::optional(DecimalText::toPlainText(*n)) : std::nullopt);
    }
    if (to == "val")
        return QString::number(Val(text), 'g', 17);
    if (to == "amount cell") {
        const auto a = readAmount(text);
        return orRefused(a ? std::optional(rawText(*a)) : std::nullopt);
    }
    if (to == "to cents")
        return rawText(toCents(value.toCurrency()));
    if (to == "money")
        return formatMoney(value.toCurrency());
    if (to == "vat") {
        const auto [amount, rate] = halves(text);
        return formatMoney(vatOf(Currency::fromString(amount), rate.toDouble()));
    }
    if (to == "percent") {
        if (value.type() != Variant::Type::String)
            return formatPercentage(value);
        const auto p = readPercentage(text);
        return orRefused(p ? std::optional(formatPercentage(Variant(*p))) : std::nullopt);
    }
    if (to.startsWith("number "))
        return formatNumber(value.toDouble(), to.mid(7));
    if (to == "read date") {
        const auto d = readDate(text);
        return orRefused(d ? std::optional(d->toString(Qt::ISODate)) : std::nullopt);
    }
    if (to == "read stored") {
        const auto m = readIsoDate(text.toUtf8());
        return orRefused(m ? std::optional(QDateTime(m->date, m->time).toString(Qt::ISODate) +
                                           (m->hasTime ? "" : " date"))
                           : std::nullopt);
    }
    if (to == "iso")
        return formatIsoDateTime(value.toDate());
    if (to == "short date")
        return formatShortDate(value.toDate());
    if (to.startsWith("date "))
        return formatDate(value.toDate().date(), to.mid(5));
    return QString();
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
    void twoDigitYears();
    void currencyArithmetic();
    void dateSurvivesTextRoundTrip();
    void machineLocaleIsIgnored_data();
    void machineLocaleIsIgnored();
    void isNumeric_data();
    void isNumeric();
    void fastPathsAgree();
    void monthNames();
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
    row("amount largest sheet figure", Variant(999999999.99), Amount, "999,999,999.99");
    row("amount half up on the exact decimal", Variant(2.675), Amount, "2.68");
    row("amount half up below one", Variant(0.105), Amount, "0.11");
    row("amount currency half cent", Variant(money(-50)), Amount, "-0.01");
    row("amount currency negative zero", Variant(money(-49)), Amount, "0.00");
    row("amount text exponent", Variant("1.5e3"), Amount, "1,500.00");
    row("amount long", Variant(qint64(-1234567)), Amount, "-1,234,567.00");
    row("amount beyond the fast path", Variant(1e15 + 2), Amount, "1,000,000,000,000,002.00");
    row("amount three decimals", Variant(1234.565), Amount, "1,234.57");
    row("receipt number", Variant(qint64(1234)), Receipt, "0/001/234");
    row("receipt negative number", Variant(qint64(-5)), Receipt, "-5");
    row("receipt grouped kept", Variant("1/234/567"), Receipt, "1/234/567");
    row("receipt seven digits", Variant("1234567"), Receipt, "1/234/567");
    row("receipt blank inside kept", Variant(" 12"), Receipt, " 12");
    row("day september", Variant(QDate(2024, 9, 5)), Day, "05/Sep/2024");
    row("day leap day", Variant(QDate(2024, 2, 29)), Day, "29/Feb/2024");
    row("day early year", Variant(QDate(999, 1, 2)), Day, "02/Jan/0999");
    row("stamp september", Variant(QDateTime(QDate(2026, 9, 1), QTime(9, 5))), "dd-MMM-yyyy HH.mm",
        "01-Sep-2026 09.05");
    // Reading numbers: grouping in threes only, "." the only decimal point
    row("read grouped", Variant("1,234.50"), "read number", "1234.5");
    row("read comma as decimal point", Variant("1,5"), "read number", "refused");
    row("read comma in two", Variant("12,34"), "read number", "refused");
    row("read group of four", Variant("1,2345.00"), "read number", "refused");
    row("read group after the point", Variant("1.234,5"), "read number", "refused");
    row("read blanks and signs", Variant(" - 12.50 "), "read number", "-12.5");
    row("read leading point", Variant(".5"), "read number", "0.5");
    row("read trailing point", Variant("5."), "read number", "5");
    row("read bare exponent", Variant("1e"), "read number", "refused");
    row("read percent", Variant("15%"), "read number", "refused");
    row("read empty", Variant(""), "read number", "refused");
    // Val: the leading number
    row("val percent", Variant("15%"), "val", "15");
    row("val empty", Variant(""), "val", "0");
    row("val stops at the comma", Variant("1,234.50"), "val", "1");
    row("val skips blanks tabs line feeds", Variant("\t2\n1.\n5"), "val", "21.5");
    row("val carriage return ends", Variant("1\r2"), "val", "1");
    row("val exponent without digits", Variant("4e+kg"), "val", "4");
    row("val exponent", Variant("-2.5E2x"), "val", "-250");
    row("val letters", Variant("abc"), "val", "0");
    row("val too large", Variant("1e400"), "val", "Error 6");
    row("val too small", Variant("1e-400"), "val", "0");
    // Amount cells as the totals read them, in ten-thousandths
    row("cell grouped", Variant("1,234.50"), "amount cell", "12345000");
    row("cell negative", Variant("-1,000.00"), "amount cell", "-10000000");
    row("cell four decimals", Variant("12,345,678.9999"), "amount cell", "123456789999");
    row("cell five decimals round", Variant("1,234.56785"), "amount cell", "12345679");
    row("cell plain", Variant("1234.5"), "amount cell", "12345000");
    row("cell wrong group", Variant("1,23"), "amount cell", "refused");
    row("cell letters", Variant("12a"), "amount cell", "refused");
    row("cell not applicable", Variant("n/a"), "amount cell", "refused");
    row("cell empty", Variant(""), "amount cell", "refused");
    row("cell exponent", Variant("1e3"), "amount cell", "10000000");
    row("cell plus sign", Variant("+3.00"), "amount cell", "30000");
    row("cell bare point", Variant("5."), "amount cell", "50000");
    row("cell largest sheet figure", Variant("99,999,999,999,999.99"), "amount cell",
        "999999999999999900");
    row("cell beyond currency", Variant("1,000,000,000,000,000.00"), "amount cell", "Error 6");
    row("cell beyond double", Variant("1e400"), "amount cell", "refused");
    // Money to the cent: half away from zero, one rule
    row("cents half up", Variant(money(12350)), "to cents", "12400");
    row("cents half down negative", Variant(money(-12350)), "to cents", "-12400");
    row("cents below half", Variant(money(12349)), "to cents", "12300");
    row("money grouped", Variant(money(12345678900)), "money", "1,234,567.89");
    row("money negative zero", Variant(money(-49)), "money", "0.00");
    row("money smallest", Variant(money(MinRaw)), "money", "-922,337,203,685,477.58");
    row("currency half away from zero", Variant("0.00025"), "currency", "3");
    row("currency negative half", Variant("-0.00025"), "currency", "-3");
    row("currency from double half", Variant(2.00005), "currency", "20001");
    // VAT: exact product, rounded once
    row("vat 19.6 of 9,456.76", Variant("9,456.76|19.6"), "vat", "1,853.52");
    row("vat 5.5 of 40.09", Variant("40.09|5.5"), "vat", "2.20");
    row("vat of a refund", Variant("-40.09|5.5"), "vat", "-2.20");
    row("vat true half", Variant("10.50|9"), "vat", "0.95");
    row("vat zero rate", Variant("123.45|0"), "vat", "0.00");
    row("vat beyond currency", Variant("900,000,000,000,000|200"), "vat", "Error 6");
    // Percentages: read as the leading number, shown by their shortest decimal
    row("percent typed with sign", Variant("19.6%"), "percent", "19.6");
    row("percent whole", Variant("6"), "percent", "6");
    row("percent comma refused", Variant("5,5"), "percent", "refused");
    row("percent point", Variant(" 5.5 % "), "percent", "5.5");
    row("percent alone refused", Variant("%"), "percent", "refused");
    row("percent over 100 refused", Variant("100.5"), "percent", "refused");
    row("percent signed refused", Variant("-7"), "percent", "refused");
    row("percent empty", Variant(""), "percent", "0");
    row("percent stored", Variant(19.6), "percent", "19.6");
    row("percent stored none", Variant::null(), "percent", "");
    // Report number formats
    row("number 0.## drops zero decimals", Variant(21.0), "number 0.##", "21");
    row("number 0.## one decimal", Variant(19.6), "number 0.##", "19.6");
    row("number 0.## rounds half up", Variant(0.125), "number 0.##", "0.13");
    row("number 0 rounds half up", Variant(2.5), "number 0", "3");
    row("number #,##0.00 exact half", Variant(2.675), "number #,##0.00", "2.68");
    row("number #,##0.00 grouped", Variant(-1234567.891), "number #,##0.00", "-1,234,567.89");
    row("number no negative zero", Variant(-0.004), "number 0.##", "0");
    row("number 0.0# keeps one", Variant(3.0), "number 0.0#", "3.0");
    // Dates read: shown, numeric and ISO forms; impossible ones refused
    row("read date shown form", Variant("05/Dec/2026"), "read date", "2026-12-05T00:00:00");
    row("read date any case", Variant("5/dEC/2026"), "read date", "2026-12-05T00:00:00");
    row("read date numeric", Variant("05/12/2026"), "read date", "2026-12-05T00:00:00");
    row("read date iso with time", Variant("2026-12-05T14:07:30"), "read date",
        "2026-12-05T14:07:30");
    row("read date numeric with time", Variant("05/12/2026 14:07"), "read date",
        "2026-12-05T14:07:00");
    row("read date 29 Feb leap year", Variant("29/Feb/2024"), "read date", "2024-02-29T00:00:00");
    row("read date 29 Feb common year", Variant("29/Feb/2023"), "read date", "refused");
    row("read date 29 Feb 1900", Variant("1900-02-29"), "read date", "refused");
    row("read date three-digit year", Variant("05/Dec/202"), "read date", "refused");
    row("read date year before 100", Variant("0099-01-01"), "read date", "refused");
    row("read date en_GB Sept", Variant("05/Sept/2026"), "read date", "refused");
    row("read date unknown month", Variant("05/Foo/2026"), "read date", "refused");
    row("read date hour 24", Variant("2026-12-05 24:00"), "read date", "refused");
    row("read date trailing text", Variant("05/Dec/2026x"), "read date", "refused");
    // Dashes and full stops as people type them; one separator throughout.
    row("read date dashes", Variant("15-11-2026"), "read date", "2026-11-15T00:00:00");
    row("read date full stops", Variant("15.11.2026"), "read date", "2026-11-15T00:00:00");
    row("read date dashes month name", Variant("16-Jun-2025"), "read date", "2025-06-16T00:00:00");
    row("read date full stops with time", Variant("5.12.2026 14:07"), "read date",
        "2026-12-05T14:07:00");
    row("read date mixed separators", Variant("15-11/2026"), "read date", "refused");
    row("read date mixed dash and stop", Variant("15.11-2026"), "read date", "refused");
    row("read date dashes day 31 of 30", Variant("31-04-2026"), "read date", "refused");
    row("read date spaces", Variant("15 11 2026"), "read date", "refused");
    row("read date two numbers", Variant("15-11"), "read date", "refused");
    // Dates as the store keeps them
    row("stored date", Variant("2026-03-01"), "read stored", "2026-03-01T00:00:00 date");
    row("stored moment", Variant("2026-03-01 08:05:09"), "read stored", "2026-03-01T08:05:09");
    row("stored midnight kept", Variant("2026-03-01 00:00:00"), "read stored",
        "2026-03-01T00:00:00");
    row("stored impossible", Variant("2026-02-29"), "read stored", "refused");
    row("stored fraction of a second", Variant("2026-03-01 08:05:09.5"), "read stored", "refused");
    row("stored hour 24", Variant("2026-03-01 24:00:00"), "read stored", "refused");
    row("stored year before 100", Variant("0099-01-01"), "read stored", "refused");
    // Dates written
    row("iso date", Variant(QDate(2026, 3, 1)), "iso", "2026-03-01");
    row("iso date and time", Variant(QDateTime(QDate(2026, 3, 1), QTime(8, 5, 9))), "iso",
        "2026-03-01 08:05:09");
    row("short date", Variant(QDate(2026, 3, 1)), "short date", "01/03/2026");
    row("short date and time", Variant(QDateTime(QDate(2026, 3, 1), QTime(8, 5, 9))), "short date",
        "01/03/2026 08:05:09");
    row("report date pattern", Variant(QDate(2026, 9, 7)), "date d MMM yy", "7 Sep 26");
    row("report date numeric", Variant(QDate(2026, 9, 7)), "date dd.MM.yyyy", "07.09.2026");
    // Currency from text, to the ten-thousandth
    row("currency grouped text", Variant("1,234.50"), "currency", "12345000");
    row("currency half", Variant("0.00015"), "currency", "2");
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
        const QString located = viaLocale(to, value);
        return located.isNull() ? Format(value, to) : located;
    });
    QCOMPARE(result, expected);
}

void TestValues::twoDigitYears()
{
    // The century window: at most 20 years ahead, else back in the last century.
    QCOMPARE(ProgramLocale::fullYear(26, 2026), 2026);
    QCOMPARE(ProgramLocale::fullYear(0, 2026), 2000);
    QCOMPARE(ProgramLocale::fullYear(46, 2026), 2046);
    QCOMPARE(ProgramLocale::fullYear(47, 2026), 1947);
    QCOMPARE(ProgramLocale::fullYear(99, 2026), 1999);
    QCOMPARE(ProgramLocale::fullYear(10, 2095), 2110);
    QCOMPARE(ProgramLocale::fullYear(16, 2095), 2016);

    // Typed dates with two-digit years read in the window around today.
    const int thisYear = QDate::currentDate().year();
    const QString yy = QString::number(thisYear % 100).rightJustified(2, u'0');
    QCOMPARE(ProgramLocale::readDate(QStringLiteral("15/11/") + yy)->date(),
             QDate(thisYear, 11, 15));
    QCOMPARE(ProgramLocale::readDate(QStringLiteral("15.11.") + yy)->date(),
             QDate(thisYear, 11, 15));
    QCOMPARE(ProgramLocale::readDate(QStringLiteral("29/feb/") + yy).has_value(),
             QDate::isLeapYear(thisYear));
    QCOMPARE(Format(Variant(QStringLiteral("16/Jun/") + yy), QStringLiteral("dd/MMM/yyyy")),
             QStringLiteral("16/Jun/") + QString::number(thisYear));
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

void TestValues::machineLocaleIsIgnored_data()
{
    QTest::addColumn<QLocale>("machine");
    // German swaps "," and "." and names December "Dez."; British English
    // names September "Sept"; none of it may leak.
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany);
    QTest::newRow("en_GB") << QLocale(QLocale::English, QLocale::UnitedKingdom);
    QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France);
}

void TestValues::machineLocaleIsIgnored()
{
    QFETCH(QLocale, machine);
    QLocale::setDefault(machine);
    QCOMPARE(Format(Variant(QDate(2026, 9, 5)), Day), QStringLiteral("05/Sep/2026"));
    QCOMPARE(ProgramLocale::formatDate(QDate(2026, 9, 5), QStringLiteral("d MMM yy")),
             QStringLiteral("5 Sep 26"));
    QCOMPARE(ProgramLocale::formatNumber(1234.5, u"#,##0.00"), QStringLiteral("1,234.50"));
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

void TestValues::fastPathsAgree()
{
    // The sheet's quick paths (a stored double to an amount cell, an amount
    // cell read for the totals) give what the general exact paths give.
    for (double v : {0.0, -0.0, 0.1, 0.125, 1.005, 0.005, -0.001, 12.5, 999.995, 1234.5, -1234.56,
                     1234567.891, 1e14 + 0.25, 1e15, 2.5e-7, 123456789012.34, -999999999.99})
        QCOMPARE(ProgramLocale::formatAmount(v),
                 ProgramLocale::formatAmount(DecimalText::fromDouble(v)));
    for (const char* t : {"0.00",
                          "1,234.50",
                          "-1,000.00",
                          "12,345,678.9999",
                          "1,234.56789",
                          "1234.5",
                          "99999999999999.99",
                          "922,337,203,685,477.58",
                          "-0.0001",
                          "1,000,000",
                          "12.",
                          "-.5",
                          "0001,000.00",
                          "001,000.00",
                          "1,0000.00",
                          "-",
                          ".",
                          "1.2.3",
                          "1,,000",
                          ",100"}) {
        const auto exact = ProgramLocale::readNumber(QString::fromLatin1(t));
        QCOMPARE(ProgramLocale::readAmount(QString::fromLatin1(t)),
                 exact ? std::optional(Currency::fromDecimal(*exact)) : std::nullopt);
    }
}

void TestValues::monthNames()
{
    // Whatever the machine's locale, in one list, read back as written.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QStringList names;
    for (int m = 1; m <= 12; ++m) {
        names << ProgramLocale::monthAbbreviation(m);
        const QDate first(2026, m, 1);
        QCOMPARE(ProgramLocale::readDate(ProgramLocale::formatDate(first)),
                 std::optional(first.startOfDay()));
    }
    QCOMPARE(names.join(u' '), QStringLiteral("Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec"));
    QCOMPARE(outcome([] { return ProgramLocale::monthAbbreviation(13); }),
             QStringLiteral("Error 5"));
}

QTEST_GUILESS_MAIN(TestValues)
#include "tst_values.moc"
