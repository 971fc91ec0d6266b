// Storing rows: a whole transaction typed with the keyboard, when a row is
// stored and as what, that no edit of a loaded row is lost, failures, and
// deleting a row with the Delete key.

#include "SheetTestKit.h"

using namespace sheetkit;

namespace {

QVariantList storedRow(RawDb& raw, qint64 id)
{
    const auto rows = raw.rows(
        "SELECT TransactionDate, Cash, MoneyIn, TotalPrice, CategoryId, BusinessId, Description, "
        "ReceiptId, Relation, Invoicenr FROM Transactions WHERE TransactionId = ?1",
        {id});
    return rows.isEmpty() ? QVariantList() : rows.first();
}

// Types the cells of a row up to the relation: seven filled cells (the
// invoice marker and the hidden category id included).
void typeAllButTheAmount(FlexGrid& g, int row)
{
    Sheet::clickCell(g, row, Description);
    Sheet::enter(g, "Flour");
    Sheet::enter(g, "Of");
    Sheet::type(g, "05/Jan/2026");
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
    void typedTransactionIsStoredOnce_data();
    void typedTransactionIsStoredOnce();
    void amountColumnDecidesMoneyIn_data();
    void amountColumnDecidesMoneyIn();
    void editsOfLoadedRowsAreKept_data();
    void editsOfLoadedRowsAreKept();
    void failedStoresAreReported();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void deleteOnUnstoredRows();
};

void tst_SheetSaving::typedTransactionIsStoredOnce_data()
{
    QTest::addColumn<bool>("bank");
    QTest::addColumn<QStringList>("typed"); // one entry a cell, "" where the key skips
    QTest::addColumn<QVariantList>("stored");
    QTest::addColumn<int>("balanceCol");
    QTest::addColumn<QString>("balance");
    QTest::addColumn<int>("color");
    // An expense takes no invoice number and has no "Credited"; the relation
    // completes from an earlier one.
    QTest::newRow("cash expense") << false << QStringList{"Pens and ink", "Of", "15/Mar/2026", "",
                                                          "1234",         "ab", "12.5"}
                                  << QVariantList{"2026-03-15",   1,           0,       12.5, 0, 0,
                                                  "Pens and ink", "0/001/234", "Abbey", "n/a"}
                                  << int(Credited) << "22.50" << 255;
    // Income has no "Debited"; a new relation is taken as typed.
    QTest::newRow("bank income") << true << QStringList{"Cake order", "Sa",    "01/Apr/2026",
                                                        "F-2026-01",  "55",    "Mr Crumb",
                                                        "",           "1234.5"}
                                 << QVariantList{"2026-04-01", 0,           1,
                                                 1234.5,       0,           0,
                                                 "Cake order", "0/000/055", "Mr Crumb",
                                                 "F-2026-01"}
                                 << int(Debited) << "1,224.50" << 12582912;
}

void tst_SheetSaving::typedTransactionIsStoredOnce()
{
    QFETCH(bool, bank);
    QFETCH(QStringList, typed);
    QFETCH(QVariantList, stored);
    QFETCH(int, balanceCol);
    QFETCH(QString, balance);
    QFETCH(int, color);
    Sheet s;
    s.add({.cash = !bank, .description = "Paper", .relation = "Abbey"});
    s.add({.business = s.raw->business("Zeppelin"), .relation = "Abbot"});
    frmTransactions& w = s.open();
    DialogScript script; // any message box fails the test
    FlexGrid& g = bank ? s.bank() : s.cash();
    // Picks the business, the tab and the entry row with keys only.
    w.cbobusiness->setFocus();
    Sheet::press(Qt::Key_Down);
    for (int i = 0; i < 5 && QApplication::focusWidget() != &s.cash(); ++i)
        Sheet::press(Qt::Key_Tab);
    if (bank) {
        w.TS1->findChild<QTabBar*>()->setFocus();
        Sheet::press(Qt::Key_Right);
        Sheet::press(Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), &g);
    Sheet::press(Qt::Key_Up); // the cursor rests on the balance, under the entry row
    Sheet::press(Qt::Key_Home);
    QCOMPARE(Sheet::cursor(g), QPoint(Description, 2));

    for (int i = 0; i < typed.size(); ++i) {
        QCOMPARE(g.Col(), Description + i);
        if (typed[i].isEmpty()) {
            // No editor here: the user moves on (a typed key would move on
            // and start the next cell's edit).
            Sheet::press(Qt::Key_Right);
            continue;
        }
        Sheet::type(g, typed[i]);
        if (i == Relation - 1)
            QCOMPARE(g.TextMatrix(2, Relation), stored[8].toString()); // at once
        QCOMPARE(s.raw->count("Transactions"), 2);
        Sheet::press(Qt::Key_Return);
    }
    stored[4] = bank ? s.sales : s.office;
    stored[5] = s.business;
    const qint64 id = g.RowData(2);
    QCOMPARE(storedRow(*s.raw, id), stored);
    QCOMPARE(s.raw->count("Transactions"), 3);
    // A stored row is written again on every exit, changed or not.
    s.raw->exec("UPDATE Transactions SET Description = 'Changed elsewhere'");
    Sheet::clickCell(g, 2, Receipt);
    Sheet::press(Qt::Key_Return);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(storedRow(*s.raw, id), stored);
    QCOMPARE(g.TextMatrix(2, Receipt), stored[7].toString());

    // A new entry row, numbered on, with the date and relation of the row above.
    QCOMPARE(g.Rows(), 6);
    QCOMPARE(g.TextMatrix(3, 0), QStringLiteral("3"));
    QCOMPARE(g.RowData(3), qint64(-1));
    QCOMPARE(Sheet::rowTexts(g, 3), (QStringList{"", "", g.TextMatrix(2, Date), "", "",
                                                 stored[8].toString(), "", "", ""}));
    QCOMPARE(g.TextMatrix(4, balanceCol), balance);
    QCOMPARE(g.CellForeColor(4, balanceCol), color);
    // The new relation is offered the next time the picker opens.
    Sheet::clickCell(g, 3, Relation);
    Sheet::press(Qt::Key_Return);
    QVERIFY(w.cbo2->findText(stored[8].toString()) >= 0);
    Sheet::press(Qt::Key_Escape);
    // The other grid is untouched.
    QCOMPARE((bank ? s.cash() : s.bank()).Rows(), 4);
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
    // A zero is stored as shown, not the amount the row had before.
    QTest::newRow("credited zero") << 5 << "0" << 1 << 0.0 << int(Credited);
}

void tst_SheetSaving::amountColumnDecidesMoneyIn()
{
    QFETCH(int, debited);
    QFETCH(QString, credited);
    QFETCH(int, moneyIn);
    QFETCH(double, total);
    QFETCH(int, reloadedCol);
    Sheet s;
    // An expense whose category becomes an income; "Debited" keeps what it held.
    const qint64 id = s.add({.amount = double(debited)});
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
    QCOMPARE(s.stored("MoneyIn", id), QVariant(moneyIn));
    QCOMPARE(s.stored("TotalPrice", id), QVariant(total));

    s.pick();
    QCOMPARE(g.TextMatrix(1, reloadedCol).toDouble(), total);
    QCOMPARE(g.TextMatrix(1, reloadedCol == Credited ? Debited : Credited), QString());
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
        const QList<std::tuple<const char*, int, int, QString, QString>> edits = {
            {"description", 1, 1, "Ink", "Ink"},
            {"category", 1, 2, bank ? "Ba" : "Pe", bank ? "Bank fees" : "Petty cash"},
            {"date", 1, 3, "20/Mar/2026", "20/Mar/2026"},
            {"invoice", 2, 4, "F-7", "F-7"},
            {"receipt", 1, 5, "99", "0/000/099"},
            {"relation", 1, 6, "Zeta", "Zeta"},
            {"debited", 1, 7, "7.5", "7.50"},
            {"credited", 2, 8, "1234.5", "1,234.50"}};
        for (const auto& [name, row, col, typed, shown] : edits)
            QTest::addRow("%s %s", sheet, name) << bank << row << col << typed << shown;
    }
    // Receipt ids of digits keep every digit; others are kept as typed.
    QTest::newRow("long receipt") << false << 1 << 5 << "12345678901"
                                  << "12345/678/901";
    QTest::newRow("receipt with letters") << false << 1 << 5 << "A-1"
                                          << "A-1";
}

