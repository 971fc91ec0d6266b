#pragma once

#include "reports/ReportDefinition.h"
#include "reports/ReportPeriod.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

class Ledger;
class Recordset;

// One line of a report with its texts final. Detail and footer rows carry one
// text per column. A label line (a group footer or a summary with a label) has
// its label in cells[0], standing over the first `span` columns, and the texts
// of the remaining columns in cells[span..]. Headers and messages carry one
// text in cells[0] that stands over the whole line.
struct ReportLine
{
    enum class Kind
    {
        GroupHeader,
        Detail,
        GroupFooter,
        Summary,
        Message
    };
    Kind kind = Kind::Detail;
    int level = 0; // the group's depth for headers and footers, 0 outermost
    int span = 1;
    QStringList cells;
    // A group footer that is a row of the columns (a line per category in a
    // summary report) reads as a row, not as a total.
    bool row = false;
    bool bold() const { return !row && kind != Kind::Detail && kind != Kind::Message; }
};

struct ReportOutputColumn
{
    QString caption;
    int width = 10;
    bool right = false;
    // Figures (money, numbers, counts) are never cut: the column is made as
    // wide as its widest text, on paper and in the plain-text form.
    bool whole = false;
};

// What a report knows besides its rows: the period it was asked for, and
// fields that hold one value for the whole report (the business's Name and
// VATNr), which the headers show even when the period has no rows.
struct ReportContext
{
    ReportPeriod period;
    QHash<QString, Variant> fields; // by field name in lower case

    void setField(const QString& name, const Variant& value)
    {
        fields.insert(name.toLower(), value);
    }
};

// The context of a report over the rows of one business: its BusinessId,
// Name and VATNr, and the period. Raises VbError 3021 when there is no
// business of that id.
ReportContext BusinessReportContext(Ledger& ledger, qint64 businessId, const ReportPeriod& period);

// A report run over its rows, ready for paper or for plain text.
struct ReportResult
{
    QString title;
    QString business; // the Name of the context, "" when none was given
    ReportPeriod period;
    bool landscape = false;
    int fontSize = 9;
    QStringList pageHeaders;
    TextTemplate pageFooter; // only {page} and {pages}, filled in per page
    QList<ReportOutputColumn> columns;
    QList<ReportLine> lines;
    qint64 rowCount = 0;

    QString pageFooterText(int page, int pages) const;
    // The report as fixed-width text: the title and page headers once, the
    // column captions, then every line, each column as many characters wide as
    // its width (longer texts cut; a whole column widened to its longest
    // text), lines without trailing blanks.
    QString toPlainText() const;
};

// The rows do not fit the report file: a field it names is not in the query.
class ReportDataError final : public std::runtime_error
{
public:
    explicit ReportDataError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Reads every row of `rows` from where it stands to its end and builds the
// report: rows sorted by the group keys and then the sort keys (stable, so
// rows that tie keep the query's order), grouped, money taken to the cent and
// added in Currency. A field of the context stands for the rows' own where a
// text is taken over no rows. Raises ReportDataError for a field the rows
// lack, and VbError for a store failure or a total out of the Currency range (6).
ReportResult BuildReport(const ReportDefinition& definition, Recordset& rows,
                         const ReportContext& context = {});
