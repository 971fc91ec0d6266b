// The road of typed transactions: everything a person does with the keyboard
// to enter a row, and what the grid and the database hold afterwards.

#include "SheetTestKit.h"
#include "support/DialogScript.h"

using namespace sheetkit;

namespace {

// Picks the first business with the keyboard and puts the cursor on the first
// cell of the cash grid's entry row, with keys only.
void pickAndGoToEntryRow(Sheet& s, FlexGrid& grid)
{
    s.window->cbobusiness->setFocus();
    Sheet::press(Qt::Key_Down);
    for (int i = 0; i < 5 && QApplication::focusWidget() != &grid; ++i)
        Sheet::press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &grid);
    // The cursor rests on the balance; the entry row is right above it.
    Sheet::press(Qt::Key_Up);
    Sheet::press(Qt::Key_Home);
}

QVariantList storedRow(RawDb& raw, qint64 id)
{
    const auto rows = raw.rows(
        "SELECT TransactionDate, Cash, MoneyIn, TotalPrice, CategoryId, BusinessId, Description, "
        "ReceiptId, Relation, Invoicenr FROM Transactions WHERE TransactionId = ?1",
        {id});
    return rows.isEmpty() ? QVariantList() : rows.first();
}

} // namespace

class tst_SheetRoad : public QObject
{
    Q_OBJECT

private slots:
    void typedCashTransactionIsStoredOnce();
    void typedBankTransactionIsStoredOnce();
};

void tst_SheetRoad::typedCashTransactionIsStoredOnce()
{
    Sheet s;
    s.add({.date = "2026-03-02",
           .amount = 10.0,
           .description = "Paper",
           .relation = "Abbey",
           .receiptId = "7"});
    const qint64 other = s.raw->business("Zeppelin");
    s.add({.business = other, .relation = "Abbot"});
    frmTransactions& w = s.open();
    DialogScript script; // any message box fails the test
    FlexGrid& g = s.cash();
    pickAndGoToEntryRow(s, g);
    QCOMPARE(g.Rows(), 5);
    QCOMPARE(g.Row(), 2);
    QCOMPARE(g.Col(), int(Description));

    Sheet::enter(g, "Pens and ink");
    QCOMPARE(g.TextMatrix(2, Description), QStringLiteral("Pens and ink"));
    QCOMPARE(g.Col(), int(Category));

    Sheet::enter(g, "Of");
    QCOMPARE(g.TextMatrix(2, Category), QStringLiteral("Office"));
    QCOMPARE(g.TextMatrix(2, CategoryId), QString::number(s.office));
    QCOMPARE(g.TextMatrix(2, Invoice), QStringLiteral("n/a"));
    QCOMPARE(g.Col(), int(Date));

    // The first key opens the picker on today, unticked; the date is typed in it.
    Sheet::type(g, "x");
    QCOMPARE(QApplication::focusWidget()->parentWidget(), w.DT);
    QVERIFY(w.DT->Value().isNull());
    Sheet::keys("15Mar2026");
    Sheet::press(Qt::Key_Return);
    QCOMPARE(g.TextMatrix(2, Date), QStringLiteral("15/Mar/2026"));
    QCOMPARE(g.Col(), int(Invoice));

    // An expense takes no invoice number: the key goes on to "Receipt id".
    Sheet::type(g, "1");
    QCOMPARE(g.Col(), int(Receipt));
    Sheet::enter(g, "1234");
    QCOMPARE(g.TextMatrix(2, Receipt), QStringLiteral("0/001/234"));

    Sheet::type(g, "ab");
    QCOMPARE(w.cbo2->Text(), QStringLiteral("Abbey"));
    QCOMPARE(w.cbo2->lineEdit()->selectedText(), QStringLiteral("bey"));
    QCOMPARE(g.TextMatrix(2, Relation), QStringLiteral("Abbey"));
    QCOMPARE(s.raw->count("Transactions"), 2); // nothing stored before the row is complete
    Sheet::press(Qt::Key_Return);
    QCOMPARE(g.Col(), int(Debited));

    Sheet::enter(g, "12.5");
    QCOMPARE(g.TextMatrix(2, Debited), QStringLiteral("12.50"));
    QCOMPARE(s.raw->count("Transactions"), 3);
    const qint64 id = g.RowData(2);
    QVERIFY(id > 0);
    QCOMPARE(storedRow(*s.raw, id), (QVariantList{"2026-03-15", 1, 0, 12.5, s.office, s.business,
                                                  "Pens and ink", "0/001/234", "Abbey", "n/a"}));

    // A new entry row, numbered on, with the date and relation of the row above.
    QCOMPARE(g.Rows(), 6);
    QCOMPARE(g.TextMatrix(3, 0), QStringLiteral("3"));
    QCOMPARE(g.RowData(3), qint64(-1));
    QCOMPARE(Sheet::rowTexts(g, 3),
             (QStringList{"", "", "15/Mar/2026", "", "", "Abbey", "", "", ""}));
    // Totals: 10.00 and 12.50 paid out, nothing received.
    QCOMPARE(g.TextMatrix(4, Description), QStringLiteral("Balance"));
    QCOMPARE(g.TextMatrix(4, Credited), QStringLiteral("22.50"));
    QCOMPARE(g.CellForeColor(4, Credited), 255);
    QCOMPARE(g.TextMatrix(5, Debited), QStringLiteral("22.50"));
    QCOMPARE(g.TextMatrix(5, Credited), QStringLiteral("22.50"));

    // The entry row has no category yet: no invoice and no amount to type.
    QCOMPARE(g.Col(), int(Credited));
    Sheet::clickCell(g, 3, Invoice);
    Sheet::type(g, "1");
    QCOMPARE(g.Col(), int(Receipt));
    Sheet::clickCell(g, 3, Debited);
    Sheet::type(g, "1");
    QCOMPARE(g.Col(), int(Credited));
    Sheet::clickCell(g, 2, Credited);

    // Enter went on to "Credited", which an expense has no editor for: typing
    // there wraps to the next row; the stored row is not stored again.
    Sheet::type(g, "5");
    QCOMPARE(g.Row(), 3);
    QCOMPARE(g.Col(), int(Description));
    QCOMPARE(s.raw->count("Transactions"), 3);
    QCOMPARE(script.shown(), 0);
}

