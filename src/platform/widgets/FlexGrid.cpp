#include "platform/widgets/FlexGrid.h"

#include "platform/VbError.h"
#include "platform/widgets/Contrast.h"
#include "platform/widgets/FlexGridModel.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/Twips.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Paints the cells and the cell cursor over the current cell: a light tint
// of the highlight colour under the text and a frame in it while the grid has
// the focus, a thin dotted frame without it. A cell keeps the hue of its own
// text colour (a red or blue balance), but its text is painted light or dark
// enough to read on the background it actually has, whatever the palette.
class CursorDelegate final : public QStyledItemDelegate
{
public:
    explicit CursorDelegate(FlexGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const bool current =
            index.row() + 1 == m_grid->Row() && index.column() + 1 == m_grid->Col();
        // The colour group the style paints the text in.
        const QPalette::ColorGroup group =
            !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
            : (cell.state & QStyle::State_Active) ? QPalette::Active
                                                  : QPalette::Inactive;
        QColor background = cell.palette.color(
            group, cell.features & QStyleOptionViewItem::Alternate ? QPalette::AlternateBase
                                                                   : QPalette::Base);
        if (cell.backgroundBrush.style() == Qt::SolidPattern)
            background = cell.backgroundBrush.color();
        if (current && m_grid->hasFocus()) {
            background = tinted(background, cell.palette.color(group, QPalette::Highlight));
            cell.backgroundBrush = background;
        }
        cell.palette.setColor(
            group, QPalette::Text,
            Contrast::readable(cell.palette.color(group, QPalette::Text), background));
        const QWidget* widget = cell.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        if (!current)
            return;
        painter->save();
        const QRect r = option.rect.adjusted(1, 1, -1, -1);
        if (m_grid->hasFocus())
            painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
        else
            painter->setPen(QPen(option.palette.color(QPalette::Text), 1, Qt::DotLine));
        painter->drawRect(r.adjusted(0, 0, -1, -1));
        painter->restore();
    }

private:
    // The highlight colour laid over a background at a fifth of its strength.
    static QColor tinted(const QColor& background, const QColor& highlight)
    {
        constexpr double strength = 48.0 / 255.0;
        auto mix = [](double under, double over) { return under + (over - under) * strength; };
        const QColor mixed = QColor::fromRgbF(float(mix(background.redF(), highlight.redF())),
                                              float(mix(background.greenF(), highlight.greenF())),
                                              float(mix(background.blueF(), highlight.blueF())));
        return QColor::fromRgb(mixed.rgb()); // as painted: 8 bits a channel
    }

    FlexGrid* m_grid;
};

} // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), m_model(new FlexGridModel(this))
{
    QFont bold = font();
    bold.setBold(true);
    m_model->setBoldFont(bold);
    setModel(m_model);
    setItemDelegate(new CursorDelegate(this));

    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::StrongFocus);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setAutoScroll(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    const int rowHeight = rowHeightPixels();
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setMinimumSectionSize(0);
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setStretchLastSection(false);
    }
    verticalHeader()->setDefaultSectionSize(rowHeight);
    horizontalHeader()->setFixedHeight(rowHeight);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The shape of a new grid: the title row, one row under it, two columns.
    m_model->setCols(2);
    m_model->setRows(2);
    applyAllColumns();
}

FlexGrid::~FlexGrid() = default;

void FlexGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        applyFont();
}

void FlexGrid::applyFont()
{
    QFont bold = font();
    bold.setBold(true);
    m_model->setBoldFont(bold);
    const int rowHeight = rowHeightPixels();
    verticalHeader()->setDefaultSectionSize(rowHeight);
    horizontalHeader()->setFixedHeight(rowHeight);
    if (!m_redraw) {
        m_wholeChangedWhileOff = true;
        return;
    }
    applyAllColumns();
    emit NumberWidthsChanged();
}

int FlexGrid::rowHeightPixels() const
{
    // Room for the text and the editors that float over a cell.
    return std::max(Twips::toPixels(240), fontMetrics().height() + 8);
}

void FlexGrid::checkRow(int row) const
{
    if (row < 0 || row >= m_model->rows())
        throw VbError(VbErr::SubscriptOutOfRange);
}

