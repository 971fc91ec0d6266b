#include "sheet/SheetBook.h"

void SheetBook::clear()
{
    m_amounts.clear();
    m_unstored.clear();
    m_debited = Currency();
    m_credited = Currency();
}

void SheetBook::add(Amount a)
{
    (a.moneyIn ? m_credited : m_debited) += Currency::fromRaw(a.raw);
}

void SheetBook::remove(Amount a)
{
    (a.moneyIn ? m_credited : m_debited) -= Currency::fromRaw(a.raw);
}

void SheetBook::load(qint64 id, std::optional<Currency> amount, bool moneyIn)
{
    const Amount a{amount ? amount->raw() : 0, moneyIn};
    add(a);
    m_amounts.insert(id, a);
}

void SheetBook::store(qint64 id, std::optional<Currency> amount, bool moneyIn)
{
    Amount a{amount ? amount->raw() : 0, moneyIn};
    const auto old = m_amounts.constFind(id);
    if (old != m_amounts.cend()) {
        if (!amount)
            a.raw = old->raw;
        // Added before the old amount leaves, so that an overflow (error 6)
        // leaves the totals as they were.
        add(a);
        remove(*old);
    } else {
        add(a);
    }
    m_amounts.insert(id, a);
    m_unstored.remove(id);
}

void SheetBook::forget(qint64 id)
{
    const auto old = m_amounts.constFind(id);
    if (old != m_amounts.cend()) {
        remove(*old);
        m_amounts.erase(old);
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
