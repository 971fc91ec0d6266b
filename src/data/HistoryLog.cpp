// Reads the change history. The triggers store each row's values as a JSON
// object keyed by its column names, so this file names those columns too.

#include "data/HistoryLog.h"

#include "data/Database.h"
#include "data/History.h"
#include "data/Recordset.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include <sqlite3.h>

namespace {

const QString Transactions = QStringLiteral("Transactions");
const QString Businesses = QStringLiteral("Businesses");
const QString Categories = QStringLiteral("Categories");
const QString Allocations = QStringLiteral("relCat_Bis");

HistoryLog::Table tableOf(const QString& name)
{
    if (name.compare(Transactions, Qt::CaseInsensitive) == 0)
        return HistoryLog::Table::Transactions;
    if (name.compare(Businesses, Qt::CaseInsensitive) == 0)
        return HistoryLog::Table::Businesses;
    if (name.compare(Categories, Qt::CaseInsensitive) == 0)
        return HistoryLog::Table::Categories;
    return HistoryLog::Table::Allocations;
}

HistoryLog::Action actionOf(const QString& name)
{
    if (name == QLatin1String("insert"))
        return HistoryLog::Action::Insert;
    if (name == QLatin1String("delete"))
        return HistoryLog::Action::Delete;
    return HistoryLog::Action::Update;
}

// The first moment of a local day as stored history times are written: UTC,
// ISO 8601 with milliseconds, so that text order is time order.
QString utcText(QDate day)
{
    return QDateTime(day, QTime(0, 0)).toUTC().toString(Qt::ISODateWithMs);
}

// "AND h.ChangedAt >= '...' AND h.ChangedAt < '...'" for a period of local days.
QString periodClause(std::optional<QDate> from, std::optional<QDate> to)
{
    QString clause;
    if (from)
        clause += QStringLiteral(" AND h.ChangedAt >= '%1'").arg(utcText(*from));
    if (to)
        clause += QStringLiteral(" AND h.ChangedAt < '%1'").arg(utcText(to->addDays(1)));
    return clause;
}

// Captions repeat (one step changes many rows); they share one string each.
class Captions
{
public:
    QString of(const Variant& stepId, const Variant& caption)
    {
        if (stepId.isNull())
            return QString();
        const qint64 id = stepId.toLong();
        auto it = m_byStep.constFind(id);
        if (it == m_byStep.constEnd())
            it = m_byStep.insert(id, caption.toText());
        return *it;
    }

private:
    QHash<qint64, QString> m_byStep;
};

// The first four fields every change query starts with: history id, step,
// the step's caption and the time.
void readStep(Recordset& rs, Captions& captions, HistoryLog::Change& c)
{
    c.historyId = rs.field(0).toLong();
    const Variant step = rs.field(1);
    c.stepId = step.isNull() ? 0 : step.toLong();
    c.caption = captions.of(step, rs.field(2));
    c.changedAt = rs.field(3).toText();
}

QJsonObject objectOf(const QString& values)
{
    return QJsonDocument::fromJson(values.toUtf8()).object();
}

QJsonValue field(const QJsonObject& object, const char* name)
{
    return object.value(QLatin1String(name));
}

// A recorded field that holds a value: neither Null nor missing.
bool present(const QJsonValue& value)
{
    return !value.isNull() && !value.isUndefined();
}

std::optional<QString> optionalText(const QJsonValue& value)
{
    if (!present(value))
        return std::nullopt;
    return value.toString();
}

// ---- the columns each table's values hold, and how the report shows them

enum class Kind
{
    Text,
    Date,
    Money,
    Boolean,
    Percent,
    Number
};

struct Column
{
    const char* name;
    const char* label;
    Kind kind;
};

constexpr Column TransactionColumns[] = {
    {"TransactionId", "Id", Kind::Number},       {"TransactionDate", "Date", Kind::Date},
    {"Invoicenr", "Invoice Nr.", Kind::Text},    {"Relation", "Relation", Kind::Text},
    {"MoneyIn", "Money in", Kind::Boolean},      {"CategoryId", "Category id", Kind::Number},
    {"Description", "Description", Kind::Text},  {"ReceiptId", "Receipt", Kind::Text},
    {"TotalPrice", "Amount", Kind::Money},       {"Cash", "Cash", Kind::Boolean},
    {"BusinessId", "Business id", Kind::Number}, {"Remarks", "Remarks", Kind::Text},
};
constexpr Column BusinessColumns[] = {
    {"BusinessId", "Id", Kind::Number},
    {"Name", "Name", Kind::Text},
    {"VATNr", "VAT number", Kind::Text},
    {"accountnr", "Account number", Kind::Text},
};
constexpr Column CategoryColumns[] = {
    {"CategoryId", "Id", Kind::Number},
    {"Category", "Category", Kind::Text},
    {"MoneyReceived", "Money received", Kind::Boolean},
    {"VAT", "VAT %", Kind::Percent},
    {"CashOrBank", "Cash or bank", Kind::Number},
};
constexpr Column AllocationColumns[] = {
    {"CatId", "Category id", Kind::Number},
    {"Busid", "Business id", Kind::Number},
};

template <std::size_t N> const Column* find(const Column (&columns)[N], QByteArrayView name)
{
    for (const Column& column : columns) {
        if (name.compare(column.name, Qt::CaseInsensitive) == 0)
            return &column;
    }
    return nullptr;
}

const Column* columnOf(QByteArrayView table, QByteArrayView name)
{
    if (table.compare("Transactions", Qt::CaseInsensitive) == 0)
        return find(TransactionColumns, name);
    if (table.compare("Businesses", Qt::CaseInsensitive) == 0)
        return find(BusinessColumns, name);
    if (table.compare("Categories", Qt::CaseInsensitive) == 0)
        return find(CategoryColumns, name);
    return find(AllocationColumns, name);
}

QByteArrayView textOf(sqlite3_value* value)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? QByteArrayView(text, sqlite3_value_bytes(value)) : QByteArrayView();
}

