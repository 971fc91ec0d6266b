// The history window, driven through its real widgets: the versions of a
// transaction typed by id, and the restore of deleted records, checked
// against what the database file holds.

#include "data/History.h"
#include "history/frmHistory.h"
#include "history/HistoryModels.h"
#include "platform/widgets/Dialogs.h"
#include "shell/dbStuff.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

struct Fixture
{
    ShellEnvironment env;
    TempDatabase file;
    RawDb raw{file.path()};
    qint64 business = raw.business(QStringLiteral("Bakery Janssen"));
    qint64 flour = raw.category(QStringLiteral("Flour"), false);
    qint64 sales = raw.category(QStringLiteral("Sales"), true);

    frmHistory& open()
    {
        raw.allocate(flour, business);
        raw.allocate(sales, business);
        env.openDatabase(file.path());
        window = new frmHistory;
        window->show();
        return *window;
    }
    ~Fixture() { delete window; }

    QStringList column(const QAbstractItemModel& model, int column) const
    {
        QStringList texts;
        for (int r = 0; r < model.rowCount(); ++r)
            texts << model.index(r, column).data().toString();
        return texts;
    }

    // Every stored column of the rows of a table, by rowid: what a restore
    // must bring back exactly.
    QList<QVariantList> rows(const QString& table)
    {
        return raw.rows(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
    }

    frmHistory* window = nullptr;
};

// Selects the line of the deleted list that names the record, by keys.
void selectDeleted(frmHistory& w, const QString& kind, qint64 id)
{
    const QAbstractItemModel& model = w.deleted();
    w.lstDeleted->setFocus();
    QTest::keyClick(w.lstDeleted, Qt::Key_Home);
    for (int r = 0; r < model.rowCount(); ++r) {
        if (model.index(r, DeletedModel::ColKind).data() == kind &&
            model.index(r, DeletedModel::ColId).data().toLongLong() == id)
            return;
        QTest::keyClick(w.lstDeleted, Qt::Key_Down);
    }
    QFAIL("the deleted record is not listed");
}

} // namespace

class tst_HistoryWindow : public QObject
{
    Q_OBJECT

private slots:
    // Each change of the typed transaction is one line, with the row as it
    // then stood; what the change altered is bold.
    void versionsOfATypedTransaction_data()
    {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("lastDebited");
        QTest::addColumn<int>("boldColumn"); // on the last line; -1: none
        QTest::newRow("stored only") << QStringList{} << QStringList{"added"} << "10.00" << -1;
        QTest::newRow("amount typed over twice")
            << QStringList{"TotalPrice = 11", "TotalPrice = 1234.5"}
            << QStringList{"added", "changed", "changed"} << "1,234.50"
            << int(VersionsModel::ColDebited);
        QTest::newRow("moved to the bank sheet")
            << QStringList{"Cash = 0"} << QStringList{"added", "changed"} << "10.00"
            << int(VersionsModel::ColSheet);
        QTest::newRow("deleted") << QStringList{"DELETE"} << QStringList{"added", "deleted"}
                                 << "10.00" << -1;
    }

    void versionsOfATypedTransaction()
    {
        QFETCH(QStringList, changes);
        QFETCH(QStringList, actions);
        QFETCH(QString, lastDebited);
        QFETCH(int, boldColumn);
        Fixture f;
        TxRow row;
        row.business = f.business;
        row.category = f.flour;
        const qint64 other = f.raw.transaction(row);
        const qint64 id = f.raw.transaction(row);
        f.raw.exec(
            QStringLiteral("UPDATE Transactions SET TotalPrice = 99 WHERE TransactionId = ?1"),
            {other});
        for (const QString& change : changes) {
            f.raw.exec(change == "DELETE"
                           ? QStringLiteral("DELETE FROM Transactions WHERE TransactionId = ?1")
                           : "UPDATE Transactions SET " + change + " WHERE TransactionId = ?1",
                       {id});
        }
        frmHistory& w = f.open();
        QTest::keyClicks(w.txtFirst, QString::number(id));
        QTest::keyClick(w.txtFirst, Qt::Key_Return);

        const VersionsModel& model = w.versions();
        QCOMPARE(f.column(model, VersionsModel::ColAction), actions);
        QCOMPARE(f.column(model, VersionsModel::ColId),
                 QStringList(actions.size(), QString::number(id)));
        QCOMPARE(f.column(model, VersionsModel::ColStep),
                 QStringList(actions.size(), "outside the program"));
        const int lastLine = model.rowCount() - 1;
        QCOMPARE(model.index(lastLine, VersionsModel::ColDebited).data().toString(), lastDebited);
        QCOMPARE(model.index(lastLine, VersionsModel::ColCategory).data().toString(), "Flour");
        for (int c = VersionsModel::ColDate; c < VersionsModel::ColumnCount; ++c) {
            const QVariant font = model.index(lastLine, c).data(Qt::FontRole);
            QCOMPARE(font.isValid() && font.value<QFont>().bold(), c == boldColumn);
        }
    }

