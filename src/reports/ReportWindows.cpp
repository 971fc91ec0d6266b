#include "reports/ReportWindows.h"

#include "reports/frmChanges.h"
#include "reports/frmPrint.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"

void RegisterReportWindows()
{
    dbStuff::RegisterWindow(dbStuff::WindowId::Print, [] {
        // Modal: one instance, which is unloaded when the user closes it.
        frmPrint window(frmMain::loaded());
        if (const qint64 business = dbStuff::WindowBusiness())
            window.selectBusiness(business);
        window.exec();
    });
    dbStuff::RegisterWindow(dbStuff::WindowId::Changes, [] {
        frmChanges window(frmMain::loaded());
        if (const qint64 business = dbStuff::WindowBusiness())
            window.selectBusiness(business);
        window.exec();
    });
}
