#include "platform/Format.h"
#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Screen.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/Locations.h"
#include "shell/Windows.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSignalSpy>
#include <QTest>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString storedBackup()
{
    return GetSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("BACKUP"),
                      QStringLiteral("<none>"));
}

// The real file operations, with one chosen step made to fail the way the
// file system would. The steps are counted in the order the backup runs them.
class FailingFiles final : public dbStuff::BackupFiles
{
public:
    QString failAt; // "compact", "compact#2", "remove", "rename", "rename#2"
    QStringList steps;
    bool databaseClosedAtFirstStep = false;
    int pointerAtFirstStep = -1;

    void compact(const QString& source, const QString& target) override
    {
        record(QStringLiteral("compact"));
        BackupFiles::compact(source, target);
    }
    void remove(const QString& path) override
    {
        record(QStringLiteral("remove"));
        BackupFiles::remove(path);
    }
    void rename(const QString& from, const QString& to) override
    {
        record(QStringLiteral("rename"));
        BackupFiles::rename(from, to);
    }

private:
    void record(const QString& kind)
    {
        if (steps.isEmpty()) {
            databaseClosedAtFirstStep = !dbStuff::DB->isOpen();
            pointerAtFirstStep = frmMain::instance().mousePointer();
        }
        const int nth = ++m_calls[kind];
        const QString step = nth == 1 ? kind : kind + QStringLiteral("#%1").arg(nth);
        steps << step;
        if (step == failAt)
            throw VbError(VbErr::PathFileAccess, QStringLiteral("injected"));
    }

    QHash<QString, int> m_calls;
};

} // namespace

