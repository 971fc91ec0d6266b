#include "data/Database.h"
#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Screen.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "support/DialogScript.h"
#include "support/FailingFiles.h"
#include "support/ShellEnvironment.h"
#include "support/SmallMount.h"
#include "support/TestDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>

#include <optional>
#include <unistd.h>

namespace {

QString storedBackup()
{
    return GetSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("BACKUP"),
                      QStringLiteral("<none>"));
}

} // namespace

class tst_Backup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ShellEnvironment> m_env;
    std::unique_ptr<TempDatabase> m_source;
    QString m_db;      // the working database of the test
    QString m_backups; // an existing folder for backups
    QString m_work;    // the temporary file of a backup, beside the database

    // The working database is open and the table recordsets save and delete,
    // as the sheet uses them.
    static void verifyWorking()
    {
        QVERIFY(dbStuff::DB && dbStuff::DB->isOpen());
        Recordset& rs = *dbStuff::rsTransactions;
        rs.AddNew();
        rs.setField(QStringLiteral("Description"), Variant("after backup"));
        rs.setField(QStringLiteral("CategoryId"), Variant(1));
        rs.setField(QStringLiteral("BusinessId"), Variant(1));
        rs.setField(QStringLiteral("TotalPrice"), Variant(12.5));
        rs.Update();
        rs.setBookmark(rs.LastModified());
        const Variant id = rs.field(QStringLiteral("TransactionId"));
        rs.Delete();
        rs.Seek(QStringLiteral("="), id);
        QVERIFY(rs.NoMatch());
        dbStuff::rsCategories->Seek(QStringLiteral("="), Variant(1));
        QVERIFY(!dbStuff::rsCategories->NoMatch());
    }

