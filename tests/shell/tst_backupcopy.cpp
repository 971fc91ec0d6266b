#include "data/Database.h"
#include "platform/VbError.h"
#include "shell/BackupCopy.h"
#include "support/FailingFiles.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

class tst_BackupCopy : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempDatabase> m_source;
    std::unique_ptr<QTemporaryDir> m_target;
    qint64 m_rows = 0;

    QString target() const { return m_target->filePath(QStringLiteral("books.bak")); }

private slots:
    void init()
    {
        m_source = std::make_unique<TempDatabase>();
        m_target = std::make_unique<QTemporaryDir>();
        RawDb raw(m_source->path());
        TxRow row;
        row.business = raw.business(QStringLiteral("Corner shop"));
        row.category = raw.category(QStringLiteral("Sales"), true);
        raw.exec(QStringLiteral("BEGIN"));
        for (int i = 0; i < 600; ++i) {
            row.description = QString(150, QLatin1Char('a' + i % 26));
            raw.transaction(row);
        }
        raw.exec(QStringLiteral("COMMIT"));
        raw.exec(QStringLiteral("DELETE FROM Transactions WHERE TransactionId % 2 = 0"));
        m_rows = raw.count(QStringLiteral("Transactions"));
    }

    void cleanup()
    {
        dbStuff::setBackupFiles(nullptr);
        m_target.reset();
        m_source.reset();
    }

    // The copy holds every row, is compacted, passes its check, replaces an
    // older file of its name and leaves nothing else; the source, even while
    // the program has it open, is not changed.
    void copyIsWholeAndReplacesAnOlderFile_data()
    {
        QTest::addColumn<bool>("older");
        QTest::addColumn<bool>("sourceOpen");
        QTest::newRow("new name") << false << false;
        QTest::newRow("over an older file") << true << false;
        QTest::newRow("source open in the program") << false << true;
    }

    void copyIsWholeAndReplacesAnOlderFile()
    {
        QFETCH(bool, older);
        QFETCH(bool, sourceOpen);
        if (older)
            QVERIFY(writeBytes(target(), "an older backup"));
        std::unique_ptr<Database> open;
        if (sourceOpen)
            open = Database::OpenDatabase(m_source->path());
        const QByteArray before = bytesOf(m_source->path());

        dbStuff::WriteCheckedCopy(m_source->path(), target());

        QCOMPARE(contentsOf(m_target->path()).keys(), QStringList{QStringLiteral("books.bak")});
        QCOMPARE(Database::QuickCheck(target()), QString());
        QCOMPARE(RawDb(target()).count(QStringLiteral("Transactions")), m_rows);
        QVERIFY(QFileInfo(target()).size() < before.size());
        QCOMPARE(bytesOf(m_source->path()), before);
    }

    // A failure at any step leaves the target folder exactly as it was: no
    // file of the copy's name unless an older one, untouched, and no
    // temporary file; the error says what happened.
    void failureAtAnyStepLeavesTheFolderAsItWas_data()
    {
        QTest::addColumn<QString>("failAt");
        QTest::addColumn<long>("failWith");
        QTest::addColumn<bool>("damageCopy");
        QTest::addColumn<long>("reported");
        QTest::addColumn<QString>("text");

        const QString full = QStringLiteral("The backup folder's disk is full: ");
        const QString denied = QStringLiteral("You have no permission to write in ");
        const QString unsound = QStringLiteral("did not read back sound");
        const QString damaged = QStringLiteral("Error 3343:");
        const long io = VbErr::DeviceIOError;
        // The store's own number for a full disk while it writes the copy.
        QTest::newRow("temporary file: disk full")
            << "compact" << VbErr::DiskFull << false << VbErr::DeviceFull << full;
        QTest::newRow("temporary file: no permission")
            << "compact" << VbErr::PermissionDenied << false << VbErr::PermissionDenied << denied;
        QTest::newRow("flush: disk full")
            << "flush" << VbErr::DeviceFull << false << VbErr::DeviceFull << full;
        QTest::newRow("flush: device error") << "flush" << io << false << io << QString();
        QTest::newRow("check of the copy fails")
            << "check#2" << VbErr::UnrecognizedFormat << false << io << unsound;
        QTest::newRow("copy damaged on its way to the disk")
            << QString() << 0L << true << io << unsound;
        QTest::newRow("rename over the target")
            << "replace" << VbErr::PathFileAccess << false << VbErr::PathFileAccess << QString();
        QTest::newRow("source damaged") << "check" << VbErr::UnrecognizedFormat << false
                                        << VbErr::UnrecognizedFormat << damaged;
    }

    void failureAtAnyStepLeavesTheFolderAsItWas()
    {
        QFETCH(QString, failAt);
        QFETCH(long, failWith);
        QFETCH(bool, damageCopy);
        QFETCH(long, reported);
        QFETCH(QString, text);
        for (bool older : {false, true}) {
            if (older)
                QVERIFY(writeBytes(target(), "an older backup"));
            const QMap<QString, QByteArray> before = contentsOf(m_target->path());
            FailingFiles files;
            files.failAt = failAt;
            files.failWith = failWith;
            files.damageAfterFlush = damageCopy;
            dbStuff::setBackupFiles(&files);

            try {
                dbStuff::WriteCheckedCopy(m_source->path(), target());
                QFAIL("the copy was reported as made");
            } catch (const VbError& e) {
                QCOMPARE(e.number(), reported);
                const QString message = dbStuff::CopyFailureText(e, target());
                QVERIFY2(message.contains(text), qPrintable(message));
            }
            QVERIFY2(failAt.isEmpty() || files.steps.contains(failAt),
                     qPrintable(files.steps.join(' ')));
            QCOMPARE(contentsOf(m_target->path()), before);
        }
    }
};

QTEST_GUILESS_MAIN(tst_BackupCopy)
#include "tst_backupcopy.moc"
