// The only place that names tables and fields. Reads run one forward-only
// query each; writes go through table recordsets, which check every value as
// it is assigned (3163, 3421) and give new rows their auto-number.

#include "data/Ledger.h"

#include "data/Database.h"
#include "data/History.h"
#include "data/Recordset.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"

namespace {

const QString PrimaryKey = QStringLiteral("PrimaryKey");

std::unique_ptr<Recordset> openTable(Database& db, const QString& table)
{
    auto rs = db.OpenRecordset(table, RecordsetType::Table);
    rs->setIndex(PrimaryKey);
    return rs;
}

// Positions a table recordset on the row of that id; false when there is none.
bool seek(Recordset& rs, qint64 id)
{
    rs.Seek(QStringLiteral("="), Variant(id));
    return !rs.NoMatch();
}

// AddNew for id 0, else Edit of that row (3021 when it is gone).
void beginWrite(Recordset& rs, qint64 id)
{
    if (id == 0) {
        rs.AddNew();
        return;
    }
    seek(rs, id);
    rs.Edit();
}

// Writes the pending row and returns its id; on any failure the pending edit
// is dropped, so the table recordset is clean for the next caller.
template <typename Assign>
qint64 writeRow(Recordset& rs, qint64 id, const QString& idField, Assign assign)
{
    try {
        beginWrite(rs, id);
        assign();
        rs.Update();
    } catch (const VbError&) {
        if (rs.editMode() != Recordset::EditMode::None)
            rs.CancelUpdate();
        throw;
    }
    rs.setBookmark(rs.LastModified());
    return rs.field(idField).toLong();
}

// The rows that refer to one business or category: its transactions (by the
// transaction field) and its allocations (by the allocation field).
Ledger::Dependants dependants(Database& db, const QString& transactionField,
                              const QString& allocationField, qint64 id)
{
    auto query =
        db.OpenRecordset(QStringLiteral("SELECT (SELECT count(*) FROM Transactions WHERE %1 = %3), "
                                        "(SELECT count(*) FROM relCat_Bis WHERE %2 = %3);")
                             .arg(transactionField, allocationField, QString::number(id)),
                         RecordsetType::ForwardOnly);
    return {query->field(0).toLong(), query->field(1).toLong()};
}

bool deleteRow(Database& db, const QString& table, qint64 id)
{
    auto rs = openTable(db, table);
    if (!seek(*rs, id))
        return false;
    rs->Delete();
    return true;
}

Variant optionalText(const std::optional<QString>& text)
{
    return text ? Variant(*text) : Variant::null();
}

std::optional<QString> optionalText(const Variant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toString();
}

// "Fuel and 37 transactions", "Fuel and 1 transaction", "Fuel".
QString withTransactions(const QString& name, qint64 count)
{
    if (count == 0)
        return name;
    return name + (count == 1 ? QStringLiteral(" and 1 transaction")
                              : QStringLiteral(" and %1 transactions").arg(count));
}

// "change of amount of transaction 57", "change of date and relation of
// transaction 57": the fields of the stored row (rs stands on it) that t
// changes, as the sheet's columns name them.
QString changeCaption(const Recordset& rs, const Ledger::Transaction& t)
{
    QStringList fields;
    const auto text = [&](const char* field, const QString& value, const char* name) {
        if (rs.field(QString::fromLatin1(field)).toText() != value)
            fields << QString::fromLatin1(name);
    };
    const Variant date = rs.field(QStringLiteral("TransactionDate"));
    if (date.isNull() != !t.date || (t.date && date.toDate().date() != *t.date))
        fields << QStringLiteral("date");
    text("Invoicenr", t.invoiceNr, "invoice number");
    text("Relation", t.relation, "relation");
    if (rs.field(QStringLiteral("CategoryId")).toLong() != t.categoryId)
        fields << QStringLiteral("category");
    text("Description", t.description, "description");
    text("ReceiptId", t.receiptId, "receipt id");
    const Variant amount = rs.field(QStringLiteral("TotalPrice"));
    if (rs.field(QStringLiteral("MoneyIn")).toBool() != t.moneyIn ||
        (t.amount && (amount.isNull() || Currency::fromDouble(amount.toDouble()) != *t.amount)))
        fields << QStringLiteral("amount");
    if (rs.field(QStringLiteral("BusinessId")).toLong() != t.businessId ||
        rs.field(QStringLiteral("Cash")).toBool() != t.cash)
        fields << QStringLiteral("sheet");
    QString what;
    for (int i = 0; i < fields.size(); ++i)
        what += (i == 0                   ? QString()
                 : i + 1 == fields.size() ? QStringLiteral(" and ")
                                          : QStringLiteral(", ")) +
                fields[i];
    return QStringLiteral("change of %1transaction %2")
        .arg(what.isEmpty() ? QString() : what + QStringLiteral(" of "))
        .arg(t.id);
}

QString dateLiteral(const QDate& date)
{
    return QLatin1Char('#') + ProgramLocale::formatIsoDate(date) + QLatin1Char('#');
}

} // namespace

