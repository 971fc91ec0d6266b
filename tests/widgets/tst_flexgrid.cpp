#include "platform/VbError.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/Twips.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QRandomGenerator>
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

    // Active, with the cursor on (row, col) and the focus on the grid.
    bool focusAt(int row, int col)
    {
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        grid.setRow(row);
        grid.setCol(col);
        grid.setFocus();
        const bool focused = QTest::qWaitFor([this] { return grid.hasFocus(); });
        log.clear();
        return focused;
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

static long errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const VbError& e) {
        return e.number();
    }
    return 0;
}

class TestFlexGrid : public QObject
{
    Q_OBJECT

private slots:
    void keyMovesRaiseLeaveThenEnter_data();
    void keyMovesRaiseLeaveThenEnter();
    void mouseMovesAndHeaderClicks();
    void programMovesAreSilent();
    void leaveHandlerMayReshapeGrid();
    void keyDownAndKeyPressCodes_data();
    void keyDownAndKeyPressCodes();
    void keyDownHandlerTakingFocusEndsKey();
    void shapeLookAndRangeChecks();
    void hiddenColumnsAndCellGeometry();
    void textsShownWhole_data();
    void textsShownWhole();
    void fixedColumnHasNoWholeTexts();
    void hundredThousandRowsWithRedrawOff();
    void cellsSurviveEditsAndReshaping_data();
    void cellsSurviveEditsAndReshaping();
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
    QVERIFY(f.focusAt(5, 3));
    QTest::keyClick(&f.grid, Qt::Key(key), modifiers);
    QCOMPARE(f.log, expected);
}

void TestFlexGrid::mouseMovesAndHeaderClicks()
{
    GridFixture f;
    QVERIFY(f.focusAt(1, 1));
    QSignalSpy dbl(&f.grid, &FlexGrid::DblClick);
    f.other.setFocus();
    QTRY_VERIFY(f.other.hasFocus());
    f.log.clear();

    QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.viewportPoint(4, 2));
    // The current cell again moves nothing.
    QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.viewportPoint(4, 2));
    // The title row and the row labels are headers: no cursor move.
    QTest::mouseClick(f.grid.horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(f.grid.horizontalHeader()->sectionViewportPosition(2) + 5, 5));
    QTest::mouseClick(f.grid.verticalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(5, f.grid.verticalHeader()->sectionViewportPosition(3) + 5));
    QTest::mouseDClick(f.grid.viewport(), Qt::LeftButton, {}, f.viewportPoint(3, 4));
    QCOMPARE(f.log, (QStringList{"F", "L 1,1", "E 4,2", "L 4,2", "E 3,4"}));
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

    // moveTo is the one move from code that behaves as the user's.
    f.grid.moveTo(2, 2);
    f.grid.moveTo(2, 2);
    QCOMPARE(f.log, (QStringList{"L 4,0", "E 2,2"}));
    QCOMPARE(errorOf([&] { f.grid.moveTo(5, 1); }), VbErr::SubscriptOutOfRange);
}

void TestFlexGrid::leaveHandlerMayReshapeGrid()
{
    // A LeaveCell handler that appends a row above the last two, moves the
    // cursor to the bottom and back (as totalling does) must not change where
    // the user's Down lands.
    GridFixture f(6, 4);
    QObject::connect(&f.grid, &FlexGrid::LeaveCell, &f.grid, [&f] {
        const int row = f.grid.Row();
        const int col = f.grid.Col();
        f.grid.AddItem("4", f.grid.Rows() - 2);
        f.grid.setRow(f.grid.Rows() - 1);
        f.grid.setCol(1);
        f.grid.setRow(row);
        f.grid.setCol(col);
    });
    QVERIFY(f.focusAt(3, 2));
    QTest::keyClick(&f.grid, Qt::Key_Down);
    QCOMPARE(f.log, (QStringList{"L 3,2", "E 4,2"}));
    QCOMPARE(f.grid.TextMatrix(4, 0), QString("4"));
}

