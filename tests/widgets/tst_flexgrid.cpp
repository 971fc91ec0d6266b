#include "platform/VbError.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/Twips.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

// A grid on a shown, active window, with a line edit beside it to hold the
// focus elsewhere, and a log of the grid's events with the cell they saw.
class GridFixture
{
public:
    explicit GridFixture(int rows = 30, int cols = 6)
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(&other);
        layout->addWidget(&grid);
        window.resize(600, 400);
        grid.setRows(rows);
        grid.setCols(cols);
        for (int c = 0; c < cols; ++c)
            grid.setColWidth(c, 1200);
        QObject::connect(&grid, &FlexGrid::LeaveCell, [this] { log << cell("L"); });
        QObject::connect(&grid, &FlexGrid::EnterCell, [this] { log << cell("E"); });
        QObject::connect(&grid, &FlexGrid::GotFocus, [this] { log << QStringLiteral("F"); });
        window.show();
        window.activateWindow();
    }

    QString cell(const char* tag) const
    {
        return QStringLiteral("%1 %2,%3").arg(QLatin1String(tag)).arg(grid.Row()).arg(grid.Col());
    }

    // Centre of a cell in viewport coordinates, where mouse events land.
    QPoint viewportPoint(int row, int col) const
    {
        return grid.cellRect(row, col).center() - grid.viewport()->geometry().topLeft();
    }

    QWidget window;
    QLineEdit other;
    FlexGrid grid;
    QStringList log;
};

class TestFlexGrid : public QObject
{
    Q_OBJECT

private slots:
    void keyMovesRaiseLeaveThenEnter_data();
    void keyMovesRaiseLeaveThenEnter();
    void mouseClickRaisesFocusThenLeaveThenEnter();
    void clicksOnFixedCellsAndDoubleClick();
    void programMovesAreSilent();
    void moveToBehavesAsUserMove();
    void leaveHandlerMayReshapeGrid();
    void keyDownAndKeyPressCodes_data();
    void keyDownAndKeyPressCodes();
    void keyDownHandlerTakingFocusEndsKey();
    void shapeAndRangeChecks();
    void cellLookComesFromModel();
    void columnWidthsInTwipsAndCellGeometry();
    void redrawOffTellsViewNothingUntilOn();
    void hundredThousandRows();
};

void TestFlexGrid::keyMovesRaiseLeaveThenEnter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QStringList>("expected");

    const Qt::KeyboardModifiers none;
    QTest::newRow("down") << int(Qt::Key_Down) << none << QStringList{"L 5,3", "E 6,3"};
    QTest::newRow("right") << int(Qt::Key_Right) << none << QStringList{"L 5,3", "E 5,4"};
    QTest::newRow("home") << int(Qt::Key_Home) << none << QStringList{"L 5,3", "E 5,1"};
    QTest::newRow("end") << int(Qt::Key_End) << none << QStringList{"L 5,3", "E 5,5"};
    QTest::newRow("ctrl+end") << int(Qt::Key_End) << Qt::KeyboardModifiers(Qt::ControlModifier)
                              << QStringList{"L 5,3", "E 29,5"};
    QTest::newRow("page up stops under title")
        << int(Qt::Key_PageUp) << none << QStringList{"L 5,3", "E 1,3"};
}

void TestFlexGrid::keyMovesRaiseLeaveThenEnter()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QStringList, expected);

    GridFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.grid.setRow(5);
    f.grid.setCol(3);
    f.grid.setFocus();
    QTRY_VERIFY(f.grid.hasFocus());
    f.log.clear();

    QTest::keyClick(&f.grid, Qt::Key(key), modifiers);
    QCOMPARE(f.log, expected);
}

void TestFlexGrid::mouseClickRaisesFocusThenLeaveThenEnter()
{
    GridFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.grid.setRow(1);
    f.grid.setCol(1);
    f.other.setFocus();
    QTRY_VERIFY(f.other.hasFocus());
    f.log.clear();

    QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.viewportPoint(4, 2));
    QCOMPARE(f.log, (QStringList{"F", "L 1,1", "E 4,2"}));

    // Clicking the current cell again moves nothing.
    f.log.clear();
    QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.viewportPoint(4, 2));
    QCOMPARE(f.log, QStringList());
}

