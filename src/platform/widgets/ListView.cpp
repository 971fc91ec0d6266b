#include "platform/widgets/ListView.h"

#include "platform/VbError.h"
#include "platform/widgets/Twips.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>

ListItem::ListItem(ListView* list, const QString& key, const QString& text)
    : QTreeWidgetItem(list), m_key(key)
{
    QTreeWidgetItem::setText(0, text);
}

QString ListItem::Text() const
{
    return text(0);
}

void ListItem::setText(const QString& text)
{
    QTreeWidgetItem::setText(0, text);
}

QString ListItem::SubItems(int index) const
{
    if (index < 1)
        throw VbError(VbErr::SubscriptOutOfRange);
    return text(index);
}

void ListItem::setSubItems(int index, const QString& text)
{
    if (index < 1)
        throw VbError(VbErr::SubscriptOutOfRange);
    QTreeWidgetItem::setText(index, text);
}

bool ListItem::Checked() const
{
    return m_checked;
}

void ListItem::setChecked(bool checked)
{
    // Noted first, so the change the tree reports is known as the program's.
    m_checked = checked;
    if (auto* list = static_cast<ListView*>(treeWidget()); list && list->Checkboxes())
        setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

int ListItem::Index() const
{
    QTreeWidget* list = treeWidget();
    return list ? list->indexOfTopLevelItem(const_cast<ListItem*>(this)) + 1 : 0;
}

void ListItem::EnsureVisible()
{
    if (QTreeWidget* list = treeWidget())
        list->scrollToItem(this);
}

ListView::ListView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);

    connect(this, &QTreeWidget::itemChanged, this, &ListView::onItemChanged);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        // A press on a check box leaves the selection where it was; a click
        // on the item still makes it the selected one before it is reported.
        auto* clicked = static_cast<ListItem*>(item);
        if (SelectedItem() != clicked)
            setSelectedItem(clicked);
        emit ItemClick(clicked);
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this] { emit DblClick(); });
    connect(header(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        // A divider dragged by the user; widths set from code are kept exact.
        if (section < m_widths.size() && Twips::toPixels(m_widths[section]) != size)
            m_widths[section] = Twips::fromPixels(size);
    });
    applyHideSelection();
}

void ListView::addColumnHeader(const QString& text, int widthTwips, Alignment alignment)
{
    const int column = columnCount();
    setColumnCount(column + 1);
    QTreeWidgetItem* head = headerItem();
    head->setText(column, text);
    const Qt::Alignment align = alignment == AlignRight    ? Qt::AlignRight
                                : alignment == AlignCenter ? Qt::AlignHCenter
                                                           : Qt::AlignLeft;
    head->setTextAlignment(column, align | Qt::AlignVCenter);
    m_widths.append(widthTwips);
    m_alignments.append(align | Qt::AlignVCenter);
    applyColumnWidth(column + 1);
    for (int i = 0; i < topLevelItemCount(); ++i)
        topLevelItem(i)->setTextAlignment(column, m_alignments[column]);
}

int ListView::ColumnHeaderCount() const
{
    return int(m_widths.size());
}

QString ListView::ColumnHeaderText(int index) const
{
    if (index < 1 || index > m_widths.size())
        throw VbError(VbErr::SubscriptOutOfRange);
    return headerItem()->text(index - 1);
}

int ListView::ColumnHeaderWidth(int index) const
{
    if (index < 1 || index > m_widths.size())
        throw VbError(VbErr::SubscriptOutOfRange);
    return m_widths[index - 1];
}

void ListView::setColumnHeaderWidth(int index, int widthTwips)
{
    if (index < 1 || index > m_widths.size())
        throw VbError(VbErr::SubscriptOutOfRange);
    m_widths[index - 1] = std::max(0, widthTwips);
    applyColumnWidth(index);
}

void ListView::applyColumnWidth(int index)
{
    setColumnWidth(index - 1, Twips::toPixels(m_widths[index - 1]));
}

ListItem* ListView::Add(const QString& key, const QString& text)
{
    if (!key.isEmpty() && m_byKey.contains(key))
        throw VbError(VbErr::InvalidCall, QString(),
                      QStringLiteral("key %1 is in the list").arg(key));
    const bool first = topLevelItemCount() == 0;
    const QSignalBlocker quiet(this);
    auto* item = new ListItem(this, key, text);
    for (int c = 1; c < m_alignments.size(); ++c)
        item->setTextAlignment(c, m_alignments[c]);
    if (m_checkboxes)
        item->setCheckState(0, Qt::Unchecked);
    if (!key.isEmpty())
        m_byKey.insert(key, item);
    if (first)
        setCurrentItem(item);
    return item;
}

