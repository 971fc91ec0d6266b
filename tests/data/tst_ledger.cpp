// The typed records over a real database file: transactions stored and read
// back field by field, the text limits, refused writes, cascading deletes, the
// sheet's orders, allocations and the lists. (The categories each sheet offers
// and the report's query are checked through the windows that use them.)

#include "data/Database.h"
#include "data/Ledger.h"
#include "platform/VbError.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <functional>

namespace {

// A fresh file with two businesses, a cash category (money out) and a bank
// category (money in), the program's connection and a raw one beside it.
struct Books
{
    TempDatabase file;
    RawDb raw{file.path()};
    std::unique_ptr<Database> db = Database::OpenDatabase(file.path());
    Ledger ledger{*db};
    qint64 bakery = raw.business(QStringLiteral("Bakery"), QStringLiteral("NL01"));
    qint64 garage = raw.business(QStringLiteral("Garage"));
    qint64 flour = raw.category(QStringLiteral("Flour"), false, 9.0, 1);
    qint64 sales = raw.category(QStringLiteral("Sales"), true, 21.0, 2);

    QList<Ledger::Transaction> sheet(qint64 business, bool cash,
                                     Ledger::SheetOrder order = Ledger::SheetOrder::ReceiptId)
    {
        QList<Ledger::Transaction> rows;
        ledger.sheetRows(business, cash, Ledger::sortClause(order),
                         [&](const Ledger::Transaction& t) { rows.append(t); });
        return rows;
    }
    Ledger::Transaction complete(bool cash = true)
    {
        Ledger::Transaction t;
        t.date = QDate(2026, 3, 15);
        t.amount = Currency::fromRaw(123450); // 12.345
        t.moneyIn = !cash;
        t.cash = cash;
        t.categoryId = cash ? flour : sales;
        t.businessId = bakery;
        t.invoiceNr = QStringLiteral("INV-7");
        t.relation = QStringLiteral("Miller & Sons");
        t.description = QStringLiteral("Rye, 25 kg");
        t.receiptId = QStringLiteral("0042");
        return t;
    }
};

QString texts(const QList<Ledger::Transaction>& rows,
              const std::function<QString(const Ledger::Transaction&)>& field)
{
    QStringList out;
    for (const Ledger::Transaction& t : rows)
        out << field(t);
    return out.join(QLatin1Char('|'));
}

using Tx = Ledger::Transaction;
using Change = std::function<void(Tx&)>;
using Write = std::function<void(Books&)>;

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Write)
Q_DECLARE_METATYPE(Ledger::TransactionText)
Q_DECLARE_METATYPE(Ledger::SheetOrder)

class TestLedger : public QObject
{
    Q_OBJECT

private slots:
    // A transaction written and read back keeps every field; an update keeps
    // its id and reports the relation the row had.
    void transactionRoundTrip_data()
    {
        QTest::addColumn<bool>("cash");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QVariantList>(
            "stored"); // date, amount, MoneyIn, Cash as the file holds them
        QTest::newRow("cash, money out")
            << true << Change([](Tx&) {}) << QVariantList{"2026-03-15", 12.345, 0, 1};
        QTest::newRow("bank, money in")
            << false << Change([](Tx&) {}) << QVariantList{"2026-03-15", 12.345, 1, 0};
        QTest::newRow("no date, negative cents") << true << Change([](Tx& t) {
            t.date.reset();
            t.amount = Currency::fromRaw(-5);
        }) << QVariantList{QVariant(), -0.0005, 0, 1};
        QTest::newRow("large amount, leap day") << true << Change([](Tx& t) {
            t.date = QDate(2024, 2, 29);
            t.amount = Currency::fromRaw(Q_INT64_C(98765432101234));
        }) << QVariantList{"2024-02-29", 9876543210.1234, 0, 1};
        QTest::newRow("empty texts stay empty") << false << Change([](Tx& t) {
            t.invoiceNr.clear();
            t.relation.clear();
            t.description.clear();
            t.receiptId.clear();
        }) << QVariantList{"2026-03-15", 12.345, 1, 0};
    }

