#pragma once

#include "shell/dbStuff.h"

#include <QScopedValueRollback>

// GridBusy held for a scope: set on entry and put back to what it was however
// the scope is left, an error included, so that the grids' cell handlers never
// stay switched off, and an inner scope never switches them on under an outer.
class GridBusyScope final
{
public:
    GridBusyScope() = default;
    GridBusyScope(const GridBusyScope&) = delete;
    GridBusyScope& operator=(const GridBusyScope&) = delete;

private:
    QScopedValueRollback<bool> m_busy{dbStuff::GridBusy, true};
};
