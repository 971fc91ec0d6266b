// The sheet window: opening and closing, picking a business, the tabs, the
// layout, following the lookup windows, loading the grids, the totals rows
// and the toolbar's Sort.

#include "platform/Settings.h"
#include "platform/widgets/Twips.h"
#include "SheetTestKit.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

using namespace sheetkit;

namespace {

const QStringList NoBusiness = {"No business selected", "Sheet is disabled"};

QStringList captions(const frmTransactions& w)
{
    return {w.TS1->Caption(1), w.TS1->Caption(2)};
}

// Three rows whose order differs under each of the five sort clauses.
void addThreeOrderedRows(Sheet& s, bool cash)
{
    s.add({.category = s.office,
           .date = "2026-02-01",
           .cash = cash,
           .description = "Cherry",
           .relation = "Mia",
           .receiptId = "1"});
    s.add({.category = s.sales,
           .date = "2026-03-01",
           .cash = cash,
           .moneyIn = true,
           .description = "Apple",
           .relation = "Adam",
           .receiptId = "2"});
    s.add({.category = cash ? s.petty : s.fees,
           .date = "2026-01-01",
           .cash = cash,
           .description = "Banana",
           .relation = "Xavier",
           .receiptId = "3"});
}

QString storedSort()
{
    return GetSetting(AppTitle, "SETTINGS", "SORTSQL", "(none)");
}

} // namespace

class tst_SheetWindow : public QObject
{
    Q_OBJECT

private slots:
    void menuOpensOneWindowOnNoBusiness();
    void categoryPickerFollowsBusinessAndTab_data();
    void categoryPickerFollowsBusinessAndTab();
    void switchingTabsCommitsTheOpenEditAndAsks();
    void descriptionTakesTheFreeWidth_data();
    void descriptionTakesTheFreeWidth();
    void followsBusinessAndCategoryChanges();
    void storedRowsShowInTheirColumns();
    void longSheetsOpenOnTheirLastRows_data();
    void longSheetsOpenOnTheirLastRows();
    void totalsAndBalance_data();
    void totalsAndBalance();
    void balanceThatChangesSidesLeavesNothingBehind();
    void sortByTheCashGridsColumn_data();
    void sortByTheCashGridsColumn();
    void sortOrderHoldsForTheNextStart();
};

