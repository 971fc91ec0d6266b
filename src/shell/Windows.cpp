#include "shell/Windows.h"

#include <map>

namespace dbStuff {

namespace {

std::map<WindowId, WindowOpener>& openers()
{
    static std::map<WindowId, WindowOpener> table;
    return table;
}

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

Notifier& Notifier::instance()
{
    static Notifier notifier;
    return notifier;
}

} // namespace dbStuff
