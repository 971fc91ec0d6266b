#pragma once

#include <QAbstractTableModel>
#include <QFont>

#include <vector>

// Storage of a FlexGrid, shown through a QTableView: grid row r and column c
// (fixed row and column included) appear as view row r - 1 and column c - 1,
// the fixed row 0 as the horizontal header and the fixed column 0 as the
// vertical header. Only FlexGrid uses this class.
//
// While suspended (the grid's redraw off) the model changes its cells without
// telling the view and keeps reporting the shape the view last saw, so the
// view stays consistent; resume() publishes everything with one reset.
class FlexGridModel final : public QAbstractTableModel
{
public:
    struct Cell
    {
        QString text;
        qint32 color = -1; // -1: default text colour
        bool bold = false;
    };

    explicit FlexGridModel(QObject* parent = nullptr);

    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    const Cell& cell(int row, int col) const { return m_cells[size_t(row) * m_cols + col]; }
    qint64 rowData(int row) const { return m_rowData[size_t(row)]; }
    int width(int col) const { return m_widths[size_t(col)]; }
    int alignment(int col) const { return m_alignments[size_t(col)]; }

    void setRows(int rows);
    void setCols(int cols);
    void clear();
    void setText(int row, int col, const QString& text);
    void setColor(int row, int col, qint32 color);
    void setBold(int row, int col, bool bold);
    void setRowData(int row, qint64 value) { m_rowData[size_t(row)] = value; }
    void setWidth(int col, int twips) { m_widths[size_t(col)] = twips; }
    void setAlignment(int col, int code);
    // Inserts an empty row at index (0..rows()) with the given texts from
    // column 0 on.
    void insertRow(int index, const QStringList& texts);
    void removeRow(int index);

    bool suspended() const { return m_suspended; }
    void suspend() { m_suspended = true; }
    void resume();

    void setBoldFont(const QFont& font) { m_boldFont = font; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static constexpr int DefaultWidth = 960; // twips
    static constexpr int GeneralAlignment = 9;

private:
    Cell& at(int row, int col) { return m_cells[size_t(row) * m_cols + col]; }
    QVariant cellData(int row, int col, int role) const;
    void notifyCell(int row, int col);

    int m_rows = 0;
    int m_cols = 0;
    std::vector<Cell> m_cells; // row-major, m_rows * m_cols
    std::vector<qint64> m_rowData;
    std::vector<int> m_widths;
    std::vector<int> m_alignments;
    int m_viewRows = 0; // the shape the view knows
    int m_viewCols = 0;
    bool m_suspended = false;
    QFont m_boldFont;
};