void tst_SheetWindow::menuOpensOneWindowOnNoBusiness()
{
    Sheet s;
    const qint64 zeppelin = s.raw->business("Zeppelin");
    const qint64 second = s.raw->business("Bakery");
    s.add({.business = zeppelin, .description = "Not ours"});
    frmMain& frame = s.openFrame();
    int printed = 0;
    qint64 printedFor = -1; // the business the report selection is opened on
    dbStuff::RegisterWindow(dbStuff::WindowId::Print, [&] {
        ++printed;
        printedFor = dbStuff::WindowBusiness();
    });
    qint64 historyOf = -1; // the transaction the history is opened on
    dbStuff::RegisterWindow(dbStuff::WindowId::History,
                            [&] { historyOf = dbStuff::WindowTransaction(); });
    DialogScript script;

    frame.mnuTransactions->trigger();
    frmTransactions* w = frmTransactions::loaded();
    QVERIFY(w);
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(captions(*w), NoBusiness);
    QCOMPARE(w->cbobusiness->ListIndex(), -1);
    QCOMPARE(dbStuff::CurrentTab, 1);
    QVERIFY(!w->FLX1->isEnabled() && !w->FLX2->isEnabled());
    // By name; two of one name keep their own ids.
    QCOMPARE(Sheet::listOf(*w->cbobusiness), (QStringList{"Bakery", "Bakery", "Zeppelin"}));
    QCOMPARE((QSet<qint64>{w->cbobusiness->ItemData(0), w->cbobusiness->ItemData(1)}),
             (QSet<qint64>{s.business, second}));
    QCOMPARE(w->cbobusiness->ItemData(2), zeppelin);
    // Sort needs a business; Print does not.
    Sheet::clickButton(*w->Toolbar1, "sort");
    QCOMPARE(storedSort(), QStringLiteral("(none)"));
    Sheet::clickButton(*w->Toolbar1, "print");
    QCOMPARE(printed, 1);
    QCOMPARE(printedFor, 0);

    // An empty sheet: the title row, entry row "1", the balance and the grand
    // totals, the cursor resting on the balance.
    s.pick();
    QCOMPARE(captions(*w), (QStringList{"Cash transactions", "Bank transactions"}));
    for (FlexGrid* g : {w->FLX1, w->FLX2}) {
        QVERIFY(g->isEnabled());
        QCOMPARE(g->Rows(), 4);
        QCOMPARE(Sheet::rowTexts(*g, 0),
                 (QStringList{"Description", "Category", "Date", "Invoice Nr.", "Receipt id",
                              "Relation", "Debited", "Credited", "Categoryid"}));
        QCOMPARE(Sheet::column(*g, 0, 1, 1), QStringList{"1"});
        QCOMPARE(Sheet::rowTexts(*g, 1), QStringList(9, QString()));
        QCOMPARE(Sheet::rowTexts(*g, 2),
                 (QStringList{"Balance", "", "", "", "", "", "", "0.00", ""}));
        QCOMPARE(Sheet::rowTexts(*g, 3),
                 (QStringList{"GrandTotal", "", "", "", "", "", "0.00", "0.00", ""}));
        QCOMPARE((QList<qint64>{g->RowData(1), g->RowData(2), g->RowData(3)}),
                 (QList<qint64>(3, -1)));
        QCOMPARE(Sheet::cursor(*g), QPoint(Credited, 2));
    }
    s.pick("Zeppelin");
    QCOMPARE(s.cash().Rows(), 5);
    Sheet::clickButton(*w->Toolbar1, "print");
    QCOMPARE(printedFor, zeppelin);
    QCOMPARE(dbStuff::WindowBusiness(), 0); // only while the window is open
    // The history opens on the stored row the cursor is on; on the balance
    // row, which is no transaction, on none.
    Sheet::clickButton(*w->Toolbar1, "history");
    QCOMPARE(historyOf, 0);
    s.cash().setRow(1);
    Sheet::clickButton(*w->Toolbar1, "history");
    QCOMPARE(historyOf, s.cash().RowData(1));
    QVERIFY(historyOf > 0);
    QCOMPARE(s.cash().TextMatrix(1, Description), QStringLiteral("Not ours"));
    s.showTab(2);
    QCOMPARE(dbStuff::CurrentTab, 2);

    // A second click brings the same window forward.
    frame.mnuTransactions->trigger();
    QCOMPARE(frmTransactions::loaded(), w);
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);

    QPointer<frmTransactions> closing(w);
    Sheet::clickButton(*w->Toolbar1, "close");
    QVERIFY(!dbStuff::SheetOpen);
    QTRY_VERIFY(!closing);

    frame.mnuTransactions->trigger();
    frmTransactions* again = frmTransactions::loaded();
    QVERIFY(again && dbStuff::SheetOpen);
    QCOMPARE(again->cbobusiness->ListIndex(), -1);
    QCOMPARE(dbStuff::CurrentTab, 1);
    QCOMPARE(again->TS1->SelectedItem(), 1);
    QCOMPARE(captions(*again), NoBusiness);
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
    s.raw->category("Unused", false); // allocated to no business
    const qint64 other = s.raw->business("Zeppelin");
    s.raw->allocate(s.raw->category("Travel", false), other);
    frmTransactions& w = s.open();
    s.pick();
    s.showTab(tab);
    QCOMPARE(dbStuff::CurrentTab, tab);
    QCOMPARE(Sheet::listOf(*w.Cbo), offered);
    for (int i = 0; i < w.Cbo->ListCount(); ++i)
        QCOMPARE(
            w.Cbo->ItemData(i),
            s.raw->value("SELECT CategoryId FROM Categories WHERE Category = ?1", {w.Cbo->List(i)})
                .toLongLong());
    s.pick("Zeppelin");
    QCOMPARE(Sheet::listOf(*w.Cbo), QStringList{"Travel"});
}

