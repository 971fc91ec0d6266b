#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The dates a report was asked for, both days included; either end may be
// open. What a report prints as its period is this choice, never the first
// and last dates that happen to be in its rows.
struct ReportPeriod
{
    std::optional<QDate> from;
    std::optional<QDate> to;

    // "01/Nov/2026 to 30/Nov/2026", "from 01/Nov/2026", "up to 30/Nov/2026",
    // or "all dates".
    QString text() const;
    // The same for a file name, with "-" for the "/" of the dates:
    // "01-Nov-2026 to 30-Nov-2026".
    QString fileText() const;
};
