// The program locale's dates and receipt ids. Numbers are in ProgramLocale.cpp.

#include "platform/ProgramLocale.h"
#include "platform/VbError.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace ProgramLocale {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The twelve abbreviations, read once from the name locale. Fast path for
// the sheet's load: dates are written by hand from these, not through
// QLocale's pattern parser for every cell.
const std::array<QString, 12>& months()
{
    static const std::array<QString, 12> names = [] {
        std::array<QString, 12> n;
        for (int m = 1; m <= 12; ++m)
            n[size_t(m - 1)] = nameLocale().monthName(m, QLocale::ShortFormat);
        return n;
    }();
    return names;
}

void appendNumber(QString& out, int value, int width)
{
    char digits[8];
    for (int i = width - 1; i >= 0; --i, value /= 10)
        digits[i] = char('0' + value % 10);
    out += QLatin1String(digits, width);
}

// Day, month and year of a date whose year has four digits, with the month
// written as its abbreviation or its number, and the separator between. One
// buffer, no pattern: this is on the sheet's load path.
QString dayMonthYear(QDate date, QChar separator, bool monthName)
{
    const auto digit = [](int value) { return QChar(u'0' + value % 10); };
    const QString& month = months()[size_t(date.month() - 1)];
    Q_ASSERT(month.size() <= 9);
    QChar text[20];
    qsizetype n = 0;
    text[n++] = digit(date.day() / 10);
    text[n++] = digit(date.day());
    text[n++] = separator;
    if (monthName) {
        for (const QChar c : month)
            text[n++] = c;
    } else {
        text[n++] = digit(date.month() / 10);
        text[n++] = digit(date.month());
    }
    text[n++] = separator;
    const int year = date.year();
    for (int unit : {1000, 100, 10, 1})
        text[n++] = digit(year / unit);
    return QString(text, n);
}

bool fourDigitYear(QDate date)
{
    return date.isValid() && date.year() >= 1000 && date.year() <= 9999;
}

QString timeText(QTime time, QChar separator, bool seconds)
{
    QString text;
    appendNumber(text, time.hour(), 2);
    text += separator;
    appendNumber(text, time.minute(), 2);
    if (seconds) {
        text += separator;
        appendNumber(text, time.second(), 2);
    }
    return text;
}

