#include "platform/widgets/KeyCodes.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

int virtualKeyCode(const QKeyEvent* event)
{
    const int key = event->key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key; // 65..90, as the program's codes
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (event->modifiers() & Qt::KeypadModifier) ? 96 + (key - Qt::Key_0) : key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return VKey::F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return VKey::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VKey::Return;
    case Qt::Key_Shift:
        return VKey::Shift;
    case Qt::Key_Control:
        return VKey::Control;
    case Qt::Key_Alt:
        return VKey::Menu;
    case Qt::Key_Escape:
        return VKey::Escape;
    case Qt::Key_Space:
        return VKey::Space;
    case Qt::Key_PageUp:
        return VKey::PageUp;
    case Qt::Key_PageDown:
        return VKey::PageDown;
    case Qt::Key_End:
        return VKey::End;
    case Qt::Key_Home:
        return VKey::Home;
    case Qt::Key_Left:
        return VKey::Left;
    case Qt::Key_Up:
        return VKey::Up;
    case Qt::Key_Right:
        return VKey::Right;
    case Qt::Key_Down:
        return VKey::Down;
    case Qt::Key_Insert:
        return VKey::Insert;
    case Qt::Key_Delete:
        return VKey::Delete;
    default:
        return 0;
    }
}

int shiftState(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    return (mods & Qt::ShiftModifier ? VShift::Shift : 0) |
           (mods & Qt::ControlModifier ? VShift::Ctrl : 0) |
           (mods & Qt::AltModifier ? VShift::Alt : 0);
}

int characterCode(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VKey::Return;
    case Qt::Key_Escape:
        return VKey::Escape;
    case Qt::Key_Backspace:
        return VKey::Back;
    case Qt::Key_Space:
        return VKey::Space;
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0;
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty())
        return 0;
    const int code = text.at(0).unicode();
    // Control characters other than the ones above, and DEL, type nothing.
    if (code < 32 || code == 127)
        return 0;
    return code;
}

namespace {

// The key of a typed character code, as a keyboard would report it.
int keyOfCharacter(int characterCode)
{
    switch (characterCode) {
    case VKey::Return:
        return Qt::Key_Return;
    case VKey::Escape:
        return Qt::Key_Escape;
    case VKey::Back:
        return Qt::Key_Backspace;
    default:
        return QChar(char16_t(characterCode)).toUpper().unicode();
    }
}

} // namespace

void postCharacter(QWidget* target, int characterCode)
{
    if (!target || characterCode <= 0)
        return;
    const QString text{QChar(char16_t(characterCode))};
    const int key = keyOfCharacter(characterCode);
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

void sendCharacter(QWidget* target, int characterCode)
{
    if (!target || characterCode <= 0)
        return;
    const QString text{QChar(char16_t(characterCode))};
    const int key = keyOfCharacter(characterCode);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}
