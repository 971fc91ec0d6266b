// Loading the two grids: layout, cell formats, scrolling, order, the totals
// rows, and the toolbar's Sort.

#include "platform/Settings.h"
#include "platform/widgets/Toolbar.h"
#include "SheetTestKit.h"
#include "support/DialogScript.h"

#include <QToolButton>

using namespace sheetkit;

namespace {

QStringList column(const FlexGrid& grid, int col, int firstRow, int lastRow)
{
    QStringList texts;
    for (int r = firstRow; r <= lastRow; ++r)
        texts << grid.TextMatrix(r, col);
    return texts;
}

void clickSort(frmTransactions& w)
{
    QTest::mouseClick(w.Toolbar1->widgetForAction(w.Toolbar1->Button("sort")), Qt::LeftButton);
}

// Three rows whose order differs under each of the five sort clauses.
void addThreeOrderedRows(Sheet& s, bool cash = true)
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

class tst_SheetLoading : public QObject
{
    Q_OBJECT

private slots:
    void gridsAreLaidOutAlike();
    void storedRowsShowInTheirColumns();
    void longSheetsOpenOnTheirLastRows_data();
    void longSheetsOpenOnTheirLastRows();
    void totalsAndBalance_data();
    void totalsAndBalance();
    void textThatIsNoNumberIsNotCounted();
    void balanceThatChangesSidesLeavesNothingBehind();
    void sortByTheCashGridsColumn_data();
    void sortByTheCashGridsColumn();
    void sortOnTheBankTabDoesNothing();
    void sortWithoutABusinessDoesNothing();
    void sortOrderHoldsForTheNextStart_data();
    void sortOrderHoldsForTheNextStart();
};

void tst_SheetLoading::gridsAreLaidOutAlike()
{
    Sheet s;
    frmTransactions& w = s.open();
    s.pick();
    for (FlexGrid* g : {w.FLX1, w.FLX2}) {
        QCOMPARE(g->Cols(), 10);
        QCOMPARE(g->Rows(), 4);
        QCOMPARE(Sheet::rowTexts(*g, 0),
                 (QStringList{"Description", "Category", "Date", "Invoice Nr.", "Receipt id",
                              "Relation", "Debited", "Credited", "Categoryid"}));
        const QList<int> widths = {500, -1, 2500, 1600, 1400, 1100, 2300, 1300, 1300, 0};
        const QList<int> alignments = {-1, 1, 1, 1, 4, 1, 1, 7, 7, 9};
        for (int c = 0; c < 10; ++c) {
            if (widths[c] >= 0)
                QCOMPARE(g->ColWidth(c), widths[c]);
            if (alignments[c] >= 0)
                QCOMPARE(g->ColAlignment(c), alignments[c]);
            QVERIFY(g->CellFontBold(0, c));
            QVERIFY(!g->CellFontBold(1, c));
        }
        for (int r = 1; r <= 3; ++r)
            QCOMPARE(g->RowData(r), qint64(-1));
        QCOMPARE(g->TextMatrix(1, 0), QStringLiteral("1"));
        QCOMPARE(Sheet::rowTexts(*g, 1), QStringList(9, QString()));
        QCOMPARE(Sheet::rowTexts(*g, 2),
                 (QStringList{"Balance", "", "", "", "", "", "", "0.00", ""}));
        QCOMPARE(Sheet::rowTexts(*g, 3),
                 (QStringList{"GrandTotal", "", "", "", "", "", "0.00", "0.00", ""}));
        QCOMPARE(g->CellForeColor(2, Credited), 12582912);
        // After a load the cursor rests on the balance.
        QCOMPARE(g->Row(), 2);
        QCOMPARE(g->Col(), int(Credited));
    }
}

void tst_SheetLoading::storedRowsShowInTheirColumns()
{
    Sheet s;
    const qint64 in = s.add({.category = s.sales,
                             .date = "2026-12-05",
                             .moneyIn = true,
                             .amount = 1234.5,
                             .description = "Wedding cake",
                             .relation = "Abbey",
                             .receiptId = "1234567",
                             .invoiceNr = "F-1"});
    const qint64 out = s.add({.category = s.office,
                              .date = "2026-12-06",
                              .amount = 40,
                              .description = "Flour",
                              .relation = "Mill",
                              .receiptId = "A-12",
                              .invoiceNr = "never shown"});
    s.raw->exec("INSERT INTO Transactions (TransactionDate, MoneyIn, CategoryId, TotalPrice, Cash, "
                "BusinessId, ReceiptId) VALUES ('2026-12-07', 0, ?1, 1, 1, ?2, 'B')",
                {s.office, s.business});
    s.add({.category = s.sales,
           .cash = false,
           .moneyIn = true,
           .amount = 7,
           .receiptId = "5",
           .invoiceNr = "F-2"});
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
    // Null texts show empty.
    QCOMPARE(Sheet::rowTexts(cash, 3), (QStringList{"", "Office", "07/Dec/2026", "n/a", "B", "",
                                                    "1.00", "", QString::number(s.office)}));
    QCOMPARE(cash.RowData(1), in);
    QCOMPARE(cash.RowData(2), out);
    QVERIFY(cash.RowData(3) > out);
    QCOMPARE(column(cash, 0, 1, 4), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(cash.RowData(4), qint64(-1));
    QCOMPARE(cash.RowData(5), qint64(-1));
    QCOMPARE(cash.RowData(6), qint64(-1));

    // The bank grid shows invoice numbers as the cash grid does, so its rows
    // are complete.
    FlexGrid& bank = *w.FLX2;
    QCOMPARE(bank.Rows(), 6);
    QCOMPARE(column(bank, Invoice, 1, 2), (QStringList{"F-2", "n/a"}));
    QCOMPARE(column(bank, Credited, 1, 2), (QStringList{"7.00", ""}));
    QCOMPARE(column(bank, Debited, 1, 2), (QStringList{"", "2.25"}));
    QCOMPARE(script.shown(), 0);
}

void tst_SheetLoading::longSheetsOpenOnTheirLastRows_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("topRow");
    QTest::newRow("none") << 0 << 1;
    QTest::newRow("14") << 14 << 1;
    QTest::newRow("15") << 15 << 4;
    QTest::newRow("16") << 16 << 5;
}

void tst_SheetLoading::longSheetsOpenOnTheirLastRows()
{
    QFETCH(int, stored);
    QFETCH(int, topRow);
    Sheet s;
    for (int i = 0; i < stored; ++i)
        s.add({.receiptId = QString::number(i)});
    // Short enough that 15 rows do not all fit; the sheet scrolls as asked.
    frmTransactions& w = s.open(1000, 300);
    s.pick();
    QCOMPARE(w.FLX1->Rows(), stored + 4);
    QCOMPARE(w.FLX1->TopRow(), topRow);
}

void tst_SheetLoading::totalsAndBalance_data()
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
    QTest::newRow("thousands") << QList<double>{999.99, 1000.01, 0.5} << QList<double>{1234567.89}
                               << int(Debited) << "1,232,567.39" << 12582912 << "1,234,567.89";
}