void TestFlexGrid::clicksOnFixedCellsAndDoubleClick()
{
    GridFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.grid.setFocus();
    f.grid.setRow(2);
    f.grid.setCol(2);
    QSignalSpy dbl(&f.grid, &FlexGrid::DblClick);
    f.log.clear();

    // The title row and the row labels are headers: no cursor move.
    QTest::mouseClick(f.grid.horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(f.grid.horizontalHeader()->sectionViewportPosition(2) + 5, 5));
    QTest::mouseClick(f.grid.verticalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(5, f.grid.verticalHeader()->sectionViewportPosition(3) + 5));
    QCOMPARE(f.log, QStringList());
    QCOMPARE(f.grid.Row(), 2);

    QTest::mouseDClick(f.grid.viewport(), Qt::LeftButton, {}, f.viewportPoint(3, 4));
    QCOMPARE(f.log, (QStringList{"L 2,2", "E 3,4"}));
    QCOMPARE(dbl.count(), 1);
}

void TestFlexGrid::programMovesAreSilent()
{
    GridFixture f;
    f.grid.setRow(3);
    f.grid.setCol(2);
    f.grid.setTextMatrix(3, 2, "x");
    f.grid.AddItem("new", 2);
    f.grid.RemoveItem(4);
    f.grid.setRows(10);
    f.grid.setRow(9);
    f.grid.setCol(0);
    f.grid.setRows(5); // pulls the cursor back inside
    QCOMPARE(f.log, QStringList());
    QCOMPARE(f.grid.Row(), 4);
    QCOMPARE(f.grid.Col(), 0);
}

void TestFlexGrid::moveToBehavesAsUserMove()
{
    GridFixture f;
    f.grid.setRow(2);
    f.grid.setCol(2);
    f.grid.moveTo(7, 4);
    f.grid.moveTo(7, 4);
    QCOMPARE(f.log, (QStringList{"L 2,2", "E 7,4"}));
    QVERIFY_THROWS_EXCEPTION(VbError, f.grid.moveTo(30, 1));
}

void TestFlexGrid::leaveHandlerMayReshapeGrid()
{
    // A LeaveCell handler that appends a row above the last two, moves the
    // cursor to the bottom and back (as totalling does) must not change where
    // the user's Down lands.
    GridFixture f(6, 4);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.grid.setFocus();
    f.grid.setRow(3);
    f.grid.setCol(2);
    QObject::connect(&f.grid, &FlexGrid::LeaveCell, &f.grid, [&f] {
        const int row = f.grid.Row();
        const int col = f.grid.Col();
        f.grid.AddItem("4", f.grid.Rows() - 2);
        f.grid.setRow(f.grid.Rows() - 1);
        f.grid.setCol(1);
        f.grid.setRow(row);
        f.grid.setCol(col);
    });
    QTRY_VERIFY(f.grid.hasFocus());
    f.log.clear();
    QTest::keyClick(&f.grid, Qt::Key_Down);
    QCOMPARE(f.grid.Rows(), 7);
    QCOMPARE(f.log, (QStringList{"L 3,2", "E 4,2"}));
    QCOMPARE(f.grid.TextMatrix(4, 0), QString("4"));
}

void TestFlexGrid::keyDownAndKeyPressCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("keyAscii"); // -1: no KeyPress

    const Qt::KeyboardModifiers none;
    QTest::newRow("a") << int(Qt::Key_A) << "a" << none << 65 << 0 << 97;
    QTest::newRow("shift A") << int(Qt::Key_A) << "A" << Qt::KeyboardModifiers(Qt::ShiftModifier)
                             << 65 << 1 << 65;
    QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << none << 13 << 0 << 13;
    QTest::newRow("escape") << int(Qt::Key_Escape) << "\x1b" << none << 27 << 0 << 27;
    QTest::newRow("delete") << int(Qt::Key_Delete) << "\x7f" << none << 46 << 0 << -1;
    QTest::newRow("ctrl down") << int(Qt::Key_Down) << ""
                               << Qt::KeyboardModifiers(Qt::ControlModifier) << 40 << 2 << -1;
    QTest::newRow("f2") << int(Qt::Key_F2) << "" << none << 113 << 0 << -1;
}

void TestFlexGrid::keyDownAndKeyPressCodes()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, keyCode);
    QFETCH(int, shift);
    QFETCH(int, keyAscii);

    GridFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.grid.setFocus();
    QStringList events;
    QObject::connect(&f.grid, &FlexGrid::KeyDown, &f.grid, [&](int code, int state) {
        events << QStringLiteral("down %1 %2").arg(code).arg(state);
    });
    QObject::connect(&f.grid, &FlexGrid::KeyPress, &f.grid,
                     [&](int& code) { events << QStringLiteral("press %1").arg(code); });

    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&f.grid, &press);

    QStringList expected{QStringLiteral("down %1 %2").arg(keyCode).arg(shift)};
    if (keyAscii >= 0)
        expected << QStringLiteral("press %1").arg(keyAscii);
    QCOMPARE(events, expected);
}

