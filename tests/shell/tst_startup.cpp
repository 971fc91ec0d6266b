#include "platform/Settings.h"
#include "platform/widgets/Screen.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using Ended = ShellEnvironment::ProgramEnded;

namespace {

const QString Resolution =
    QStringLiteral("The preferred resolution for this application is 1024 x 768.\r\r If you are "
                   "using a different resolution you may not be able to see the full content of "
                   "controls on the screen.\r\rDo you want to continue?");

const QString NotAccessible = QStringLiteral(
    "Either Zantoro application, or Zantoro.mdb are not accessible. Check the availability in "
    "the correct location of these files and do not click twice to open the Zantoro application.");

QString storedDatabase()
{
    return GetSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("DATABASE"));
}

void storeDatabase(const QString& path)
{
    SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("DATABASE"), path);
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool frameShown()
{
    return frmMain::loaded() && frmMain::loaded()->isVisible();
}

// The database opened by start-up is usable through the shared table recordsets.
void verifyOpen(const QString& path)
{
    QVERIFY(dbStuff::DB && dbStuff::rsCategories && dbStuff::rsTransactions);
    QCOMPARE(dbStuff::DB->path(), QFileInfo(path).absoluteFilePath());
    QCOMPARE(dbStuff::rsCategories->index().toLower(), QStringLiteral("primarykey"));
    QCOMPARE(dbStuff::rsTransactions->index().toLower(), QStringLiteral("primarykey"));
}

} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

private:
    // A delivered database at the environment's default location.
    void installDefault(const ShellEnvironment& env) { installAt(env.defaultDatabasePath()); }
    void installAt(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(QFile::copy(m_source->path(), path));
    }

    std::unique_ptr<TempDatabase> m_source;

