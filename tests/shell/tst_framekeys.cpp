// The frame as a keyboard user reaches it: Alt with the File menu's access key,
// then the entries' access keys, reach each entry of the menu.

#include "shell/frmMain.h"
#include "support/DataRows.h"
#include "support/ShellEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

class tst_FrameKeys : public QObject
{
    Q_OBJECT

private slots:
    void accessKeysReachEveryEntry_data()
    {
        QTest::addColumn<QString>("keys"); // after Alt+F
        QTest::addColumn<QString>("entry");
        using datarows::row;
        row("transactions", "t", "mnuTransactions");
        row("backup", "c", "mnuBackup");
        row("restore", "r", "mnuRestore");
        row("businesses", "lb", "mnuBusinesses");
        row("categories", "lc", "mnuCategories");
        row("print", "p", "mnuPrint");
        row("print setup", "s", "mnuSetup");
        row("exit", "e", "mnuExit");
    }

    void accessKeysReachEveryEntry()
    {
        QFETCH(QString, keys);
        QFETCH(QString, entry);
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        // Only which entry the keys reach counts here: the entries' own work
        // (windows, dialogs, closing the frame) is left out.
        QList<QSignalSpy*> spies;
        QSignalSpy* reached = nullptr;
        for (QAction* action : frame.findChildren<QAction*>()) {
            if (action->objectName().isEmpty() || action->isSeparator() || action->menu())
                continue;
            action->disconnect(&frame);
            spies << new QSignalSpy(action, &QAction::triggered);
            if (action->objectName() == entry)
                reached = spies.last();
        }
        QVERIFY(reached);

        QTest::keyClick(&frame, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(frame.mnuFile->isVisible());
        for (const QChar key : keys) {
            QWidget* menu = QApplication::activePopupWidget();
            QVERIFY(menu);
            QTest::keyClick(menu, key.toLatin1());
        }

        QTRY_COMPARE(reached->count(), 1);
        int all = 0;
        for (QSignalSpy* spy : spies)
            all += spy->count();
        QCOMPARE(all, 1);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        qDeleteAll(spies);
        frame.close();
    }
};

QTEST_MAIN(tst_FrameKeys)
#include "tst_framekeys.moc"