class tst_Backup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ShellEnvironment> m_env;
    std::unique_ptr<TempDatabase> m_source;
    QString m_db;      // the working database of the test
    QString m_backups; // an existing folder for backups

    // A transaction through the shared table recordset, as the sheet stores one.
    static qint64 addTransaction(const QString& description)
    {
        Recordset& rs = *dbStuff::rsTransactions;
        rs.AddNew();
        rs.setField(QStringLiteral("Description"), Variant(description));
        rs.setField(QStringLiteral("CategoryId"), Variant(1));
        rs.setField(QStringLiteral("BusinessId"), Variant(1));
        rs.setField(QStringLiteral("Cash"), Variant(true));
        rs.setField(QStringLiteral("TotalPrice"), Variant(12.5));
        rs.Update();
        rs.setBookmark(rs.LastModified());
        return rs.field(QStringLiteral("TransactionId")).toLong();
    }

    // The working database is open and the table recordsets save and delete.
    static void verifyWorking()
    {
        QVERIFY(dbStuff::DB && dbStuff::DB->isOpen());
        const qint64 id = addTransaction(QStringLiteral("after backup"));
        Recordset& rs = *dbStuff::rsTransactions;
        rs.Seek(QStringLiteral("="), Variant(id));
        QVERIFY(!rs.NoMatch());
        QCOMPARE(rs.field(QStringLiteral("Description")).toString(),
                 QStringLiteral("after backup"));
        rs.Delete();
        rs.Seek(QStringLiteral("="), Variant(id));
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
        QVERIFY(QFile::copy(m_source->path(), m_db));
        {
            // Rows, and free pages left by deleted rows for the compaction to drop.
            RawDb raw(m_db);
            const qint64 business = raw.business(QStringLiteral("Corner shop"));
            const qint64 category = raw.category(QStringLiteral("Sales"), true);
            QCOMPARE(business, 1);
            QCOMPARE(category, 1);
            raw.exec(QStringLiteral("BEGIN"));
            for (int i = 0; i < 400; ++i) {
                TxRow row;
                row.business = business;
                row.category = category;
                row.description = QString(90, QLatin1Char('a' + i % 26));
                raw.transaction(row);
            }
            raw.exec(QStringLiteral("COMMIT"));
            raw.exec(QStringLiteral("DELETE FROM Transactions WHERE TransactionId > 10"));
        }
        m_env->openDatabase(m_db);
        QVERIFY(dbStuff::rsTransactions);
        frmMain::instance().show();
    }

    void cleanup() { m_env.reset(); }

    void dialogAsPrepared()
    {
        DialogScript script;
        script.cancelFile();
        const QDateTime before = QDateTime::currentDateTime();

        dbStuff::BackupDatabase();

        const QDateTime after = QDateTime::currentDateTime();
        const FileRequest& save = script.files().at(0);
        QCOMPARE(save.flags, 2107399L);
        // Nothing stored yet: the dialog starts in the default backup folder.
        QCOMPARE(save.initDir, m_env->dataHome() + QStringLiteral("/Pendrel"));
        QStringList proposals;
        for (const QDateTime& t : {before, after})
            proposals << QStringLiteral("Pendrel  ") +
                             t.toString(QStringLiteral("dd-MMM-yyyy HH.mm")) +
                             QStringLiteral(".bak");
        QVERIFY2(proposals.contains(save.fileName), qPrintable(save.fileName));
    }

    void dialogStartsInTheFolderOfTheLastBackup()
    {
        SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("BACKUP"),
                    m_backups + QStringLiteral("Pendrel  01-Jan-2026 10.00.bak"));
        DialogScript script;
        script.cancelFile();

        dbStuff::BackupDatabase();

        QCOMPARE(script.files().at(0).initDir, m_backups);
    }

    void backupKeepsTheOldFileAndCompactsTheWorkingOne_data()
    {
        QTest::addColumn<bool>("leftoverWorkFile");
        QTest::newRow("plain") << false;
        QTest::newRow("leftover NewPendrel.mdb") << true;
    }

    void backupKeepsTheOldFileAndCompactsTheWorkingOne()
    {
        QFETCH(bool, leftoverWorkFile);
        const QString target = m_backups + QStringLiteral("Pendrel  05-Dec-2026 14.07.bak");
        const QString work = dbStuff::DBFolder + QStringLiteral("NewPendrel.mdb");
        if (leftoverWorkFile) {
            QFile file(work);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("half a copy from an interrupted backup");
        }
        addTransaction(QStringLiteral("before backup"));
        const QByteArray before = bytesOf(m_db);
        QSignalSpy reopened(&dbStuff::Notifier::instance(), &dbStuff::Notifier::databaseReopened);
        DialogScript script;
        script.chooseFile(target);

        dbStuff::BackupDatabase();

        QCOMPARE(script.messages().size(), 0);
        QCOMPARE(bytesOf(target), before);
        QVERIFY(QFileInfo(m_db).size() < before.size());
        QVERIFY(!QFile::exists(work));
        QCOMPARE(storedBackup(), target);
        QCOMPARE(reopened.count(), 1);
        verifyWorking();
        // The compacted file holds the same rows.
        dbStuff::rsList = dbStuff::DB->OpenRecordset(QStringLiteral(
            "SELECT Description FROM Transactions WHERE Description = 'before backup'"));
        QVERIFY(!dbStuff::rsList->EOF_());
    }

    // Cancelling, or choosing the database itself, changes nothing; only the
    // latter says why.
    void cancelOrDatabaseItselfChangesNothing_data()
    {
        QTest::addColumn<QString>("name"); // empty: cancel
        QTest::newRow("cancel") << QString();
        QTest::newRow("the database file") << QStringLiteral("Zantoro.mdb");
        QTest::newRow("the work file") << QStringLiteral("NewPendrel.mdb");
        QTest::newRow("a link to the database") << QStringLiteral("link.bak");
    }

    void cancelOrDatabaseItselfChangesNothing()
    {
        QFETCH(QString, name);
        QVERIFY(QFile::link(m_db, dbStuff::DBFolder + QStringLiteral("link.bak")));
        const QByteArray before = bytesOf(m_db);
        const Database* open = dbStuff::DB.get();
        DialogScript script;
        if (name.isEmpty())
            script.cancelFile();
        else
            script.chooseFile(dbStuff::DBFolder + name).answer(vbOK);

        dbStuff::BackupDatabase();

        QCOMPARE(script.messages().size(), name.isEmpty() ? 0 : 1);
        if (!name.isEmpty())
            QVERIFY2(
                script.messages().at(0).prompt.contains(QStringLiteral("database file itself")),
                qPrintable(script.messages().at(0).prompt));
        QCOMPARE(dbStuff::DB.get(), open);
        QCOMPARE(bytesOf(m_db), before);
        QCOMPARE(storedBackup(), QStringLiteral("<none>"));
        verifyWorking();
    }

    // Each step after the database was closed fails once: the original file is
    // back at its path, open again, and nothing else is left behind.
    void failureAfterCloseRestoresTheDatabase_data()
    {
        QTest::addColumn<QString>("failAt");
        QTest::addColumn<bool>("leftoverWorkFile");
        QTest::addColumn<QStringList>("steps");

        QTest::newRow("compact") << QStringLiteral("compact") << false << QStringList{"compact"};
        QTest::newRow("deleting a leftover work file")
            << QStringLiteral("remove") << true << QStringList{"compact", "remove", "remove#2"};
        QTest::newRow("moving the database to the backup")
            << QStringLiteral("rename") << false << QStringList{"compact", "rename", "remove"};
        QTest::newRow("moving the compacted copy in")
            << QStringLiteral("rename#2") << false
            << QStringList{"compact", "rename", "rename#2", "rename#3", "remove"};
    }

    void failureAfterCloseRestoresTheDatabase()
    {
        QFETCH(QString, failAt);
        QFETCH(bool, leftoverWorkFile);
        QFETCH(QStringList, steps);
        const QString target = m_backups + QStringLiteral("b.bak");
        const QString work = dbStuff::DBFolder + QStringLiteral("NewPendrel.mdb");
        if (leftoverWorkFile) {
            QFile file(work);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("leftover");
        }
        const QByteArray before = bytesOf(m_db);
        FailingFiles files;
        files.failAt = failAt;
        dbStuff::setBackupFiles(&files);
        DialogScript script;
        script.chooseFile(target).answer(vbOK);

        dbStuff::BackupDatabase();

        QCOMPARE(files.steps, steps);
        QVERIFY(files.databaseClosedAtFirstStep);
        QCOMPARE(files.pointerAtFirstStep, vbHourglass);
        QCOMPARE(script.messages().at(0).prompt,
                 QStringLiteral("Error 75:  Path/File access error\r\r"));
        QCOMPARE(bytesOf(m_db), before);
        QVERIFY(!QFile::exists(work));
        QCOMPARE(storedBackup(), QStringLiteral("<none>"));
        QCOMPARE(frmMain::instance().mousePointer(), vbDefault);
        verifyWorking();
    }

    void backupIntoAMissingFolderFailsSafely()
    {
        const QByteArray before = bytesOf(m_db);
        DialogScript script;
        script.chooseFile(m_env->root() + QStringLiteral("/no such folder/d.bak")).answer(vbOK);

        dbStuff::BackupDatabase();

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(bytesOf(m_db), before);
        QVERIFY(!QFile::exists(dbStuff::DBFolder + QStringLiteral("NewPendrel.mdb")));
        verifyWorking();
    }
};

QTEST_MAIN(tst_Backup)
#include "tst_backup.moc"
