// The sheet on other screens: a larger font widens the columns so that the
// dates, category names, amounts and titles of a bakery's rows are never cut,
// and a dark palette keeps the balance red or blue and every text readable.
// CTest runs this file a second time at a scale factor of 2.

#include "platform/widgets/Contrast.h"
#include "platform/widgets/Twips.h"
#include "sheet/SheetColumns.h"
#include "SheetTestKit.h"
#include "shell/Windows.h"
#include "support/DarkPalette.h"

#include <QHeaderView>
#include <QScrollBar>

#include <map>

using namespace sheetkit;

namespace {

// Rows of a bakery's books, with the widest month names and the longest
// category names and amounts of the example data.
struct Example
{
    const char* date;
    const char* category;
    bool moneyIn;
    bool cash;
    double amount;
};
constexpr Example Examples[] = {
    {"2026-05-28", "Cakes and pastry", true, true, 385.00},
    {"2026-09-28", "Flour and grain", false, true, 42.50},
    {"2026-11-10", "Bread sales", true, true, 1204.15},
    {"2026-12-01", "Dairy and eggs", false, true, 68.90},
    {"2026-03-15", "Interest received", true, false, 12345.67},
    {"2026-07-04", "Office supplies", false, false, 1118.60},
    {"2026-08-30", "Consulting fees", true, false, 733.80},
    {"2026-02-19", "Bank charges", false, false, 212.60},
};

void addExamples(Sheet& s)
{
    std::map<QString, qint64> ids;
    for (const Example& e : Examples) {
        const QString name = QString::fromLatin1(e.category);
        if (!ids.count(name)) {
            ids[name] = s.raw->category(name, e.moneyIn, 21.0, e.cash ? 1 : 2);
            s.raw->allocate(ids[name], s.business);
        }
        s.add({.category = ids[name],
               .date = QString::fromLatin1(e.date),
               .cash = e.cash,
               .moneyIn = e.moneyIn,
               .amount = e.amount,
               .receiptId = QStringLiteral("0/001/224")});
    }
}

// Fails with the first text of the grid that would be shown cut: the titles
// of the shown columns, and the dates, categories and amounts of every row.
void checkNothingCut(const FlexGrid& grid)
{
    const QHeaderView* header = grid.horizontalHeader();
    for (int col = Description; col <= Credited; ++col) {
        const int needs = header->sectionSizeHint(col - 1);
        QVERIFY2(needs <= header->sectionSize(col - 1),
                 qPrintable(QStringLiteral("title \"%1\" needs %2 px, has %3")
                                .arg(grid.TextMatrix(0, col))
                                .arg(needs)
                                .arg(header->sectionSize(col - 1))));
    }
    for (int col : {Date, Category, Receipt, Debited, Credited}) {
        for (int row = 1; row < grid.Rows(); ++row) {
            const int needs = cellNeeds(grid, row, col);
            QVERIFY2(needs <= grid.columnWidth(col - 1),
                     qPrintable(QStringLiteral("\"%1\" in row %2 needs %3 px, column %4 has %5")
                                    .arg(grid.TextMatrix(row, col))
                                    .arg(row)
                                    .arg(needs)
                                    .arg(col)
                                    .arg(grid.columnWidth(col - 1))));
        }
    }
}

// The least widths of the columns, in twips: a small font never narrows them.
const std::map<int, int> LeastTwips = {{Category, 2500}, {Date, 1600},     {Invoice, 1400},
                                       {Receipt, 1100},  {Relation, 2300}, {Debited, 1300},
                                       {Credited, 1300}};

// The colours a cell is painted in, read from the grid's pixels: the
// background is the colour most of the cell shows, the text the colour of
// its pixels that stand out most from it (the edges of letters blend into
// the background; their strokes have the text colour itself).
struct Painted
{
    QColor background;
    QColor text;
};

Painted paintedCell(FlexGrid& grid, int row, int col)
{
    const QImage image = grid.viewport()->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    // Inside the cell, clear of the grid lines and of the cursor's frame.
    const int inset = row == grid.Row() && col == grid.Col() ? 3 : 1;
    const QRect cell = grid.cellRect(row, col)
                           .translated(-grid.viewport()->pos())
                           .adjusted(inset, inset, -inset, -inset);
    const QRect pixels(QPoint(int(cell.left() * ratio), int(cell.top() * ratio)),
                       QPoint(int(cell.right() * ratio), int(cell.bottom() * ratio)));
    std::map<QRgb, int> counts;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    Painted painted;
    int most = 0;
    for (const auto& [rgb, count] : counts) {
        if (count > most) {
            most = count;
            painted.background = QColor::fromRgb(rgb);
        }
    }
    double strongest = 1.0;
    for (const auto& [rgb, count] : counts) {
        const double contrast = Contrast::ratio(QColor::fromRgb(rgb), painted.background);
        if (contrast > strongest) {
            strongest = contrast;
            painted.text = QColor::fromRgb(rgb);
        }
    }
    return painted;
}

} // namespace

