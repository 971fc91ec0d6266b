#include "platform/Settings.h"
#include "platform/widgets/Screen.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/Locations.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
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

QString notFound(const QString& path)
{
    return QStringLiteral("The database %1 was not found. Locate it, or create a new, empty "
                          "one?\r\rYes: locate the database.\rNo: create a new, empty database "
                          "at that place.\rCancel: end Zantoro.")
        .arg(path);
}

// The file at path is the delivered database: its report rows, no business,
// and the delivered report files beside it.
void verifyDelivered(const QString& path, const QString& delivered)
{
    const QString reports = QStringLiteral("SELECT * FROM Reports ORDER BY 1");
    RawDb made(path);
    QCOMPARE(made.rows(reports), RawDb(delivered + QStringLiteral("Zantoro.mdb")).rows(reports));
    QCOMPARE(made.count(QStringLiteral("Businesses")), 0);
    const QFileInfoList files =
        QDir(delivered + QStringLiteral("reports")).entryInfoList(QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QFileInfo& report : files)
        QCOMPARE(bytesOf(QFileInfo(path).path() + QLatin1Char('/') + report.fileName()),
                 bytesOf(report.filePath()));
}

bool frameShown()
{
    return frmMain::loaded() && frmMain::loaded()->isVisible();
}

// Start-up left the database open, usable through the shared table recordsets.
void verifyOpen(const QString& path)
{
    QVERIFY(dbStuff::DB && dbStuff::rsCategories && dbStuff::rsTransactions);
    QCOMPARE(dbStuff::DB->path(), QFileInfo(path).absoluteFilePath());
    QCOMPARE(dbStuff::rsTransactions->index().toLower(), QStringLiteral("primarykey"));
    QVERIFY(frameShown());
}

} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

private:
    void installAt(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(QFile::copy(m_source->path(), path));
    }

    std::unique_ptr<TempDatabase> m_source;

