#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// Exact decimal arithmetic on digit strings: the engine under ProgramLocale,
// Currency and Variant, so that no amount ever passes through binary floating
// point on its way from text to text. Internal to the platform library; it
// reads and writes no locale text but the plain form below.
namespace DecimalText {

// value = (negative ? -1 : 1) * digits * 10^exponent. digits holds ASCII
// digits without leading or trailing zeros; empty digits mean zero (and then
// negative is false and exponent 0).
struct Number
{
    bool negative = false;
    QByteArray digits;
    int exponent = 0;

    bool isZero() const { return digits.isEmpty(); }
};

// An integer count of units of 10^-decimals, as produced by round():
// value = (negative ? -1 : 1) * digits * 10^-decimals. No leading zeros; empty
// digits mean zero, which is never negative.
struct Scaled
{
    bool negative = false;
    QByteArray digits;
    int decimals = 0;
};

enum class Rounding
{
    HalfEven,
    HalfAwayFromZero
};

// Builds a number from ASCII digits (leading and trailing zeros allowed):
// value = sign * digits * 10^exponent.
Number fromDigits(bool negative, QByteArray digits, qint64 exponent);
Number fromInteger(qint64 value);
// The shortest decimal that reads back as the same double (so 0.1 is 1E-1,
// not 0.1000000000000000055...). value must be finite.
Number fromDouble(double value);
// raw units of 10^-decimals.
Number fromScaled(qint64 raw, int decimals);

Scaled round(const Number& number, int decimals, Rounding rounding);

// The exact product.
Number multiply(const Number& a, const Number& b);

// The scaled integer as a 64-bit count; nullopt when it does not fit.
std::optional<qint64> toInt64(const Scaled& scaled);
// nullopt when the magnitude exceeds the double range; values too small for a
// double become zero.
std::optional<double> toDouble(const Number& number);

// Plain positional text without grouping and without trailing zeros, with
// the program's decimal point: "1234.5", "-0.001", "100".
QString toPlainText(const Number& number);

} // namespace DecimalText