void tst_SheetWindow::switchingTabsCommitsTheOpenEditAndAsks()
{
    Sheet s;
    const qint64 id = s.add({.description = "Cash row"});
    s.add({.cash = false, .description = "Bank row"});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& cash = s.cash();
    Sheet::clickCell(cash, 2, Description);
    Sheet::enter(cash, "Not stored yet");
    // An editor open when the tab changes is committed first, into its own
    // grid; a typed row that is not stored is dropped only when the user says
    // so: No keeps the sheet in front, on that row.
    Sheet::clickCell(cash, 1, Description);
    Sheet::type(cash, "Changed");
    script.answer(vbNo).answer(vbYes);
    s.showTab(2);
    QCOMPARE(Sheet::openEditor(w), QStringLiteral("none"));
    QCOMPARE(s.stored("Description", id), QVariant("Changed"));
    QVERIFY(w.FLX1->isVisible() && !w.FLX2->isVisible());
    QCOMPARE(w.TS1->SelectedItem(), 1);
    QCOMPARE(Sheet::cursor(cash), QPoint(Description, 2));
    QCOMPARE(Sheet::column(cash, Description, 1, 2), (QStringList{"Changed", "Not stored yet"}));

    s.showTab(2);
    QVERIFY(w.FLX2->isVisible() && !w.FLX1->isVisible());
    QCOMPARE(Sheet::column(s.bank(), Description, 1, 2), (QStringList{"Bank row", ""}));
    s.showTab(1);
    QCOMPARE(dbStuff::CurrentTab, 1);
    // Not reloaded: only the row the user let go is emptied.
    QCOMPARE(Sheet::column(cash, Description, 1, 2), (QStringList{"Changed", ""}));
    QCOMPARE(script.shown(), 2);
    QCOMPARE(script.messages().first().prompt.left(36),
             QStringLiteral("Not stored on the cash sheet: row 2."));
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
    DialogScript script; // an error box would fail here
    s.pick();
    for (FlexGrid* g : {w.FLX1, w.FLX2}) {
        const int gridWidth = Twips::fromPixels(g->width());
        if (gridWidth <= 14700) {
            QCOMPARE(g->ColWidth(Description), 2000);
        } else {
            // All the free width but 700 twips for the scroll bar.
            int all = 0;
            for (int c = 0; c <= 8; ++c)
                all += g->ColWidth(c);
            QCOMPARE(all, gridWidth - 700);
            QVERIFY(g->ColWidth(Description) > 2000);
        }
    }
    // Shorter than the toolbar, and minimised: nothing fails.
    const QRect grid = w.FLX1->geometry();
    w.resize(40, 10);
    QCOMPARE(w.FLX1->height(), grid.height());
    w.showMinimized();
    QCoreApplication::processEvents();
    w.showNormal();
    w.resize(windowWidth, 500);
    QCOMPARE(w.FLX1->geometry(), w.TS1->clientRect());
}

void tst_SheetWindow::followsBusinessAndCategoryChanges()
{
    Sheet s;
    s.add({.category = s.sales, .moneyIn = true, .description = "Sold"});
    s.add({.category = s.office, .description = "Bought"});
    s.raw->business("Zeppelin");
    frmTransactions& w = s.open();
    DialogScript script;
    auto& notifier = dbStuff::Notifier::instance();
    emit notifier.categoriesChanged(); // no business yet: the picker stays empty
    QCOMPARE(w.Cbo->ListCount(), 0);
    s.pick();

    // Renamed and another added: the pick stays, the grids too.
    s.raw->exec("UPDATE Businesses SET Name = 'Bakery & Sons' WHERE BusinessId = ?1", {s.business});
    s.raw->business("Alpha");
    emit notifier.businessesChanged();
    QCOMPARE(Sheet::listOf(*w.cbobusiness), (QStringList{"Alpha", "Bakery & Sons", "Zeppelin"}));
    QCOMPARE(w.selectedBusiness(), std::optional<qint64>(s.business));
    QCOMPARE(s.cash().Rows(), 6);

    // A category added, and one deleted with its transactions.
    s.raw->allocate(s.raw->category("Advertising", false), s.business);
    s.raw->exec("DELETE FROM Categories WHERE CategoryId = ?1", {s.sales});
    emit notifier.categoriesChanged();
    QCOMPARE(Sheet::listOf(*w.Cbo), (QStringList{"Advertising", "Office", "Petty cash"}));
    QCOMPARE(Sheet::column(s.cash(), Description, 1, 2), (QStringList{"Bought", ""}));

    // The business picked is deleted: no business.
    s.raw->exec("DELETE FROM Businesses WHERE BusinessId = ?1", {s.business});
    emit notifier.businessesChanged();
    QCOMPARE(w.cbobusiness->ListIndex(), -1);
    QCOMPARE(captions(w), NoBusiness);
    QVERIFY(!w.FLX1->isEnabled());
    QCOMPARE(s.cash().Rows(), 4);
    QCOMPARE(w.Cbo->ListCount(), 0);
    QCOMPARE(Sheet::listOf(*w.cbobusiness), (QStringList{"Alpha", "Zeppelin"}));
}

