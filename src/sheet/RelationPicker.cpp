#include "sheet/RelationPicker.h"

#include "platform/widgets/ComboBox.h"
#include "platform/widgets/KeyCodes.h"

#include <QScopedValueRollback>

namespace {

// A selection length that reaches past any relation.
constexpr int RestOfText = 100;

// Text as the store compares it: letters A to Z without regard to case,
// everything else as it stands.
QString storeKey(const QString& text)
{
    QString key = text;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return key;
}

} // namespace

RelationPicker::RelationPicker(ComboBox& combo, QObject* parent) : QObject(parent), m_combo(combo)
{
    // Every key reaches KeyDown before the combo acts on it, so the flag
    // describes the change the key is about to make.
    connect(&combo, &ComboBox::KeyDown, this, [this](int keyCode, int) {
        m_deleting = keyCode == VKey::Back || keyCode == VKey::Delete;
    });
}

void RelationPicker::fill(const QStringList& relations, bool open)
{
    m_stale = false;
    if (relations == m_relations)
        return;
    m_relations = relations;
    m_keys.clear();
    m_keys.reserve(relations.size());
    for (const QString& relation : std::as_const(relations))
        m_keys.insert(storeKey(relation));
    const QScopedValueRollback<bool> quiet(m_quiet, true);
    const QString text = m_combo.Text();
    m_combo.Clear();
    m_combo.AddItems(relations);
    if (open)
        m_combo.setText(text);
}

bool RelationPicker::listed(const QString& relation) const
{
    return relation.isEmpty() || m_keys.contains(storeKey(relation));
}

void RelationPicker::openOn(const QString& cellText)
{
    const QScopedValueRollback<bool> quiet(m_quiet, true);
    m_deleting = false;
    m_combo.setListIndex(-1);
    const int found = int(m_relations.indexOf(cellText));
    if (found >= 0)
        m_combo.setListIndex(found, true);
    else
        m_combo.setText(cellText);
}

std::optional<QString> RelationPicker::textChanged()
{
    if (m_quiet)
        return std::nullopt;
    const QString text = m_combo.Text();
    const bool deleted = std::exchange(m_deleting, false);
    if (m_completing || deleted)
        return text;
    const qsizetype n = text.size();
    for (const QString& item : std::as_const(m_relations)) {
        if (item.size() >= n && QStringView(item).left(n).compare(text, Qt::CaseInsensitive) == 0) {
            const QScopedValueRollback<bool> completing(m_completing, true);
            m_combo.setText(item);
            m_combo.setSelection(int(n), RestOfText);
            break;
        }
    }
    return m_combo.Text();
}
