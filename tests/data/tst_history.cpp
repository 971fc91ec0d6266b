// The change history over real files: every path that writes rows is recorded
// (a plain SQL UPDATE from outside included) and cannot be rewritten; a step
// is one action, cascade included; undo and redo give back the exact rows
// with their ids; schema versions: an older file is upgraded keeping every
// row and a copy, a newer one is refused untouched.

#include "data/Database.h"
#include "data/History.h"
#include "data/Ledger.h"
#include "data/Schema.h"
#include "data/SchemaVersions.h"
#include "platform/VbError.h"
#include "support/DataRows.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTest>

#include <functional>

namespace {

// Every row of the recorded tables, with its rowid, in a fixed order.
QList<QVariantList> dump(RawDb& raw)
{
    QList<QVariantList> all;
    for (const char* table : {"Businesses", "Categories", "Transactions", "relCat_Bis"})
        all += raw.rows(QStringLiteral("SELECT '%1', rowid, * FROM %1 ORDER BY rowid")
                            .arg(QLatin1String(table)));
    return all;
}

struct Books
{
    TempDatabase file;
    RawDb raw{file.path()};
    qint64 bakery = raw.business(QStringLiteral("Bakery"));
    qint64 fuel = raw.category(QStringLiteral("Fuel"), false);
    qint64 sales = raw.category(QStringLiteral("Sales"), true);
    std::unique_ptr<Database> db = Database::OpenDatabase(file.path());
    Ledger ledger{*db};
    History history{*db};

    qint64 tx(qint64 category, double amount)
    {
        return raw.transaction({.business = bakery, .category = category, .amount = amount});
    }
};

} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void everyPathIsRecorded_data();
    void everyPathIsRecorded();
    void historyIsAppendOnly_data();
    void historyIsAppendOnly();
    void stepsAreWholeActions();
    void cascadeIsOneStepAndUndoRestoresIds();
    void undoRefusesARowChangedSince_data();
    void undoRefusesARowChangedSince();
    void restoreTakesTheOriginalIdWhenFree();
    void upgradeKeepsEveryRowAndACopy_data();
    void upgradeKeepsEveryRowAndACopy();
    void newerVersionIsRefusedUntouched();
};

// Each way rows are written, by the program or beside it, and the history row
// it must leave: table, action, whether it belongs to a step.
enum class Path
{
    NewTransaction,
    ChangedTransaction,
    DeletedTransaction,
    NewCategory,
    ChangedCategory,
    NewBusiness,
    ChangedBusiness,
    Allocated,
    Withdrawn,
    PlainSqlUpdate,
    PlainSqlDelete,
};

void HistoryTest::everyPathIsRecorded_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("action");
    // The step's caption, "%1" standing for the row's id; empty: no step.
    QTest::addColumn<QString>("caption");
    using datarows::row;
    row("new transaction", Path::NewTransaction, "Transactions", "insert", "new transaction");
    row("changed transaction", Path::ChangedTransaction, "Transactions", "update",
        "change of amount of transaction %1");
    row("deleted transaction", Path::DeletedTransaction, "Transactions", "delete",
        "delete of transaction %1");
    row("new category", Path::NewCategory, "Categories", "insert", "new category fuel");
    row("changed category", Path::ChangedCategory, "Categories", "update",
        "change of category fuel");
    row("new business", Path::NewBusiness, "Businesses", "insert", "new business Bakery North");
    row("changed business", Path::ChangedBusiness, "Businesses", "update",
        "change of business Bakery North");
    row("allocated", Path::Allocated, "relCat_Bis", "insert",
        "allocation of category Fuel to business Bakery");
    row("withdrawn", Path::Withdrawn, "relCat_Bis", "delete",
        "withdrawal of category Sales from business Bakery");
    row("plain sqlite3 update", Path::PlainSqlUpdate, "Transactions", "update", "");
    row("plain sqlite3 delete", Path::PlainSqlDelete, "Transactions", "delete", "");
}