void tst_SheetWindow::storedRowsShowInTheirColumns()
{
    Sheet s;
    const qint64 in = s.add({.category = s.sales,
                             .date = "2026-12-05",
                             .moneyIn = true,
                             .amount = 1234.5,
                             .description = "Wedding cake",
                             .receiptId = "1234567",
                             .invoiceNr = "F-1"});
    s.add({.date = "2026-12-06",
           .amount = 40,
           .description = "Flour",
           .relation = "Mill",
           .receiptId = "A-12",
           .invoiceNr = "never shown"});
    // Null texts show empty.
    s.raw->exec("INSERT INTO Transactions (TransactionDate, MoneyIn, CategoryId, TotalPrice, Cash, "
                "BusinessId, ReceiptId) VALUES ('2026-12-07', 0, ?1, 1, 1, ?2, 'B')",
                {s.office, s.business});
    s.add({.category = s.sales, .cash = false, .moneyIn = true, .amount = 7, .invoiceNr = "F-2"});
    s.add({.category = s.fees, .cash = false, .amount = 2.25, .receiptId = "6"});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();

    FlexGrid& cash = *w.FLX1;
    QCOMPARE(cash.Rows(), 7);
    QCOMPARE(Sheet::rowTexts(cash, 1),
             (QStringList{"Wedding cake", "Sales", "05/Dec/2026", "F-1", "1/234/567", "Abbey", "",
                          "1,234.50", QString::number(s.sales)}));
    QCOMPARE(Sheet::rowTexts(cash, 2),
             (QStringList{"Flour", "Office", "06/Dec/2026", "n/a", "A-12", "Mill", "40.00", "",
                          QString::number(s.office)}));
    QCOMPARE(Sheet::rowTexts(cash, 3), (QStringList{"", "Office", "07/Dec/2026", "n/a", "B", "",
                                                    "1.00", "", QString::number(s.office)}));
    QCOMPARE(cash.RowData(1), in);
    QCOMPARE(Sheet::column(cash, 0, 1, 4), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(cash.RowData(4), qint64(-1));
    // The bank grid shows invoice numbers as the cash grid does, so its rows
    // are complete.
    FlexGrid& bank = *w.FLX2;
    QCOMPARE(bank.Rows(), 6);
    QCOMPARE(Sheet::column(bank, Invoice, 1, 2), (QStringList{"F-2", "n/a"}));
    QCOMPARE(Sheet::column(bank, Credited, 1, 2), (QStringList{"7.00", ""}));
    QCOMPARE(Sheet::column(bank, Debited, 1, 2), (QStringList{"", "2.25"}));
}

void tst_SheetWindow::longSheetsOpenOnTheirLastRows_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("topRow");
    QTest::newRow("14") << 14 << 1;
    QTest::newRow("15") << 15 << 4;
    QTest::newRow("16") << 16 << 5;
}

