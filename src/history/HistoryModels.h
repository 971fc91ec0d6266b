#pragma once

#include "data/HistoryLog.h"

#include <QAbstractTableModel>
#include <QHash>

#include <vector>

// The versions of transactions: one line per change, in the order of
// HistoryLog::transactionVersions, showing the row as it stood after the
// change (before it, for a delete). A value that differs from the version
// above it (same transaction) is bold. The values are read from the stored
// JSON only for the lines on show, so that 100,000 versions load as fast as
// they are read.
class VersionsModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        ColWhen,
        ColId,
        ColAction,
        ColStep,
        ColDate,
        ColSheet,
        ColCategory,
        ColDescription,
        ColRelation,
        ColReceipt,
        ColInvoice,
        ColDebited,
        ColCredited,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    // categories: names by id, for the category column (a category that is
    // gone shows its id).
    void setChanges(std::vector<HistoryLog::Change> changes, QHash<qint64, QString> categories);
    const HistoryLog::Change& change(int row) const { return m_changes[size_t(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const Ledger::Transaction& version(int row) const;
    QString text(const Ledger::Transaction& t, int column) const;

    std::vector<HistoryLog::Change> m_changes;
    QHash<qint64, QString> m_categories;
    // The last two versions read: a line and the one above it are asked for
    // together.
    mutable int m_cachedRow[2] = {-1, -1};
    mutable Ledger::Transaction m_cached[2];
    mutable int m_nextSlot = 0;
};

// The deleted transactions, businesses and categories of a period, the latest
// first; a record that is back in its table is marked so.
class DeletedModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        ColWhen,
        ColKind,
        ColId,
        ColRecord,
        ColStep,
        ColState,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setChanges(std::vector<HistoryLog::Change> changes);
    const HistoryLog::Change& change(int row) const { return m_changes[size_t(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // "transaction", "business" or "category".
    static QString kindText(HistoryLog::Table table);
    // What the record was: a transaction's date, amount and description, a
    // business's or category's name.
    static QString recordText(const HistoryLog::Change& change);

private:
    std::vector<HistoryLog::Change> m_changes;
};

// "added", "changed", "deleted".
QString actionText(HistoryLog::Action action);
// The step's caption, or "outside the program" for a change made with
// another tool.
QString stepText(const HistoryLog::Change& change);