void TestFlexGrid::keyDownHandlerTakingFocusEndsKey()
{
    GridFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.grid.setFocus();
    f.grid.setRow(2);
    f.grid.setCol(2);
    int presses = 0;
    QObject::connect(&f.grid, &FlexGrid::KeyDown, &f.grid, [&f] { f.other.setFocus(); });
    QObject::connect(&f.grid, &FlexGrid::KeyPress, &f.grid, [&presses] { ++presses; });
    f.log.clear();

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&f.grid, &down);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b");
    f.grid.setFocus();
    QApplication::sendEvent(&f.grid, &letter);
    QCOMPARE(f.grid.Row(), 2);
    QCOMPARE(presses, 0);
    QCOMPARE(f.log, QStringList{"F"});
}

void TestFlexGrid::shapeAndRangeChecks()
{
    FlexGrid grid;
    grid.setCols(10);
    grid.setRows(4);
    for (int r = 1; r < 4; ++r)
        grid.setRowData(r, -1);
    grid.setTextMatrix(0, 3, "Date");
    grid.setTextMatrix(2, 1, "Balance");
    grid.setCellForeColor(2, 8, 255);
    grid.setCellFontBold(0, 3, true);

    // Clear empties texts and looks; shape and row data stay.
    grid.Clear();
    QCOMPARE(grid.TextMatrix(0, 3), QString());
    QCOMPARE(grid.CellForeColor(2, 8), -1);
    QCOMPARE(grid.CellFontBold(0, 3), false);
    QCOMPARE(grid.RowData(3), qint64(-1));

    // AddItem splits on tabs from column 0; rows below move down with data.
    grid.AddItem("1\tLunch\tFood", 1);
    QCOMPARE(grid.TextMatrix(1, 0), QString("1"));
    QCOMPARE(grid.TextMatrix(1, 2), QString("Food"));
    QCOMPARE(grid.RowData(1), qint64(0));
    grid.AddItem("last");
    QCOMPARE(grid.TextMatrix(5, 0), QString("last"));

    auto number = [](auto&& call) {
        try {
            call();
        } catch (const VbError& e) {
            return e.number();
        }
        return 0L;
    };
    QCOMPARE(number([&] { grid.TextMatrix(6, 0); }), VbErr::SubscriptOutOfRange);
    QCOMPARE(number([&] { grid.setRow(6); }), VbErr::SubscriptOutOfRange);
    QCOMPARE(number([&] { grid.AddItem("x", 8); }), VbErr::SubscriptOutOfRange);
    QCOMPARE(number([&] { grid.setColAlignment(1, 10); }), 380L);

    // The last row under the title row stays.
    grid.setRows(2);
    QCOMPARE(number([&] { grid.RemoveItem(1); }), 380L);
    QCOMPARE(grid.Rows(), 2);
}

void TestFlexGrid::cellLookComesFromModel()
{
    FlexGrid grid;
    grid.setCols(10);
    grid.setRows(4);
    grid.setColAlignment(1, 1);
    grid.setColAlignment(7, 7);
    grid.setTextMatrix(2, 7, "60.00");
    grid.setCellForeColor(2, 7, 12582912);
    grid.setCellForeColor(2, 8, 255);
    grid.setCellFontBold(0, 3, true);
    grid.setTextMatrix(0, 3, "Date");

    const QAbstractItemModel* m = grid.model();
    auto align = [m](int row, int col) {
        return Qt::Alignment(m->index(row - 1, col - 1).data(Qt::TextAlignmentRole).toInt());
    };
    QCOMPARE(align(2, 1), Qt::AlignLeft | Qt::AlignVCenter);
    QCOMPARE(align(2, 7), Qt::AlignRight | Qt::AlignVCenter);

    auto colour = [m](int row, int col) {
        return m->index(row - 1, col - 1).data(Qt::ForegroundRole).value<QBrush>().color();
    };
    QCOMPARE(colour(2, 7), QColor(0, 0, 192));
    QCOMPARE(colour(2, 8), QColor(255, 0, 0));

    // The title row is the horizontal header: title text and bold there.
    QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QString("Date"));
    QVERIFY(m->headerData(2, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    QVERIFY(!m->index(0, 2).data(Qt::FontRole).isValid());
}

void TestFlexGrid::columnWidthsInTwipsAndCellGeometry()
{
    GridFixture f(20, 10);
    FlexGrid& g = f.grid;
    const int widths[] = {500, 1500, 2500, 1600, 1400, 1100, 2300, 1300, 1300, 0};
    for (int c = 0; c < 10; ++c)
        g.setColWidth(c, widths[c]);
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));

    QVERIFY(g.isColumnHidden(8));
    QCOMPARE(g.columnWidth(1), Twips::toPixels(2500));

    const int frame = g.frameWidth();
    g.setRow(1);
    g.setCol(2);
    QCOMPARE(g.CellLeft(), Twips::fromPixels(frame + Twips::toPixels(500) + Twips::toPixels(1500)));
    QCOMPARE(g.CellTop(), Twips::fromPixels(frame + g.horizontalHeader()->height()));
    // Geometry is what the screen shows: whole pixels, back in twips.
    QCOMPARE(g.CellWidth(), Twips::fromPixels(Twips::toPixels(2500)));
    const int top1 = g.CellTop();
    const int height = g.CellHeight();
    g.setRow(2);
    QCOMPARE(g.CellTop(), top1 + height);

    // The hidden column stands at the right edge of column 8, zero wide.
    g.setCol(8);
    const int right8 = g.CellLeft() + g.CellWidth();
    g.setCol(9);
    QCOMPARE(g.CellLeft(), right8);
    QCOMPARE(g.CellWidth(), 0);

    // A zero-wide column 0 hides the row labels.
    g.setColWidth(0, 0);
    QVERIFY(g.verticalHeader()->isHidden());
}

