#include "platform/ProgramLocale.h"
#include "platform/VbError.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "reports/frmPrint.h"
#include "shell/dbStuff.h"

const QString frmPrint::ReportSelect = QStringLiteral(
    "SELECT Businesses.BusinessId, Businesses.Name, Businesses.VATNr, Transactions.TransactionId, "
    "Transactions.TransactionDate, Transactions.MoneyIn, Transactions.Description, "
    "Transactions.ReceiptId, Transactions.TotalPrice, Transactions.Cash, Transactions.Remarks, "
    "Transactions.Relation, Transactions.InvoiceNr, Categories.CategoryId, Categories.Category, "
    "Categories.MoneyReceived, Categories.VAT, ([VAT]/100)*[TotalPrice] AS VatAmount "
    "FROM Categories INNER JOIN (Businesses INNER JOIN Transactions ON Businesses.BusinessId = "
    "Transactions.BusinessId) ON Categories.CategoryId = Transactions.CategoryId ");

namespace {

// A picker's date as a literal of the query: the date alone, year first, so
// that no day is read as a month and no time cuts off the last day.
QString dateLiteral(const Variant& value)
{
    return ProgramLocale::formatIsoDate(value.toDate().date());
}

} // namespace

bool frmPrint::MakeReport()
{
    using namespace dbStuff;
    try {
        const Variant start = dt1[0]->Value();
        const Variant end = dt1[1]->Value();
        const QString id = QString::number(cbobusiness->ItemData(cbobusiness->ListIndex()));
        QString criteria;
        if (!start.isNull() && !end.isNull()) {
            criteria = QStringLiteral("WHERE (((Businesses.BusinessId)=") + id +
                       QStringLiteral(") AND ((Transactions.TransactionDate)>=#") +
                       dateLiteral(start) +
                       QStringLiteral("# And (Transactions.TransactionDate)<=#") +
                       dateLiteral(end) + QStringLiteral("#));");
        } else if (!start.isNull()) {
            criteria = QStringLiteral("WHERE (((Businesses.BusinessId)=") + id +
                       QStringLiteral(") AND ((Transactions.TransactionDate)>=#") +
                       dateLiteral(start) + QStringLiteral("#));");
        } else if (!end.isNull()) {
            criteria = QStringLiteral("WHERE Businesses.BusinessId=") + id +
                       QStringLiteral(" AND Transactions.TransactionDate <=#") + dateLiteral(end) +
                       QStringLiteral("#;");
        } else {
            // Without dates the report still covers the chosen business only.
            criteria =
                QStringLiteral("WHERE (((Businesses.BusinessId)=") + id + QStringLiteral("));");
        }
        // Every report reads the same selection; none is left with the text of
        // whatever list query ran last.
        SqlText = ReportSelect + criteria;

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