private slots:
    void initTestCase() { m_source = std::make_unique<TempDatabase>(); }

    void firstRunOpensTheDefaultSilently()
    {
        ShellEnvironment env;
        installDefault(env);
        DialogScript script;

        dbStuff::Main();

        QCOMPARE(script.shown(), 0);
        QCOMPARE(storedDatabase(), env.defaultDatabasePath());
        QCOMPARE(dbStuff::DBFolder, env.dataHome() + QStringLiteral("/Zantoro/"));
        QCOMPARE(dbStuff::SortSQL, QStringLiteral("ORDER BY Transactions.receiptid;"));
        verifyOpen(env.defaultDatabasePath());
        QVERIFY(frameShown());
        QCOMPARE(Screen::mousePointer(), vbDefault);
    }

    void firstRunWithoutFileStoresDefaultThenCancelEndsSilently()
    {
        ShellEnvironment env;
        DialogScript script;
        QString storedWhileAsking;
        int pointerWhileAsking = -1;
        script.cancelFile().whileOpen([&] {
            storedWhileAsking = storedDatabase();
            pointerWhileAsking = Screen::mousePointer();
        });

        QVERIFY_THROWS_EXCEPTION(Ended, dbStuff::Main());

        QCOMPARE(script.messages().size(), 0);
        const FileRequest& locate = script.files().at(0);
        QCOMPARE(locate.title, QStringLiteral("Locate Zantoro.mdb database"));
        QCOMPARE(locate.initDir, env.dataHome() + QStringLiteral("/Zantoro/"));
        QCOMPARE(locate.fileName, QStringLiteral("Zantoro.mdb"));
        QCOMPARE(storedWhileAsking, env.defaultDatabasePath());
        QCOMPARE(pointerWhileAsking, vbHourglass);
        QVERIFY(!frameShown());
    }

    // The stored file is gone; the first file chosen does not exist either, so
    // the dialog comes again, and the second choice is opened and stored.
    void removedFileIsLocatedAndTheNewPathStored()
    {
        ShellEnvironment env;
        storeDatabase(env.root() + QStringLiteral("/gone/Zantoro.mdb"));
        const QString missing = env.root() + QStringLiteral("/nowhere.mdb");
        const QString moved = env.root() + QStringLiteral("/elsewhere/Books 2026.mdb");
        installAt(moved);
        DialogScript script;
        script.chooseFile(missing).chooseFile(moved);

        dbStuff::Main();

        QCOMPARE(script.files().size(), 2);
        QCOMPARE(script.files().at(1).fileName, QStringLiteral("Zantoro.mdb"));
        QCOMPARE(storedDatabase(), moved);
        // Another file name still gives its own folder.
        QCOMPARE(dbStuff::DBFolder, env.root() + QStringLiteral("/elsewhere/"));
        verifyOpen(moved);
        QVERIFY(!QFile::exists(missing)); // nothing is created at a wrong path
    }

    void screenWidth_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("answer"); // 0: no message expected
        QTest::addColumn<bool>("starts");

        QTest::newRow("640, OK goes on") << 640 << vbOK << true;
        QTest::newRow("640, Cancel ends") << 640 << vbCancel << false;
        QTest::newRow("767 still warned") << 767 << vbOK << true;
        QTest::newRow("800 not warned") << 800 << 0 << true;
    }

    void screenWidth()
    {
        QFETCH(int, width);
        QFETCH(int, answer);
        QFETCH(bool, starts);
        ShellEnvironment env;
        installDefault(env);
        Screen::setWidthPixelsForTesting(width);
        DialogScript script;
        if (answer)
            script.answer(answer);

        if (starts)
            dbStuff::Main();
        else
            QVERIFY_THROWS_EXCEPTION(Ended, dbStuff::Main());

        if (answer) {
            QCOMPARE(script.messages().size(), 1);
            QCOMPARE(script.messages().at(0).prompt, Resolution);
            QCOMPARE(script.messages().at(0).flags, vbOKCancel + vbInformation);
        } else {
            QCOMPARE(script.shown(), 0);
        }
        QCOMPARE(frameShown(), starts);
        QCOMPARE(env.endings(), starts ? 0 : 1);
    }

    // Another running copy holding the file, or a file that is no database:
    // one message, the end, no frame, and the file left as it was.
    void unusableFileIsTurnedAway_data()
    {
        QTest::addColumn<bool>("heldByAnotherCopy");
        QTest::newRow("second running copy") << true;
        QTest::newRow("not a database") << false;
    }

    void unusableFileIsTurnedAway()
    {
        QFETCH(bool, heldByAnotherCopy);
        ShellEnvironment env;
        std::unique_ptr<Database> firstCopy;
        if (heldByAnotherCopy) {
            installDefault(env);
            firstCopy = Database::OpenDatabase(env.defaultDatabasePath());
        } else {
            QFile junk(env.defaultDatabasePath());
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write(QByteArray(4096, 'x'));
        }
        const QByteArray before = bytesOf(env.defaultDatabasePath());
        DialogScript script;
        script.answer(vbOK);

        QVERIFY_THROWS_EXCEPTION(Ended, dbStuff::Main());

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages().at(0).prompt, NotAccessible);
        QCOMPARE(script.messages().at(0).flags, vbExclamation + vbOKOnly);
        QCOMPARE(env.endings(), 1);
        QVERIFY(!frameShown());
        QCOMPARE(bytesOf(env.defaultDatabasePath()), before);
    }

    // A database file without the program's tables opens, but its table
    // recordsets cannot: the error box, then the end, and no frame.
    void databaseWithoutItsTablesEndsAfterTheErrorBox()
    {
        ShellEnvironment env;
        sqlite3* raw = nullptr;
        QCOMPARE(sqlite3_open(env.defaultDatabasePath().toUtf8().constData(), &raw), SQLITE_OK);
        QCOMPARE(sqlite3_exec(raw, "CREATE TABLE Other (x INTEGER)", nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(raw);
        DialogScript script;
        script.answer(vbOK);

        QVERIFY_THROWS_EXCEPTION(Ended, dbStuff::Main());

        QCOMPARE(script.messages().size(), 1);
        QVERIFY2(script.messages().at(0).prompt.startsWith(QStringLiteral("Error ")),
                 qPrintable(script.messages().at(0).prompt));
        QCOMPARE(script.messages().at(0).flags, vbCritical + vbOKOnly);
        QCOMPARE(env.endings(), 1);
        QVERIFY(!frameShown());
    }

    void storedSortOrder_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");

        const QString fallback = QStringLiteral("ORDER BY Transactions.receiptid;");
        QTest::newRow("by date kept") << QStringLiteral("ORDER BY Transactions.transactiondate;")
                                      << QStringLiteral("ORDER BY Transactions.transactiondate;");
        QTest::newRow("injected SQL replaced")
            << QStringLiteral("ORDER BY 1; DELETE FROM Transactions;") << fallback;
        QTest::newRow("unknown column replaced")
            << QStringLiteral("ORDER BY Transactions.TotalPrice;") << fallback;
    }

    void storedSortOrder()
    {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        ShellEnvironment env;
        installDefault(env);
        SaveSetting(AppTitle, QStringLiteral("SETTINGS"), QStringLiteral("SORTSQL"), stored);
        DialogScript script;

        dbStuff::Main();

        QCOMPARE(dbStuff::SortSQL, expected);
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