void TestFlexGrid::redrawOffTellsViewNothingUntilOn()
{
    GridFixture f(4, 10);
    FlexGrid& g = f.grid;
    QSignalSpy changed(g.model(), &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(g.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(g.model(), &QAbstractItemModel::modelReset);

    g.setRedraw(false);
    for (int i = 1; i <= 50; ++i) {
        g.AddItem(QString::number(i), i);
        g.setTextMatrix(i, 3, "05/Dec/2026");
    }
    g.setColWidth(3, 1600);
    g.setTopRow(30);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(g.model()->rowCount(), 3); // the view still sees the old shape
    QCOMPARE(g.TopRow(), 30);

    g.setRedraw(true);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(g.model()->rowCount(), 53);
    QCOMPARE(g.columnWidth(2), Twips::toPixels(1600));
    QCOMPARE(g.TopRow(), 30);

    // With redraw on, a cell change reaches the view at once.
    g.setTextMatrix(5, 3, "x");
    QCOMPARE(changed.count(), 1);
}

void TestFlexGrid::hundredThousandRows()
{
    constexpr int N = 100000;
    GridFixture f(4, 10);
    FlexGrid& g = f.grid;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    for (int r = 1; r <= 3; ++r)
        g.setRowData(r, -1);

    QElapsedTimer timer;
    timer.start();
    g.setRedraw(false);
    for (int i = 1; i <= N; ++i) {
        g.AddItem(QString::number(i), i);
        g.setRowData(i, 1000000 + i);
        g.setTextMatrix(i, 1, QStringLiteral("Item %1").arg(i));
        g.setTextMatrix(i, 3, "05/Dec/2026");
        g.setTextMatrix(i, 7, "1,234.50");
    }
    g.setTextMatrix(g.Rows() - 3, 0, QString::number(g.Rows() - 3));
    g.setRedraw(true);
    g.setTopRow(g.Rows() - 15);
    const qint64 loadMs = timer.elapsed();
    // Generous for a shared machine; typical runs are far below.
    QVERIFY2(loadMs < 2000, qPrintable(QStringLiteral("load took %1 ms").arg(loadMs)));

    QCOMPARE(g.Rows(), N + 4);
    QCOMPARE(g.RowData(1), qint64(1000001));
    QCOMPARE(g.RowData(N), qint64(1000000 + N));
    QCOMPARE(g.RowData(N + 1), qint64(-1));
    QCOMPARE(g.TextMatrix(77777, 1), QString("Item 77777"));
    QCOMPARE(g.TopRow(), N + 4 - 15);

    // Working near the end stays quick with redraw on.
    timer.restart();
    g.RemoveItem(50000);
    g.AddItem(QString::number(N), g.Rows() - 2);
    g.setRowData(g.Rows() - 3, -1);
    g.setTextMatrix(g.Rows() - 2, 1, "Balance");
    g.moveTo(g.Rows() - 3, 1);
    const qint64 editMs = timer.elapsed();
    QVERIFY2(editMs < 200, qPrintable(QStringLiteral("edit took %1 ms").arg(editMs)));

    QCOMPARE(g.Rows(), N + 4);
    QCOMPARE(g.RowData(50000), qint64(1050001));
    QCOMPARE(g.TextMatrix(50000, 1), QString("Item 50001"));
    QCOMPARE(g.RowData(N), qint64(-1));
    QCOMPARE(g.TextMatrix(N + 2, 1), QString("Balance"));
    // The cursor row is scrolled into view.
    QVERIFY(g.TopRow() <= N && g.TopRow() > N - 40);
}

QTEST_MAIN(TestFlexGrid)
#include "tst_flexgrid.moc"
