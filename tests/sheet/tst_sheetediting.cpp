// The floating editors and pickers on the grid: which cell gets which editor,
// what a commit or a choice writes, Escape, Enter and the arrows, the amount
// check, the length limits and the completion of relations.

#include "platform/ProgramLocale.h"
#include "SheetTestKit.h"

using namespace sheetkit;

class tst_SheetEditing : public QObject
{
    Q_OBJECT

private slots:
    void eachCellHasItsEditor_data();
    void eachCellHasItsEditor();
    void datePickerStartsOnTheCellsDateOrTheTypedKey();
    void escapeLeavesCellAndRowAlone_data();
    void escapeLeavesCellAndRowAlone();
    void enterAndArrowsCommitAndMove();
    void amountThatIsNoNumberIsRefused();
    void tooLongTextIsCutToItsField_data();
    void tooLongTextIsCutToItsField();
    void categoryPickerOpensOnTheRowsOwnCategory();
    void relationsCompleteAsTyped();
};

void tst_SheetEditing::eachCellHasItsEditor_data()
{
    QTest::addColumn<int>("row"); // 1 the expense, 2 the income, 3 the entry row
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QPoint>("cursorAfter"); // (col, row)
    QTest::addColumn<bool>("categoryGone");
    const auto add = [](const char* name, int row, int col, const char* key, const char* editor,
                        QPoint after, bool gone = false) {
        QTest::newRow(name) << row << col << QString(key) << QString(editor) << after << gone;
    };
    // A cell without an editor passes the key on, to the editor of the next
    // cell; from "Credited" to the next row.
    const QList<std::tuple<int, QString, QPoint>> expense = {
        {1, "Txt", {1, 1}}, {2, "Cbo", {2, 1}},  {3, "DT", {3, 1}},  {4, "Txt", {5, 1}},
        {5, "Txt", {5, 1}}, {6, "cbo2", {6, 1}}, {7, "Num", {7, 1}}, {8, "Txt", {1, 2}}};
    for (const auto& [col, editor, after] : expense)
        QTest::addRow("expense col %d", col) << 1 << col << "a" << editor << after << false;
    add("income invoice", 2, 4, "a", "Txt", {4, 2});
    add("income debited", 2, 7, "5", "Num", {8, 2});
    add("income credited", 2, 8, "5", "Num", {8, 2});
    add("category id", 1, 9, "5", "none", {9, 1});
    // A row whose category is gone takes no invoice and no amount.
    add("gone invoice", 2, 4, "a", "Txt", {5, 2}, true);
    add("gone credited", 2, 8, "5", "Txt", {1, 3}, true);
    // The empty entry row fills from the left.
    for (int col : {2, 3, 4, 5, 6, 7})
        QTest::addRow("entry col %d", col) << 3 << col << "a"
                                           << "none" << QPoint(col, 3) << false;
    // No editor on the totals rows, whatever the key.
    add("balance letter", 4, 1, "a", "none", {1, 4});
    add("balance amount", 4, 8, "5", "none", {8, 4});
    add("grand total enter", 5, 6, "\r", "none", {6, 5});
}

void tst_SheetEditing::eachCellHasItsEditor()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, key);
    QFETCH(QString, editor);
    QFETCH(QPoint, cursorAfter);
    QFETCH(bool, categoryGone);
    Loaded s;
    DialogScript script;
    if (categoryGone) // its transaction goes with it; the sheet still shows the row
        s.raw->exec("DELETE FROM Categories WHERE CategoryId = ?1", {s.sales});
    Sheet::clickCell(s.g, row, std::min(col, 8));
    if (col == 9)
        Sheet::press(Qt::Key_End);
    QCOMPARE(s.g.Col(), col);
    if (key == "\r")
        Sheet::press(Qt::Key_Return);
    else
        Sheet::type(s.g, key);
    QCOMPARE(Sheet::openEditor(s.w), editor);
    QCOMPARE(Sheet::cursor(s.g), cursorAfter);
    // The key that opened a text editor, here or after a skip, is its text.
    if (editor == "Txt")
        QCOMPARE(s.w.Txt->Text(), key);
    else if (editor == "Num")
        QCOMPARE(s.w.Num->Text(), key);
}

