// A lookup window and the sheet open together, as a user has them: what is
// stored in the one reaches the other before the user can type there again.

#include "history/frmHistory.h"
#include "history/HistoryModels.h"
#include "lookups/frmCategories.h"
#include "lookups/LookupDriver.h"
#include "sheet/SheetTestKit.h"

#include <QPushButton>
#include <QTableView>

using namespace sheetkit;

class tst_CrossWindows : public QObject
{
    Q_OBJECT

private slots:
    // Office made bank-only through the categories window's close question
    // leaves the open cash sheet's picker at once. (That a cash row under it
    // can no longer be stored is the sheet rows' test.)
    void aCategoryMadeBankOnlyLeavesTheCashSheet()
    {
        Loaded s;
        QVERIFY(Sheet::listOf(*s.w.Cbo).contains(QStringLiteral("Office")));
        {
            auto categories = LookupDriver::openWindow<frmCategories>();
            LookupDriver::clickItem(categories->LV1, LookupDriver::c(s.office));
            LookupDriver::pickEntry(categories->cboCashBank, 1); // bank transactions
            DialogScript script;
            script.answer(vbYes);
            LookupDriver::pressButton(categories->Toolbar1, LookupDriver::Close);
            QCOMPARE(script.messages().size(), 1);
            QCOMPARE(script.messages().first().prompt,
                     QStringLiteral("Save changes before closing this window?"));
        }
        QCOMPARE(s.raw->value(QStringLiteral("SELECT CashOrBank FROM Categories WHERE "
                                             "CategoryId = ?1"),
                              {s.office}),
                 QVariant(2));
        QCOMPARE(Sheet::listOf(*s.w.Cbo),
                 (QStringList{QStringLiteral("Petty cash"), QStringLiteral("Sales")}));
    }

    // A transaction restored in the history window is on the open sheet at
    // once, under its own id. A row typed there and not stored is asked
    // about first; kept, it stops the restore.
    void aRestoredTransactionIsBackOnTheSheet_data()
    {
        QTest::addColumn<int>("dropTyped");
        QTest::newRow("typed row dropped") << vbYes;
        QTest::newRow("typed row kept") << vbNo;
    }

    void aRestoredTransactionIsBackOnTheSheet()
    {
        QFETCH(int, dropTyped);
        Loaded s;
        dbStuff::ledger().deleteTransaction(s.expense);
        s.pick();
        const auto shown = [&] { return Sheet::column(s.g, Description, 1, s.g.Rows() - 3); };
        QVERIFY(!shown().contains(QStringLiteral("Paper")));
        Sheet::clickCell(s.g, s.g.Rows() - 3, Description);
        Sheet::enter(s.g, QStringLiteral("Typed"));

        frmHistory history;
        history.show();
        history.lstDeleted->setFocus();
        QTest::keyClick(history.lstDeleted, Qt::Key_Home);
        QCOMPARE(history.deleted().change(0).rowKey, s.expense);
        DialogScript script;
        script.answer(dropTyped);
        QTest::mouseClick(history.cmdRestore, Qt::LeftButton);

        QCOMPARE(script.messages().size(), 1);
        QVERIFY(script.messages().first().prompt.startsWith("Not stored on the cash sheet"));
        if (dropTyped == vbNo) {
            QVERIFY(shown().contains(QStringLiteral("Typed")));
            QVERIFY(!s.stored("Description", s.expense).isValid());
            return;
        }
        QVERIFY(shown().contains(QStringLiteral("Paper")));
        QVERIFY(!shown().contains(QStringLiteral("Typed")));
        QVERIFY(s.stored("Description", s.expense).isValid());
    }
};

QTEST_MAIN(tst_CrossWindows)
#include "tst_crosswindows.moc"