void resultText(sqlite3_context* context, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// HistoryTime(ChangedAt): the moment in local time, to the second.
void historyTime(sqlite3_context* context, int, sqlite3_value** args)
{
    const QString stored = QString::fromUtf8(textOf(args[0]));
    resultText(context, ProgramLocale::formatMoment(HistoryLog::localTime(stored)));
}

// HistoryField(TableName, column): the column's caption.
void historyField(sqlite3_context* context, int, sqlite3_value** args)
{
    const QByteArrayView name = textOf(args[1]);
    const Column* column = columnOf(textOf(args[0]), name);
    resultText(context, column ? QString::fromLatin1(column->label) : QString::fromUtf8(name));
}

// HistoryValue(TableName, column, value): the value as the windows show it.
void historyValue(sqlite3_context* context, int, sqlite3_value** args)
{
    sqlite3_value* value = args[2];
    if (sqlite3_value_type(value) == SQLITE_NULL) {
        sqlite3_result_text(context, "", 0, SQLITE_STATIC);
        return;
    }
    const Column* column = columnOf(textOf(args[0]), textOf(args[1]));
    const QString text = QString::fromUtf8(textOf(value));
    switch (column ? column->kind : Kind::Text) {
    case Kind::Date:
        if (const auto moment = ProgramLocale::readDate(text)) {
            resultText(context, moment->time() == QTime(0, 0)
                                    ? ProgramLocale::formatDate(moment->date())
                                    : ProgramLocale::formatDateTime(*moment));
            return;
        }
        break;
    case Kind::Money:
        resultText(context,
                   ProgramLocale::formatMoney(Currency::fromDouble(sqlite3_value_double(value))));
        return;
    case Kind::Boolean:
        resultText(context,
                   sqlite3_value_int64(value) != 0 ? QStringLiteral("Yes") : QStringLiteral("No"));
        return;
    case Kind::Percent:
        resultText(context, ProgramLocale::formatPercentage(Variant(sqlite3_value_double(value))));
        return;
    case Kind::Text:
    case Kind::Number:
        break;
    }
    resultText(context, text);
}

// ---- restore

struct TableShape
{
    const QString& table;
    const char* idColumn; // nullptr: the allocation table, keyed by its pair
    const Column* columns;
    int count;
};

const TableShape& shapeOf(HistoryLog::Table table)
{
    static const TableShape transactions{Transactions, "TransactionId", TransactionColumns,
                                         int(std::size(TransactionColumns))};
    static const TableShape businesses{Businesses, "BusinessId", BusinessColumns,
                                       int(std::size(BusinessColumns))};
    static const TableShape categories{Categories, "CategoryId", CategoryColumns,
                                       int(std::size(CategoryColumns))};
    static const TableShape allocations{Allocations, nullptr, AllocationColumns,
                                        int(std::size(AllocationColumns))};
    switch (table) {
    case HistoryLog::Table::Transactions:
        return transactions;
    case HistoryLog::Table::Businesses:
        return businesses;
    case HistoryLog::Table::Categories:
        return categories;
    case HistoryLog::Table::Allocations:
        break;
    }
    return allocations;
}

// The row's old values back into its table, read straight from the history
// row (no value passes through the SQL text). The id is kept when keepId,
// otherwise the table gives a new one; `column` is set to `to` when given (a
// reference to a record that came back under another id).
void insertFromHistory(Database& db, const TableShape& shape, qint64 historyId, bool keepId,
                       const char* column = nullptr, qint64 to = 0)
{
    QStringList names;
    QStringList values;
    for (int i = 0; i < shape.count; ++i) {
        const QString name = QLatin1String(shape.columns[i].name);
        names << name;
        if (shape.idColumn && !keepId && name == QLatin1String(shape.idColumn))
            values << QStringLiteral("NULL");
        else if (column && name == QLatin1String(column))
            values << QString::number(to);
        else
            values << QStringLiteral("json_extract(OldValues, '$.%1')").arg(name);
    }
    db.Execute(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM History WHERE HistoryId = %4")
                   .arg(shape.table, names.join(u','), values.join(u','))
                   .arg(historyId));
}

bool exists(Database& db, const QString& table, const char* idColumn, qint64 id)
{
    return !db.OpenRecordset(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = %3")
                                 .arg(table, QLatin1String(idColumn))
                                 .arg(id),
                             RecordsetType::ForwardOnly)
                ->EOF_();
}

} // namespace