void TestFlexGrid::keyDownAndKeyPressCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QStringList>("expected");

    const Qt::KeyboardModifiers none;
    QTest::newRow("a") << int(Qt::Key_A) << "a" << none << QStringList{"down 65 0", "press 97"};
    QTest::newRow("shift A") << int(Qt::Key_A) << "A" << Qt::KeyboardModifiers(Qt::ShiftModifier)
                             << QStringList{"down 65 1", "press 65"};
    QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << none
                           << QStringList{"down 13 0", "press 13"};
    QTest::newRow("delete") << int(Qt::Key_Delete) << "\x7f" << none << QStringList{"down 46 0"};
    QTest::newRow("ctrl down") << int(Qt::Key_Down) << ""
                               << Qt::KeyboardModifiers(Qt::ControlModifier)
                               << QStringList{"down 40 2"};
}

void TestFlexGrid::keyDownAndKeyPressCodes()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QStringList, expected);

    GridFixture f;
    QVERIFY(f.focusAt(1, 1));
    QStringList events;
    QObject::connect(&f.grid, &FlexGrid::KeyDown, &f.grid, [&](int code, int state) {
        events << QStringLiteral("down %1 %2").arg(code).arg(state);
    });
    QObject::connect(&f.grid, &FlexGrid::KeyPress, &f.grid,
                     [&](int& code) { events << QStringLiteral("press %1").arg(code); });

    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&f.grid, &press);
    QCOMPARE(events, expected);
}

void TestFlexGrid::keyDownHandlerTakingFocusEndsKey()
{
    GridFixture f;
    QVERIFY(f.focusAt(2, 2));
    int presses = 0;
    QObject::connect(&f.grid, &FlexGrid::KeyDown, &f.grid, [&f] { f.other.setFocus(); });
    QObject::connect(&f.grid, &FlexGrid::KeyPress, &f.grid, [&presses] { ++presses; });

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&f.grid, &down);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b");
    f.grid.setFocus();
    QApplication::sendEvent(&f.grid, &letter);
    QCOMPARE(f.grid.Row(), 2);
    QCOMPARE(presses, 0);
    QCOMPARE(f.log, QStringList{"F"});
}

void TestFlexGrid::shapeLookAndRangeChecks()
{
    FlexGrid grid;
    grid.setCols(10);
    grid.setRows(4);
    grid.setRowData(3, -1);
    grid.setColAlignment(7, 7);
    grid.setTextMatrix(0, 3, "Date");
    grid.setCellFontBold(0, 3, true);
    grid.setCellForeColor(2, 7, 12582912);

    // What the view draws: the title row is the horizontal header, bold there;
    // colours are the stored BGR values.
    const QAbstractItemModel* m = grid.model();
    QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QString("Date"));
    QVERIFY(m->headerData(2, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    QCOMPARE(m->index(1, 6).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 192));
    QCOMPARE(Qt::Alignment(m->index(1, 6).data(Qt::TextAlignmentRole).toInt()),
             Qt::AlignRight | Qt::AlignVCenter);

    // Clear empties texts and looks; shape and row data stay.
    grid.Clear();
    QCOMPARE(grid.TextMatrix(0, 3), QString());
    QCOMPARE(grid.CellForeColor(2, 7), -1);
    QCOMPARE(grid.RowData(3), qint64(-1));

    // AddItem splits on tabs; rows below move down with their data.
    grid.AddItem("1\tLunch\tFood", 1);
    QCOMPARE(grid.TextMatrix(1, 2), QString("Food"));
    QCOMPARE(grid.RowData(4), qint64(-1));

    QCOMPARE(errorOf([&] { grid.TextMatrix(5, 0); }), VbErr::SubscriptOutOfRange);
    QCOMPARE(errorOf([&] { grid.AddItem("x", 8); }), VbErr::SubscriptOutOfRange);
    QCOMPARE(errorOf([&] { grid.setColAlignment(1, 10); }), 380L);
    // The last row under the title row stays.
    grid.setRows(2);
    QCOMPARE(errorOf([&] { grid.RemoveItem(1); }), 380L);
}

