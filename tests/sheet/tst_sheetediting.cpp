// The floating editors on the grid: which cell gets which editor, how an edit
// starts, what a commit writes, Escape, Enter and the arrows, the amount
// check and the length limits.

#include "SheetTestKit.h"
#include "support/DialogScript.h"

using namespace sheetkit;

namespace {

// Row 1: an expense, row 2: an income, row 3 the entry row, then the totals.
struct Loaded : Sheet
{
    qint64 expense = add({.category = office,
                          .date = "2026-03-02",
                          .amount = 10,
                          .description = "Paper",
                          .relation = "Abbey",
                          .receiptId = "7"});
    qint64 income = add({.category = sales,
                         .date = "2026-03-03",
                         .moneyIn = true,
                         .amount = 25,
                         .description = "Cake",
                         .relation = "Abbot",
                         .receiptId = "8",
                         .invoiceNr = "F-1"});
    frmTransactions& w = open();
    FlexGrid& g = (pick(), cash());
};

// The editor on show, or nullptr.
QWidget* openEditor(const frmTransactions& w)
{
    for (QWidget* e :
         {static_cast<QWidget*>(w.Txt), static_cast<QWidget*>(w.Num), static_cast<QWidget*>(w.Cbo),
          static_cast<QWidget*>(w.cbo2), static_cast<QWidget*>(w.DT)})
        if (!e->isHidden())
            return e;
    return nullptr;
}

QString nameOf(const QWidget* editor)
{
    return editor ? editor->objectName() : QStringLiteral("none");
}

QVariant stored(Sheet& s, const char* field, qint64 id)
{
    return s.raw->value(QStringLiteral("SELECT %1 FROM Transactions WHERE TransactionId = ?1")
                            .arg(QLatin1String(field)),
                        {id});
}

} // namespace

class tst_SheetEditing : public QObject
{
    Q_OBJECT

private slots:
    void eachCellHasItsEditor_data();
    void eachCellHasItsEditor();
    void editStartsFromTheKeyTyped_data();
    void editStartsFromTheKeyTyped();
    void datePickerStartsOnTheCellsDateOrToday();
    void commitWritesTheCellFormat_data();
    void commitWritesTheCellFormat();
    void escapeLeavesCellAndRowAlone_data();
    void escapeLeavesCellAndRowAlone();
    void enterAndArrowsCommitAndMove();
    void cellsFillFromLeftToRight();
    void amountThatIsNoNumberIsRefused();
    void tooLongTextIsCutToItsField_data();
    void tooLongTextIsCutToItsField();
    void tabChangeClosesTheEditorUnwritten();
    void rowWithoutAKnownCategoryTakesNoAmount();
};

void tst_SheetEditing::eachCellHasItsEditor_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QPoint>("cursorAfter"); // (col, row)

    // On the expense row; a cell without an editor passes the key on.
    const QList<std::tuple<int, QString, QPoint>> expense = {
        {1, "Txt", {1, 1}}, {2, "Cbo", {2, 1}},  {3, "DT", {3, 1}},  {4, "none", {5, 1}},
        {5, "Txt", {5, 1}}, {6, "cbo2", {6, 1}}, {7, "Num", {7, 1}}, {8, "none", {1, 2}}};
    for (const auto& [col, editor, after] : expense)
        QTest::addRow("expense col %d", col) << 1 << col << "a" << editor << after;
    QTest::newRow("income invoice") << 2 << 4 << "a"
                                    << "Txt" << QPoint(4, 2);
    QTest::newRow("income debited skips") << 2 << 7 << "5"
                                          << "none" << QPoint(8, 2);
    QTest::newRow("income credited") << 2 << 8 << "5"
                                     << "Num" << QPoint(8, 2);
    QTest::newRow("hidden category id stays") << 1 << 9 << "5"
                                              << "none" << QPoint(9, 1);
    // No editor on the totals rows, whatever the key.
    QTest::newRow("balance letter") << 4 << 1 << "a"
                                    << "none" << QPoint(1, 4);
    QTest::newRow("balance amount") << 4 << 8 << "5"
                                    << "none" << QPoint(8, 4);
    QTest::newRow("balance space") << 4 << 2 << " "
                                   << "none" << QPoint(2, 4);
    QTest::newRow("grand total enter") << 5 << 6 << "\r"
                                       << "none" << QPoint(6, 5);
}

