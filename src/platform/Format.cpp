#include "platform/Format.h"

#include "platform/DecimalText.h"
#include "platform/VbError.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

const std::array<const char*, 12> MonthAbbreviations = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A text that reads as a number under the program locale and fits a double;
// the same test IsNumeric makes, so the formats and the check never disagree.
std::optional<DecimalText::Number> numericText(const QString& text)
{
    auto number = DecimalText::readLocaleNumber(text);
    if (!number || !DecimalText::toDouble(*number))
        return std::nullopt;
    return number;
}

// The exact decimal of a value for the number formats; nullopt for text that
// is not numeric (it is shown as it stands).
std::optional<DecimalText::Number> numberOf(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::String:
        return numericText(value.toString());
    case Variant::Type::Long:
    case Variant::Type::Boolean:
        return DecimalText::fromInteger(value.toLong());
    case Variant::Type::Currency:
        return DecimalText::fromScaled(value.toCurrency().raw(), 4);
    case Variant::Type::Double:
    case Variant::Type::Date: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            throw VbError(VbErr::Overflow);
        return DecimalText::fromDouble(d);
    }
    case Variant::Type::Empty:
    case Variant::Type::Null:
        break;
    }
    return std::nullopt;
}

QString groupThousands(const QString& digits)
{
    QString text;
    text.reserve(digits.size() + digits.size() / 3);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ProgramLocale::GroupSeparator;
        text += digits[i];
    }
    return text;
}

// "#,##0.#0": grouped integer part, exactly two decimals. Halves round away
// from zero, as the platform's formatter does, on the exact decimal value:
// 0.005 gives 0.01 and 1.005 gives 1.01. A value that rounds to zero never
// shows a minus sign.
QString formatAmount(const Variant& value)
{
    const auto number = numberOf(value);
    if (!number)
        return value.toText();
    const DecimalText::Scaled cents =
        DecimalText::round(*number, 2, DecimalText::Rounding::HalfAwayFromZero);
    QString digits = QString::fromLatin1(cents.digits);
    if (digits.size() < 3)
        digits = QString(3 - digits.size(), u'0') + digits;
    const qsizetype integerDigits = digits.size() - 2;
    QString text = cents.negative ? QStringLiteral("-") : QString();
    text += groupThousands(digits.left(integerDigits));
    text += ProgramLocale::DecimalPoint;
    text += digits.mid(integerDigits);
    return text;
}

// "0/000/000" on a string of digits: at least seven digits, zero-padded in
// front, grouped 1-3-3 from the right; longer ids keep every digit in the
// first group.
QString groupReceiptDigits(const QString& digits)
{
    const QString padded = digits.size() < 7 ? QString(7 - digits.size(), u'0') + digits : digits;
    const qsizetype n = padded.size();
    return padded.left(n - 6) + ProgramLocale::DateSeparator + padded.mid(n - 6, 3) +
           ProgramLocale::DateSeparator + padded.right(3);
}

// Receipt ids are grouped only when made of digits alone; anything else (a
// sign, a letter, a decimal part, an already grouped id) is shown as typed.
QString formatReceipt(const Variant& value)
{
    if (value.type() == Variant::Type::String) {
        const QString text = value.toString();
        const bool digitsOnly =
            !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), isAsciiDigit);
        return digitsOnly ? groupReceiptDigits(text) : text;
    }
    if (value.type() == Variant::Type::Long || value.type() == Variant::Type::Currency ||
        value.type() == Variant::Type::Double) {
        const auto number = numberOf(value);
        if (number && !number->negative && number->exponent >= 0)
            return groupReceiptDigits(DecimalText::toPlainText(*number));
    }
    return value.toText();
}

QString formatDate(const Variant& value, bool withTime)
{
    QDateTime moment;
    if (value.type() == Variant::Type::String) {
        const auto parsed = ParseDate(value.toString());
        if (!parsed)
            return value.toString();
        moment = *parsed;
    } else {
        moment = value.toDate();
    }
    const QDate date = moment.date();
    const QString day = QString::asprintf("%02d", date.day());
    const QString month = ProgramLocale::monthAbbreviation(date.month());
    const QString year = QString::asprintf("%04d", date.year());
    if (!withTime)
        return day + ProgramLocale::DateSeparator + month + ProgramLocale::DateSeparator + year;
    const QTime time = moment.time();
    return day + u'-' + month + u'-' + year +
           QString::asprintf(" %02d.%02d", time.hour(), time.minute());
}

int monthFromText(const QString& text)
{
    if (text.size() == 3 && !isAsciiDigit(text[0])) {
        for (int m = 1; m <= 12; ++m) {
            if (text.compare(QLatin1String(MonthAbbreviations[m - 1]), Qt::CaseInsensitive) == 0)
                return m;
        }
        return 0;
    }
    return text.toInt();
}