void TestFlexGrid::hiddenColumnsAndCellGeometry()
{
    GridFixture f(20, 10);
    FlexGrid& g = f.grid;
    g.setColWidth(9, 0);
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));

    // Editors are placed over cells by this geometry: rows stack without gaps,
    // and a hidden column stands at the right edge of its neighbour, zero wide.
    g.setRow(1);
    g.setCol(8);
    const int top1 = g.CellTop();
    const int right8 = g.CellLeft() + g.CellWidth();
    g.setRow(2);
    QCOMPARE(g.CellTop(), top1 + g.CellHeight());
    g.setCol(9);
    QVERIFY(g.isColumnHidden(8));
    QCOMPARE(g.CellLeft(), right8);
    QCOMPARE(g.CellWidth(), 0);

    // A zero-wide column 0 hides the row labels.
    g.setColWidth(0, 0);
    QVERIFY(g.verticalHeader()->isHidden());
}

void TestFlexGrid::hundredThousandRowsWithRedrawOff()
{
    constexpr int N = 100000;
    GridFixture f(4, 10);
    FlexGrid& g = f.grid;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    for (int r = 1; r <= 3; ++r)
        g.setRowData(r, -1);
    QSignalSpy changed(g.model(), &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(g.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(g.model(), &QAbstractItemModel::modelReset);

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
    g.setTopRow(g.Rows() - 15);
    // Nothing reached the view while redraw was off: it still sees the old shape.
    QCOMPARE(changed.count() + inserted.count() + reset.count(), 0);
    QCOMPARE(g.model()->rowCount(), 3);
    g.setRedraw(true);
    const qint64 loadMs = timer.elapsed();
    // Generous for a shared machine; typical runs are far below.
    QVERIFY2(loadMs < 2000, qPrintable(QStringLiteral("load took %1 ms").arg(loadMs)));

    QCOMPARE(reset.count(), 1);
    QCOMPARE(g.model()->rowCount(), N + 3);
    QCOMPARE(g.RowData(N), qint64(1000000 + N));
    QCOMPARE(g.RowData(N + 1), qint64(-1));
    QCOMPARE(g.TextMatrix(77777, 1), QString("Item 77777"));
    QCOMPARE(g.TopRow(), N + 4 - 15);

    // Working near the end stays quick with redraw on, and each change
    // reaches the view at once.
    timer.restart();
    g.RemoveItem(50000);
    g.AddItem(QString::number(N), g.Rows() - 2);
    g.setTextMatrix(g.Rows() - 2, 1, "Balance");
    g.moveTo(g.Rows() - 3, 1);
    const qint64 editMs = timer.elapsed();
    QVERIFY2(editMs < 200, qPrintable(QStringLiteral("edit took %1 ms").arg(editMs)));

    QCOMPARE(changed.count(), 1);
    QCOMPARE(g.RowData(50000), qint64(1050001));
    QCOMPARE(g.RowData(N), qint64(-1));
    // The cursor row is scrolled into view.
    QVERIFY(g.TopRow() <= N && g.TopRow() > N - 40);
}

// What a grid should hold, kept the plain way: a text, colour and bold flag per
// cell. The grid packs its cells; this is what it must read back.
struct PlainCells
{
    struct Cell
    {
        QString text;
        qint32 color = -1;
        bool bold = false;
    };
    QList<QList<Cell>> rows;

    static QList<Cell> row(int cols) { return QList<Cell>(cols); }
    int cols() const { return rows.isEmpty() ? 0 : int(rows.first().size()); }
};

void TestFlexGrid::cellsSurviveEditsAndReshaping_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QStringList>("texts");

    const QStringList latin1 = {"",
                                "Flour",
                                "1,234.50",
                                "05/Dec/2026",
                                "n/a",
                                "Caf\u00e9 Ol\u00e9",
                                "Abbey Mill bakery supplies"};
    QStringList wide = latin1;
    wide << QString::fromUtf8("\u20ac 12,50") << QString::fromUtf8("\u65e5\u672c")
         << QString::fromUtf8("Bread \U0001F35E");
    QStringList lengths = {"", "x", QString(300, QLatin1Char('y')),
                           QString(70000, QLatin1Char('z'))};
    QTest::newRow("latin-1 texts") << 7u << latin1;
    QTest::newRow("wide characters among latin-1") << 11u << wide;
    QTest::newRow("empty, short and very long") << 13u << lengths;
}

void TestFlexGrid::cellsSurviveEditsAndReshaping()
{
    QFETCH(quint32, seed);
    QFETCH(QStringList, texts);

    FlexGrid grid;
    grid.setCols(6);
    grid.setRows(5);
    PlainCells plain;
    for (int r = 0; r < 5; ++r)
        plain.rows << PlainCells::row(6);
    QRandomGenerator rng(seed);
    const qint32 colors[] = {-1, 255, 12582912};

    auto compareAll = [&](int step) {
        QCOMPARE(grid.Rows(), int(plain.rows.size()));
        QCOMPARE(grid.Cols(), plain.cols());
        for (int r = 0; r < grid.Rows(); ++r) {
            for (int c = 0; c < grid.Cols(); ++c) {
                const PlainCells::Cell& want = plain.rows[r][c];
                const QString where = QStringLiteral("step %1 cell %2,%3").arg(step).arg(r).arg(c);
                QVERIFY2(grid.TextMatrix(r, c) == want.text, qPrintable(where));
                QVERIFY2(grid.CellForeColor(r, c) == want.color, qPrintable(where));
                QVERIFY2(grid.CellFontBold(r, c) == want.bold, qPrintable(where));
            }
        }
    };

    for (int step = 0; step < 3000; ++step) {
        const int rows = grid.Rows();
        const int r = int(rng.bounded(rows));
        const int c = int(rng.bounded(grid.Cols()));
        switch (rng.bounded(10)) {
        case 0:
        case 1:
        case 2:
        case 3: {
            const QString text = texts.at(int(rng.bounded(texts.size())));
            grid.setTextMatrix(r, c, text);
            plain.rows[r][c].text = text;
            break;
        }
        case 4: {
            const qint32 color = colors[rng.bounded(3)];
            grid.setCellForeColor(r, c, color);
            plain.rows[r][c].color = color;
            break;
        }
        case 5: {
            const bool bold = rng.bounded(2) == 1;
            grid.setCellFontBold(r, c, bold);
            plain.rows[r][c].bold = bold;
            break;
        }
        case 6:
        case 7: {
            // A row inserted anywhere, the title row included.
            const int at = int(rng.bounded(rows + 1));
            const QString a = texts.at(int(rng.bounded(texts.size())));
            grid.AddItem(QStringLiteral("%1\t%2").arg(step).arg(a), at);
            QList<PlainCells::Cell> row = PlainCells::row(plain.cols());
            row[0].text = QString::number(step);
            if (plain.cols() > 1)
                row[1].text = a;
            plain.rows.insert(at, row);
            break;
        }
        case 8:
            if (rows > 2) {
                grid.RemoveItem(r);
                plain.rows.removeAt(r);
            }
            break;
        default:
            // Now and then the columns change: kept cells keep their texts
            // and looks.
            if (rng.bounded(8) == 0) {
                const int cols = 3 + int(rng.bounded(6));
                grid.setCols(cols);
                for (QList<PlainCells::Cell>& row : plain.rows)
                    row.resize(cols);
            } else if (rng.bounded(20) == 0) {
                grid.Clear();
                for (QList<PlainCells::Cell>& row : plain.rows)
                    row = PlainCells::row(plain.cols());
            }
            break;
        }
        if (step % 100 == 99)
            compareAll(step);
        if (QTest::currentTestFailed())
            return;
    }
    compareAll(3000);
}

void TestFlexGrid::textsShownWhole_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("twips");      // the width set
    QTest::addColumn<bool>("redrawOff"); // texts given while redraw is off
    QTest::addColumn<int>("points");     // then the grid's font; 0: kept
    QTest::addColumn<bool>("wider");     // shown wider than the width set

    const QString wide = QStringLiteral("Confectionery and chocolate supplies");
    QTest::newRow("a wide text widens")
        << "Cat" << QStringList{"ab", wide} << 1200 << false << 0 << true;
    QTest::newRow("narrow texts keep the width set")
        << "Cat" << QStringList{"ab", "cd"} << 1200 << false << 0 << false;
    QTest::newRow("a long title widens") << wide << QStringList{} << 1200 << false << 0 << true;
    QTest::newRow("told when redraw is back on")
        << "Cat" << QStringList{wide} << 1200 << true << 0 << true;
    QTest::newRow("a larger font widens")
        << "Date" << QStringList{"28/May/2026"} << 1200 << false << 30 << true;
    QTest::newRow("a zero width still hides")
        << wide << QStringList{wide} << 0 << false << 0 << false;
}

