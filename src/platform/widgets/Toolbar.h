#pragma once

#include <QHash>
#include <QStyle>
#include <QToolBar>

// A toolbar of buttons found by key. Captions show under the icons.
// ButtonClick(key) fires when the user presses an enabled button; enabling and
// disabling from code raise nothing. The buttons are Tab stops (an enabled
// one is pressed with Space); a mouse click does not take the focus. Other widgets (a label and a
// combo box, say) may be added with QToolBar::addWidget.
class Toolbar final : public QToolBar
{
    Q_OBJECT

public:
    explicit Toolbar(QWidget* parent = nullptr);

    // Adds a button at the end. Without an icon the button shows its caption
    // only. Keys are unique (a second button with the same key raises VbError 5).
    QAction* addButton(const QString& key, const QString& caption,
                       QStyle::StandardPixmap icon = QStyle::SP_CustomBase);
    // nullptr when no button has the key.
    QAction* Button(const QString& key) const;
    // Enabled state by key; an unknown key raises VbError 5.
    bool ButtonEnabled(const QString& key) const;
    void setButtonEnabled(const QString& key, bool enabled);

signals:
    void ButtonClick(const QString& key);

private:
    QAction* existing(const QString& key) const;

    QHash<QString, QAction*> m_buttons;
};
