#include "platform/widgets/ComboBox.h"

#include "platform/VbError.h"
#include "platform/widgets/KeyCodes.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

#include <functional>

ComboBox::ComboBox(Style style, QWidget* parent) : QComboBox(parent), m_style(style)
{
    setEditable(style == DropDownCombo);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
    if (QLineEdit* edit = lineEdit()) {
        // Completion, where wanted, is the program's own (on Change).
        setCompleter(nullptr);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this] {
            if (!m_quiet)
                emit Change();
        });
    }
    connect(this, &QComboBox::activated, this, [this] { emit Click(); });
}

void ComboBox::AddItem(const QString& text, qint64 itemData)
{
    m_texts.append(text);
    m_data.append(itemData);
    keepSelection([&] { addItem(text); });
    m_newIndex = int(m_texts.size()) - 1;
}

void ComboBox::AddItems(const QStringList& texts)
{
    if (texts.isEmpty())
        return;
    m_texts.append(texts);
    m_data.resize(m_texts.size(), 0);
    keepSelection([&] { addItems(texts); });
    m_newIndex = int(m_texts.size()) - 1;
}

void ComboBox::keepSelection(const std::function<void()>& change)
{
    // The list selects its first entry by itself when it gets one; entries
    // added by the program leave the selection and the text as they were.
    const int index = currentIndex();
    const QString text = lineEdit() ? lineEdit()->text() : QString();
    const QSignalBlocker quiet(this);
    m_quiet = true;
    change();
    if (currentIndex() != index)
        setCurrentIndex(index);
    if (lineEdit() && lineEdit()->text() != text)
        lineEdit()->setText(text);
    m_quiet = false;
}

void ComboBox::RemoveItem(int index)
{
    if (index < 0 || index >= m_texts.size())
        throw VbError(VbErr::SubscriptOutOfRange);
    m_texts.removeAt(index);
    m_data.removeAt(index);
    const QSignalBlocker quiet(this);
    m_quiet = true;
    removeItem(index);
    m_quiet = false;
}

void ComboBox::Clear()
{
    m_texts.clear();
    m_data.clear();
    m_newIndex = -1;
    QLineEdit* edit = lineEdit();
    const QString text = edit ? edit->text() : QString();
    {
        const QSignalBlocker quiet(this);
        m_quiet = true;
        clear();
        if (edit)
            edit->setText(text);
        m_quiet = false;
    }
    // Emptying the text part is one change of its text.
    if (edit && !text.isEmpty())
        edit->clear();
}

QString ComboBox::List(int index) const
{
    if (index < 0 || index >= m_texts.size())
        throw VbError(VbErr::SubscriptOutOfRange);
    return m_texts.at(index);
}

qint64 ComboBox::ItemData(int index) const
{
    if (index < 0 || index >= m_data.size())
        throw VbError(VbErr::SubscriptOutOfRange);
    return m_data.at(index);
}

void ComboBox::setItemData(int index, qint64 value)
{
    if (index < 0 || index >= m_data.size())
        throw VbError(VbErr::SubscriptOutOfRange);
    m_data[index] = value;
}

int ComboBox::ListIndex() const
{
    const int index = currentIndex();
    if (index < 0)
        return -1;
    if (m_style == DropDownCombo && lineEdit()->text() != m_texts.at(index))
        return -1;
    return index;
}

void ComboBox::setListIndex(int index, bool raiseClick)
{
    if (index < -1 || index >= m_texts.size())
        throw VbError(VbErr::SubscriptOutOfRange);
    // The text part of a DropDownCombo follows and raises Change (the combo
    // raises Click only for the user's picks, through activated()).
    setCurrentIndex(index);
    if (QLineEdit* edit = lineEdit()) {
        const QString text = index >= 0 ? m_texts.at(index) : QString();
        if (edit->text() != text)
            edit->setText(text);
    }
    if (raiseClick)
        emit Click();
}

QString ComboBox::Text() const
{
    if (m_style == DropDownCombo)
        return lineEdit()->text();
    const int index = currentIndex();
    return index >= 0 ? m_texts.at(index) : QString();
}

void ComboBox::setText(const QString& text)
{
    if (m_style == DropDownCombo) {
        lineEdit()->setText(text);
        return;
    }
    const QSignalBlocker quiet(this);
    setCurrentIndex(int(m_texts.indexOf(text)));
}

int ComboBox::SelStart() const
{
    if (m_style != DropDownCombo)
        return 0;
    const QLineEdit* edit = lineEdit();
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

int ComboBox::SelLength() const
{
    return m_style == DropDownCombo ? int(lineEdit()->selectedText().size()) : 0;
}

void ComboBox::setSelection(int start, int length)
{
    if (m_style != DropDownCombo)
        return;
    QLineEdit* edit = lineEdit();
    start = std::clamp(start, 0, int(edit->text().size()));
    edit->setSelection(start, std::max(0, length));
}

bool ComboBox::forwardKeyDown(QKeyEvent* event)
{
    QPointer<ComboBox> alive(this);
    emit KeyDown(virtualKeyCode(event), shiftState(event));
    if (!alive)
        return true;
    // The handler moved the focus away: the key is spent.
    return !hasFocus() && !(lineEdit() && lineEdit()->hasFocus());
}

bool ComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        // A key sent to the text part itself: reported here, then handled by
        // the text part and, when it leaves the key, by the combo, so that it
        // is reported once.
        auto* key = static_cast<QKeyEvent*>(event);
        if (forwardKeyDown(key))
            return true;
        QPointer<ComboBox> alive(this);
        key->accept();
        lineEdit()->event(key);
        if (alive && !key->isAccepted())
            QComboBox::keyPressEvent(key);
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void ComboBox::keyPressEvent(QKeyEvent* event)
{
    // The platform delivers keys to the combo, which has the focus; a
    // DropDownCombo hands them on to its text part directly, past the filter.
    if (forwardKeyDown(event))
        return;
    QComboBox::keyPressEvent(event);
}
