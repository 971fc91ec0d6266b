// Times the transactions sheet on a generated database (support/BenchData.h):
//  - picking a business with ROWS cash transactions (both grids laid out,
//    filled and totalled, and painted once), against the same two SELECTs run
//    bare on SQLite in the same run, and the resident memory afterwards, in
//    all and per grid row above the open window without a business;
//  - committing one cell with Enter on that big sheet, and on a sheet of 10,000
//    rows (the row stored, the totals recomputed), there with a relation
//    already listed and with a new one;
//  - one keystroke in the relation picker with 20,000 distinct relations.
//
//   bench_sheet [ROWS]   (ROWS defaults to 100,000; offscreen unless QT_QPA_PLATFORM says
//                        otherwise; the database is made in $TMPDIR, so TMPDIR=/dev/shm
//                        takes the disk out of the figures)

#include "platform/Settings.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/TextBox.h"
#include "sheet/frmTransactions.h"
#include "shell/dbStuff.h"
#include "support/BenchData.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <sqlite3.h>

namespace {

QTextStream out(stdout);

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double maximum(const std::vector<double>& v)
{
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

QString sheetSql(qint64 business, bool cash)
{
    // The text the sheet runs for a grid (the default order).
    return QStringLiteral(
               "SELECT Transactions.TransactionId, Transactions.TransactionDate, "
               "Transactions.Invoicenr, Transactions.relation, Transactions.MoneyIn, "
               "Transactions.CategoryId, Categories.Category, Transactions.Description, "
               "Transactions.ReceiptId, Transactions.Totalprice, Transactions.Cash, "
               "Transactions.BusinessId FROM Categories INNER JOIN Transactions ON "
               "Categories.CategoryId = Transactions.CategoryId Where (((Transactions.Cash) = ") +
           (cash ? QStringLiteral("True") : QStringLiteral("false")) +
           QStringLiteral(") And ((Transactions.BusinessId) = ") + QString::number(business) +
           QStringLiteral(")) ORDER BY Transactions.receiptid;");
}

// The query alone: prepared, stepped to the end, every column read.
double bareSelectMs(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
    qint64 bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                bytes += sqlite3_column_int64(stmt, c) & 1;
                break;
            case SQLITE_FLOAT:
                bytes += sqlite3_column_double(stmt, c) > 0;
                break;
            case SQLITE_TEXT:
                sqlite3_column_text(stmt, c);
                bytes += sqlite3_column_bytes(stmt, c);
                break;
            default:
                break;
            }
        }
    }
    sqlite3_finalize(stmt);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    sqlite3_close(db);
    if (bytes == 0)
        qFatal("the bare query read nothing");
    return ms;
}

qint64 statusKb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLongLong();
    return -1;
}

int indexOfBusiness(const ComboBox& combo, qint64 id)
{
    for (int i = 0; i < combo.ListCount(); ++i)
        if (combo.ItemData(i) == id)
            return i;
    qFatal("no business %lld", id);
}