void tst_SheetEditing::eachCellHasItsEditor()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, key);
    QFETCH(QString, editor);
    QFETCH(QPoint, cursorAfter);
    Loaded s;
    DialogScript script;
    if (col == 9) {
        Sheet::clickCell(s.g, row, 8);
        Sheet::press(Qt::Key_End);
    } else {
        Sheet::clickCell(s.g, row, col);
    }
    QCOMPARE(s.g.Col(), col);
    if (key == "\r")
        Sheet::press(Qt::Key_Return);
    else
        Sheet::type(s.g, key);
    QCOMPARE(nameOf(openEditor(s.w)), editor);
    QCOMPARE(QPoint(s.g.Col(), s.g.Row()), cursorAfter);
    if (editor != "none")
        QCOMPARE(QApplication::focusWidget()->window(), &s.w);
    QCOMPARE(script.shown(), 0);
}

void tst_SheetEditing::editStartsFromTheKeyTyped_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("how"); // 0 Enter, 1 double click, 2 the letter a
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::newRow("enter") << 1 << 0 << "Paper" << 0 << 5;
    QTest::newRow("double click") << 1 << 1 << "Paper" << 0 << 5;
    QTest::newRow("letter") << 1 << 2 << "a" << 1 << 0;
    QTest::newRow("amount on enter") << 7 << 0 << "10.00" << 0 << 5;
}

void tst_SheetEditing::editStartsFromTheKeyTyped()
{
    QFETCH(int, col);
    QFETCH(int, how);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    Loaded s;
    Sheet::clickCell(s.g, 1, col);
    if (how == 0)
        Sheet::press(Qt::Key_Return);
    else if (how == 1)
        QTest::mouseDClick(s.g.viewport(), Qt::LeftButton, {},
                           s.g.cellRect(1, col).center() - s.g.viewport()->pos());
    else
        Sheet::type(s.g, "a");
    TextBox* box = col == 7 ? s.w.Num : s.w.Txt;
    QVERIFY(!box->isHidden());
    QVERIFY(box->hasFocus());
    QCOMPARE(box->Text(), text);
    QCOMPARE(box->SelStart(), selStart);
    QCOMPARE(box->SelLength(), selLength);
    // Placed over the cell it edits.
    const QRect cell = s.g.cellRect(1, col).translated(s.g.pos());
    QCOMPARE(box->x(), cell.x());
    QVERIFY(box->geometry().top() >= cell.top() && box->geometry().bottom() <= cell.bottom());
}

void tst_SheetEditing::datePickerStartsOnTheCellsDateOrToday()
{
    Loaded s;
    DialogScript script;
    Sheet::clickCell(s.g, 1, Date);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.w.DT->Value().toDate().date(), QDate(2026, 3, 2));
    Sheet::press(Qt::Key_Escape);

    // A typed character opens it on today, unticked; committed so, the cell empties.
    Sheet::type(s.g, "7");
    QVERIFY(s.w.DT->Value().isNull());
    QCOMPARE(s.w.DT->date(), QDate::currentDate());
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.g.TextMatrix(1, Date), QString());
    // With the date gone the row has seven cells: it is not stored.
    QCOMPARE(stored(s, "TransactionDate", s.expense).toString(), QStringLiteral("2026-03-02"));

    // Typing today's date, the very date on show, sets it.
    const QDate today = QDate::currentDate();
    Sheet::clickCell(s.g, 1, Date);
    Sheet::type(s.g, "x");
    Sheet::keys(QLocale(QLocale::English).toString(today, "ddMMMyyyy"));
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.g.TextMatrix(1, Date), QLocale(QLocale::English).toString(today, "dd/MMM/yyyy"));
    QCOMPARE(stored(s, "TransactionDate", s.expense).toString(), today.toString(Qt::ISODate));
    QCOMPARE(script.shown(), 0);
}

void tst_SheetEditing::commitWritesTheCellFormat_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("amount") << 2 << 8 << "1234.5"
                            << "1,234.50"
                            << "TotalPrice" << QVariant(1234.5);
    QTest::newRow("receipt digits") << 1 << 5 << "1234"
                                    << "0/001/234"
                                    << "ReceiptId" << QVariant("0/001/234");
    QTest::newRow("long receipt keeps every digit") << 1 << 5 << "12345678901"
                                                    << "12345/678/901"
                                                    << "ReceiptId" << QVariant("12345/678/901");
    QTest::newRow("receipt with letters") << 1 << 5 << "A-1"
                                          << "A-1"
                                          << "ReceiptId" << QVariant("A-1");
}

