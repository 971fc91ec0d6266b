#pragma once

#include <QLineEdit>

// A one-line text box with the program's key events.
//
// Events:
//  - Change: the text changed, by typing or from code (setText), every time.
//  - KeyDown(code, shift): every key pressed, before the box acts on it; when
//    the handler moved the focus away, the box drops the key.
//  - KeyPress(code): a key that types a character, after KeyDown; a handler may
//    set the code to 0 to swallow the character.
class TextBox final : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void setText(const QString& text) { QLineEdit::setText(text); }
    // Selection: QLineEdit::setSelection(start, length) cuts a length past the
    // end at the end, so (0, 1000) selects everything.
    int SelStart() const;
    int SelLength() const;

signals:
    void Change();
    void KeyDown(int keyCode, int shift);
    void KeyPress(int& keyAscii);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
