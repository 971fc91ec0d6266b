#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "shell/AutoBackup.h"
#include "shell/BackupCopy.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "shell/Restore.h"
#include "support/DialogScript.h"
#include "support/FailingFiles.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QTest>

using Ended = ShellEnvironment::ProgramEnded;
namespace AutoBackup = dbStuff::AutoBackup;

namespace {

// Fills a fresh copy of the delivered file at path: `businesses` businesses,
// and `transactions` rows of the first, long enough to span many pages.
void fill(const QString& path, int businesses, int transactions)
{
    RawDb raw(path);
    raw.exec(QStringLiteral("BEGIN"));
    TxRow row;
    row.category = raw.category(QStringLiteral("Sales"), true);
    for (int b = 0; b < businesses; ++b) {
        const qint64 id = raw.business(QStringLiteral("Business %1").arg(b + 1));
        if (b == 0)
            row.business = id;
    }
    for (int i = 0; i < transactions; ++i) {
        row.description = QStringLiteral("Row %1 ").arg(i) + QString(80, QLatin1Char('a' + i % 26));
        raw.transaction(row);
    }
    raw.exec(QStringLiteral("COMMIT"));
}

// Breaks a database file the ways files break: a page in the middle
// overwritten, the file cut off, the first page broken.
void damage(const QString& path, const QString& how)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const qint64 size = file.size();
    if (how == "page") {
        const qint64 page = 4096;
        QVERIFY(size > 20 * page);
        file.seek((size / page / 2) * page);
        file.write(QByteArray(int(page), '\x5a'));
    } else if (how == "cut") {
        QVERIFY(file.resize(size / 2));
    } else if (how == "large, schema page") {
        // Past the size start-up checks whole (the tail is a hole of zeros
        // beyond the pages the header counts), and the first page's tree
        // broken, so that opening it fails.
        QVERIFY(file.resize(25 * 1024 * 1024));
        file.seek(100);
        file.write(QByteArray(8, '\x5a'));
    }
}

qint64 businessesIn(const QString& path)
{
    RawDb raw(path);
    return raw.count(QStringLiteral("Businesses"));
}

} // namespace

class tst_Restore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ShellEnvironment> m_env;
    std::unique_ptr<TempDatabase> m_source; // the delivered file, empty
    QString m_db;                           // the working database, 3 businesses
    QString m_backup;                       // a backup of it: 2 businesses, 3 rows
    QString m_auto;                         // where automatic backups go

    QStringList leftovers() const
    {
        return QDir(QFileInfo(m_db).path())
            .entryList(QStringList{QStringLiteral("*.restoring"), QStringLiteral("*.replaced")},
                       QDir::Files);
    }
    QStringList autoCopies() const { return QDir(m_auto).entryList(QDir::Files); }

    // The database open now is the file at m_db, holding `businesses`, and
    // its table recordsets work.
    void verifyOpenWith(qint64 businesses)
    {
        QVERIFY(dbStuff::DB && dbStuff::DB->isOpen());
        QCOMPARE(dbStuff::DB->path(), QFileInfo(m_db).absoluteFilePath());
        QCOMPARE(qint64(dbStuff::ledger().businesses().size()), businesses);
        dbStuff::rsCategories->Seek(QStringLiteral("="), Variant(1));
        QVERIFY(!dbStuff::rsCategories->NoMatch());
    }

