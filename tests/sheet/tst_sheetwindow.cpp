// The sheet window: opening and closing, picking a business, the tabs, the
// layout, the toolbar's Print and Close, and following changes made in the
// lookup windows.

#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"
#include "SheetTestKit.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"
#include "support/DialogScript.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>

using namespace sheetkit;

namespace {

QStringList listOf(const ComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.ListCount(); ++i)
        items << combo.List(i);
    return items;
}

QStringList captions(const frmTransactions& w)
{
    return {w.TS1->Caption(1), w.TS1->Caption(2)};
}

void clickButton(Toolbar& bar, const QString& key)
{
    QWidget* button = bar.widgetForAction(bar.Button(key));
    QTest::mouseClick(button, Qt::LeftButton);
}

const QStringList NoBusinessCaptions = {"No business selected", "Sheet is disabled"};
const QStringList BusinessCaptions = {"Cash transactions", "Bank transactions"};

} // namespace

class tst_SheetWindow : public QObject
{
    Q_OBJECT

private slots:
    void opensWithNoBusinessSelected();
    void pickingABusinessLoadsBothGrids();
    void categoryPickerFollowsBusinessAndTab_data();
    void categoryPickerFollowsBusinessAndTab();
    void switchingTabsKeepsBothGrids();
    void menuOpensOneWindowAndCloseUnloadsIt();
    void descriptionTakesTheFreeWidth_data();
    void descriptionTakesTheFreeWidth();
    void tinyOrMinimisedWindowRaisesNothing();
    void printButtonOpensTheReportWindow();
    void followsBusinessChanges();
    void followsCategoryChanges();
};

void tst_SheetWindow::opensWithNoBusinessSelected()
{
    Sheet s;
    const qint64 zeppelin = s.raw->business("Zeppelin");
    const qint64 second = s.raw->business("Bakery");
    frmTransactions& w = s.open();
    QCOMPARE(captions(w), NoBusinessCaptions);
    QCOMPARE(w.cbobusiness->ListIndex(), -1);
    QCOMPARE(dbStuff::CurrentTab, 1);
    QVERIFY(dbStuff::SheetOpen);
    // Nothing can be typed before a business is picked.
    QVERIFY(!w.FLX1->isEnabled());
    QVERIFY(!w.FLX2->isEnabled());
    // By name; two of one name keep their own ids.
    QCOMPARE(listOf(*w.cbobusiness), (QStringList{"Bakery", "Bakery", "Zeppelin"}));
    QCOMPARE((QSet<qint64>{w.cbobusiness->ItemData(0), w.cbobusiness->ItemData(1)}),
             (QSet<qint64>{s.business, second}));
    QCOMPARE(w.cbobusiness->ItemData(2), zeppelin);

    s.window.reset();
    QVERIFY(!dbStuff::SheetOpen);
    QCOMPARE(frmTransactions::loaded(), nullptr);
}

void tst_SheetWindow::pickingABusinessLoadsBothGrids()
{
    Sheet s;
    const qint64 other = s.raw->business("Zeppelin");
    s.add({.business = other, .description = "Not ours"});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    QCOMPARE(captions(w), BusinessCaptions);
    QVERIFY(w.TS1->isEnabled());
    QVERIFY(w.FLX1->isEnabled());
    QVERIFY(w.FLX2->isEnabled());
    QCOMPARE(s.cash().Rows(), 4);
    QCOMPARE(script.shown(), 0);

    s.pick("Zeppelin");
    QCOMPARE(s.cash().Rows(), 5);
    QCOMPARE(s.cash().TextMatrix(1, Description), QStringLiteral("Not ours"));
}

void tst_SheetWindow::categoryPickerFollowsBusinessAndTab_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("cash") << 1 << QStringList{"Office", "Petty cash", "Sales"};
    QTest::newRow("bank") << 2 << QStringList{"Bank fees", "Office", "Sales"};
}

