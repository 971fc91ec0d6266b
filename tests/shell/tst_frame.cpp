#include "platform/VbError.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"

#include <QAction>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
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

    void entriesWithoutWindowsDoNothing()
    {
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        frame.show();
        DialogScript script; // any dialog would fail the test

        for (QAction* entry :
             {frame.mnuTransactions, frame.mnuBusinesses, frame.mnuCategories, frame.mnuPrint})
            entry->trigger();

        QCOMPARE(script.shown(), 0);
        QVERIFY(frame.isVisible());
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 0);
    }

    void entriesOpenTheirWindows_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("entry");
        QTest::newRow("transactions")
            << int(dbStuff::WindowId::Transactions) << QStringLiteral("mnuTransactions");
        QTest::newRow("businesses")
            << int(dbStuff::WindowId::Businesses) << QStringLiteral("mnuBusinesses");
        QTest::newRow("categories")
            << int(dbStuff::WindowId::Categories) << QStringLiteral("mnuCategories");
        QTest::newRow("print") << int(dbStuff::WindowId::Print) << QStringLiteral("mnuPrint");
    }

    void entriesOpenTheirWindows()
    {
        QFETCH(int, window);
        QFETCH(QString, entry);
        ShellEnvironment env;
        QList<int> opened;
        for (auto id : {dbStuff::WindowId::Transactions, dbStuff::WindowId::Businesses,
                        dbStuff::WindowId::Categories, dbStuff::WindowId::Print})
            dbStuff::RegisterWindow(id, [&opened, id] { opened << int(id); });

        frmMain::instance().findChild<QAction*>(entry)->trigger();

        QCOMPARE(opened, QList<int>{window});
    }

    void transactionsTwiceShowsOneChild()
    {
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        frame.show();
        QPointer<QWidget> sheet;
        dbStuff::RegisterWindow(dbStuff::WindowId::Transactions, [&] {
            if (!sheet)
                sheet = new QWidget;
            frmMain::instance().showChild(sheet);
        });

        frame.mnuTransactions->trigger();
        frame.mnuTransactions->trigger();

        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        QCOMPARE(frame.mdiArea()->activeSubWindow()->widget(), sheet.data());
        QVERIFY(sheet->isVisible());
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

    void printSetupCancelRaisesNothing_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("cancelled") << false;
        QTest::newRow("accepted") << true;
    }

    void printSetupCancelRaisesNothing()
    {
        QFETCH(bool, accept);
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        // As the locate dialog leaves it.
        frame.CMDL1.CancelError = true;
        DialogScript script;
        if (accept)
            script.acceptPrinter();
        else
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

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages().at(0).prompt,
                 QStringLiteral("Error 3021:  No current record.\r\r"));
        QCOMPARE(script.messages().at(0).flags, vbCritical);
        QVERIFY(frame.isVisible());
    }
};

QTEST_MAIN(tst_Frame)
#include "tst_frame.moc"
