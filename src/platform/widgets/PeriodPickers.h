#pragma once

#include <QString>

class DatePicker;
class QBoxLayout;

// A period chosen by two dates, each empty at first (no bound on that side),
// appended to a row of controls as "<caption> [first day] to [last day]".
struct PeriodPickers
{
    DatePicker* from = nullptr;
    DatePicker* to = nullptr;

    // `caption` stands before the first date ("from", "Deleted from");
    // `subject` names what the period selects, for screen readers: the
    // pickers are named "<Subject> from" and "<Subject> to" and described
    // as the first and last day of the <items> to list.
    PeriodPickers(QBoxLayout& row, const QString& caption, const QString& subject,
                  const QString& items);
};