// ---- transactions

Ledger::Stored Ledger::storeTransaction(Transaction& t, const CutText& cut)
{
    auto table = openTable(m_db, QStringLiteral("Transactions"));
    Recordset& rs = *table;
    // A row that is gone gets 3021 from writeRow below.
    HistoryStep step(m_db, t.id != 0 && seek(rs, t.id) ? changeCaption(rs, t)
                                                       : QStringLiteral("new transaction"));
    Stored stored;
    const auto text = [&](const char* field, TransactionText which, QString& value) {
        const QString name = QString::fromLatin1(field);
        try {
            rs.setField(name, Variant(value));
        } catch (const VbError& e) {
            if (e.number() != VbErr::FieldTooSmall || !cut)
                throw;
            value = cut(which, value);
            rs.setField(name, Variant(value));
        }
    };
    stored.id = writeRow(rs, t.id, QStringLiteral("TransactionId"), [&] {
        if (t.id != 0)
            stored.previousRelation = rs.field(QStringLiteral("Relation")).toText();
        rs.setField(QStringLiteral("TransactionDate"), t.date ? Variant(*t.date) : Variant::null());
        rs.setField(QStringLiteral("Cash"), Variant(t.cash));
        rs.setField(QStringLiteral("MoneyIn"), Variant(t.moneyIn));
        text("Invoicenr", TransactionText::InvoiceNr, t.invoiceNr);
        rs.setField(QStringLiteral("CategoryId"),
                    t.categoryId ? Variant(t.categoryId) : Variant::null());
        text("Description", TransactionText::Description, t.description);
        text("ReceiptId", TransactionText::ReceiptId, t.receiptId);
        if (t.amount)
            rs.setField(QStringLiteral("TotalPrice"), Variant(*t.amount));
        rs.setField(QStringLiteral("BusinessId"),
                    t.businessId ? Variant(t.businessId) : Variant::null());
        text("Relation", TransactionText::Relation, t.relation);
    });
    t.id = stored.id;
    return stored;
}

bool Ledger::deleteTransaction(qint64 id)
{
    HistoryStep step(m_db, QStringLiteral("delete of transaction %1").arg(id));
    return deleteRow(m_db, QStringLiteral("Transactions"), id);
}

