#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Dialogs.h"
#include "reports/frmPrint.h"
#include "shell/dbStuff.h"

const QString frmPrint::ReportSelect = Ledger::reportSelect();

bool frmPrint::MakeReport()
{
    using namespace dbStuff;
    try {
        // The rows are chosen by the period the report prints.
        const ReportPeriod period = chosenPeriod();
        const qint64 business = cbobusiness->ItemData(cbobusiness->ListIndex());
        // Every report reads the same selection; none is left with the text of
        // whatever list query ran last.
        SqlText = Ledger::reportQuery(business, period.from, period.to);

        ReportQueryName = QStringLiteral("crys_Default");
        try {
            ReportQuery = DB->CreateQueryDef(ReportQueryName, SqlText);
        } catch (const VbError& e) {
            if (e.number() != VbErr::ObjectExists)
                throw;
            const QString held = DB->objectType(ReportQueryName);
            if (held != u"view" && !held.isEmpty()) {
                // Something else of the program's own query name is in the
                // file; it may hold someone's data, so it is left alone.
                MsgBox(QStringLiteral("The report cannot be made: the database file holds %1 "
                                      "named \"%2\", the name the report needs for its query.")
                               .arg(held == u"table" ? QStringLiteral("a table")
                                                     : QStringLiteral("an object (%1)").arg(held),
                                    ReportQueryName) +
                           QStringLiteral("\r\rRename or remove it with a database tool, then "
                                          "print again. It has been left as it is."),
                       vbExclamation + vbOKOnly, AppTitle);
                return false;
            }
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