void tst_SheetLoading::totalsAndBalance()
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
    const int otherCol = balanceCol == Credited ? Debited : Credited;
    QCOMPARE(g.TextMatrix(balanceRow, balanceCol), balance);
    QCOMPARE(g.CellForeColor(balanceRow, balanceCol), color);
    QCOMPARE(g.TextMatrix(balanceRow, otherCol), QString());
    QCOMPARE(g.TextMatrix(balanceRow + 1, Debited), grandTotal);
    QCOMPARE(g.TextMatrix(balanceRow + 1, Credited), grandTotal);
}

void tst_SheetLoading::textThatIsNoNumberIsNotCounted()
{
    Sheet s;
    s.add({.amount = 5});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = *w.FLX1;
    g.setTextMatrix(2, Debited, "abc");
    g.setTextMatrix(2, Credited, "1,000.00");
    g.setTextMatrix(1, Credited, "12a");
    w.SumSheet(g);
    QCOMPARE(g.TextMatrix(3, Debited), QStringLiteral("995.00"));
    QCOMPARE(g.TextMatrix(4, Debited), QStringLiteral("1,000.00"));
    QCOMPARE(g.TextMatrix(4, Credited), QStringLiteral("1,000.00"));
    QVERIFY(!dbStuff::GridBusy);
    QCOMPARE(script.shown(), 0);
}

void tst_SheetLoading::balanceThatChangesSidesLeavesNothingBehind()
{
    Sheet s;
    s.add({.amount = 100});
    s.add({.category = s.sales, .moneyIn = true, .amount = 40});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = *w.FLX1;
    QCOMPARE(g.TextMatrix(4, Credited), QStringLiteral("60.00"));

    // An amount typed on the entry row counts at once, stored or not.
    Sheet::clickCell(g, 3, Description);
    Sheet::enter(g, "Big order");
    Sheet::enter(g, "Sa");
    Sheet::clickCell(g, 3, Credited);
    Sheet::enter(g, "200");
    QCOMPARE(g.RowData(3), qint64(-1));
    QCOMPARE(g.TextMatrix(4, Debited), QStringLiteral("140.00"));
    QCOMPARE(g.CellForeColor(4, Debited), 12582912);
    QCOMPARE(g.TextMatrix(4, Credited), QString());
    QCOMPARE(g.CellForeColor(4, Credited), -1);
    QCOMPARE(g.TextMatrix(5, Debited), QStringLiteral("240.00"));
    QCOMPARE(g.TextMatrix(5, Credited), QStringLiteral("240.00"));
    QCOMPARE(script.shown(), 0);
}

