#pragma once

#include "platform/Variant.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

// A report file as read: what the report shows of the rows of the stored query
// crys_Default, in which order, grouped how, and with which totals. The file
// is plain text that a person can read and change; the format is described
// at the top of db/reports/Transactions by category.report.

// How a value becomes text on a report.
struct ValueFormat
{
    enum class Kind
    {
        Text,   // as it is
        Date,   // pattern of d, dd, M, MM, MMM, yy, yyyy and separators
        Number, // pattern like "0", "0.##", "#,##0.00"
        Money,  // "#,##0.00", taken to the cent as read (ProgramLocale::toCents),
                // so that every printed total is the sum of the printed
                // amounts above it; the only kind that adds up
        YesNo,  // a Boolean as one of two texts
    };
    Kind kind = Kind::Text;
    QString pattern;
    QString yes = QStringLiteral("Yes");
    QString no = QStringLiteral("No");

    // Null (and Empty) give "". A value that does not convert to the kind
    // gives its text unchanged, so a report never fails on one odd row.
    QString apply(const Variant& value) const;
};

// A text with placeholders, read once when the file is parsed:
//   {Field}  {Field:format}  the field of the first row in scope
//   {min Field}  {max Field}  the smallest and largest value in scope
//   {count}   the number of rows in scope
//   {page}  {pages}   the page number and the page count (page footer only)
//   {period}  the dates the report was asked for ("from 01/Nov/2026")
// A format is written as in a column line without quotes: "date dd/MMM/yyyy",
// "number 0.##", "money", "text", "yesno received/paid out". "{{" and "}}"
// stand for braces.
struct TextTemplate
{
    struct Part
    {
        enum class Kind
        {
            Literal,
            First,
            Min,
            Max,
            Count,
            Page,
            Pages,
            Period
        };
        Kind kind = Kind::Literal;
        QString text; // the literal, or the field name
        bool hasFormat = false;
        ValueFormat format;
    };
    QList<Part> parts;

    bool isEmpty() const { return parts.isEmpty(); }
    bool usesPageNumbers() const;
    QStringList fields() const;
};

struct ReportColumn
{
    QString caption;
    // The fields whose values the column shows; more than one only for money,
    // where the column shows their sum ("TotalPrice + VatAmount").
    QStringList fields;
    ValueFormat format;
    int width = 10;     // share of the line; characters in the plain-text form
    bool right = false; // numbers and money stand right, everything else left
    bool total = false; // summed in group footers and summary lines (money only)
    bool count = false; // no field: the number of rows in footers and summaries
};

struct SortKey
{
    QString field;
    bool descending = false;
};

struct ReportGroup
{
    SortKey key;
    TextTemplate header;    // empty: no header line
    TextTemplate footer;    // a label before the totals; empty: see footerRow
    bool footerRow = false; // the footer is a row of the columns: the group's
                            // first values and its totals
    bool hasFooter() const { return footerRow || !footer.isEmpty(); }
};

struct SummaryLine
{
    enum class Mode
    {
        All,    // every row
        If,     // rows where the field is True
        IfNot,  // rows where the field is False or Null
        Signed, // every row, added when the field is True, subtracted otherwise
    };
    TextTemplate label;
    Mode mode = Mode::All;
    QString field;
};

struct ReportDefinition
{
    QString title;
    bool landscape = false;
    int fontSize = 9; // points
    QList<TextTemplate> pageHeaders;
    TextTemplate pageFooter;
    QList<ReportColumn> columns;
    QList<SortKey> sort; // after the group keys
    QList<ReportGroup> groups;
    bool details = true;
    QList<SummaryLine> summaries;
    QString emptyText;

    // Every field the report reads, each once, in the order first named.
    QStringList fields() const;
    // The position of the first column with a total or a count; columns.size()
    // when none.
    int firstTotalColumn() const;
};

// A report file that cannot be used: where and why, in words for the user.
class ReportFileError final : public std::runtime_error
{
public:
    ReportFileError(int line, const QString& message);
    int line() const { return m_line; }
    QString message() const { return m_message; }
    // "line 12: ..." (or the message alone when it concerns the whole file).
    QString text() const;

private:
    int m_line;
    QString m_message;
};

// Reads the text of a report file; raises ReportFileError.
ReportDefinition ParseReportFile(const QString& text);
// Reads a report file from disk (UTF-8); raises ReportFileError with line 0
// when the file cannot be read.
ReportDefinition LoadReportFile(const QString& path);
