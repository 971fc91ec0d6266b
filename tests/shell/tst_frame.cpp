#include "platform/Settings.h"
#include "platform/Variant.h"
#include "platform/VbError.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/UndoCommands.h"
#include "shell/Windows.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <new>
#include <vector>

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

// Fails the way the named row of errorInAMenuEntryShowsTheErrorBox says.
// The rows that throw a missing file clean up on the way out with something
// that makes, and handles, an error of its own.
void failAs(const QString& failure)
{
    struct CleanUp
    {
        QString failure;
        ~CleanUp()
        {
            try {
                if (failure == QLatin1String("conversion"))
                    Variant(QStringLiteral("cX")).toLong();
                else if (failure == QLatin1String("other file"))
                    throw VbError(VbErr::DbFileNotFound, QStringLiteral("/elsewhere/Other.mdb"));
            } catch (const VbError&) {
            }
        }
    };
    if (failure == QLatin1String("out of range"))
        std::vector<int>().at(1);
    if (failure == QLatin1String("memory"))
        throw std::bad_alloc();
    if (failure == QLatin1String("int"))
        throw 42;
    const CleanUp cleanUp{failure};
    throw VbError(VbErr::DbFileNotFound, QStringLiteral("/data/Zantoro.mdb"));
}

} // namespace

// The frame, its menu, and the error box every window reports through.
class tst_Frame : public QObject
{
    Q_OBJECT

private slots:
    // Closed at a size and place, the frame opens there the next time; a
    // stored value that is no geometry leaves the first-start size.
    void frameOpensWhereItWasLeft()
    {
        ShellEnvironment env;
        const QSize first = frmMain::instance().size();
        {
            frmMain& frame = frmMain::instance();
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            frame.setGeometry(40, 60, 700, 500);
            QVERIFY(frame.close());
        }
        QTRY_VERIFY(!frmMain::loaded());
        QCOMPARE(frmMain::instance().geometry().size(), QSize(700, 500));
        QCOMPARE(frmMain::instance().geometry().topLeft(), QPoint(40, 60));
        ShellEnvironment::resetShell();

        SaveSetting(AppTitle, QStringLiteral("WINDOWS"), QStringLiteral("FRAME"),
                    QStringLiteral("not a geometry"));
        QCOMPARE(frmMain::instance().size(), first);
    }

    void menuTreeAsDesigned()
    {
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();

        const QList<QAction*> top = frame.menuBar()->actions();
        QCOMPARE(top.size(), 3);
        QCOMPARE(top.at(0)->text(), QStringLiteral("&File"));
        QCOMPARE(top.at(1)->text(), QStringLiteral("&Edit"));
        QCOMPARE(top.at(2)->text(), QStringLiteral("&Help"));
        QCOMPARE(entries(frame.mnuFile),
                 (QStringList{"mnuTransactions &Transactions...", "mnuBackup &Create backup...",
                              "mnuRestore &Restore backup...",
                              "mnuImport &Import bank statement...", "mnuExport E&xport...",
                              "mnuLookupTables &Lookup tables", "mnuLine1 -", "mnuPrint &Print...",
                              "mnuSetup Print &setup", "mnuLine2 -", "mnuExit &Exit"}));
        QCOMPARE(entries(frame.mnuLookupTables),
                 (QStringList{"mnuBusinesses &Businesses...", "mnuCategories &Categories..."}));
        // No database, nothing to undo.
        QCOMPARE(entries(frame.mnuEdit),
                 (QStringList{"mnuUndo &Undo", "mnuRedo &Redo", " -", "mnuHistory &History..."}));
        QCOMPARE(entries(frame.mnuHelp),
                 (QStringList{"mnuGettingStarted &Getting started", "mnuKeyboard &Keyboard",
                              "mnuAbout &About Zantoro"}));
        QVERIFY(!frame.undoCommands->undoAction()->isEnabled());
        QVERIFY(!frame.undoCommands->redoAction()->isEnabled());
        // Only Undo, Redo and Getting started have keys besides the access keys.
        const QMap<QString, QString> keys{{"mnuUndo", "Ctrl+Z"},
                                          {"mnuRedo", "Ctrl+Shift+Z, Ctrl+Y"},
                                          {"mnuGettingStarted", "F1"}};
        for (const QAction* action : frame.findChildren<QAction*>()) {
            QStringList shortcuts;
            for (const QKeySequence& k : action->shortcuts())
                shortcuts << k.toString();
            QCOMPARE(shortcuts.join(", "), keys.value(action->objectName()));
        }
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

    // Whatever a menu entry lets out reaches the error box, and the frame
    // stays. The box names the file of the very error that was thrown, even
    // when other errors were made while it unwound; an exception that is not
    // one of the program's errors still gives a box with a number and a text.
    void errorInAMenuEntryShowsTheErrorBox_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("prompt");

        const QString missing =
            QStringLiteral("Error 3024:  Could not find file '/data/Zantoro.mdb'.\r\r");
        const QString internal = QStringLiteral("Error 51:  Internal error\r\r");
        QTest::newRow("the error alone") << "alone" << missing;
        QTest::newRow("a conversion failed while unwinding") << "conversion" << missing;
        QTest::newRow("same number, another file, made meanwhile") << "other file" << missing;
        QTest::newRow("out of range in the standard library") << "out of range" << internal;
        QTest::newRow("out of memory") << "memory" << QStringLiteral("Error 7:  Out of memory\r\r");
        QTest::newRow("not an exception class at all") << "int" << internal;
    }

    void errorInAMenuEntryShowsTheErrorBox()
    {
        QFETCH(QString, failure);
        QFETCH(QString, prompt);
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        frame.show();
        dbStuff::RegisterWindow(dbStuff::WindowId::Print, [failure] { failAs(failure); });
        DialogScript script;
        script.answer(vbOK);
        dbStuff::Answer = vbNo;

        frame.mnuPrint->trigger();

        QCOMPARE(script.shown(), 1);
        const MessageRequest& box = script.messages().at(0);
        QCOMPARE(box.prompt, prompt);
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
