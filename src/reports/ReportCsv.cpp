#include "reports/ReportCsv.h"

#include "platform/ProgramLocale.h"
#include "reports/ReportData.h"

namespace {

std::optional<QString> plainNumber(const QString& text)
{
    const auto number = ProgramLocale::readNumber(text);
    if (!number)
        return std::nullopt;
    return DecimalText::toPlainText(*number);
}

std::optional<QString> isoDate(const QString& text)
{
    const auto moment = ProgramLocale::readDate(text);
    if (!moment || moment->time() != QTime(0, 0))
        return std::nullopt;
    return moment->date().toString(Qt::ISODate);
}

} // namespace

CsvTable ReportCsvTable(const ReportResult& result)
{
    CsvTable table;
    const qsizetype columns = result.columns.size();
    for (const ReportOutputColumn& column : result.columns)
        table.header << column.caption;
    QList<bool> detail;
    for (const ReportLine& line : result.lines) {
        if (line.kind != ReportLine::Kind::Detail && !line.row)
            continue;
        detail << (line.kind == ReportLine::Kind::Detail);
        // A label line holds the label in its first cell and the texts of
        // the columns after the span in theirs.
        QStringList cells = line.cells;
        for (int i = 1; i < line.span && i < cells.size(); ++i)
            cells[i].clear();
        cells.resize(columns);
        table.rows << cells;
    }
    // A column's kind comes from its detail lines: a footer's label stands in
    // the first columns whatever they hold.
    for (qsizetype c = 0; c < columns; ++c) {
        bool numbers = result.columns[c].whole, dates = true, any = false;
        for (qsizetype r = 0; r < table.rows.size(); ++r) {
            const QString& text = table.rows[r][c];
            if (!detail[r] || text.trimmed().isEmpty())
                continue;
            any = true;
            numbers = numbers && plainNumber(text).has_value();
            dates = dates && isoDate(text).has_value();
        }
        const CsvTable::Kind kind = !any      ? CsvTable::Kind::Text
                                    : numbers ? CsvTable::Kind::Amount
                                    : dates   ? CsvTable::Kind::Date
                                              : CsvTable::Kind::Text;
        table.kinds << kind;
        if (kind == CsvTable::Kind::Text)
            continue;
        for (QStringList& row : table.rows) {
            const auto value =
                kind == CsvTable::Kind::Amount ? plainNumber(row[c]) : isoDate(row[c]);
            if (value)
                row[c] = *value;
        }
    }
    return table;
}