void tst_SheetEditing::datePickerStartsOnTheCellsDateOrTheTypedKey()
{
    Loaded s;
    DialogScript script;
    Sheet::clickCell(s.g, 1, Date);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.w.DT->Value().toDate().date(), QDate(2026, 3, 2));
    QCOMPARE(s.w.DT->lineEdit()->selectedText(), QStringLiteral("02/Mar/2026"));
    Sheet::press(Qt::Key_Escape);

    // A typed character is the first of the date, the caret after it.
    Sheet::type(s.g, "7");
    QCOMPARE(s.w.DT->Text(), QStringLiteral("7"));
    QCOMPARE(s.w.DT->lineEdit()->cursorPosition(), 1);
    Sheet::press(Qt::Key_Escape);

    // Emptied and committed, the cell empties, and a row of seven cells is
    // not stored.
    Sheet::press(Qt::Key_Return);
    Sheet::press(Qt::Key_Delete);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.g.TextMatrix(1, Date), QString());
    QCOMPARE(s.stored("TransactionDate", s.expense), QVariant("2026-03-02"));

    // Today's date typed in the sheet's own form sets it.
    const QDate today = QDate::currentDate();
    Sheet::clickCell(s.g, 1, Date);
    Sheet::type(s.g, ProgramLocale::formatDate(today));
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.g.TextMatrix(1, Date), ProgramLocale::formatDate(today));
    QCOMPARE(s.stored("TransactionDate", s.expense), QVariant(today.toString(Qt::ISODate)));
}

void tst_SheetEditing::escapeLeavesCellAndRowAlone_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::newRow("text") << 1 << 1 << "Something else";
    QTest::newRow("amount") << 1 << 7 << "99";
    QTest::newRow("date") << 1 << 3 << "x01Jan2020";
    // The category picker writes the category id and the invoice marker at
    // once; Escape puts both back.
    QTest::newRow("category to income") << 1 << 2 << "S";
    QTest::newRow("category to expense") << 2 << 2 << "O";
}

void tst_SheetEditing::escapeLeavesCellAndRowAlone()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, typed);
    Loaded s;
    DialogScript script;
    const QStringList before = Sheet::rowTexts(s.g, row);
    const auto dbBefore = s.raw->rows("SELECT * FROM Transactions ORDER BY TransactionId");
    Sheet::clickCell(s.g, row, col);
    Sheet::type(s.g, typed);
    if (col == Category)
        QVERIFY(s.g.TextMatrix(row, CategoryId) != before[CategoryId - 1]);
    Sheet::press(Qt::Key_Escape);
    QCOMPARE(Sheet::openEditor(s.w), QStringLiteral("none"));
    QCOMPARE(QApplication::focusWidget(), &s.g);
    QCOMPARE(Sheet::rowTexts(s.g, row), before);
    Sheet::press(Qt::Key_Down); // leaving the cell stores nothing new either
    QCOMPARE(s.raw->rows("SELECT * FROM Transactions ORDER BY TransactionId"), dbBefore);
}

void tst_SheetEditing::enterAndArrowsCommitAndMove()
{
    Loaded s;
    DialogScript script;
    // Enter opens the editor on the cell's text, all of it selected.
    Sheet::clickCell(s.g, 1, Description);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.w.Txt->selectedText(), QStringLiteral("Paper"));
    Sheet::keys("Ink");
    Sheet::press(Qt::Key_Up); // commits; there is no row above the first
    QCOMPARE(Sheet::cursor(s.g), QPoint(1, 1));
    QCOMPARE(s.stored("Description", s.expense), QVariant("Ink"));
    Sheet::type(s.g, "Pens");
    Sheet::press(Qt::Key_Down);
    QCOMPARE(s.g.TextMatrix(1, Description), QStringLiteral("Pens"));
    QCOMPARE(Sheet::cursor(s.g), QPoint(1, 2));

    // Enter: one column on, and from "Credited" to the next row.
    Sheet::clickCell(s.g, 2, Relation);
    Sheet::press(Qt::Key_Return);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(Sheet::cursor(s.g), QPoint(7, 2));
    Sheet::clickCell(s.g, 2, Credited);
    Sheet::enter(s.g, "26");
    QCOMPARE(Sheet::cursor(s.g), QPoint(1, 3));
    QCOMPARE(s.stored("TotalPrice", s.income), QVariant(26.0));
}

void tst_SheetEditing::amountThatIsNoNumberIsRefused()
{
    Loaded s;
    DialogScript script;
    script.answer(vbOK).answer(vbOK).answer(vbOK).answer(vbOK);
    Sheet::clickCell(s.g, 1, Debited);
    Sheet::type(s.g, "12a");
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Up, Qt::Key_Down})
        Sheet::press(key);
    Sheet::clickCell(s.g, 2, Description); // refused too
    QCOMPARE(script.messages().size(), 4);
    for (const MessageRequest& m : script.messages()) {
        QCOMPARE(m.prompt, QStringLiteral("A numeric value has to be entered in this box."));
        QCOMPARE(m.flags, vbOKOnly + vbExclamation);
    }
    QTRY_VERIFY(s.w.Num->hasFocus());
    QCOMPARE(Sheet::cursor(s.g), QPoint(7, 1));
    QCOMPARE(s.g.TextMatrix(1, Debited), QStringLiteral("10.00"));

    // Mended, it commits; an empty amount is allowed as well.
    Sheet::press(Qt::Key_Backspace);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.stored("TotalPrice", s.expense), QVariant(12.0));
    Sheet::clickCell(s.g, 2, Credited);
    Sheet::press(Qt::Key_Return);
    Sheet::press(Qt::Key_Backspace);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.g.TextMatrix(2, Credited), QString());
    QCOMPARE(script.messages().size(), 4);
}