int monthFromText(QStringView text)
{
    if (!text.isEmpty() && !isAsciiDigit(text[0])) {
        const auto& names = months();
        const auto it = std::find_if(names.cbegin(), names.cend(), [&](const QString& name) {
            return text.compare(name, Qt::CaseInsensitive) == 0;
        });
        return it == names.cend() ? 0 : int(it - names.cbegin()) + 1;
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

int fullYear(int twoDigitYear, int currentYear)
{
    // The century that puts the year at most 20 years ahead of this one: in
    // 2026, "46" is 2046 and "47" is 1947.
    const int latest = currentYear + 20;
    const int year = latest - ((latest % 100 - twoDigitYear) % 100 + 100) % 100;
    return year;
}

QString monthAbbreviation(int month)
{
    if (month < 1 || month > 12)
        throw VbError(VbErr::InvalidCall);
    return months()[size_t(month - 1)];
}

QString formatDate(QDate date)
{
    if (fourDigitYear(date))
        return dayMonthYear(date, dateSeparator(), true);
    return formatDate(date, QStringLiteral("dd/MMM/yyyy"));
}

QString formatShortDate(const QDateTime& moment)
{
    const QDate date = moment.date();
    QString text = fourDigitYear(date) ? dayMonthYear(date, dateSeparator(), false)
                                       : nameLocale().toString(date, QStringLiteral("dd/MM/yyyy"));
    if (moment.time().msecsSinceStartOfDay() != 0)
        text += u' ' + timeText(moment.time(), u':', true);
    return text;
}

QString formatStamp(const QDateTime& moment)
{
    if (!fourDigitYear(moment.date()))
        return nameLocale().toString(moment, QStringLiteral("dd-MMM-yyyy HH.mm"));
    return dayMonthYear(moment.date(), u'-', true) + u' ' + timeText(moment.time(), u'.', false);
}

QString formatDateTime(const QDateTime& moment)
{
    return formatDate(moment.date()) + u' ' + timeText(moment.time(), u':', false);
}

QString formatMoment(const QDateTime& moment)
{
    return formatDate(moment.date()) + u' ' + timeText(moment.time(), u':', true);
}

QString formatIsoDate(QDate date)
{
    return date.toString(Qt::ISODate);
}

QString formatIsoDateTime(const QDateTime& moment)
{
    const QString date = formatIsoDate(moment.date());
    if (moment.time() == QTime(0, 0))
        return date;
    return date + u' ' + timeText(moment.time(), u':', true);
}

QString formatDate(QDate date, const QString& pattern)
{
    return nameLocale().toString(date, pattern);
}

std::optional<QDateTime> readDate(QStringView text)
{
    const QString trimmed = text.trimmed().toString();
    static const QString time =
        QStringLiteral("(?:(?:\\s+|T)([0-9]{1,2}):([0-9]{2})(?::([0-9]{2})(?:\\.[0-9]+)?)?)?");
    // The program's separator, and "-" and "." as people also type dates; the
    // same one twice ("15-11/2026" is no date).
    static const QString sep = QStringLiteral("([") +
                               QRegularExpression::escape(QString(dateSeparator())) +
                               QStringLiteral(".-])");
    // "05/Dec/2026", "5/dec/2026", "05/12/2026", "15-11-26", each with an
    // optional time.
    static const QRegularExpression dayFirst(QStringLiteral("^([0-9]{1,2})") + sep +
                                             QStringLiteral("([A-Za-z]{3}|[0-9]{1,2})\\2") +
                                             QStringLiteral("([0-9]{4}|[0-9]{2})") + time + u'$');
    // "2026-12-05", "2026-12-05 14:07", "2026-12-05T14:07:30".
    static const QRegularExpression iso(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})") +
                                        time + u'$');

    QRegularExpressionMatch m = dayFirst.match(trimmed);
    if (m.hasMatch()) {
        const int month = monthFromText(m.capturedView(3));
        if (month == 0)
            return std::nullopt;
        const int year = m.capturedView(4).size() == 2
                             ? fullYear(m.captured(4).toInt(), QDate::currentDate().year())
                             : m.captured(4).toInt();
        return makeDateTime(year, month, m.captured(1).toInt(), m, 5);
    }
    m = iso.match(trimmed);
    if (m.hasMatch())
        return makeDateTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m,
                            4);
    return std::nullopt;
}

std::optional<IsoMoment> readIsoDate(QByteArrayView text)
{
    const qsizetype size = text.size();
    const auto digits = [&](qsizetype from, int count) {
        int value = 0;
        for (qsizetype i = from; i < from + count; ++i) {
            if (i >= size || text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if (size < 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    IsoMoment moment;
    moment.date = QDate(digits(0, 4), digits(5, 2), digits(8, 2));
    moment.time = QTime(0, 0);
    if (!moment.date.isValid() || moment.date.year() < 100)
        return std::nullopt;
    if (size == 10)
        return moment;
    if (size != 19 || (text[10] != ' ' && text[10] != 'T') || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    moment.time = QTime(digits(11, 2), digits(14, 2), digits(17, 2));
    moment.hasTime = true;
    if (!moment.time.isValid())
        return std::nullopt;
    return moment;
}

QString formatReceiptId(const QString& text)
{
    if (text.isEmpty() || !std::all_of(text.cbegin(), text.cend(), isAsciiDigit))
        return text;
    const QString padded = text.size() < 7 ? QString(7 - text.size(), u'0') + text : text;
    const qsizetype n = padded.size();
    const QChar separator = dateSeparator();
    QString grouped;
    grouped.reserve(n + 2);
    grouped += QStringView(padded).left(n - 6);
    grouped += separator;
    grouped += QStringView(padded).mid(n - 6, 3);
    grouped += separator;
    grouped += QStringView(padded).right(3);
    return grouped;
}

} // namespace ProgramLocale
