// Where the open editor stands and what a refused key says: the editor over
// its cell while the grid scrolls or changes size (or committed once the cell
// is out of sight), Tab in an editor, and the cell named when the fill-from-
// the-left rule refuses a key.

#include "SheetTestKit.h"

#include <QScrollBar>
#include <QToolTip>

using namespace sheetkit;

namespace {

// The open editor's centre, in the grid's coordinates, lies in the cell.
bool editorOverCell(const frmTransactions& w, const FlexGrid& g, int row, int col)
{
    for (QWidget* e : std::initializer_list<QWidget*>{w.Txt, w.Num, w.Cbo, w.cbo2, w.DT}) {
        if (!e->isHidden())
            return g.cellRect(row, col).contains(g.mapFrom(&w, e->geometry().center()));
    }
    return false;
}

// 60 stored expenses: more than the grid shows, so that it scrolls.
struct Long : Sheet
{
    Long()
    {
        for (int i = 0; i < 60; ++i)
            add({.description = QStringLiteral("Row %1").arg(i)});
        open(900, 400);
        pick();
    }
};

} // namespace

class tst_SheetEditorPlace : public QObject
{
    Q_OBJECT

private slots:
    void editorFollowsItsCell_data();
    void editorFollowsItsCell();
    void editorScrolledOutOfSightIsCommitted();
    void tabCommitsAndMovesToTheNextEditableCell_data();
    void tabCommitsAndMovesToTheNextEditableCell();
    void refusedKeyNamesTheCellToFillFirst_data();
    void refusedKeyNamesTheCellToFillFirst();
};

void tst_SheetEditorPlace::editorFollowsItsCell_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("scrolled a row") << "scroll";
    QTest::newRow("scrolled sideways") << "sideways";
    QTest::newRow("window wider") << "wider";
    QTest::newRow("window narrower") << "narrower";
}

void tst_SheetEditorPlace::editorFollowsItsCell()
{
    QFETCH(QString, change);
    Long s;
    DialogScript script;
    FlexGrid& g = s.cash();
    if (change == "narrower")
        s.sheet().resize(1300, 420); // a wide "Description" to shrink
    QCoreApplication::processEvents();
    const int row = g.TopRow() + 3; // in sight, rows above and under it
    const qint64 id = g.RowData(row);
    Sheet::clickCell(g, row, Relation);
    Sheet::type(g, "Mill");
    QVERIFY(editorOverCell(s.sheet(), g, row, Relation));
    if (change == "scroll") {
        // Up a row: the cell moves down and stays in sight.
        g.verticalScrollBar()->setValue(g.verticalScrollBar()->value() - 1);
    } else if (change == "sideways") {
        s.sheet().resize(500, 400); // the grid can now scroll sideways
        QCoreApplication::processEvents();
        g.horizontalScrollBar()->setValue(g.horizontalScrollBar()->value() + 200);
    } else {
        s.sheet().resize(change == "wider" ? 1300 : 900, 420);
    }
    QCoreApplication::processEvents();
    if (change == "scroll")
        QCOMPARE(Sheet::openEditor(s.sheet()), "cbo2");
    if (Sheet::openEditor(s.sheet()) == "cbo2")
        QVERIFY(editorOverCell(s.sheet(), g, row, Relation));
    else // out of sight: committed
        QCOMPARE(s.stored("Relation", id), QVariant("Mill"));
}

void tst_SheetEditorPlace::editorScrolledOutOfSightIsCommitted()
{
    Long s;
    DialogScript script;
    FlexGrid& g = s.cash();
    const int row = g.Rows() - 4; // the last stored row
    const qint64 id = g.RowData(row);
    Sheet::clickCell(g, row, Description);
    Sheet::type(g, "Ink");
    g.verticalScrollBar()->setValue(0); // the wheel turned up to the top
    QCoreApplication::processEvents();
    QCOMPARE(Sheet::openEditor(s.sheet()), "none");
    QCOMPARE(g.TextMatrix(row, Description), "Ink");
    QCOMPARE(s.stored("Description", id), QVariant("Ink"));
    // The next keys go to the grid, not to a hidden editor.
    QCOMPARE(QApplication::focusWidget(), &g);
}

void tst_SheetEditorPlace::tabCommitsAndMovesToTheNextEditableCell_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<QPoint>("cursorAfter"); // (col, row)
    // Row 1 the expense ("n/a" invoice, no credited), row 2 the income (no
    // debited), row 3 the entry row.
    QTest::newRow("description to category") << 1 << 1 << false << QPoint(2, 1);
    QTest::newRow("date past n/a") << 1 << 3 << false << QPoint(5, 1);
    QTest::newRow("debited to next row") << 1 << 7 << false << QPoint(1, 2);
    QTest::newRow("relation past debited") << 2 << 6 << false << QPoint(8, 2);
    QTest::newRow("back: receipt past n/a") << 1 << 5 << true << QPoint(3, 1);
    QTest::newRow("back: description to row above") << 2 << 1 << true << QPoint(7, 1);
    QTest::newRow("back: credited past debited") << 2 << 8 << true << QPoint(6, 2);
    QTest::newRow("back: first cell stays") << 1 << 1 << true << QPoint(1, 1);
}

void tst_SheetEditorPlace::tabCommitsAndMovesToTheNextEditableCell()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(bool, backwards);
    QFETCH(QPoint, cursorAfter);
    Loaded s;
    DialogScript script;
    Sheet::clickCell(s.g, row, col);
    Sheet::press(Qt::Key_Return); // opens the editor on the cell's value
    QVERIFY(Sheet::openEditor(s.w) != "none");
    Sheet::press(backwards ? Qt::Key_Backtab : Qt::Key_Tab);
    QCOMPARE(Sheet::openEditor(s.w), "none");
    QCOMPARE(QApplication::focusWidget(), &s.g);
    QCOMPARE(Sheet::cursor(s.g), cursorAfter);
}

void tst_SheetEditorPlace::refusedKeyNamesTheCellToFillFirst_data()
{
    QTest::addColumn<QString>("description"); // typed first, "" for none
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("message");
    for (int col : {Category, Date, Receipt, Relation, Debited})
        QTest::addRow("empty row, col %d", col) << "" << col << "Fill in \"Description\" first.";
    QTest::newRow("description only, date") << "Pens" << int(Date) << "Fill in \"Category\" first.";
    QTest::newRow("description only, relation")
        << "Pens" << int(Relation) << "Fill in \"Category\" first.";
}

void tst_SheetEditorPlace::refusedKeyNamesTheCellToFillFirst()
{
    QFETCH(QString, description);
    QFETCH(int, col);
    QFETCH(QString, message);
    Loaded s;
    DialogScript script;
    if (!description.isEmpty()) {
        Sheet::clickCell(s.g, 3, Description);
        Sheet::enter(s.g, description);
    }
    Sheet::clickCell(s.g, 3, col);
    Sheet::type(s.g, "5");
    QCOMPARE(Sheet::openEditor(s.w), "none");
    QCOMPARE(s.g.TextMatrix(3, col), QString());
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), message);
}

QTEST_MAIN(tst_SheetEditorPlace)
#include "tst_sheeteditorplace.moc"
