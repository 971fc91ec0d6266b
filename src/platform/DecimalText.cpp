#include "platform/DecimalText.h"

#include "platform/ProgramLocale.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace DecimalText {

namespace {

// Exponents beyond four times this are saturated; any number that large
// overflows every type anyway, and the cap keeps later padding bounded.
constexpr qint64 ExponentCap = 100000;

Number normalised(bool negative, QByteArray digits, qint64 exponent)
{
    qsizetype lead = 0;
    while (lead < digits.size() && digits.at(lead) == '0')
        ++lead;
    digits.remove(0, lead);
    qsizetype trail = 0;
    while (trail < digits.size() && digits.at(digits.size() - 1 - trail) == '0')
        ++trail;
    digits.chop(trail);
    if (digits.isEmpty())
        return {};
    exponent += trail;
    Number n;
    n.negative = negative;
    n.digits = std::move(digits);
    n.exponent = int(qBound(-4 * ExponentCap, exponent, 4 * ExponentCap));
    return n;
}

// Adds one to a string of decimal digits.
void increment(QByteArray& digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.prepend('1');
}

} // namespace

Number fromDigits(bool negative, QByteArray digits, qint64 exponent)
{
    return normalised(negative, std::move(digits), exponent);
}

Number fromInteger(qint64 value)
{
    // The magnitude of the most negative value does not fit in qint64.
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    return normalised(value < 0, QByteArray::number(magnitude), 0);
}

Number fromDouble(double value)
{
    Q_ASSERT(std::isfinite(value));
    // Shortest round-trip form, "d.ddde+XX": the decimal a person would write.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific);
    const QByteArray text(buffer, result.ptr - buffer);
    const qsizetype e = text.indexOf('e');
    QByteArray mantissa = text.left(e);
    qint64 exponent = text.mid(e + 1).toLongLong();
    const qsizetype point = mantissa.indexOf('.');
    if (point >= 0) {
        exponent -= mantissa.size() - point - 1;
        mantissa.remove(point, 1);
    }
    return normalised(std::signbit(value), std::move(mantissa), exponent);
}

Number fromScaled(qint64 raw, int decimals)
{
    Number n = fromInteger(raw);
    if (!n.isZero())
        n.exponent -= decimals;
    return n;
}

Scaled round(const Number& number, int decimals, Rounding rounding)
{
    Scaled s;
    s.decimals = decimals;
    if (number.isZero())
        return s;

    const qint64 shift = qint64(number.exponent) + decimals;
    if (shift >= 0) {
        s.negative = number.negative;
        s.digits = number.digits + QByteArray(shift, '0');
        return s;
    }

    const qint64 keep = number.digits.size() + shift;
    if (keep < 0)
        return s; // below a tenth of the last unit: rounds to zero either way

    QByteArray kept = number.digits.left(keep);
    const char firstDropped = number.digits.at(keep);
    // Trailing zeros are stripped, so anything after the first dropped digit
    // is a non-zero remainder.
    const bool moreDropped = number.digits.size() - keep > 1;
    const bool lastKeptOdd = !kept.isEmpty() && (kept.back() - '0') % 2 == 1;
    bool up = false;
    if (firstDropped > '5')
        up = true;
    else if (firstDropped == '5')
        up = moreDropped || rounding == Rounding::HalfAwayFromZero || lastKeptOdd;
    if (up)
        increment(kept);

    qsizetype lead = 0;
    while (lead < kept.size() && kept.at(lead) == '0')
        ++lead;
    kept.remove(0, lead);
    if (!kept.isEmpty()) {
        s.negative = number.negative;
        s.digits = std::move(kept);
    }
    return s;
}

Number multiply(const Number& a, const Number& b)
{
    if (a.isZero() || b.isZero())
        return {};
    // Schoolbook, least significant digit last; the operands are amounts and
    // rates of a few digits each.
    const qsizetype na = a.digits.size();
    const qsizetype nb = b.digits.size();
    std::vector<int> sum(size_t(na + nb), 0);
    for (qsizetype i = na - 1; i >= 0; --i)
        for (qsizetype j = nb - 1; j >= 0; --j)
            sum[size_t(i + j + 1)] += (a.digits[i] - '0') * (b.digits[j] - '0');
    for (size_t k = sum.size() - 1; k > 0; --k) {
        sum[k - 1] += sum[k] / 10;
        sum[k] %= 10;
    }
    QByteArray digits;
    digits.reserve(qsizetype(sum.size()));
    for (const int d : sum)
        digits.append(char('0' + d));
    return normalised(a.negative != b.negative, std::move(digits), qint64(a.exponent) + b.exponent);
}

std::optional<qint64> toInt64(const Scaled& scaled)
{
    if (scaled.digits.size() > 19)
        return std::nullopt;
    quint64 magnitude = 0;
    for (const char c : scaled.digits) {
        const quint64 digit = quint64(c - '0');
        if (magnitude > (std::numeric_limits<quint64>::max() - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (scaled.negative ? 1 : 0);
    if (magnitude > limit)
        return std::nullopt;
    return scaled.negative ? qint64(quint64(0) - magnitude) : qint64(magnitude);
}

std::optional<double> toDouble(const Number& number)
{
    if (number.isZero())
        return 0.0;
    const QByteArray text = number.digits + 'e' + QByteArray::number(number.exponent);
    double value = 0;
    const auto result = std::from_chars(text.constData(), text.constData() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (number.digits.size() + number.exponent > 0)
            return std::nullopt;
        value = 0.0;
    }
    return number.negative ? -value : value;
}

QString toPlainText(const Number& number)
{
    if (number.isZero())
        return QStringLiteral("0");
    const QString digits = QString::fromLatin1(number.digits);
    const qsizetype integerDigits = digits.size() + number.exponent;
    QString text;
    if (number.negative)
        text += u'-';
    if (number.exponent >= 0) {
        text += digits + QString(number.exponent, u'0');
    } else if (integerDigits > 0) {
        text +=
            digits.left(integerDigits) + ProgramLocale::decimalPoint() + digits.mid(integerDigits);
    } else {
        text += u'0';
        text += ProgramLocale::decimalPoint();
        text += QString(-integerDigits, u'0') + digits;
    }
    return text;
}

} // namespace DecimalText
