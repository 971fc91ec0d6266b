#include "platform/Format.h"

#include "platform/DecimalText.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"

#include <cmath>

namespace {

// A text that reads as a number under the program locale and fits a double;
// the same test IsNumeric makes, so the formats and the check never disagree.
std::optional<DecimalText::Number> numericText(const QString& text)
{
    auto number = ProgramLocale::readNumber(text);
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

QString formatAmount(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Currency:
        return ProgramLocale::formatAmount(value.toCurrency());
    case Variant::Type::Double:
        return ProgramLocale::formatAmount(value.toDouble());
    default: {
        const auto number = numberOf(value);
        return number ? ProgramLocale::formatAmount(*number) : value.toText();
    }
    }
}

// Whole non-negative numbers are grouped by their digits; other values are
// shown as they are.
QString formatReceipt(const Variant& value)
{
    if (value.type() == Variant::Type::String)
        return ProgramLocale::formatReceiptId(value.toString());
    if (value.type() == Variant::Type::Long || value.type() == Variant::Type::Currency ||
        value.type() == Variant::Type::Double) {
        const auto number = numberOf(value);
        if (number && !number->negative && number->exponent >= 0)
            return ProgramLocale::formatReceiptId(DecimalText::toPlainText(*number));
    }
    return value.toText();
}

QString formatDate(const Variant& value, bool withTime)
{
    QDateTime moment;
    if (value.type() == Variant::Type::String) {
        const auto parsed = ProgramLocale::readDate(value.toString());
        if (!parsed)
            return value.toString();
        moment = *parsed;
    } else {
        moment = value.toDate();
    }
    return withTime ? ProgramLocale::formatStamp(moment) : ProgramLocale::formatDate(moment.date());
}

} // namespace

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
    return ProgramLocale::leadingNumber(text);
}

std::optional<double> ParseNumber(const QString& text)
{
    const auto number = ProgramLocale::readNumber(text);
    if (!number)
        return std::nullopt;
    return DecimalText::toDouble(*number);
}

std::optional<QDateTime> ParseDate(const QString& text)
{
    return ProgramLocale::readDate(text);
}