void Ledger::sheetRows(qint64 businessId, bool cash, const QString& sortClause,
                       const std::function<void(const Transaction&)>& row)
{
    // The clause is one of our own constants, never text from elsewhere.
    if (!isSortClause(sortClause))
        throw VbError(VbErr::InvalidCall);
    const QString sql =
        QStringLiteral("SELECT Transactions.TransactionId, Transactions.TransactionDate, "
                       "Transactions.Invoicenr, Transactions.relation, Transactions.MoneyIn, "
                       "Transactions.CategoryId, Categories.Category, Transactions.Description, "
                       "Transactions.ReceiptId, Transactions.Totalprice "
                       "FROM Categories INNER JOIN Transactions ON Categories.CategoryId = "
                       "Transactions.CategoryId "
                       "Where (((Transactions.Cash) = %1) And ((Transactions.BusinessId) = %2)) ")
            .arg(cash ? QStringLiteral("True") : QStringLiteral("false"))
            .arg(businessId) +
        sortClause;
    auto query = m_db.OpenRecordset(sql, RecordsetType::ForwardOnly);
    Recordset& rs = *query;
    // By position: looked up once, not once a row.
    enum Col
    {
        Id,
        Date,
        InvoiceNr,
        Relation,
        MoneyIn,
        CategoryId,
        CategoryName,
        Description,
        ReceiptId,
        Amount
    };
    // Every row is of this business and sheet; reading that again per row
    // would only slow a load of 100,000 rows.
    Transaction t;
    t.cash = cash;
    t.businessId = businessId;
    while (!rs.EOF_()) {
        t.id = rs.field(Id).toLong();
        const Variant date = rs.field(Date);
        t.date = date.isNull() ? std::nullopt : std::optional<QDate>(date.toDate().date());
        t.invoiceNr = rs.field(InvoiceNr).toText();
        t.relation = rs.field(Relation).toText();
        t.moneyIn = rs.field(MoneyIn).toBool();
        t.categoryId = rs.field(CategoryId).toLong();
        t.category = rs.field(CategoryName).toText();
        t.description = rs.field(Description).toText();
        t.receiptId = rs.field(ReceiptId).toText();
        const Variant amount = rs.field(Amount);
        t.amount = amount.isNull()
                       ? std::nullopt
                       : std::optional<Currency>(Currency::fromDouble(amount.toDouble()));
        row(t);
        rs.MoveNext();
    }
}

QStringList Ledger::relations()
{
    auto query = m_db.OpenRecordset(QStringLiteral("SELECT distinct Transactions.Relation From "
                                                   "Transactions ORDER BY Transactions.Relation;"),
                                    RecordsetType::ForwardOnly);
    QStringList list;
    for (Recordset& rs = *query; !rs.EOF_(); rs.MoveNext()) {
        const QString relation = rs.field(0).toText();
        if (!relation.isEmpty())
            list.append(relation);
    }
    return list;
}

// ---- categories

namespace {

Ledger::Ledger::Category readCategory(const Recordset& rs)
{
    Ledger::Category c;
    c.id = rs.field(QStringLiteral("CategoryId")).toLong();
    c.name = rs.field(QStringLiteral("Category")).toText();
    c.moneyReceived = rs.field(QStringLiteral("MoneyReceived")).toBool();
    const Variant vat = rs.field(QStringLiteral("VAT"));
    c.vat = vat.isNull() ? std::nullopt : std::optional<double>(vat.toDouble());
    const Variant use = rs.field(QStringLiteral("CashOrBank"));
    c.cashOrBank = use.isNull() ? Ledger::Category::CashAndBank : int(use.toLong());
    return c;
}

} // namespace

QList<Ledger::Category> Ledger::sheetCategories(qint64 businessId, int sheet)
{
    const QString sql =
        QStringLiteral("SELECT distinct Categories.CategoryId, Categories.Category "
                       "FROM relCat_Bis INNER JOIN Categories ON relCat_Bis.CatId = "
                       "Categories.CategoryId "
                       "WHERE relCat_Bis.Busid=%1 AND (Categories.CashOrBank=%2 OR "
                       "Categories.CashOrBank=3) ORDER BY Categories.Category;")
            .arg(businessId)
            .arg(sheet);
    auto query = m_db.OpenRecordset(sql, RecordsetType::ForwardOnly);
    QList<Category> list;
    for (Recordset& rs = *query; !rs.EOF_(); rs.MoveNext()) {
        Category c;
        c.id = rs.field(0).toLong();
        c.name = rs.field(1).toText();
        list.append(c);
    }
    return list;
}

