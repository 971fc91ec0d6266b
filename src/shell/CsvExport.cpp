#include "shell/CsvExport.h"

#include "data/Ledger.h"
#include "platform/Settings.h"
#include "platform/widgets/Dialogs.h"
#include "statements/CsvText.h"
#include "statements/StatementValues.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString ExportSection = QStringLiteral("FILELOCATIONS");
const QString ExportKey = QStringLiteral("EXPORT");

QString convert(const QString& value, CsvTable::Kind kind, const CsvConventions& c)
{
    if (kind == CsvTable::Kind::Amount && c.decimalMark != QLatin1Char('.'))
        return QString(value).replace(QLatin1Char('.'), c.decimalMark);
    if (kind == CsvTable::Kind::Date && c.dayFirst && value.size() == 10)
        return value.mid(8, 2) + QLatin1Char('-') + value.mid(5, 2) + QLatin1Char('-') +
               value.left(4);
    return value;
}

} // namespace

CsvConventions CsvConventions::spreadsheet()
{
    return CsvConventions{QLatin1Char(';'), QLatin1Char(','), true, true};
}

QString CsvFileText(const CsvTable& table, const CsvConventions& conventions)
{
    QString text = CsvText::record(table.header, conventions.separator);
    for (const QStringList& row : table.rows) {
        QStringList values;
        for (qsizetype i = 0; i < row.size(); ++i)
            values << convert(row[i], table.kinds.value(i, CsvTable::Kind::Text), conventions);
        text += CsvText::record(values, conventions.separator);
    }
    return text;
}

CsvTable SheetCsvTable(Ledger& ledger, qint64 businessId, bool cash, const QString& sortClause)
{
    using K = CsvTable::Kind;
    CsvTable table;
    table.header = QStringList{QStringLiteral("Date"),       QStringLiteral("Description"),
                               QStringLiteral("Category"),   QStringLiteral("Invoice nr"),
                               QStringLiteral("Receipt id"), QStringLiteral("Relation"),
                               QStringLiteral("Debited"),    QStringLiteral("Credited")};
    table.kinds = {K::Date, K::Text, K::Text, K::Text, K::Text, K::Text, K::Amount, K::Amount};
    ledger.sheetRows(businessId, cash, sortClause, [&](const Ledger::Transaction& t) {
        const QString amount = t.amount ? StatementValues::plainAmount(*t.amount) : QString();
        table.rows.append(QStringList{t.date ? t.date->toString(Qt::ISODate) : QString(),
                                      t.description, t.category, t.invoiceNr, t.receiptId,
                                      t.relation, t.moneyIn ? QString() : amount,
                                      t.moneyIn ? amount : QString()});
    });
    return table;
}

QString SheetCsvFileName(const QString& business, bool cash)
{
    QString name = business;
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    name.removeIf([](QChar c) { return forbidden.contains(c) || c.unicode() < 32; });
    name = name.simplified();
    const QString sheet = cash ? QStringLiteral("cash sheet") : QStringLiteral("bank sheet");
    return (name.isEmpty() ? sheet : name + QStringLiteral(" - ") + sheet) + QStringLiteral(".csv");
}

QString ExportCsv(const CsvTable& table, const QString& proposedName)
{
    const int answer = MsgBox(QStringLiteral("Write the file for a spreadsheet that uses a "
                                             "decimal comma (semicolons, 1234,50, dd-mm-yyyy)?"
                                             "\r\rNo writes commas, 1234.50 and yyyy-mm-dd."),
                              vbYesNoCancel + vbQuestion, QStringLiteral("Export"));
    if (answer == vbCancel)
        return QString();
    const CsvConventions conventions =
        answer == vbYes ? CsvConventions::spreadsheet() : CsvConventions();
    const std::optional<QString> chosen = AskSaveFile(
        QStringLiteral("Export as CSV"), QStringLiteral("CSV files (*.csv)|*.csv"),
        QStringLiteral("csv"), RememberedFolder(ExportSection, ExportKey), proposedName);
    if (!chosen)
        return QString();
    const QString& path = *chosen;
    QByteArray bytes = conventions.byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    bytes += CsvFileText(table, conventions).toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        MsgBox(QStringLiteral("The file could not be written:") + u'\r' + path +
                   QStringLiteral("\r\rCheck that the folder exists, that you may write in it and "
                                  "that the file is not open in another program."),
               vbExclamation + vbOKOnly);
        return QString();
    }
    SaveSetting(AppTitle, ExportSection, ExportKey, QFileInfo(path).absolutePath());
    return path;
}
