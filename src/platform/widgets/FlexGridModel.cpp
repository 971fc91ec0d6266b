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
    packOpenRow();
    if (rows < m_rows)
        dropStyles(rows, m_cols);
    m_texts.resize(size_t(rows));
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
    packOpenRow();
    if (!m_suspended)
        beginResetModel();
    for (CompactRow& row : m_texts)
        row.resize(m_cols, cols);
    dropStyles(m_rows, cols);
    m_cols = cols;
    m_widths.resize(size_t(cols), DefaultWidth);
    m_alignments.resize(size_t(cols), GeneralAlignment);
    m_fitLengths.resize(size_t(cols), -1);
    m_wholeTexts.resize(size_t(cols));
    if (!m_suspended) {
        m_viewCols = viewCount(cols);
        endResetModel();
    }
}

void FlexGridModel::clear()
{
    packOpenRow();
    for (CompactRow& row : m_texts)
        row.clear();
    m_styles.clear();
    for (int& length : m_fitLengths)
        length = std::min(length, 0);
    if (m_suspended)
        return;
    if (m_viewRows > 0 && m_viewCols > 0)
        emit dataChanged(index(0, 0), index(m_viewRows - 1, m_viewCols - 1));
    if (m_viewCols > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_viewCols - 1);
    if (m_viewRows > 0)
        emit headerDataChanged(Qt::Vertical, 0, m_viewRows - 1);
}

void FlexGridModel::openRow(int row)
{
    packOpenRow();
    m_openTexts.resize(size_t(m_cols));
    const CompactRow& packed = m_texts[size_t(row)];
    for (int c = 0; c < m_cols; ++c)
        m_openTexts[size_t(c)] = packed.isEmpty() ? QString() : packed.text(c, m_cols);
    m_openRow = row;
}

void FlexGridModel::packOpenRow()
{
    if (m_openRow < 0)
        return;
    m_texts[size_t(m_openRow)].assign(m_openTexts.data(), m_cols);
    m_openRow = -1;
}

void FlexGridModel::setFitsNumbers(int col, bool on)
{
    if (!on) {
        m_fitLengths[size_t(col)] = -1;
        return;
    }
    int longest = 0;
    for (int r = 1; r < m_rows; ++r)
        longest = std::max(longest, int(text(r, col).size()));
    m_fitLengths[size_t(col)] = longest;
}

qint32 FlexGridModel::color(int row, int col) const
{
    const auto it = m_styles.find({row, col});
    return it == m_styles.end() ? -1 : it->second.color;
}

bool FlexGridModel::bold(int row, int col) const
{
    const auto it = m_styles.find({row, col});
    return it != m_styles.end() && it->second.bold;
}

void FlexGridModel::setText(int row, int col, const QString& text)
{
    storeText(row, col, text);
    notifyCell(row, col);
}

void FlexGridModel::storeText(int row, int col, const QString& text)
{
    if (row != m_openRow)
        openRow(row);
    m_openTexts[size_t(col)] = text;
    if (row >= 1 && m_fitLengths[size_t(col)] >= 0)
        m_fitLengths[size_t(col)] = std::max(m_fitLengths[size_t(col)], int(text.size()));
}

void FlexGridModel::setColor(int row, int col, qint32 color)
{
    setStyle(row, col, {color, bold(row, col)});
    notifyCell(row, col);
}

void FlexGridModel::setBold(int row, int col, bool bold)
{
    setStyle(row, col, {color(row, col), bold});
    notifyCell(row, col);
}

void FlexGridModel::setStyle(int row, int col, Style style)
{
    if (style.color == -1 && !style.bold)
        m_styles.erase({row, col});
    else
        m_styles[{row, col}] = style;
}

void FlexGridModel::shiftStyles(int first, int delta)
{
    std::map<CellKey, Style> shifted;
    for (auto it = m_styles.lower_bound({first, 0}); it != m_styles.end();) {
        shifted.emplace(CellKey{it->first.first + delta, it->first.second}, it->second);
        it = m_styles.erase(it);
    }
    m_styles.merge(shifted);
}

void FlexGridModel::dropStyles(int rows, int cols)
{
    for (auto it = m_styles.begin(); it != m_styles.end();) {
        if (it->first.first >= rows || it->first.second >= cols)
            it = m_styles.erase(it);
        else
            ++it;
    }
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
    packOpenRow();
    m_texts.insert(m_texts.begin() + row, CompactRow());
    m_rowData.insert(m_rowData.begin() + row, 0);
    shiftStyles(row, 1);
    ++m_rows;
    const int n = std::min(int(texts.size()), m_cols);
    for (int c = 0; c < n; ++c)
        storeText(row, c, texts.at(c));
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
    packOpenRow();
    m_texts.erase(m_texts.begin() + row);
    m_rowData.erase(m_rowData.begin() + row);
    m_styles.erase(m_styles.lower_bound({row, 0}), m_styles.lower_bound({row + 1, 0}));
    shiftStyles(row + 1, -1);
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
    switch (role) {
    case Qt::DisplayRole:
        return text(row, col);
    case Qt::ForegroundRole: {
        const qint32 c = color(row, col);
        if (c < 0)
            return {};
        return QBrush(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    }
    case Qt::FontRole:
        return bold(row, col) ? QVariant(m_boldFont) : QVariant();
    case Qt::TextAlignmentRole:
        return int(alignmentFor(alignment(col), text(row, col)));
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
