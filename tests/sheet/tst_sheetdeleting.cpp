// Deleting a row with the Delete key.

#include "SheetTestKit.h"
#include "support/DialogScript.h"

using namespace sheetkit;

namespace {

struct ThreeRows : Sheet
{
    explicit ThreeRows(bool bank)
    {
        for (int i = 1; i <= 3; ++i)
            ids << add(
                {.cash = !bank, .amount = double(1 << (i - 1)), .receiptId = QString::number(i)});
        open();
        pick();
        if (bank)
            showTab(2);
    }
    FlexGrid& grid() { return sheet().TS1->SelectedItem() == 2 ? bank() : cash(); }
    QList<qint64> ids;
};

} // namespace

class tst_SheetDeleting : public QObject
{
    Q_OBJECT

private slots:
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void entryRowIsOnlyEmptied();
    void rowNoLongerStoredIsReported();
    void deleteOnTotalsRowOnlyRewritesThem();
};

void tst_SheetDeleting::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("bank");
    QTest::addColumn<int>("answer");
    QTest::newRow("cash yes") << false << vbYes;
    QTest::newRow("cash no") << false << vbNo;
    QTest::newRow("bank yes") << true << vbYes;
    QTest::newRow("bank no") << true << vbNo;
}

void tst_SheetDeleting::deleteAsksFirst()
{
    QFETCH(bool, bank);
    QFETCH(int, answer);
    ThreeRows s(bank);
    FlexGrid& g = s.grid();
    DialogScript script;
    script.answer(answer);
    Sheet::clickCell(g, 2, Relation);
    Sheet::press(Qt::Key_Delete);

    QCOMPARE(script.messages().size(), 1);
    const MessageRequest& question = script.messages().first();
    QCOMPARE(question.prompt, QStringLiteral("Delete selected transaction, row number 2?"));
    QCOMPARE(question.flags, vbYesNo + vbQuestion);
    QCOMPARE(question.title, QStringLiteral("Zantoro"));
    QCOMPARE(dbStuff::Answer, answer);
    if (answer == vbNo) {
        QCOMPARE(s.raw->count("Transactions"), 3);
        QCOMPARE(g.Rows(), 7);
        QCOMPARE(g.TextMatrix(5, Credited), QStringLiteral("7.00"));
        return;
    }
    QCOMPARE(s.raw->count("Transactions"), 2);
    QCOMPARE(s.raw->value("SELECT count(*) FROM Transactions WHERE TransactionId = ?1", {s.ids[1]}),
             0);
    QCOMPARE(g.Rows(), 6);
    QCOMPARE((QList<qint64>{g.RowData(1), g.RowData(2)}), (QList<qint64>{s.ids[0], s.ids[2]}));
    for (int r = 1; r <= 3; ++r)
        QCOMPARE(g.TextMatrix(r, 0), QString::number(r));
    QCOMPARE(g.TextMatrix(4, Credited), QStringLiteral("5.00"));
    QCOMPARE(g.TextMatrix(5, Debited), QStringLiteral("5.00"));
}

void tst_SheetDeleting::entryRowIsOnlyEmptied()
{
    ThreeRows s(false);
    FlexGrid& g = s.grid();
    DialogScript script;
    Sheet::clickCell(g, 4, Description);
    Sheet::enter(g, "Half typed");
    Sheet::clickCell(g, 4, Category);
    script.answer(vbYes);
    Sheet::press(Qt::Key_Delete);
    QCOMPARE(script.messages().first().prompt,
             QStringLiteral("Delete selected transaction, row number 4?"));
    QCOMPARE(Sheet::rowTexts(g, 4), QStringList(9, QString()));
    QCOMPARE(g.TextMatrix(4, 0), QStringLiteral("4"));
    QCOMPARE(g.RowData(4), qint64(-1));
    QCOMPARE(QPoint(g.Col(), g.Row()), QPoint(1, 4));
    QCOMPARE(g.Rows(), 7);
    QCOMPARE(s.raw->count("Transactions"), 3);
}

void tst_SheetDeleting::rowNoLongerStoredIsReported()
{
    ThreeRows s(false);
    FlexGrid& g = s.grid();
    s.raw->exec("DELETE FROM Transactions WHERE TransactionId = ?1", {s.ids[0]});
    DialogScript script;
    script.answer(vbYes).answer(vbOK);
    Sheet::clickCell(g, 1, Description);
    Sheet::press(Qt::Key_Delete);
    QCOMPARE(script.messages().size(), 2);
    QCOMPARE(script.messages().last().prompt, QStringLiteral("Transaction not found in database."));
    QCOMPARE(script.messages().last().flags, vbOKOnly + vbExclamation);
    QCOMPARE(g.Rows(), 7);
    QCOMPARE(g.RowData(1), s.ids[0]);
    QCOMPARE(s.raw->count("Transactions"), 2);
}

void tst_SheetDeleting::deleteOnTotalsRowOnlyRewritesThem()
{
    ThreeRows s(false);
    FlexGrid& g = s.grid();
    DialogScript script;
    script.answer(vbYes);
    Sheet::clickCell(g, 5, Description);
    Sheet::press(Qt::Key_Delete);
    QCOMPARE(script.messages().first().prompt,
             QStringLiteral("Delete selected transaction, row number 5?"));
    QCOMPARE(Sheet::rowTexts(g, 5), (QStringList{"Balance", "", "", "", "", "", "", "7.00", ""}));
    QCOMPARE(g.TextMatrix(6, Description), QStringLiteral("GrandTotal"));
    QCOMPARE(s.raw->count("Transactions"), 3);
}

QTEST_MAIN(tst_SheetDeleting)
#include "tst_sheetdeleting.moc"