void tst_SheetWindow::longSheetsOpenOnTheirLastRows()
{
    QFETCH(int, stored);
    QFETCH(int, topRow);
    Sheet s;
    for (int i = 0; i < stored; ++i)
        s.add({.receiptId = QString::number(i)});
    frmTransactions& w = s.open(1000, 300); // too short for 15 rows
    s.pick();
    QCOMPARE(w.FLX1->Rows(), stored + 4);
    QCOMPARE(w.FLX1->TopRow(), topRow);
}

void tst_SheetWindow::totalsAndBalance_data()
{
    QTest::addColumn<QList<double>>("debited");
    QTest::addColumn<QList<double>>("credited");
    QTest::addColumn<int>("balanceCol");
    QTest::addColumn<QString>("balance");
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("grandTotal");
    QTest::newRow("more paid out")
        << QList<double>{100} << QList<double>{40} << int(Credited) << "60.00" << 255 << "100.00";
    QTest::newRow("more received") << QList<double>{40} << QList<double>{100} << int(Debited)
                                   << "60.00" << 12582912 << "100.00";
    QTest::newRow("even") << QList<double>{25} << QList<double>{12.5, 12.5} << int(Credited)
                          << "0.00" << 12582912 << "25.00";
    QTest::newRow("ten times ten cents")
        << QList<double>(10, 0.1) << QList<double>{} << int(Credited) << "1.00" << 255 << "1.00";
}

void tst_SheetWindow::totalsAndBalance()
{
    QFETCH(QList<double>, debited);
    QFETCH(QList<double>, credited);
    QFETCH(int, balanceCol);
    QFETCH(QString, balance);
    QFETCH(int, color);
    QFETCH(QString, grandTotal);
    Sheet s;
    for (double d : debited)
        s.add({.amount = d});
    for (double c : credited)
        s.add({.category = s.sales, .moneyIn = true, .amount = c});
    frmTransactions& w = s.open();
    s.pick();
    FlexGrid& g = *w.FLX1;
    const int balanceRow = g.Rows() - 2;
    QCOMPARE(g.TextMatrix(balanceRow, balanceCol), balance);
    QCOMPARE(g.CellForeColor(balanceRow, balanceCol), color);
    QCOMPARE(g.TextMatrix(balanceRow, balanceCol == Credited ? Debited : Credited), QString());
    QCOMPARE(Sheet::column(g, balanceRow + 1, Debited, Credited, true),
             (QStringList{grandTotal, grandTotal}));

    // Text that is no number is not counted.
    DialogScript script;
    g.setTextMatrix(balanceRow - 1, Debited, "12a");
    g.setTextMatrix(balanceRow - 1, Credited, "3b");
    w.SumSheet(g);
    QCOMPARE(g.TextMatrix(balanceRow + 1, Credited), grandTotal);
    QVERIFY(!dbStuff::GridBusy);
}

void tst_SheetWindow::balanceThatChangesSidesLeavesNothingBehind()
{
    Sheet s;
    s.add({.amount = 100});
    s.add({.category = s.sales, .moneyIn = true, .amount = 40});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = *w.FLX1;
    QCOMPARE(g.TextMatrix(4, Credited), QStringLiteral("60.00"));

    // An amount stored on the entry row moves the balance to the other side.
    Sheet::clickCell(g, 3, Description);
    Sheet::enter(g, "Big order");
    Sheet::enter(g, "Sa");
    Sheet::type(g, "05/Jan/2026");
    Sheet::press(Qt::Key_Return);
    for (const char* cell : {"F-1", "12", "Mill"})
        Sheet::enter(g, cell);
    Sheet::clickCell(g, 3, Credited);
    Sheet::enter(g, "200");
    QVERIFY(g.RowData(3) > 0);
    QCOMPARE(g.TextMatrix(5, Debited), QStringLiteral("140.00"));
    QCOMPARE(g.CellForeColor(5, Debited), 12582912);
    QCOMPARE(g.TextMatrix(5, Credited), QString());
    QCOMPARE(g.CellForeColor(5, Credited), -1);
    QCOMPARE(Sheet::column(g, 6, Debited, Credited, true), (QStringList{"240.00", "240.00"}));
}