std::vector<HistoryLog::Change> HistoryLog::transactionVersions(qint64 first, qint64 last)
{
    // History_Row (TableName, RowKey) gives the rows in id order and, within
    // one id, in the order they were written: no sort.
    const QString sql =
        QStringLiteral("SELECT h.HistoryId, h.StepId, s.Caption, h.ChangedAt, h.RowKey, h.Action, "
                       "COALESCE(h.NewValues, h.OldValues) FROM History h "
                       "LEFT JOIN HistorySteps s ON s.StepId = h.StepId "
                       "WHERE h.TableName = 'Transactions' AND h.RowKey BETWEEN %1 AND %2 "
                       "ORDER BY h.RowKey, h.HistoryId")
            .arg(first)
            .arg(last);
    auto query = m_db.OpenRecordset(sql, RecordsetType::ForwardOnly);
    Recordset& rs = *query;
    std::vector<Change> changes;
    Captions captions;
    while (!rs.EOF_()) {
        Change& c = changes.emplace_back();
        readStep(rs, captions, c);
        c.rowKey = rs.field(4).toLong();
        c.action = actionOf(rs.field(5).toText());
        c.values = rs.field(6).toText();
        rs.MoveNext();
    }
    return changes;
}

std::vector<HistoryLog::Change> HistoryLog::deletions(std::optional<QDate> from,
                                                      std::optional<QDate> to)
{
    const QString sql =
        QStringLiteral(
            "SELECT h.HistoryId, h.StepId, s.Caption, h.ChangedAt, h.TableName, h.RowKey, "
            "h.OldValues, EXISTS (SELECT 1 FROM History l WHERE l.TableName = h.TableName "
            "AND l.RowKey = h.RowKey AND l.HistoryId > h.HistoryId AND l.Action = 'insert' "
            "AND l.NewValues = h.OldValues) "
            "FROM History h LEFT JOIN HistorySteps s ON s.StepId = h.StepId "
            "WHERE h.Action = 'delete' "
            "AND h.TableName IN ('Transactions', 'Businesses', 'Categories')%1 "
            "ORDER BY h.HistoryId DESC")
            .arg(periodClause(from, to));
    auto query = m_db.OpenRecordset(sql, RecordsetType::ForwardOnly);
    Recordset& rs = *query;
    std::vector<Change> changes;
    Captions captions;
    while (!rs.EOF_()) {
        Change& c = changes.emplace_back();
        readStep(rs, captions, c);
        c.table = tableOf(rs.field(4).toText());
        c.rowKey = rs.field(5).toLong();
        c.action = Action::Delete;
        c.values = rs.field(6).toText();
        c.present = rs.field(7).toBool();
        rs.MoveNext();
    }
    return changes;
}

