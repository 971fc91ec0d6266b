#include "reports/ChangesReport.h"

#include "data/Database.h"
#include "data/HistoryLog.h"
#include "data/Ledger.h"
#include "data/Recordset.h"

namespace {

// In the format of the report files (see db/reports/).
const char* const Layout = R"layout(
title       "Changes"
orientation landscape
fontsize    8
pageheader  "{Name}"
pageheader  "VAT number: {VATNr}"
pageheader  "Period: {period}"
pagefooter  "Page {page} of {pages}"

column "Field"  Field     text  width 16
column "Before" OldValue  text  width 42
column "After"  NewValue  text  width 42

group       HistoryId
groupheader "{ChangedAt}   {Record} {Action}   ({Step})"

empty "No record of this business was changed in the chosen period."
)layout";

} // namespace

ReportDefinition ChangesReportDefinition()
{
    return ParseReportFile(QString::fromUtf8(Layout));
}

ReportResult BuildChangesReport(Database& db, qint64 businessId, const ReportPeriod& period)
{
    Ledger ledger(db);
    const ReportContext context = BusinessReportContext(ledger, businessId, period);
    auto rows = db.OpenRecordset(HistoryLog::changesQuery(businessId, period.from, period.to),
                                 RecordsetType::ForwardOnly);
    return BuildReport(ChangesReportDefinition(), *rows, context);
}
