// The sheet as it is laid out on the screen: numbers never shown cut, however
// long the sheet or large its totals, and the window opening big enough for
// its ten columns.

#include "platform/Settings.h"
#include "platform/widgets/Twips.h"
#include "SheetTestKit.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"

#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyleOptionHeader>

using namespace sheetkit;

namespace {

// The same for a row number in the fixed column, painted by the row header.
int rowNumberNeeds(const FlexGrid& grid, int row)
{
    const QHeaderView* header = grid.verticalHeader();
    QStyleOptionHeader option;
    option.initFrom(header);
    option.orientation = Qt::Vertical;
    option.text = grid.TextMatrix(row, 0);
    return header->style()
        ->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header)
        .width();
}

// Fails with the first number the grid would show cut: the amounts of every
// row, and the row numbers of the first and the last rows.
void checkNothingCut(const FlexGrid& grid)
{
    for (int col : {Debited, Credited}) {
        for (int row = 1; row < grid.Rows(); ++row) {
            const int needs = cellNeeds(grid, row, col);
            if (needs > grid.columnWidth(col - 1))
                QFAIL(qPrintable(QStringLiteral("\"%1\" in row %2 needs %3 px, column %4 has %5")
                                     .arg(grid.TextMatrix(row, col))
                                     .arg(row)
                                     .arg(needs)
                                     .arg(col)
                                     .arg(grid.columnWidth(col - 1))));
        }
    }
    for (int row : {1, grid.Rows() - 5, grid.Rows() - 4, grid.Rows() - 3}) {
        const int needs = rowNumberNeeds(grid, row);
        if (needs > grid.verticalHeader()->width())
            QFAIL(qPrintable(QStringLiteral("row number \"%1\" needs %2 px, the column has %3")
                                 .arg(grid.TextMatrix(row, 0))
                                 .arg(needs)
                                 .arg(grid.verticalHeader()->width())));
    }
}

} // namespace

class tst_SheetLayout : public QObject
{
    Q_OBJECT

private slots:
    void numbersAreNeverCut_data();
    void numbersAreNeverCut();
    void opensMaximisedThenWhereItWasLeft();
};

void tst_SheetLayout::numbersAreNeverCut_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<double>("amount"); // of each stored income
    QTest::addColumn<QString>("typed"); // then typed into the first row's "Credited"
    QTest::addColumn<QString>("grandTotal");

    QTest::newRow("grand total of millions on load") << 1 << 12345678.9 << ""
                                                     << "12,345,678.90";
    QTest::newRow("a commit makes the total wider") << 1 << 99.0 << "12345678.90"
                                                    << "12,345,678.90";
    QTest::newRow("row 10,000") << 10000 << 1.0 << ""
                                << "10,000.00";
    QTest::newRow("a commit on row 10,000") << 10000 << 1.0 << "98765432.10"
                                            << "98,775,431.10";
}

