#include "platform/ProgramLocale.h"
#include "platform/VbError.h"
#include "reports/ReportDefinition.h"

QString ValueFormat::apply(const Variant& value) const
{
    if (value.isNull() || value.isEmpty())
        return QString();
    try {
        switch (kind) {
        case Kind::Text:
            return value.toText();
        case Kind::Date:
            return ProgramLocale::formatDate(value.toDate().date(), pattern);
        case Kind::Number:
            if (value.type() == Variant::Type::Currency)
                return ProgramLocale::formatNumber(
                    DecimalText::fromScaled(value.toCurrency().raw(), 4), pattern);
            return ProgramLocale::formatNumber(value.toDouble(), pattern);
        case Kind::Money:
            return ProgramLocale::formatMoney(value.toCurrency());
        case Kind::YesNo:
            return value.toBool() ? yes : no;
        }
    } catch (const VbError&) {
        // A value of another kind than the report expects: shown as it is.
    }
    return value.toText();
}
