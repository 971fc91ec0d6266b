#include "reports/ReportPeriod.h"

#include "platform/ProgramLocale.h"

namespace {

QString periodText(const ReportPeriod& period, QChar separator)
{
    auto date = [separator](QDate day) {
        QString text = ProgramLocale::formatDate(day);
        text.replace(ProgramLocale::dateSeparator(), separator);
        return text;
    };
    if (period.from && period.to)
        return date(*period.from) + QStringLiteral(" to ") + date(*period.to);
    if (period.from)
        return QStringLiteral("from ") + date(*period.from);
    if (period.to)
        return QStringLiteral("up to ") + date(*period.to);
    return QStringLiteral("all dates");
}

} // namespace

QString ReportPeriod::text() const
{
    return periodText(*this, ProgramLocale::dateSeparator());
}

QString ReportPeriod::fileText() const
{
    return periodText(*this, u'-');
}