class tst_SheetScreens : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void columnsFitTheFont_data();
    void columnsFitTheFont();
    void categoryAddedWhileOpenFits();
    void textStaysReadable_data();
    void textStaysReadable();

private:
    QFont m_font;
    QPalette m_palette;
};

void tst_SheetScreens::init()
{
    m_font = QApplication::font();
    m_palette = QApplication::palette();
}

void tst_SheetScreens::cleanup()
{
    QApplication::setFont(m_font);
    QApplication::setPalette(m_palette);
}

void tst_SheetScreens::columnsFitTheFont_data()
{
    QTest::addColumn<int>("points");     // the program's font; 0: as it comes
    QTest::addColumn<bool>("whileOpen"); // the font changes with the sheet open
    QTest::addColumn<QSize>("window");

    QTest::newRow("usual font, 1280 x 800") << 0 << false << QSize(1280, 800);
    QTest::newRow("usual font, 960 x 540") << 0 << false << QSize(960, 540);
    QTest::newRow("14 pt, 1280 x 800") << 14 << false << QSize(1280, 800);
    QTest::newRow("14 pt, 960 x 540") << 14 << false << QSize(960, 540);
    QTest::newRow("20 pt, 960 x 540") << 20 << false << QSize(960, 540);
    QTest::newRow("16 pt chosen with the sheet open") << 16 << true << QSize(1280, 800);
    QTest::newRow("6 pt keeps the least widths") << 6 << false << QSize(1280, 800);
}

void tst_SheetScreens::columnsFitTheFont()
{
    QFETCH(int, points);
    QFETCH(bool, whileOpen);
    QFETCH(QSize, window);
    QFont font = QApplication::font();
    if (points)
        font.setPointSize(points);
    if (!whileOpen)
        QApplication::setFont(font);
    Sheet s;
    addExamples(s);
    frmTransactions& w = s.open(window.width(), window.height());
    DialogScript script;
    s.pick();
    if (whileOpen)
        QApplication::setFont(font);

    for (int tab : {1, 2}) {
        s.showTab(tab);
        FlexGrid& g = tab == 1 ? *w.FLX1 : *w.FLX2;
        QTRY_COMPARE(g.font().pointSize(), font.pointSize());
        QCOMPARE(g.Rows(), 4 + 4); // four examples on each side
        checkNothingCut(g);
        for (const auto& [col, least] : LeastTwips) {
            QVERIFY2(g.ColWidth(col) >= least, qPrintable(QString::number(col)));
            // Read back as shown, so that "Description" takes what is left.
            QCOMPARE(Twips::toPixels(g.ColWidth(col)), g.columnWidth(col - 1));
        }
        if (points == 6) {
            for (const auto& [col, least] : LeastTwips)
                QCOMPARE(g.ColWidth(col), least);
        }
        // "Description" gives way down to its least (or its title), and
        // fills the rest.
        int others = 0;
        for (int col = 0; col <= Relation; ++col)
            others += col == Description ? 0 : g.ColWidth(col);
        others += g.ColWidth(Debited);
        const int free = Twips::fromPixels(g.width()) - 2000 - others;
        QVERIFY2(g.ColWidth(Description) >= std::max(2000, free),
                 qPrintable(QString::number(g.ColWidth(Description))));
        if (points < 20)
            QCOMPARE(g.ColWidth(Description), std::max(2000, free));
        // With the usual font every column is in view; a large font on a
        // small screen scrolls sideways rather than cut.
        if (points == 0)
            QTRY_COMPARE(g.horizontalScrollBar()->maximum(), 0);
        if (points == 20)
            QTRY_VERIFY(g.horizontalScrollBar()->maximum() > 0);
        QCOMPARE(Twips::toPixels(g.ColWidth(Description)), g.columnWidth(Description - 1));
    }
    QCOMPARE(script.shown(), 0);
}