void HistoryTest::everyPathIsRecorded()
{
    QFETCH(Path, path);
    QFETCH(QString, table);
    QFETCH(QString, action);
    QFETCH(QString, caption);
    Books b;
    const qint64 stored = b.tx(b.fuel, 12.5);
    b.raw.allocate(b.sales, b.bakery);
    const qint64 before = b.raw.count(QStringLiteral("History"));

    qint64 key = 0;
    switch (path) {
    case Path::NewTransaction:
    case Path::ChangedTransaction: {
        // The stored row's values (TxRow's), but for the amount.
        Ledger::Transaction t;
        t.id = path == Path::NewTransaction ? 0 : stored;
        t.date = QDate(2026, 3, 15);
        t.cash = true;
        t.businessId = b.bakery;
        t.categoryId = b.fuel;
        t.amount = Currency::fromRaw(99900);
        t.invoiceNr = QStringLiteral("n/a");
        t.relation = QStringLiteral("Abbey");
        t.description = QStringLiteral("Stationery");
        t.receiptId = QStringLiteral("1");
        key = b.ledger.storeTransaction(t).id;
        break;
    }
    case Path::DeletedTransaction:
        QVERIFY(b.ledger.deleteTransaction(stored));
        key = stored;
        break;
    case Path::NewCategory:
    case Path::ChangedCategory: {
        Ledger::Category c =
            path == Path::NewCategory ? Ledger::Category{} : b.ledger.category(b.fuel);
        c.name = QStringLiteral("fuel"); // a change of case alone is a change
        key = b.ledger.storeCategory(c);
        break;
    }
    case Path::NewBusiness:
    case Path::ChangedBusiness: {
        Ledger::Business biz =
            path == Path::NewBusiness ? Ledger::Business{} : b.ledger.business(b.bakery);
        biz.name = QStringLiteral("Bakery North");
        key = b.ledger.storeBusiness(biz);
        break;
    }
    case Path::Allocated:
    case Path::Withdrawn: {
        const qint64 category = path == Path::Allocated ? b.fuel : b.sales;
        QVERIFY(b.ledger.setAllocated(category, b.bakery, path == Path::Allocated));
        key = path == Path::Allocated
                  ? b.raw.value(QStringLiteral("SELECT max(rowid) FROM relCat_Bis")).toLongLong()
                  : 1;
        break;
    }
    case Path::PlainSqlUpdate:
        b.raw.exec(
            QStringLiteral("UPDATE Transactions SET TotalPrice = 13 WHERE TransactionId = ?1"),
            {stored});
        key = stored;
        break;
    case Path::PlainSqlDelete:
        b.raw.exec(QStringLiteral("DELETE FROM Transactions WHERE TransactionId = ?1"), {stored});
        key = stored;
        break;
    }

    const auto rows = b.raw.rows(
        QStringLiteral("SELECT TableName, RowKey, Action, StepId, OldValues IS NULL, NewValues IS "
                       "NULL, ChangedAt FROM History WHERE HistoryId > ?1"),
        {before});
    QCOMPARE(rows.size(), 1);
    const QVariantList row = rows.first();
    QCOMPARE(row[0].toString(), table);
    QCOMPARE(row[1].toLongLong(), key);
    QCOMPARE(row[2].toString(), action);
    QCOMPARE(row[3].isValid(), !caption.isEmpty());
    if (!caption.isEmpty())
        QCOMPARE(b.history.step(row[3].toLongLong())->caption,
                 QString(caption).replace(QStringLiteral("%1"), QString::number(key)));
    QCOMPARE(row[4].toBool(), action == QLatin1String("insert"));
    QCOMPARE(row[5].toBool(), action == QLatin1String("delete"));
    QVERIFY2(QDateTime::fromString(row[6].toString(), Qt::ISODateWithMs).isValid(),
             qPrintable(row[6].toString()));
    // The values recorded are the row's, every column.
    if (action == QLatin1String("delete"))
        return;
    const qint64 change =
        b.raw.value(QStringLiteral("SELECT max(HistoryId) FROM History")).toLongLong();
    for (const QVariantList& column :
         b.raw.rows(QStringLiteral("SELECT name FROM pragma_table_info(?1)"), {table})) {
        const QString name = column[0].toString();
        QVERIFY2(b.raw
                     .value(QStringLiteral("SELECT (SELECT %1 FROM %2 WHERE rowid = ?1) IS "
                                           "json_extract(NewValues, '$.%1') FROM History WHERE "
                                           "HistoryId = ?2")
                                .arg(name, table),
                            {key, change})
                     .toBool(),
                 qPrintable(name));
    }
}

void HistoryTest::historyIsAppendOnly_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("update history") << "UPDATE History SET NewValues = NULL";
    QTest::newRow("delete history") << "DELETE FROM History";
    QTest::newRow("update steps") << "UPDATE HistorySteps SET Caption = 'x'";
    QTest::newRow("delete steps") << "DELETE FROM HistorySteps";
}

