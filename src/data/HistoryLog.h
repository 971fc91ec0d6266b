#pragma once

#include "data/Ledger.h"
#include "platform/Variant.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

class Database;
struct sqlite3;

// What the history windows read from the change history the file keeps (the
// tables History and HistorySteps, filled by triggers), and the restore of a
// deleted record. Like Ledger, it holds a reference to an open Database only:
// make one for each use.
class HistoryLog final
{
public:
    enum class Table
    {
        Transactions,
        Categories,
        Businesses,
        Allocations
    };
    enum class Action
    {
        Insert,
        Update,
        Delete
    };

    // One history row. The values are the row as it stood after the change
    // (before it, for a delete), as the JSON object the triggers wrote: they
    // are read into typed records only when shown, so that a list of 100,000
    // changes costs one query.
    struct Change
    {
        qint64 historyId = 0;
        qint64 stepId = 0; // 0: made outside the program
        QString caption;   // the step's caption; "" when outside the program
        QString changedAt; // UTC, ISO 8601 with milliseconds, as stored
        Table table = Table::Transactions;
        qint64 rowKey = 0;
        Action action = Action::Update;
        QString values;
        // For deletions: the row came back later, under its id and with the
        // values it was deleted with (restored, or its delete undone).
        bool present = false;
    };

    explicit HistoryLog(Database& db) : m_db(db) {}

    // Every change of the transactions with ids first to last (both included),
    // by id and then in the order they were made.
    std::vector<Change> transactionVersions(qint64 first, qint64 last);
    // The transactions, businesses and categories deleted in the period (local
    // days, both included; either end open), the latest first.
    std::vector<Change> deletions(std::optional<QDate> from, std::optional<QDate> to);

    // The values of a change read as a record of its table. Fields the values
    // lack stay at their defaults.
    static Ledger::Transaction transactionOf(const QString& values);
    static Ledger::Business businessOf(const QString& values);
    static Ledger::Category categoryOf(const QString& values);
    // The moment of a change in local time.
    static QDateTime localTime(const QString& changedAt);

    struct Restored
    {
        qint64 id = 0;            // the id the record has now
        int transactions = 0;     // transactions that came back with it
        int allocations = 0;      // allocations that came back with it
        int transactionsLeft = 0; // deleted with it, but their other record is gone
    };
    // Puts a deleted transaction, business or category back, under its
    // original id when no row holds it now, else under a new one. A business
    // or category brings back the transactions and allocations that were
    // deleted with it (in the same step), except those whose other record is
    // gone. All of it, or nothing, is written, as one step of the history
    // with that caption. Raises VbError 3201 for a
    // transaction whose business or category is gone, 3021 for a history row
    // that is no deletion of those tables.
    Restored restore(qint64 historyId, const QString& caption);

    // The SELECT the "Changes" report reads: one row per changed field of
    // every change to the business, its transactions, its allocations and the
    // categories allocated to it in the period (local days, both included),
    // with the fields Name and VATNr (of the business), HistoryId, ChangedAt,
    // Step, Record, Action, Field, OldValue and NewValue, as text ready to
    // print.
    static QString changesQuery(qint64 businessId, std::optional<QDate> from,
                                std::optional<QDate> to);

    // Registers the SQL functions the history queries use on a connection.
    static void RegisterFunctions(sqlite3* db);

private:
    Database& m_db;
};
