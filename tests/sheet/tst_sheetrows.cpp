// Rows and totals: a category changed to the other side, rows shown but not
// stored (marked, left out of the totals, asked about before they are
// dropped), and totals kept as rows are stored equal to the sums of the file.

#include "platform/Currency.h"
#include "platform/ProgramLocale.h"
#include "SheetTestKit.h"
#include "shell/frmMain.h"
#include "shell/Windows.h"

#include <QMdiArea>

using namespace sheetkit;

namespace {

constexpr int Grey = 8421504;
constexpr int DialogFlags = vbYesNo + vbExclamation + vbDefaultButton2;

// The balance and grand-total cells (Debited, Credited of each) that the
// sums of the file's transactions of one sheet give.
QStringList totalsOfFile(RawDb& raw, qint64 business, bool cash)
{
    Currency debited;
    Currency credited;
    const auto rows =
        raw.rows("SELECT TotalPrice, MoneyIn FROM Transactions WHERE BusinessId = ?1 AND Cash = ?2",
                 {business, cash ? 1 : 0});
    for (const QVariantList& row : rows) {
        if (!row[0].isValid())
            continue;
        const Currency amount = Currency::fromDouble(row[0].toDouble());
        (row[1].toInt() ? credited : debited) += amount;
    }
    const QString grand = ProgramLocale::formatAmount(std::max(debited, credited));
    const QString balance =
        ProgramLocale::formatAmount(debited > credited ? debited - credited : credited - debited);
    if (credited > debited)
        return {balance, "", grand, grand};
    return {"", balance, grand, grand};
}

QStringList totalsShown(const FlexGrid& g)
{
    return {g.TextMatrix(g.Rows() - 2, Debited), g.TextMatrix(g.Rows() - 2, Credited),
            g.TextMatrix(g.Rows() - 1, Debited), g.TextMatrix(g.Rows() - 1, Credited)};
}

bool shownStored(const FlexGrid& g, int row)
{
    const bool marked = g.TextMatrix(row, 0).startsWith(u'*');
    if (marked != (g.CellForeColor(row, Description) == Grey))
        qFatal("row %d: marker and colour disagree", row);
    return !marked;
}

// An incomplete entry row: a description typed, nothing else.
void typeHalfARow(FlexGrid& g)
{
    Sheet::clickCell(g, 3, Description);
    Sheet::enter(g, "Half");
}

} // namespace

class tst_SheetRows : public QObject
{
    Q_OBJECT

private slots:
    void categoryChangesSide_data();
    void categoryChangesSide();
    void refusedWriteIsNotCounted();
    void categoryNoLongerOnTheSheetIsNotStored();
    void unstoredRowsAreAskedAbout_data();
    void unstoredRowsAreAskedAbout();
    void droppedRowsShowTheFileAgain();
    void exitingTheProgramAsksToo();
    void openEditIsStoredUnderItsOwnBusiness_data();
    void openEditIsStoredUnderItsOwnBusiness();
    void totalsFollowTheFile_data();
    void totalsFollowTheFile();
};

void tst_SheetRows::categoryChangesSide_data()
{
    QTest::addColumn<bool>("bank");
    QTest::addColumn<int>("row"); // 1 the expense (10.00), 2 the income (25.00)
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("invoice");   // typed afterwards; "" for none
    QTest::addColumn<QStringList>("shown"); // invoice, debited, credited
    QTest::addColumn<int>("moneyIn");
    for (bool bank : {false, true}) {
        const char* sheet = bank ? "bank" : "cash";
        QTest::addRow("%s expense to income", sheet)
            << bank << 1 << "Sa"
            << "F-9" << QStringList{"F-9", "", "10.00"} << 1;
        QTest::addRow("%s income to expense", sheet)
            << bank << 2 << (bank ? "Ba" : "Pe") << "" << QStringList{"n/a", "25.00", ""} << 0;
    }
    QTest::newRow("same side") << false << 1 << "Pe"
                               << "" << QStringList{"n/a", "10.00", ""} << 0;
}

