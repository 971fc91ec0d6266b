#include "platform/Variant.h"

#include "platform/DecimalText.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"

#include <cmath>

namespace {

// Day counts are measured from this day; the fraction of a day is the time.
const QDate SerialEpoch(1899, 12, 30);
constexpr qint64 MsecsPerDay = 86400000;
// Dates outside the years 100 to 9999 do not exist for the program.
const qint64 FirstSerial = SerialEpoch.daysTo(QDate(100, 1, 1));
const qint64 LastSerial = SerialEpoch.daysTo(QDate(9999, 12, 31));

double dateToSerial(const QDateTime& value)
{
    const double days = double(SerialEpoch.daysTo(value.date()));
    const double fraction = double(value.time().msecsSinceStartOfDay()) / double(MsecsPerDay);
    // Before the epoch the whole days count down while the time still counts
    // forward from midnight: -1.25 is 29 Dec 1899, 06:00.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime serialToDate(double serial)
{
    if (!std::isfinite(serial))
        throw VbError(VbErr::Overflow);
    double whole = std::trunc(serial);
    qint64 msecs = qint64(std::llround(std::fabs(serial - whole) * double(MsecsPerDay)));
    if (msecs >= MsecsPerDay) {
        msecs -= MsecsPerDay;
        whole += serial < 0 ? -1 : 1;
    }
    if (whole < double(FirstSerial) || whole > double(LastSerial))
        throw VbError(VbErr::Overflow);
    return QDateTime(SerialEpoch.addDays(qint64(whole)),
                     QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

qint64 roundHalfEven(double value)
{
    if (!std::isfinite(value))
        throw VbError(VbErr::Overflow);
    double result = std::floor(value);
    const double rest = value - result;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(result, 2.0) != 0.0))
        result += 1.0;
    // 2^63 is exactly representable; every double below it fits in qint64.
    if (result < -9223372036854775808.0 || result >= 9223372036854775808.0)
        throw VbError(VbErr::Overflow);
    return qint64(result);
}

DecimalText::Number readNumber(const QString& text)
{
    const auto number = ProgramLocale::readNumber(text);
    if (!number)
        throw VbError(VbErr::TypeMismatch);
    return *number;
}

double numberToDouble(const DecimalText::Number& number)
{
    const auto value = DecimalText::toDouble(number);
    if (!value)
        throw VbError(VbErr::Overflow);
    return *value;
}

QString doubleText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    const DecimalText::Number number = DecimalText::fromDouble(value);
    const double magnitude = std::fabs(value);
    if (number.isZero() || (magnitude >= 1e-4 && magnitude < 1e15))
        return DecimalText::toPlainText(number);

    // Scientific form for the very large and the very small: 1.5E+20, 2E-07.
    const QString digits = QString::fromLatin1(number.digits);
    const int exponent = int(digits.size()) - 1 + number.exponent;
    QString text = number.negative ? QStringLiteral("-") : QString();
    text += digits.left(1);
    if (digits.size() > 1)
        text += ProgramLocale::decimalPoint() + digits.mid(1);
    text += QStringLiteral("E%1%2")
                .arg(QChar(exponent < 0 ? u'-' : u'+'))
                .arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    return text;
}

} // namespace

Variant::Variant(const QDateTime& value)
{
    if (value.isValid())
        m_value = value;
    else
        m_value = NullTag();
}

Variant::Variant(const QDate& value)
{
    if (value.isValid())
        m_value = value.startOfDay();
    else
        m_value = NullTag();
}

Variant Variant::null()
{
    Variant v;
    v.m_value = NullTag();
    return v;
}

Variant::Type Variant::type() const
{
    // The alternatives of m_value are declared in the order of Type.
    return Type(m_value.index());
}

QString Variant::toString() const
{
    switch (type()) {
    case Type::Empty:
        return QString();
    case Type::Null:
        throw VbError(VbErr::InvalidUseOfNull);
    case Type::Boolean:
        return std::get<bool>(m_value) ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Long:
        return QString::number(std::get<qint64>(m_value));
    case Type::Double:
        return doubleText(std::get<double>(m_value));
    case Type::Currency:
        return DecimalText::toPlainText(
            DecimalText::fromScaled(std::get<Currency>(m_value).raw(), 4));
    case Type::Date:
        return ProgramLocale::formatShortDate(std::get<QDateTime>(m_value));
    case Type::String:
        return std::get<QString>(m_value);
    }
    return QString();
}

QString Variant::toText() const
{
    return isNull() || isEmpty() ? QString() : toString();
}