void tst_SheetSaving::editsOfLoadedRowsAreKept()
{
    QFETCH(bool, bank);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Loaded s(bank);
    DialogScript script;
    Sheet::clickCell(s.g, row, col);
    Sheet::enter(s.g, typed);
    QCOMPARE(s.g.TextMatrix(row, col), shown);

    const qint64 id = s.g.RowData(row);
    s.pick();
    const int reloaded = s.g.RowData(1) == id ? 1 : 2; // the order may follow the edit
    QCOMPARE(s.g.RowData(reloaded), id);
    QCOMPARE(s.g.TextMatrix(reloaded, col), shown);
    QCOMPARE(s.raw->value("SELECT count(*) FROM Transactions WHERE Cash = ?1", {bank ? 0 : 1}), 2);
    QCOMPARE(s.raw->count("Transactions"), 2);
}

void tst_SheetSaving::failedStoresAreReported()
{
    Loaded s;
    DialogScript script;
    typeAllButTheAmount(s.g, 3);
    // The business goes, and its transactions with it, while the sheet shows them.
    s.raw->exec("DELETE FROM Businesses");
    script.answer(vbOK).answer(vbOK);
    Sheet::clickCell(s.g, 1, Description);
    Sheet::enter(s.g, "Ink");
    QCOMPARE(script.messages().size(), 1);
    QVERIFY(script.messages().first().prompt.startsWith("Error 3021:"));

    // No entry row is added for a row that was not stored.
    Sheet::clickCell(s.g, 3, Debited);
    Sheet::enter(s.g, "3");
    QCOMPARE(script.messages().size(), 2);
    QVERIFY(script.messages().last().prompt.startsWith("Error "));
    QCOMPARE(script.messages().last().flags, vbOKOnly + vbCritical);
    QCOMPARE(s.raw->count("Transactions"), 0);
    QCOMPARE(s.g.RowData(3), qint64(-1));
    QCOMPARE(s.g.Rows(), 6);
}

