#include "history/frmHistory.h"
#include "lookups/LookupWindows.h"
#include "platform/Settings.h"
#include "platform/widgets/Screen.h"
#include "reports/ReportWindows.h"
#include "sheet/frmTransactions.h"
#include "shell/AutoBackup.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppTitle);
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    // Each window layer registers its windows' openers here, before start-up,
    // with dbStuff::RegisterWindow; the frame's menu reaches them by id.
    RegisterLookupWindows();
    RegisterSheetWindow();
    RegisterReportWindows();
    RegisterHistoryWindow();

    dbStuff::Main();
    // Start-up either showed the frame or stopped with an error box; without a
    // frame there is nothing left to wait for.
    if (!frmMain::loaded() || !frmMain::loaded()->isVisible())
        return int(ExitStatus::StartupFailed);
    const int code = app.exec();
    // The frame closed normally (End leaves at once and never comes here).
    dbStuff::AutoBackup::AtClose();
    return code;
}