void tst_SheetScreens::categoryAddedWhileOpenFits()
{
    QFont font = QApplication::font();
    font.setPointSize(14);
    QApplication::setFont(font);
    Sheet s;
    frmTransactions& w = s.open(1280, 800);
    DialogScript script;
    s.pick();
    FlexGrid& g = *w.FLX1;
    const int least = g.columnWidth(Category - 1);

    // Added and allocated elsewhere while the sheet is open, then picked on
    // the entry row.
    const qint64 added = s.raw->category(QStringLiteral("Confectionery and chocolate"), false);
    s.raw->allocate(added, s.business);
    emit dbStuff::Notifier::instance().categoriesChanged();
    const int row = g.Rows() - 3;
    Sheet::clickCell(g, row, Description);
    Sheet::enter(g, QStringLiteral("Truffles"));
    Sheet::keys(QStringLiteral("Co"));
    Sheet::press(Qt::Key_Return);
    QCOMPARE(g.TextMatrix(row, Category), QStringLiteral("Confectionery and chocolate"));
    QVERIFY(g.columnWidth(Category - 1) > least);
    checkNothingCut(g);
    QCOMPARE(script.shown(), 0);
}

void tst_SheetScreens::textStaysReadable_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("shortfall"); // else a surplus
    QTest::addColumn<bool>("onCursor");  // the cell cursor stands on the balance

    for (bool dark : {false, true})
        for (bool shortfall : {true, false})
            for (bool onCursor : {false, true})
                QTest::addRow("%s palette, %s, %s", dark ? "dark" : "light",
                              shortfall ? "shortfall" : "surplus",
                              onCursor ? "under the cursor" : "cursor elsewhere")
                    << dark << shortfall << onCursor;
}

void tst_SheetScreens::textStaysReadable()
{
    QFETCH(bool, dark);
    QFETCH(bool, shortfall);
    QFETCH(bool, onCursor);
    if (dark)
        QApplication::setPalette(darkPalette());
    Sheet s;
    s.add({.category = s.office, .moneyIn = false, .amount = 250.0});
    if (!shortfall)
        s.add({.category = s.sales, .moneyIn = true, .amount = 900.0});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = *w.FLX1;
    const int balanceRow = g.Rows() - 2;
    const int balanceCol = shortfall ? Credited : Debited;
    // The stored colour is the program's own, whatever the palette.
    QCOMPARE(g.CellForeColor(balanceRow, balanceCol),
             shortfall ? SheetColor::Shortfall : SheetColor::Surplus);

    // A description typed on the entry row and left: a row shown but not
    // stored, in grey.
    const int entryRow = g.Rows() - 3;
    Sheet::clickCell(g, entryRow, Description);
    Sheet::enter(g, QStringLiteral("Flour"));
    QCOMPARE(g.CellForeColor(entryRow, Description), SheetColor::Unstored);
    if (onCursor)
        Sheet::clickCell(g, balanceRow, balanceCol);
    else
        Sheet::clickCell(g, 1, Description);
    QTRY_VERIFY(g.hasFocus());
    QCOMPARE(g.Row(), onCursor ? balanceRow : 1);

    const Painted balance = paintedCell(g, balanceRow, balanceCol);
    QVERIFY(balance.text.isValid());
    const double contrast = Contrast::ratio(balance.text, balance.background);
    QVERIFY2(contrast >= Contrast::ReadableRatio,
             qPrintable(QStringLiteral("%1 on %2: %3")
                            .arg(balance.text.name(), balance.background.name())
                            .arg(contrast)));
    // Red stays red and blue stays blue: the hue is kept, the lightness moved.
    const int hue = balance.text.hslHue();
    QVERIFY2(balance.text.hslSaturation() > 128, qPrintable(balance.text.name()));
    if (shortfall)
        QVERIFY2(hue <= 10 || hue >= 350, qPrintable(balance.text.name()));
    else
        QVERIFY2(hue >= 230 && hue <= 250, qPrintable(balance.text.name()));

    const Painted unstored = paintedCell(g, entryRow, Description);
    QVERIFY(unstored.text.isValid());
    QVERIFY2(
        Contrast::ratio(unstored.text, unstored.background) >= Contrast::ReadableRatio,
        qPrintable(unstored.text.name() + QStringLiteral(" on ") + unstored.background.name()));
    QVERIFY2(unstored.text.hslSaturation() < 16, qPrintable(unstored.text.name()));
    // Ordinary text keeps the palette's own text colour.
    const Painted plain = paintedCell(g, 1, Relation);
    QCOMPARE(plain.background, g.palette().color(QPalette::Base));
    QCOMPARE(plain.text, g.palette().color(QPalette::Text));
    QCOMPARE(script.shown(), 0);
}

QTEST_MAIN(tst_SheetScreens)
#include "tst_sheetscreens.moc"
