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
// The transaction of the window being opened by ShowWindowForTransaction.
qint64 g_windowTransaction = 0;

// Sets a value for the time of one call and puts the outer one back after it.
struct Scoped
{
    qint64& value;
    qint64 outer;
    Scoped(qint64& v, qint64 inner) : value(v), outer(v) { value = inner; }
    ~Scoped() { value = outer; }
};

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
    const Scoped scoped(g_windowBusiness, businessId);
    return ShowWindow(id);
}

bool ShowWindowForTransaction(WindowId id, qint64 transactionId)
{
    const Scoped scoped(g_windowTransaction, transactionId);
    return ShowWindow(id);
}

qint64 WindowTransaction()
{
    return g_windowTransaction;
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