void tst_SheetLoading::sortByTheCashGridsColumn_data()
{
    QTest::addColumn<int>("col"); // 0: no click, the cursor rests on the balance
    QTest::addColumn<QString>("clause");
    QTest::addColumn<QStringList>("descriptions");
    const QStringList unchanged{"Cherry", "Apple", "Banana"};
    QTest::newRow("description") << int(Description) << "ORDER BY Transactions.description;"
                                 << QStringList{"Apple", "Banana", "Cherry"};
    QTest::newRow("category") << int(Category) << "ORDER BY Categories.category;"
                              << QStringList{"Cherry", "Banana", "Apple"};
    QTest::newRow("date") << int(Date) << "ORDER BY Transactions.transactiondate;"
                          << QStringList{"Banana", "Cherry", "Apple"};
    QTest::newRow("receipt id") << int(Receipt) << "ORDER BY Transactions.receiptid;" << unchanged;
    QTest::newRow("relation") << int(Relation) << "ORDER BY Transactions.relation;"
                              << QStringList{"Apple", "Cherry", "Banana"};
    QTest::newRow("invoice") << int(Invoice) << QString() << unchanged;
    QTest::newRow("debited") << int(Debited) << QString() << unchanged;
    QTest::newRow("credited") << int(Credited) << QString() << unchanged;
    QTest::newRow("balance after loading") << 0 << QString() << unchanged;
}

void tst_SheetLoading::sortByTheCashGridsColumn()
{
    QFETCH(int, col);
    QFETCH(QString, clause);
    QFETCH(QStringList, descriptions);
    Sheet s;
    addThreeOrderedRows(s);
    addThreeOrderedRows(s, false);
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = *w.FLX1;
    if (col > 0) {
        // Typed but not stored: the rebuild drops it.
        Sheet::clickCell(g, 4, Description);
        Sheet::enter(g, "Unsaved");
        Sheet::clickCell(g, 1, col);
    }
    clickSort(w);

    QCOMPARE(column(g, Description, 1, 4), descriptions + QStringList{""});
    QCOMPARE(g.Rows(), 7);
    QCOMPARE(dbStuff::SortSQL, clause.isEmpty() ? dbStuff::DefaultSortSQL : clause);
    QCOMPARE(storedSort(), clause.isEmpty() ? QStringLiteral("(none)") : clause);
    // The bank grid keeps its order until the next load.
    QCOMPARE(column(*w.FLX2, Description, 1, 3), (QStringList{"Cherry", "Apple", "Banana"}));
    QCOMPARE(script.shown(), 0);
}

void tst_SheetLoading::sortOnTheBankTabDoesNothing()
{
    Sheet s;
    addThreeOrderedRows(s);
    frmTransactions& w = s.open();
    s.pick();
    FlexGrid& g = *w.FLX1;
    Sheet::clickCell(g, 4, Description);
    Sheet::enter(g, "Unsaved");
    Sheet::clickCell(g, 1, Date);
    s.showTab(2);
    clickSort(w);
    QCOMPARE(column(g, Description, 1, 4), (QStringList{"Cherry", "Apple", "Banana", "Unsaved"}));
    QCOMPARE(dbStuff::SortSQL, dbStuff::DefaultSortSQL);
    QCOMPARE(storedSort(), QStringLiteral("(none)"));
}

void tst_SheetLoading::sortWithoutABusinessDoesNothing()
{
    Sheet s;
    frmTransactions& w = s.open();
    DialogScript script;
    clickSort(w);
    QCOMPARE(script.shown(), 0);
    QCOMPARE(w.cbobusiness->ListIndex(), -1);
    QCOMPARE(storedSort(), QStringLiteral("(none)"));
}

void tst_SheetLoading::sortOrderHoldsForTheNextStart_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("descriptions");
    QTest::newRow("by date") << "ORDER BY Transactions.transactiondate;"
                             << QStringList{"Banana", "Cherry", "Apple"};
    // Settings text never reaches the query unchecked.
    QTest::newRow("tampered") << "ORDER BY 1; DELETE FROM Transactions;"
                              << QStringList{"Cherry", "Apple", "Banana"};
    QTest::newRow("missing") << QString() << QStringList{"Cherry", "Apple", "Banana"};
}

void tst_SheetLoading::sortOrderHoldsForTheNextStart()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, descriptions);
    Sheet s;
    addThreeOrderedRows(s);
    addThreeOrderedRows(s, false);
    SaveSetting(AppTitle, "FILELOCATIONS", "DATABASE", s.file.path());
    if (!stored.isEmpty())
        SaveSetting(AppTitle, "SETTINGS", "SORTSQL", stored);
    DialogScript script;
    dbStuff::ConnectDatabase();
    frmTransactions& w = s.openWindow();
    s.pick();
    QCOMPARE(column(*w.FLX1, Description, 1, 3), descriptions);
    QCOMPARE(column(*w.FLX2, Description, 1, 3), descriptions);
    QCOMPARE(s.raw->count("Transactions"), 6);
    QCOMPARE(script.shown(), 0);
}

QTEST_MAIN(tst_SheetLoading)
#include "tst_sheetloading.moc"
