#pragma once

#include <QObject>

#include <functional>

// An event filter that hands the events of the objects it is installed on to
// a function; the function returns true to stop an event there. Owned by the
// object it is made for (parent).
class SheetEventHook final : public QObject
{
public:
    using Handler = std::function<bool(QObject* watched, QEvent* event)>;
    SheetEventHook(QObject* parent, Handler handler)
        : QObject(parent), m_handler(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return m_handler(watched, event) || QObject::eventFilter(watched, event);
    }

private:
    Handler m_handler;
};
