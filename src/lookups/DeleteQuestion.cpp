#include "lookups/DeleteQuestion.h"

#include "platform/ProgramLocale.h"

namespace {

QString counted(qint64 count, const QString& singular)
{
    return ProgramLocale::formatNumber(double(count), u"#,##0") + QLatin1Char(' ') + singular +
           (count == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

QString deleteDependantsLine(const QString& what, const Ledger::Dependants& dependants,
                             const QString& allocatedTo)
{
    const QString allocation = allocatedTo + QStringLiteral(" allocation");
    QStringList parts;
    if (dependants.transactions > 0)
        parts << counted(dependants.transactions, QStringLiteral("transaction"));
    if (dependants.allocations > 0)
        parts << counted(dependants.allocations, allocation);
    if (parts.isEmpty())
        return QStringLiteral("That is ") + what +
               QStringLiteral(" alone: it has no transactions and no ") + allocation +
               QStringLiteral("s.");
    return QStringLiteral("That is ") + what + QStringLiteral(" and its ") +
           parts.join(QStringLiteral(" and ")) + QLatin1Char('.');
}
