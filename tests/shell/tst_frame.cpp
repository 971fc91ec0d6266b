#include "platform/VbError.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

namespace {

// The entries of a menu as "name caption", separators as "name -".
QStringList entries(const QMenu* menu)
{
    QStringList result;
    for (const QAction* action : menu->actions()) {
        const QString name = action->menu() ? action->menu()->objectName() : action->objectName();
        result << name + QLatin1Char(' ') +
                      (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return result;
}

} // namespace

class tst_Frame : public QObject
{
    Q_OBJECT

private slots:
    void menuTreeAsDesigned()
    {
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();

        QCOMPARE(frame.windowTitle(), QStringLiteral("Zantoro"));
        const QList<QAction*> top = frame.menuBar()->actions();
        QCOMPARE(top.size(), 1);
        QCOMPARE(top.at(0)->text(), QStringLiteral("&File"));
        QCOMPARE(entries(frame.mnuFile),
                 (QStringList{"mnuTransactions &Transactions...", "mnuBackup &Create backup...",
                              "mnuLookupTables &Lookup tables", "mnuLine1 -", "mnuPrint &Print...",
                              "mnuSetup Print &setup", "mnuLine2 -", "mnuExit &Exit"}));
        QCOMPARE(entries(frame.mnuLookupTables),
                 (QStringList{"mnuBusinesses &Businesses...", "mnuCategories &Categories..."}));
        for (const QAction* action : frame.findChildren<QAction*>())
            QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
    }

    // While a modal window is open the frame's menu does not answer; once it
    // is closed the menu opens again.
    void modalWindowBlocksTheMenu()
    {
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        bool menuOpenedWhileModal = true;
        bool modalWasUp = false;
        dbStuff::RegisterWindow(dbStuff::WindowId::Businesses, [&] {
            QDialog dialog(&frmMain::instance());
            QTimer::singleShot(0, &dialog, [&] {
                modalWasUp = QApplication::activeModalWidget() == &dialog;
                QTest::keyClick(frame.windowHandle(), Qt::Key_F, Qt::AltModifier);
                QTest::qWait(50);
                menuOpenedWhileModal = frame.mnuFile->isVisible();
                frame.mnuFile->close();
                dialog.reject();
            });
            dialog.exec();
        });

        frame.mnuBusinesses->trigger();

        QVERIFY(modalWasUp);
        QVERIFY(!menuOpenedWhileModal);
        // The same key without a modal window does open the menu.
        frame.activateWindow();
        QTest::keyClick(frame.windowHandle(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(frame.mnuFile->isVisible());
        frame.mnuFile->close();
    }

    void printSetupCancelRaisesNothing()
    {
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        // As the locate dialog leaves it.
        frame.CMDL1.CancelError = true;
        DialogScript script;
        script.cancelPrinter();

        frame.mnuSetup->trigger();

        QCOMPARE(script.printers(), QList<long>{320});
        QCOMPARE(script.messages().size(), 0);
    }

    void exitClosesTheFrame()
    {
        ShellEnvironment env;
        frmMain::instance().show();

        frmMain::instance().mnuExit->trigger();

        QTRY_VERIFY(!frmMain::loaded());
    }

    void errorInAMenuEntryShowsTheErrorBox()
    {
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        frame.show();
        dbStuff::RegisterWindow(dbStuff::WindowId::Print,
                                [] { throw VbError(VbErr::NoCurrentRecord); });
        DialogScript script;
        script.answer(vbOK);

        frame.mnuPrint->trigger();

        QCOMPARE(script.messages().at(0).prompt,
                 QStringLiteral("Error 3021:  No current record.\r\r"));
        QVERIFY(frame.isVisible());
    }
};

QTEST_MAIN(tst_Frame)
#include "tst_frame.moc"
