#include "platform/widgets/Toolbar.h"

#include "platform/VbError.h"

#include <QAction>

Toolbar::Toolbar(QWidget* parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
}

QAction* Toolbar::addButton(const QString& key, const QString& caption, QStyle::StandardPixmap icon)
{
    if (m_buttons.contains(key))
        throw VbError(VbErr::InvalidCall, QString(),
                      QStringLiteral("button key %1 is on the toolbar").arg(key));
    QAction* action = addAction(caption);
    if (icon != QStyle::SP_CustomBase)
        action->setIcon(style()->standardIcon(icon, nullptr, this));
    action->setObjectName(key);
    // Reached with Tab and pressed with Space, so that every button works
    // from the keyboard; a mouse click leaves the focus where it is.
    if (QWidget* button = widgetForAction(action))
        button->setFocusPolicy(Qt::TabFocus);
    m_buttons.insert(key, action);
    // triggered() comes only from the user (or an explicit trigger()), never
    // from setEnabled.
    connect(action, &QAction::triggered, this, [this, key] { emit ButtonClick(key); });
    return action;
}

QAction* Toolbar::Button(const QString& key) const
{
    return m_buttons.value(key, nullptr);
}

QAction* Toolbar::existing(const QString& key) const
{
    QAction* action = Button(key);
    if (!action)
        throw VbError(VbErr::InvalidCall, QString(),
                      QStringLiteral("no button with key %1").arg(key));
    return action;
}

bool Toolbar::ButtonEnabled(const QString& key) const
{
    return existing(key)->isEnabled();
}

void Toolbar::setButtonEnabled(const QString& key, bool enabled)
{
    existing(key)->setEnabled(enabled);
}
