#pragma once

#include <QHash>
#include <QSet>
#include <QString>

class Database;

// The statement lines already imported, by business: the bank's reference of
// each line (or its fingerprint) and the transaction it became. A deleted
// transaction takes its line along, so a line whose row was removed can be
// imported again.
class ImportedLines final
{
public:
    explicit ImportedLines(Database& db) : m_db(db) {}

    // The keys of the lines imported into the business.
    QSet<QString> keys(qint64 businessId);
    void add(qint64 businessId, const QString& key, qint64 transactionId);

    // The category last used with each relation (lower case) on one sheet of
    // a business, by date and then by entry order.
    QHash<QString, qint64> lastCategoryByRelation(qint64 businessId, bool cash);

private:
    Database& m_db;
};