    void transactionRoundTrip()
    {
        QFETCH(bool, cash);
        QFETCH(Change, change);
        QFETCH(QVariantList, stored);
        Books b;
        Tx t = b.complete(cash);
        change(t);
        const Ledger::Stored first = b.ledger.storeTransaction(t);
        QVERIFY(first.id > 0);
        QCOMPARE(t.id, first.id);
        QVERIFY(!first.previousRelation);

        const auto raw = b.raw.rows(QStringLiteral(
            "SELECT TransactionDate, TotalPrice, MoneyIn, Cash, CategoryId, BusinessId, Invoicenr, "
            "Relation, Description, ReceiptId FROM Transactions"));
        QCOMPARE(raw.size(), 1);
        QCOMPARE(raw[0].mid(0, 4), stored);
        QCOMPARE(raw[0].mid(4), (QVariantList{t.categoryId, b.bakery, t.invoiceNr, t.relation,
                                              t.description, t.receiptId}));

        const QList<Tx> rows = b.sheet(b.bakery, cash);
        QCOMPARE(rows.size(), 1);
        const Tx& r = rows[0];
        QCOMPARE(r.id, t.id);
        QCOMPARE(r.date, t.date);
        QCOMPARE(r.amount, t.amount);
        QCOMPARE(r.moneyIn, t.moneyIn);
        QCOMPARE(r.cash, cash);
        QCOMPARE(r.categoryId, t.categoryId);
        QCOMPARE(r.category, cash ? QStringLiteral("Flour") : QStringLiteral("Sales"));
        QCOMPARE(r.businessId, b.bakery);
        QCOMPARE((QStringList{r.invoiceNr, r.relation, r.description, r.receiptId}),
                 (QStringList{t.invoiceNr, t.relation, t.description, t.receiptId}));
        QVERIFY(b.sheet(b.bakery, !cash).isEmpty());

        // The same row again, changed: no new row, and the old relation told.
        Tx edit = r;
        edit.relation = QStringLiteral("Baker's Guild");
        edit.amount.reset(); // leaves the stored amount
        const Ledger::Stored second = b.ledger.storeTransaction(edit);
        QCOMPARE(second.id, t.id);
        QCOMPARE(second.previousRelation, std::optional<QString>(t.relation));
        QCOMPARE(b.raw.count(QStringLiteral("Transactions")), 1);
        QCOMPARE(b.sheet(b.bakery, cash).at(0).relation, edit.relation);
        QCOMPARE(b.raw.value(QStringLiteral("SELECT TotalPrice FROM Transactions")), stored[1]);
    }

    // Null texts and a Null amount written by another program read as empty;
    // the remarks, which the sheet never shows, survive its store.
    void nullFieldsReadAsEmpty()
    {
        Books b;
        TxRow row;
        row.business = b.bakery;
        row.category = b.flour;
        const qint64 id = b.raw.transaction(row);
        b.raw.exec(QStringLiteral("UPDATE Transactions SET Invoicenr = NULL, Relation = NULL, "
                                  "Description = NULL, ReceiptId = NULL, TotalPrice = NULL, "
                                  "Remarks = 'keep me' WHERE TransactionId = ?1"),
                   {id});
        Tx t = b.sheet(b.bakery, true).at(0);
        QCOMPARE((QStringList{t.invoiceNr, t.relation, t.description, t.receiptId}),
                 (QStringList{"", "", "", ""}));
        QVERIFY(!t.amount);
        t.description = QStringLiteral("Yeast");
        b.ledger.storeTransaction(t);
        QCOMPARE(b.raw.value(QStringLiteral("SELECT Remarks FROM Transactions")).toString(),
                 QStringLiteral("keep me"));
        QVERIFY(b.raw.value(QStringLiteral("SELECT TotalPrice FROM Transactions")).isNull());
    }

    // A text longer than its field: without a cutter 3163 and nothing written;
    // with one, it is asked for exactly that field and its answer is stored.
    void textTooLong_data()
    {
        QTest::addColumn<Ledger::TransactionText>("field");
        QTest::addColumn<int>("limit");
        QTest::newRow("invoice number") << Ledger::TransactionText::InvoiceNr << 25;
        QTest::newRow("description") << Ledger::TransactionText::Description << 100;
        QTest::newRow("receipt id") << Ledger::TransactionText::ReceiptId << 25;
        QTest::newRow("relation") << Ledger::TransactionText::Relation << 50;
    }

