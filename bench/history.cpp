// What the change history costs in file size and in bulk writes: the same
// generated rows (support/BenchData.h) stored in a file without the history
// (schema version 0) and in one with it, then every transaction updated once
// and then deleted, each in one SQL statement from a plain connection (the
// triggers record them as they would any writer's).
//
//   bench_history [ROWS]   (ROWS cash transactions, default 100,000; files in $TMPDIR)

#include "data/SchemaVersions.h"
#include "support/BenchData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

namespace {

QTextStream out(stdout);

double megabytes(const QString& path)
{
    return QFileInfo(path).size() / 1e6;
}

// Runs sql on the file at path in one transaction; returns the milliseconds.
double timed(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    QElapsedTimer timer;
    timer.start();
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("%s: %s", sql, sqlite3_errmsg(db));
    const double ms = timer.nsecsElapsed() / 1e6;
    sqlite3_close(db);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchDataOptions options;
    options.cashRows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    options.bankRows = 0;
    options.otherRows = 0;
    QTemporaryDir dir;
    const double per = 100000.0 / options.cashRows;

    struct Figures
    {
        double stored, updated, deleted, updateMs, deleteMs;
    };
    Figures figures[2];
    for (int version : {0, SchemaVersions::Current}) {
        const QString path = dir.filePath(QStringLiteral("v%1.mdb").arg(version));
        options.schemaVersion = version;
        GenerateBenchDatabase(path, options);
        Figures& f = figures[version == 0 ? 0 : 1];
        f.stored = megabytes(path);
        f.updateMs =
            timed(path, "UPDATE Transactions SET TotalPrice = TotalPrice + 1, Remarks = 'checked'");
        f.updated = megabytes(path);
        f.deleteMs = timed(path, "DELETE FROM Transactions");
        f.deleted = megabytes(path);
    }
    const Figures& v0 = figures[0];
    const Figures& v1 = figures[1];
    out << QStringLiteral("%1 transactions stored: %2 MB without the history, %3 MB with it: "
                          "+%4 MB per 100,000 rows\n")
               .arg(options.cashRows)
               .arg(v0.stored, 0, 'f', 1)
               .arg(v1.stored, 0, 'f', 1)
               .arg((v1.stored - v0.stored) * per, 0, 'f', 1);
    out << QStringLiteral("each updated once (amount and remarks): the file grows %1 MB without, "
                          "%2 MB with the history (+%3 MB per 100,000 updates); %4 ms against %5 "
                          "ms\n")
               .arg(v0.updated - v0.stored, 0, 'f', 1)
               .arg(v1.updated - v1.stored, 0, 'f', 1)
               .arg(((v1.updated - v1.stored) - (v0.updated - v0.stored)) * per, 0, 'f', 1)
               .arg(v0.updateMs, 0, 'f', 0)
               .arg(v1.updateMs, 0, 'f', 0);
    out << QStringLiteral("each then deleted: the file grows %1 MB without, %2 MB with the "
                          "history (+%3 MB per 100,000 deletes); %4 ms against %5 ms\n")
               .arg(v0.deleted - v0.updated, 0, 'f', 1)
               .arg(v1.deleted - v1.updated, 0, 'f', 1)
               .arg(((v1.deleted - v1.updated) - (v0.deleted - v0.updated)) * per, 0, 'f', 1)
               .arg(v0.deleteMs, 0, 'f', 0)
               .arg(v1.deleteMs, 0, 'f', 0);
    return 0;
}
