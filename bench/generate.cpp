// Writes a large database for trying the program by hand or for the benchmarks:
//
//   bench_generate <new file> [cash rows of the big business]
//
// The file is the delivered schema with 20 businesses, 16 categories allocated
// to all of them, and some 170,000 transactions (see BenchDatabase.h).

#include "BenchDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    if (args.size() < 2) {
        out << "usage: bench_generate <new file> [cash rows of the big business]\n";
        return 2;
    }
    bench::Shape shape;
    if (args.size() > 2)
        shape.bigCash = args[2].toInt();
    QElapsedTimer timer;
    timer.start();
    try {
        bench::generateDatabase(args[1], shape);
    } catch (const std::exception& e) {
        out << "failed: " << e.what() << "\n";
        return 1;
    }
    out << "wrote " << args[1] << " in " << timer.elapsed() << " ms\n";
    return 0;
}
