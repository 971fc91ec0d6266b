#pragma once

#include <QComboBox>

#include <functional>

// A combo box with a 64-bit number per entry (ItemData) and the list index of
// the selected entry. Entries are numbered from 0; ListIndex -1 means none.
//
// Styles: DropDownList picks from the list only; DropDownCombo also has a text
// part the user can type into.
//
// Events:
//  - Click: the user picked an entry (mouse or keyboard), or the program
//    selected one with setListIndex(i, true). setListIndex(i) alone, AddItem,
//    Clear and setText raise no Click.
//  - Change (DropDownCombo only): the text part changed, by typing or from
//    code (setText, picking an entry, Clear), every time. A handler may call
//    setText again; the change then re-enters the handler before the outer
//    call returns.
//  - KeyDown(code, shift): every key pressed in the combo or its text part,
//    before the combo acts on it; when the handler moved the focus away, the
//    combo drops the key.
class ComboBox final : public QComboBox
{
    Q_OBJECT

public:
    enum Style
    {
        DropDownCombo,
        DropDownList
    };

    explicit ComboBox(Style style = DropDownList, QWidget* parent = nullptr);

    Style style() const { return m_style; }

    // Appends an entry; NewIndex() is its index.
    void AddItem(const QString& text, qint64 itemData = 0);
    // Appends many entries with ItemData 0 at once (a long list of relations).
    void AddItems(const QStringList& texts);
    int NewIndex() const { return m_newIndex; }
    void RemoveItem(int index);
    void Clear();

    int ListCount() const { return int(m_texts.size()); }
    // Out-of-range indices raise VbError 9 (List and ItemData).
    QString List(int index) const;
    qint64 ItemData(int index) const;
    void setItemData(int index, qint64 value);

    // The selected entry; for a DropDownCombo -1 as soon as the text part no
    // longer reads as the selected entry.
    int ListIndex() const;
    void setListIndex(int index, bool raiseClick = false);

    // DropDownList: the selected entry's text ("" when none); setting it selects
    // the first entry with exactly that text, or none. DropDownCombo: the text
    // part.
    QString Text() const;
    void setText(const QString& text);

    // Selection in the text part of a DropDownCombo; a length past the end is
    // cut at the end.
    int SelStart() const;
    int SelLength() const;
    void setSelection(int start, int length);

signals:
    void Click();
    void Change();
    void KeyDown(int keyCode, int shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool forwardKeyDown(QKeyEvent* event);
    void keepSelection(const std::function<void()>& change);

    Style m_style;
    QStringList m_texts; // mirrors the entries, for quick scans of long lists
    QList<qint64> m_data;
    int m_newIndex = -1;
    bool m_quiet = false; // the combo's own text changes while entries come and go
};