    void textTooLong()
    {
        QFETCH(Ledger::TransactionText, field);
        QFETCH(int, limit);
        Books b;
        const auto text = [](Tx& t, Ledger::TransactionText f) -> QString& {
            switch (f) {
            case Ledger::TransactionText::InvoiceNr:
                return t.invoiceNr;
            case Ledger::TransactionText::Description:
                return t.description;
            case Ledger::TransactionText::ReceiptId:
                return t.receiptId;
            case Ledger::TransactionText::Relation:
                break;
            }
            return t.relation;
        };
        Tx t = b.complete();
        text(t, field) = QString(limit, QLatin1Char('x'));
        b.ledger.storeTransaction(t); // exactly the limit fits
        text(t, field) += QLatin1Char('y');
        QCOMPARE(errorOf([&] { b.ledger.storeTransaction(t); }), long(VbErr::FieldTooSmall));
        Tx kept = b.sheet(b.bakery, true).at(0);
        QCOMPARE(text(kept, field), QString(limit, QLatin1Char('x')));

        Tx fresh = b.complete();
        text(fresh, field) = QString(limit + 10, QLatin1Char('z'));
        QList<Ledger::TransactionText> asked;
        b.ledger.storeTransaction(fresh, [&](Ledger::TransactionText f, const QString& long_) {
            asked << f;
            return long_.left(3);
        });
        QCOMPARE(asked, QList<Ledger::TransactionText>{field});
        QCOMPARE(text(fresh, field), QStringLiteral("zzz"));
        const QList<Tx> rows = b.sheet(b.bakery, true);
        QCOMPARE(rows.size(), 2);
        Tx last = rows.last();
        QCOMPARE(text(last, field), QStringLiteral("zzz"));
    }

    // Every too-long text is asked for, in the order the sheet tells the user.
    void everyTooLongTextIsCutInOrder()
    {
        Books b;
        Tx t = b.complete();
        t.invoiceNr = t.receiptId = QString(30, QLatin1Char('1'));
        t.description = QString(120, QLatin1Char('d'));
        t.relation = QString(60, QLatin1Char('r'));
        QList<Ledger::TransactionText> asked;
        b.ledger.storeTransaction(t, [&](Ledger::TransactionText f, const QString& text) {
            asked << f;
            return text.left(5);
        });
        QCOMPARE(asked, (QList<Ledger::TransactionText>{Ledger::TransactionText::InvoiceNr,
                                                        Ledger::TransactionText::Description,
                                                        Ledger::TransactionText::ReceiptId,
                                                        Ledger::TransactionText::Relation}));
        QCOMPARE(b.raw.value(QStringLiteral("SELECT Relation || Description FROM Transactions")),
                 QVariant(QStringLiteral("rrrrrddddd")));
    }

    // Refused writes carry the numbers the windows branch on and write nothing.
    void refusedWrites_data()
    {
        QTest::addColumn<Write>("write");
        QTest::addColumn<long>("error");
        QTest::addColumn<QString>("table");
        QTest::newRow("transaction gone") << Write([](Books& b) {
            Tx t = b.complete();
            t.id = 999;
            b.ledger.storeTransaction(t);
        }) << long(VbErr::NoCurrentRecord) << "Transactions";
        QTest::newRow("business without a name") << Write([](Books& b) {
            Ledger::Business business;
            b.ledger.storeBusiness(business);
        }) << long(VbErr::ZeroLengthString) << "Businesses";
        QTest::newRow("category without a name") << Write([](Books& b) {
            Ledger::Category category;
            b.ledger.storeCategory(category);
        }) << long(VbErr::ZeroLengthString) << "Categories";
        QTest::newRow("category renamed to nothing") << Write([](Books& b) {
            Ledger::Category category = b.ledger.category(b.flour);
            category.name.clear();
            b.ledger.storeCategory(category);
        }) << long(VbErr::ZeroLengthString) << "Categories";
        QTest::newRow("business gone") << Write([](Books& b) {
            Ledger::Business business;
            business.id = 999;
            business.name = QStringLiteral("Ghost");
            b.ledger.storeBusiness(business);
        }) << long(VbErr::NoCurrentRecord)
                                       << "Businesses";
        QTest::newRow("reading a business that is gone")
            << Write([](Books& b) { b.ledger.business(999); }) << long(VbErr::NoCurrentRecord)
            << "Businesses";
        QTest::newRow("reading a category that is gone")
            << Write([](Books& b) { b.ledger.category(999); }) << long(VbErr::NoCurrentRecord)
            << "Categories";
    }