void tst_SheetSaving::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("bank");
    QTest::addColumn<int>("answer");
    QTest::newRow("cash yes") << false << vbYes;
    QTest::newRow("cash no") << false << vbNo;
    QTest::newRow("bank yes") << true << vbYes;
}

void tst_SheetSaving::deleteAsksFirst()
{
    QFETCH(bool, bank);
    QFETCH(int, answer);
    Loaded s(bank);
    DialogScript script;
    script.answer(answer);
    Sheet::clickCell(s.g, 1, Relation);
    Sheet::press(Qt::Key_Delete);
    QCOMPARE(script.messages().size(), 1);
    QCOMPARE(script.messages().first().prompt,
             QStringLiteral("Delete selected transaction, row number 1?"));
    QCOMPARE(script.messages().first().flags, vbYesNo + vbQuestion);
    if (answer == vbNo) {
        QCOMPARE(s.raw->count("Transactions"), 2);
        QCOMPARE(s.g.Rows(), 6);
        return;
    }
    QCOMPARE(s.raw->rows("SELECT TransactionId FROM Transactions"),
             (QList<QVariantList>{{s.income}}));
    QCOMPARE(s.g.Rows(), 5);
    QCOMPARE(s.g.RowData(1), s.income);
    QCOMPARE(Sheet::column(s.g, 0, 1, 2), (QStringList{"1", "2"}));
    QCOMPARE(Sheet::column(s.g, 3, Debited, Credited, true), (QStringList{"25.00", ""}));
    QCOMPARE(Sheet::column(s.g, 4, Debited, Credited, true), (QStringList{"25.00", "25.00"}));
}

void tst_SheetSaving::deleteOnUnstoredRows()
{
    Loaded s;
    DialogScript script;
    script.answer(vbYes).answer(vbYes).answer(vbYes).answer(vbOK);
    // The entry row is only emptied.
    Sheet::clickCell(s.g, 3, Description);
    Sheet::enter(s.g, "Half typed");
    Sheet::press(Qt::Key_Delete);
    QCOMPARE(Sheet::rowTexts(s.g, 3), QStringList(9, QString()));
    QCOMPARE(Sheet::cursor(s.g), QPoint(1, 3));
    QCOMPARE(s.g.RowData(3), qint64(-1));
    QCOMPARE(s.g.Rows(), 6);
    // On the balance only the totals are written again.
    Sheet::clickCell(s.g, 4, Description);
    Sheet::press(Qt::Key_Delete);
    QCOMPARE(Sheet::rowTexts(s.g, 4),
             (QStringList{"Balance", "", "", "", "", "", "15.00", "", ""}));
    QCOMPARE(s.raw->count("Transactions"), 2);
    // A row deleted elsewhere is reported and stays on the sheet.
    s.raw->exec("DELETE FROM Transactions WHERE TransactionId = ?1", {s.expense});
    Sheet::clickCell(s.g, 1, Description);
    Sheet::press(Qt::Key_Delete);
    QCOMPARE(script.messages().size(), 4);
    QCOMPARE(script.messages()[2].prompt,
             QStringLiteral("Delete selected transaction, row number 1?"));
    QCOMPARE(script.messages()[3].prompt, QStringLiteral("Transaction not found in database."));
    QCOMPARE(script.messages()[3].flags, vbOKOnly + vbExclamation);
    QCOMPARE(s.g.RowData(1), s.expense);
    QCOMPARE(s.g.Rows(), 6);
}

QTEST_MAIN(tst_SheetSaving)
#include "tst_sheetsaving.moc"