Ledger::Transaction HistoryLog::transactionOf(const QString& values)
{
    const QJsonObject o = objectOf(values);
    Ledger::Transaction t;
    t.id = field(o, "TransactionId").toInteger();
    if (const auto date = optionalText(field(o, "TransactionDate"))) {
        if (const auto moment = ProgramLocale::readDate(*date))
            t.date = moment->date();
    }
    const QJsonValue amount = field(o, "TotalPrice");
    if (present(amount))
        t.amount = Currency::fromDouble(amount.toDouble());
    t.moneyIn = field(o, "MoneyIn").toInteger() != 0;
    t.cash = field(o, "Cash").toInteger() != 0;
    t.categoryId = field(o, "CategoryId").toInteger();
    t.businessId = field(o, "BusinessId").toInteger();
    t.invoiceNr = field(o, "Invoicenr").toString();
    t.relation = field(o, "Relation").toString();
    t.description = field(o, "Description").toString();
    t.receiptId = field(o, "ReceiptId").toString();
    return t;
}

Ledger::Business HistoryLog::businessOf(const QString& values)
{
    const QJsonObject o = objectOf(values);
    Ledger::Business b;
    b.id = field(o, "BusinessId").toInteger();
    b.name = field(o, "Name").toString();
    b.vatNr = optionalText(field(o, "VATNr"));
    b.accountNr = optionalText(field(o, "accountnr"));
    return b;
}

Ledger::Category HistoryLog::categoryOf(const QString& values)
{
    const QJsonObject o = objectOf(values);
    Ledger::Category c;
    c.id = field(o, "CategoryId").toInteger();
    c.name = field(o, "Category").toString();
    c.moneyReceived = field(o, "MoneyReceived").toInteger() != 0;
    const QJsonValue vat = field(o, "VAT");
    if (present(vat))
        c.vat = vat.toDouble();
    const QJsonValue use = field(o, "CashOrBank");
    if (present(use))
        c.cashOrBank = int(use.toInteger());
    return c;
}

QDateTime HistoryLog::localTime(const QString& changedAt)
{
    QDateTime moment = QDateTime::fromString(changedAt, Qt::ISODateWithMs);
    moment.setTimeZone(QTimeZone::utc());
    return moment.toLocalTime();
}

HistoryLog::Restored HistoryLog::restore(qint64 historyId, const QString& caption)
{
    auto row = m_db.OpenRecordset(
        QStringLiteral("SELECT TableName, RowKey, StepId FROM History "
                       "WHERE HistoryId = %1 AND Action = 'delete' "
                       "AND TableName IN ('Transactions', 'Businesses', 'Categories')")
            .arg(historyId),
        RecordsetType::ForwardOnly);
    if (row->EOF_())
        throw VbError(VbErr::NoCurrentRecord);
    const Table table = tableOf(row->field(0).toText());
    const qint64 key = row->field(1).toLong();
    const qint64 deletedIn = row->field(2).isNull() ? 0 : row->field(2).toLong();
    row.reset();
    Restored restored;

    // One step of the history: all of it is written, or none. The rows go
    // back through History::restoreDeleted, whose steps join this one.
    HistoryStep step(m_db, caption);
    History history(m_db);
    restored.id = history.restoreDeleted(historyId, caption);

    if (table != Table::Transactions && deletedIn != 0) {
        // What the cascade deleted with it in the same step.
        const bool isBusiness = table == Table::Businesses;
        const char* ownRef = isBusiness ? "BusinessId" : "CategoryId";
        const char* otherRef = isBusiness ? "CategoryId" : "BusinessId";
        const char* ownPair = isBusiness ? "Busid" : "CatId";
        const char* otherPair = isBusiness ? "CatId" : "Busid";
        const QString& otherTable = isBusiness ? Categories : Businesses;
        auto rows = m_db.OpenRecordset(
            QStringLiteral("SELECT HistoryId, TableName, "
                           "json_extract(OldValues, '$.' || CASE TableName "
                           "WHEN 'Transactions' THEN '%1' ELSE '%2' END), RowKey FROM History "
                           "WHERE StepId = %3 AND Action = 'delete' AND HistoryId <> %4 "
                           "AND ((TableName = 'Transactions' AND "
                           "json_extract(OldValues, '$.%5') = %6) OR (TableName = 'relCat_Bis' "
                           "AND json_extract(OldValues, '$.%7') = %6)) ORDER BY HistoryId")
                .arg(QLatin1String(otherRef), QLatin1String(otherPair))
                .arg(deletedIn)
                .arg(historyId)
                .arg(QLatin1String(ownRef))
                .arg(key)
                .arg(QLatin1String(ownPair)),
            RecordsetType::ForwardOnly);
        struct Pending
        {
            qint64 historyId;
            bool allocation;
            qint64 other;
            qint64 rowKey;
        };
        std::vector<Pending> pending;
        for (; !rows->EOF_(); rows->MoveNext())
            pending.push_back({rows->field(0).toLong(),
                               tableOf(rows->field(1).toText()) == Table::Allocations,
                               rows->field(2).toLong(), rows->field(3).toLong()});
        rows.reset();
        const char* otherId = isBusiness ? "CategoryId" : "BusinessId";
        for (const Pending& p : pending) {
            if (!exists(m_db, otherTable, otherId, p.other)) {
                if (!p.allocation)
                    ++restored.transactionsLeft;
                continue;
            }
            if (restored.id == key) {
                try {
                    history.restoreDeleted(p.historyId, caption);
                } catch (const VbError& error) {
                    // An equal allocation made since: nothing to bring back.
                    if (!p.allocation || error.number() != VbErr::DuplicateKey)
                        throw;
                    continue;
                }
            } else if (p.allocation) {
                // Under its record's new id.
                insertFromHistory(m_db, shapeOf(Table::Allocations), p.historyId, true, ownPair,
                                  restored.id);
            } else {
                const bool keep = !exists(m_db, Transactions, "TransactionId", p.rowKey);
                insertFromHistory(m_db, shapeOf(Table::Transactions), p.historyId, keep, ownRef,
                                  restored.id);
            }
            ++(p.allocation ? restored.allocations : restored.transactions);
        }
    }
    return restored;
}