void tst_SheetRows::categoryChangesSide()
{
    QFETCH(bool, bank);
    QFETCH(int, row);
    QFETCH(QString, category);
    QFETCH(QString, invoice);
    QFETCH(QStringList, shown);
    QFETCH(int, moneyIn);
    Loaded s(bank);
    DialogScript script;
    const qint64 id = s.g.RowData(row);
    Sheet::clickCell(s.g, row, Category);
    Sheet::enter(s.g, category);
    if (!invoice.isEmpty()) {
        // An income needs its invoice number: until it has one the row is
        // shown, marked, and the file keeps the row as it was.
        QCOMPARE(s.g.TextMatrix(row, Invoice), QString());
        QVERIFY(!shownStored(s.g, row));
        QCOMPARE(s.stored("MoneyIn", id), QVariant(1 - moneyIn));
        QCOMPARE(totalsShown(s.g), totalsOfFile(*s.raw, s.business, !bank));
        Sheet::clickCell(s.g, row, Invoice);
        Sheet::enter(s.g, invoice);
    }
    QCOMPARE(Sheet::column(s.g, row, Invoice, Credited, true).mid(0, 1) +
                 Sheet::column(s.g, row, Debited, Credited, true),
             shown);
    QVERIFY(shownStored(s.g, row));
    QCOMPARE(s.stored("MoneyIn", id), QVariant(moneyIn));
    QCOMPARE(s.stored("TotalPrice", id), QVariant(row == 1 ? 10.0 : 25.0));
    QCOMPARE(s.stored("Invoicenr", id), QVariant(shown[0]));
    QCOMPARE(s.stored("CategoryId", id), QVariant(s.g.TextMatrix(row, CategoryId).toLongLong()));
    QCOMPARE(totalsShown(s.g), totalsOfFile(*s.raw, s.business, !bank));
    // The amount can be edited in its new column, and is stored from there.
    Sheet::clickCell(s.g, row, moneyIn ? Credited : Debited);
    Sheet::enter(s.g, "7");
    QCOMPARE(s.stored("TotalPrice", id), QVariant(7.0));
    QCOMPARE(s.stored("MoneyIn", id), QVariant(moneyIn));
    QCOMPARE(totalsShown(s.g), totalsOfFile(*s.raw, s.business, !bank));
}

void tst_SheetRows::refusedWriteIsNotCounted()
{
    Loaded s;
    DialogScript script;
    const QStringList before = totalsShown(s.g);
    s.raw->exec("CREATE TRIGGER refuse BEFORE UPDATE ON Transactions "
                "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    script.answer(vbOK);
    Sheet::clickCell(s.g, 1, Debited);
    Sheet::enter(s.g, "99");
    QCOMPARE(script.messages().size(), 1);
    QCOMPARE(script.messages().first().flags, vbOKOnly + vbCritical);
    // Shown as typed, marked, and left out of the totals, which stay those
    // of the file.
    QCOMPARE(s.g.TextMatrix(1, Debited), QStringLiteral("99.00"));
    QVERIFY(!shownStored(s.g, 1));
    QCOMPARE(s.g.TextMatrix(1, 0), QStringLiteral("*1"));
    QCOMPARE(totalsShown(s.g), before);
    QCOMPARE(totalsShown(s.g), totalsOfFile(*s.raw, s.business, true));
    QVERIFY(shownStored(s.g, 2));

    // Once the file takes it, the row is stored, unmarked and counted.
    s.raw->exec("DROP TRIGGER refuse");
    Sheet::clickCell(s.g, 1, Debited);
    Sheet::press(Qt::Key_Return);
    Sheet::press(Qt::Key_Return);
    QVERIFY(shownStored(s.g, 1));
    QCOMPARE(s.g.TextMatrix(1, 0), QStringLiteral("1"));
    QCOMPARE(s.stored("TotalPrice", s.expense), QVariant(99.0));
    QCOMPARE(totalsShown(s.g), totalsOfFile(*s.raw, s.business, true));
    QCOMPARE(script.shown(), 1);
}

void tst_SheetRows::categoryNoLongerOnTheSheetIsNotStored()
{
    Loaded s;
    DialogScript script;
    // Office becomes bank-only behind the open cash sheet's back.
    s.raw->exec(
        QStringLiteral("UPDATE Categories SET CashOrBank = 2 WHERE CategoryId = %1").arg(s.office));
    const QVariant before = s.stored("Description", s.expense);
    script.answer(vbOK);
    Sheet::clickCell(s.g, 1, Description);
    Sheet::enter(s.g, "Paper A4");
    QCOMPARE(script.messages().size(), 1);
    QCOMPARE(script.messages().first().prompt,
             QStringLiteral("The category \"Office\" cannot be used on the cash sheet of this "
                            "business. Choose another category for this row."));
    QCOMPARE(script.messages().first().flags, vbOKOnly + vbExclamation);
    QCOMPARE(s.stored("Description", s.expense), before);
    QVERIFY(!shownStored(s.g, 1));
    QCOMPARE(totalsShown(s.g), totalsOfFile(*s.raw, s.business, true));
}

void tst_SheetRows::unstoredRowsAreAskedAbout_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("answer"); // -1: no question expected
    for (const char* action : {"business", "close", "tab", "sort"}) {
        QTest::addRow("%s, nothing typed", action) << action << false << -1;
        QTest::addRow("%s, yes", action) << action << true << vbYes;
        QTest::addRow("%s, no", action) << action << true << vbNo;
    }
}