bool Ledger::categoryOnSheet(qint64 categoryId, int sheet)
{
    const QString sql = QStringLiteral("SELECT CategoryId FROM Categories WHERE CategoryId=%1 AND "
                                       "(CashOrBank=%2 OR CashOrBank=3 OR CashOrBank IS NULL);")
                            .arg(categoryId)
                            .arg(sheet);
    return !m_db.OpenRecordset(sql, RecordsetType::ForwardOnly)->EOF_();
}

std::optional<bool> Ledger::categoryReceivesMoney(qint64 categoryId)
{
    auto query = m_db.OpenRecordset(
        QStringLiteral("SELECT MoneyReceived FROM Categories WHERE CategoryId=%1;").arg(categoryId),
        RecordsetType::ForwardOnly);
    if (query->EOF_())
        return std::nullopt;
    return query->field(0).toBool();
}

QList<Ledger::Category> Ledger::categories()
{
    auto query = m_db.OpenRecordset(
        QStringLiteral(
            "SELECT Categories.CategoryId, Categories.Category, Categories.MoneyReceived, "
            "Categories.VAT, Categories.CashOrBank From Categories ORDER BY "
            "Categories.Category;"),
        RecordsetType::ForwardOnly);
    QList<Category> list;
    for (Recordset& rs = *query; !rs.EOF_(); rs.MoveNext())
        list.append(readCategory(rs));
    return list;
}

Ledger::Category Ledger::category(qint64 id)
{
    auto table = openTable(m_db, QStringLiteral("Categories"));
    seek(*table, id); // no current row when missing: 3021 on reading
    return readCategory(*table);
}

qint64 Ledger::storeCategory(Category& c)
{
    HistoryStep step(m_db, (c.id == 0 ? QStringLiteral("new category ")
                                      : QStringLiteral("change of category ")) +
                               c.name);
    auto table = openTable(m_db, QStringLiteral("Categories"));
    Recordset& rs = *table;
    c.id = writeRow(rs, c.id, QStringLiteral("CategoryId"), [&] {
        rs.setField(QStringLiteral("Category"), Variant(c.name));
        rs.setField(QStringLiteral("VAT"), c.vat ? Variant(*c.vat) : Variant::null());
        rs.setField(QStringLiteral("MoneyReceived"), Variant(c.moneyReceived));
        rs.setField(QStringLiteral("CashOrBank"), Variant(c.cashOrBank));
    });
    return c.id;
}

bool Ledger::deleteCategory(qint64 id)
{
    // The file's foreign keys take the category's transactions and
    // allocations along, in the same step.
    auto query = m_db.OpenRecordset(
        QStringLiteral("SELECT Category, (SELECT count(*) FROM Transactions WHERE CategoryId = "
                       "%1) FROM Categories WHERE CategoryId = %1;")
            .arg(id),
        RecordsetType::ForwardOnly);
    if (query->EOF_())
        return false;
    HistoryStep step(m_db,
                     QStringLiteral("delete of category ") +
                         withTransactions(query->field(0).toText(), query->field(1).toLong()));
    query.reset();
    return deleteRow(m_db, QStringLiteral("Categories"), id);
}

Ledger::Dependants Ledger::categoryDependants(qint64 id)
{
    return dependants(m_db, QStringLiteral("CategoryId"), QStringLiteral("CatId"), id);
}

// ---- businesses

QList<Ledger::Business> Ledger::businesses()
{
    auto query = m_db.OpenRecordset(
        QStringLiteral("SELECT Businesses.BusinessId, Businesses.Name, Businesses.VATNr From "
                       "Businesses ORDER BY Businesses.Name;"),
        RecordsetType::ForwardOnly);
    QList<Business> list;
    for (Recordset& rs = *query; !rs.EOF_(); rs.MoveNext()) {
        Business b;
        b.id = rs.field(0).toLong();
        b.name = rs.field(1).toText();
        b.vatNr = optionalText(rs.field(2));
        list.append(b);
    }
    return list;
}

