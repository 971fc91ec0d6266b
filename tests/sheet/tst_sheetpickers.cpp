// The category and relation pickers: what they offer, what a choice or a
// keystroke writes into the row, and the completion of relations.

#include "SheetTestKit.h"
#include "support/DialogScript.h"

using namespace sheetkit;

class tst_SheetPickers : public QObject
{
    Q_OBJECT

private slots:
    void categoryChoiceWritesIdAndInvoiceMarker_data();
    void categoryChoiceWritesIdAndInvoiceMarker();
    void categoryPickerOpensOnTheRowsOwnCategory();
    void relationsCompleteAsTyped();
    void relationListHoldsEveryRelationOnce();
};

void tst_SheetPickers::categoryChoiceWritesIdAndInvoiceMarker_data()
{
    QTest::addColumn<int>("row"); // 1 an expense ("n/a"), 2 an income ("F-1")
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("invoice");
    QTest::newRow("expense to income empties the marker") << 1 << "S"
                                                          << "Sales"
                                                          << "";
    QTest::newRow("income to expense writes the marker") << 2 << "O"
                                                         << "Office"
                                                         << "n/a";
    QTest::newRow("income to income keeps the number") << 2 << "T"
                                                       << "Tips"
                                                       << "F-1";
}

void tst_SheetPickers::categoryChoiceWritesIdAndInvoiceMarker()
{
    QFETCH(int, row);
    QFETCH(QString, keys);
    QFETCH(QString, category);
    QFETCH(QString, invoice);
    Sheet s;
    const qint64 tips = s.raw->category("Tips", true);
    s.raw->allocate(tips, s.business);
    s.add({.category = s.office, .receiptId = "1"});
    s.add({.category = s.sales, .moneyIn = true, .receiptId = "2", .invoiceNr = "F-1"});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = s.cash();
    const QString before = g.TextMatrix(row, Category);
    Sheet::clickCell(g, row, Category);
    Sheet::type(g, keys);
    QCOMPARE(w.Cbo->Text(), category);
    // Written at once; the name itself only with the commit.
    const qint64 id =
        s.raw->value("SELECT CategoryId FROM Categories WHERE Category = ?1", {category})
            .toLongLong();
    QCOMPARE(g.TextMatrix(row, CategoryId), QString::number(id));
    QCOMPARE(g.TextMatrix(row, Invoice), invoice);
    QCOMPARE(g.TextMatrix(row, Category), before);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(g.TextMatrix(row, Category), category);
    QCOMPARE(script.shown(), 0);
}

void tst_SheetPickers::categoryPickerOpensOnTheRowsOwnCategory()
{
    Sheet s;
    // Two categories of one name: an expense and an income.
    const qint64 expense = s.raw->category("Supplies", false);
    const qint64 income = s.raw->category("Supplies", true);
    s.raw->allocate(expense, s.business);
    s.raw->allocate(income, s.business);
    s.add({.category = income, .moneyIn = true, .invoiceNr = "F-9"});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = s.cash();
    Sheet::clickCell(g, 1, Category);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(w.Cbo->ItemData(w.Cbo->ListIndex()), income);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(g.TextMatrix(1, CategoryId), QString::number(income));
    QCOMPARE(g.TextMatrix(1, Invoice), QStringLiteral("F-9"));
    QCOMPARE(s.raw->value("SELECT CategoryId FROM Transactions").toLongLong(), income);
    QCOMPARE(script.shown(), 0);
}

void tst_SheetPickers::relationsCompleteAsTyped()
{
    Sheet s;
    s.add({.relation = "Abbey", .receiptId = "1"});
    s.add({.relation = "Abbot", .receiptId = "2"});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    FlexGrid& g = s.cash();
    ComboBox& picker = *w.cbo2;
    QLineEdit& text = *picker.lineEdit();
    auto shows = [&](const QString& all, const QString& selected) {
        return picker.Text() == all && text.selectedText() == selected &&
               g.TextMatrix(1, Relation) == all;
    };

    Sheet::clickCell(g, 1, Relation);
    Sheet::type(g, "ab");
    QVERIFY(shows("Abbey", "bey"));
    // Backspace takes the completion away; what is left completes again.
    Sheet::press(Qt::Key_Backspace);
    QVERIFY(shows("Abbey", "bey"));
    Sheet::keys("bo");
    QVERIFY(shows("Abbot", "t"));
    // Emptied, it completes to the first relation, wholly selected.
    text.selectAll();
    Sheet::press(Qt::Key_Backspace);
    QVERIFY(shows("Abbey", "Abbey"));
    // A text no relation starts with stays as typed, and the cell follows it.
    Sheet::keys("Quay");
    QVERIFY(shows("Quay", ""));
    // Escape does not take back what the picker wrote into the row.
    Sheet::press(Qt::Key_Escape);
    QCOMPARE(g.TextMatrix(1, Relation), QStringLiteral("Quay"));

    // Opened again, the picker keeps the cell's text instead of completing it.
    Sheet::press(Qt::Key_Return);
    QCOMPARE(picker.Text(), QStringLiteral("Quay"));
    QCOMPARE(g.TextMatrix(1, Relation), QStringLiteral("Quay"));
    Sheet::press(Qt::Key_Return);
    QCOMPARE(
        s.raw->value("SELECT Relation FROM Transactions WHERE TransactionId = ?1", {g.RowData(1)}),
        QVariant("Quay"));
    // The list follows what is stored: Abbey is no longer used, Quay is.
    Sheet::clickCell(g, 2, Relation);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(picker.ListCount(), 2);
    QCOMPARE(picker.List(0), QStringLiteral("Abbot"));
    QCOMPARE(picker.List(1), QStringLiteral("Quay"));
    QCOMPARE(script.shown(), 0);
}

void tst_SheetPickers::relationListHoldsEveryRelationOnce()
{
    Sheet s;
    const qint64 other = s.raw->business("Zeppelin");
    s.add({.relation = "Mill"});
    s.add({.cash = false, .relation = "mill"});
    s.add({.business = other, .relation = "Baker"});
    s.raw->exec("UPDATE Transactions SET Relation = NULL WHERE Relation = 'Baker'");
    s.add({.business = other, .relation = "Abbey"});
    frmTransactions& w = s.open();
    QStringList offered;
    for (int i = 0; i < w.cbo2->ListCount(); ++i)
        offered << w.cbo2->List(i);
    // Every business and both sheets, case-insensitively once, no Null.
    QCOMPARE(offered.size(), 2);
    QCOMPARE(offered.first(), QStringLiteral("Abbey"));
    QCOMPARE(offered.last().toLower(), QStringLiteral("mill"));
}

QTEST_MAIN(tst_SheetPickers)
#include "tst_sheetpickers.moc"
