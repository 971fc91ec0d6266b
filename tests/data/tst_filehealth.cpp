// The file under the store: quick_check on sound and damaged files, and
// waiting for a lock another process holds.

#include "data/Database.h"
#include "platform/VbError.h"
#include "support/DataRows.h"
#include "support/TestDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <sqlite3.h>
#include <thread>

class tst_FileHealth : public QObject
{
    Q_OBJECT

private slots:
    // Only a sound file passes; the problem found is what the check reports.
    void quickCheck_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("problem"); // part of the problem; empty: sound
        using datarows::row;
        row("sound", "none", "");
        row("a damaged page in the middle", "page", "Page");
        row("cut to half its length", "truncate", "malformed");
        row("not a database", "text", "not a database");
        row("empty file", "empty", "no tables");
    }

    void quickCheck()
    {
        QFETCH(QString, damage);
        QFETCH(QString, problem);
        TempDatabase db;
        QFile file(db.path());
        if (damage == QLatin1String("page")) {
            fillAndDamageMiddlePage(db.path());
        } else if (damage == QLatin1String("truncate")) {
            fillAndDamageMiddlePage(db.path()); // rows, to have pages to lose
            QVERIFY(file.resize(file.size() / 2));
        } else if (damage == QLatin1String("text")) {
            QVERIFY(writeBytes(db.path(), QByteArray("Name;Amount\n").repeated(400)));
        } else if (damage == QLatin1String("empty")) {
            QVERIFY(file.resize(0));
        }

        const QString found = Database::QuickCheck(db.path());

        if (problem.isEmpty())
            QCOMPARE(found, QString());
        else
            QVERIFY2(found.contains(problem, Qt::CaseInsensitive) &&
                         !found.contains(QLatin1String("***")),
                     qPrintable(found));
        // A damaged page does not stop the file from opening; the check on the
        // open file finds it too.
        if (damage == QLatin1String("none") || damage == QLatin1String("page"))
            QCOMPARE(Database::OpenDatabase(db.path())->quickCheck(), found);
    }

    void quickCheckOfNoFile()
    {
        TempDatabase db;
        try {
            Database::QuickCheck(db.filePath(QStringLiteral("gone.mdb")));
            QFAIL("a missing file passed");
        } catch (const VbError& e) {
            QCOMPARE(e.number(), VbErr::DbFileNotFound);
        }
    }

    // Another process takes the write lock: a store waits for it, up to its
    // timeout, and fails with 3218 only when the lock outlasts that.
    void writeWaitsForAnotherProcessesLock_data()
    {
        QTest::addColumn<int>("holdMs");
        QTest::newRow("released after half a second") << 500;
        QTest::newRow("held past the timeout") << Database::BusyTimeoutMs + 1500;
    }

    void writeWaitsForAnotherProcessesLock()
    {
        QFETCH(int, holdMs);
        TempDatabase file;
        const qint64 before = RawDb(file.path()).count(QStringLiteral("Businesses"));
        auto db = Database::OpenDatabase(file.path());
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(file.path()).constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        std::thread holder([other, holdMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        });
        QElapsedTimer timer;
        timer.start();
        long error = 0;
        try {
            db->Execute(QStringLiteral("INSERT INTO Businesses (Name) VALUES ('Waited')"));
        } catch (const VbError& e) {
            error = e.number();
        }
        const qint64 waited = timer.elapsed();
        holder.join();
        sqlite3_close(other);

        if (holdMs < Database::BusyTimeoutMs) {
            QCOMPARE(error, 0L);
            QVERIFY2(waited >= holdMs - 50, qPrintable(QString::number(waited)));
            QCOMPARE(RawDb(file.path()).count(QStringLiteral("Businesses")), before + 1);
        } else {
            QCOMPARE(error, VbErr::RecordLocked);
            QVERIFY2(waited >= Database::BusyTimeoutMs - 50 && waited < holdMs,
                     qPrintable(QString::number(waited)));
        }
    }
};

QTEST_GUILESS_MAIN(tst_FileHealth)
#include "tst_filehealth.moc"
