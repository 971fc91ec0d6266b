#pragma once

#include "platform/Currency.h"
#include "platform/DecimalText.h"
#include "platform/Variant.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

// The one program locale: every piece of value text the program shows, stores
// as text or reads back goes through here. It is fixed, whatever the locale of
// the machine: "," groups thousands, "." is the decimal point, "/" separates
// the parts of a shown date, months are "Jan".."Dec".
//
// Money is rounded by one rule everywhere: to the cent (and Currency to its
// ten-thousandth) half away from zero, on the exact decimal value, never on a
// binary double: 2.675 gives 2.68, 0.105 gives 0.11, -0.005 gives -0.01.
namespace ProgramLocale {

// English (United Kingdom): the source of the separators.
const QLocale& numberLocale();
// English month and day names as the program shows them ("Sep", not the
// "Sept" of the en_GB data of Qt 6.4): the source of every month name.
const QLocale& nameLocale();

QChar groupSeparator();
QChar decimalPoint();
QChar dateSeparator();
// 1..12 -> "Jan".."Dec"; error 5 for any other month.
QString monthAbbreviation(int month);

// --- numbers ---------------------------------------------------------------

// Reads a whole text as a number: optional blanks around it, an optional sign,
// digits whose integer part is either plain or grouped by "," in threes
// ("1,234,567"), at most one "." and an optional exponent. nullopt for
// anything else, empty text included; "1,5" and "12,34" are refused rather
// than read as 15 or 1234, so a comma typed as a decimal point never inflates
// an amount.
std::optional<DecimalText::Number> readNumber(QStringView text);

// The value of the leading number of a text: sign, digits, at most one "." as
// decimal point, an optional exponent; blanks, tabs and line feeds are skipped
// wherever they stand; reading stops at the first character that cannot
// continue the number, so "," ends it ("1,234.50" gives 1) and "15%" gives 15;
// 0 when the text does not start with a number. Error 6 beyond the double range.
double leadingNumber(QStringView text);

// --- money -------------------------------------------------------------------

// Half away from zero to the cent.
Currency toCents(Currency amount);

// "#,##0.#0" (the sheet's amount cells): grouped, exactly two decimals,
// rounded to the cent; a value that rounds to zero never shows a minus sign.
QString formatAmount(Currency amount);
QString formatAmount(const DecimalText::Number& number);
// The amount format of a stored REAL, from its shortest decimal text.
// Fast path for the sheet's load: no decimal strings for the common amounts.
QString formatAmount(double value);

// An amount cell: what readNumber reads, as a Currency. nullopt for empty or
// other text; error 6 when the number does not fit Currency. Fast path for
// the sheet's totals: the shapes formatAmount writes are read in one pass.
std::optional<Currency> readAmount(QStringView text);

// The VAT of an amount at a rate in percent, computed exactly in decimal and
// rounded once to the cent, half away from zero: 9,456.76 at 19.6 gives
// 1,853.52 (exact 1,853.52496). The rate is a stored REAL and is taken by its
// shortest decimal text (19.6), not its binary expansion. Error 6 when the
// result does not fit Currency.
Currency vatOf(Currency amount, double ratePercent);

// --- percentages ---------------------------------------------------------------

// A typed VAT rate: a number from 0 to 100 with a point before any decimals
// and an optional "%" ("19.6%" gives 19.6); blank text is 0. nullopt for
// anything else: a decimal comma, a sign, an exponent, a "%" alone, over 100.
std::optional<double> readPercentage(QStringView text);
// A stored percentage as shown and edited: its shortest decimal ("19.6", "6");
// "" for Null, text as it stands.
QString formatPercentage(const Variant& percent);

// --- report number formats -------------------------------------------------------

// A pattern "0", "0.##", "#,##0.00", ...: "#,##" in front groups thousands,
// each "0" after the point is a decimal always shown, each "#" one shown only
// when it is not zero. Rounded half away from zero; no minus on a zero.
QString formatNumber(const DecimalText::Number& number, QStringView pattern);
QString formatNumber(double value, QStringView pattern);
// "#,##0.00" of money, taken to the cent.
QString formatMoney(Currency amount);

// --- dates -------------------------------------------------------------------

// "dd/MMM/yyyy", the sheet's and the reports' date: "05/Dec/2026".
QString formatDate(QDate date);
// "dd/MM/yyyy" with " HH:mm:ss" when not midnight: a date as plain text.
QString formatShortDate(const QDateTime& moment);
// "dd-MMM-yyyy HH.mm", the backup file's stamp: "05-Dec-2026 14.07".
QString formatStamp(const QDateTime& moment);
// "dd/MMM/yyyy HH:mm", a moment as shown: "05/Dec/2026 14:07".
QString formatDateTime(const QDateTime& moment);
// "dd/MMM/yyyy HH:mm:ss", a moment to the second: "05/Dec/2026 14:07:09".
QString formatMoment(const QDateTime& moment);
// "yyyy-MM-dd": the store's dates and the reports' #yyyy-mm-dd# literals.
QString formatIsoDate(QDate date);
// "yyyy-MM-dd", with " HH:mm:ss" when not midnight: a stored date and time.
QString formatIsoDateTime(const QDateTime& moment);
// A pattern of d, dd, M, MM, MMM, yy, yyyy and separators (report files).
QString formatDate(QDate date, const QString& pattern);

// Reads a date typed or shown as text: "dd/MMM/yyyy", "dd/MM/yyyy" (day and
// month of one or two digits, a year of four digits or of two, see fullYear;
// "-" or "." may stand for both "/") or ISO "yyyy-MM-dd", each with an
// optional time. nullopt for an impossible
// date (31/Feb, 29/Feb of a common year) or a four-digit year before 100.
std::optional<QDateTime> readDate(QStringView text);
// The year a two-digit year (0..99) stands for: the one of the hundred years
// up to 20 years after currentYear that ends in those digits.
int fullYear(int twoDigitYear, int currentYear);

// A stored date as the store writes it (formatIsoDate, formatIsoDateTime),
// read from its UTF-8 bytes. Fast path for the sheet's load: nullopt for any
// other text, which readDate may still read.
struct IsoMoment
{
    QDate date;
    QTime time; // midnight when the text has no time
    bool hasTime = false;
};
std::optional<IsoMoment> readIsoDate(QByteArrayView text);

// --- receipt ids -------------------------------------------------------------

// "0/000/000" of an id made of ASCII digits alone: zero-padded to seven
// digits, grouped 1-3-3 from the right, longer ids keeping every digit in the
// first group. Any other text (a sign, a letter, a grouped id) as it stands.
QString formatReceiptId(const QString& text);

} // namespace ProgramLocale
