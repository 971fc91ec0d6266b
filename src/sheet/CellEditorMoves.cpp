// How an open editor and the grid under it stay together: its place over the
// cell, Tab and Shift+Tab in an editor commit it and go on to the next
// (previous) cell that has an editor, the editor follows its cell when the grid
// scrolls or changes size, and a key that the fill-from-the-left rule refuses
// says which cell comes first.

#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Twips.h"
#include "sheet/CellEditor.h"
#include "sheet/SheetColumns.h"
#include "sheet/SheetEventHook.h"
#include "shell/dbStuff.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

using namespace dbStuff;
using namespace SheetCol;

namespace {

// Placement of the editors over a cell, in twips.
constexpr int TextBoxTopInset = 60;
constexpr int TextBoxHeightCut = 68;
constexpr int EditorWidthCut = 8;

} // namespace

void CellEditor::place(FlexGrid& grid, QWidget* editor)
{
    const int left = Twips::fromPixels(grid.x()) + grid.CellLeft();
    const int top = Twips::fromPixels(grid.y()) + grid.CellTop();
    const int width = grid.CellWidth() - EditorWidthCut;
    const int height = grid.CellHeight();
    QRect place;
    if (editor == DT) // never so narrow that a date is cut
        place = QRect(left, top, std::max(width, Twips::fromPixels(DT->minimumSizeHint().width())),
                      height);
    else if (qobject_cast<TextBox*>(editor))
        place = QRect(left, top + TextBoxTopInset, width, height - TextBoxHeightCut);
    else if (qobject_cast<ComboBox*>(editor))
        place = QRect(left, top, width, Twips::fromPixels(editor->sizeHint().height()));
    else
        place = QRect(left, top, width, height);
    editor->setGeometry(Twips::toPixels(place));
}

void CellEditor::watchEditorKeys(QWidget* editor)
{
    // Tab would move the focus on to the next control before the editor sees
    // the key; it is taken here, from the editor and every part of it.
    auto* hook = new SheetEventHook(editor, [this](QObject*, QEvent* event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
            return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        const bool backwards =
            key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
        RunHandler([this, backwards] { tabFromEditor(backwards); });
        return true;
    });
    editor->installEventFilter(hook);
    for (QWidget* part : editor->findChildren<QWidget*>())
        part->installEventFilter(hook);
}

void CellEditor::tabFromEditor(bool backwards)
{
    FlexGrid* grid = m_grid;
    if (!grid || !isOpen())
        return;
    // A refused amount or date neither commits nor moves.
    if (!accepted(m_current))
        return;
    grid->setFocus(); // commits
    if (isOpen())
        return;
    int row = grid->Row();
    int col = grid->Col();
    // Rows with editors: the stored rows and the entry row.
    const int last = grid->Rows() - 3;
    for (;;) {
        col += backwards ? -1 : 1;
        if (col > ColCredited) {
            ++row;
            col = ColDescription;
        } else if (col < ColDescription) {
            --row;
            col = ColCredited;
        }
        if (row < 1 || row > last)
            return;
        if (editorFor(*grid, row, col)) {
            grid->moveTo(row, col);
            return;
        }
    }
}

void CellEditor::watchGrid(FlexGrid& grid)
{
    FlexGrid* g = &grid;
    auto follow = [this, g] { RunHandler([this, g] { followCell(*g); }); };
    connect(grid.verticalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(grid.horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(grid.horizontalHeader(), &QHeaderView::sectionResized, this, follow);
    // The viewport is resized once the grid has laid out its new size; a move
    // of the grid changes no cell rectangle but the editor's place.
    auto* hook = new SheetEventHook(g, [follow](QObject*, QEvent* event) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
            follow();
        return false;
    });
    grid.installEventFilter(hook);
    grid.viewport()->installEventFilter(hook);
}

void CellEditor::followCell(FlexGrid& grid)
{
    // Commits move the cursor and add rows themselves; the editor is closed
    // at their end.
    if (m_state == State::Closed || m_state == State::Committing || m_grid != &grid)
        return;
    const QRect cell = grid.cellRect(grid.Row(), grid.Col());
    if (grid.viewport()->geometry().contains(cell)) {
        place(grid, m_current);
        return;
    }
    // Its cell went out of sight: the edit is committed as leaving the cell
    // commits it, and the keys go to the grid again.
    QWidget* focus = QApplication::focusWidget();
    const bool editing = focus && (focus == m_current || m_current->isAncestorOf(focus));
    commit(grid, false);
    if (isOpen()) {
        // A refused amount stays open, over where its cell is.
        place(grid, m_current);
        return;
    }
    if (editing)
        grid.setFocus();
}

void CellEditor::tellWhichCellFirst(FlexGrid& grid)
{
    QApplication::beep();
    // The first empty cell on the left that the user can fill; none on a row
    // that is only missing the amount column that does not apply.
    const int row = grid.Row();
    const int col = grid.Col();
    for (int c = ColDescription; c < col; ++c) {
        if (!grid.TextMatrix(row, c).isEmpty() || !editorFor(grid, row, c))
            continue;
        const QString message =
            QStringLiteral("Fill in \"%1\" first.").arg(grid.TextMatrix(0, c).trimmed());
        const QRect cell = grid.cellRect(row, col);
        QToolTip::showText(grid.mapToGlobal(cell.bottomLeft()), message, &grid, cell);
        return;
    }
}
