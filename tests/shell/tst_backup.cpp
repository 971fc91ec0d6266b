#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Screen.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
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

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// The real file operations, with one chosen step ("rename#2": the second
// rename) made to fail the way the file system would.
class FailingFiles final : public dbStuff::BackupFiles
{
public:
    QString failAt;
    QStringList steps;
    bool databaseClosedAtFirstStep = false;

    void compact(const QString& source, const QString& target) override
    {
        step(QStringLiteral("compact"));
        BackupFiles::compact(source, target);
    }
    void remove(const QString& path) override
    {
        step(QStringLiteral("remove"));
        BackupFiles::remove(path);
    }
    void rename(const QString& from, const QString& to) override
    {
        step(QStringLiteral("rename"));
        BackupFiles::rename(from, to);
    }

private:
    void step(const QString& kind)
    {
        if (steps.isEmpty())
            databaseClosedAtFirstStep = !dbStuff::DB->isOpen();
        const int nth = ++m_calls[kind];
        steps << (nth == 1 ? kind : kind + QStringLiteral("#%1").arg(nth));
        if (steps.last() == failAt)
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
        if (leftoverWorkFile)
            writeFile(m_work, "half a copy from an interrupted backup");
        const QByteArray before = bytesOf(m_db);
        DialogScript script;
        script.chooseFile(target);

        dbStuff::BackupDatabase();

        QCOMPARE(script.messages().size(), 0);
        QCOMPARE(bytesOf(target), before);
        QVERIFY(QFileInfo(m_db).size() < before.size());
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
    // after the database was closed. The original file is then back at its
    // path, open again, nothing else is left behind, and the setting stays.
    void backupThatDoesNotHappenChangesNothing_data()
    {
        QTest::addColumn<QString>("chosen"); // empty: cancel
        QTest::addColumn<QString>("failAt"); // the step made to fail, if any
        QTest::addColumn<bool>("leftoverWorkFile");
        QTest::addColumn<QString>("message");

        const QString itself = QStringLiteral("database file itself");
        const QString failed = QStringLiteral("Error 75:  Path/File access error\r\r");
        QTest::newRow("cancel") << QString() << QString() << false << QString();
        QTest::newRow("the database file") << "Zantoro.mdb" << QString() << false << itself;
        QTest::newRow("the work file") << "NewPendrel.mdb" << QString() << false << itself;
        QTest::newRow("a link to the database") << "link.bak" << QString() << false << itself;
        QTest::newRow("compact fails") << "b.bak"
                                       << "compact" << false << failed;
        QTest::newRow("deleting a leftover work file fails") << "b.bak"
                                                             << "remove" << true << failed;
        QTest::newRow("moving the database to the backup fails") << "b.bak"
                                                                 << "rename" << false << failed;
        QTest::newRow("moving the compacted copy in fails") << "b.bak"
                                                            << "rename#2" << false << failed;
    }

    void backupThatDoesNotHappenChangesNothing()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, failAt);
        QFETCH(bool, leftoverWorkFile);
        QFETCH(QString, message);
        QVERIFY(QFile::link(m_db, dbStuff::DBFolder + QStringLiteral("link.bak")));
        if (leftoverWorkFile)
            writeFile(m_work, "leftover");
        const QByteArray before = bytesOf(m_db);
        const Database* open = dbStuff::DB.get();
        FailingFiles files;
        files.failAt = failAt;
        dbStuff::setBackupFiles(&files);
        DialogScript script;
        if (chosen.isEmpty())
            script.cancelFile();
        else
            script.chooseFile((failAt.isEmpty() ? dbStuff::DBFolder : m_backups) + chosen)
                .answer(vbOK);

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
            QVERIFY(files.databaseClosedAtFirstStep);
        }
        QCOMPARE(bytesOf(m_db), before);
        QCOMPARE(QFile::exists(m_work), leftoverWorkFile && failAt.isEmpty());
        QCOMPARE(storedBackup(), QStringLiteral("<none>"));
        QCOMPARE(frmMain::instance().mousePointer(), vbDefault);
        verifyWorking();
    }
};

QTEST_MAIN(tst_Backup)
#include "tst_backup.moc"