private slots:
    void initTestCase() { m_source = std::make_unique<TempDatabase>(); }

    void init()
    {
        m_env = std::make_unique<ShellEnvironment>();
        const QString books = m_env->root() + QStringLiteral("/books/");
        const QString backups = m_env->root() + QStringLiteral("/backups/");
        QDir().mkpath(books);
        QDir().mkpath(backups);
        m_db = books + QStringLiteral("Zantoro.mdb");
        m_backup = backups + QStringLiteral("Pendrel  30-Nov-2026 09.15.bak");
        m_auto = backups + QStringLiteral("auto");
        QVERIFY(QFile::copy(m_source->path(), m_backup));
        fill(m_backup, 2, 3);
        QFile backup(m_backup);
        QVERIFY(backup.open(QIODevice::ReadWrite));
        QVERIFY(backup.setFileTime(QDateTime(QDate(2026, 11, 30), QTime(9, 15)),
                                   QFileDevice::FileModificationTime));
        backup.close();
        QVERIFY(QFile::copy(m_source->path(), m_db));
        fill(m_db, 3, 1500);
        SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("BACKUP"), m_backup);
        m_env->openDatabase(m_db);
        frmMain::instance().show();
    }

    void cleanup()
    {
        dbStuff::setBackupFiles(nullptr);
        m_env.reset();
    }

    // The backup's facts are shown before anything changes; on Yes the open
    // database is copied to the automatic backups, replaced and reopened.
    void restoreReplacesAndReopens()
    {
        const QByteArray offered = bytesOf(m_backup);
        DialogScript script;
        script.chooseFile(m_backup).answer(vbYes).whileOpen([&] {
            QCOMPARE(businessesIn(m_db), qint64(3));
            QVERIFY(autoCopies().isEmpty());
        });

        dbStuff::RestoreBackup();

        QCOMPARE(script.files().size(), 1);
        QCOMPARE(script.files().at(0).kind, FileDialogKind::Open);
        QCOMPARE(script.files().at(0).initDir, QFileInfo(m_backup).path() + QLatin1Char('/'));
        QCOMPARE(script.messages().size(), 1);
        const MessageRequest& asked = script.messages().at(0);
        QCOMPARE(asked.prompt,
                 QStringLiteral("Restore this backup?\r\r%1\rMade: 30/Nov/2026 09:15\r"
                                "Businesses: 2\rTransactions: 3\r\rThe database %2 is first "
                                "copied to the automatic backups in %3, then replaced by this "
                                "backup.")
                     .arg(m_backup, m_db, m_auto));
        QCOMPARE(asked.flags, vbYesNo + vbQuestion + vbDefaultButton2);

        verifyOpenWith(2);
        QCOMPARE(RawDb(m_db).count(QStringLiteral("Transactions")), qint64(3));
        // The program holds the restored file as its own.
        QVERIFY_THROWS_EXCEPTION(VbError, Database::OpenDatabase(m_db));
        QCOMPARE(autoCopies().size(), 1);
        QCOMPARE(businessesIn(m_auto + QLatin1Char('/') + autoCopies().at(0)), qint64(3));
        QCOMPARE(bytesOf(m_backup), offered);
        QCOMPARE(leftovers(), QStringList());
    }

    // The backup chosen may be the oldest of the automatic copies: the copy
    // made before the restore does not rotate it away.
    void oldestAutomaticCopyCanBeRestored()
    {
        QDir().mkpath(m_auto);
        QStringList names;
        for (int day = 10; day >= 1; --day) {
            names << m_auto + QLatin1Char('/') +
                         AutoBackup::fileName(QDateTime::currentDateTime().addDays(-day));
            QVERIFY(QFile::copy(m_backup, names.last()));
        }
        DialogScript script;
        script.chooseFile(names.first()).answer(vbYes);

        dbStuff::RestoreBackup();

        verifyOpenWith(2);
        QCOMPARE(autoCopies().size(), 11);
        QVERIFY(QFile::exists(names.first()));
    }

    // A file that is not a sound backup of this program is refused before
    // anything is copied or closed.
    void unfitBackupIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message"); // %1: the chosen file
        const QString notOurs = QStringLiteral("%1 is not a Zantoro database.");
        const QString damaged = QStringLiteral("The backup %1 is damaged and cannot be restored.");
        QTest::newRow("another program's database") << "foreign" << notOurs;
        QTest::newRow("a text file") << "text" << notOurs;
        QTest::newRow("an empty file") << "empty" << notOurs;
        QTest::newRow("a page overwritten") << "page" << damaged;
        QTest::newRow("cut off") << "cut" << damaged;
        QTest::newRow("the database itself")
            << "itself" << QStringLiteral("%1 is the database file itself, not a backup of it.");
        QTest::newRow("the file a restore replaced")
            << "replaced" << QStringLiteral("%1 is a work file of a restore; choose a backup.");
    }

    void unfitBackupIsRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QString chosen = m_env->root() + QStringLiteral("/backups/chosen.bak");
        if (kind == "foreign") {
            // A database with a table of the same name, and not the fields.
            RawDb foreign(chosen, true);
            foreign.exec("CREATE TABLE Businesses (Id INTEGER PRIMARY KEY, Name TEXT)");
            foreign.exec("INSERT INTO Businesses (Name) VALUES ('x')");
        } else if (kind == "text") {
            QVERIFY(writeBytes(chosen, QByteArray("Name;VAT\nBakery;21\n").repeated(300)));
        } else if (kind == "empty") {
            QVERIFY(writeBytes(chosen, QByteArray()));
        } else if (kind == "itself") {
            chosen = m_db;
        } else if (kind == "replaced") {
            // Left by a restore that was cut off; a restore would remove it.
            chosen = m_db + QStringLiteral(".replaced");
            QVERIFY(QFile::copy(m_backup, chosen));
        } else {
            QVERIFY(QFile::copy(m_db, chosen));
            damage(chosen, kind);
        }
        const QByteArray database = bytesOf(m_db);
        const QByteArray offered = bytesOf(chosen);
        DialogScript script;
        script.chooseFile(chosen).answer(vbOK);

        dbStuff::RestoreBackup();

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages().at(0).prompt,
                 message.arg(chosen) +
                     QStringLiteral("\r\rNothing was restored; the database is as it was."));
        QCOMPARE(script.messages().at(0).flags, vbExclamation + vbOKOnly);
        verifyOpenWith(3);
        QCOMPARE(bytesOf(m_db), database);
        QCOMPARE(bytesOf(chosen), offered);
        QVERIFY(autoCopies().isEmpty());
        if (kind != "replaced")
            QCOMPARE(leftovers(), QStringList());
    }

    void cancelOrNoChangesNothing_data()
    {
        QTest::addColumn<bool>("cancel"); // the file dialog, else No to the question
        QTest::newRow("dialog cancelled") << true;
        QTest::newRow("No") << false;
    }

    void cancelOrNoChangesNothing()
    {
        QFETCH(bool, cancel);
        const QByteArray database = bytesOf(m_db);
        DialogScript script;
        if (cancel)
            script.cancelFile();
        else
            script.chooseFile(m_backup).answer(vbNo);

        dbStuff::RestoreBackup();

        verifyOpenWith(3);
        QCOMPARE(bytesOf(m_db), database);
        QVERIFY(autoCopies().isEmpty());
        QCOMPARE(leftovers(), QStringList());
    }

    // Whichever step fails, the database is the one it was, open, and
    // nothing of the restore is left beside it.
    void failureAtAnyStepLeavesTheDatabase_data()
    {
        QTest::addColumn<QString>("failAt");
        QTest::addColumn<qint64>("autoCopies"); // the automatic copy made first
        QTest::newRow("the automatic copy") << "compact" << qint64(0);
        QTest::newRow("copying the backup") << "compact#2" << qint64(1);
        QTest::newRow("flushing its copy") << "flush#2" << qint64(1);
        QTest::newRow("checking its copy") << "check#3" << qint64(1);
        QTest::newRow("moving the database aside") << "replace#2" << qint64(1);
        QTest::newRow("putting the copy in place") << "replace#3" << qint64(1);
    }

    void failureAtAnyStepLeavesTheDatabase()
    {
        QFETCH(QString, failAt);
        QFETCH(qint64, autoCopies);
        FailingFiles files;
        files.failAt = failAt;
        files.failWith = VbErr::DeviceFull;
        dbStuff::setBackupFiles(&files);
        const QByteArray database = bytesOf(m_db);
        DialogScript script;
        script.chooseFile(m_backup).answer(vbYes).answer(vbOK);

        dbStuff::RestoreBackup();

        QVERIFY2(files.steps.contains(failAt), qPrintable(files.steps.join(' ')));
        QCOMPARE(script.messages().size(), 2);
        verifyOpenWith(3);
        QCOMPARE(bytesOf(m_db), database);
        QCOMPARE(qint64(this->autoCopies().size()), autoCopies);
        QCOMPARE(leftovers(), QStringList());
    }

    // A damaged database is named in its own message; the program then ends
    // without having written a byte to it.
    void damagedDatabaseAtStartUpEnds_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("a page overwritten") << "page";
        QTest::newRow("cut off") << "cut";
        QTest::newRow("large, failing to open") << "large, schema page";
    }

    void damagedDatabaseAtStartUpEnds()
    {
        QFETCH(QString, how);
        dbStuff::DB->Close();
        damage(m_db, how);
        const QByteArray before = bytesOf(m_db);
        SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("DATABASE"), m_db);
        DialogScript script;
        script.answer(vbNo);

        QVERIFY_THROWS_EXCEPTION(Ended, dbStuff::Main());
        QCOMPARE(m_env->endStatus(), int(ExitStatus::StartupFailed));

        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages().at(0).prompt,
                 QStringLiteral("The database file %1 is damaged.\r\rZantoro will not open it, so "
                                "that nothing more is lost; the file is left as it is.\r\rDo you "
                                "want to restore a backup in its place? Choose No to end Zantoro.")
                     .arg(m_db));
        QCOMPARE(script.messages().at(0).flags, vbYesNo + vbCritical);
        QCOMPARE(m_env->endings(), 1);
        QCOMPARE(bytesOf(m_db), before);
        QVERIFY(!QFile::exists(m_db + QStringLiteral("-journal")));
    }

    // Yes to the damaged file's question: a refused choice asks again; a
    // sound backup takes the damaged file's place, which is kept aside as it
    // was, and start-up goes on with the restored file.
    void damagedDatabaseAtStartUpRestored()
    {
        dbStuff::DB->Close();
        damage(m_db, QStringLiteral("page"));
        const QByteArray damaged = bytesOf(m_db);
        const QString foreign = m_env->root() + QStringLiteral("/notes.bak");
        QVERIFY(writeBytes(foreign, "not a database"));
        SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("DATABASE"), m_db);
        DialogScript script;
        script.answer(vbYes).chooseFile(foreign).answer(vbOK);
        script.answer(vbYes).chooseFile(m_backup).answer(vbYes);

        dbStuff::Main();

        QCOMPARE(script.pending(), 0);
        QVERIFY(script.messages().at(3).prompt.startsWith(QStringLiteral("Restore this backup?")));
        QVERIFY(frmMain::loaded() && frmMain::loaded()->isVisible());
        verifyOpenWith(2);
        const QStringList kept =
            QDir(QFileInfo(m_db).path())
                .entryList(QStringList{QStringLiteral("Zantoro.mdb.damaged *")});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(bytesOf(QFileInfo(m_db).path() + QLatin1Char('/') + kept.at(0)), damaged);
        QCOMPARE(leftovers(), QStringList());
    }
};

QTEST_MAIN(tst_Restore)
#include "tst_restore.moc"
