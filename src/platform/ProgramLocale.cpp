// The program locale's numbers: separators, reading, amounts, money, VAT,
// percentages and the report number formats. Dates and receipt ids are in
// ProgramDates.cpp.

#include "platform/ProgramLocale.h"

#include "platform/VbError.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace ProgramLocale {

namespace {

// Exponents beyond this are saturated while reading; any number that large
// overflows every type anyway.
constexpr qint64 ExponentCap = 100000;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Appends ASCII digits with the group separator between threes from the right.
void appendGrouped(QString& out, const char* digits, qsizetype count)
{
    const QChar group = groupSeparator();
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            out += group;
        out += QLatin1Char(digits[i]);
    }
}

// A rounded value as text: integer part (grouped or not), then its decimals,
// of which those after the first `always` are left out where they are
// trailing zeros. A value that rounded to zero has no minus sign.
QString scaledText(const DecimalText::Scaled& scaled, bool grouped, int always)
{
    const int decimals = scaled.decimals;
    QByteArray digits = scaled.digits;
    if (digits.size() < decimals + 1)
        digits.prepend(QByteArray(decimals + 1 - digits.size(), '0'));
    const qsizetype integerDigits = digits.size() - decimals;
    int shown = decimals;
    while (shown > always && digits.at(integerDigits + shown - 1) == '0')
        --shown;
    QString text;
    text.reserve(integerDigits + integerDigits / 3 + shown + 2);
    if (scaled.negative)
        text += u'-';
    if (grouped)
        appendGrouped(text, digits.constData(), integerDigits);
    else
        text += QLatin1String(digits.constData(), integerDigits);
    if (shown > 0) {
        text += decimalPoint();
        text += QLatin1String(digits.constData() + integerDigits, shown);
    }
    return text;
}

DecimalText::Number finiteNumber(double value)
{
    if (!std::isfinite(value))
        throw VbError(VbErr::Overflow);
    return DecimalText::fromDouble(value);
}

Currency currencyFromCents(const DecimalText::Scaled& cents)
{
    const auto count = DecimalText::toInt64(cents);
    qint64 raw = 0;
    if (!count || __builtin_mul_overflow(*count, Currency::Scale / 100, &raw))
        throw VbError(VbErr::Overflow);
    return Currency::fromRaw(raw);
}

} // namespace

const QLocale& numberLocale()
{
    static const QLocale locale(QLocale::English, QLocale::UnitedKingdom);
    return locale;
}

const QLocale& nameLocale()
{
    // The C locale's names are the English ones without regional variants.
    static const QLocale locale = QLocale::c();
    return locale;
}

QChar groupSeparator()
{
    static const QChar c = numberLocale().groupSeparator().at(0);
    return c;
}

QChar decimalPoint()
{
    static const QChar c = numberLocale().decimalPoint().at(0);
    return c;
}

QChar dateSeparator()
{
    return u'/';
}

std::optional<DecimalText::Number> readNumber(QStringView text)
{
    text = text.trimmed();
    const QChar group = groupSeparator();
    const QChar point = decimalPoint();
    const qsizetype n = text.size();
    qsizetype i = 0;

    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
        while (i < n && text[i] == u' ')
            ++i;
    }

    // Integer part: plain digits, or a first group of one to three digits
    // followed by groups of exactly three.
    QByteArray digits;
    bool grouped = false;
    int groupLength = 0;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isAsciiDigit(c)) {
            digits.append(char(c.unicode()));
            ++groupLength;
        } else if (c == group) {
            if (grouped ? groupLength != 3 : (groupLength < 1 || groupLength > 3))
                return std::nullopt;
            grouped = true;
            groupLength = 0;
        } else {
            break;
        }
    }
    if (grouped && groupLength != 3)
        return std::nullopt;

    qint64 fractionDigits = 0;
    if (i < n && text[i] == point) {
        for (++i; i < n && isAsciiDigit(text[i]); ++i) {
            digits.append(char(text[i].unicode()));
            ++fractionDigits;
        }
    }
    if (digits.isEmpty())
        return std::nullopt;

    qint64 exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool exponentNegative = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            exponentNegative = text[i] == u'-';
            ++i;
        }
        if (i >= n || !isAsciiDigit(text[i]))
            return std::nullopt;
        for (; i < n && isAsciiDigit(text[i]); ++i)
            exponent = qMin(ExponentCap, exponent * 10 + (text[i].unicode() - u'0'));
        if (exponentNegative)
            exponent = -exponent;
    }
    if (i != n)
        return std::nullopt;
    return DecimalText::fromDigits(negative, std::move(digits),
                                   exponent - qMin(fractionDigits, 2 * ExponentCap));
}

