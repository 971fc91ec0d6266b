// When a row is stored, what it is stored as, and that no edit of a loaded row
// is ever lost.

#include "SheetTestKit.h"
#include "support/DialogScript.h"

using namespace sheetkit;

namespace {

QVariant stored(Sheet& s, const char* field, qint64 id)
{
    return s.raw->value(QStringLiteral("SELECT %1 FROM Transactions WHERE TransactionId = ?1")
                            .arg(QLatin1String(field)),
                        {id});
}

// Types the cells of the entry row up to the relation: seven filled cells
// (the invoice marker and the hidden category id included).
void typeAllButTheAmount(FlexGrid& g, int row, const QString& category)
{
    Sheet::clickCell(g, row, Description);
    Sheet::enter(g, "Flour");
    Sheet::enter(g, category);
    Sheet::type(g, "x");
    Sheet::keys("05Jan2026");
    Sheet::press(Qt::Key_Return);
    Sheet::clickCell(g, row, Receipt);
    Sheet::enter(g, "12");
    Sheet::enter(g, "Mill");
}

} // namespace

class tst_SheetSaving : public QObject
{
    Q_OBJECT

private slots:
    void sevenFilledCellsStoreNothing();
    void storedRowIsWrittenAgainOnEveryExit();
    void amountColumnDecidesMoneyIn_data();
    void amountColumnDecidesMoneyIn();
    void editsOfLoadedRowsAreKept_data();
    void editsOfLoadedRowsAreKept();
    void failedStoreAddsNoEntryRow();
    void rowGoneFromTheDatabaseIsReported();
};

void tst_SheetSaving::sevenFilledCellsStoreNothing()
{
    Sheet s;
    s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = s.cash();
    typeAllButTheAmount(g, 1, "Of");
    // Leave the cells of the row a few times.
    Sheet::clickCell(g, 1, Description);
    Sheet::press(Qt::Key_Return);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.raw->count("Transactions"), 0);
    QCOMPARE(g.Rows(), 4);
    QCOMPARE(g.RowData(1), qint64(-1));

    Sheet::clickCell(g, 1, Debited);
    Sheet::enter(g, "3");
    QCOMPARE(s.raw->count("Transactions"), 1);
    QCOMPARE(g.Rows(), 5);
    QCOMPARE(g.RowData(1), s.raw->value("SELECT TransactionId FROM Transactions").toLongLong());
    QCOMPARE(script.shown(), 0);
}

void tst_SheetSaving::storedRowIsWrittenAgainOnEveryExit()
{
    Sheet s;
    const qint64 id = s.add({.description = "Paper"});
    s.open();
    DialogScript script;
    s.pick();
    s.raw->exec("UPDATE Transactions SET Description = 'Changed elsewhere'");
    Sheet::clickCell(s.cash(), 1, Receipt);
    Sheet::press(Qt::Key_Return); // opens the editor on the cell's text
    Sheet::press(Qt::Key_Return); // and leaves it unchanged
    QCOMPARE(stored(s, "Description", id), QVariant("Paper"));
    QCOMPARE(s.raw->count("Transactions"), 1);
    QCOMPARE(script.shown(), 0);
}

void tst_SheetSaving::amountColumnDecidesMoneyIn_data()
{
    QTest::addColumn<int>("debited"); // what "Debited" holds before (0: empty)
    QTest::addColumn<QString>("credited");
    QTest::addColumn<int>("moneyIn");
    QTest::addColumn<double>("total");
    QTest::addColumn<int>("reloadedCol");
    QTest::newRow("credited") << 0 << "40" << 1 << 40.0 << int(Credited);
    // Taken from "Credited", so reloaded there, whatever its sign.
    QTest::newRow("negative credited") << 0 << "-5" << 1 << -5.0 << int(Credited);
    QTest::newRow("both: credited wins") << 5 << "3" << 1 << 3.0 << int(Credited);
    QTest::newRow("credited zero") << 5 << "0" << 0 << 5.0 << int(Debited);
}

void tst_SheetSaving::amountColumnDecidesMoneyIn()
{
    QFETCH(int, debited);
    QFETCH(QString, credited);
    QFETCH(int, moneyIn);
    QFETCH(double, total);
    QFETCH(int, reloadedCol);
    Sheet s;
    // An expense row; its category becomes an income, whose amount goes
    // under "Credited"; "Debited" keeps what it held.
    const qint64 id = s.add({.amount = double(debited), .invoiceNr = "n/a"});
    if (debited == 0)
        s.raw->exec("UPDATE Transactions SET TotalPrice = NULL");
    s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = s.cash();
    Sheet::clickCell(g, 1, Category);
    Sheet::enter(g, "Sa");
    Sheet::press(Qt::Key_Right); // past the date
    Sheet::enter(g, "F-3");      // the invoice number an income takes
    Sheet::clickCell(g, 1, Credited);
    Sheet::enter(g, credited);
    QCOMPARE(stored(s, "MoneyIn", id), QVariant(moneyIn));
    QCOMPARE(stored(s, "TotalPrice", id), QVariant(total));

    s.pick();
    const QString shown = g.TextMatrix(1, reloadedCol);
    QCOMPARE(shown.isEmpty() ? 0.0 : shown.toDouble(), total);
    QCOMPARE(g.TextMatrix(1, reloadedCol == Credited ? Debited : Credited), QString());
    QCOMPARE(script.shown(), 0);
}