QString HistoryLog::changesQuery(qint64 businessId, std::optional<QDate> from,
                                 std::optional<QDate> to)
{
    // A transaction belongs to the business it was in before or after the
    // change; a category to the business it is, or once was, allocated to.
    return QStringLiteral(
               "SELECT b.Name AS Name, b.VATNr AS VATNr, "
               "h.HistoryId AS HistoryId, HistoryTime(h.ChangedAt) AS ChangedAt, "
               "COALESCE(s.Caption, 'outside the program') AS Step, "
               "CASE h.TableName WHEN 'Transactions' THEN 'transaction ' || h.RowKey "
               "WHEN 'Businesses' THEN 'business ' || json_extract(f.json, '$.Name') "
               "WHEN 'Categories' THEN 'category ' || json_extract(f.json, '$.Category') "
               "ELSE 'allocation of category ' || json_extract(f.json, '$.CatId') END AS Record, "
               "CASE h.Action WHEN 'insert' THEN 'added' WHEN 'delete' THEN 'deleted' "
               "ELSE 'changed' END AS Action, "
               "HistoryField(h.TableName, f.key) AS Field, "
               "HistoryValue(h.TableName, f.key, json_extract(h.OldValues, f.fullkey)) "
               "AS OldValue, "
               "HistoryValue(h.TableName, f.key, json_extract(h.NewValues, f.fullkey)) "
               "AS NewValue "
               "FROM History h JOIN json_each(COALESCE(h.NewValues, h.OldValues)) f "
               "LEFT JOIN HistorySteps s ON s.StepId = h.StepId "
               "LEFT JOIN Businesses b ON b.BusinessId = %1 "
               "WHERE ((h.TableName = 'Transactions' AND (json_extract(h.NewValues, "
               "'$.BusinessId') = %1 OR json_extract(h.OldValues, '$.BusinessId') = %1)) "
               "OR (h.TableName = 'Businesses' AND h.RowKey = %1) "
               "OR (h.TableName = 'relCat_Bis' AND json_extract(COALESCE(h.NewValues, "
               "h.OldValues), '$.Busid') = %1) "
               "OR (h.TableName = 'Categories' AND h.RowKey IN (SELECT CatId FROM relCat_Bis "
               "WHERE Busid = %1 UNION SELECT json_extract(COALESCE(a.NewValues, a.OldValues), "
               "'$.CatId') FROM History a WHERE a.TableName = 'relCat_Bis' AND "
               "json_extract(COALESCE(a.NewValues, a.OldValues), '$.Busid') = %1)))%2 "
               "AND (h.Action <> 'update' OR json_extract(h.OldValues, f.fullkey) IS NOT "
               "json_extract(h.NewValues, f.fullkey)) "
               "ORDER BY h.HistoryId, f.id")
        .arg(businessId)
        .arg(periodClause(from, to));
}

void HistoryLog::RegisterFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    // Not deterministic: the local time depends on the machine's time zone.
    sqlite3_create_function_v2(db, "HistoryTime", 1, SQLITE_UTF8, nullptr, historyTime, nullptr,
                               nullptr, nullptr);
    sqlite3_create_function_v2(db, "HistoryField", 2, flags, nullptr, historyField, nullptr,
                               nullptr, nullptr);
    sqlite3_create_function_v2(db, "HistoryValue", 3, flags, nullptr, historyValue, nullptr,
                               nullptr, nullptr);
}
