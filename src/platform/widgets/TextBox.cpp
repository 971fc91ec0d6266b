#include "platform/widgets/TextBox.h"

#include "platform/widgets/KeyCodes.h"

#include <QKeyEvent>
#include <QPointer>

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { emit Change(); });
}

int TextBox::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

int TextBox::SelLength() const
{
    return int(selectedText().size());
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    QPointer<TextBox> alive(this);
    emit KeyDown(virtualKeyCode(event), shiftState(event));
    if (!alive || !hasFocus())
        return;
    int code = characterCode(event);
    if (code != 0) {
        emit KeyPress(code);
        if (!alive || !hasFocus() || code == 0)
            return;
    }
    QLineEdit::keyPressEvent(event);
}