    void refusedWrites()
    {
        QFETCH(Write, write);
        QFETCH(long, error);
        QFETCH(QString, table);
        Books b;
        const auto before = b.raw.rows(QStringLiteral("SELECT * FROM ") + table);
        QCOMPARE(errorOf([&] { write(b); }), error);
        QCOMPARE(b.raw.rows(QStringLiteral("SELECT * FROM ") + table), before);
        // The failed write left nothing pending: the next one goes through.
        Tx t = b.complete();
        QVERIFY(b.ledger.storeTransaction(t).id > 0);
    }

    // Businesses and categories: stored, read back, Null fields kept Null.
    void businessesAndCategoriesRoundTrip()
    {
        Books b;
        Ledger::Business shop;
        shop.name = QStringLiteral("Corner shop");
        shop.accountNr = QStringLiteral("NL99BANK0123");
        const qint64 id = b.ledger.storeBusiness(shop);
        QCOMPARE(shop.id, id);
        const Ledger::Business read = b.ledger.business(id);
        QCOMPARE(read.name, shop.name);
        QVERIFY(!read.vatNr);
        QCOMPARE(read.accountNr, shop.accountNr);
        QVERIFY(
            b.raw.value(QStringLiteral("SELECT VATNr FROM Businesses WHERE BusinessId=?1"), {id})
                .isNull());

        Ledger::Category fuel;
        fuel.name = QStringLiteral("Fuel");
        fuel.moneyReceived = true;
        fuel.cashOrBank = Ledger::Category::BankOnly;
        b.ledger.storeCategory(fuel);
        fuel.vat = 6.5;
        b.ledger.storeCategory(fuel); // the same row again
        const Ledger::Category again = b.ledger.category(fuel.id);
        QCOMPARE((QVariantList{again.name, again.moneyReceived, *again.vat, again.cashOrBank}),
                 (QVariantList{"Fuel", true, 6.5, 2}));
        QCOMPARE(b.raw.count(QStringLiteral("Categories")), 3);

        b.raw.exec(QStringLiteral("UPDATE Categories SET CashOrBank = NULL, VAT = NULL"));
        const Ledger::Category nulls = b.ledger.category(fuel.id);
        QCOMPARE(nulls.cashOrBank, int(Ledger::Category::CashAndBank));
        QVERIFY(!nulls.vat);
    }

    // A deleted business or category takes its transactions and allocations;
    // nothing of the other records goes.
    void cascadeDeletes_data()
    {
        QTest::addColumn<bool>("business"); // delete a business, else a category
        QTest::newRow("business") << true;
        QTest::newRow("category") << false;
    }

    void cascadeDeletes()
    {
        QFETCH(bool, business);
        Books b;
        for (const qint64 owner : {b.bakery, b.garage})
            for (const qint64 category : {b.flour, b.sales}) {
                b.raw.allocate(category, owner);
                TxRow row;
                row.business = owner;
                row.category = category;
                b.raw.transaction(row);
            }
        const bool gone =
            business ? b.ledger.deleteBusiness(b.bakery) : b.ledger.deleteCategory(b.flour);
        QVERIFY(gone);
        const QString left = business ? QStringLiteral("BusinessId <> %1").arg(b.bakery)
                                      : QStringLiteral("CategoryId <> %1").arg(b.flour);
        QCOMPARE(b.raw.count(QStringLiteral("Transactions")), 2);
        QCOMPARE(b.raw.value(QStringLiteral("SELECT count(*) FROM Transactions WHERE ") + left)
                     .toLongLong(),
                 qint64(2));
        QCOMPARE(b.raw.count(QStringLiteral("relCat_Bis")), 2);
        QCOMPARE(
            b.raw.count(business ? QStringLiteral("Categories") : QStringLiteral("Businesses")), 2);
        // Deleting again finds nothing, and says so.
        QVERIFY(!(business ? b.ledger.deleteBusiness(b.bakery) : b.ledger.deleteCategory(b.flour)));
        QVERIFY(!b.ledger.deleteTransaction(12345));
    }

    // Each order of the sheet gives its rows in that order; a clause that is
    // not one of ours never reaches SQL.
    void sheetOrders_data()
    {
        QTest::addColumn<Ledger::SheetOrder>("order");
        QTest::addColumn<QString>("descriptions");
        QTest::newRow("description") << Ledger::SheetOrder::Description << "apple|Beans|cherry";
        QTest::newRow("category") << Ledger::SheetOrder::Category << "cherry|apple|Beans";
        QTest::newRow("date") << Ledger::SheetOrder::Date << "Beans|apple|cherry";
        QTest::newRow("receipt id") << Ledger::SheetOrder::ReceiptId << "cherry|Beans|apple";
        QTest::newRow("relation") << Ledger::SheetOrder::Relation << "Beans|cherry|apple";
    }

