// Times the history window over a large history: a generated database whose
// transactions 1 to 10,000 have ten history rows each (their insert and nine
// changes, 100,000 rows), listed by the window's versions page from the query
// to the painted list. Prints for comparison the bare query stepped on
// SQLite, and the rows read with every value parsed at once.
//
//   bench_history_window [rows in the range]

#include "data/Database.h"
#include "data/History.h"
#include "data/HistoryLog.h"
#include "data/Recordset.h"
#include "history/frmHistory.h"
#include "history/HistoryModels.h"
#include "shell/dbStuff.h"
#include "support/BenchData.h"
#include "support/ShellEnvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100'000;
    const qint64 last = rows / 10;
    QTextStream out(stdout);
    ShellEnvironment env;

    const QString path = env.root() + QStringLiteral("/Zantoro.mdb");
    BenchDataOptions options;
    options.cashRows = int(last) * 2;
    options.bankRows = 1000;
    GenerateBenchDatabase(path, options);
    {
        // Nine changes of each transaction of the range, made as plain SQL:
        // the triggers record each of them.
        auto db = Database::OpenDatabase(path);
        db->Execute(QStringLiteral("BEGIN"));
        for (int i = 0; i < 9; ++i)
            db->Execute(QStringLiteral("UPDATE Transactions SET TotalPrice = TotalPrice + 1 "
                                       "WHERE TransactionId BETWEEN 1 AND %1")
                            .arg(last));
        db->Execute(QStringLiteral("COMMIT"));
        auto count = db->OpenRecordset(
            QStringLiteral("SELECT count(*) FROM History WHERE TableName = 'Transactions' AND "
                           "RowKey BETWEEN 1 AND %1")
                .arg(last),
            RecordsetType::ForwardOnly);
        out << "history rows of transactions 1 to " << last << ": " << count->field(0).toLong()
            << "\n";
    }
    env.openDatabase(path);

    auto* window = new frmHistory;
    window->resize(1200, 700);
    window->show();
    QApplication::processEvents();

    std::vector<double> shown;
    std::vector<double> bare;
    std::vector<double> parsed;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        window->showVersions(1, last);
        window->lstVersions->viewport()->repaint();
        QApplication::processEvents();
        shown.push_back(timer.nsecsElapsed() / 1e9);

        timer.restart();
        auto rs = dbStuff::DB->OpenRecordset(
            QStringLiteral("SELECT HistoryId, StepId, ChangedAt, RowKey, Action, "
                           "COALESCE(NewValues, OldValues) FROM History WHERE TableName = "
                           "'Transactions' AND RowKey BETWEEN 1 AND %1 ORDER BY RowKey, HistoryId")
                .arg(last),
            RecordsetType::ForwardOnly);
        qint64 n = 0;
        for (; !rs->EOF_(); rs->MoveNext())
            ++n;
        bare.push_back(timer.nsecsElapsed() / 1e9);

        // The same rows read whole, every value parsed at once.
        timer.restart();
        History(*dbStuff::DB).rangeChanges(QString::fromLatin1(History::Transactions), 1, last);
        parsed.push_back(timer.nsecsElapsed() / 1e9);
    }
    out << "lines listed: " << window->versions().rowCount() << "\n";
    out << "versions page, query to painted list: " << median(shown) << " s median of 5 (worst "
        << *std::max_element(shown.begin(), shown.end()) << " s)\n";
    out << "the same query stepped bare: " << median(bare) << " s median of 5\n";
    out << "the same rows read with every value parsed: " << median(parsed) << " s median of 5\n";
    delete window;
    return 0;
}
