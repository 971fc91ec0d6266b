#include "data/Database.h"
#include "data/History.h"
#include "data/Ledger.h"
#include "platform/VbError.h"
#include "shell/StatementImport.h"
#include "statements/StatementReaders.h"
#include "support/TestDatabase.h"

#include <QtTest>

namespace {

using State = ImportLine::State;

QString states(const QList<ImportLine>& lines)
{
    QStringList s;
    for (const ImportLine& l : lines)
        s << QString::number(l.categoryId) + (l.state == State::New ? QStringLiteral("new")
                                              : l.state == State::AlreadyImported
                                                  ? QStringLiteral("imported")
                                                  : QStringLiteral("needs"));
    return s.join(QLatin1Char(' '));
}

} // namespace

// From statement to stored rows on a real file: proposals, picks, the rows
// and their sum, and lines never stored twice.
class tst_StatementImport : public QObject
{
    Q_OBJECT

private slots:
    void importOnceAcrossFiles()
    {
        TempDatabase file;
        RawDb raw(file.path());
        const qint64 bakery = raw.business(QStringLiteral("Bakery"));
        const qint64 sales = raw.category(QStringLiteral("Sales"), true);
        const qint64 fuel = raw.category(QStringLiteral("Fuel"), false);
        const qint64 office = raw.category(QStringLiteral("Office"), false);
        const qint64 fees = raw.category(QStringLiteral("Fees"), false);
        const qint64 till = raw.category(QStringLiteral("Till"), false, 0.0, 1); // cash only
        for (qint64 c : {sales, fuel, office, fees, till})
            raw.allocate(c, bakery);
        // Last used with Jansen on the bank sheet: Sales (the older Fees row
        // does not count); Bakker's category is on the cash sheet only and
        // Office World's is one the bank sheet does not allow.
        raw.transaction({bakery, fees, "2025-12-01", false, false, 1, "x", "Jansen"});
        raw.transaction({bakery, sales, "2026-01-10", false, true, 1, "x", "jansen"});
        raw.transaction({bakery, fuel, "2026-01-11", true, false, 1, "x", "Bakker & Zn"});
        raw.transaction({bakery, till, "2026-01-12", false, false, 1, "x", "Office World"});
        const qint64 before = raw.count(QStringLiteral("Transactions"));

        auto db = Database::OpenDatabase(file.path());
        const Statement march = StatementReaders::readFile(
            QFINDTESTDATA("../statements/samples/batch.camt053.xml"), CsvMapping());
        QList<ImportLine> lines = PlanImport(*db, bakery, false, march);
        QCOMPARE(states(lines), QString("0needs 0needs 0needs 0needs %1new").arg(sales));

        // A pick for a line without counterparty stays on it; a later pick
        // leaves the lines picked or proposed before alone.
        QCOMPARE(PickCategory(lines, 0, sales), 1);
        QCOMPARE(PickCategory(lines, 1, fuel), 1);
        QCOMPARE(PickCategory(lines, 2, office), 1);
        QCOMPARE(PickCategory(lines, 3, fees), 1);
        QCOMPARE(
            states(lines),
            QString("%1new %2new %3new %4new %1new").arg(sales).arg(fuel).arg(office).arg(fees));
        const ImportOutcome first = ApplyImport(*db, bakery, false, lines);
        QCOMPARE(first.imported, 5);
        QCOMPARE(raw.count(QStringLiteral("Transactions")), before + 5);
        // Credited minus debited of the imported rows is closing minus opening.
        QCOMPARE(raw.value("SELECT round(sum(CASE WHEN MoneyIn THEN TotalPrice ELSE -TotalPrice "
                           "END), 4) FROM Transactions WHERE TransactionDate >= '2026-03-01'")
                     .toDouble(),
                 416.55);
        QCOMPARE(raw.rows("SELECT TransactionDate, MoneyIn, TotalPrice, Relation, Description, "
                          "ReceiptId, Cash FROM Transactions WHERE Relation = 'Office World' AND "
                          "TransactionDate >= '2026-03-01'"),
                 (QList<QVariantList>{{"2026-03-05", qlonglong(0), 33.45, "Office World", "Paper",
                                       "", qlonglong(0)}}));

        // The import is one step: undone whole, its lines come in again;
        // redone, they are imported once more.
        History history(*db);
        const History::Step step = *history.step(history.lastStepId());
        QCOMPARE(step.caption, "import of 5 bank statement lines");
        const qint64 undo = history.undo(step.id).stepId;
        QCOMPARE(raw.count(QStringLiteral("Transactions")), before);
        QCOMPARE(states(PlanImport(*db, bakery, false, march)),
                 QString("0needs 0needs 0needs 0needs %1new").arg(sales));
        history.redo(undo);
        QCOMPARE(raw.count(QStringLiteral("Transactions")), before + 5);

        // The same file again adds nothing; a file that overlaps adds its new line.
        QCOMPARE(states(PlanImport(*db, bakery, false, march)),
                 "0imported 0imported 0imported 0imported 0imported");
        Statement april;
        april.lines = march.lines.mid(3);
        april.lines.append(march.lines.last());
        april.lines.last().reference = QStringLiteral("REF-0005");
        april.lines.append(april.lines.last()); // twice in one file
        lines = PlanImport(*db, bakery, false, april);
        QCOMPARE(states(lines), QString("0imported 0imported %1new 0imported").arg(sales));
        QCOMPARE(ApplyImport(*db, bakery, false, lines).imported, 1);
        QCOMPARE(raw.count(QStringLiteral("Transactions")), before + 6);

        // A deleted row's line can come in again.
        const qint64 reversal =
            raw.value("SELECT TransactionId FROM Transactions WHERE Description = "
                      "'Reversal of fee'")
                .toLongLong();
        QVERIFY(Ledger(*db).deleteTransaction(reversal));
        QCOMPARE(states(PlanImport(*db, bakery, false, march)),
                 "0imported 0imported 0imported 0needs 0imported");
    }

