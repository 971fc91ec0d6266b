#include "platform/widgets/PeriodPickers.h"

#include "platform/Variant.h"
#include "platform/widgets/Accessible.h"
#include "platform/widgets/DatePicker.h"

#include <QBoxLayout>
#include <QLabel>

PeriodPickers::PeriodPickers(QBoxLayout& row, const QString& caption, const QString& subject,
                             const QString& items)
{
    from = new DatePicker;
    from->setObjectName(QStringLiteral("dtpFrom"));
    to = new DatePicker;
    to->setObjectName(QStringLiteral("dtpTo"));
    from->setValue(Variant());
    to->setValue(Variant());
    row.addWidget(new QLabel(caption));
    row.addWidget(from);
    row.addWidget(new QLabel(QStringLiteral("to")));
    row.addWidget(to);
    // The captions "from" and "to" alone would not say what the dates bound.
    Accessible::describe(from, subject + QStringLiteral(" from"),
                         QStringLiteral("The first day of %1 to list, for example 01/Mar/2026; "
                                        "empty for no start.")
                             .arg(items));
    Accessible::describe(to, subject + QStringLiteral(" to"),
                         QStringLiteral("The last day of %1 to list, for example 31/Mar/2026; "
                                        "empty for no end.")
                             .arg(items));
}
