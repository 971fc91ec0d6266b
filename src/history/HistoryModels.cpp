#include "history/HistoryModels.h"

#include "platform/ProgramLocale.h"

#include <QFont>

QString actionText(HistoryLog::Action action)
{
    switch (action) {
    case HistoryLog::Action::Insert:
        return QStringLiteral("added");
    case HistoryLog::Action::Delete:
        return QStringLiteral("deleted");
    case HistoryLog::Action::Update:
        break;
    }
    return QStringLiteral("changed");
}

QString stepText(const HistoryLog::Change& change)
{
    return change.stepId == 0 ? QStringLiteral("outside the program") : change.caption;
}

namespace {

QString whenText(const HistoryLog::Change& change)
{
    return ProgramLocale::formatMoment(HistoryLog::localTime(change.changedAt));
}

} // namespace

// ---- versions

void VersionsModel::setChanges(std::vector<HistoryLog::Change> changes,
                               QHash<qint64, QString> categories)
{
    beginResetModel();
    m_changes = std::move(changes);
    m_categories = std::move(categories);
    m_cachedRow[0] = m_cachedRow[1] = -1;
    endResetModel();
}

int VersionsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_changes.size());
}

int VersionsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const Ledger::Transaction& VersionsModel::version(int row) const
{
    for (int slot = 0; slot < 2; ++slot) {
        if (m_cachedRow[slot] == row)
            return m_cached[slot];
    }
    const int slot = m_nextSlot;
    m_nextSlot = 1 - m_nextSlot;
    m_cachedRow[slot] = row;
    m_cached[slot] = HistoryLog::transactionOf(m_changes[size_t(row)].values);
    return m_cached[slot];
}

QString VersionsModel::text(const Ledger::Transaction& t, int column) const
{
    switch (column) {
    case ColDate:
        return t.date ? ProgramLocale::formatDate(*t.date) : QString();
    case ColSheet:
        return t.cash ? QStringLiteral("Cash") : QStringLiteral("Bank");
    case ColCategory:
        return t.categoryId == 0 ? QString()
                                 : m_categories.value(t.categoryId, QString::number(t.categoryId));
    case ColDescription:
        return t.description;
    case ColRelation:
        return t.relation;
    case ColReceipt:
        return ProgramLocale::formatReceiptId(t.receiptId);
    case ColInvoice:
        return t.invoiceNr;
    case ColDebited:
        return t.amount && !t.moneyIn ? ProgramLocale::formatAmount(*t.amount) : QString();
    case ColCredited:
        return t.amount && t.moneyIn ? ProgramLocale::formatAmount(*t.amount) : QString();
    default:
        return QString();
    }
}

QVariant VersionsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const HistoryLog::Change& c = change(index.row());
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return column == ColDebited || column == ColCredited || column == ColId
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    if (role != Qt::DisplayRole && role != Qt::FontRole)
        return QVariant();
    if (column < ColDate) {
        if (role != Qt::DisplayRole)
            return QVariant();
        switch (column) {
        case ColWhen:
            return whenText(c);
        case ColId:
            return QString::number(c.rowKey);
        case ColAction:
            return actionText(c.action);
        default:
            return stepText(c);
        }
    }
    const int row = index.row();
    const QString shown = text(version(row), column);
    if (role == Qt::DisplayRole)
        return shown;
    // Bold: what this change made different from the version above it.
    if (c.action != HistoryLog::Action::Update || row == 0 || change(row - 1).rowKey != c.rowKey)
        return QVariant();
    if (text(version(row - 1), column) == text(version(row), column))
        return QVariant();
    QFont bold;
    bold.setBold(true);
    return bold;
}

QVariant VersionsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const captions[ColumnCount] = {
        "When",        "Transaction", "What",    "Step",        "Date",    "Sheet",   "Category",
        "Description", "Relation",    "Receipt", "Invoice Nr.", "Debited", "Credited"};
    return QString::fromLatin1(captions[section]);
}

// ---- deletions

void DeletedModel::setChanges(std::vector<HistoryLog::Change> changes)
{
    beginResetModel();
    m_changes = std::move(changes);
    endResetModel();
}

int DeletedModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_changes.size());
}

int DeletedModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString DeletedModel::kindText(HistoryLog::Table table)
{
    switch (table) {
    case HistoryLog::Table::Businesses:
        return QStringLiteral("business");
    case HistoryLog::Table::Categories:
        return QStringLiteral("category");
    case HistoryLog::Table::Transactions:
    case HistoryLog::Table::Allocations:
        break;
    }
    return QStringLiteral("transaction");
}

QString DeletedModel::recordText(const HistoryLog::Change& change)
{
    switch (change.table) {
    case HistoryLog::Table::Businesses:
        return HistoryLog::businessOf(change.values).name;
    case HistoryLog::Table::Categories:
        return HistoryLog::categoryOf(change.values).name;
    case HistoryLog::Table::Transactions:
    case HistoryLog::Table::Allocations:
        break;
    }
    const Ledger::Transaction t = HistoryLog::transactionOf(change.values);
    QStringList parts;
    if (t.date)
        parts << ProgramLocale::formatDate(*t.date);
    if (t.amount)
        parts << ProgramLocale::formatAmount(*t.amount);
    if (!t.description.isEmpty())
        parts << t.description;
    return parts.join(QStringLiteral(", "));
}

QVariant DeletedModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole)
        return QVariant();
    const HistoryLog::Change& c = change(index.row());
    switch (index.column()) {
    case ColWhen:
        return whenText(c);
    case ColKind:
        return kindText(c.table);
    case ColId:
        return QString::number(c.rowKey);
    case ColRecord:
        return recordText(c);
    case ColStep:
        return stepText(c);
    default:
        return c.present ? QStringLiteral("back") : QString();
    }
}

QVariant DeletedModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const captions[ColumnCount] = {"When",   "What", "Id",
                                                      "Record", "Step", "State"};
    return QString::fromLatin1(captions[section]);
}