void tst_SheetRoad::typedBankTransactionIsStoredOnce()
{
    Sheet s;
    s.add({.cash = false, .description = "Rent", .relation = "Landlord"});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    s.showTab(2);
    QCOMPARE(dbStuff::CurrentTab, 2);
    FlexGrid& g = s.bank();
    QVERIFY(g.isVisible());
    QVERIFY(!s.cash().isVisible());
    Sheet::clickCell(g, 2, Description);
    QCOMPARE(QApplication::focusWidget(), &g);

    Sheet::enter(g, "Cake order");
    Sheet::enter(g, "Sa");
    QCOMPARE(g.TextMatrix(2, Category), QStringLiteral("Sales"));
    QCOMPARE(g.TextMatrix(2, Invoice), QString());
    Sheet::type(g, "x");
    Sheet::keys("01Apr2026");
    Sheet::press(Qt::Key_Return);
    // Income takes an invoice number.
    Sheet::enter(g, "F-2026-01");
    QCOMPARE(g.TextMatrix(2, Invoice), QStringLiteral("F-2026-01"));
    Sheet::enter(g, "55");
    // The relation typed here is new: no completion, the cell follows the text.
    Sheet::type(g, "Mr Crumb");
    QCOMPARE(w.cbo2->Text(), QStringLiteral("Mr Crumb"));
    QCOMPARE(g.TextMatrix(2, Relation), QStringLiteral("Mr Crumb"));
    Sheet::press(Qt::Key_Return);
    // Income has no "Debited": the key goes on to "Credited".
    QCOMPARE(g.Col(), int(Debited));
    Sheet::type(g, "9");
    QCOMPARE(g.Col(), int(Credited));
    Sheet::enter(g, "1234.5");

    QCOMPARE(g.TextMatrix(2, Credited), QStringLiteral("1,234.50"));
    const qint64 id = g.RowData(2);
    QVERIFY(id > 0);
    QCOMPARE(storedRow(*s.raw, id),
             (QVariantList{"2026-04-01", 0, 1, 1234.5, s.sales, s.business, "Cake order",
                           "0/000/055", "Mr Crumb", "F-2026-01"}));
    QCOMPARE(s.raw->count("Transactions"), 2);
    // Enter in "Credited" goes to the new entry row.
    QCOMPARE(g.Row(), 3);
    QCOMPARE(g.Col(), int(Description));
    QCOMPARE(g.TextMatrix(3, Relation), QStringLiteral("Mr Crumb"));
    // 10.00 rent out, 1,234.50 in: the surplus stands under "Debited" in blue.
    QCOMPARE(g.TextMatrix(4, Debited), QStringLiteral("1,224.50"));
    QCOMPARE(g.CellForeColor(4, Debited), 12582912);
    QCOMPARE(g.TextMatrix(5, Debited), QStringLiteral("1,234.50"));
    QCOMPARE(g.TextMatrix(5, Credited), QStringLiteral("1,234.50"));
    // The new relation is offered the next time the picker opens.
    Sheet::clickCell(g, 3, Relation);
    Sheet::press(Qt::Key_Return);
    QVERIFY(w.cbo2->findText("Mr Crumb") >= 0);
    Sheet::press(Qt::Key_Escape);
    // The cash grid is untouched.
    QCOMPARE(s.cash().Rows(), 4);
    QCOMPARE(script.shown(), 0);
}

QTEST_MAIN(tst_SheetRoad)
#include "tst_sheetroad.moc"