double leadingNumber(QStringView text)
{
    // Collect the characters of the leading number, skipping blanks, tabs and
    // line feeds wherever they stand; the decimal point is "." here whatever
    // the locale, as the platform's Val has it.
    QByteArray digits;
    bool negative = false;
    bool seenPoint = false;
    qint64 fractionDigits = 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; };
    const auto skipBlanks = [&](qsizetype& at) {
        while (at < n && isBlank(text[at]))
            ++at;
    };

    skipBlanks(i);
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    for (;; ++i) {
        skipBlanks(i);
        if (i >= n)
            break;
        if (isAsciiDigit(text[i])) {
            digits.append(char(text[i].unicode()));
            fractionDigits += seenPoint ? 1 : 0;
        } else if (text[i] == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (digits.isEmpty())
        return 0;

    // An exponent counts only when at least one digit follows its letter.
    qint64 exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        skipBlanks(j);
        bool exponentNegative = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponentNegative = text[j] == u'-';
            ++j;
        }
        for (;; ++j) {
            skipBlanks(j);
            if (j >= n || !isAsciiDigit(text[j]))
                break;
            exponent = qMin(ExponentCap, exponent * 10 + (text[j].unicode() - u'0'));
        }
        if (exponentNegative)
            exponent = -exponent;
    }
    const auto value = DecimalText::toDouble(DecimalText::fromDigits(
        negative, std::move(digits), exponent - qMin(fractionDigits, 2 * ExponentCap)));
    if (!value)
        throw VbError(VbErr::Overflow);
    return *value;
}

Currency toCents(Currency amount)
{
    qint64 cents = amount.raw() / 100;
    const qint64 rest = amount.raw() % 100; // keeps the sign of the amount
    if (rest >= 50)
        ++cents;
    else if (rest <= -50)
        --cents;
    return Currency::fromRaw(cents * 100);
}

QString formatAmount(Currency amount)
{
    const qint64 cents = toCents(amount).raw() / 100;
    DecimalText::Scaled scaled;
    scaled.decimals = 2;
    scaled.negative = cents < 0;
    const quint64 magnitude = cents < 0 ? quint64(0) - quint64(cents) : quint64(cents);
    if (magnitude != 0)
        scaled.digits = QByteArray::number(magnitude);
    return scaledText(scaled, true, 2);
}

QString formatAmount(const DecimalText::Number& number)
{
    return scaledText(DecimalText::round(number, 2, DecimalText::Rounding::HalfAwayFromZero), true,
                      2);
}

QString formatAmount(double value)
{
    // Fast path: a stored amount usually has at most two decimals in its
    // shortest text, and then the format only pads and groups.
    char buffer[48];
    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        const auto [end, ec] =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
        const char* p = buffer;
        const bool negative = *p == '-';
        if (negative)
            ++p;
        const char* point = std::find(p, static_cast<const char*>(end), '.');
        const int decimals = point == end ? 0 : int(end - point - 1);
        if (ec == std::errc() && decimals <= 2) {
            const bool zero = std::all_of(p, static_cast<const char*>(end),
                                          [](char c) { return c == '0' || c == '.'; });
            QString text;
            text.reserve(int(point - p) * 4 / 3 + 5);
            if (negative && !zero)
                text += u'-';
            appendGrouped(text, p, point - p);
            text += decimalPoint();
            for (int i = 0; i < 2; ++i)
                text += QLatin1Char(i < decimals ? point[1 + i] : '0');
            return text;
        }
    }
    return formatAmount(finiteNumber(value));
}

