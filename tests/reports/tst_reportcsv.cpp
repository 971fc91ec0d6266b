#include "reports/ReportCsv.h"
#include "reports/ReportData.h"

#include <QtTest>

// A report's rows for CSV: detail lines and the footers that are rows, figures
// back to exact decimals and dates to ISO, other texts as printed.
class tst_ReportCsv : public QObject
{
    Q_OBJECT

private slots:
    void rowsAndValues()
    {
        ReportResult r;
        r.columns = {{"Date", 12, false, false},
                     {"Relation", 20, false, false},
                     {"Receipt", 10, false, false},
                     {"Amount", 12, true, true},
                     {"Count", 5, true, true}};
        using K = ReportLine::Kind;
        r.lines = {
            {K::GroupHeader, 0, 1, {"Fuel"}, false},
            {K::Detail,
             1,
             1,
             {"05/Mar/2026", "Shell; \"12\"", "0/000/017", "1,234.56", "1"},
             false},
            {K::Detail, 1, 1, {"06/Mar/2026", "12/Mar/2026", "", "-0.05", "2"}, false},
            {K::GroupFooter, 0, 3, {"Total Fuel", "", "", "1,234.51", "3"}, false},
            {K::GroupFooter, 0, 3, {"Office", "", "", "10.00", "1"}, true},
            {K::Summary, 0, 3, {"Grand total", "", "", "1,244.51", "4"}, false},
        };
        const CsvTable t = ReportCsvTable(r);
        QCOMPARE(t.header, (QStringList{"Date", "Relation", "Receipt", "Amount", "Count"}));
        QCOMPARE(t.kinds, (QList<CsvTable::Kind>{CsvTable::Kind::Date, CsvTable::Kind::Text,
                                                 CsvTable::Kind::Text, CsvTable::Kind::Amount,
                                                 CsvTable::Kind::Amount}));
        QCOMPARE(t.rows, (QList<QStringList>{
                             {"2026-03-05", "Shell; \"12\"", "0/000/017", "1234.56", "1"},
                             {"2026-03-06", "12/Mar/2026", "", "-0.05", "2"},
                             {"Office", "", "", "10", "1"},
                         }));
    }
};

QTEST_GUILESS_MAIN(tst_ReportCsv)
#include "tst_reportcsv.moc"
