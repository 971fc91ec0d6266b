#include "platform/widgets/FlexGridModel.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

namespace {

int viewCount(int gridCount)
{
    return std::max(0, gridCount - 1);
}

// Alignment code 9 puts numbers right: a text that reads as a number once the
// group separators are taken out.
bool looksNumeric(const QString& text)
{
    if (text.isEmpty())
        return false;
    bool ok = false;
    QString(text).remove(QLatin1Char(',')).trimmed().toDouble(&ok);
    return ok;
}

Qt::Alignment alignmentFor(int code, const QString& text)
{
    if (code < 0 || code > 8)
        return (looksNumeric(text) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    static constexpr Qt::AlignmentFlag horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter,
                                                       Qt::AlignRight};
    static constexpr Qt::AlignmentFlag vertical[] = {Qt::AlignTop, Qt::AlignVCenter,
                                                     Qt::AlignBottom};
    return horizontal[code / 3] | vertical[code % 3];
}

} // namespace

FlexGridModel::FlexGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void FlexGridModel::setRows(int rows)
{
    if (rows == m_rows)
        return;
    const int oldView = viewCount(m_rows);
    const int newView = viewCount(rows);
    const bool live = !m_suspended && oldView != newView;
    if (live && newView > oldView)
        beginInsertRows(QModelIndex(), oldView, newView - 1);
    else if (live)
        beginRemoveRows(QModelIndex(), newView, oldView - 1);
    m_cells.resize(size_t(rows) * m_cols);
    m_rowData.resize(size_t(rows), 0);
    m_rows = rows;
    if (!m_suspended)
        m_viewRows = newView;
    if (live && newView > oldView)
        endInsertRows();
    else if (live)
        endRemoveRows();
}

void FlexGridModel::setCols(int cols)
{
    if (cols == m_cols)
        return;
    std::vector<Cell> cells(size_t(m_rows) * cols);
    const int kept = std::min(cols, m_cols);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < kept; ++c)
            cells[size_t(r) * cols + c] = std::move(at(r, c));
    if (!m_suspended)
        beginResetModel();
    m_cells = std::move(cells);
    m_cols = cols;
    m_widths.resize(size_t(cols), DefaultWidth);
    m_alignments.resize(size_t(cols), GeneralAlignment);
    if (!m_suspended) {
        m_viewCols = viewCount(cols);
        endResetModel();
    }
}

void FlexGridModel::clear()
{
    std::fill(m_cells.begin(), m_cells.end(), Cell());
    if (m_suspended)
        return;
    if (m_viewRows > 0 && m_viewCols > 0)
        emit dataChanged(index(0, 0), index(m_viewRows - 1, m_viewCols - 1));
    if (m_viewCols > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_viewCols - 1);
    if (m_viewRows > 0)
        emit headerDataChanged(Qt::Vertical, 0, m_viewRows - 1);
}

void FlexGridModel::setText(int row, int col, const QString& text)
{
    at(row, col).text = text;
    notifyCell(row, col);
}

void FlexGridModel::setColor(int row, int col, qint32 color)
{
    at(row, col).color = color;
    notifyCell(row, col);
}

void FlexGridModel::setBold(int row, int col, bool bold)
{
    at(row, col).bold = bold;
    notifyCell(row, col);
}

void FlexGridModel::setAlignment(int col, int code)
{
    m_alignments[size_t(col)] = code;
    if (m_suspended || col == 0 || m_viewRows == 0)
        return;
    emit dataChanged(index(0, col - 1), index(m_viewRows - 1, col - 1));
    emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
}

void FlexGridModel::insertRow(int row, const QStringList& texts)
{
    // A row inserted above the title row changes what the headers show; the
    // view then starts afresh rather than tracking the shift.
    const bool live = !m_suspended && row >= 1;
    const bool reset = !m_suspended && row == 0;
    if (live)
        beginInsertRows(QModelIndex(), row - 1, row - 1);
    if (reset)
        beginResetModel();
    m_cells.insert(m_cells.begin() + ptrdiff_t(row) * m_cols, size_t(m_cols), Cell());
    m_rowData.insert(m_rowData.begin() + row, 0);
    ++m_rows;
    const int n = std::min(int(texts.size()), m_cols);
    for (int c = 0; c < n; ++c)
        at(row, c).text = texts.at(c);
    if (!m_suspended)
        m_viewRows = viewCount(m_rows);
    if (live)
        endInsertRows();
    if (reset)
        endResetModel();
}

void FlexGridModel::removeRow(int row)
{
    const bool live = !m_suspended && row >= 1;
    const bool reset = !m_suspended && row == 0;
    if (live)
        beginRemoveRows(QModelIndex(), row - 1, row - 1);
    if (reset)
        beginResetModel();
    const auto first = m_cells.begin() + ptrdiff_t(row) * m_cols;
    m_cells.erase(first, first + m_cols);
    m_rowData.erase(m_rowData.begin() + row);
    --m_rows;
    if (!m_suspended)
        m_viewRows = viewCount(m_rows);
    if (live)
        endRemoveRows();
    if (reset)
        endResetModel();
}

void FlexGridModel::resume()
{
    beginResetModel();
    m_suspended = false;
    m_viewRows = viewCount(m_rows);
    m_viewCols = viewCount(m_cols);
    endResetModel();
}

int FlexGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_viewRows;
}

int FlexGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_viewCols;
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    return cellData(index.row() + 1, index.column() + 1, role);
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal)
        return cellData(0, section + 1, role);
    return cellData(section + 1, 0, role);
}

QVariant FlexGridModel::cellData(int row, int col, int role) const
{
    // While suspended the view may ask for cells the storage no longer has.
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return {};
    const Cell& c = cell(row, col);
    switch (role) {
    case Qt::DisplayRole:
        return c.text;
    case Qt::ForegroundRole:
        if (c.color < 0)
            return {};
        return QBrush(QColor(c.color & 0xFF, (c.color >> 8) & 0xFF, (c.color >> 16) & 0xFF));
    case Qt::FontRole:
        return c.bold ? QVariant(m_boldFont) : QVariant();
    case Qt::TextAlignmentRole:
        return int(alignmentFor(alignment(col), c.text));
    default:
        return {};
    }
}

void FlexGridModel::notifyCell(int row, int col)
{
    if (m_suspended)
        return;
    if (row == 0 && col == 0)
        return; // the corner is not shown
    if (row == 0)
        emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    else if (col == 0)
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    else
        emit dataChanged(index(row - 1, col - 1), index(row - 1, col - 1));
}