private slots:
    void initTestCase() { m_source = std::make_unique<TempDatabase>(); }

    // The stored sort order comes along; settings text never reaches SQL
    // unchecked.
    void firstRunOpensTheDefaultSilently_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");

        const QString byDate = QStringLiteral("ORDER BY Transactions.transactiondate;");
        const QString fallback = QStringLiteral("ORDER BY Transactions.receiptid;");
        QTest::newRow("nothing stored") << QString() << fallback;
        QTest::newRow("by date kept") << byDate << byDate;
        QTest::newRow("injected SQL replaced")
            << QStringLiteral("ORDER BY 1; DELETE FROM Transactions;") << fallback;
    }

    void firstRunOpensTheDefaultSilently()
    {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        ShellEnvironment env;
        installAt(env.defaultDatabasePath());
        if (!stored.isEmpty())
            SaveSetting(AppTitle, QStringLiteral("SETTINGS"), QStringLiteral("SORTSQL"), stored);
        DialogScript script;

        dbStuff::Main();

        QCOMPARE(storedDatabase(), env.defaultDatabasePath());
        QCOMPARE(dbStuff::SortSQL, expected);
        verifyOpen(env.defaultDatabasePath());
    }

    // A first run with nothing at the default place, not even the data
    // folder, installs the delivered database there with its report files and
    // opens it without a word.
    void firstRunInstallsTheDeliveredDatabase()
    {
        ShellEnvironment env;
        QVERIFY(QDir(env.dataHome()).removeRecursively());
        const QString delivered = dbStuff::Locations::deliveredFolder();
        QVERIFY(!delivered.isEmpty());
        DialogScript script;

        dbStuff::Main();

        QCOMPARE(storedDatabase(), env.defaultDatabasePath());
        verifyOpen(env.defaultDatabasePath());
        verifyDelivered(env.defaultDatabasePath(), delivered);
    }

    // Without the program's own copy of the delivered database, the first run
    // asks where the database is.
    void firstRunWithoutTemplateStoresDefaultThenCancelEndsSilently()
    {
        ShellEnvironment env;
        dbStuff::Locations::setDeliveredFolder(env.root() + QStringLiteral("/not installed"));
        const auto reset = qScopeGuard([] { dbStuff::Locations::setDeliveredFolder({}); });
        DialogScript script;
        QString storedWhileAsking;
        script.cancelFile().whileOpen([&] { storedWhileAsking = storedDatabase(); });

        QVERIFY_THROWS_EXCEPTION(Ended, dbStuff::Main());

        QCOMPARE(env.endStatus(), int(ExitStatus::StartupCancelled));
        QCOMPARE(script.files().size(), 1);
        QCOMPARE(script.messages().size(), 0);
        QCOMPARE(storedWhileAsking, env.defaultDatabasePath());
        QVERIFY(!frameShown());
    }

    // The stored file is gone; the first file chosen does not exist either, so
    // the dialog comes again, and the second choice is opened and stored.
    void removedFileIsLocatedAndTheNewPathStored()
    {
        ShellEnvironment env;
        SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("DATABASE"),
                    env.root() + QStringLiteral("/gone/Zantoro.mdb"));
        const QString missing = env.root() + QStringLiteral("/nowhere.mdb");
        const QString moved = env.root() + QStringLiteral("/elsewhere/Books 2026.mdb");
        installAt(moved);
        DialogScript script;
        script.answer(vbYes).chooseFile(missing).chooseFile(moved);

        dbStuff::Main();

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages().at(0).prompt,
                 notFound(env.root() + QStringLiteral("/gone/Zantoro.mdb")));
        QCOMPARE(script.messages().at(0).flags, vbYesNoCancel + vbQuestion);
        QCOMPARE(script.files().size(), 2);
        QCOMPARE(storedDatabase(), moved);
        QCOMPARE(dbStuff::DBFolder, env.root() + QStringLiteral("/elsewhere/"));
        verifyOpen(moved);
        QVERIFY(!QFile::exists(missing)); // nothing is created at a wrong path
    }

    // The other answers to the question about a stored file that has gone: a
    // new, empty database at that path, or the end. Without the delivered
    // database nothing can be made: start-up says so and asks for the file.
    void removedFileAnsweredOtherwise_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("opens");

        QTest::newRow("no: a new one") << vbNo << true << true;
        QTest::newRow("cancel ends") << vbCancel << true << false;
        QTest::newRow("no, nothing to copy") << vbNo << false << false;
    }

    void removedFileAnsweredOtherwise()
    {
        QFETCH(int, answer);
        QFETCH(bool, installed);
        QFETCH(bool, opens);
        ShellEnvironment env;
        const QString gone = env.root() + QStringLiteral("/gone/Books.mdb");
        SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("DATABASE"), gone);
        const QString delivered = dbStuff::Locations::deliveredFolder();
        if (!installed)
            dbStuff::Locations::setDeliveredFolder(env.root() + QStringLiteral("/not installed"));
        const auto reset = qScopeGuard([] { dbStuff::Locations::setDeliveredFolder({}); });
        DialogScript script;
        script.answer(answer);
        if (!installed)
            script.answer(vbOK).cancelFile();

        if (opens)
            dbStuff::Main();
        else
            QVERIFY_THROWS_EXCEPTION(Ended, dbStuff::Main());

        QCOMPARE(script.messages().at(0).prompt, notFound(gone));
        QCOMPARE(script.messages().size(), installed ? 1 : 2);
        if (!installed)
            QCOMPARE(script.messages().at(1).flags, vbExclamation + vbOKOnly);
        QCOMPARE(env.endStatus(), opens ? -1 : int(ExitStatus::StartupCancelled));
        QCOMPARE(storedDatabase(), gone);
        if (opens) {
            verifyOpen(gone);
            verifyDelivered(gone, delivered);
        } else {
            QVERIFY(!QFile::exists(gone));
            QVERIFY(!frameShown());
        }
    }

    // What start-up asks or says before the frame opens, and whether it opens.
    // A file that cannot be used (held by another running copy, no database,
    // no tables of the program) ends the program after one message, with no
    // frame, the file left as it was, and an exit status that says so.
    void messagesBeforeTheFrame_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("file"); // how the default database is made
        QTest::addColumn<int>("answer");   // 0: no message expected
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("ends"); // the exit status; -1: the frame opens

        QTest::newRow("640, OK goes on")
            << 640 << "good" << vbOK << Resolution << vbOKCancel + vbInformation << -1;
        QTest::newRow("640, Cancel ends")
            << 640 << "good" << vbCancel << Resolution << vbOKCancel + vbInformation << 2;
        QTest::newRow("800 not warned") << 800 << "good" << 0 << QString() << 0 << -1;
        QTest::newRow("second running copy")
            << 1024 << "held" << vbOK << NotAccessible << vbExclamation + vbOKOnly << 1;
        QTest::newRow("not a database")
            << 1024 << "junk" << vbOK << NotAccessible << vbExclamation + vbOKOnly << 1;
        QTest::newRow("newer version") << 1024 << "newer" << vbOK << QStringLiteral("The database ")
                                       << vbCritical + vbOKOnly << 1;
        QTest::newRow("database without its tables")
            << 1024 << "other tables" << vbOK << QStringLiteral("Error ") << vbCritical + vbOKOnly
            << 1;
    }

    void messagesBeforeTheFrame()
    {
        QFETCH(int, width);
        QFETCH(QString, file);
        QFETCH(int, answer);
        QFETCH(QString, prompt);
        QFETCH(int, flags);
        QFETCH(int, ends);
        const bool starts = ends < 0;
        ShellEnvironment env;
        const QString path = env.defaultDatabasePath();
        std::unique_ptr<Database> firstCopy;
        if (file == "good" || file == "held" || file == "newer")
            installAt(path);
        if (file == "newer")
            RawDb(path).exec("PRAGMA user_version = 99");
        if (file == "held")
            firstCopy = Database::OpenDatabase(path);
        if (file == "junk")
            QVERIFY(writeBytes(path, QByteArray(4096, 'x')));
        if (file == "other tables")
            RawDb(path, true).exec("CREATE TABLE Other (x INTEGER)");
        const QByteArray before = bytesOf(path);
        Screen::setWidthPixelsForTesting(width);
        DialogScript script;
        if (answer)
            script.answer(answer);

        if (starts)
            dbStuff::Main();
        else
            QVERIFY_THROWS_EXCEPTION(Ended, dbStuff::Main());

        QCOMPARE(script.shown(), answer ? 1 : 0);
        if (answer) {
            const QString shown = script.messages().at(0).prompt;
            // "Error " stands for any error number.
            QCOMPARE(prompt.endsWith(' ') ? shown.left(prompt.size()) : shown, prompt);
            QCOMPARE(script.messages().at(0).flags, flags);
        }
        QCOMPARE(frameShown(), starts);
        QCOMPARE(env.endings(), starts ? 0 : 1);
        QCOMPARE(env.endStatus(), ends);
        if (!starts)
            QCOMPARE(bytesOf(path), before);
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