void tst_SheetEditing::commitWritesTheCellFormat()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(QString, cell);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    Loaded s;
    DialogScript script;
    Sheet::clickCell(s.g, row, col);
    Sheet::enter(s.g, typed);
    QCOMPARE(s.g.TextMatrix(row, col), cell);
    QCOMPARE(stored(s, qPrintable(field), s.g.RowData(row)), value);
    QCOMPARE(script.shown(), 0);
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
    Sheet::type(s.g, typed.left(1));
    if (typed.size() > 1)
        Sheet::keys(typed.mid(1));
    if (col == 2)
        QVERIFY(s.g.TextMatrix(row, CategoryId) != before[CategoryId - 1]);
    Sheet::press(Qt::Key_Escape);
    QCOMPARE(openEditor(s.w), nullptr);
    QCOMPARE(QApplication::focusWidget(), &s.g);
    QCOMPARE(Sheet::rowTexts(s.g, row), before);
    // Leaving the cell afterwards stores nothing new either.
    Sheet::press(Qt::Key_Down);
    QCOMPARE(s.raw->rows("SELECT * FROM Transactions ORDER BY TransactionId"), dbBefore);
    QCOMPARE(script.shown(), 0);
}

void tst_SheetEditing::enterAndArrowsCommitAndMove()
{
    Loaded s;
    DialogScript script;
    Sheet::clickCell(s.g, 1, Description);
    Sheet::type(s.g, "Ink");
    Sheet::press(Qt::Key_Up); // commits; there is no row above the first
    QCOMPARE(s.g.TextMatrix(1, Description), QStringLiteral("Ink"));
    QCOMPARE(QPoint(s.g.Col(), s.g.Row()), QPoint(1, 1));
    QCOMPARE(stored(s, "Description", s.expense), QVariant("Ink"));

    Sheet::type(s.g, "Pens");
    Sheet::press(Qt::Key_Down);
    QCOMPARE(s.g.TextMatrix(1, Description), QStringLiteral("Pens"));
    QCOMPARE(QPoint(s.g.Col(), s.g.Row()), QPoint(1, 2));

    // Down from the entry row reaches the balance row, where nothing opens.
    Sheet::press(Qt::Key_Down);
    Sheet::type(s.g, "x");
    Sheet::press(Qt::Key_Down);
    QCOMPARE(s.g.Row(), 4);
    Sheet::type(s.g, "x");
    QCOMPARE(openEditor(s.w), nullptr);

    // Enter: one column on, and from "Credited" to the next row.
    Sheet::clickCell(s.g, 2, Relation);
    Sheet::press(Qt::Key_Return);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(QPoint(s.g.Col(), s.g.Row()), QPoint(7, 2));
    Sheet::clickCell(s.g, 2, Credited);
    Sheet::enter(s.g, "26");
    QCOMPARE(QPoint(s.g.Col(), s.g.Row()), QPoint(1, 3));
    QCOMPARE(stored(s, "TotalPrice", s.income), QVariant(26.0));
    QCOMPARE(script.shown(), 0);
}