QString cpuName()
{
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly))
        for (const QByteArray& line : info.readAll().split('\n'))
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    return QStringLiteral("unknown");
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int cashRows = 100000;
    if (argc > 1) {
        bool ok = false;
        cashRows = QString::fromLocal8Bit(argv[1]).toInt(&ok);
        if (!ok || cashRows < 1) {
            QTextStream(stderr) << "usage: bench_sheet [ROWS]   (ROWS: cash rows, at least 1)\n";
            return 2;
        }
    }
    QTemporaryDir dir;
    SettingsStore::setFolder(dir.filePath(QStringLiteral("config")));
    const QString path = dir.filePath(QStringLiteral("Zantoro.mdb"));
    // Business 1: ROWS cash and 5,000 bank rows; business 2: 10,000 of
    // each; relations drawn from 21,000 names, so that some 20,000 are used.
    BenchDataOptions options;
    options.businesses = 2;
    options.cashRows = cashRows;
    options.bankRows = 5000;
    options.otherRows = 20000;
    options.relations = 21000;
    QElapsedTimer timer;
    timer.start();
    const BenchData data = GenerateBenchDatabase(path, options);
    out << "machine: " << cpuName() << ", " << QThread::idealThreadCount() << " cores\n";
    out << "generated " << data.transactions << " transactions in " << timer.elapsed() << " ms\n";
    const qint64 rssBefore = statusKb("VmRSS:");

    using namespace dbStuff;
    DB = Database::OpenDatabase(path);
    OpenTableRecordsets();
    SortSQL = DefaultSortSQL;
    frmTransactions w;
    w.resize(1280, 760);
    w.show();
    QApplication::setActiveWindow(&w);
    if (!QTest::qWaitForWindowActive(&w))
        qFatal("window not active");
    QCoreApplication::processEvents();
    const qint64 rssWindow = statusKb("VmRSS:");

    // Picking the big business, five times, each against the bare queries.
    const int big = indexOfBusiness(*w.cbobusiness, data.firstBusiness);
    std::vector<double> pick, bare, ratio;
    for (int run = 0; run < 5; ++run) {
        const double b =
            bareSelectMs(path, sheetSql(1, true)) + bareSelectMs(path, sheetSql(1, false));
        timer.restart();
        w.cbobusiness->setListIndex(big, true);
        QCoreApplication::processEvents(); // the first paint of the loaded grid
        const double p = double(timer.nsecsElapsed()) / 1e6;
        pick.push_back(p);
        bare.push_back(b);
        ratio.push_back(p / b);
    }
    if (w.FLX1->Rows() != options.cashRows + 4)
        qFatal("the cash grid holds %d rows", w.FLX1->Rows());
    const qint64 rss = statusKb("VmRSS:");
    const qint64 peak = statusKb("VmHWM:");
    out << QStringLiteral("pick a business with %1 cash + %2 bank rows: median %3 ms (max %4); "
                          "bare SELECTs median %5 ms; ratio median %6\n")
               .arg(options.cashRows)
               .arg(options.bankRows)
               .arg(median(pick), 0, 'f', 1)
               .arg(maximum(pick), 0, 'f', 1)
               .arg(median(bare), 0, 'f', 1)
               .arg(median(ratio), 0, 'f', 2);
    const int gridRows = options.cashRows + options.bankRows + 8;
    out << QStringLiteral("resident memory with that sheet open: %1 MB (peak %2 MB; %3 MB before "
                          "the window, %4 MB with it open and no business); %5 KB a grid row "
                          "above the open window\n")
               .arg(rss / 1024)
               .arg(peak / 1024)
               .arg(rssBefore / 1024)
               .arg(rssWindow / 1024)
               .arg(double(rss - rssWindow) / gridRows, 0, 'f', 3);

    FlexGrid& grid = *w.FLX1;
    grid.setFocus();
    QCoreApplication::processEvents();
    auto commitMs = [&](int row, int col, QWidget* editor, const QString& text) {
        grid.setRow(row);
        grid.setCol(col);
        QWidget* e = w.Getcontrol(grid);
        if (e != editor)
            qFatal("unexpected editor");
        w.FGEdit(grid, e, VKey::Space);
        if (auto* box = qobject_cast<TextBox*>(e))
            box->setText(text);
        else
            static_cast<ComboBox*>(e)->lineEdit()->setText(text);
        QCoreApplication::processEvents();
        timer.restart();
        w.EditKeyCode(grid, e, VKey::Return, 0);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (!e->isHidden() || grid.TextMatrix(row, col) != text)
            qFatal("the commit did not happen");
        return ms;
    };
    // Committing one cell on the big sheet, spread over its rows.
    std::vector<double> bigCommits;
    for (int k = 0; k < 40; ++k)
        bigCommits.push_back(commitMs(1 + k * (options.cashRows / 40), 1, w.Txt,
                                      QStringLiteral("Rye flour lot %1").arg(k)));
    out << QStringLiteral("commit one cell on the %1-row sheet: median %2 ms, max %3 ms\n")
               .arg(options.cashRows)
               .arg(median(bigCommits), 0, 'f', 2)
               .arg(maximum(bigCommits), 0, 'f', 2);

    // Committing one cell on the sheet of 10,000 rows.
    int medium = 0;
    while (w.cbobusiness->ItemData(medium) == data.firstBusiness)
        ++medium;
    w.cbobusiness->setListIndex(medium, true);
    QCoreApplication::processEvents();
    grid.setFocus();
    QCoreApplication::processEvents();
    if (grid.Rows() != options.otherRows / 2 + 4)
        qFatal("the medium grid holds %d rows", grid.Rows());
    std::vector<double> commits, newRelations;
    for (int k = 0; k < 40; ++k)
        commits.push_back(
            commitMs(1000 + k * 200, 1, w.Txt, QStringLiteral("Flour 25 kg lot %1").arg(k)));
    for (int k = 0; k < 10; ++k)
        newRelations.push_back(
            commitMs(2000 + k * 300, 6, w.cbo2, QStringLiteral("Newcomer Supplies %1").arg(k)));
    out << QStringLiteral("commit one cell on a %1-row sheet: median %2 ms, max %3 ms; with a new "
                          "relation: median %4 ms, max %5 ms\n")
               .arg(options.otherRows / 2)
               .arg(median(commits), 0, 'f', 2)
               .arg(maximum(commits), 0, 'f', 2)
               .arg(median(newRelations), 0, 'f', 2)
               .arg(maximum(newRelations), 0, 'f', 2);

    // Keystrokes in the relation picker. The commits above brought new
    // relations, so opening it reads the list again first.
    grid.setRow(500);
    grid.setCol(6);
    timer.restart();
    w.FGEdit(grid, w.Getcontrol(grid), VKey::Space);
    const double openMs = double(timer.nsecsElapsed()) / 1e6;
    QCoreApplication::processEvents();
    out << QStringLiteral("opening the relation picker after new relations were stored (the "
                          "list of %1 read again): %2 ms\n")
               .arg(w.cbo2->ListCount())
               .arg(openMs, 0, 'f', 1);
    if (w.cbo2->ListCount() < 20000)
        qFatal("the relation list holds %d", w.cbo2->ListCount());
    QWindow* window = w.windowHandle();
    std::vector<double> keys;
    // The last relations of the list (the longest scan), one nothing starts
    // with, and the first ones.
    const QStringList typed = {w.cbo2->List(w.cbo2->ListCount() - 1).toLower(),
                               QStringLiteral("qqqq"), w.cbo2->List(0).toUpper()};
    for (const QString& word : typed) {
        w.cbo2->lineEdit()->selectAll();
        for (QChar c : word) {
            timer.restart();
            QTest::keyClick(window, c.toLatin1());
            keys.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
    out << QStringLiteral("relation completion over %1 relations, one keystroke: median %2 ms, "
                          "max %3 ms (%4 keystrokes)\n")
               .arg(w.cbo2->ListCount())
               .arg(median(keys), 0, 'f', 3)
               .arg(maximum(keys), 0, 'f', 3)
               .arg(keys.size());
    return 0;
}
