#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/GettingStartedPanel.h"
#include "shell/Windows.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <sqlite3.h>

using dbStuff::Notifier;

// The Help menu and the getting-started panel of the frame.
class tst_Help : public QObject
{
    Q_OBJECT

private slots:
    // The panel stays while no business has an allocated category, and follows
    // the notification of whatever changed the file.
    void panelFollowsTheDatabase_data()
    {
        QTest::addColumn<bool>("business");
        QTest::addColumn<bool>("allocated");
        QTest::addColumn<int>("which"); // index into notify below
        QTest::addColumn<bool>("shown");

        QTest::newRow("a business alone") << true << false << 0 << true;
        QTest::newRow("a category allocated, from the categories window")
            << true << true << 1 << false;
        QTest::newRow("an allocation brought back by a redo") << true << true << 2 << false;
        QTest::newRow("a restored file with an allocation") << true << true << 3 << false;
        QTest::newRow("a category not allocated") << false << false << 1 << true;
    }

    void panelFollowsTheDatabase()
    {
        QFETCH(bool, business);
        QFETCH(bool, allocated);
        QFETCH(int, which);
        QFETCH(bool, shown);
        ShellEnvironment env;
        TempDatabase db;
        env.openDatabase(db.path());
        frmMain& frame = frmMain::instance();
        frame.show();
        QVERIFY(frame.gettingStarted->isVisible());

        {
            RawDb raw(db.path());
            const qint64 category = raw.category(QStringLiteral("Fuel"), false);
            if (business) {
                const qint64 id = raw.business(QStringLiteral("Bakery"));
                if (allocated)
                    raw.allocate(category, id);
            }
        }
        Notifier& n = Notifier::instance();
        const std::function<void()> notify[] = {
            [&n] { emit n.businessesChanged(); }, [&n] { emit n.categoriesChanged(); },
            [&n] { emit n.rowsRewritten(); }, [&n] { emit n.databaseReplaced(); }};
        notify[which]();

        QCOMPARE(frame.gettingStarted->isVisible(), shown);
    }

    void noPanelWithoutADatabase()
    {
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        frame.show();
        QVERIFY(!frame.gettingStarted->isVisible());
    }

    void panelButtonsOpenTheirWindows_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("window");
        QTest::newRow("businesses") << "btnBusinesses" << int(dbStuff::WindowId::Businesses);
        QTest::newRow("categories") << "btnCategories" << int(dbStuff::WindowId::Categories);
        QTest::newRow("sheet") << "btnSheet" << int(dbStuff::WindowId::Transactions);
    }

    void panelButtonsOpenTheirWindows()
    {
        QFETCH(QString, button);
        QFETCH(int, window);
        ShellEnvironment env;
        TempDatabase db;
        env.openDatabase(db.path());
        frmMain& frame = frmMain::instance();
        frame.show();
        QList<int> opened;
        for (auto id : {dbStuff::WindowId::Businesses, dbStuff::WindowId::Categories,
                        dbStuff::WindowId::Transactions})
            dbStuff::RegisterWindow(id, [&opened, id] { opened << int(id); });

        auto* target = frame.gettingStarted->findChild<QPushButton*>(button);
        QVERIFY(target && target->isVisible());
        QTest::mouseClick(target, Qt::LeftButton);

        QCOMPARE(opened, QList<int>{window});
        dbStuff::UnregisterWindows();
    }

    // F1 and the Keyboard entry show their guide once, however often asked.
    void guidesOpenInATextBrowser_data()
    {
        QTest::addColumn<bool>("f1");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("getting started, by F1")
            << true << "GettingStartedPage"
            << QStringList{"Businesses", "allocat", "Typing a row", "Reports", "backup",
                           "Restore",    "Undo",    "History",      "Import",  "Export"};
        QTest::newRow("keyboard") << false << "KeyboardPage"
                                  << QStringList{"Enter",  "Shift+Tab", "Escape",  "Up, Down",
                                                 "Delete", "Space",     "Page Up", "Home"};
    }

    void guidesOpenInATextBrowser()
    {
        QFETCH(bool, f1);
        QFETCH(QString, page);
        QFETCH(QStringList, words);
        ShellEnvironment env;
        frmMain& frame = frmMain::instance();
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));

        for (int i = 0; i < 2; ++i) {
            if (f1)
                QTest::keyClick(&frame, Qt::Key_F1);
            else
                frame.mnuKeyboard->trigger();
        }

        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        auto* shown = qobject_cast<QTextBrowser*>(frame.mdiArea()->activeSubWindow()->widget());
        QVERIFY(shown);
        QCOMPARE(shown->objectName(), page);
        for (const QString& word : words)
            QVERIFY2(shown->toPlainText().contains(word), qPrintable(word));
    }

    void aboutNamesVersionsFileAndLicence()
    {
        ShellEnvironment env;
        TempDatabase db;
        env.openDatabase(db.path());
        DialogScript script;
        script.answer(vbOK);

        frmMain::instance().mnuAbout->trigger();

        const MessageRequest& box = script.messages().at(0);
        QCOMPARE(box.title, QStringLiteral("About Zantoro"));
        QCOMPARE(box.icon(), vbInformation);
        for (const QString& part :
             {QStringLiteral("Zantoro " ZANTORO_VERSION "\r"), "Database: " + db.path() + "\r",
              "Qt " + QString::fromLatin1(qVersion()),
              "SQLite " + QString::fromLatin1(sqlite3_libversion()),
              QStringLiteral("Licence: not yet chosen by the owner")})
            QVERIFY2(box.prompt.contains(part), qPrintable(box.prompt));
    }
};

QTEST_MAIN(tst_Help)
#include "tst_help.moc"