void tst_SheetLayout::numbersAreNeverCut()
{
    QFETCH(int, rows);
    QFETCH(double, amount);
    QFETCH(QString, typed);
    QFETCH(QString, grandTotal);
    Sheet s;
    s.raw->exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?3) "
                "INSERT INTO Transactions (TransactionDate, MoneyIn, CategoryId, TotalPrice, "
                "Cash, BusinessId, Description, Relation, ReceiptId, Invoicenr) "
                "SELECT '2026-03-15', 1, ?1, ?4, 1, ?2, 'Bread', 'Abbey', i, 'F-' || i FROM n",
                {s.sales, s.business, rows, amount});
    frmTransactions& w = s.open(1200, 640);
    DialogScript script;
    s.pick();
    FlexGrid& g = *w.FLX1;
    QCOMPARE(g.Rows(), rows + 4);
    if (!typed.isEmpty()) {
        Sheet::clickCell(g, 1, Credited);
        Sheet::enter(g, typed);
    }
    QCOMPARE(g.TextMatrix(g.Rows() - 1, Credited), grandTotal);
    QCOMPARE(g.TextMatrix(g.Rows() - 3, 0), QString::number(rows + 1));
    checkNothingCut(g);
    // The wider columns are read back as shown, and "Description" gives way,
    // so that the grid still needs no horizontal scrolling.
    QCOMPARE(Twips::toPixels(g.ColWidth(Credited)), g.columnWidth(Credited - 1));
    QCOMPARE(Twips::toPixels(g.ColWidth(0)), g.verticalHeader()->width());
    QTRY_COMPARE(g.horizontalScrollBar()->maximum(), 0);

    // A business with a small sheet shows the columns at their set widths again.
    const qint64 small = s.raw->business("Zeppelin");
    s.raw->allocate(s.sales, small);
    s.add({.business = small, .category = s.sales, .moneyIn = true, .amount = 5});
    w.FIllcboBusiness();
    s.pick("Zeppelin");
    QCOMPARE(g.columnWidth(Credited - 1), Twips::toPixels(1300));
    QCOMPARE(g.ColWidth(Credited), 1300);
    QCOMPARE(g.verticalHeader()->width(), Twips::toPixels(500));
    QTRY_COMPARE(g.horizontalScrollBar()->maximum(), 0);
}

void tst_SheetLayout::opensMaximisedThenWhereItWasLeft()
{
    Sheet s;
    s.add({.description = "Flour"});
    frmMain& frame = s.openFrame();
    DialogScript script;

    frame.mnuTransactions->trigger();
    frmTransactions* w = frmTransactions::loaded();
    QVERIFY(w);
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    QVERIFY(sub);
    QTRY_VERIFY(sub->isMaximized());
    QCOMPARE(sub->geometry(), frame.mdiArea()->viewport()->rect());
    s.pick();
    // Room for the description besides the nine other columns: about 400 px.
    QVERIFY2(w->FLX1->ColWidth(Description) >= 5000,
             qPrintable(QString::number(w->FLX1->ColWidth(Description))));

    // Asked for again, it is brought forward as it is.
    frame.mnuTransactions->trigger();
    QCOMPARE(frmTransactions::loaded(), w);
    QVERIFY(sub->isMaximized());
    // Made smaller by the user, it stays so when asked for again.
    sub->showNormal();
    sub->resize(700, 400);
    frame.mnuTransactions->trigger();
    QVERIFY(!sub->isMaximized());
    QCOMPARE(sub->size(), QSize(700, 400));

    // Closed and opened again (as in the next run): where the user left it.
    sub->move(30, 20);
    auto close = [&] {
        QPointer<QMdiSubWindow> closing(sub);
        Sheet::clickButton(*w->Toolbar1, "close");
        QTRY_VERIFY(!closing);
    };
    auto open = [&] {
        frame.mnuTransactions->trigger();
        w = frmTransactions::loaded();
        QVERIFY(w);
        sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        QVERIFY(sub);
    };
    auto reopen = [&] {
        close();
        open();
    };
    reopen();
    QVERIFY(!sub->isMaximized());
    QCOMPARE(sub->geometry(), QRect(30, 20, 700, 400));
    // Left maximised, it comes back maximised, and from there to its old size.
    sub->showMaximized();
    reopen();
    QTRY_VERIFY(sub->isMaximized());
    sub->showNormal();
    QCOMPARE(sub->geometry(), QRect(30, 20, 700, 400));

    // A place beyond a smaller frame is pulled inside it; a tampered one is
    // no place at all.
    const QSize area = frame.mdiArea()->viewport()->size();
    close();
    SaveSetting(AppTitle, "WINDOWS", "SHEET", "2000,1500,3000,300,0");
    open();
    QCOMPARE(sub->geometry(), QRect(0, area.height() - 300, area.width(), 300));
    close();
    SaveSetting(AppTitle, "WINDOWS", "SHEET", "30,20,abc,400,0");
    open();
    QTRY_VERIFY(sub->isMaximized());
}

QTEST_MAIN(tst_SheetLayout)
#include "tst_sheetlayout.moc"