ListItem* ListView::Find(const QString& key) const
{
    return m_byKey.value(key, nullptr);
}

ListItem* ListView::Item(int index) const
{
    if (index < 1 || index > topLevelItemCount())
        return nullptr;
    return static_cast<ListItem*>(topLevelItem(index - 1));
}

int ListView::Count() const
{
    return topLevelItemCount();
}

void ListView::Remove(const QString& key)
{
    ListItem* item = Find(key);
    if (!item)
        return;
    m_byKey.remove(key);
    const QSignalBlocker quiet(this);
    delete item;
}

void ListView::Clear()
{
    m_byKey.clear();
    const QSignalBlocker quiet(this);
    clear();
}

void ListView::setCheckboxes(bool on)
{
    m_checkboxes = on;
    const QSignalBlocker quiet(this);
    for (int i = 0; i < topLevelItemCount(); ++i) {
        auto* item = static_cast<ListItem*>(topLevelItem(i));
        if (on)
            item->setCheckState(0, item->m_checked ? Qt::Checked : Qt::Unchecked);
        else
            item->setData(0, Qt::CheckStateRole, QVariant());
    }
}

ListItem* ListView::SelectedItem() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : static_cast<ListItem*>(selected.first());
}

void ListView::setSelectedItem(ListItem* item)
{
    const QSignalBlocker quiet(this);
    if (!item) {
        clearSelection();
        setCurrentItem(nullptr);
        return;
    }
    setCurrentItem(item);
    item->setSelected(true);
}

void ListView::setHideSelection(bool on)
{
    m_hideSelection = on;
    applyHideSelection();
}

void ListView::applyHideSelection()
{
    // Without the focus the list shows its selection in the inactive colours;
    // hiding it is painting the inactive selection like the background.
    // Shown again, it takes the colours of the palette the list would have
    // had (the desktop's, dark or light), not the style's built-in light ones.
    QPalette pal = palette();
    const QPalette base = QApplication::palette(this);
    if (m_hideSelection) {
        pal.setColor(QPalette::Inactive, QPalette::Highlight,
                     pal.color(QPalette::Inactive, QPalette::Base));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     pal.color(QPalette::Inactive, QPalette::Text));
    } else {
        pal.setColor(QPalette::Inactive, QPalette::Highlight,
                     base.color(QPalette::Inactive, QPalette::Highlight));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     base.color(QPalette::Inactive, QPalette::HighlightedText));
    }
    setPalette(pal);
}

void ListView::keyPressEvent(QKeyEvent* event)
{
    // Space ticks the current row of a list with boxes (the first row when
    // the list was just tabbed into), as a click on its box does, so that
    // allocations can be made from the keyboard.
    if (m_checkboxes && event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        QTreeWidgetItem* item = currentItem() ? currentItem() : topLevelItem(0);
        if (item) {
            setCurrentItem(item);
            item->setCheckState(0,
                                item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
        event->accept();
        return;
    }
    // Return is the keyboard's double click, so that what a double click
    // does can be done without the mouse.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && SelectedItem()) {
        event->accept();
        emit DblClick();
        return;
    }
    // A selection moved with the keyboard is reported like a click.
    ListItem* before = SelectedItem();
    QPointer<ListView> alive(this);
    QTreeWidget::keyPressEvent(event);
    if (!alive)
        return;
    ListItem* after = SelectedItem();
    if (after && after != before)
        emit ItemClick(after);
}

bool ListView::event(QEvent* event)
{
    const bool handled = QTreeWidget::event(event);
    if (event->type() == QEvent::Paint && hasFocus() && frameWidth() > 0) {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Active, QPalette::Highlight));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    return handled;
}

void ListView::focusInEvent(QFocusEvent* event)
{
    QTreeWidget::focusInEvent(event);
    update();
}

void ListView::focusOutEvent(QFocusEvent* event)
{
    QTreeWidget::focusOutEvent(event);
    update();
}

void ListView::onItemChanged(QTreeWidgetItem* changed, int column)
{
    if (column != 0 || !m_checkboxes)
        return;
    auto* item = static_cast<ListItem*>(changed);
    const bool ticked = item->checkState(0) == Qt::Checked;
    if (ticked == item->m_checked)
        return; // a tick set from code, or another change of the item
    item->m_checked = ticked;
    emit ItemCheck(item);
}