void TestFlexGrid::textsShownWhole()
{
    QFETCH(QString, title);
    QFETCH(QStringList, texts);
    QFETCH(int, twips);
    QFETCH(bool, redrawOff);
    QFETCH(int, points);
    QFETCH(bool, wider);
    constexpr int col = 2;
    GridFixture f(1 + int(texts.size()), 4);
    FlexGrid& g = f.grid;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    g.setColWidth(col, twips);
    g.setTextMatrix(0, col, title);
    // The texts also stand in the column's cells, where the view measures them.
    for (int i = 0; i < texts.size(); ++i)
        g.setTextMatrix(i + 1, col, texts[i]);
    QSignalSpy changed(&g, &FlexGrid::NumberWidthsChanged);
    if (redrawOff)
        g.setRedraw(false);
    g.setColShowsWhole(col, texts);
    if (redrawOff) {
        QCOMPARE(changed.count(), 0);
        g.setRedraw(true);
    }
    if (points) {
        QFont font = g.font();
        font.setPointSize(points);
        g.setFont(font);
    }

    if (twips == 0) {
        QVERIFY(g.isColumnHidden(col - 1));
        QCOMPARE(g.ColWidth(col), 0);
        return;
    }
    const int shown = g.columnWidth(col - 1);
    QCOMPARE(shown > Twips::toPixels(twips), wider);
    QCOMPARE(changed.count() > 0, wider);
    // Read back as shown.
    QCOMPARE(Twips::toPixels(g.ColWidth(col)), shown);
    QVERIFY(g.horizontalHeader()->sectionSizeHint(col - 1) <= shown);
    for (int row = 1; row < g.Rows(); ++row) {
        QStyleOptionViewItem option;
        option.initFrom(&g);
        option.widget = &g;
        option.font = g.font();
        option.fontMetrics = g.fontMetrics();
        const QModelIndex index = g.model()->index(row - 1, col - 1);
        const int needs = g.itemDelegate()->sizeHint(option, index).width() + 1;
        QVERIFY2(needs <= shown, qPrintable(g.TextMatrix(row, col)));
    }
    // Clear empties the title and the cells, but the column keeps showing
    // its texts whole.
    g.Clear();
    QCOMPARE(g.columnWidth(col - 1), texts.isEmpty() ? Twips::toPixels(twips) : shown);
}

void TestFlexGrid::fixedColumnHasNoWholeTexts()
{
    GridFixture f(3, 4);
    QVERIFY_THROWS_EXCEPTION(VbError, f.grid.setColShowsWhole(0, {QStringLiteral("1")}));
}

QTEST_MAIN(TestFlexGrid)
#include "tst_flexgrid.moc"
