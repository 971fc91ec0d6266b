#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

class Ledger;

// Rows for a CSV file, their values in neutral form: dates "yyyy-MM-dd",
// amounts as exact plain decimals with a point ("-1234.5"), texts as they are.
struct CsvTable
{
    enum class Kind
    {
        Text,
        Date,
        Amount
    };
    QStringList header;
    QList<Kind> kinds; // one per column
    QList<QStringList> rows;
};

// How the file writes its values. The default is RFC 4180 with ISO dates and
// point decimals; spreadsheet() is what spreadsheets set up for a decimal
// comma expect: semicolons, decimal comma, dd-mm-yyyy.
struct CsvConventions
{
    QChar separator = QLatin1Char(',');
    QChar decimalMark = QLatin1Char('.');
    bool dayFirst = false;
    // A UTF-8 byte-order mark first, by which spreadsheets know the encoding.
    bool byteOrderMark = false;

    static CsvConventions spreadsheet();
};

// The file's text: a header row, then every row; records end in "\r\n".
QString CsvFileText(const CsvTable& table, const CsvConventions& conventions);

// The stored transactions of one sheet in the sheet's order, with the exact
// stored amounts: Date, Description, Category, Invoice nr, Receipt id,
// Relation, Debited, Credited.
CsvTable SheetCsvTable(Ledger& ledger, qint64 businessId, bool cash, const QString& sortClause);
// "<business> - cash sheet.csv", the characters a file name cannot hold left out.
QString SheetCsvFileName(const QString& business, bool cash);

// Asks whether to use the spreadsheet conventions and where to save, then
// writes the file. A cancel writes nothing; a file that cannot be written is
// reported in a message box. Returns the path written, or "" when none.
QString ExportCsv(const CsvTable& table, const QString& proposedName);

// A window whose contents File > Export... writes (the frame asks the window
// in front).
class CsvExportable
{
public:
    virtual ~CsvExportable() = default;
    virtual void exportCsv() = 0;
};
