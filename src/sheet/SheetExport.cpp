#include "platform/widgets/ComboBox.h"
#include "platform/widgets/TabStrip.h"
#include "sheet/frmTransactions.h"
#include "shell/dbStuff.h"

using namespace dbStuff;

void frmTransactions::exportCsv()
{
    const std::optional<qint64> business = selectedBusiness();
    if (!business)
        return;
    // Rows typed but not stored are not in the file, so they are not
    // exported; the exported amounts are the stored ones.
    const bool cash = TS1->SelectedItem() == 1;
    Ledger l = ledger();
    const QString name = l.business(*business).name;
    ExportCsv(SheetCsvTable(l, *business, cash, SortSQL), SheetCsvFileName(name, cash));
}