void tst_SheetEditing::cellsFillFromLeftToRight()
{
    Loaded s;
    DialogScript script;
    // The entry row is empty: only "Description" opens.
    for (int col : {2, 3, 5, 6}) {
        Sheet::clickCell(s.g, 3, col);
        Sheet::type(s.g, "a");
        QCOMPARE(openEditor(s.w), nullptr);
        QCOMPARE(QPoint(s.g.Col(), s.g.Row()), QPoint(col, 3));
    }
    Sheet::clickCell(s.g, 3, Description);
    Sheet::enter(s.g, "New");
    QCOMPARE(s.g.Col(), int(Category));
    Sheet::type(s.g, "O");
    QCOMPARE(openEditor(s.w), s.w.Cbo);
    QCOMPARE(script.shown(), 0);
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
    // A click on another cell is refused too; the cursor stays on the amount.
    Sheet::clickCell(s.g, 2, Description);
    QCOMPARE(script.messages().size(), 4);
    for (const MessageRequest& m : script.messages()) {
        QCOMPARE(m.prompt, QStringLiteral("A numeric value has to be entered in this box."));
        QCOMPARE(m.flags, vbOKOnly + vbExclamation);
        QCOMPARE(m.title, QStringLiteral("Zantoro"));
    }
    QTRY_VERIFY(s.w.Num->hasFocus());
    QVERIFY(!s.w.Num->isHidden());
    QCOMPARE(QPoint(s.g.Col(), s.g.Row()), QPoint(7, 1));
    QCOMPARE(s.g.TextMatrix(1, Debited), QStringLiteral("10.00"));
    QCOMPARE(stored(s, "TotalPrice", s.expense), QVariant(10.0));

    // Mended, it commits; an empty amount is allowed as well.
    Sheet::press(Qt::Key_Backspace);
    Sheet::press(Qt::Key_Return);
    QCOMPARE(s.g.TextMatrix(1, Debited), QStringLiteral("12.00"));
    QCOMPARE(stored(s, "TotalPrice", s.expense), QVariant(12.0));
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
    QTest::addColumn<int>("typedLength");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("flags");
    QTest::newRow("receipt id") << 1 << 5 << 30 << 25 << "ReceiptId"
                                << "The maximum length of the receipt id is 25 characters. Your "
                                   "input will be truncated to 25"
                                << vbOKOnly;
    QTest::newRow("invoice number")
        << 2 << 4 << 30 << 25 << "Invoicenr"
        << "The maximum length of the invoice number is 25 characters. Your input will be "
           "truncated to 25"
        << vbOKOnly;
    QTest::newRow("description")
        << 1 << 1 << 120 << 100 << "Description"
        << "The maximum length of the description is 100 characters. Your input will be "
           "truncated to 100 characters."
        << vbOKOnly + vbInformation;
    QTest::newRow("relation")
        << 1 << 6 << 60 << 50 << "Relation"
        << "The maximum length of the relation field is 50 characters. Your input will be "
           "truncated to 50 characters."
        << vbOKOnly + vbInformation;
}

void tst_SheetEditing::tooLongTextIsCutToItsField()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(int, typedLength);
    QFETCH(int, limit);
    QFETCH(QString, field);
    QFETCH(QString, message);
    QFETCH(int, flags);
    Loaded s;
    DialogScript script;
    script.answer(vbOK);
    QString text;
    for (int i = 0; i < typedLength; ++i)
        text += QChar(u'K' + i % 10);
    Sheet::clickCell(s.g, row, col);
    Sheet::enter(s.g, text);
    QCOMPARE(script.messages().size(), 1);
    QCOMPARE(script.messages().first().prompt, message);
    QCOMPARE(script.messages().first().flags, flags);
    QCOMPARE(s.g.TextMatrix(row, col), text.left(limit));
    QCOMPARE(stored(s, qPrintable(field), s.g.RowData(row)), QVariant(text.left(limit)));
}

void tst_SheetEditing::tabChangeClosesTheEditorUnwritten()
{
    Loaded s;
    DialogScript script;
    Sheet::clickCell(s.g, 1, Description);
    Sheet::type(s.g, "Changed");
    s.showTab(2);
    QCOMPARE(openEditor(s.w), nullptr);
    QCOMPARE(s.g.TextMatrix(1, Description), QStringLiteral("Paper"));
    QCOMPARE(s.bank().TextMatrix(1, Description), QString());
    QCOMPARE(stored(s, "Description", s.expense), QVariant("Paper"));
    QCOMPARE(script.shown(), 0);
}

void tst_SheetEditing::rowWithoutAKnownCategoryTakesNoAmount()
{
    Loaded s;
    DialogScript script; // an error box would fail here
    // The income's category goes (and its transaction with it) while the
    // sheet still shows the row.
    s.raw->exec("DELETE FROM Categories WHERE CategoryId = ?1", {s.sales});
    Sheet::clickCell(s.g, 2, Invoice);
    Sheet::type(s.g, "a");
    QCOMPARE(QPoint(s.g.Col(), s.g.Row()), QPoint(5, 2));
    Sheet::clickCell(s.g, 2, Credited);
    Sheet::type(s.g, "5");
    QCOMPARE(QPoint(s.g.Col(), s.g.Row()), QPoint(1, 3));
    QCOMPARE(openEditor(s.w), nullptr);
    QCOMPARE(script.shown(), 0);
}

QTEST_MAIN(tst_SheetEditing)
#include "tst_sheetediting.moc"
