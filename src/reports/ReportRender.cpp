#include "reports/ReportRender.h"

#include "platform/VbError.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QMarginsF PageMargins(15, 12, 15, 12); // millimetres

// Blank space between two columns, in layout units (points).
constexpr double ColumnGap = 6.0;
// How far a nested group's header stands in.
constexpr double LevelIndent = 10.0;

} // namespace

TextWidths::TextWidths(const QFont& font) : m_metrics(font)
{
    for (int c = 0x20; c < 256; ++c)
        m_latin1[c] = m_metrics.horizontalAdvance(QChar(c));
}

double TextWidths::width(const QString& text) const
{
    double sum = 0;
    for (const QChar c : text) {
        if (c.unicode() >= 256)
            return m_metrics.horizontalAdvance(text);
        sum += m_latin1[c.unicode()];
    }
    return sum;
}

QString TextWidths::fitted(const QString& text, double available) const
{
    if (width(text) <= available)
        return text;
    return m_metrics.elidedText(text, Qt::ElideRight, available);
}

ReportPages::ReportPages(const ReportResult& result, const QPageLayout& layout) : m_result(result)
{
    const QRectF paint = layout.paintRect(QPageLayout::Point);
    m_width = paint.width() * UnitsPerInch / 72.0;
    m_height = paint.height() * UnitsPerInch / 72.0;

    m_normal = std::make_unique<TextWidths>(font(Face::Normal));
    m_bold = std::make_unique<TextWidths>(font(Face::Bold));
    m_italic = std::make_unique<TextWidths>(font(Face::Italic));
    m_lineHeight = m_bold->metrics().lineSpacing();
    m_ascent = m_bold->metrics().ascent();

    const std::vector<double> columnWidth = columnWidths();
    m_columnLeft.push_back(0.0);
    for (const double width : columnWidth)
        m_columnLeft.push_back(m_columnLeft.back() + width);

    m_footerHeight = QFontMetricsF(font(Face::Normal, -1)).lineSpacing() * 2.0;
    buildHeader();
    m_bodyHeight = std::max(m_height / 3, m_height - m_bodyTop - m_footerHeight);
    paginate();
}

ReportPages::~ReportPages() = default;

std::vector<double> ReportPages::columnWidths() const
{
    const QList<ReportOutputColumn>& columns = m_result.columns;
    const int count = int(columns.size());
    int weights = 0;
    for (const ReportOutputColumn& column : columns)
        weights += column.width;
    std::vector<double> width(count);
    for (int c = 0; c < count; ++c)
        width[c] = m_width * columns[c].width / std::max(1, weights);

    // What each whole column needs: its widest text in the face it is drawn
    // in (totals bold), with the gaps that paintCells leaves at its sides.
    std::vector<double> needed(count, 0.0);
    auto measure = [&](int c, const QString& text, Face face) {
        if (columns[c].whole && !text.isEmpty())
            needed[c] = std::max(needed[c], widths(face).width(text));
    };
    for (int c = 0; c < count; ++c)
        measure(c, columns[c].caption, Face::Bold);
    for (const ReportLine& line : m_result.lines) {
        if (line.kind == ReportLine::Kind::GroupHeader || line.kind == ReportLine::Kind::Message)
            continue;
        const Face face = faceOf(line);
        const int span = std::max(1, line.span);
        if (span == 1 && count > 0)
            measure(0, line.cells.value(0), face);
        for (int c = span; c < count; ++c)
            measure(c, line.cells.value(c), face);
    }
    double total = 0;
    for (int c = 0; c < count; ++c) {
        if (needed[c] > 0) {
            // Half a point more, so that a text measured exactly never meets
            // a rounding of the sum below.
            needed[c] +=
                (c > 0 ? ColumnGap / 2 : 0.0) + (c < count - 1 ? ColumnGap / 2 : 0.0) + 0.5;
            width[c] = std::max(width[c], needed[c]);
        }
        total += width[c];
    }

    // The line got wider: the text columns give up the room, down to a few
    // characters each, in proportion to what they have above that; then the
    // whole columns what they have above their texts.
    double excess = total - m_width;
    const double textFloor = widths(Face::Normal).width(QStringLiteral("MMMM")) + ColumnGap;
    auto give = [&](const std::vector<double>& least) {
        double spare = 0;
        for (int c = 0; c < count; ++c)
            spare += std::max(0.0, width[c] - least[c]);
        if (excess <= 0 || spare <= 0)
            return;
        const double share = std::min(1.0, excess / spare);
        for (int c = 0; c < count; ++c) {
            const double cut = std::max(0.0, width[c] - least[c]) * share;
            width[c] -= cut;
            excess -= cut;
        }
    };
    std::vector<double> least(count);
    for (int c = 0; c < count; ++c)
        least[c] = columns[c].whole ? width[c] : std::min(width[c], textFloor);
    give(least);
    for (int c = 0; c < count; ++c)
        least[c] = columns[c].whole ? needed[c] : width[c];
    give(least);
    return width;
}

