#pragma once

#include "reports/ReportData.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>

#include <array>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;
class QTextDocument;

// The width of texts in one font, quick for the Latin-1 texts that make up
// nearly every cell: the advances of those characters are looked up once, and
// the font does no shaping (no kerning, no ligatures), so a text is exactly as
// wide as its characters together. Other texts are measured by the font.
class TextWidths final
{
public:
    explicit TextWidths(const QFont& font);
    double width(const QString& text) const;
    // The text, cut with an ellipsis where it is wider than `available`.
    QString fitted(const QString& text, double available) const;
    const QFontMetricsF& metrics() const { return m_metrics; }

private:
    QFontMetricsF m_metrics;
    std::array<double, 256> m_latin1{};
};

// A report laid out on pages of one layout. Each page is topped by the title
// and the page headers (laid out by QTextDocument), the column captions and a
// rule, and ends with the page footer; in between stand the report's lines,
// each one line of text with every text cell cut to its column; figures are
// never cut (see columnWidths). Pages break between
// lines; a group header never stands last on a page, and the summary lines
// stay together when a page can hold them.
//
// Layout units are points (1/72 inch) whatever the device; paintPage expects a painter
// whose origin is the top-left of the page's paint rect and whose scale maps
// layout units to the device (see PrintReport). The result must outlive the
// pages laid out from it.
class ReportPages final
{
public:
    ReportPages(const ReportResult& result, const QPageLayout& layout);
    ~ReportPages();
    ReportPages(const ReportPages&) = delete;
    ReportPages& operator=(const ReportPages&) = delete;

    static constexpr double UnitsPerInch = 72.0;

    int pageCount() const { return int(m_pageStart.size()); }
    // page is 1-based.
    void paintPage(QPainter& painter, int page) const;
    // The first line (index into the result's lines) on a 1-based page.
    int firstLineOfPage(int page) const { return m_pageStart[page - 1]; }

private:
    enum class Face
    {
        Normal,
        Bold,
        Italic
    };
    QFont font(Face face, double pointsMore = 0) const;
    const TextWidths& widths(Face face) const;
    Face faceOf(const ReportLine& line) const;
    // Each column's width: its share of the line, except that a whole column
    // is as wide as its widest text, the text columns making the room.
    std::vector<double> columnWidths() const;
    void buildHeader();
    void paginate();
    // Draws one line of cells with its baseline at y.
    void paintCells(QPainter& painter, const ReportLine& line, double y) const;

    const ReportResult& m_result;
    double m_width = 0;
    double m_height = 0;
    double m_lineHeight = 0;
    double m_ascent = 0;
    double m_headerHeight = 0; // the title and page headers
    double m_captionsTop = 0;
    double m_bodyTop = 0;
    double m_footerHeight = 0;
    double m_bodyHeight = 0;
    std::vector<double> m_columnLeft; // one more than columns: the right end
    std::unique_ptr<TextWidths> m_normal;
    std::unique_ptr<TextWidths> m_bold;
    std::unique_ptr<TextWidths> m_italic;
    std::unique_ptr<QTextDocument> m_header;
    std::vector<int> m_pageStart;  // first line of each page
    std::vector<double> m_lineTop; // each line's top within its page's body
    int m_ruleBefore = -1;         // the line the rule over the summaries stands above
};

// Sets the printer's orientation and margins for the report (the paper stays
// as chosen) and paints every page, or the printer's page range. False when
// the printer cannot be painted on (a file that cannot be written, say).
bool PrintReport(const ReportResult& result, QPrinter& printer);

// Writes the report to a PDF file on A4; raises VbError 75 when the file
// cannot be written.
void WritePdf(const ReportResult& result, const QString& path);
