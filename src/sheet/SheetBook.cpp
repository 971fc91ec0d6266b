#include "sheet/SheetBook.h"

void SheetBook::clear()
{
    m_debitedRows.clear();
    m_creditedRows.clear();
    m_unstored.clear();
    m_debited = Currency();
    m_credited = Currency();
}

std::optional<std::pair<qint64, bool>> SheetBook::find(qint64 id) const
{
    if (const auto d = m_debitedRows.constFind(id); d != m_debitedRows.cend())
        return std::pair{*d, false};
    if (const auto c = m_creditedRows.constFind(id); c != m_creditedRows.cend())
        return std::pair{*c, true};
    return std::nullopt;
}

void SheetBook::load(qint64 id, std::optional<Currency> amount, bool moneyIn)
{
    const qint64 raw = amount ? amount->raw() : 0;
    total(moneyIn) += Currency::fromRaw(raw);
    side(moneyIn).insert(id, raw);
}

void SheetBook::store(qint64 id, std::optional<Currency> amount, bool moneyIn)
{
    const auto old = find(id);
    const qint64 raw = amount ? amount->raw() : old ? old->first : 0;
    // Both totals are worked out before either changes, so that an overflow
    // (error 6) leaves the book as it was.
    Currency debited = m_debited;
    Currency credited = m_credited;
    if (old)
        (old->second ? credited : debited) -= Currency::fromRaw(old->first);
    (moneyIn ? credited : debited) += Currency::fromRaw(raw);
    m_debited = debited;
    m_credited = credited;
    if (old && old->second != moneyIn)
        side(old->second).remove(id);
    side(moneyIn).insert(id, raw);
    m_unstored.remove(id);
}

void SheetBook::forget(qint64 id)
{
    if (const auto old = find(id)) {
        total(old->second) -= Currency::fromRaw(old->first);
        side(old->second).remove(id);
    }
    m_unstored.remove(id);
}

void SheetBook::setUnstored(qint64 row, bool unstored)
{
    if (unstored)
        m_unstored.insert(row);
    else
        m_unstored.remove(row);
}
