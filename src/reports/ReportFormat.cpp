#include "platform/VbError.h"
#include "reports/ReportDefinition.h"

#include <cmath>

namespace {

// Inserts "," between groups of three digits of a run of digits.
QString groupDigits(const QString& digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += u',';
        out += digits[i];
    }
    return out;
}

// "0", "0.##", "#,##0.00": "#" decimals are dropped when they are zeros.
QString formatNumber(double value, const QString& pattern)
{
    const bool grouped = pattern.startsWith(QLatin1String("#,##"));
    const qsizetype point = pattern.indexOf(u'.');
    const QString decimals = point < 0 ? QString() : pattern.mid(point + 1);
    const int minDecimals = int(decimals.count(u'0'));
    const int maxDecimals = int(decimals.size());
    QString text = QString::number(std::abs(value), 'f', maxDecimals);
    if (maxDecimals > minDecimals) {
        qsizetype keep = text.size();
        const qsizetype dot = text.indexOf(u'.');
        while (keep > dot + 1 + minDecimals && text[keep - 1] == u'0')
            --keep;
        if (keep == dot + 1)
            --keep; // no decimals left: no point either
        text.truncate(keep);
    }
    const qsizetype dot = text.indexOf(u'.');
    QString whole = dot < 0 ? text : text.left(dot);
    const QString fraction = dot < 0 ? QString() : text.mid(dot);
    if (grouped)
        whole = groupDigits(whole);
    const bool zero =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == u'0' || c == u'.'; });
    return (value < 0 && !zero ? QStringLiteral("-") : QString()) + whole + fraction;
}

} // namespace

Currency ToCents(Currency amount)
{
    qint64 cents = amount.raw() / 100;
    const qint64 rest = amount.raw() % 100; // keeps the sign of the amount
    if (rest >= 50)
        ++cents;
    else if (rest <= -50)
        --cents;
    return Currency::fromRaw(cents * 100);
}

QString FormatMoney(Currency amount)
{
    const qint64 cents = ToCents(amount).raw() / 100;
    const quint64 magnitude = cents < 0 ? quint64(-(cents + 1)) + 1 : quint64(cents);
    const QString whole = groupDigits(QString::number(magnitude / 100));
    const QString fraction = QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return (cents < 0 ? QStringLiteral("-") : QString()) + whole + u'.' + fraction;
}

QString ValueFormat::apply(const Variant& value) const
{
    if (value.isNull() || value.isEmpty())
        return QString();
    try {
        switch (kind) {
        case Kind::Text:
            return value.toText();
        case Kind::Date:
            return value.toDate().date().toString(pattern);
        case Kind::Number:
            return formatNumber(value.toDouble(), pattern);
        case Kind::Money:
            return FormatMoney(value.toCurrency());
        case Kind::YesNo:
            return value.toBool() ? yes : no;
        }
    } catch (const VbError&) {
        // A value of another kind than the report expects: shown as it is.
    }
    return value.toText();
}
