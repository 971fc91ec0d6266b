#include "data/ImportedLines.h"

#include "data/Database.h"
#include "data/Recordset.h"

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