void tst_SheetWindow::categoryPickerFollowsBusinessAndTab()
{
    QFETCH(int, tab);
    QFETCH(QStringList, offered);
    Sheet s;
    // Not allocated to the business: offered on neither sheet.
    s.raw->category("Unused", false);
    const qint64 other = s.raw->business("Zeppelin");
    s.raw->allocate(s.raw->category("Travel", false), other);
    frmTransactions& w = s.open();
    s.pick();
    if (tab == 2)
        s.showTab(2);
    QCOMPARE(dbStuff::CurrentTab, tab);
    QCOMPARE(listOf(*w.Cbo), offered);
    for (int i = 0; i < w.Cbo->ListCount(); ++i) {
        const qint64 id =
            s.raw->value("SELECT CategoryId FROM Categories WHERE Category = ?1", {w.Cbo->List(i)})
                .toLongLong();
        QCOMPARE(w.Cbo->ItemData(i), id);
    }
    s.pick("Zeppelin");
    QCOMPARE(listOf(*w.Cbo), QStringList{"Travel"});
}

void tst_SheetWindow::switchingTabsKeepsBothGrids()
{
    Sheet s;
    s.add({.description = "Cash row"});
    s.add({.cash = false, .description = "Bank row"});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& cash = s.cash();
    cash.setFocus();
    Sheet::clickCell(cash, 2, Description);
    Sheet::enter(cash, "Not stored yet");
    const qint64 cashId = cash.RowData(1);

    s.showTab(2);
    QVERIFY(w.FLX2->isVisible());
    QVERIFY(!w.FLX1->isVisible());
    QCOMPARE(s.bank().TextMatrix(1, Description), QStringLiteral("Bank row"));
    s.showTab(1);
    QCOMPARE(dbStuff::CurrentTab, 1);
    QVERIFY(w.FLX1->isVisible());
    // Not reloaded: the unsaved text is still there, the stored row too.
    QCOMPARE(cash.TextMatrix(2, Description), QStringLiteral("Not stored yet"));
    QCOMPARE(cash.RowData(1), cashId);
    QCOMPARE(script.shown(), 0);
}

void tst_SheetWindow::menuOpensOneWindowAndCloseUnloadsIt()
{
    Sheet s;
    s.env.openDatabase(s.file.path());
    RegisterSheetWindow();
    frmMain& frame = frmMain::instance();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    frame.mnuTransactions->trigger();
    frmTransactions* first = frmTransactions::loaded();
    QVERIFY(first);
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(frame.mdiArea()->subWindowList().first()->widget(), first);
    s.pick();
    first->TS1->setSelectedItem(2);
    first->TS1_Click();
    QCOMPARE(dbStuff::CurrentTab, 2);

    // A second click brings the same window forward.
    frame.mnuTransactions->trigger();
    QCOMPARE(frmTransactions::loaded(), first);
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);

    QPointer<frmTransactions> closing(first);
    clickButton(*first->Toolbar1, "close");
    QVERIFY(!dbStuff::SheetOpen);
    QCOMPARE(frmTransactions::loaded(), nullptr);
    QTRY_VERIFY(!closing);

    frame.mnuTransactions->trigger();
    frmTransactions* again = frmTransactions::loaded();
    QVERIFY(again);
    QVERIFY(dbStuff::SheetOpen);
    QCOMPARE(again->cbobusiness->ListIndex(), -1);
    QCOMPARE(dbStuff::CurrentTab, 1);
    QCOMPARE(again->TS1->SelectedItem(), 1);
    QCOMPARE(captions(*again), NoBusinessCaptions);
}

void tst_SheetWindow::descriptionTakesTheFreeWidth_data()
{
    QTest::addColumn<int>("windowWidth"); // pixels
    QTest::newRow("narrow") << 600;
    QTest::newRow("just wide enough") << 1000;
    QTest::newRow("wide") << 1600;
}

void tst_SheetWindow::descriptionTakesTheFreeWidth()
{
    QFETCH(int, windowWidth);
    Sheet s;
    frmTransactions& w = s.open(windowWidth, 500);
    s.pick();
    for (FlexGrid* g : {w.FLX1, w.FLX2}) {
        const int gridWidth = Twips::fromPixels(g->width());
        // Columns 0 and 2 to 7 take 10,700 twips, "Credited" 1,300 more, and
        // 700 stay free for the scroll bar.
        const int description = g->ColWidth(Description);
        if (gridWidth <= 14700) {
            QCOMPARE(description, 2000);
        } else {
            int all = 0;
            for (int c = 0; c <= 8; ++c)
                all += g->ColWidth(c);
            QCOMPARE(all, gridWidth - 700);
            QVERIFY(description > 2000);
        }
    }
}

