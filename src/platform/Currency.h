#pragma once

#include <QString>
#include <QtGlobal>

#include <compare>

namespace DecimalText {
struct Number;
}

// Fixed-point money: a 64-bit count of ten-thousandths. Every arithmetic step
// that leaves the 64-bit range raises error 6 (Overflow); nothing is ever
// silently wrapped or rounded through floating point.
class Currency final
{
public:
    static constexpr qint64 Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(qint64 tenThousandths)
    {
        Currency c;
        c.m_raw = tenThousandths;
        return c;
    }
    // The conversions round half away from zero at the fourth decimal, the
    // program's one rounding rule for money (ProgramLocale.h); error 6 when
    // out of range.
    // From the shortest decimal text of the double.
    static Currency fromDouble(double value);
    static Currency fromDecimal(const DecimalText::Number& number);
    // Reads a number under the program locale ("1,234.50", "-3", "1e3");
    // error 13 when the text is not numeric.
    static Currency fromString(const QString& text);

    constexpr qint64 raw() const { return m_raw; }
    double toDouble() const { return double(m_raw) / double(Scale); }

    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency operator-() const;
    Currency& operator+=(Currency other) { return *this = *this + other; }
    Currency& operator-=(Currency other) { return *this = *this - other; }

    constexpr auto operator<=>(const Currency&) const = default;

private:
    qint64 m_raw = 0;
};