qint64 Variant::toLong() const
{
    switch (type()) {
    case Type::Empty:
        return 0;
    case Type::Null:
        throw VbError(VbErr::InvalidUseOfNull);
    case Type::Boolean:
        return std::get<bool>(m_value) ? 1 : 0;
    case Type::Long:
        return std::get<qint64>(m_value);
    case Type::Double:
        return roundHalfEven(std::get<double>(m_value));
    case Type::Currency: {
        const qint64 raw = std::get<Currency>(m_value).raw();
        return *DecimalText::toInt64(DecimalText::round(DecimalText::fromScaled(raw, 4), 0,
                                                        DecimalText::Rounding::HalfEven));
    }
    case Type::Date:
        return roundHalfEven(dateToSerial(std::get<QDateTime>(m_value)));
    case Type::String: {
        // Read exactly, so 17-digit ids survive without passing through a double.
        const auto value = DecimalText::toInt64(DecimalText::round(
            readNumber(std::get<QString>(m_value)), 0, DecimalText::Rounding::HalfEven));
        if (!value)
            throw VbError(VbErr::Overflow);
        return *value;
    }
    }
    return 0;
}

double Variant::toDouble() const
{
    switch (type()) {
    case Type::Empty:
        return 0;
    case Type::Null:
        throw VbError(VbErr::InvalidUseOfNull);
    case Type::Boolean:
        return std::get<bool>(m_value) ? 1 : 0;
    case Type::Long:
        return double(std::get<qint64>(m_value));
    case Type::Double:
        return std::get<double>(m_value);
    case Type::Currency:
        return std::get<Currency>(m_value).toDouble();
    case Type::Date:
        return dateToSerial(std::get<QDateTime>(m_value));
    case Type::String:
        return numberToDouble(readNumber(std::get<QString>(m_value)));
    }
    return 0;
}

bool Variant::toBool() const
{
    switch (type()) {
    case Type::Empty:
        return false;
    case Type::Null:
        throw VbError(VbErr::InvalidUseOfNull);
    case Type::Boolean:
        return std::get<bool>(m_value);
    case Type::Long:
        return std::get<qint64>(m_value) != 0;
    case Type::Double:
        return std::get<double>(m_value) != 0;
    case Type::Currency:
        return std::get<Currency>(m_value).raw() != 0;
    case Type::Date:
        return dateToSerial(std::get<QDateTime>(m_value)) != 0;
    case Type::String: {
        const QString text = std::get<QString>(m_value).trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        return !readNumber(text).isZero();
    }
    }
    return false;
}

Currency Variant::toCurrency() const
{
    switch (type()) {
    case Type::Empty:
        return Currency();
    case Type::Null:
        throw VbError(VbErr::InvalidUseOfNull);
    case Type::Boolean:
        return Currency::fromRaw(std::get<bool>(m_value) ? Currency::Scale : 0);
    case Type::Long: {
        qint64 raw = 0;
        if (__builtin_mul_overflow(std::get<qint64>(m_value), Currency::Scale, &raw))
            throw VbError(VbErr::Overflow);
        return Currency::fromRaw(raw);
    }
    case Type::Double:
        return Currency::fromDouble(std::get<double>(m_value));
    case Type::Currency:
        return std::get<Currency>(m_value);
    case Type::Date:
        return Currency::fromDouble(dateToSerial(std::get<QDateTime>(m_value)));
    case Type::String:
        return Currency::fromString(std::get<QString>(m_value));
    }
    return Currency();
}

QDateTime Variant::toDate() const
{
    switch (type()) {
    case Type::Empty:
        throw VbError(VbErr::TypeMismatch);
    case Type::Null:
        throw VbError(VbErr::InvalidUseOfNull);
    case Type::Boolean:
        return serialToDate(std::get<bool>(m_value) ? 1 : 0);
    case Type::Long:
        return serialToDate(double(std::get<qint64>(m_value)));
    case Type::Double:
        return serialToDate(std::get<double>(m_value));
    case Type::Currency:
        return serialToDate(std::get<Currency>(m_value).toDouble());
    case Type::Date:
        return std::get<QDateTime>(m_value);
    case Type::String: {
        const auto date = ProgramLocale::readDate(std::get<QString>(m_value));
        if (!date)
            throw VbError(VbErr::TypeMismatch);
        return *date;
    }
    }
    return QDateTime();
}

bool Variant::operator==(const Variant& other) const
{
    return m_value == other.m_value;
}
