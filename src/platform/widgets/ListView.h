#pragma once

#include <QHash>
#include <QTreeWidget>

class ListView;

// One row of a ListView. The list owns it; a pointer stays valid until the
// item is removed or the list cleared. SubItems are the columns after the
// first: SubItems(1) is the text of the second column.
class ListItem final : public QTreeWidgetItem
{
public:
    QString Key() const { return m_key; }
    QString Text() const;
    void setText(const QString& text);
    QString SubItems(int index) const;
    void setSubItems(int index, const QString& text);
    // The tick of an item of a list with check boxes. Setting it from code
    // raises no ItemCheck.
    bool Checked() const;
    void setChecked(bool checked);
    // 1-based position in the list.
    int Index() const;
    void EnsureVisible();

private:
    friend class ListView;
    ListItem(ListView* list, const QString& key, const QString& text);

    QString m_key;
    bool m_checked = false; // the tick as last set or reported, to tell user ticks apart
};

// A list in report view: column headers, items with keys and sub-items, an
// optional check box per item, one selected item.
//
// Only the user raises events. Adding, removing, ticking and selecting from
// code raise nothing.
//  - ItemClick(item): the user clicked an item or moved the selection with the
//    keyboard; the selection is already on the item when it fires.
//  - ItemCheck(item): the user ticked or unticked an item's box (mouse or
//    Space); Checked() already tells the new state. A click on a box raises
//    ItemCheck, then ItemClick (the item then selected, as for any click).
//  - DblClick(): the user double-clicked an item.
class ListView final : public QTreeWidget
{
    Q_OBJECT

public:
    enum Alignment
    {
        AlignLeft = 0,
        AlignRight = 1,
        AlignCenter = 2
    };

    explicit ListView(QWidget* parent = nullptr);

    // Column headers, numbered from 1 as the item columns are: column 1 holds
    // the item text, column i + 1 SubItems(i). Widths are in twips; the width
    // read back is the width set (or the user's, after dragging a divider).
    void addColumnHeader(const QString& text, int widthTwips, Alignment alignment = AlignLeft);
    int ColumnHeaderCount() const;
    QString ColumnHeaderText(int index) const;
    int ColumnHeaderWidth(int index) const;
    void setColumnHeaderWidth(int index, int widthTwips);

    // Items. Keys are unique (a second item with the same non-empty key raises
    // VbError 5). The first item added to an empty list becomes its selected
    // item, as lists of this kind do; clear the selection after filling when
    // no item should be selected.
    ListItem* Add(const QString& key, const QString& text);
    // nullptr when no item has the key.
    ListItem* Find(const QString& key) const;
    // 1-based; nullptr out of range.
    ListItem* Item(int index) const;
    int Count() const;
    // Removes the item with the key; nothing when there is none.
    void Remove(const QString& key);
    void Clear();

    bool Checkboxes() const { return m_checkboxes; }
    void setCheckboxes(bool on);

    // nullptr when no item is selected. setSelectedItem(nullptr) clears the
    // selection.
    ListItem* SelectedItem() const;
    void setSelectedItem(ListItem* item);

    // On: the selection is not shown while the list lacks the focus.
    bool HideSelection() const { return m_hideSelection; }
    void setHideSelection(bool on);

signals:
    void ItemClick(ListItem* item);
    void ItemCheck(ListItem* item);
    // A double click on an item, or Return or Enter on the selected one.
    void DblClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // While the list has the focus its frame is drawn in the highlight
    // colour, as a text box's is: a list tabbed into shows no current row
    // until a key moves in it, and would otherwise not show the focus at all.
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class ListItem;
    void onItemChanged(QTreeWidgetItem* item, int column);
    void applyHideSelection();
    void applyColumnWidth(int index);

    QHash<QString, ListItem*> m_byKey;
    QList<int> m_widths; // twips, by column
    QList<Qt::Alignment> m_alignments;
    bool m_checkboxes = false;
    bool m_hideSelection = true;
};
