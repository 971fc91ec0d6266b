#pragma once

#include "shell/dbStuff.h"

// GridBusy held for a scope: set on entry, cleared however the scope is left,
// an error included, so that the grids' cell handlers never stay switched off.
class GridBusyScope final
{
public:
    GridBusyScope() { dbStuff::GridBusy = true; }
    ~GridBusyScope() { dbStuff::GridBusy = false; }
    GridBusyScope(const GridBusyScope&) = delete;
    GridBusyScope& operator=(const GridBusyScope&) = delete;
};
