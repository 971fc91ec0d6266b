#include "platform/Settings.h"
#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "shell/AutoBackup.h"
#include "shell/BackupCopy.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

namespace AutoBackup = dbStuff::AutoBackup;

namespace {

QString autoSetting(const char* key)
{
    return GetSetting(AppTitle, QStringLiteral("AUTOBACKUP"), QString::fromLatin1(key));
}

// The disk fills up while the copy is written to it.
class FullDisk final : public dbStuff::BackupFiles
{
public:
    void flush(const QString& path) override
    {
        throw VbError(VbErr::DeviceFull, path, QStringLiteral("No space left on device"));
    }
};

} // namespace

class tst_AutoBackup : public QObject
{
    Q_OBJECT

private:
    // A database with one business and two transactions, open as start-up
    // leaves it, and the backup folder of this environment.
    struct Opened
    {
        ShellEnvironment env;
        TempDatabase file;
        QString backups;

        Opened()
        {
            RawDb raw(file.path());
            const qint64 business = raw.business(QStringLiteral("Bakery"));
            const qint64 category = raw.category(QStringLiteral("Flour"), false);
            raw.transaction({.business = business, .category = category});
            raw.transaction({.business = business, .category = category, .amount = 25.5});
            backups = env.root() + QStringLiteral("/backups");
            QDir().mkpath(backups);
            // As a backup the user made leaves it: the path of that file.
            SaveSetting(AppTitle, QStringLiteral("FILELOCATIONS"), QStringLiteral("BACKUP"),
                        backups + QStringLiteral("/Pendrel  01-Dec-2026 10.00.bak"));
            env.openDatabase(file.path());
        }
        QString autoFolder() const { return backups + QStringLiteral("/auto"); }
        QStringList copies() const
        {
            return QDir(autoFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        }
    };

private slots:
    void cleanup() { dbStuff::setBackupFiles(nullptr); }

    // The newest ten copies stay, whatever else the folder holds.
    void rotationKeepsTheNewestTen_data()
    {
        QTest::addColumn<int>("before"); // copies of earlier days
        QTest::addColumn<int>("kept");   // of those, how many stay
        QTest::newRow("first copy") << 0 << 0;
        QTest::newRow("nine, all stay") << 9 << 9;
        QTest::newRow("ten, oldest goes") << 10 << 9;
        QTest::newRow("fourteen, five oldest go") << 14 << 9;
    }

    void rotationKeepsTheNewestTen()
    {
        QFETCH(int, before);
        QFETCH(int, kept);
        Opened db;
        QDir().mkpath(db.autoFolder());
        QStringList earlier;
        for (int day = before; day >= 1; --day) {
            const QString name =
                AutoBackup::fileName(QDateTime::currentDateTime().addDays(-day - 30));
            QVERIFY(writeBytes(db.autoFolder() + QLatin1Char('/') + name, "old copy"));
            earlier << name; // oldest first
        }
        // Files of other kinds in the folder are never removed.
        const QStringList foreign{QStringLiteral("notes.txt"), QStringLiteral("Zantoro 2026.bak"),
                                  QStringLiteral("Zantoro 2020-01-01 10.00.00.bak.txt")};
        for (const QString& name : foreign)
            QVERIFY(writeBytes(db.autoFolder() + QLatin1Char('/') + name, "mine"));

        const QString made = AutoBackup::write();

        QStringList expected = earlier.mid(before - kept);
        expected << QFileInfo(made).fileName() << foreign;
        expected.sort();
        QCOMPARE(db.copies(), expected);
        RawDb copy(made);
        QCOMPARE(copy.count(QStringLiteral("Transactions")), qint64(2));
    }

    // A copy at close is made once a day at most, and only when the database
    // changed since the last one (or is another file).
    void closeCopiesOnlyWhenDue_data()
    {
        QTest::addColumn<bool>("lastYesterday"); // the first copy dates from yesterday
        QTest::addColumn<QString>("change");     // between the two closes
        QTest::addColumn<int>("copies");
        QTest::newRow("same day, changed") << false << "row" << 1;
        QTest::newRow("next day, unchanged") << true << "" << 1;
        QTest::newRow("next day, a row stored") << true << "row" << 2;
        QTest::newRow("next day, another file") << true << "other file" << 2;
    }