    // Tabbed into, the list of deletions has its row picked, so that a list
    // of one row (where the arrows do not move) can be restored.
    void aListOfOneRowIsPickedByTab()
    {
        Fixture f;
        TxRow row;
        row.business = f.business;
        row.category = f.flour;
        const qint64 id = f.raw.transaction(row);
        frmHistory& w = f.open();
        {
            HistoryStep step(*dbStuff::DB, "delete of transaction");
            dbStuff::ledger().deleteTransaction(id);
        }
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_D, Qt::AltModifier); // the Deleted tab
        QTest::mouseClick(w.cmdDeleted, Qt::LeftButton);
        QCOMPARE(w.deleted().rowCount(), 1);
        w.cmdDeleted->setFocus();
        QTest::keyClick(w.cmdDeleted, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.lstDeleted);
        QVERIFY(w.cmdRestore->isEnabled());
        QTest::mouseClick(w.cmdRestore, Qt::LeftButton);
        QCOMPARE(f.raw.count("Transactions"), 1);
    }

    // Restore brings the deleted record back as it was, under its own id when
    // that is free, with what its delete took along; a record whose own
    // business or category is gone stays deleted, with a message.
    void restoreBringsTheRecordBack_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("takeId");      // a row holds the deleted id again
        QTest::addColumn<bool>("dropFlour");   // the Flour category is deleted after
        QTest::addColumn<int>("transactions"); // back after the restore
        QTest::addColumn<QString>("message");
        QTest::newRow("transaction") << "transaction" << false << false << 3 << "";
        QTest::newRow("category, its transactions and allocation")
            << "category" << false << false << 3 << "";
        QTest::newRow("business, id taken: a new one")
            << "business" << true << false << 3
            << "The business came back as number 3: number 1 is taken.";
        QTest::newRow("business, a category gone")
            << "business" << false << true << 1
            << "2 of its transactions stay deleted: their category is gone.";
        QTest::newRow("transaction, its category gone")
            << "transaction" << false << true << 1
            << "This transaction cannot come back: its business or category is gone. Restore "
               "that first.";
    }

    void restoreBringsTheRecordBack()
    {
        QFETCH(QString, kind);
        QFETCH(bool, takeId);
        QFETCH(bool, dropFlour);
        QFETCH(int, transactions);
        QFETCH(QString, message);
        Fixture f;
        TxRow row;
        row.business = f.business;
        row.category = f.flour;
        const qint64 first = f.raw.transaction(row);
        f.raw.transaction(row);
        row.category = f.sales;
        row.moneyIn = true;
        row.remarks = QStringLiteral("paid in full");
        f.raw.transaction(row);
        frmHistory& w = f.open();
        const QList<QVariantList> before = f.rows("Transactions");
        const QList<QVariantList> allocations = f.rows("relCat_Bis");

        qint64 deleted = 0;
        {
            // One user action, as the windows make it.
            HistoryStep step(*dbStuff::DB, "delete of " + kind);
            Ledger ledger = dbStuff::ledger();
            if (kind == "transaction") {
                deleted = dropFlour ? first : before.last().first().toLongLong();
                ledger.deleteTransaction(deleted);
            } else if (kind == "category") {
                deleted = f.flour;
                ledger.deleteCategory(deleted);
            } else {
                deleted = f.business;
                ledger.deleteBusiness(deleted);
            }
        }
        if (dropFlour)
            dbStuff::ledger().deleteCategory(f.flour);
        if (takeId)
            f.raw.exec(QStringLiteral("INSERT INTO Businesses (BusinessId, Name) VALUES (?1, "
                                      "'Another'), (2, 'Third')"),
                       {deleted});

        DialogScript script;
        if (!message.isEmpty())
            script.answer(vbOK);
        QTest::mouseClick(w.cmdDeleted, Qt::LeftButton);
        selectDeleted(w, kind, deleted);
        QVERIFY(w.cmdRestore->isEnabled());
        QTest::mouseClick(w.cmdRestore, Qt::LeftButton);
        QCOMPARE(script.pending(), 0);
        if (!message.isEmpty())
            QCOMPARE(script.messages().at(0).prompt, message);

        QCOMPARE(f.raw.count("Transactions"), transactions);
        if (transactions == before.size()) {
            // Exactly as before: ids, values and references (a business under
            // a new id takes its transactions along).
            QList<QVariantList> expected = before;
            if (takeId) {
                for (QVariantList& r : expected)
                    r[10] = 3;
            }
            QCOMPARE(f.rows("Transactions"), expected);
            QCOMPARE(f.raw.count("relCat_Bis"), allocations.size());
        }
        // The restore is one step of the history, named after the record.
        if (message.isEmpty() || takeId) {
            QVERIFY(f.raw.value("SELECT Caption FROM HistorySteps ORDER BY StepId DESC LIMIT 1")
                        .toString()
                        .startsWith("restore of " + kind));
            // The record is listed as back, and cannot be restored twice.
            const QAbstractItemModel& model = w.deleted();
            for (int r = 0; r < model.rowCount(); ++r) {
                if (model.index(r, DeletedModel::ColKind).data() == kind &&
                    model.index(r, DeletedModel::ColId).data().toLongLong() == deleted)
                    QCOMPARE(model.index(r, DeletedModel::ColState).data().toString(),
                             takeId ? "" : "back");
            }
        }
    }
};

QTEST_MAIN(tst_HistoryWindow)
#include "tst_historywindow.moc"
