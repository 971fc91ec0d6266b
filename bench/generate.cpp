// Writes a large database for trying the program by hand:
//
//   bench_generate <new file> [cash rows of the first business]
//
// The delivered schema, filled by the benchmarks' generator (support/BenchData.h).

#include "support/BenchData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <exception>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    if (args.size() < 2) {
        out << "usage: bench_generate <new file> [cash rows of the first business]\n";
        return 2;
    }
    BenchDataOptions options;
    if (args.size() > 2)
        options.cashRows = args[2].toInt();
    QElapsedTimer timer;
    timer.start();
    try {
        const BenchData data = GenerateBenchDatabase(args[1], options);
        out << "wrote " << data.transactions << " transactions to " << args[1] << " in "
            << timer.elapsed() << " ms\n";
    } catch (const std::exception& e) {
        out << "failed: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
