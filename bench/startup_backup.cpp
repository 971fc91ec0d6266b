// Times start-up to the shown frame window on a file of 100,000 transactions,
// quick_check and a backup (compact, checked copy, swap) of a file of about
// 100 MB, through the program's own procedures with its dialogs answered by a
// script.
//
//   bench_startup_backup [transactions of the large file, 700000 unless given]

#include "data/Database.h"
#include "platform/Settings.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "support/BenchData.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

namespace {

QTextStream out(stdout);

double seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

void startUp(const QString& path)
{
    ShellEnvironment environment;
    SaveSetting(QStringLiteral("Zantoro"), QStringLiteral("FILELOCATIONS"),
                QStringLiteral("DATABASE"), path);
    QElapsedTimer timer;
    timer.start();
    dbStuff::Main();
    while (!frmMain::loaded() || !frmMain::loaded()->isVisible())
        QApplication::processEvents();
    QApplication::processEvents();
    out << "start-up to the shown frame (" << QFileInfo(path).size() / 1048576
        << " MB file): " << seconds(timer) << " s\n";
    out.flush();
}

void backUp(const QString& path)
{
    ShellEnvironment environment;
    environment.openDatabase(path);
    const QString target = environment.root() + QStringLiteral("/backup.bak");
    DialogScript script;
    script.chooseFile(target);
    const double before = double(QFileInfo(path).size()) / 1048576.0;
    QElapsedTimer timer;
    timer.start();
    const QString problem = Database::QuickCheck(path);
    out << "quick_check of a " << before << " MB file: " << seconds(timer) << " s"
        << (problem.isEmpty() ? QString() : QStringLiteral(" (") + problem + QLatin1Char(')'))
        << "\n";
    timer.start();
    dbStuff::BackupDatabase();
    out << "backup of a " << before << " MB file (compact, checked copy, swap): " << seconds(timer)
        << " s; working file now " << double(QFileInfo(path).size()) / 1048576.0 << " MB\n";
    out.flush();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int large = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 700000;
    QTemporaryDir folder;

    const QString startFile = folder.filePath(QStringLiteral("start.mdb"));
    GenerateBenchDatabase(startFile, {.cashRows = 100000, .bankRows = 0});
    for (int run = 0; run < 3; ++run)
        startUp(startFile);

    const QString backupFile = folder.filePath(QStringLiteral("large.mdb"));
    GenerateBenchDatabase(backupFile, {.cashRows = large, .bankRows = 0});
    backUp(backupFile);
    return 0;
}
