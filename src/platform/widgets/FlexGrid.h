#pragma once

#include <QTableView>

#include <vector>

class FlexGridModel;

// The sheet grid: rows and columns of display text with one fixed title row
// (row 0) and one fixed column (column 0), a 64-bit value per row, per-cell
// text colour and bold, column widths in twips and alignment codes, a current
// cell with a visible cursor, and the events the sheet handles. The grid never
// edits a cell itself; editors are separate widgets placed over the current
// cell with CellLeft/CellTop/CellWidth/CellHeight.
//
// Indices are 0-based and include the fixed row and column: TextMatrix(0, c)
// is a title, TextMatrix(r, 0) a row label, and the user's cursor lives in rows
// 1..Rows()-1 and columns 1..Cols()-1. An index out of range raises VbError 9;
// a value out of range (a negative row count, an unknown alignment) raises 380.
//
// Events and their order
//  - A user move of the cell cursor (arrow keys, Page Up/Down, Home/End,
//    Ctrl+Home/End, a mouse press on a cell, or moveTo() from code):
//      LeaveCell   while Row()/Col() still name the cell being left;
//      the cursor moves (the target is worked out before LeaveCell and clamped
//      to the grid as it is after LeaveCell, so a handler may insert or remove
//      rows, or move Row/Col about and put them back);
//      EnterCell   with Row()/Col() naming the new cell.
//    Nothing fires when the target is the current cell.
//  - setRow()/setCol() from code move the cursor silently: no LeaveCell, no
//    EnterCell, no scrolling. Use moveTo() where a move must behave as the
//    user's (events, and the cell scrolled into view).
//  - A key press: KeyDown(code, shift) first, for every key; then, for a key
//    that types a character, KeyPress(code) (a handler may set the code to 0);
//    then the grid's own navigation for arrow and paging keys. When a handler
//    took the focus away from the grid, the key ends there. Tab is not taken
//    by the grid: it moves the focus on to the next control.
//  - A mouse press on a cell of another focused control: GotFocus first, then
//    LeaveCell / move / EnterCell. A double click: the press moves the cursor,
//    then DblClick. Presses on the fixed row or column do nothing.
//  - GotFocus on every focus gain (mouse, keyboard, or setFocus from code).
//
// Redraw: setRedraw(false) stops painting and every per-cell notification to
// the view; the cells are then changed in memory only, which is what makes
// loading 100,000 rows quick. setRedraw(true) shows the new contents in one go.
// Cell geometry and TopRow are meaningful only while redraw is on.
class FlexGrid final : public QTableView
{
    Q_OBJECT

public:
    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // Shape. New rows are empty with row data 0; new columns are 960 twips wide
    // with alignment 9. Shrinking drops the rows or columns at the end; the
    // current cell is pulled back inside.
    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);
    static constexpr int FixedRows = 1;
    static constexpr int FixedCols = 1;

    // Empties every cell's text, colour and bold; the shape, row data, widths,
    // alignments and current cell stay.
    void Clear();

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    // The text of the current cell.
    QString Text() const;
    void setText(const QString& text);

    qint64 RowData(int row) const;
    void setRowData(int row, qint64 value);

    // Inserts a row at index (0..Rows(); -1 appends). The item text is split on
    // tabs into the cells from column 0 on. The current cell keeps its index.
    void AddItem(const QString& item, int index = -1);
    // Removes a row. The last row under the fixed row cannot be removed (380).
    // The current cell keeps its index, pulled back inside the grid.
    void RemoveItem(int index);

    // Column width in twips; 0 hides the column (the column still exists and
    // the cursor can stand in it). The width read back is the width set, or
    // more for a column that fits its numbers (below).
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);

    // A column that holds numbers (amounts, the row numbers of column 0) is
    // never shown cut: while this is on, the column is shown at least as wide
    // as its longest text below the fixed row needs, counting each character
    // as the widest digit of the grid's font. The width set is the least the
    // column shows, and ColWidth reads back the width shown; a width of 0
    // still hides it. The column grows as longer texts arrive and keeps its
    // width until Clear; NumberWidthsChanged tells when the width changed.
    bool ColFitsNumbers(int col) const;
    void setColFitsNumbers(int col, bool on);
    // A column that must show its title and some known texts whole (every
    // date of a format, the names a column can hold): while set, the column
    // is shown at least as wide as its title needs in the title row's font
    // and each of these texts in the cell font, so that a larger font widens
    // the column instead of cutting them. As with numbers, the width set is
    // the least the column shows, ColWidth reads back the width shown, and a
    // width of 0 still hides it. NumberWidthsChanged tells when the shown
    // width changed; the texts stay until set again (Clear keeps them).
    void setColShowsWhole(int col, const QStringList& texts);
    // The width a column is shown at, in pixels (0 when hidden).
    int shownColWidth(int col) const;

    // Alignment codes: 0..8 are left/centre/right (code / 3) by top/centre/
    // bottom (code % 3), so 1 = left centre, 4 = centre centre, 7 = right
    // centre; 9 (the default) puts numbers right and other text left.
    int ColAlignment(int col) const;
    void setColAlignment(int col, int code);

    // Text colour of a cell as a colour number: red in the lowest byte, green
    // in the next, blue in the third (255 red, 12582912 dark blue); -1 stands
    // for the default text colour, which is what a cell has until one is set.
    qint32 CellForeColor(int row, int col) const;
    void setCellForeColor(int row, int col, qint32 color);
    bool CellFontBold(int row, int col) const;
    void setCellFontBold(int row, int col, bool bold);

    // The current cell. Setting it from code raises no events (see above).
    int Row() const { return m_row; }
    int Col() const { return m_col; }
    void setRow(int row);
    void setCol(int col);
    // A move that behaves as the user's: LeaveCell, move, EnterCell, scrolled
    // into view. Targets in the fixed row or column are allowed.
    void moveTo(int row, int col);

    // The first scrollable row shown under the title row (1 when scrolled to
    // the top). Setting it scrolls as far as the grid allows.
    int TopRow() const;
    void setTopRow(int row);

    bool Redraw() const { return m_redraw; }
    void setRedraw(bool on);

    // Geometry of the current cell in twips, relative to the grid widget's own
    // top-left corner: grid left + CellLeft is the cell's left in the grid's
    // parent. A cell scrolled out of view still reports where it would be.
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;

    // The same rectangle in pixels, in the grid widget's coordinates.
    QRect cellRect(int row, int col) const;