void tst_SheetRows::unstoredRowsAreAskedAbout()
{
    QFETCH(QString, action);
    QFETCH(bool, typed);
    QFETCH(int, answer);
    Loaded s;
    s.raw->business("Zeppelin");
    s.sheet().FIllcboBusiness();
    s.pick();
    DialogScript script;
    if (typed) {
        typeHalfARow(s.g);
        QVERIFY(!shownStored(s.g, 3));
        QCOMPARE(totalsShown(s.g), totalsOfFile(*s.raw, s.business, true));
    }
    if (answer >= 0)
        script.answer(answer);
    bool closed = false;
    if (action == "business") {
        s.pick("Zeppelin");
    } else if (action == "close") {
        closed = s.w.close();
    } else if (action == "tab") {
        s.showTab(2);
    } else {
        Sheet::clickCell(s.g, 1, Date);
        Sheet::clickButton(*s.w.Toolbar1, "sort");
    }
    QCOMPARE(script.shown(), answer >= 0 ? 1 : 0);
    if (answer < 0)
        return;
    const MessageRequest& asked = script.messages().first();
    QCOMPARE(asked.prompt, QStringLiteral("Not stored on the cash sheet: row 3.\rThese rows are "
                                          "incomplete, or the database refused them. Drop what "
                                          "was typed in them?"));
    QCOMPARE(asked.flags, DialogFlags);
    if (answer == vbYes) {
        const bool gone = action == "close" ? closed
                          : action == "business"
                              ? s.g.Rows() == 4
                              : s.g.TextMatrix(3, Description).isEmpty() && shownStored(s.g, 3);
        QVERIFY(gone);
        return;
    }
    // No: everything stays, and the user is put on the row.
    QVERIFY(!closed);
    QVERIFY(s.w.isVisible());
    QCOMPARE(s.w.cbobusiness->Text(), QStringLiteral("Bakery"));
    QCOMPARE(s.w.TS1->SelectedItem(), 1);
    QCOMPARE(dbStuff::CurrentTab, 1);
    QVERIFY(s.cash().isVisible());
    QCOMPARE(s.g.TextMatrix(3, Description), QStringLiteral("Half"));
    QVERIFY(!shownStored(s.g, 3));
    QCOMPARE(QApplication::focusWidget(), &s.g);
    QCOMPARE(Sheet::cursor(s.g), QPoint(Description, 3));
}

void tst_SheetRows::droppedRowsShowTheFileAgain()
{
    Loaded s;
    DialogScript script;
    s.raw->exec("CREATE TRIGGER refuse BEFORE UPDATE ON Transactions "
                "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    script.answer(vbOK);
    Sheet::clickCell(s.g, 1, Debited);
    Sheet::enter(s.g, "99");
    typeHalfARow(s.g);
    script.answer(vbYes);
    s.showTab(2);
    QCOMPARE(script.messages().last().prompt.left(39),
             QStringLiteral("Not stored on the cash sheet: rows 1, 3"));
    s.showTab(1);
    QCOMPARE(Sheet::rowTexts(s.g, 1),
             (QStringList{"Paper", "Office", "02/Mar/2026", "n/a", "0/000/007", "Abbey", "10.00",
                          "", QString::number(s.office)}));
    QCOMPARE(s.g.TextMatrix(3, Description), QString());
    for (int row : {1, 2, 3})
        QVERIFY(shownStored(s.g, row));
    QCOMPARE(totalsShown(s.g), totalsOfFile(*s.raw, s.business, true));
    QCOMPARE(script.shown(), 2);
}

void tst_SheetRows::exitingTheProgramAsksToo()
{
    Sheet s;
    frmMain& frame = s.openFrame();
    DialogScript script;
    frame.mnuTransactions->trigger();
    QVERIFY(frmTransactions::loaded());
    s.pick();
    Sheet::clickCell(s.cash(), 1, Description);
    Sheet::enter(s.cash(), "Half");

    script.answer(vbNo);
    frame.mnuExit->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(frmMain::loaded(), &frame);
    QVERIFY(frame.isVisible());
    QVERIFY(frmTransactions::loaded());
    QCOMPARE(s.cash().TextMatrix(1, Description), QStringLiteral("Half"));

    script.answer(vbYes);
    frame.mnuExit->trigger();
    QTRY_VERIFY(!frmMain::loaded());
    QVERIFY(!frmTransactions::loaded());
    QCOMPARE(script.shown(), 2);
    QCOMPARE(script.messages().last().prompt.left(36),
             QStringLiteral("Not stored on the cash sheet: row 1."));
}

void tst_SheetRows::openEditIsStoredUnderItsOwnBusiness_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("business") << "business";
    QTest::newRow("tab") << "tab";
    QTest::newRow("close") << "close";
}

