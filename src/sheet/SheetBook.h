#pragma once

#include "platform/Currency.h"

#include <QHash>
#include <QSet>

#include <optional>
#include <utility>

// What one sheet grid holds in the file, kept alongside the grid: the amount
// of every stored transaction shown, the totals of those amounts, and the rows
// that are shown but not stored.
//
// The totals are kept incrementally: storing a row takes its old amount out
// and puts the new one in, so a commit costs the same on any size of sheet.
// Only stored amounts count, so the totals always equal the sums of the file
// over the transactions the grid shows. All arithmetic in Currency (exact).
//
// Rows are named by their transaction id; EntryRow names the one row without
// one (the entry row at the foot of the grid), so a row keeps its name while
// rows above it are inserted or removed.
class SheetBook final
{
public:
    static constexpr qint64 EntryRow = -1;

    // Forgets everything: before a grid is loaded.
    void clear();

    // A transaction as the file holds it. amount nullopt: no amount stored
    // (Null), which counts as 0.
    void load(qint64 id, std::optional<Currency> amount, bool moneyIn);

    // A transaction just written. amount nullopt: the file kept the amount
    // it had (a new row: none). The row is stored from now on.
    void store(qint64 id, std::optional<Currency> amount, bool moneyIn);

    // A transaction deleted from the file: its amount leaves the totals.
    void forget(qint64 id);

    Currency debited() const { return m_debited; }
    Currency credited() const { return m_credited; }

    // Rows shown with text the file does not hold (an edit that could not be
    // stored, or a typed entry row that is not complete).
    void setUnstored(qint64 row, bool unstored);
    bool unstored(qint64 row) const { return m_unstored.contains(row); }
    bool anyUnstored() const { return !m_unstored.isEmpty(); }

private:
    // The amount (Currency::raw) of each stored row, by the side it counts
    // on; a row is in one of the two. Two maps of plain numbers keep the
    // bookkeeping at a few bytes a row on the largest sheets.
    QHash<qint64, qint64>& side(bool moneyIn) { return moneyIn ? m_creditedRows : m_debitedRows; }
    Currency& total(bool moneyIn) { return moneyIn ? m_credited : m_debited; }
    // The stored amount of a row and its side; nullopt when it is not known.
    std::optional<std::pair<qint64, bool>> find(qint64 id) const;

    QHash<qint64, qint64> m_debitedRows;
    QHash<qint64, qint64> m_creditedRows;
    QSet<qint64> m_unstored;
    Currency m_debited;
    Currency m_credited;
};