private slots:
    void initTestCase() { m_source = std::make_unique<TempDatabase>(); }

    void init()
    {
        m_env = std::make_unique<ShellEnvironment>();
        const QString folder = m_env->root() + QStringLiteral("/books/");
        m_backups = m_env->root() + QStringLiteral("/backups/");
        QDir().mkpath(folder);
        QDir().mkpath(m_backups);
        m_db = folder + QStringLiteral("Zantoro.mdb");
        m_work = folder + QStringLiteral("NewPendrel.mdb");
        QVERIFY(QFile::copy(m_source->path(), m_db));
        {
            // Rows, and free pages left by deleted rows for the compaction to drop.
            RawDb raw(m_db);
            TxRow row;
            row.business = raw.business(QStringLiteral("Corner shop"));
            row.category = raw.category(QStringLiteral("Sales"), true);
            raw.exec(QStringLiteral("BEGIN"));
            for (int i = 0; i < 400; ++i) {
                row.description = QString(90, QLatin1Char('a' + i % 26));
                raw.transaction(row);
            }
            raw.exec(QStringLiteral("COMMIT"));
            raw.exec(QStringLiteral("DELETE FROM Transactions WHERE TransactionId > 10"));
        }
        m_env->openDatabase(m_db);
        frmMain::instance().show();
    }

    void cleanup() { m_env.reset(); }

    // The proposed name carries the time; the dialog opens in the default
    // backup folder, then in the folder of the stored backup.
    void dialogAsPrepared()
    {
        DialogScript script;
        script.cancelFile().cancelFile();
        const QDateTime before = QDateTime::currentDateTime();
        dbStuff::BackupDatabase();
        const QDateTime after = QDateTime::currentDateTime();
        SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("BACKUP"),
                    m_backups + QStringLiteral("Pendrel  01-Jan-2026 10.00.bak"));
        dbStuff::BackupDatabase();

        const FileRequest& first = script.files().at(0);
        QStringList proposals;
        for (const QDateTime& t : {before, after})
            proposals << QStringLiteral("Pendrel  %1.bak")
                             .arg(t.toString(QStringLiteral("dd-MMM-yyyy HH.mm")));
        QVERIFY2(proposals.contains(first.fileName), qPrintable(first.fileName));
        QCOMPARE(first.initDir, m_env->dataHome() + QStringLiteral("/Pendrel"));
        QCOMPARE(script.files().at(1).initDir, m_backups);
    }

    // The backup holds every row and passes its check, replaces an older
    // backup of its name, and the working file comes out compacted.
    void backupIsWholeAndTheWorkingFileCompacted_data()
    {
        QTest::addColumn<bool>("leftoverWorkFile");
        QTest::addColumn<bool>("olderBackup");
        QTest::newRow("plain") << false << false;
        QTest::newRow("leftover NewPendrel.mdb") << true << false;
        QTest::newRow("over an older backup of that name") << false << true;
    }

    void backupIsWholeAndTheWorkingFileCompacted()
    {
        QFETCH(bool, leftoverWorkFile);
        QFETCH(bool, olderBackup);
        const QString target = m_backups + QStringLiteral("Pendrel  05-Dec-2026 14.07.bak");
        if (leftoverWorkFile)
            QVERIFY(writeBytes(m_work, "half a copy from an interrupted backup"));
        if (olderBackup)
            QVERIFY(writeBytes(target, "an older backup"));
        const qint64 before = QFileInfo(m_db).size();
        DialogScript script;
        script.chooseFile(target);

        dbStuff::BackupDatabase();

        QCOMPARE(script.messages().size(), 0);
        QCOMPARE(Database::QuickCheck(target), QString());
        QCOMPARE(RawDb(target).count(QStringLiteral("Transactions")), qint64(10));
        QCOMPARE(contentsOf(m_backups).keys(), QStringList{QFileInfo(target).fileName()});
        QVERIFY(QFileInfo(m_db).size() < before);
        QVERIFY(!QFile::exists(m_work));
        QCOMPARE(storedBackup(), target);
        verifyWorking();
        // The compacted file holds the same rows.
        dbStuff::rsList =
            dbStuff::DB->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM Transactions"));
        QCOMPARE(dbStuff::rsList->field(0).toLong(), 10);
    }

    // A backup that does not happen changes nothing: cancelled, refused
    // because the chosen file is the database itself, or failing at a step
    // after the database was closed. The database file is then as it was and
    // open again, the backup folder as it was (an older backup of the chosen
    // name untouched, no temporary file), and the setting stays.
    void backupThatDoesNotHappenChangesNothing_data()
    {
        QTest::addColumn<QString>("chosen"); // empty: cancel
        QTest::addColumn<QString>("failAt"); // the step made to fail, if any
        QTest::addColumn<long>("failWith");
        QTest::addColumn<bool>("leftoverWorkFile");
        QTest::addColumn<QString>("message");

        const QString itself = QStringLiteral("database file itself");
        const QString failed = QStringLiteral("Error 75:  Path/File access error\r\r");
        const long access = VbErr::PathFileAccess;
        QTest::newRow("cancel") << QString() << QString() << 0L << false << QString();
        QTest::newRow("the database file") << "Zantoro.mdb" << QString() << 0L << false << itself;
        QTest::newRow("the work file") << "NewPendrel.mdb" << QString() << 0L << false << itself;
        QTest::newRow("a link to the database") << "link.bak" << QString() << 0L << false << itself;
        // Steps in order: check the database (before it is closed), compact it
        // into the work file, flush that; then the backup: check the work
        // file, compact it into a temporary file beside the backup, flush,
        // check and rename that over the backup's name.
        const QString b = QStringLiteral("b.bak");
        QTest::newRow("compacting into the work file")
            << b << "compact" << access << false << failed;
        QTest::newRow("the database folder's disk full")
            << b << "compact" << VbErr::DiskFull << false
            << QStringLiteral("The database folder's disk is full: ");
        QTest::newRow("deleting a leftover work file") << b << "remove" << access << true << failed;
        QTest::newRow("flushing the work file") << b << "flush" << access << false << failed;
        QTest::newRow("checking the work file") << b << "check#2" << access << false << failed;
        QTest::newRow("writing the temporary file")
            << b << "compact#2" << access << false << failed;
        QTest::newRow("the backup folder's disk full")
            << b << "compact#2" << VbErr::DiskFull << false
            << QStringLiteral("The backup folder's disk is full: ");
        QTest::newRow("flushing the temporary file") << b << "flush#2" << access << false << failed;
        QTest::newRow("checking the temporary file") << b << "check#3" << access << false << failed;
        QTest::newRow("renaming it to the backup's name")
            << b << "replace" << access << false << failed;
    }

    void backupThatDoesNotHappenChangesNothing()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, failAt);
        QFETCH(long, failWith);
        QFETCH(bool, leftoverWorkFile);
        QFETCH(QString, message);
        QVERIFY(QFile::link(m_db, dbStuff::DBFolder + QStringLiteral("link.bak")));
        if (leftoverWorkFile)
            QVERIFY(writeBytes(m_work, "leftover"));
        const QString folder = failAt.isEmpty() ? dbStuff::DBFolder : m_backups;
        QVERIFY(writeBytes(m_backups + QStringLiteral("b.bak"), "an older backup"));
        const QMap<QString, QByteArray> backupsBefore = contentsOf(m_backups);
        const QByteArray before = bytesOf(m_db);
        const Database* open = dbStuff::DB.get();
        FailingFiles files;
        files.failAt = failAt;
        files.failWith = failWith;
        dbStuff::setBackupFiles(&files);
        DialogScript script;
        if (chosen.isEmpty())
            script.cancelFile();
        else
            script.chooseFile(folder + chosen).answer(vbOK);

        dbStuff::BackupDatabase();

        QCOMPARE(script.messages().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(script.messages().at(0).prompt.contains(message),
                     qPrintable(script.messages().at(0).prompt));
        if (failAt.isEmpty()) {
            QCOMPARE(files.steps, QStringList());
            QCOMPARE(dbStuff::DB.get(), open);
        } else {
            QVERIFY2(files.steps.contains(failAt), qPrintable(files.steps.join(' ')));
            QVERIFY(files.databaseClosedAtFailure);
        }
        QCOMPARE(bytesOf(m_db), before);
        QCOMPARE(contentsOf(m_backups), backupsBefore);
        QCOMPARE(QFile::exists(m_work), leftoverWorkFile && failAt.isEmpty());
        QCOMPARE(storedBackup(), QStringLiteral("<none>"));
        QCOMPARE(frmMain::instance().mousePointer(), vbDefault);
        verifyWorking();
    }

    // The last step, the compacted copy taking the database's place, comes
    // after the backup is complete: the backup stands and is remembered, and
    // the message says that only the compaction failed.
    void compactionFailingAfterTheBackupKeepsTheBackup()
    {
        const QString target = m_backups + QStringLiteral("b.bak");
        const QByteArray before = bytesOf(m_db);
        FailingFiles files;
        files.failAt = QStringLiteral("replace#2");
        dbStuff::setBackupFiles(&files);
        DialogScript script;
        script.chooseFile(target).answer(vbOK);

        dbStuff::BackupDatabase();

        QCOMPARE(script.messages().size(), 1);
        QVERIFY2(script.messages().at(0).prompt.contains(QStringLiteral("was made, but")),
                 qPrintable(script.messages().at(0).prompt));
        QCOMPARE(Database::QuickCheck(target), QString());
        QCOMPARE(storedBackup(), target);
        QCOMPARE(bytesOf(m_db), before);
        QVERIFY(!QFile::exists(m_work));
        verifyWorking();
    }

    // What would make the backup fail, or make it worthless, is found before
    // the database is closed: the database stays open as it was, and nothing
    // is written.
    void refusedBeforeTheDatabaseIsClosed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("folder does not exist") << "missing"
                                               << "does not exist";
        QTest::newRow("folder cannot be written to") << "read-only"
                                                     << "You have no permission to write in";
        QTest::newRow("database damaged") << "damaged"
                                          << "is damaged";
    }

    void refusedBeforeTheDatabaseIsClosed()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        std::optional<SmallMount> readOnly;
        QString folder = m_backups;
        if (kind == QLatin1String("missing")) {
            folder = m_env->root() + QStringLiteral("/no such folder/");
        } else if (kind == QLatin1String("read-only")) {
            // Root writes through permission bits; a read-only mount stops it.
            folder = m_env->root() + QStringLiteral("/locked/");
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            if (::geteuid() == 0) {
                readOnly.emplace(QStringLiteral("size=64k,ro"));
                QVERIFY(readOnly->isValid());
                folder = readOnly->path() + QLatin1Char('/');
            }
        } else {
            dbStuff::rsCategories.reset();
            dbStuff::rsTransactions.reset();
            dbStuff::DB->Close();
            fillAndDamageMiddlePage(m_db);
            m_env->openDatabase(m_db);
        }
        const QString target = folder + QStringLiteral("b.bak");
        const QByteArray before = bytesOf(m_db);
        const Database* open = dbStuff::DB.get();
        FailingFiles files;
        dbStuff::setBackupFiles(&files);
        DialogScript script;
        script.chooseFile(target).answer(vbOK);

        dbStuff::BackupDatabase();

        QCOMPARE(script.messages().size(), 1);
        const QString prompt = script.messages().at(0).prompt;
        QVERIFY2(prompt.contains(message), qPrintable(prompt));
        QVERIFY2(prompt.contains(QDir::toNativeSeparators(
                     kind == QLatin1String("damaged") ? m_db : QDir::cleanPath(folder))),
                 qPrintable(prompt));
        QCOMPARE(files.steps,
                 kind == QLatin1String("damaged") ? QStringList{"check"} : QStringList());
        QCOMPARE(dbStuff::DB.get(), open);
        QVERIFY(dbStuff::DB->isOpen());
        QCOMPARE(bytesOf(m_db), before);
        QVERIFY(!QFile::exists(target));
        QVERIFY(!QFile::exists(m_work));
        QCOMPARE(storedBackup(), QStringLiteral("<none>"));
    }

    // A backup folder on another, small file system that fills up while the
    // backup is written: the message says so, the folder keeps only what it
    // held, and the database is as it was.
    void fullDiskOfAnotherFileSystem()
    {
        SmallMount disk(QStringLiteral("size=32k"));
        if (!disk.isValid())
            QSKIP("mounting a small file system needs root; the failing steps above cover it");
        {
            // More rows than the disk has room for, even compacted.
            RawDb raw(m_db);
            TxRow row;
            row.business = raw.business(QStringLiteral("Big shop"));
            row.category = raw.category(QStringLiteral("Takings"), true);
            raw.exec(QStringLiteral("BEGIN"));
            for (int i = 0; i < 600; ++i) {
                row.description = QString(150, QLatin1Char('a' + i % 26));
                raw.transaction(row);
            }
            raw.exec(QStringLiteral("COMMIT"));
        }
        const QString target = disk.path() + QStringLiteral("/b.bak");
        QVERIFY(writeBytes(target, QByteArray(4096, 'o')));
        const QMap<QString, QByteArray> diskBefore = contentsOf(disk.path());
        const QByteArray before = bytesOf(m_db);
        DialogScript script;
        script.chooseFile(target).answer(vbOK);

        dbStuff::BackupDatabase();

        QCOMPARE(script.messages().size(), 1);
        QVERIFY2(script.messages().at(0).prompt.startsWith(
                     QStringLiteral("The backup folder's disk is full: ") + disk.path()),
                 qPrintable(script.messages().at(0).prompt));
        QCOMPARE(contentsOf(disk.path()), diskBefore);
        QCOMPARE(bytesOf(m_db), before);
        QVERIFY(!QFile::exists(m_work));
        QCOMPARE(storedBackup(), QStringLiteral("<none>"));
        verifyWorking();
    }
};

QTEST_MAIN(tst_Backup)
#include "tst_backup.moc"