void HistoryTest::historyIsAppendOnly()
{
    QFETCH(QString, sql);
    Books b;
    Ledger::Category c = b.ledger.category(b.fuel);
    c.vat = 9.0;
    b.ledger.storeCategory(c);
    const auto before = b.raw.rows(QStringLiteral("SELECT * FROM History"));
    const auto stepsBefore = b.raw.rows(QStringLiteral("SELECT * FROM HistorySteps"));
    QCOMPARE(stepsBefore.size(), 1);
    // Refused through the program and through a plain connection alike.
    QVERIFY(errorOf([&] { b.db->Execute(sql); }) != 0);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, b.raw.exec(sql));
    QCOMPARE(b.raw.rows(QStringLiteral("SELECT * FROM History")), before);
    QCOMPARE(b.raw.rows(QStringLiteral("SELECT * FROM HistorySteps")), stepsBefore);
}

void HistoryTest::stepsAreWholeActions()
{
    Books b;
    const qint64 a = b.tx(b.fuel, 1);
    const qint64 c = b.tx(b.fuel, 2);
    const auto before = dump(b.raw);
    const qint64 steps = b.raw.count(QStringLiteral("HistorySteps"));

    // Nested scopes join the outer one: one step, its caption.
    {
        HistoryStep outer(*b.db, QStringLiteral("delete of 2 transactions"));
        HistoryStep inner(*b.db, QStringLiteral("inner"));
        QVERIFY(inner.joined());
        QCOMPARE(inner.id(), outer.id());
        b.ledger.deleteTransaction(a);
        b.ledger.deleteTransaction(c);
    }
    QCOMPARE(b.raw.count(QStringLiteral("HistorySteps")), steps + 1);
    QCOMPARE(b.raw.value(QStringLiteral("SELECT Caption FROM HistorySteps ORDER BY StepId DESC")),
             QVariant(QStringLiteral("delete of 2 transactions")));
    QCOMPARE(b.raw.value(QStringLiteral("SELECT count(DISTINCT StepId) FROM History WHERE Action "
                                        "= 'delete'")),
             QVariant(1));
    // Between steps the file names no current step: outside writes get none.
    QVERIFY(!b.raw.value(QStringLiteral("SELECT StepId FROM HistoryCurrentStep")).isValid());

    // A step ended by an exception stores nothing of itself.
    b.history.undo(b.history.lastStepId());
    const auto restored = dump(b.raw);
    QCOMPARE(restored, before);
    const qint64 history = b.raw.count(QStringLiteral("History"));
    QVERIFY_THROWS_EXCEPTION(VbError, [&] {
        HistoryStep step(*b.db, QStringLiteral("fails half way"));
        b.ledger.deleteTransaction(a);
        Ledger::Category empty = b.ledger.category(b.fuel);
        empty.name.clear();
        b.ledger.storeCategory(empty); // 3315
    }());
    QCOMPARE(dump(b.raw), before);
    QCOMPARE(b.raw.count(QStringLiteral("History")), history);
    QCOMPARE(b.raw.count(QStringLiteral("HistorySteps")), steps + 2);

    // A step that changed nothing leaves no trace.
    {
        HistoryStep idle(*b.db, QStringLiteral("nothing"));
        QVERIFY(!b.ledger.setAllocated(b.fuel, b.bakery, false));
    }
    QCOMPARE(b.raw.count(QStringLiteral("HistorySteps")), steps + 2);
}