std::optional<Currency> readAmount(QStringView text)
{
    // Fast path for what formatAmount writes: an optional minus, digits plain
    // or grouped in threes, a point and one to four decimals.
    const QChar group = groupSeparator();
    const QChar point = decimalPoint();
    const qsizetype n = text.size();
    if (n == 0)
        return std::nullopt;
    qsizetype i = 0;
    const bool negative = text[0] == u'-';
    if (negative)
        ++i;
    qint64 units = 0;
    int integerDigits = 0;
    int groupLength = 0;
    bool grouped = false;
    bool fast = true;
    for (; fast && i < n && text[i] != point; ++i) {
        const QChar c = text[i];
        if (isAsciiDigit(c)) {
            units = units * 10 + (c.unicode() - u'0');
            ++integerDigits;
            ++groupLength;
        } else if (c == group &&
                   (grouped ? groupLength == 3 : groupLength >= 1 && groupLength <= 3)) {
            grouped = true;
            groupLength = 0;
        } else {
            fast = false;
        }
    }
    fast = fast && integerDigits > 0 && integerDigits <= 14 && (!grouped || groupLength == 3);
    if (fast) {
        int decimals = 0;
        if (i < n) { // at the point
            for (++i; i < n && isAsciiDigit(text[i]) && decimals < 4; ++i, ++decimals)
                units = units * 10 + (text[i].unicode() - u'0');
            fast = i == n && decimals > 0;
        }
        if (fast) {
            for (; decimals < 4; ++decimals)
                units *= 10;
            return Currency::fromRaw(negative ? -units : units);
        }
    }
    const auto number = readNumber(text);
    // A number beyond the double range is not numeric to the program.
    if (!number || !DecimalText::toDouble(*number))
        return std::nullopt;
    return Currency::fromDecimal(*number);
}

Currency vatOf(Currency amount, double ratePercent)
{
    DecimalText::Number product =
        DecimalText::multiply(DecimalText::fromScaled(amount.raw(), 4), finiteNumber(ratePercent));
    if (!product.isZero())
        product.exponent -= 2; // percent
    return currencyFromCents(
        DecimalText::round(product, 2, DecimalText::Rounding::HalfAwayFromZero));
}

std::optional<double> readPercentage(QStringView text)
{
    static const QRegularExpression rate(
        QStringLiteral("^\\s*(\\d+(\\.\\d*)?|\\.\\d+)?\\s*%?\\s*$"));
    const QRegularExpressionMatch match = rate.match(text.toString());
    if (!match.hasMatch())
        return std::nullopt;
    if (match.capturedView(1).isEmpty())
        return text.trimmed().isEmpty() ? std::optional(0.0) : std::nullopt;
    const double value = match.capturedView(1).toDouble();
    if (value > 100)
        return std::nullopt;
    return value;
}

QString formatPercentage(const Variant& percent)
{
    switch (percent.type()) {
    case Variant::Type::Double:
    case Variant::Type::Long:
    case Variant::Type::Currency:
        return DecimalText::toPlainText(finiteNumber(percent.toDouble()));
    default:
        return percent.toText();
    }
}

QString formatNumber(const DecimalText::Number& number, QStringView pattern)
{
    const bool grouped = pattern.startsWith(u"#,##");
    const qsizetype point = pattern.indexOf(u'.');
    const QStringView decimals = point < 0 ? QStringView() : pattern.mid(point + 1);
    const DecimalText::Scaled scaled =
        DecimalText::round(number, int(decimals.size()), DecimalText::Rounding::HalfAwayFromZero);
    return scaledText(scaled, grouped, int(decimals.count(u'0')));
}

QString formatNumber(double value, QStringView pattern)
{
    return formatNumber(finiteNumber(value), pattern);
}

QString formatMoney(Currency amount)
{
    return formatAmount(amount);
}

} // namespace ProgramLocale