void tst_SheetSaving::editsOfLoadedRowsAreKept_data()
{
    QTest::addColumn<bool>("bank");
    QTest::addColumn<int>("row"); // 1 the expense, 2 the income
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    for (bool bank : {false, true}) {
        const char* sheet = bank ? "bank" : "cash";
        QTest::addRow("%s description", sheet) << bank << 1 << 1 << "Ink"
                                               << "Ink";
        QTest::addRow("%s category", sheet)
            << bank << 1 << 2 << (bank ? "Ba" : "Pe") << (bank ? "Bank fees" : "Petty cash");
        QTest::addRow("%s date", sheet) << bank << 1 << 3 << "x20Mar2026"
                                        << "20/Mar/2026";
        QTest::addRow("%s invoice", sheet) << bank << 2 << 4 << "F-7"
                                           << "F-7";
        QTest::addRow("%s receipt", sheet) << bank << 1 << 5 << "99"
                                           << "0/000/099";
        QTest::addRow("%s relation", sheet) << bank << 1 << 6 << "Zeta"
                                            << "Zeta";
        QTest::addRow("%s debited", sheet) << bank << 1 << 7 << "7.5"
                                           << "7.50";
        QTest::addRow("%s credited", sheet) << bank << 2 << 8 << "30"
                                            << "30.00";
    }
}

void tst_SheetSaving::editsOfLoadedRowsAreKept()
{
    QFETCH(bool, bank);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Sheet s;
    s.add({.category = s.office, .cash = !bank, .description = "Paper", .receiptId = "0/000/001"});
    s.add({.category = s.sales,
           .cash = !bank,
           .moneyIn = true,
           .description = "Cake",
           .receiptId = "0/000/002",
           .invoiceNr = "F-1"});
    s.open();
    DialogScript script;
    s.pick();
    if (bank)
        s.showTab(2);
    FlexGrid& g = bank ? s.bank() : s.cash();
    Sheet::clickCell(g, row, col);
    Sheet::type(g, typed.left(1));
    Sheet::keys(typed.mid(1));
    Sheet::press(Qt::Key_Return);
    QCOMPARE(g.TextMatrix(row, col), shown);

    const qint64 id = g.RowData(row);
    s.pick();
    const int reloaded = g.RowData(1) == id ? 1 : 2; // the order may follow the edit
    QCOMPARE(g.RowData(reloaded), id);
    QCOMPARE(g.TextMatrix(reloaded, col), shown);
    QCOMPARE(s.raw->count("Transactions"), 2);
    QCOMPARE(s.raw->value("SELECT count(*) FROM Transactions WHERE Cash = ?1", {bank ? 0 : 1}), 2);
    QCOMPARE(script.shown(), 0);
}

void tst_SheetSaving::failedStoreAddsNoEntryRow()
{
    Sheet s;
    s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = s.cash();
    typeAllButTheAmount(g, 1, "Of");
    // The business goes while the sheet still shows it.
    s.raw->exec("DELETE FROM Businesses");
    script.answer(vbOK);
    Sheet::clickCell(g, 1, Debited);
    Sheet::enter(g, "3");
    QCOMPARE(script.messages().size(), 1);
    QVERIFY(script.messages().first().prompt.startsWith("Error "));
    QCOMPARE(script.messages().first().flags, vbOKOnly + vbCritical);
    QCOMPARE(s.raw->count("Transactions"), 0);
    QCOMPARE(g.RowData(1), qint64(-1));
    QCOMPARE(g.Rows(), 4);
    // The totals still follow the typed amount.
    QCOMPARE(g.TextMatrix(2, Credited), QStringLiteral("3.00"));
}

void tst_SheetSaving::rowGoneFromTheDatabaseIsReported()
{
    Sheet s;
    s.add({.description = "Paper"});
    s.open();
    DialogScript script;
    s.pick();
    s.raw->exec("DELETE FROM Transactions");
    script.answer(vbOK);
    Sheet::clickCell(s.cash(), 1, Description);
    Sheet::enter(s.cash(), "Ink");
    QCOMPARE(script.messages().size(), 1);
    QVERIFY(script.messages().first().prompt.startsWith("Error 3021:"));
    QCOMPARE(s.raw->count("Transactions"), 0);
    QCOMPARE(s.cash().Rows(), 5);
}

QTEST_MAIN(tst_SheetSaving)
#include "tst_sheetsaving.moc"
