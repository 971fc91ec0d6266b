#include "platform/VbError.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "reports/frmPrint.h"
#include "shell/dbStuff.h"

const QString frmPrint::ReportSelect = Ledger::reportSelect();

bool frmPrint::MakeReport()
{
    using namespace dbStuff;
    try {
        const Variant start = dt1[0]->Value();
        const Variant end = dt1[1]->Value();
        const qint64 business = cbobusiness->ItemData(cbobusiness->ListIndex());
        // Every report reads the same selection; none is left with the text of
        // whatever list query ran last.
        SqlText = Ledger::reportQuery(
            business, start.isNull() ? std::nullopt : std::optional(start.toDate().date()),
            end.isNull() ? std::nullopt : std::optional(end.toDate().date()));

        ReportQueryName = QStringLiteral("crys_Default");
        try {
            ReportQuery = DB->CreateQueryDef(ReportQueryName, SqlText);
        } catch (const VbError& e) {
            if (e.number() != VbErr::ObjectExists)
                throw;
            // The query of the last print: replaced by this one.
            DB->DeleteQueryDef(ReportQueryName);
            ReportQuery = DB->CreateQueryDef(ReportQueryName, SqlText);
        }
        return true;
    } catch (const VbError& e) {
        ReportError(e);
        return false;
    }
}