void tst_SheetRows::openEditIsStoredUnderItsOwnBusiness()
{
    QFETCH(QString, action);
    Loaded s;
    const qint64 other = s.raw->business("Zeppelin");
    s.w.FIllcboBusiness();
    s.pick();
    DialogScript script;
    Sheet::clickCell(s.g, 1, Description);
    Sheet::type(s.g, "Ink");
    QCOMPARE(Sheet::openEditor(s.w), QStringLiteral("Txt"));
    if (action == "business")
        s.pick("Zeppelin");
    else if (action == "tab")
        s.showTab(2);
    else
        QVERIFY(s.w.close());
    QCOMPARE(s.stored("Description", s.expense), QVariant("Ink"));
    QCOMPARE(s.stored("BusinessId", s.expense), QVariant(s.business));
    QCOMPARE(s.raw->value("SELECT count(*) FROM Transactions WHERE BusinessId = ?1", {other}),
             QVariant(0));
}

void tst_SheetRows::totalsFollowTheFile_data()
{
    QTest::addColumn<bool>("bank");
    QTest::newRow("cash") << false;
    QTest::newRow("bank") << true;
}

void tst_SheetRows::totalsFollowTheFile()
{
    QFETCH(bool, bank);
    Loaded s(bank);
    DialogScript script;
    const auto agree = [&] { return totalsShown(s.g) == totalsOfFile(*s.raw, s.business, !bank); };
    QVERIFY(agree());
    // Edits of amounts, in cents that floating point would not keep exact.
    // A zero typed over an amount is stored as zero, in its own column.
    for (const char* amount : {"0.10", "1234567.89", "0", "0.30"}) {
        Sheet::clickCell(s.g, 1, Debited);
        Sheet::enter(s.g, amount);
        QVERIFY2(agree(), amount);
        QCOMPARE(s.stored("TotalPrice", s.expense).toDouble(), QString(amount).toDouble());
    }
    Sheet::clickCell(s.g, 2, Credited);
    Sheet::enter(s.g, "0");
    QCOMPARE(s.stored("TotalPrice", s.income).toDouble(), 0.0);
    QCOMPARE(s.stored("MoneyIn", s.income).toInt(), 1);
    QVERIFY(agree());
    Sheet::enter(s.g, "25");
    // A new row, then the income turned into an expense and back.
    Sheet::clickCell(s.g, 3, Description);
    Sheet::enter(s.g, "Bread");
    Sheet::enter(s.g, "Sa");
    Sheet::type(s.g, "05/Jan/2026");
    Sheet::press(Qt::Key_Return);
    for (const char* cell : {"F-5", "31", "Mill"})
        Sheet::enter(s.g, cell);
    Sheet::clickCell(s.g, 3, Credited);
    Sheet::enter(s.g, "0.20");
    QCOMPARE(s.raw->count("Transactions"), 3);
    QVERIFY(agree());
    for (const char* category : {bank ? "Ba" : "Of", "Sa"}) {
        Sheet::clickCell(s.g, 2, Category);
        Sheet::enter(s.g, category);
        if (category[0] == 'S') {
            Sheet::clickCell(s.g, 2, Invoice);
            Sheet::enter(s.g, "F-6");
        }
        QVERIFY2(agree(), category);
    }
    // A row deleted.
    script.answer(vbYes);
    Sheet::clickCell(s.g, 1, Relation);
    Sheet::press(Qt::Key_Delete);
    QCOMPARE(s.raw->count("Transactions"), 2);
    QVERIFY(agree());

    // Loading again counts every row afresh: the same totals.
    const QStringList kept = totalsShown(s.g);
    s.pick();
    if (bank)
        s.showTab(2);
    QCOMPARE(totalsShown(s.g), kept);
    QCOMPARE(script.shown(), 1);
}

QTEST_MAIN(tst_SheetRows)
#include "tst_sheetrows.moc"
