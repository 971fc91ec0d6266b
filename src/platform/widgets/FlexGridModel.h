#pragma once

#include "platform/widgets/CompactRow.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QStringList>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// Storage of a FlexGrid, shown through a QTableView: grid row r and column c
// (fixed row and column included) appear as view row r - 1 and column c - 1,
// the fixed row 0 as the horizontal header and the fixed column 0 as the
// vertical header. Only FlexGrid uses this class.
//
// While suspended (the grid's redraw off) the model changes its cells without
// telling the view and keeps reporting the shape the view last saw, so the
// view stays consistent; resume() publishes everything with one reset.
//
// Memory: the texts of a row live in one CompactRow block; colour and bold are
// kept only for the few cells that have them (titles, totals), so a row costs
// its characters and some 70 bytes besides.
class FlexGridModel final : public QAbstractTableModel
{
public:
    explicit FlexGridModel(QObject* parent = nullptr);

    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    QString text(int row, int col) const
    {
        return row == m_openRow ? m_openTexts[size_t(col)] : m_texts[size_t(row)].text(col, m_cols);
    }
    qint32 color(int row, int col) const; // -1: default text colour
    bool bold(int row, int col) const;
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
    // Columns that hold numbers and must never show them cut: the model keeps
    // the length (in characters) of the longest text below the fixed row.
    // It only grows; clear() and switching the column on start it afresh.
    bool fitsNumbers(int col) const { return m_fitLengths[size_t(col)] >= 0; }
    void setFitsNumbers(int col, bool on);
    // The longest text of a fitting column; 0 for other columns.
    int fitLength(int col) const { return std::max(0, m_fitLengths[size_t(col)]); }
    // Columns that show some texts whole besides their title (dates, names):
    // nullopt for a column that does not.
    const std::optional<QStringList>& wholeTexts(int col) const
    {
        return m_wholeTexts[size_t(col)];
    }
    void setWholeTexts(int col, std::optional<QStringList> texts)
    {
        m_wholeTexts[size_t(col)] = std::move(texts);
    }
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
    struct Style
    {
        qint32 color = -1;
        bool bold = false;
    };
    using CellKey = std::pair<int, int>; // row, column

    QVariant cellData(int row, int col, int role) const;
    // Stores a text without telling the view.
    void storeText(int row, int col, const QString& text);
    // Packs the open row and unpacks `row` in its place.
    void openRow(int row);
    // Packs the open row, if any; done before rows or columns change.
    void packOpenRow();
    void notifyCell(int row, int col);
    void setStyle(int row, int col, Style style);
    // Moves the styles of rows from `first` on by delta rows (an inserted or
    // removed row); styles of removed rows must be gone first.
    void shiftStyles(int first, int delta);
    // Drops the styles outside rows x cols.
    void dropStyles(int rows, int cols);

    int m_rows = 0;
    int m_cols = 0;
    std::vector<CompactRow> m_texts;   // m_rows, each of m_cols texts
    std::map<CellKey, Style> m_styles; // cells with a colour or bold only
    // The row written last, unpacked (its block in m_texts is stale): a load
    // writes the cells of a row one after another, and packing a row once
    // rather than once a cell keeps loading as quick as with a string a cell.
    int m_openRow = -1;
    std::vector<QString> m_openTexts;
    std::vector<qint64> m_rowData;
    std::vector<int> m_widths;
    std::vector<int> m_alignments;
    std::vector<int> m_fitLengths; // -1: the column does not fit its numbers
    std::vector<std::optional<QStringList>> m_wholeTexts;
    int m_viewRows = 0; // the shape the view knows
    int m_viewCols = 0;
    bool m_suspended = false;
    QFont m_boldFont;
};
