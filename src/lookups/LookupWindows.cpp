#include "lookups/LookupWindows.h"

#include "lookups/frmBusinesses.h"
#include "lookups/frmCategories.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"

void RegisterLookupWindows()
{
    using dbStuff::WindowId;
    // Both windows are modal over the frame; their openers return once the
    // window is closed.
    dbStuff::RegisterWindow(WindowId::Businesses, [] { frmBusinesses::Show(frmMain::loaded()); });
    dbStuff::RegisterWindow(WindowId::Categories, [] { frmCategories::Show(frmMain::loaded()); });
}
