#include "statements/StatementValues.h"

#include "platform/DecimalText.h"
#include "platform/VbError.h"

#include <QRegularExpression>

namespace StatementValues {

std::optional<Currency> readAmount(QStringView text, QChar decimalMark)
{
    QString t = text.trimmed().toString();
    bool negative = false;
    if (t.endsWith(QLatin1Char('-'))) {
        negative = true;
        t.chop(1);
        t = t.trimmed();
    } else if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.startsWith(QLatin1Char('-'));
        t = t.mid(1).trimmed();
    }
    const QChar other = decimalMark == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    const QString d = QRegularExpression::escape(QString(decimalMark));
    const QString g =
        QStringLiteral("[%1 '\u00a0]").arg(QRegularExpression::escape(QString(other)));
    static thread_local QHash<QString, QRegularExpression> cache;
    const QString key = QString(decimalMark);
    auto it = cache.find(key);
    if (it == cache.end()) {
        it = cache.insert(key,
                          QRegularExpression(
                              QStringLiteral("^(\\d+|\\d{1,3}(%1\\d{3})+)(%2(\\d+))?$").arg(g, d)));
    }
    const auto m = it->match(t);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    QByteArray digits;
    for (QChar c : m.captured(1)) {
        if (c.isDigit()) {
            digits.append(char(c.unicode()));
        }
    }
    const QByteArray decimals = m.captured(4).toLatin1();
    try {
        return Currency::fromDecimal(
            DecimalText::fromDigits(negative, digits + decimals, -qint64(decimals.size())));
    } catch (const VbError&) {
        return std::nullopt;
    }
}

std::optional<QDate> readDate(QStringView text, QStringView pattern)
{
    const QString t = text.trimmed().toString();
    int day = -1, month = -1, year = -1;
    qsizetype i = 0, p = 0;
    auto number = [&](int minDigits, int maxDigits) -> int {
        int value = 0, n = 0;
        while (n < maxDigits && i < t.size() && t[i].isDigit()) {
            value = value * 10 + t[i].digitValue();
            ++i;
            ++n;
        }
        return n >= minDigits ? value : -1;
    };
    while (p < pattern.size()) {
        const auto rest = pattern.mid(p);
        if (rest.startsWith(u"yyyy")) {
            year = number(4, 4);
            p += 4;
        } else if (rest.startsWith(u"yy")) {
            const int y = number(2, 2);
            year = y < 0 ? -1 : 2000 + y;
            p += 2;
        } else if (rest.startsWith(u"dd") || rest.startsWith(u"MM")) {
            (rest[0] == u'd' ? day : month) = number(2, 2);
            p += 2;
        } else if (rest[0] == u'd' || rest[0] == u'M') {
            (rest[0] == u'd' ? day : month) = number(1, 2);
            p += 1;
        } else {
            if (i >= t.size() || t[i] != rest[0]) {
                return std::nullopt;
            }
            ++i;
            ++p;
        }
    }
    if (i != t.size() || day < 0 || month < 0 || year < 0) {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    if (!date.isValid()) {
        return std::nullopt;
    }
    return date;
}

QString plainAmount(Currency amount, QChar decimalMark)
{
    const qint64 raw = amount.raw();
    const bool negative = raw < 0;
    // The magnitude as unsigned, so the most negative value has one too.
    const quint64 magnitude = negative ? quint64(0) - quint64(raw) : quint64(raw);
    QString fraction =
        QStringLiteral("%1").arg(magnitude % Currency::Scale, 4, 10, QLatin1Char('0'));
    while (fraction.size() > 2 && fraction.endsWith(QLatin1Char('0'))) {
        fraction.chop(1);
    }
    return QStringLiteral("%1%2%3%4")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(magnitude / Currency::Scale)
        .arg(decimalMark)
        .arg(fraction);
}

} // namespace StatementValues