Ledger::Business Ledger::business(qint64 id)
{
    auto table = openTable(m_db, QStringLiteral("Businesses"));
    const Recordset& rs = *table;
    seek(*table, id); // no current row when missing: 3021 on reading
    Business b;
    b.id = rs.field(QStringLiteral("BusinessId")).toLong();
    b.name = rs.field(QStringLiteral("Name")).toText();
    b.vatNr = optionalText(rs.field(QStringLiteral("VATNr")));
    b.accountNr = optionalText(rs.field(QStringLiteral("accountnr")));
    return b;
}

qint64 Ledger::storeBusiness(Business& b)
{
    HistoryStep step(m_db, (b.id == 0 ? QStringLiteral("new business ")
                                      : QStringLiteral("change of business ")) +
                               b.name);
    auto table = openTable(m_db, QStringLiteral("Businesses"));
    Recordset& rs = *table;
    b.id = writeRow(rs, b.id, QStringLiteral("BusinessId"), [&] {
        rs.setField(QStringLiteral("Name"), Variant(b.name));
        rs.setField(QStringLiteral("VATNr"), optionalText(b.vatNr));
        rs.setField(QStringLiteral("accountnr"), optionalText(b.accountNr));
    });
    return b.id;
}

bool Ledger::deleteBusiness(qint64 id)
{
    // The file's foreign keys take the business's transactions and
    // allocations along, in the same step.
    auto query = m_db.OpenRecordset(
        QStringLiteral("SELECT Name, (SELECT count(*) FROM Transactions WHERE BusinessId = %1) "
                       "FROM Businesses WHERE BusinessId = %1;")
            .arg(id),
        RecordsetType::ForwardOnly);
    if (query->EOF_())
        return false;
    HistoryStep step(m_db,
                     QStringLiteral("delete of business ") +
                         withTransactions(query->field(0).toText(), query->field(1).toLong()));
    query.reset();
    return deleteRow(m_db, QStringLiteral("Businesses"), id);
}

Ledger::Dependants Ledger::businessDependants(qint64 id)
{
    return dependants(m_db, QStringLiteral("BusinessId"), QStringLiteral("Busid"), id);
}

// ---- allocation

void Ledger::requireAllocationTable()
{
    openTable(m_db, QStringLiteral("relCat_Bis"));
}

QList<qint64> Ledger::allocatedBusinesses(qint64 categoryId)
{
    auto query = m_db.OpenRecordset(
        QStringLiteral("SELECT relCat_Bis.Busid From relCat_Bis WHERE (((relCat_Bis.CatId)=%1));")
            .arg(categoryId),
        RecordsetType::ForwardOnly);
    QList<qint64> ids;
    for (Recordset& rs = *query; !rs.EOF_(); rs.MoveNext())
        ids.append(rs.field(0).toLong());
    return ids;
}

bool Ledger::anyAllocation()
{
    auto query = m_db.OpenRecordset(
        QStringLiteral("SELECT 1 FROM (relCat_Bis INNER JOIN Businesses ON "
                       "relCat_Bis.Busid = Businesses.BusinessId) INNER JOIN Categories ON "
                       "relCat_Bis.CatId = Categories.CategoryId LIMIT 1;"),
        RecordsetType::ForwardOnly);
    return !query->EOF_();
}

bool Ledger::setAllocated(qint64 categoryId, qint64 businessId, bool allocated)
{
    auto table = openTable(m_db, QStringLiteral("relCat_Bis"));
    Recordset& rs = *table;
    rs.Seek(QStringLiteral("="), Variant(categoryId), Variant(businessId));
    const bool stored = !rs.NoMatch();
    if (stored == allocated)
        return false;
    auto names = m_db.OpenRecordset(
        QStringLiteral("SELECT (SELECT Category FROM Categories WHERE CategoryId = %1), "
                       "(SELECT Name FROM Businesses WHERE BusinessId = %2);")
            .arg(categoryId)
            .arg(businessId),
        RecordsetType::ForwardOnly);
    HistoryStep step(m_db,
                     (allocated ? QStringLiteral("allocation of category %1 to business %2")
                                : QStringLiteral("withdrawal of category %1 from business %2"))
                         .arg(names->field(0).toText(), names->field(1).toText()));
    names.reset();
    if (!allocated) {
        rs.Delete();
        return true;
    }
    try {
        rs.AddNew();
        rs.setField(QStringLiteral("CatId"), Variant(categoryId));
        rs.setField(QStringLiteral("Busid"), Variant(businessId));
        rs.Update();
    } catch (const VbError&) {
        rs.CancelUpdate();
        throw;
    }
    return true;
}

