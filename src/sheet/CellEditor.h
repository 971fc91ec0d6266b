#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <optional>

class ComboBox;
class DatePicker;
class FlexGrid;
class QWidget;
class TextBox;

// What the cell editor asks of the sheet it edits: the row-level rules and
// work, which stay with the sheet. Called on the user-interface thread, from
// within the editor's event handlers.
class CellEditorHost
{
public:
    // True when a cell on the left of the grid's current cell must be filled
    // first; typing on the current cell is then refused.
    virtual bool previousCellIncomplete(const FlexGrid& grid) const = 0;
    // A picker (the category or the relation picker) is about to open on a
    // row: its list and selection are made ready for that row.
    virtual void pickerOpening(FlexGrid& grid, int row, QWidget* picker) = 0;
    // An open category picker is left without a commit (Escape, or dropped):
    // the row is put back as it was when the picker opened.
    virtual void categoryPickerDropped() = 0;
    // A typed receipt id as its cell shows it.
    virtual QString receiptIdCell(const QString& typed) = 0;
    // The category cell of the current row was written: the row follows the
    // category's side. Called before the editor is hidden.
    virtual void categoryWritten(FlexGrid& grid, int row) = 0;
    // A cell of the current row was written (changed: its text changed):
    // the row is stored when complete, the entry row renewed, the totals
    // brought up to date.
    virtual void rowCommitted(FlexGrid& grid, bool changed) = 0;

protected:
    ~CellEditorHost() = default;
};

// The five floating editors of the sheet and the one edit that may be open:
// which editor a cell takes, opening it over the cell with the key that
// started the edit (delivered at once, never posted), keeping it over its cell
// when the grid scrolls or changes size, its keys (Enter, Escape, the arrows,
// Tab), and the commit that writes its value into the cell it was opened on.
//
// The editors are child widgets of `parent` (the sheet window), hidden until
// an edit starts. The host outlives the editor. User-interface thread only.
class CellEditor final : public QObject
{
public:
    CellEditor(QWidget* parent, CellEditorHost& host);

    TextBox* const Txt;
    TextBox* const Num;
    ComboBox* const Cbo;
    ComboBox* const cbo2;
    DatePicker* const DT;

    // Where the cell edit stands. Closed: no editor on show. Open: current()
    // on show over the current cell of grid(). Committing: its value is being
    // written and the row stored; focus and cursor changes this causes are no
    // new commit. Refused: the amount check refused a commit that a mouse
    // press on the grid caused; the cursor move of that press is taken back,
    // and the editor stays open.
    enum class State
    {
        Closed,
        Open,
        Committing,
        Refused
    };
    State state() const { return m_state; }
    bool isOpen() const { return m_state != State::Closed; }
    // The editor chosen last (nullptr: none, or the cell has none).
    QWidget* current() const { return m_current; }
    // The grid the current editor was opened on; writes of the editors and
    // pickers go there and nowhere else.
    FlexGrid* grid() const { return m_grid; }

    // Connects a grid's placement (scrolling, resizing) to the open editor.
    void watchGrid(FlexGrid& grid);

    // The editor a cell takes (nullptr: none), without opening it.
    QWidget* editorFor(const FlexGrid& grid, int row, int col) const;
    // Chooses the editor of the grid's current cell and readies a picker for
    // its row; the edit is not open yet.
    QWidget* choose(FlexGrid& grid);
    // Opens the editor over the grid's current cell. keyAscii is the
    // character that started the edit (it becomes the first one typed), or a
    // control code 0..32 to start from the cell's text. A cell without an
    // editor passes the key on to the next cell.
    void open(FlexGrid& grid, QWidget* editor, int keyAscii);
    // A key pressed in an open editor (Enter, Escape, Up, Down).
    void editorKeyDown(FlexGrid& grid, QWidget* editor, int keyCode);
    // Writes the open editor's value into its cell and lets the host store the
    // row. focusVariant: the grid gained the focus (else the cursor left the
    // cell, which is no commit while the program fills a grid).
    void commit(FlexGrid& grid, bool focusVariant);
    // Hides an open editor without writing it back.
    void close();

    // The grid's own events, as the sheet receives them.
    void gridGotFocus(FlexGrid& grid);
    void gridLeaveCell(FlexGrid& grid);
    void gridEnterCell(FlexGrid& grid);
    void gridKeyPress(FlexGrid& grid, int keyAscii);
    void gridDblClick(FlexGrid& grid);

    // The check of the amount or date editor about to be left; shows the
    // message and keeps the focus there when the text is refused. True for
    // the other editors.
    bool accepted(QWidget* editor);

    // Whether the row's category takes money in; nullopt when the row has no
    // category id or the category is gone.
    static std::optional<bool> categoryReceivesMoney(const FlexGrid& grid, int row);

private:
    void connectEditor(QWidget* editor);
    void watchEditorKeys(QWidget* editor);
    void tabFromEditor(bool backwards);
    void followCell(FlexGrid& grid);
    void tellWhichCellFirst(FlexGrid& grid);
    void place(FlexGrid& grid, QWidget* editor);
    bool numAccepted();
    QString value(FlexGrid& grid) const;

    CellEditorHost& m_host;
    QWidget* m_current = nullptr;
    FlexGrid* m_grid = nullptr;
    State m_state = State::Closed;
    // Column and row the cursor is taken back to after a refused commit.
    QPoint m_refusedCell;
};