QFont ReportPages::font(Face face, double pointsMore) const
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    // Layout units are points, so a size in pixels is a size in points here,
    // and the painter's scale takes it to the device once.
    f.setPixelSize(qRound(m_result.fontSize + pointsMore));
    f.setBold(face == Face::Bold);
    f.setItalic(face == Face::Italic);
    // Unhinted, unshaped: a text measures alike at every resolution, as the
    // sum of its characters.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

const TextWidths& ReportPages::widths(Face face) const
{
    switch (face) {
    case Face::Bold:
        return *m_bold;
    case Face::Italic:
        return *m_italic;
    case Face::Normal:
        break;
    }
    return *m_normal;
}

ReportPages::Face ReportPages::faceOf(const ReportLine& line) const
{
    if (line.kind == ReportLine::Kind::Message)
        return Face::Italic;
    return line.bold() ? Face::Bold : Face::Normal;
}

void ReportPages::buildHeader()
{
    m_header = std::make_unique<QTextDocument>();
    m_header->setUndoRedoEnabled(false);
    m_header->setDocumentMargin(0);
    m_header->setDefaultFont(font(Face::Normal));
    m_header->setTextWidth(m_width);
    QTextCursor cursor(m_header.get());
    QTextCharFormat title;
    title.setFont(font(Face::Bold, 5));
    QTextBlockFormat titleBlock;
    titleBlock.setBottomMargin(m_lineHeight * 0.2);
    cursor.setBlockFormat(titleBlock);
    cursor.setCharFormat(title);
    cursor.insertText(m_result.title);
    QTextCharFormat normal;
    normal.setFont(font(Face::Normal));
    for (const QString& header : m_result.pageHeaders) {
        cursor.insertBlock(QTextBlockFormat(), normal);
        cursor.insertText(header);
    }
    // However many header lines a report file asks for, at least a third of
    // the page stays for its rows.
    m_headerHeight = std::min(m_header->documentLayout()->documentSize().height(), m_height / 3);
    m_captionsTop = m_headerHeight + m_lineHeight * 0.6;
    m_bodyTop = m_captionsTop + m_lineHeight * 1.6;
}

void ReportPages::paginate()
{
    const QList<ReportLine>& lines = m_result.lines;
    const int count = int(lines.size());
    m_lineTop.assign(count, 0.0);
    m_pageStart = {0};

    auto gapBefore = [this](const ReportLine& line) {
        if (line.kind == ReportLine::Kind::GroupHeader)
            return m_lineHeight * (line.level == 0 ? 0.7 : 0.3);
        return 0.0;
    };
    int summaries = 0;
    for (int i = 0; i < count; ++i) {
        if (lines[i].kind == ReportLine::Kind::Summary) {
            if (m_ruleBefore < 0)
                m_ruleBefore = i;
            ++summaries;
        }
    }

    double y = 0;
    double pendingGap = 0;
    for (int i = 0; i < count; ++i) {
        const ReportLine& line = lines[i];
        double gap = pendingGap + gapBefore(line);
        if (i == m_ruleBefore)
            gap += m_lineHeight * 0.8; // room for the rule over the summaries
        double needed = gap + m_lineHeight;
        // A group header goes with the line after it; the summaries go
        // together when a page can hold them at all.
        if (line.kind == ReportLine::Kind::GroupHeader && i + 1 < count)
            needed += m_lineHeight;
        if (i == m_ruleBefore && gap + summaries * m_lineHeight <= m_bodyHeight)
            needed = gap + summaries * m_lineHeight;
        if (y > 0 && y + needed > m_bodyHeight) {
            m_pageStart.push_back(i);
            y = 0;
        }
        if (y == 0)
            gap = 0; // no blank space at the top of a page
        m_lineTop[i] = y + gap;
        y += gap + m_lineHeight;
        pendingGap = (line.kind == ReportLine::Kind::GroupFooter && line.level == 0)
                         ? m_lineHeight * 0.4
                         : 0.0;
    }
}