void FlexGrid::checkCol(int col) const
{
    if (col < 0 || col >= m_model->cols())
        throw VbError(VbErr::SubscriptOutOfRange);
}

int FlexGrid::Rows() const
{
    return m_model->rows();
}

void FlexGrid::setRows(int rows)
{
    if (rows < 0)
        throw VbError(VbErr::InvalidPropertyValue);
    m_model->setRows(rows);
    m_row = std::clamp(m_row, 0, std::max(0, rows - 1));
}

int FlexGrid::Cols() const
{
    return m_model->cols();
}

void FlexGrid::setCols(int cols)
{
    if (cols < 0)
        throw VbError(VbErr::InvalidPropertyValue);
    m_model->setCols(cols);
    m_col = std::clamp(m_col, 0, std::max(0, cols - 1));
    if (m_redraw)
        applyAllColumns();
}

void FlexGrid::Clear()
{
    const std::vector<int> before = m_redraw ? fitLengths() : std::vector<int>();
    m_model->clear();
    // The titles are gone: columns that showed theirs whole may narrow.
    bool narrowed = false;
    for (int c = 1; m_redraw && c < m_model->cols(); ++c) {
        if (!m_model->wholeTexts(c) || isColumnHidden(c - 1))
            continue;
        const int was = columnWidth(c - 1);
        applyColumn(c);
        narrowed = narrowed || columnWidth(c - 1) != was;
    }
    if (narrowed)
        emit NumberWidthsChanged();
    refitColumns(before);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    return m_model->text(row, col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    checkRow(row);
    checkCol(col);
    const int longest = m_model->fitLength(col);
    m_model->setText(row, col, text);
    if (m_redraw && m_model->fitLength(col) != longest) {
        applyColumn(col);
        emit NumberWidthsChanged();
    } else if (m_redraw && row == 0 && col > 0 && m_model->wholeTexts(col)) {
        const int before = columnWidth(col - 1);
        applyColumn(col);
        if (columnWidth(col - 1) != before)
            emit NumberWidthsChanged();
    }
}

QString FlexGrid::Text() const
{
    return TextMatrix(m_row, m_col);
}

void FlexGrid::setText(const QString& text)
{
    setTextMatrix(m_row, m_col, text);
}

qint64 FlexGrid::RowData(int row) const
{
    checkRow(row);
    return m_model->rowData(row);
}

void FlexGrid::setRowData(int row, qint64 value)
{
    checkRow(row);
    m_model->setRowData(row, value);
}

void FlexGrid::AddItem(const QString& item, int index)
{
    if (index == -1)
        index = m_model->rows();
    if (index < 0 || index > m_model->rows())
        throw VbError(VbErr::SubscriptOutOfRange);
    const QStringList texts =
        item.contains(QLatin1Char('\t')) ? item.split(QLatin1Char('\t')) : QStringList{item};
    const std::vector<int> before = m_redraw ? fitLengths() : std::vector<int>();
    m_model->insertRow(index, texts);
    refitColumns(before);
}

void FlexGrid::RemoveItem(int index)
{
    checkRow(index);
    if (m_model->rows() <= FixedRows + 1)
        throw VbError(VbErr::InvalidPropertyValue);
    const int old = m_row;
    m_model->removeRow(index);
    m_row = std::min(old, m_model->rows() - 1);
    if (index == 0 && m_redraw)
        applyAllColumns();
}

int FlexGrid::ColWidth(int col) const
{
    checkCol(col);
    const int set = m_model->width(col);
    const int least = set == 0 ? 0 : leastPixels(col);
    if (least == 0)
        return set;
    return std::max(set, Twips::fromPixels(least));
}

void FlexGrid::setColWidth(int col, int twips)
{
    checkCol(col);
    if (twips < 0)
        throw VbError(VbErr::InvalidPropertyValue);
    m_model->setWidth(col, twips);
    if (m_redraw)
        applyColumn(col);
}

int FlexGrid::ColAlignment(int col) const
{
    checkCol(col);
    return m_model->alignment(col);
}

void FlexGrid::setColAlignment(int col, int code)
{
    checkCol(col);
    if (code < 0 || code > FlexGridModel::GeneralAlignment)
        throw VbError(VbErr::InvalidPropertyValue);
    m_model->setAlignment(col, code);
}

qint32 FlexGrid::CellForeColor(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    return m_model->color(row, col);
}

void FlexGrid::setCellForeColor(int row, int col, qint32 color)
{
    checkRow(row);
    checkCol(col);
    m_model->setColor(row, col, color);
}

bool FlexGrid::CellFontBold(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    return m_model->bold(row, col);
}

void FlexGrid::setCellFontBold(int row, int col, bool bold)
{
    checkRow(row);
    checkCol(col);
    m_model->setBold(row, col, bold);
}

void FlexGrid::setRow(int row)
{
    checkRow(row);
    placeCursor(row, m_col);
}

void FlexGrid::setCol(int col)
{
    checkCol(col);
    placeCursor(m_row, col);
}

void FlexGrid::moveTo(int row, int col)
{
    checkRow(row);
    checkCol(col);
    userMove(row, col);
}

void FlexGrid::placeCursor(int row, int col)
{
    const int oldRow = m_row;
    const int oldCol = m_col;
    m_row = row;
    m_col = col;
    if (m_redraw) {
        updateCell(oldRow, oldCol);
        updateCell(row, col);
    }
}

void FlexGrid::updateCell(int row, int col)
{
    if (row >= 1 && col >= 1 && row < m_model->rows() && col < m_model->cols())
        viewport()->update(visualRect(m_model->index(row - 1, col - 1)));
}

void FlexGrid::userMove(int row, int col)
{
    if (row == m_row && col == m_col)
        return;
    QPointer<FlexGrid> alive(this);
    emit LeaveCell();
    if (!alive || m_model->rows() == 0 || m_model->cols() == 0)
        return;
    // The handler may have added or removed rows; the target stays where the
    // user aimed, as far as the grid still reaches.
    row = std::clamp(row, 0, m_model->rows() - 1);
    col = std::clamp(col, 0, m_model->cols() - 1);
    placeCursor(row, col);
    if (m_redraw && row >= 1 && col >= 1) {
        int shown = col;
        while (shown > 1 && isColumnHidden(shown - 1))
            --shown;
        if (!isColumnHidden(shown - 1))
            scrollTo(m_model->index(row - 1, shown - 1));
    }
    emit EnterCell();
}

int FlexGrid::TopRow() const
{
    if (!m_redraw)
        return m_pendingTopRow;
    return verticalScrollBar()->value() + FixedRows;
}

void FlexGrid::setTopRow(int row)
{
    if (m_model->rows() <= FixedRows)
        return;
    row = std::clamp(row, FixedRows, m_model->rows() - 1);
    if (!m_redraw) {
        m_pendingTopRow = row;
        return;
    }
    // The scroll range follows the rows only once the pending layout has run.
    executeDelayedItemsLayout();
    updateGeometries();
    verticalScrollBar()->setValue(row - FixedRows);
}

void FlexGrid::setRedraw(bool on)
{
    if (on == m_redraw)
        return;
    if (!on) {
        m_fitBeforeRedrawOff = fitLengths();
        m_pendingTopRow = TopRow();
        m_redraw = false;
        m_model->suspend();
        setUpdatesEnabled(false);
        return;
    }
    m_redraw = true;
    m_model->resume(); // the view forgets column sizes on a reset
    applyAllColumns();
    if (m_wholeChangedWhileOff) {
        m_wholeChangedWhileOff = false;
        emit NumberWidthsChanged();
    }
    refitColumns(m_fitBeforeRedrawOff);
    setTopRow(m_pendingTopRow);
    m_pendingTopRow = 0;
    setUpdatesEnabled(true);
    viewport()->update();
}

void FlexGrid::applyColumn(int col)
{
    const int px = Twips::toPixels(m_model->width(col));
    if (col == 0) {
        verticalHeader()->setVisible(px > 0);
        verticalHeader()->setFixedWidth(px > 0 ? std::max(px, leastPixels(0)) : 0);
        return;
    }
    // Shown first: the header measures the title of a shown section only.
    setColumnHidden(col - 1, px == 0);
    if (px > 0)
        setColumnWidth(col - 1, std::max(px, leastPixels(col)));
}

void FlexGrid::applyAllColumns()
{
    for (int c = 0; c < m_model->cols(); ++c)
        applyColumn(c);
}

QRect FlexGrid::cellRect(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    const QRect vp = viewport()->geometry();
    int x = 0;
    int width = 0;
    if (col == 0) {
        x = verticalHeader()->isVisible() ? verticalHeader()->geometry().x() : vp.x();
        width = shownColWidth(0);
    } else {
        // A hidden column stands where the next visible one to its left ends.
        int left = col;
        while (left > 1 && isColumnHidden(left - 1))
            --left;
        if (isColumnHidden(left - 1))
            x = vp.x() - horizontalScrollBar()->value();
        else if (left == col)
            x = vp.x() + columnViewportPosition(col - 1);
        else
            x = vp.x() + columnViewportPosition(left - 1) + columnWidth(left - 1);
        width = isColumnHidden(col - 1) ? 0 : columnWidth(col - 1);
    }
    int y = 0;
    int height = 0;
    if (row == 0) {
        y = horizontalHeader()->geometry().y();
        height = horizontalHeader()->height();
    } else {
        y = vp.y() + rowViewportPosition(row - 1);
        height = rowHeight(row - 1);
    }
    return {x, y, width, height};
}

int FlexGrid::CellLeft() const
{
    return Twips::fromPixels(cellRect(m_row, m_col).x());
}

int FlexGrid::CellTop() const
{
    return Twips::fromPixels(cellRect(m_row, m_col).y());
}

int FlexGrid::CellWidth() const
{
    return Twips::fromPixels(cellRect(m_row, m_col).width());
}

int FlexGrid::CellHeight() const
{
    return Twips::fromPixels(cellRect(m_row, m_col).height());
}

QPoint FlexGrid::cellAt(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return {-1, -1};
    return {index.column() + 1, index.row() + 1};
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    QPointer<FlexGrid> alive(this);
    emit KeyDown(virtualKeyCode(event), shiftState(event));
    if (!alive || !hasFocus())
        return;
    int code = characterCode(event);
    if (code != 0) {
        emit KeyPress(code);
        if (!alive || !hasFocus())
            return;
    }

    const int rows = m_model->rows();
    const int cols = m_model->cols();
    if (rows <= FixedRows || cols <= FixedCols)
        return;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int page = std::max(1, viewport()->height() / std::max(1, rowHeightPixels()) - 1);
    int row = std::max(m_row, int(FixedRows));
    int col = std::max(m_col, int(FixedCols));
    switch (event->key()) {
    case Qt::Key_Up:
        row -= 1;
        break;
    case Qt::Key_Down:
        row += 1;
        break;
    case Qt::Key_Left:
        col -= 1;
        break;
    case Qt::Key_Right:
        col += 1;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    case Qt::Key_Home:
        col = FixedCols;
        if (ctrl)
            row = FixedRows;
        break;
    case Qt::Key_End:
        col = cols - 1;
        if (ctrl)
            row = rows - 1;
        break;
    default:
        return;
    }
    event->accept();
    userMove(std::clamp(row, int(FixedRows), rows - 1), std::clamp(col, int(FixedCols), cols - 1));
}

void FlexGrid::mousePressEvent(QMouseEvent* event)
{
    // The focus has moved here already (GotFocus), before the cursor moves.
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() < FixedCols || cell.y() < FixedRows)
        return;
    userMove(cell.y(), cell.x());
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    event->accept(); // no drag selection
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() < FixedCols || cell.y() < FixedRows)
        return;
    if (cell.y() != m_row || cell.x() != m_col)
        userMove(cell.y(), cell.x());
    emit DblClick();
}

void FlexGrid::focusInEvent(QFocusEvent* event)
{
    // Skips the item view's own handling, which would pick a current index
    // of its own and scroll to it.
    QAbstractScrollArea::focusInEvent(event);
    updateCell(m_row, m_col);
    emit GotFocus();
}

void FlexGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    updateCell(m_row, m_col);
}
