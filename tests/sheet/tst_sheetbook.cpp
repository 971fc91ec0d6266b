// The stored amounts behind a sheet grid's totals: what a store, a side
// change, a store without an amount and a delete do to them, and that a sum
// out of range changes nothing.

#include "platform/VbError.h"
#include "sheet/SheetBook.h"

#include <QTest>

namespace {

// One step a line: "load <id> <amount|-> in|out", "store <id> <amount|-> in|out"
// or "forget <id>"; "-" is no amount.
void run(SheetBook& book, const QString& step)
{
    const QStringList w = step.split(u' ');
    const qint64 id = w[1].toLongLong();
    if (w[0] == "forget") {
        book.forget(id);
        return;
    }
    const std::optional<Currency> amount =
        w[2] == "-" ? std::nullopt : std::optional(Currency::fromString(w[2]));
    const bool moneyIn = w[3] == "in";
    if (w[0] == "load")
        book.load(id, amount, moneyIn);
    else
        book.store(id, amount, moneyIn);
}

} // namespace

class tst_SheetBook : public QObject
{
    Q_OBJECT

private slots:
    void totalsFollowEachStep_data();
    void totalsFollowEachStep();
    void overflowChangesNothing();
    void unstoredRowsAreForgottenWhenStoredOrDeleted();
};

void tst_SheetBook::totalsFollowEachStep_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("debited");
    QTest::addColumn<QString>("credited");
    const auto row = [](const char* name, const QStringList& steps, const char* debited,
                        const char* credited) {
        QTest::newRow(name) << steps << QString(debited) << QString(credited);
    };
    row("loaded", {"load 1 10 out", "load 2 25 in", "load 3 - out"}, "10", "25");
    row("new amount replaces the old", {"load 1 10 out", "store 1 12.5 out"}, "12.5", "0");
    row("side change moves the amount",
        {"load 1 10 out", "load 2 25 in", "store 1 10 in", "store 2 25 out"}, "25", "10");
    // Stored without an amount, the file keeps the one it had, now on the
    // side the row was stored as.
    row("no amount keeps the stored one", {"load 1 10 out", "store 1 - in"}, "0", "10");
    row("new row without an amount", {"store 7 - out", "store 7 3 out"}, "3", "0");
    row("deleted", {"load 1 10 out", "load 2 4 out", "forget 1"}, "4", "0");
    row("deleted after a side change",
        {"load 1 10 out", "store 1 10 in", "forget 1", "store 1 2 out"}, "2", "0");
    row("unknown row deleted", {"load 1 10 out", "forget 9"}, "10", "0");
    row("cents stay exact", {"load 1 0.1 in", "load 2 0.2 in", "store 1 0.3 in", "load 3 0.1 in"},
        "0", "0.6");
}

void tst_SheetBook::totalsFollowEachStep()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, debited);
    QFETCH(QString, credited);
    SheetBook book;
    for (const QString& step : std::as_const(steps))
        run(book, step);
    QCOMPARE(book.debited(), Currency::fromString(debited));
    QCOMPARE(book.credited(), Currency::fromString(credited));
    book.clear();
    QCOMPARE(book.debited(), Currency());
    QCOMPARE(book.credited(), Currency());
}

void tst_SheetBook::overflowChangesNothing()
{
    SheetBook book;
    const Currency big = Currency::fromRaw(std::numeric_limits<qint64>::max() - 5);
    book.load(1, big, true);
    book.load(2, Currency::fromString("1"), false);
    QVERIFY_THROWS_EXCEPTION(VbError, book.store(2, Currency::fromString("1"), true));
    QCOMPARE(book.credited(), big);
    QCOMPARE(book.debited(), Currency::fromString("1"));
    // The row is still known on its old side: deleting it takes it out there.
    book.forget(2);
    QCOMPARE(book.debited(), Currency());
    QCOMPARE(book.credited(), big);
}

void tst_SheetBook::unstoredRowsAreForgottenWhenStoredOrDeleted()
{
    SheetBook book;
    book.load(1, Currency::fromString("10"), false);
    for (qint64 row : {qint64(1), qint64(2), SheetBook::EntryRow})
        book.setUnstored(row, true);
    book.store(1, Currency::fromString("11"), false);
    QVERIFY(!book.unstored(1));
    book.forget(2);
    QVERIFY(!book.unstored(2));
    QVERIFY(book.anyUnstored());
    book.setUnstored(SheetBook::EntryRow, false);
    QVERIFY(!book.anyUnstored());
}

QTEST_MAIN(tst_SheetBook)
#include "tst_sheetbook.moc"
