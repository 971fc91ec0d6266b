#include "shell/Windows.h"

#include <map>

namespace dbStuff {

namespace {

std::map<WindowId, WindowOpener>& openers()
{
    static std::map<WindowId, WindowOpener> table;
    return table;
}

// The business of the window being opened by ShowWindow(id, businessId).
qint64 g_windowBusiness = 0;

} // namespace

void RegisterWindow(WindowId id, WindowOpener opener)
{
    if (opener)
        openers()[id] = std::move(opener);
    else
        openers().erase(id);
}

void UnregisterWindows()
{
    openers().clear();
}

bool ShowWindow(WindowId id)
{
    const auto it = openers().find(id);
    if (it == openers().end())
        return false;
    // A copy: the opener may register or remove openers while it runs.
    const WindowOpener opener = it->second;
    opener();
    return true;
}

bool ShowWindow(WindowId id, qint64 businessId)
{
    const qint64 outer = g_windowBusiness;
    g_windowBusiness = businessId;
    struct Restore
    {
        qint64 value;
        ~Restore() { g_windowBusiness = value; }
    } restore{outer};
    return ShowWindow(id);
}

qint64 WindowBusiness()
{
    return g_windowBusiness;
}

Notifier& Notifier::instance()
{
    static Notifier notifier;
    return notifier;
}

} // namespace dbStuff
