#include "platform/VbError.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

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

// The frame, its menu, and the error box every window reports through.
class tst_Frame : public QObject
{
    Q_OBJECT

private slots:
    void menuTreeAsDesigned()
    {
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();

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

    void printSetupCancelRaisesNothing()
    {
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        // As the locate dialog leaves it.
        frame.CMDL1.CancelError = true;
        DialogScript script;
        script.cancelPrinter();

        frame.mnuSetup->trigger();

        QCOMPARE(script.printers().size(), 1);
        QCOMPARE(script.messages().size(), 0);
    }

    void exitClosesTheFrame()
    {
        ShellEnvironment env;
        frmMain::instance().show();

        frmMain::instance().mnuExit->trigger();

        QTRY_VERIFY(!frmMain::loaded());
    }

    // An error inside a menu entry reaches the error box; the frame stays.
    void errorInAMenuEntryShowsTheErrorBox()
    {
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        frame.show();
        dbStuff::RegisterWindow(dbStuff::WindowId::Print,
                                [] { throw VbError(VbErr::DbFileNotFound, "/data/Zantoro.mdb"); });
        DialogScript script;
        script.answer(vbOK);
        dbStuff::Answer = vbNo;

        frame.mnuPrint->trigger();

        const MessageRequest& box = script.messages().at(0);
        // The box names the file the error was about.
        QCOMPARE(box.prompt,
                 QStringLiteral("Error 3024:  Could not find file '/data/Zantoro.mdb'.\r\r"));
        QCOMPARE(box.icon(), vbCritical);
        QCOMPARE(box.buttons(), vbOKOnly);
        QCOMPARE(box.title, QStringLiteral("Zantoro"));
        QCOMPARE(dbStuff::Answer, vbNo); // not a question: the last answer stays
        QVERIFY(frame.isVisible());
    }

    void idFromKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<long>("id");
        QTest::addColumn<QString>("error"); // empty: no error box

        QTest::newRow("category") << QStringLiteral("c12") << 12L << QString();
        QTest::newRow("letter only") << QStringLiteral("b") << 0L << QString();
        QTest::newRow("empty key")
            << QString() << 0L
            << QStringLiteral("Error 5:  Invalid procedure call or argument\r\r");
        QTest::newRow("not a number")
            << QStringLiteral("cX") << 0L << QStringLiteral("Error 13:  Type mismatch\r\r");
        QTest::newRow("beyond a Long")
            << QStringLiteral("b2147483648") << 0L << QStringLiteral("Error 6:  Overflow\r\r");
    }

    void idFromKey()
    {
        QFETCH(QString, key);
        QFETCH(long, id);
        QFETCH(QString, error);
        ShellEnvironment env;
        DialogScript script;
        if (!error.isEmpty())
            script.answer(vbOK);

        QCOMPARE(dbStuff::IdFromKey(key), id);

        QCOMPARE(script.shown(), error.isEmpty() ? 0 : 1);
        if (!error.isEmpty()) {
            QCOMPARE(script.messages().at(0).prompt, error);
            QCOMPARE(script.messages().at(0).icon(), vbCritical);
        }
    }
};

QTEST_MAIN(tst_Frame)
#include "tst_frame.moc"