std::optional<QDateTime> makeDateTime(int year, int month, int day,
                                      const QRegularExpressionMatch& m, int timeGroup)
{
    // Years before 100 are refused rather than silently taken as the first century.
    if (year < 100 || !QDate::isValid(year, month, day))
        return std::nullopt;
    QTime time(0, 0);
    if (m.hasCaptured(timeGroup)) {
        const int hour = m.captured(timeGroup).toInt();
        const int minute = m.captured(timeGroup + 1).toInt();
        const int second = m.hasCaptured(timeGroup + 2) ? m.captured(timeGroup + 2).toInt() : 0;
        if (!QTime::isValid(hour, minute, second))
            return std::nullopt;
        time = QTime(hour, minute, second);
    }
    return QDateTime(QDate(year, month, day), time);
}

} // namespace

QString ProgramLocale::monthAbbreviation(int month)
{
    if (month < 1 || month > 12)
        throw VbError(VbErr::InvalidCall);
    return QString::fromLatin1(MonthAbbreviations[month - 1]);
}

QString Format(const Variant& value, const QString& pattern)
{
    if (value.isNull() || value.isEmpty())
        return QString();
    if (pattern == QLatin1String("#,##0.#0"))
        return formatAmount(value);
    if (pattern == QLatin1String("0/000/000"))
        return formatReceipt(value);
    if (pattern == QLatin1String("dd/MMM/yyyy"))
        return formatDate(value, false);
    if (pattern == QLatin1String("dd-MMM-yyyy HH.mm"))
        return formatDate(value, true);
    throw VbError(VbErr::InvalidCall, QString(), QStringLiteral("unknown format ") + pattern);
}

bool IsNumeric(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Boolean:
    case Variant::Type::Long:
    case Variant::Type::Double:
    case Variant::Type::Currency:
        return true;
    case Variant::Type::String:
        return numericText(value.toString()).has_value();
    case Variant::Type::Empty:
    case Variant::Type::Null:
    case Variant::Type::Date:
        break;
    }
    return false;
}

double Val(const QString& text)
{
    // Collect the characters of the leading number, skipping blanks, tabs and
    // line feeds wherever they stand, then convert the collected ASCII text.
    QByteArray number;
    bool seenDigit = false;
    bool seenPoint = false;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto skipBlanks = [&] {
        while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n'))
            ++i;
    };

    skipBlanks();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }
    for (;; ++i) {
        skipBlanks();
        if (i >= n)
            break;
        if (isAsciiDigit(text[i])) {
            number += char(text[i].unicode());
            seenDigit = true;
        } else if (text[i] == u'.' && !seenPoint) {
            number += '.';
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit)
        return 0;

    // An exponent counts only when at least one digit follows its letter.
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        QByteArray exponent = "e";
        const auto skipBlanksAt = [&] {
            while (j < n && (text[j] == u' ' || text[j] == u'\t' || text[j] == u'\n'))
                ++j;
        };
        skipBlanksAt();
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent += char(text[j].unicode());
            ++j;
        }
        bool exponentDigit = false;
        for (;; ++j) {
            skipBlanksAt();
            if (j >= n || !isAsciiDigit(text[j]))
                break;
            exponent += char(text[j].unicode());
            exponentDigit = true;
        }
        if (exponentDigit)
            number += exponent;
    }

    double value = 0;
    const auto result =
        std::from_chars(number.constData(), number.constData() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars reports underflow the same way; tell the two apart.
        const auto exact = DecimalText::readLocaleNumber(QString::fromLatin1(number));
        if (exact && DecimalText::toDouble(*exact))
            return *DecimalText::toDouble(*exact);
        throw VbError(VbErr::Overflow);
    }
    return value;
}

std::optional<double> ParseNumber(const QString& text)
{
    const auto number = DecimalText::readLocaleNumber(text);
    if (!number)
        return std::nullopt;
    return DecimalText::toDouble(*number);
}

std::optional<QDateTime> ParseDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    const QString sep = QRegularExpression::escape(QString(ProgramLocale::DateSeparator));
    static const QString time =
        QStringLiteral("(?:(?:\\s+|T)([0-9]{1,2}):([0-9]{2})(?::([0-9]{2})(?:\\.[0-9]+)?)?)?");
    // "05/Dec/2026", "5/dec/2026", "05/12/2026", each with an optional time.
    static const QRegularExpression dayFirst(QStringLiteral("^([0-9]{1,2})") + sep +
                                             QStringLiteral("([A-Za-z]{3}|[0-9]{1,2})") + sep +
                                             QStringLiteral("([0-9]{4})") + time + u'$');
    // "2026-12-05", "2026-12-05 14:07", "2026-12-05T14:07:30".
    static const QRegularExpression iso(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})") +
                                        time + u'$');

    QRegularExpressionMatch m = dayFirst.match(trimmed);
    if (m.hasMatch()) {
        const int month = monthFromText(m.captured(2));
        if (month == 0)
            return std::nullopt;
        return makeDateTime(m.captured(3).toInt(), month, m.captured(1).toInt(), m, 4);
    }
    m = iso.match(trimmed);
    if (m.hasMatch())
        return makeDateTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m,
                            4);
    return std::nullopt;
}