    void closeCopiesOnlyWhenDue()
    {
        QFETCH(bool, lastYesterday);
        QFETCH(QString, change);
        QFETCH(int, copies);
        Opened db;
        DialogScript script;

        AutoBackup::AtClose();
        QCOMPARE(db.copies().size(), 1);
        QVERIFY(QDateTime::fromString(autoSetting("LAST"), Qt::ISODate).isValid());

        if (lastYesterday)
            SaveSetting(AppTitle, QStringLiteral("AUTOBACKUP"), QStringLiteral("LAST"),
                        QDateTime::currentDateTime().addDays(-1).toString(Qt::ISODate));
        if (change == "row")
            dbStuff::DB->Execute(QStringLiteral("UPDATE Transactions SET TotalPrice = 99"));
        if (change == "other file") {
            // The same rows in another file under the same name, as a
            // backup's swap leaves it.
            dbStuff::DB->Close();
            const QString moved = db.file.filePath(QStringLiteral("moved.mdb"));
            QVERIFY(QFile::rename(db.file.path(), moved));
            QVERIFY(QFile::copy(moved, db.file.path()));
            db.env.openDatabase(db.file.path());
        }
        AutoBackup::AtClose();

        QCOMPARE(db.copies().size(), copies);
    }

    // The program closes however the copy fails: one message saying why, the
    // failure in the settings, nothing half-written, and the next close
    // tries again.
    void failingCopyNeverBlocksClosing_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("reason"); // %1: the auto folder, %2: the database
        QTest::newRow("a file where the folder should be")
            << "file in the way" << QStringLiteral("The folder %1 does not exist.");
        QTest::newRow("disk full while copying")
            << "disk full" << QStringLiteral("The backup folder's disk is full: %1.");
        QTest::newRow("the database damaged")
            << "damaged"
            << QStringLiteral("The database file %2 is damaged, so no backup was made "
                              "of it. File > Restore backup... puts a backup in its "
                              "place.");
    }

    void failingCopyNeverBlocksClosing()
    {
        QFETCH(QString, failure);
        QFETCH(QString, reason);
        Opened db;
        FullDisk full;
        if (failure == "file in the way")
            QVERIFY(writeBytes(db.autoFolder(), "in the way"));
        if (failure == "disk full")
            dbStuff::setBackupFiles(&full);
        QByteArray intact;
        if (failure == "damaged") {
            // A page of the index on the transactions' business overwritten.
            QFile file(db.file.path());
            QVERIFY(file.open(QIODevice::ReadWrite));
            intact = file.readAll();
            file.seek(file.size() - 4096);
            file.write(QByteArray(4096, '\x5a'));
        }
        reason.replace(QStringLiteral("%1"), db.autoFolder())
            .replace(QStringLiteral("%2"), db.file.path());
        frmMain& frame = frmMain::instance();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        DialogScript script;
        script.answer(vbOK);

        QVERIFY(frame.close());
        AutoBackup::AtClose();

        QVERIFY(!frmMain::loaded() || !frmMain::loaded()->isVisible());
        QCOMPARE(script.messages().size(), 1);
        const MessageRequest& shown = script.messages().at(0);
        QCOMPARE(shown.prompt,
                 QStringLiteral("The automatic backup of the database could not be made in %1:"
                                "\r\r%2\r\rZantoro closes all the same; the database itself is "
                                "as you left it. The next close tries again.")
                     .arg(db.autoFolder(), reason));
        QCOMPARE(shown.flags, vbExclamation + vbOKOnly);
        QCOMPARE(autoSetting("LASTERROR"), db.autoFolder() + QStringLiteral(": ") + reason);
        const QDateTime logged = QDateTime::fromString(autoSetting("LASTERRORDATE"), Qt::ISODate);
        QVERIFY(qAbs(logged.secsTo(QDateTime::currentDateTime())) < 60);
        QVERIFY(autoSetting("LAST").isEmpty());
        QCOMPARE(db.copies(), QStringList());

        // Once the way is clear, the next close makes the copy.
        dbStuff::setBackupFiles(nullptr);
        QFile::remove(db.autoFolder());
        if (!intact.isEmpty())
            QVERIFY(writeBytes(db.file.path(), intact));
        AutoBackup::AtClose();
        QCOMPARE(db.copies().size(), 1);
        QCOMPARE(script.messages().size(), 1);
    }
};

QTEST_MAIN(tst_AutoBackup)
#include "tst_autobackup.moc"