// ---- reports

QList<Ledger::ReportEntry> Ledger::reports()
{
    auto query = m_db.OpenRecordset(
        QStringLiteral("SELECT Reportid, ReportTitle FROM Reports ORDER BY Reportid;"),
        RecordsetType::ForwardOnly);
    QList<ReportEntry> list;
    for (Recordset& rs = *query; !rs.EOF_(); rs.MoveNext())
        list.append({rs.field(0).toLong(), rs.field(1).toText()});
    return list;
}

std::optional<Ledger::ReportEntry> Ledger::report(qint64 id)
{
    auto table = openTable(m_db, QStringLiteral("Reports"));
    if (!seek(*table, id))
        return std::nullopt;
    return ReportEntry{table->field(QStringLiteral("Reportid")).toLong(),
                       table->field(QStringLiteral("ReportTitle")).toText()};
}

QString Ledger::reportSelect()
{
    return QStringLiteral(
        "SELECT Businesses.BusinessId, Businesses.Name, Businesses.VATNr, "
        "Transactions.TransactionId, Transactions.TransactionDate, Transactions.MoneyIn, "
        "Transactions.Description, Transactions.ReceiptId, Transactions.TotalPrice, "
        "Transactions.Cash, Transactions.Remarks, Transactions.Relation, Transactions.InvoiceNr, "
        "Categories.CategoryId, Categories.Category, Categories.MoneyReceived, Categories.VAT, "
        "([VAT]/100)*[TotalPrice] AS VatAmount "
        "FROM Categories INNER JOIN (Businesses INNER JOIN Transactions ON Businesses.BusinessId "
        "= Transactions.BusinessId) ON Categories.CategoryId = Transactions.CategoryId ");
}

QString Ledger::reportQuery(qint64 businessId, std::optional<QDate> from, std::optional<QDate> to)
{
    // Dates go in as the date alone, year first: no day is read as a month
    // and no time cuts off the last day.
    const QString id = QString::number(businessId);
    QString criteria;
    if (from && to) {
        criteria = QStringLiteral("WHERE (((Businesses.BusinessId)=") + id +
                   QStringLiteral(") AND ((Transactions.TransactionDate)>=") + dateLiteral(*from) +
                   QStringLiteral(" And (Transactions.TransactionDate)<=") + dateLiteral(*to) +
                   QStringLiteral("));");
    } else if (from) {
        criteria = QStringLiteral("WHERE (((Businesses.BusinessId)=") + id +
                   QStringLiteral(") AND ((Transactions.TransactionDate)>=") + dateLiteral(*from) +
                   QStringLiteral("));");
    } else if (to) {
        criteria = QStringLiteral("WHERE Businesses.BusinessId=") + id +
                   QStringLiteral(" AND Transactions.TransactionDate <=") + dateLiteral(*to) +
                   QStringLiteral(";");
    } else {
        criteria = QStringLiteral("WHERE (((Businesses.BusinessId)=") + id + QStringLiteral("));");
    }
    return reportSelect() + criteria;
}

// ---- the sheet's order

const QStringList& Ledger::SortClauses()
{
    static const QStringList clauses = {
        QStringLiteral("ORDER BY Transactions.description;"),
        QStringLiteral("ORDER BY Categories.category;"),
        QStringLiteral("ORDER BY Transactions.transactiondate;"),
        QStringLiteral("ORDER BY Transactions.receiptid;"),
        QStringLiteral("ORDER BY Transactions.relation;"),
    };
    return clauses;
}

QString Ledger::sortClause(SheetOrder order)
{
    return SortClauses().at(int(order));
}

bool Ledger::isSortClause(const QString& clause)
{
    return SortClauses().contains(clause);
}
