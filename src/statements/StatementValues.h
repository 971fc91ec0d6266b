#pragma once

#include "platform/Currency.h"

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

// Values as statement files write them, which is not the program's locale:
// each format names its own decimal mark and date order.
namespace StatementValues {

// An amount with the given decimal mark ('.' or ','): optional blanks, an
// optional leading "+" or "-" (or a trailing "-"), digits either plain or
// grouped in threes by the other mark, a blank or an apostrophe, then at most
// one decimal mark with digits after it. Exact, never through a double;
// nullopt for anything else (and for amounts beyond Currency).
std::optional<Currency> readAmount(QStringView text, QChar decimalMark);

// A date by a pattern of dd, d, MM, M, yyyy, yy and separators, e.g.
// "dd.MM.yyyy", "yyyy-MM-dd", "yyMMdd" (two-digit years are 2000..2099).
// nullopt when the text does not match or names no real day.
std::optional<QDate> readDate(QStringView text, QStringView pattern);

// The amount as plain text with a point and at least two decimals ("-12.50",
// "1234.5678"): exact, for fingerprints and exported files.
QString plainAmount(Currency amount, QChar decimalMark = QLatin1Char('.'));

} // namespace StatementValues