void ReportPages::paintCells(QPainter& painter, const ReportLine& line, double y) const
{
    const TextWidths& measure = widths(faceOf(line));
    const int columns = int(m_result.columns.size());
    if (line.kind == ReportLine::Kind::GroupHeader || line.kind == ReportLine::Kind::Message) {
        const double indent = line.level * LevelIndent;
        painter.drawText(QPointF(indent, y), measure.fitted(line.cells.value(0), m_width - indent));
        return;
    }
    auto draw = [&](const QString& text, int first, int last, bool right) {
        if (text.isEmpty())
            return;
        const double left = m_columnLeft[first] + (first == 0 ? 0.0 : ColumnGap / 2);
        const double end = m_columnLeft[last + 1] - (last == columns - 1 ? 0.0 : ColumnGap / 2);
        const QString shown = measure.fitted(text, end - left);
        const double x = right ? end - measure.width(shown) : left;
        painter.drawText(QPointF(x, y), shown);
    };
    const int span = std::max(1, line.span);
    draw(line.cells.value(0), 0, span - 1, span == 1 && m_result.columns[0].right);
    for (int c = span; c < columns; ++c)
        draw(line.cells.value(c), c, c, m_result.columns[c].right);
}

void ReportPages::paintPage(QPainter& painter, int page) const
{
    painter.save();
    painter.setPen(QPen(Qt::black, 0.5));

    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    context.clip = QRectF(0, 0, m_width, m_headerHeight);
    painter.save();
    painter.setClipRect(context.clip);
    m_header->documentLayout()->draw(&painter, context);
    painter.restore();

    QStringList captions;
    for (const ReportOutputColumn& column : m_result.columns)
        captions << column.caption;
    painter.setFont(font(Face::Bold));
    paintCells(painter, ReportLine{ReportLine::Kind::GroupFooter, 0, 1, captions},
               m_captionsTop + m_ascent);
    const double captionRule = m_captionsTop + m_lineHeight * 1.15;
    painter.drawLine(QPointF(0, captionRule), QPointF(m_width, captionRule));

    const int first = m_pageStart[page - 1];
    const int end = page < pageCount() ? m_pageStart[page] : int(m_result.lines.size());
    const QFont faces[] = {font(Face::Normal), font(Face::Bold), font(Face::Italic)};
    int current = -1;
    for (int i = first; i < end; ++i) {
        const ReportLine& line = m_result.lines[i];
        const int face = int(faceOf(line));
        if (face != current) {
            painter.setFont(faces[face]);
            current = face;
        }
        const double top = m_bodyTop + m_lineTop[i];
        if (i == m_ruleBefore && m_lineTop[i] > 0)
            painter.drawLine(QPointF(0, top - m_lineHeight * 0.4),
                             QPointF(m_width, top - m_lineHeight * 0.4));
        paintCells(painter, line, top + m_ascent);
    }

    const double footerTop = m_height - m_footerHeight;
    painter.drawLine(QPointF(0, footerTop + m_footerHeight * 0.2),
                     QPointF(m_width, footerTop + m_footerHeight * 0.2));
    painter.setFont(font(Face::Normal, -1));
    const QRectF text(0, footerTop + m_footerHeight * 0.3, m_width, m_footerHeight * 0.7);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, m_result.title);
    painter.drawText(text, Qt::AlignRight | Qt::AlignTop,
                     m_result.pageFooterText(page, pageCount()));
    painter.restore();
}

bool PrintReport(const ReportResult& result, QPrinter& printer)
{
    printer.setPageOrientation(result.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(PageMargins, QPageLayout::Millimeter);
    const ReportPages pages(result, printer.pageLayout());
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double scale = painter.device()->logicalDpiX() / ReportPages::UnitsPerInch;
    painter.scale(scale, scale);

    int first = 1;
    int last = pages.pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(first, printer.fromPage());
        last = std::min(last, printer.toPage() > 0 ? printer.toPage() : last);
    }
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        pages.paintPage(painter, page);
    }
    return painter.end();
}

void WritePdf(const ReportResult& result, const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(result.title);
    printer.setCreator(QStringLiteral("Zantoro"));
    if (!PrintReport(result, printer) || !QFileInfo(path).isFile())
        throw VbError(VbErr::PathFileAccess, path);
}