void tst_SheetWindow::sortByTheCashGridsColumn_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("col"); // 0: no click, the cursor rests on the balance
    QTest::addColumn<QString>("clause");
    QTest::addColumn<QStringList>("descriptions");
    const QStringList unchanged{"Cherry", "Apple", "Banana", "Unsaved"};
    QTest::newRow("description") << 1 << int(Description) << "ORDER BY Transactions.description;"
                                 << QStringList{"Apple", "Banana", "Cherry", ""};
    QTest::newRow("category") << 1 << int(Category) << "ORDER BY Categories.category;"
                              << QStringList{"Cherry", "Banana", "Apple", ""};
    QTest::newRow("date") << 1 << int(Date) << "ORDER BY Transactions.transactiondate;"
                          << QStringList{"Banana", "Cherry", "Apple", ""};
    QTest::newRow("receipt id") << 1 << int(Receipt) << "ORDER BY Transactions.receiptid;"
                                << QStringList{"Cherry", "Apple", "Banana", ""};
    QTest::newRow("relation") << 1 << int(Relation) << "ORDER BY Transactions.relation;"
                              << QStringList{"Apple", "Cherry", "Banana", ""};
    // Rebuilt in the same order: the unsaved row goes, once the user agrees.
    QTest::newRow("invoice") << 1 << int(Invoice) << QString()
                             << QStringList{"Cherry", "Apple", "Banana", ""};
    QTest::newRow("debited") << 1 << int(Debited) << QString()
                             << QStringList{"Cherry", "Apple", "Banana", ""};
    QTest::newRow("balance after loading") << 1 << 0 << QString() << unchanged.mid(0, 3);
    // Leaving the cash tab drops the unsaved row (asked); no order changes.
    QTest::newRow("on the bank tab")
        << 2 << int(Date) << QString() << QStringList{"Cherry", "Apple", "Banana", ""};
}

void tst_SheetWindow::sortByTheCashGridsColumn()
{
    QFETCH(int, tab);
    QFETCH(int, col);
    QFETCH(QString, clause);
    QFETCH(QStringList, descriptions);
    Sheet s;
    addThreeOrderedRows(s, true);
    addThreeOrderedRows(s, false);
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = *w.FLX1;
    if (col > 0) {
        Sheet::clickCell(g, 4, Description);
        Sheet::enter(g, "Unsaved");
        Sheet::clickCell(g, 1, col);
        script.answer(vbYes);
    }
    s.showTab(tab);
    Sheet::clickButton(*w.Toolbar1, "sort");

    QCOMPARE(Sheet::column(g, Description, 1, descriptions.size()), descriptions);
    QCOMPARE(dbStuff::SortSQL, clause.isEmpty() ? dbStuff::DefaultSortSQL : clause);
    QCOMPARE(storedSort(), clause.isEmpty() ? QStringLiteral("(none)") : clause);
    // The bank grid keeps its order until the next load.
    QCOMPARE(Sheet::column(*w.FLX2, Description, 1, 3), (QStringList{"Cherry", "Apple", "Banana"}));
    QCOMPARE(script.shown(), col > 0 ? 1 : 0);
}

// The order chosen last is the order of the next start, on both grids.
void tst_SheetWindow::sortOrderHoldsForTheNextStart()
{
    Sheet s;
    addThreeOrderedRows(s, true);
    addThreeOrderedRows(s, false);
    SaveSetting(AppTitle, "FILELOCATIONS", "DATABASE", s.file.path());
    SaveSetting(AppTitle, "SETTINGS", "SORTSQL", "ORDER BY Transactions.transactiondate;");
    DialogScript script;
    dbStuff::ConnectDatabase();
    frmTransactions& w = s.openWindow();
    s.pick();
    const QStringList byDate{"Banana", "Cherry", "Apple"};
    QCOMPARE(Sheet::column(*w.FLX1, Description, 1, 3), byDate);
    QCOMPARE(Sheet::column(*w.FLX2, Description, 1, 3), byDate);
}

QTEST_MAIN(tst_SheetWindow)
#include "tst_sheetwindow.moc"