void tst_SheetWindow::tinyOrMinimisedWindowRaisesNothing()
{
    Sheet s;
    frmTransactions& w = s.open(1000, 600);
    s.pick();
    DialogScript script; // an error box would fail here
    const QRect grid = w.FLX1->geometry();
    w.resize(40, 10); // shorter than the toolbar and the gap under it
    QCOMPARE(w.FLX1->height(), grid.height());
    w.showMinimized();
    QCoreApplication::processEvents();
    w.showNormal();
    w.resize(1000, 600);
    QCOMPARE(w.FLX1->geometry(), w.TS1->clientRect());
    QCOMPARE(script.shown(), 0);
}

void tst_SheetWindow::printButtonOpensTheReportWindow()
{
    Sheet s;
    frmTransactions& w = s.open();
    int opened = 0;
    dbStuff::RegisterWindow(dbStuff::WindowId::Print, [&] { ++opened; });
    clickButton(*w.Toolbar1, "print");
    QCOMPARE(opened, 1);
    s.pick();
    s.showTab(2);
    clickButton(*w.Toolbar1, "print");
    QCOMPARE(opened, 2);
    QVERIFY(dbStuff::SheetOpen);
}

void tst_SheetWindow::followsBusinessChanges()
{
    Sheet s;
    s.add({.description = "Kept"});
    s.raw->business("Zeppelin");
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();

    // Renamed and another added: the pick stays, the grids too.
    s.raw->exec("UPDATE Businesses SET Name = 'Bakery & Sons' WHERE BusinessId = ?1", {s.business});
    s.raw->business("Alpha");
    emit dbStuff::Notifier::instance().businessesChanged();
    QCOMPARE(listOf(*w.cbobusiness), (QStringList{"Alpha", "Bakery & Sons", "Zeppelin"}));
    QCOMPARE(w.selectedBusiness(), std::optional<qint64>(s.business));
    QCOMPARE(s.cash().TextMatrix(1, Description), QStringLiteral("Kept"));

    // The business picked is deleted, and its transactions with it: no business.
    s.raw->exec("DELETE FROM Businesses WHERE BusinessId = ?1", {s.business});
    emit dbStuff::Notifier::instance().businessesChanged();
    QCOMPARE(w.cbobusiness->ListIndex(), -1);
    QCOMPARE(captions(w), NoBusinessCaptions);
    QVERIFY(!w.FLX1->isEnabled());
    QCOMPARE(s.cash().Rows(), 4);
    QCOMPARE(w.Cbo->ListCount(), 0);
    QCOMPARE(listOf(*w.cbobusiness), (QStringList{"Alpha", "Zeppelin"}));
    QCOMPARE(script.shown(), 0);
}

void tst_SheetWindow::followsCategoryChanges()
{
    Sheet s;
    s.add({.category = s.sales, .moneyIn = true, .description = "Sold"});
    s.add({.category = s.office, .description = "Bought"});
    frmTransactions& w = s.open();
    DialogScript script;

    // No business yet: the picker stays empty, nothing fails.
    emit dbStuff::Notifier::instance().categoriesChanged();
    QCOMPARE(w.Cbo->ListCount(), 0);

    s.pick();
    s.raw->allocate(s.raw->category("Advertising", false), s.business);
    emit dbStuff::Notifier::instance().categoriesChanged();
    QCOMPARE(listOf(*w.Cbo), (QStringList{"Advertising", "Office", "Petty cash", "Sales"}));
    QCOMPARE(s.cash().Rows(), 6);

    // A deleted category takes its transactions along; the sheet no longer
    // shows them.
    s.raw->exec("DELETE FROM Categories WHERE CategoryId = ?1", {s.sales});
    emit dbStuff::Notifier::instance().categoriesChanged();
    QCOMPARE(listOf(*w.Cbo), (QStringList{"Advertising", "Office", "Petty cash"}));
    QCOMPARE(s.cash().Rows(), 5);
    QCOMPARE(s.cash().TextMatrix(1, Description), QStringLiteral("Bought"));
    QCOMPARE(script.shown(), 0);
}

QTEST_MAIN(tst_SheetWindow)
#include "tst_sheetwindow.moc"
