#include "sheet/SheetFormat.h"

#include "platform/Format.h"
#include "sheet/SheetColumns.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace SheetFormat {

namespace {

constexpr const char* Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

QString date(const Variant& value)
{
    if (value.type() == Variant::Type::Date) {
        const QDate d = value.toDate().date();
        if (d.isValid() && d.year() >= 1000 && d.year() <= 9999) {
            const char* month = Months[d.month() - 1];
            const int year = d.year();
            const char text[11] = {char('0' + d.day() / 10),
                                   char('0' + d.day() % 10),
                                   '/',
                                   month[0],
                                   month[1],
                                   month[2],
                                   '/',
                                   char('0' + year / 1000),
                                   char('0' + year / 100 % 10),
                                   char('0' + year / 10 % 10),
                                   char('0' + year % 10)};
            return QString::fromLatin1(text, 11);
        }
    }
    return Format(value, QString::fromLatin1(SheetText::DateFormat));
}

QString amount(const Variant& value)
{
    // Stored amounts are doubles; the common ones have at most two decimals in
    // their shortest exact text, and then the format only pads and groups.
    if (value.type() == Variant::Type::Double) {
        const double d = value.toDouble();
        char buf[48];
        const auto [end, ec] =
            std::isfinite(d) && std::fabs(d) < 1e15
                ? std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed)
                : std::to_chars_result{buf, std::errc::value_too_large};
        if (ec == std::errc()) {
            const char* p = buf;
            const bool negative = *p == '-';
            if (negative)
                ++p;
            const char* point = std::find(p, static_cast<const char*>(end), '.');
            const int decimals = point == end ? 0 : int(end - point - 1);
            if (decimals <= 2) {
                const int integerDigits = int(point - p);
                bool zero = true;
                for (const char* q = p; q < end; ++q)
                    if (*q >= '1' && *q <= '9')
                        zero = false;
                QString text;
                text.reserve(integerDigits + integerDigits / 3 + 5);
                if (negative && !zero)
                    text += u'-';
                for (int i = 0; i < integerDigits; ++i) {
                    if (i > 0 && (integerDigits - i) % 3 == 0)
                        text += ProgramLocale::GroupSeparator;
                    text += QLatin1Char(p[i]);
                }
                text += ProgramLocale::DecimalPoint;
                for (int i = 0; i < 2; ++i)
                    text += QLatin1Char(i < decimals ? point[1 + i] : '0');
                return text;
            }
        }
    }
    return Format(value, QString::fromLatin1(SheetText::AmountFormat));
}

QString receiptId(const QString& text)
{
    // Stored ids are mostly grouped already, and a text that is not made of
    // digits alone is shown as it stands.
    if (text.isEmpty() || !std::all_of(text.cbegin(), text.cend(), isDigit))
        return text;
    // At least seven digits, zeros in front, grouped 1-3-3 from the right;
    // longer ids keep every digit in the first group.
    const QString padded = text.size() < 7 ? QString(7 - text.size(), u'0') + text : text;
    const qsizetype n = padded.size();
    QString grouped;
    grouped.reserve(n + 2);
    grouped += QStringView(padded).left(n - 6);
    grouped += ProgramLocale::DateSeparator;
    grouped += QStringView(padded).mid(n - 6, 3);
    grouped += ProgramLocale::DateSeparator;
    grouped += QStringView(padded).right(3);
    return grouped;
}

std::optional<Currency> readAmount(QStringView text)
{
    // The short path takes what the amount format writes: an optional minus,
    // digits grouped in threes by "," (or not grouped), a point and up to four
    // decimals. Everything else goes the long way.
    const qsizetype n = text.size();
    if (n == 0)
        return std::nullopt;
    qsizetype i = 0;
    const bool negative = text[0] == u'-';
    if (negative)
        ++i;
    qint64 units = 0;
    int integerDigits = 0;
    int groupDigits = 0;
    bool grouped = false;
    bool shortPath = true;
    for (; i < n && text[i] != u'.'; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            units = units * 10 + (c.unicode() - u'0');
            ++integerDigits;
            ++groupDigits;
        } else if (c == ProgramLocale::GroupSeparator) {
            // The first group takes one to three digits, every later one three.
            if ((grouped ? groupDigits != 3 : (groupDigits < 1 || groupDigits > 3))) {
                shortPath = false;
                break;
            }
            grouped = true;
            groupDigits = 0;
        } else {
            shortPath = false;
            break;
        }
    }
    if (shortPath && (integerDigits == 0 || integerDigits > 14 || (grouped && groupDigits != 3)))
        shortPath = false;
    if (shortPath) {
        int decimals = 0;
        if (i < n) { // at the point
            ++i;
            for (; i < n && isDigit(text[i]) && decimals < 4; ++i, ++decimals)
                units = units * 10 + (text[i].unicode() - u'0');
            if (i < n || decimals == 0)
                shortPath = false;
        }
        if (shortPath) {
            for (; decimals < 4; ++decimals)
                units *= 10;
            return Currency::fromRaw(negative ? -units : units);
        }
    }
    const QString whole = text.toString();
    if (!IsNumeric(Variant(whole)))
        return std::nullopt;
    return Currency::fromString(whole);
}

} // namespace SheetFormat
