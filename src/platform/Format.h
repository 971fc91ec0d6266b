#pragma once

#include "platform/Variant.h"

#include <QString>

#include <optional>

// Formatting and reading of numbers and dates, all under the one program
// locale: "," groups thousands, "." is the decimal point, "/" separates the
// parts of a date, months have their English abbreviations.
namespace ProgramLocale {
inline constexpr QChar GroupSeparator = u',';
inline constexpr QChar DecimalPoint = u'.';
inline constexpr QChar DateSeparator = u'/';
// The short date form, used for CStr of a date and for dates typed as text.
inline constexpr const char* ShortDate = "dd/MM/yyyy";
QString monthAbbreviation(int month); // 1..12 -> "Jan".."Dec"
} // namespace ProgramLocale

// Format(value, pattern) for the patterns the program uses:
//   "#,##0.#0"          1234.5 -> "1,234.50", -3 -> "-3.00"
//   "0/000/000"         1234 -> "0/001/234" (the "/" is the date separator)
//   "dd/MMM/yyyy"       a date -> "05/Dec/2026"
//   "dd-MMM-yyyy HH.mm" a date and time -> "05-Dec-2026 14.07"
// A Null or Empty value gives "". A number pattern on text that is not numeric
// gives the text unchanged; a date pattern on text that is not a date too.
QString Format(const Variant& value, const QString& pattern);

// True when the text reads as a number under the program locale: optional
// blanks and sign, digits with "," group separators, one ".", an optional
// exponent. Empty text and Null are not numeric.
bool IsNumeric(const Variant& value);

// The value of the leading number of a text: sign, digits, at most one "." as
// decimal point (whatever the locale), an optional exponent; blanks, tabs and
// line feeds are skipped wherever they stand; reading stops at the first
// character that cannot continue the number, so "," ends it ("1,234.50" gives
// 1) and "15%" gives 15; 0 when the text does not start with a number. This is
// also how a typed VAT percentage is read.
double Val(const QString& text);

// Reads a number under the program locale; nullopt when it is not numeric.
std::optional<double> ParseNumber(const QString& text);

// Reads a date typed or shown as text: "dd/MMM/yyyy", "dd/MM/yyyy", ISO
// "yyyy-MM-dd" (with an optional time). nullopt for an impossible date.
std::optional<QDateTime> ParseDate(const QString& text);
