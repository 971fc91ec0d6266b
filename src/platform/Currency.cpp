#include "platform/Currency.h"

#include "platform/DecimalText.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"

#include <cmath>

Currency Currency::fromDecimal(const DecimalText::Number& number)
{
    const auto raw = DecimalText::toInt64(
        DecimalText::round(number, 4, DecimalText::Rounding::HalfAwayFromZero));
    if (!raw)
        throw VbError(VbErr::Overflow);
    return fromRaw(*raw);
}

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value))
        throw VbError(VbErr::Overflow);
    // Rounded from the shortest decimal of the double, so 0.00015 (stored a
    // hair below) still counts as a half and goes to 0.0002.
    return fromDecimal(DecimalText::fromDouble(value));
}

Currency Currency::fromString(const QString& text)
{
    const auto number = ProgramLocale::readNumber(text);
    if (!number)
        throw VbError(VbErr::TypeMismatch);
    return fromDecimal(*number);
}

Currency Currency::operator+(Currency other) const
{
    qint64 sum = 0;
    if (__builtin_add_overflow(m_raw, other.m_raw, &sum))
        throw VbError(VbErr::Overflow);
    return fromRaw(sum);
}

Currency Currency::operator-(Currency other) const
{
    qint64 difference = 0;
    if (__builtin_sub_overflow(m_raw, other.m_raw, &difference))
        throw VbError(VbErr::Overflow);
    return fromRaw(difference);
}

Currency Currency::operator-() const
{
    return Currency() - *this;
}