    void sheetOrders()
    {
        QFETCH(Ledger::SheetOrder, order);
        QFETCH(QString, descriptions);
        Books b;
        const qint64 ash = b.raw.category(QStringLiteral("Ash"), false);
        struct Row
        {
            const char* description;
            qint64 category;
            const char* date;
            const char* receipt;
            const char* relation;
        };
        const Row rows[] = {
            {"Beans", b.sales, "2025-12-31", "2", "abbey"},
            {"cherry", ash, "2026-10-01", "1", "Bakers"},
            {"apple", b.flour, "2026-02-01", "3", "carter"},
        };
        for (const Row& r : rows) {
            TxRow row;
            row.business = b.bakery;
            row.category = r.category;
            row.description = QString::fromLatin1(r.description);
            row.date = QString::fromLatin1(r.date);
            row.receiptId = QString::fromLatin1(r.receipt);
            row.relation = QString::fromLatin1(r.relation);
            b.raw.transaction(row);
        }
        QCOMPARE(texts(b.sheet(b.bakery, true, order), [](const Tx& t) { return t.description; }),
                 descriptions);
        QVERIFY(Ledger::isSortClause(Ledger::sortClause(order)));
        QCOMPARE(errorOf([&] {
                     b.ledger.sheetRows(b.bakery, true, QStringLiteral("; DROP TABLE Reports;"),
                                        [](const Tx&) {});
                 }),
                 long(VbErr::InvalidCall));
        QCOMPARE(b.raw.count(QStringLiteral("Reports")), 2);
    }

    // A business that does not exist is refused by the file's keys. (Ticking
    // and unticking are checked through the categories window's boxes.)
    void allocationOfNoBusinessIsRefused()
    {
        Books b;
        QVERIFY(errorOf([&] { b.ledger.setAllocated(b.flour, 999, true); }) != 0);
        QCOMPARE(b.raw.count(QStringLiteral("relCat_Bis")), 0);
    }

    // The lists the windows fill: names in store order, Null kept as nullopt.
    // (The relations the picker offers are checked through the sheet.)
    void lists()
    {
        Books b;
        b.raw.business(QStringLiteral("apiary"));
        QStringList names;
        for (const Ledger::Business& business : b.ledger.businesses())
            names << business.name + QLatin1Char('=') +
                         business.vatNr.value_or(QStringLiteral("-"));
        QCOMPARE(names.join(QLatin1Char('|')), QStringLiteral("apiary=-|Bakery=NL01|Garage=-"));

        const QList<Ledger::Category> categories = b.ledger.categories();
        QCOMPARE(categories.size(), 2);
        QCOMPARE(categories[1].name, QStringLiteral("Sales"));
        QVERIFY(categories[1].moneyReceived);
        QCOMPARE(categories[1].cashOrBank, int(Ledger::Category::BankOnly));
        QCOMPARE(b.ledger.categoryReceivesMoney(b.sales), std::optional<bool>(true));
        QCOMPARE(b.ledger.categoryReceivesMoney(b.flour), std::optional<bool>(false));
        QVERIFY(!b.ledger.categoryReceivesMoney(999));

        b.raw.report(7, QStringLiteral("Late.report"));
        QStringList reports;
        for (const Ledger::ReportEntry& r : b.ledger.reports())
            reports << QString::number(r.id) + QLatin1Char(':') + r.title;
        QCOMPARE(
            reports.join(QLatin1Char('|')),
            QStringLiteral("1:Transactions by category.report|2:VAT summary.report|7:Late.report"));
        QCOMPARE(b.ledger.report(2)->title, QStringLiteral("VAT summary.report"));
        QVERIFY(!b.ledger.report(3));
    }

    // A ledger made after the database was closed and opened again works on
    // the new file; one over the closed database fails with 3420, not a crash.
    void followsAReopenedDatabase()
    {
        Books b;
        b.db->Close();
        QCOMPARE(errorOf([&] { b.ledger.businesses(); }), long(VbErr::ObjectInvalid));
        b.db = Database::OpenDatabase(b.file.path());
        Ledger again(*b.db);
        QCOMPARE(again.businesses().size(), 2);
    }
};

QTEST_MAIN(TestLedger)
#include "tst_ledger.moc"