    void refusedOrCut()
    {
        TempDatabase file;
        RawDb raw(file.path());
        const qint64 bakery = raw.business(QStringLiteral("Bakery"));
        const qint64 fuel = raw.category(QStringLiteral("Fuel"), false);
        const qint64 till = raw.category(QStringLiteral("Till"), false, 0.0, 1);
        raw.allocate(fuel, bakery);
        raw.allocate(till, bakery);
        auto db = Database::OpenDatabase(file.path());
        Statement s;
        s.lines
            << StatementLine{QDate(2026, 3, 2),
                             Currency::fromRaw(-125000),
                             QString(60, QLatin1Char('N')),
                             QString(120, QLatin1Char('t')),
                             "R1",
                             "NL00",
                             7}
            << StatementLine{
                   QDate(2026, 3, 3), Currency::fromRaw(-10000), "Esso", "fuel", "R2", "NL00", 9};
        QList<ImportLine> lines = PlanImport(*db, bakery, false, s);
        PickCategory(lines, 0, fuel);
        // A category the bank sheet does not allow stores nothing at all.
        PickCategory(lines, 1, till);
        const qint64 before = raw.count(QStringLiteral("Transactions"));
        try {
            ApplyImport(*db, bakery, false, lines);
            QFAIL("stored a row under a cash-only category");
        } catch (const VbError& e) {
            QCOMPARE(e.number(), VbErr::InvalidCall);
        }
        QCOMPARE(raw.count(QStringLiteral("Transactions")), before);
        PickCategory(lines, 1, fuel);
        const ImportOutcome outcome = ApplyImport(*db, bakery, false, lines);
        QCOMPARE(outcome.notes, (QStringList{"line 7: the counterparty was cut to 50 characters",
                                             "line 7: the text was cut to 100 characters"}));
        QCOMPARE(raw.value("SELECT length(Relation) || '/' || length(Description) || '/' || "
                           "TotalPrice FROM Transactions WHERE TotalPrice > 10")
                     .toString(),
                 "50/100/12.5");
    }
};

QTEST_GUILESS_MAIN(tst_StatementImport)
#include "tst_statementimport.moc"
