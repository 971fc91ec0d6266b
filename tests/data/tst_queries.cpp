// The query dialect the store accepts, run on a real file: date literals in
// the shown and the ISO form, and Last() over a group. The program's own list,
// sheet and report queries are checked through the ledger that sends them.

#include "data/Database.h"
#include "data/Recordset.h"
#include "support/TestDatabase.h"

#include <QTest>

class TestQueries : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_fixture;
    std::unique_ptr<Database> m_db;

private slots:
    void init()
    {
        m_fixture = std::make_unique<TempDatabase>();
        RawDb raw(m_fixture->path());
        const qint64 garage = raw.business("abbey Garage");
        const qint64 fuel = raw.category("Fuel", false);
        const qint64 fees = raw.category("Consulting fees", true);
        for (const auto& [category, date, amount, relation] :
             {std::tuple{fuel, "2026-03-31", 60.0, "Shell"},
              {fees, "2026-03-15", 100.0, "abbot"},
              {fees, "2026-01-02", 4.5, "Abbey"},
              {fees, "2026-02-20", 7.25, "abbey"},
              {fuel, "2026-03-20", 30.0, "Esso"}})
            raw.transaction({.business = garage,
                             .category = category,
                             .date = date,
                             .amount = amount,
                             .relation = relation});
        m_db = Database::OpenDatabase(m_fixture->path());
    }

    void cleanup()
    {
        m_db.reset();
        m_fixture.reset();
    }

    void dateLiterals_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("rows");
        QTest::newRow("range includes its last day")
            << ">=#15/03/2026# AND TransactionDate <=#31/03/2026#" << 3;
        QTest::newRow("iso") << "=#2026-03-31#" << 1;
        QTest::newRow("year 2030 stays 2030") << ">=#01/01/2030#" << 0;
    }

    void dateLiterals()
    {
        QFETCH(QString, condition);
        QFETCH(int, rows);
        int found = 0;
        for (auto rs = m_db->OpenRecordset(
                 "SELECT TransactionId FROM Transactions WHERE TransactionDate " + condition,
                 RecordsetType::ForwardOnly);
             !rs->EOF_(); rs->MoveNext())
            ++found;
        QCOMPARE(found, rows);
    }

    void lastAggregate()
    {
        auto rs = m_db->OpenRecordset(QStringLiteral(
            "SELECT Categories.Category, Last(Transactions.Relation) AS LastRelation, "
            "Sum(Transactions.TotalPrice) AS Total FROM Categories INNER JOIN Transactions ON "
            "Categories.CategoryId = Transactions.CategoryId WHERE Categories.Category = 'Fuel' "
            "GROUP BY Categories.Category;"));
        QVERIFY(QStringList({"Shell", "Esso"}).contains(rs->field("LastRelation").toString()));
        QCOMPARE(rs->field("Total").toDouble(), 90.0);
    }
};

QTEST_GUILESS_MAIN(TestQueries)
#include "tst_queries.moc"