void HistoryTest::cascadeIsOneStepAndUndoRestoresIds()
{
    Books b;
    b.tx(b.fuel, 1.5);
    b.tx(b.fuel, 2.25);
    // Values that a careless round trip through text would change.
    b.raw.transaction({.business = b.bakery,
                       .category = b.fuel,
                       .amount = 0.1 + 0.2,
                       .description = QStringLiteral("Caf\u00e9 \"Zo\u00eb\" \u00bd {x}"),
                       .remarks = QStringLiteral("line 1\nline 2")});
    const qint64 other = b.raw.business(QStringLiteral("Garage"));
    b.raw.allocate(b.fuel, b.bakery);
    b.raw.allocate(b.fuel, other);
    b.tx(b.sales, 7); // stays
    const auto before = dump(b.raw);
    const qint64 lastId =
        b.raw.value(QStringLiteral("SELECT max(TransactionId) FROM Transactions")).toLongLong();
    const qint64 mark = b.history.lastStepId();

    QVERIFY(b.ledger.deleteCategory(b.fuel));
    const auto afterDelete = dump(b.raw);
    const auto steps = b.history.steps(mark);
    QCOMPARE(steps.size(), 1);
    QCOMPARE(steps[0].caption, QStringLiteral("delete of category Fuel and 3 transactions"));
    const auto changes = b.history.stepChanges(steps[0].id);
    QCOMPARE(changes.size(), 6); // the category, 3 transactions, 2 allocations
    for (const auto& change : changes)
        QCOMPARE(change.action, History::Action::Delete);

    const History::Applied undone = b.history.undo(steps[0].id);
    QCOMPARE(dump(b.raw), before); // every row with its id and values
    QCOMPARE(b.history.step(undone.stepId)->undoOf, steps[0].id);
    auto state = b.history.undoState(mark);
    QCOMPARE(state.undo.size(), size_t(0));
    QCOMPARE(state.redo.size(), size_t(1));
    QCOMPARE(state.redo.back().undoneCaption, steps[0].caption);

    const History::Applied redone = b.history.redo(undone.stepId);
    QCOMPARE(dump(b.raw), afterDelete);
    QCOMPARE(b.history.step(redone.stepId)->redoOf, steps[0].id);
    QCOMPARE(b.history.step(redone.stepId)->caption, steps[0].caption);
    state = b.history.undoState(mark);
    QCOMPARE(state.undo.size(), size_t(1));
    QCOMPARE(state.undo.back().id, redone.stepId);
    QCOMPARE(state.redo.size(), size_t(0));

    b.history.undo(redone.stepId);
    QCOMPARE(dump(b.raw), before);
    // A new id after all this is still a new one: ids are never reused.
    const qint64 fresh = b.tx(b.sales, 1);
    QCOMPARE(fresh, lastId + 1);
}

void HistoryTest::undoRefusesARowChangedSince_data()
{
    QTest::addColumn<QString>("since");
    QTest::addColumn<long>("error");
    // Ahead of the step undone: its row changed by hand, or (the step being a
    // delete) the category its row needs deleted by a later step.
    QTest::newRow("row changed by hand")
        << "UPDATE Transactions SET Description = 'by hand'" << VbErr::DataChanged;
    QTest::newRow("row's category gone")
        << "DELETE FROM Categories WHERE Category = 'Fuel'" << VbErr::RelatedRecordRequired;
}

void HistoryTest::undoRefusesARowChangedSince()
{
    QFETCH(QString, since);
    QFETCH(long, error);
    Books b;
    const qint64 id = b.tx(b.fuel, 10);
    b.tx(b.fuel, 11);
    if (error == VbErr::DataChanged) {
        Ledger::Transaction t;
        t.id = id;
        t.businessId = b.bakery;
        t.categoryId = b.fuel;
        t.amount = Currency::fromRaw(200000);
        b.ledger.storeTransaction(t);
    } else {
        b.ledger.deleteTransaction(id);
    }
    const qint64 step = b.history.lastStepId();
    b.raw.exec(since);
    const auto before = dump(b.raw);
    const qint64 history = b.raw.count(QStringLiteral("History"));
    QCOMPARE(errorOf([&] { b.history.undo(step); }), error);
    QCOMPARE(dump(b.raw), before);
    QCOMPARE(b.raw.count(QStringLiteral("History")), history);
    QCOMPARE(b.history.lastStepId(), step);
    // Nothing is left open: the next step is stored as usual.
    Ledger::Business garage{0, QStringLiteral("Garage"), {}, {}};
    QVERIFY(b.ledger.storeBusiness(garage) > 0);
    QCOMPARE(b.history.lastStepId(), step + 1);
    QCOMPARE(b.raw.count(QStringLiteral("Businesses")), 2);
}

