// Columns that fit their numbers or show texts whole: the width their longest
// number and their titles and known texts need, and applying it when it changes.

#include "platform/VbError.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/FlexGridModel.h"
#include "platform/widgets/Twips.h"

#include <QHeaderView>
#include <QStyleOptionHeader>

bool FlexGrid::ColFitsNumbers(int col) const
{
    checkCol(col);
    return m_model->fitsNumbers(col);
}

void FlexGrid::setColFitsNumbers(int col, bool on)
{
    checkCol(col);
    const int longest = m_model->fitLength(col);
    m_model->setFitsNumbers(col, on);
    if (m_redraw && m_model->fitLength(col) != longest) {
        applyColumn(col);
        emit NumberWidthsChanged();
    }
}

void FlexGrid::setColShowsWhole(int col, const QStringList& texts)
{
    checkCol(col);
    // The fixed column shows row numbers only; it fits them as numbers.
    if (col == 0)
        throw VbError(VbErr::InvalidPropertyValue);
    const std::optional<QStringList>& now = m_model->wholeTexts(col);
    if (now && *now == texts)
        return;
    m_model->setWholeTexts(col, texts);
    if (!m_redraw) {
        m_wholeChangedWhileOff = true;
        return;
    }
    const int before = columnWidth(col - 1);
    applyColumn(col);
    if (columnWidth(col - 1) != before)
        emit NumberWidthsChanged();
}

int FlexGrid::shownColWidth(int col) const
{
    checkCol(col);
    if (col == 0)
        return verticalHeader()->isVisible() ? verticalHeader()->width() : 0;
    return isColumnHidden(col - 1) ? 0 : columnWidth(col - 1);
}

std::vector<int> FlexGrid::fitLengths() const
{
    std::vector<int> lengths(size_t(m_model->cols()));
    for (int c = 0; c < m_model->cols(); ++c)
        lengths[size_t(c)] = m_model->fitLength(c);
    return lengths;
}

void FlexGrid::refitColumns(const std::vector<int>& before)
{
    if (!m_redraw)
        return;
    bool changed = false;
    for (int c = 0; c < m_model->cols(); ++c) {
        if (m_model->fitLength(c) != (c < int(before.size()) ? before[size_t(c)] : 0)) {
            applyColumn(c);
            changed = true;
        }
    }
    if (changed)
        emit NumberWidthsChanged();
}

int FlexGrid::fitPixels(int col) const
{
    const int length = m_model->fitLength(col);
    if (length == 0)
        return 0;
    // The widest digit stands for every character, so that no number of that
    // length (digits, group separators, a sign) can need more.
    auto widestDigit = [length](const QFontMetrics& metrics) {
        QChar widest = QLatin1Char('0');
        for (char d = '1'; d <= '9'; ++d)
            if (metrics.horizontalAdvance(QLatin1Char(d)) > metrics.horizontalAdvance(widest))
                widest = QLatin1Char(d);
        return QString(length, widest);
    };
    if (col == 0) {
        const QHeaderView* header = verticalHeader();
        QStyleOptionHeader option;
        option.initFrom(header);
        option.orientation = Qt::Vertical;
        option.section = 0;
        option.text = widestDigit(header->fontMetrics());
        return header->style()
            ->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header)
            .width();
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = widestDigit(option.fontMetrics);
    const int grid = showGrid() ? 1 : 0; // the grid line is drawn inside the column
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width() +
           grid;
}

int FlexGrid::wholePixels(int col) const
{
    const std::optional<QStringList>& texts = m_model->wholeTexts(col);
    if (col == 0 || !texts)
        return 0;
    // The title as the header paints it: its own font (bold), margins and frame.
    int least = std::max(0, horizontalHeader()->sectionSizeHint(col - 1));
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    const int grid = showGrid() ? 1 : 0;
    for (const QString& text : *texts) {
        option.text = text;
        least = std::max(
            least,
            style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width() +
                grid);
    }
    return least;
}

int FlexGrid::leastPixels(int col) const
{
    return std::max(m_model->fitsNumbers(col) ? fitPixels(col) : 0, wholePixels(col));
}
