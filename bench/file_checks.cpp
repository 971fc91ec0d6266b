// Times what start-up and closing add for a large file: the start-up check
// (the header alone, and PRAGMA quick_check over the whole file) and the
// automatic backup at close (a compacted, checked copy into the auto folder).
//
//   bench_file_checks [transactions, 800000 unless given: a file of about 100 MB]
//                     [an existing file to use instead of generating one]

#include "data/FileCheck.h"
#include "platform/Settings.h"
#include "shell/AutoBackup.h"
#include "shell/dbStuff.h"
#include "support/BenchData.h"
#include "support/ShellEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

QTextStream out(stdout);

double seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

double megabytes(const QString& path)
{
    return double(QFileInfo(path).size()) / 1048576.0;
}

// Asks the system to forget the file's cached pages (only this file's).
void dropFromCache(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

template <typename Run> void timed(const char* what, int runs, Run run)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(seconds(timer));
    }
    std::sort(times.begin(), times.end());
    out << what << ": median " << times[times.size() / 2] << " s, best " << times.front()
        << " s, worst " << times.back() << " s (" << runs << " runs)\n";
    out.flush();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 800000;
    QTemporaryDir folder;
    QString path =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : folder.filePath(QStringLiteral("large.mdb"));
    if (argc <= 2)
        GenerateBenchDatabase(path, {.cashRows = rows, .bankRows = 0});
    out << "file: " << megabytes(path) << " MB\n";

    timed("header check", 5, [&] {
        if (FileCheck::checkHeader(path).verdict != FileCheck::Verdict::Sound)
            qFatal("header check failed");
    });
    // As at the first start after the machine started: the file is read from
    // the disk, not from the system's cache.
    dropFromCache(path);
    timed("quick_check, file not cached", 1, [&] {
        if (FileCheck::quickCheck(path).verdict != FileCheck::Verdict::Sound)
            qFatal("quick_check failed");
    });
    timed("quick_check, file cached", 5, [&] {
        if (FileCheck::quickCheck(path).verdict != FileCheck::Verdict::Sound)
            qFatal("quick_check failed");
    });

    ShellEnvironment environment;
    environment.openDatabase(path);
    timed("automatic backup at close", 3, [&] {
        // Each run is due: no copy made today as far as the settings know.
        SaveSetting(AppTitle, QStringLiteral("AUTOBACKUP"), QStringLiteral("LAST"), QString());
        SaveSetting(AppTitle, QStringLiteral("AUTOBACKUP"), QStringLiteral("STATE"), QString());
        dbStuff::AutoBackup::AtClose();
    });
    const QStringList copies = QDir(dbStuff::AutoBackup::folder()).entryList(QDir::Files);
    if (copies.size() != 3)
        qFatal("expected three automatic copies");
    out << "copy: " << megabytes(dbStuff::AutoBackup::folder() + QLatin1Char('/') + copies.at(0))
        << " MB\n";
    return 0;
}