void HistoryTest::restoreTakesTheOriginalIdWhenFree()
{
    Books b;
    const qint64 id = b.tx(b.fuel, 4.75);
    b.raw.allocate(b.fuel, b.bakery);
    const auto row = [&](qint64 key) {
        return b.raw.rows(QStringLiteral("SELECT Description, TotalPrice, CategoryId, "
                                         "TransactionDate FROM Transactions WHERE rowid = ?1"),
                          {key});
    };
    const auto before = row(id);
    b.ledger.deleteCategory(b.fuel); // takes the transaction and the allocation
    const auto deleted = b.history.stepChanges(b.history.lastStepId());
    const auto findChange = [&](const char* table) {
        for (const auto& change : deleted)
            if (change.table == QLatin1String(table))
                return change.id;
        return qint64(0);
    };
    // The category first: its transaction and allocation need it.
    QCOMPARE(b.history.restoreDeleted(findChange(History::Categories), QStringLiteral("restore")),
             b.fuel);
    QCOMPARE(b.history.restoreDeleted(findChange(History::Transactions), QStringLiteral("restore")),
             id);
    QCOMPARE(row(id), before);
    QCOMPARE(b.history.step(b.history.lastStepId())->caption, QStringLiteral("restore"));
    // Its id taken now: a second restore stores an equal row under a new id.
    const qint64 again =
        b.history.restoreDeleted(findChange(History::Transactions), QStringLiteral("again"));
    QVERIFY(again > id);
    QCOMPARE(row(again), before);
    b.history.restoreDeleted(findChange(History::Allocations), QStringLiteral("allocation"));
    QCOMPARE(errorOf([&] {
                 b.history.restoreDeleted(findChange(History::Allocations), QStringLiteral("x"));
             }),
             VbErr::DuplicateKey);
    QCOMPARE(errorOf([&] { b.history.restoreDeleted(deleted.first().id - 1, QString()); }),
             VbErr::InvalidArgument); // an insert, not a delete
}

void HistoryTest::upgradeKeepsEveryRowAndACopy_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<bool>("upgrades");
    QTest::newRow("delivered file") << QString() << true;
    // A file that cannot take the new tables stays exactly as it was.
    QTest::newRow("name taken") << "CREATE TABLE History (x)" << false;
}

void HistoryTest::upgradeKeepsEveryRowAndACopy()
{
    QFETCH(QString, obstacle);
    QFETCH(bool, upgrades);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Zantoro.mdb"));
    Schema::CreateDatabaseFileFrom(path, QStringLiteral(ZANTORO_DB_DIR), 0);
    QList<QVariantList> before;
    {
        RawDb raw(path);
        QCOMPARE(raw.value(QStringLiteral("PRAGMA user_version")), QVariant(0));
        QCOMPARE(raw.value(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name LIKE "
                                          "'History%'")),
                 QVariant(0));
        const qint64 biz = raw.business(QStringLiteral("Bakery"));
        const qint64 cat = raw.category(QStringLiteral("Fuel"), false);
        raw.allocate(cat, biz);
        for (int i = 0; i < 3; ++i)
            raw.transaction({.business = biz, .category = cat, .amount = 1.25 * i});
        raw.exec(QStringLiteral("DELETE FROM Transactions WHERE TransactionId = 2")); // a gap
        if (!obstacle.isEmpty())
            raw.exec(obstacle);
        before = dump(raw);
    }
    const QByteArray bytes = bytesOf(path);

    const QString copy = path + QStringLiteral(".version0.bak");
    std::unique_ptr<Database> db;
    const long error = errorOf([&] { db = Database::OpenDatabase(path); });
    QCOMPARE(error == 0, upgrades);
    QCOMPARE(bytesOf(copy), bytes);

    RawDb raw(path);
    QCOMPARE(dump(raw), before);
    QCOMPARE(raw.value(QStringLiteral("PRAGMA user_version")),
             QVariant(upgrades ? SchemaVersions::Current : 0));
    if (!upgrades) {
        db.reset();
        QCOMPARE(raw.value(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = "
                                          "'trigger'")),
                 QVariant(0));
        return;
    }
    QCOMPARE(raw.count(QStringLiteral("History")), 0);
    // From now on the old rows' changes are recorded too, and undone.
    {
        Ledger ledger(*db);
        QVERIFY(ledger.deleteTransaction(3));
        History history(*db);
        history.undo(history.lastStepId());
        QCOMPARE(dump(raw), before);
    }
    // A second open changes nothing and copies nothing.
    db.reset();
    db = Database::OpenDatabase(path);
    QVERIFY(!QFile::exists(path + QStringLiteral(".version0.2.bak")));
}

void HistoryTest::newerVersionIsRefusedUntouched()
{
    TempDatabase file;
    {
        RawDb raw(file.path());
        raw.business(QStringLiteral("Bakery"));
        raw.exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersions::Current + 1));
    }
    const QMap<QString, QByteArray> before = contentsOf(file.folder());

    try {
        Database::OpenDatabase(file.path());
        QFAIL("a newer file was opened");
    } catch (const VbError& e) {
        QCOMPARE(e.number(), VbErr::UnrecognizedFormat);
        QVERIFY(e.description().contains(file.path()));
    }
    QCOMPARE(contentsOf(file.folder()), before);
}

QTEST_GUILESS_MAIN(HistoryTest)
#include "tst_history.moc"
