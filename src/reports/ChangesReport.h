#pragma once

#include "reports/ReportData.h"

class Database;

// The "Changes" report: every change to a business, its transactions, its
// allocations and the categories allocated to it in a period, from the file's
// change history. A change is a heading (when, which record, what happened,
// the step it belonged to) over one line per changed field with its value
// before and after. Its layout is built in, not a file beside the database:
// a record of changes must not depend on a file that anyone can edit.
ReportDefinition ChangesReportDefinition();

// Runs the report; raises VbError 3021 when there is no business of that id.
ReportResult BuildChangesReport(Database& db, qint64 businessId, const ReportPeriod& period);
