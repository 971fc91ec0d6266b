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
    // Fast path for stored amounts, which are whole ten-thousandths (all that
    // the program writes): a value this close to one can only round to it.
    // Loading a sheet of 100,000 rows stays quick this way.
    constexpr double Largest = 1e11; // well inside the exact range of a double
    if (std::fabs(value) < Largest) {
        const double scaled = value * double(Scale);
        const double whole = std::nearbyint(scaled);
        if (std::fabs(scaled - whole) < 1e-6)
            return fromRaw(qint64(whole));
    }
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