signals:
    void GotFocus();
    void KeyDown(int keyCode, int shift);
    // keyCode is a character code (KeyCodes.h); a handler may set it to 0.
    void KeyPress(int& keyAscii);
    void DblClick();
    void EnterCell();
    void LeaveCell();
    // A column that fits its numbers or shows texts whole changed its shown
    // width (longer numbers, other texts, another font): at once while redraw
    // is on, else when redraw comes back on. ColWidth reads the new width.
    void NumberWidthsChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void checkRow(int row) const;
    void checkCol(int col) const;
    void userMove(int row, int col);
    void placeCursor(int row, int col);
    void applyColumn(int col);
    void applyAllColumns();
    // While redraw is on: applies the columns whose longest number changed
    // since `before` (fit lengths, one per column) and tells NumberWidthsChanged.
    void refitColumns(const std::vector<int>& before);
    std::vector<int> fitLengths() const;
    int fitPixels(int col) const;
    // What the texts a column shows whole need, title included (0: none).
    int wholePixels(int col) const;
    // The least a shown column needs for its numbers and whole texts.
    int leastPixels(int col) const;
    // Row heights and column widths after the font changed.
    void applyFont();
    void updateCell(int row, int col);
    int rowHeightPixels() const;
    QPoint cellAt(const QPoint& pos) const;

    FlexGridModel* m_model;
    int m_row = 0;
    int m_col = 0;
    bool m_redraw = true;
    int m_pendingTopRow = 0;               // asked for while redraw was off; 0 = none
    std::vector<int> m_fitBeforeRedrawOff; // fit lengths when redraw went off
    bool m_wholeChangedWhileOff = false;   // texts shown whole set while redraw was off
};
