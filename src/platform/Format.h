#pragma once

#include "platform/Variant.h"

#include <QString>

#include <optional>

// The platform's value functions. Every text they give or read is the
// program locale's (platform/ProgramLocale.h); these only dispatch on the
// value's type and the pattern.

// Format(value, pattern) for the patterns the program uses:
//   "#,##0.#0"          1234.5 -> "1,234.50", -3 -> "-3.00"
//   "0/000/000"         1234 -> "0/001/234" (the "/" is the date separator)
//   "dd/MMM/yyyy"       a date -> "05/Dec/2026"
//   "dd-MMM-yyyy HH.mm" a date and time -> "05-Dec-2026 14.07"
// A Null or Empty value gives "". A number pattern on text that is not numeric
// gives the text unchanged; a date pattern on text that is not a date too.
QString Format(const Variant& value, const QString& pattern);

// True when the text reads as a number under the program locale
// (ProgramLocale::readNumber) within the range of a double. Empty text and
// Null are not numeric.
bool IsNumeric(const Variant& value);

// The value of the leading number of a text (ProgramLocale::leadingNumber):
// "1,234.50" gives 1, "15%" gives 15, "abc" gives 0.
double Val(const QString& text);

// Reads a number under the program locale; nullopt when it is not numeric.
std::optional<double> ParseNumber(const QString& text);

// Reads a date typed or shown as text: "dd/MMM/yyyy", "dd/MM/yyyy", ISO
// "yyyy-MM-dd" (with an optional time). nullopt for an impossible date.
std::optional<QDateTime> ParseDate(const QString& text);
