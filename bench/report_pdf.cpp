// Times a report over a large selection, from the stored query to the PDF file:
// a generated database whose first business has N transactions (100,000 unless
// given; every other business has some too), the report query written as the
// report window writes it for that business and every date, the data pass, and
// the layout and writing of the PDF. Runs each delivered report.
//
//   bench_report_pdf [rows] [folder to keep the PDF files in]

#include "data/Database.h"
#include "data/Recordset.h"
#include "reports/frmPrint.h"
#include "reports/ReportRender.h"
#include "support/BenchData.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPageSize>
#include <QTemporaryDir>
#include <QTextStream>

#include <ctime>

namespace {

// Processor time of this process in milliseconds: what the run costs whatever
// else the machine is doing.
qint64 cpuMs()
{
    return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100'000;
    QTemporaryDir temp;
    const QString keep = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path();
    QTextStream out(stdout);

    const QString path = temp.filePath(QStringLiteral("Zantoro.mdb"));
    BenchDataOptions options;
    options.bankRows = rows / 20;
    options.cashRows = rows - options.bankRows;
    const BenchData data = GenerateBenchDatabase(path, options);
    out << "rows in the selection: " << rows << " of " << data.transactions << "\n";

    for (const QString& report : {QStringLiteral("Transactions by category.report"),
                                  QStringLiteral("VAT summary.report")}) {
        QElapsedTimer total;
        total.start();
        const qint64 cpuStart = cpuMs();
        auto db = Database::OpenDatabase(path);
        if (db->hasQueryDef(QStringLiteral("crys_Default")))
            db->DeleteQueryDef(QStringLiteral("crys_Default"));
        db->CreateQueryDef(
            QStringLiteral("crys_Default"),
            frmPrint::ReportSelect +
                QStringLiteral("WHERE (((Businesses.BusinessId)=%1));").arg(data.firstBusiness));
        QElapsedTimer step;
        step.start();
        const ReportDefinition definition =
            LoadReportFile(SourceDbFolder() + QStringLiteral("/reports/") + report);
        auto records = db->OpenRecordset(QStringLiteral("crys_Default"));
        const ReportResult result = BuildReport(definition, *records);
        const qint64 dataMs = step.restart();
        const qint64 dataCpu = cpuMs() - cpuStart;

        QPageLayout a4(QPageSize(QPageSize::A4),
                       result.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
        const int pages = ReportPages(result, a4).pageCount();
        const qint64 layoutMs = step.restart();
        const qint64 layoutCpuEnd = cpuMs();

        const QString pdf =
            QDir(keep).filePath(QFileInfo(report).completeBaseName() + QStringLiteral(".pdf"));
        WritePdf(result, pdf);
        const qint64 pdfMs = step.elapsed();
        const qint64 pdfCpu = cpuMs() - layoutCpuEnd;
        out << report << ": " << result.lines.size() << " lines, " << pages << " pages, "
            << QFileInfo(pdf).size() / 1024 << " KiB\n"
            << "  wall: query and data pass " << dataMs << " ms; layout alone " << layoutMs
            << " ms; layout and PDF " << pdfMs << " ms; from query to PDF "
            << (total.elapsed() - layoutMs) << " ms\n"
            << "  processor: data pass " << dataCpu << " ms; layout and PDF " << pdfCpu
            << " ms; from query to PDF " << (dataCpu + pdfCpu) << " ms\n";
        out.flush();
    }
    return 0;
}
