#include "data/ImportedLines.h"

#include "data/Database.h"
#include "data/Recordset.h"

void ImportedLines::ensureTable()
{
    m_db.Execute(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS ImportedLines ("
        "BusinessId INTEGER NOT NULL REFERENCES Businesses (BusinessId) ON DELETE CASCADE, "
        "LineKey TEXT NOT NULL, "
        "TransactionId INTEGER NOT NULL REFERENCES Transactions (TransactionId) "
        "ON DELETE CASCADE, "
        "ImportedAt TEXT NOT NULL DEFAULT (strftime('%Y-%m-%dT%H:%M:%fZ', 'now')), "
        "PRIMARY KEY (BusinessId, LineKey))"));
    m_db.Execute(QStringLiteral("CREATE INDEX IF NOT EXISTS ImportedLines_Transaction ON "
                                "ImportedLines (TransactionId)"));
}

QSet<QString> ImportedLines::keys(qint64 businessId)
{
    QSet<QString> result;
    if (m_db.objectType(QStringLiteral("ImportedLines")) != QLatin1String("table"))
        return result;
    auto query = m_db.OpenRecordset(
        QStringLiteral("SELECT LineKey FROM ImportedLines WHERE BusinessId = %1").arg(businessId),
        RecordsetType::ForwardOnly);
    for (Recordset& rs = *query; !rs.EOF_(); rs.MoveNext())
        result.insert(rs.field(0).toText());
    return result;
}

void ImportedLines::add(qint64 businessId, const QString& key, qint64 transactionId)
{
    auto table = m_db.OpenRecordset(QStringLiteral("ImportedLines"), RecordsetType::Table);
    Recordset& rs = *table;
    rs.AddNew();
    rs.setField(QStringLiteral("BusinessId"), Variant(businessId));
    rs.setField(QStringLiteral("LineKey"), Variant(key));
    rs.setField(QStringLiteral("TransactionId"), Variant(transactionId));
    rs.Update();
}

QHash<QString, qint64> ImportedLines::lastCategoryByRelation(qint64 businessId, bool cash)
{
    auto query = m_db.OpenRecordset(
        QStringLiteral("SELECT Relation, CategoryId FROM Transactions WHERE BusinessId = %1 AND "
                       "Cash = %2 AND CategoryId IS NOT NULL "
                       "ORDER BY TransactionDate, TransactionId")
            .arg(businessId)
            .arg(cash ? 1 : 0),
        RecordsetType::ForwardOnly);
    QHash<QString, qint64> result;
    for (Recordset& rs = *query; !rs.EOF_(); rs.MoveNext()) {
        const QString relation = rs.field(0).toText().trimmed().toLower();
        if (!relation.isEmpty())
            result.insert(relation, rs.field(1).toLong());
    }
    return result;
}

WriteTransaction::WriteTransaction(Database& db) : m_db(db)
{
    m_db.Execute(QStringLiteral("BEGIN"));
}

WriteTransaction::~WriteTransaction()
{
    if (!m_open)
        return;
    try {
        m_db.Execute(QStringLiteral("ROLLBACK"));
    } catch (...) {
        // The file already rolled the transaction back (a failed COMMIT does).
    }
}

void WriteTransaction::commit()
{
    m_db.Execute(QStringLiteral("COMMIT"));
    m_open = false;
}