void tst_SheetEditing::tooLongTextIsCutToItsField_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("flags");
    const QString shortText = "The maximum length of the %1 is 25 characters. Your input will be "
                              "truncated to 25";
    const QString longText = "The maximum length of the %1 is %2 characters. Your input will be "
                             "truncated to %2 characters.";
    QTest::newRow("receipt id") << 1 << 5 << 25 << "ReceiptId" << shortText.arg("receipt id")
                                << vbOKOnly;
    QTest::newRow("invoice number")
        << 2 << 4 << 25 << "Invoicenr" << shortText.arg("invoice number") << vbOKOnly;
    QTest::newRow("description") << 1 << 1 << 100 << "Description"
                                 << longText.arg("description").arg(100)
                                 << vbOKOnly + vbInformation;
    QTest::newRow("relation") << 1 << 6 << 50 << "Relation"
                              << longText.arg("relation field").arg(50) << vbOKOnly + vbInformation;
}

void tst_SheetEditing::tooLongTextIsCutToItsField()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(int, limit);
    QFETCH(QString, field);
    QFETCH(QString, message);
    QFETCH(int, flags);
    Loaded s;
    DialogScript script;
    script.answer(vbOK);
    QString text;
    for (int i = 0; i < limit + 5; ++i)
        text += QChar(u'K' + i % 10);
    Sheet::clickCell(s.g, row, col);
    Sheet::enter(s.g, text);
    QCOMPARE(script.messages().size(), 1);
    QCOMPARE(script.messages().first().prompt, message);
    QCOMPARE(script.messages().first().flags, flags);
    QCOMPARE(s.g.TextMatrix(row, col), text.left(limit));
    QCOMPARE(s.stored(qPrintable(field), s.g.RowData(row)), QVariant(text.left(limit)));
}

void tst_SheetEditing::categoryPickerOpensOnTheRowsOwnCategory()
{
    Sheet s;
    // Two categories of one name: an expense and an income.
    s.raw->allocate(s.raw->category("Supplies", false), s.business);
    const qint64 income = s.raw->category("Supplies", true);
    s.raw->allocate(income, s.business);
    s.add({.category = income, .moneyIn = true, .invoiceNr = "F-9"});
    frmTransactions& w = s.open();
    DialogScript script;
    s.pick();
    Sheet::clickCell(s.cash(), 1, Category);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(w.Cbo->ItemData(w.Cbo->ListIndex()), income);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.cash().TextMatrix(1, Invoice), QStringLiteral("F-9"));
    QCOMPARE(s.raw->value("SELECT CategoryId FROM Transactions").toLongLong(), income);
}

void tst_SheetEditing::relationsCompleteAsTyped()
{
    Sheet s;
    s.add({.relation = "Abbey", .receiptId = "1"});
    s.add({.relation = "Abbot", .receiptId = "2"});
    // Every business and both sheets are offered, case-insensitively once, no Null.
    s.add({.cash = false, .relation = "abbot"});
    s.add({.business = s.raw->business("Zeppelin"), .relation = "Baker"});
    s.raw->exec("UPDATE Transactions SET Relation = NULL WHERE Relation = 'Baker'");
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
    QCOMPARE(picker.ListCount(), 2);
    QVERIFY(shows("Abbey", "bey"));
    // Backspace takes the completion away and leaves what is left; typing on
    // completes again.
    Sheet::press(Qt::Key_Backspace);
    QVERIFY(shows("Ab", ""));
    Sheet::keys("bo");
    QVERIFY(shows("Abbot", "t"));
    // Emptied, it stays empty.
    text.selectAll();
    Sheet::press(Qt::Key_Backspace);
    QVERIFY(shows("", ""));
    // A text no relation starts with stays as typed, and the cell follows it;
    // Escape does not take back what the picker wrote into the row.
    Sheet::keys("Quay");
    QVERIFY(shows("Quay", ""));
    Sheet::press(Qt::Key_Escape);
    QCOMPARE(g.TextMatrix(1, Relation), QStringLiteral("Quay"));

    // Opened again, the picker keeps the cell's text instead of completing it.
    Sheet::press(Qt::Key_Return);
    QCOMPARE(picker.Text(), QStringLiteral("Quay"));
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.stored("Relation", g.RowData(1)), QVariant("Quay"));
    // The list follows what is stored: Abbey is no longer used, Quay is.
    Sheet::clickCell(g, 2, Relation);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(Sheet::listOf(picker).size(), 2);
    QCOMPARE(picker.List(1), QStringLiteral("Quay"));
}

QTEST_MAIN(tst_SheetEditing)
#include "tst_sheetediting.moc"
