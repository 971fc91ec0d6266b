// Every list and sheet query the program sends runs as written on a fixture
// database and returns the expected rows in the expected order.

#include "data/Database.h"
#include "data/Recordset.h"
#include "support/TestDatabase.h"

#include <QTest>

namespace {

// The sheet queries, exactly as the sheet builds them: the cash sheet also
// reads the invoice number.
QString sheetSql(bool cash, qint64 business, const QString& sortSql)
{
    return QStringLiteral("SELECT Transactions.TransactionId, Transactions.TransactionDate, ") +
           (cash ? "Transactions.Invoicenr, " : "") +
           "Transactions.relation, Transactions.MoneyIn, Transactions.CategoryId, "
           "Categories.Category, Transactions.Description, Transactions.ReceiptId, "
           "Transactions.Totalprice, Transactions.Cash, Transactions.BusinessId "
           "FROM Categories INNER JOIN Transactions ON Categories.CategoryId = "
           "Transactions.CategoryId Where (((Transactions.Cash) = " +
           (cash ? "True" : "false") +
           ") And ((Transactions.BusinessId) = " + QString::number(business) + ")) " + sortSql;
}

QString pickerSql(qint64 business, int sheet)
{
    return QStringLiteral("SELECT distinct Categories.CategoryId, Categories.Category, "
                          "Categories.MoneyReceived, Categories.VAT, relCat_Bis.Busid, "
                          "Categories.CashOrBank FROM relCat_Bis INNER JOIN Categories ON "
                          "relCat_Bis.CatId = Categories.CategoryId WHERE relCat_Bis.Busid=") +
           QString::number(business) + " AND (Categories.CashOrBank=" + QString::number(sheet) +
           " OR Categories.CashOrBank=3)ORDER BY Categories.Category;";
}

QString reportSql(const QString& criteria)
{
    return "SELECT Businesses.BusinessId, Businesses.Name, Businesses.VATNr, "
           "Transactions.TransactionId, Transactions.TransactionDate, Transactions.MoneyIn, "
           "Transactions.Description, Transactions.ReceiptId, Transactions.TotalPrice, "
           "Transactions.Cash, Transactions.Remarks, Transactions.Relation, "
           "Transactions.InvoiceNr, Categories.CategoryId, Categories.Category, "
           "Categories.MoneyReceived, Categories.VAT, ([VAT]/100)*[TotalPrice] AS VatAmount "
           "FROM Categories INNER JOIN (Businesses INNER JOIN Transactions ON "
           "Businesses.BusinessId = Transactions.BusinessId) ON Categories.CategoryId = "
           "Transactions.CategoryId " +
           criteria;
}

// The named fields of every row, joined by '|', as text.
QStringList column(Database& db, const QString& sql, const QString& fields)
{
    QStringList values;
    for (auto rs = db.OpenRecordset(sql, RecordsetType::ForwardOnly); !rs->EOF_(); rs->MoveNext()) {
        QStringList row;
        for (const QString& field : fields.split(u'|'))
            row << rs->field(field).toText();
        values << row.join(u'|');
    }
    return values;
}

} // namespace

class TestQueries : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_fixture;
    std::unique_ptr<Database> m_db;
    qint64 m_abbey = 0, m_zed = 0, m_fuel = 0;

private slots:
    void init()
    {
        m_fixture = std::make_unique<TempDatabase>();
        RawDb raw(m_fixture->path());
        m_zed = raw.business("Zed Bakery", "NL001");
        m_abbey = raw.business("abbey Garage");
        m_fuel = raw.category("Fuel", false, 21.0, 3);
        const qint64 fees = raw.category("Consulting fees", true, 21.0, 1);
        const qint64 bank = raw.category("Bank charges", false, QVariant(), 2);
        const qint64 cashOnly = raw.category("Petty cash", false, 0.0, 1);
        raw.category("Unallocated", false, 6.0, 3);
        for (qint64 c : {m_fuel, fees, bank, cashOnly})
            raw.allocate(c, m_abbey);
        raw.allocate(m_fuel, m_zed);

        raw.exec("INSERT INTO Transactions (BusinessId, CategoryId, TransactionDate, Cash, "
                 "MoneyIn, TotalPrice, Description, Relation, ReceiptId) VALUES "
                 "(?1, ?3, '2026-03-31', 1, 0, 60, 'diesel', 'Shell', '3'), "
                 "(?1, ?4, '2026-03-15', 1, 1, 100, 'Advice', 'abbot', '1'), "
                 "(?1, ?6, '2026-01-02', 1, 0, 4.5, 'coffee', 'Abbey', '2'), "
                 "(?1, ?5, '2026-02-20', 0, 0, 7.25, 'Monthly fee', 'abbey', '9'), "
                 "(?2, ?3, '2026-03-20', 1, 0, 30, 'Fuel run', 'Esso', '1')",
                 {m_abbey, m_zed, m_fuel, fees, bank, cashOnly});
        m_db = Database::OpenDatabase(m_fixture->path());
    }

    void cleanup()
    {
        m_db.reset();
        m_fixture.reset();
    }

    void categoryPicker_data()
    {
        QTest::addColumn<int>("sheet");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("cash sheet") << 1 << QStringList({"Consulting fees", "Fuel", "Petty cash"});
        QTest::newRow("bank sheet") << 2 << QStringList({"Bank charges", "Fuel"});
        QTest::newRow("no sheet") << 0 << QStringList({"Fuel"});
    }

    void categoryPicker()
    {
        QFETCH(int, sheet);
        QFETCH(QStringList, expected);
        QCOMPARE(column(*m_db, pickerSql(m_abbey, sheet), "Category"), expected);
        QCOMPARE(column(*m_db, pickerSql(m_zed, sheet), "Categoryid"),
                 QStringList({QString::number(m_fuel)}));
    }

    void sheetOrder_data()
    {
        QTest::addColumn<bool>("cash");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("descriptions");
        QTest::newRow("receipt id") << true << "Transactions.receiptid"
                                    << "Advice|coffee|diesel";
        QTest::newRow("description") << true << "Transactions.description"
                                     << "Advice|coffee|diesel";
        QTest::newRow("category name") << true << "Categories.category"
                                       << "Advice|diesel|coffee";
        QTest::newRow("date") << true << "Transactions.transactiondate"
                              << "coffee|Advice|diesel";
        QTest::newRow("relation") << true << "Transactions.relation"
                                  << "coffee|Advice|diesel";
        QTest::newRow("bank sheet") << false << "Transactions.receiptid"
                                    << "Monthly fee";
    }

    void sheetOrder()
    {
        QFETCH(bool, cash);
        QFETCH(QString, field);
        QFETCH(QString, descriptions);
        const QString sql = sheetSql(cash, m_abbey, "ORDER BY " + field + ';');
        QCOMPARE(column(*m_db, sql, "Description").join(u'|'), descriptions);
    }

    void lookupLists()
    {
        // Abbey and abbey are one relation.
        const QString relations = "SELECT distinct Transactions.Relation From Transactions "
                                  "ORDER BY Transactions.Relation;";
        QCOMPARE(column(*m_db, relations, "Relation").join(u'|').toLower(),
                 "abbey|abbot|esso|shell");

        const QString businesses = "SELECT Businesses.BusinessId, Businesses.Name, "
                                   "Businesses.VATNr From Businesses ORDER BY Businesses.Name;";
        // The sheet's business list is the same query without the VAT number.
        QCOMPARE(column(*m_db, QString(businesses).remove(", Businesses.VATNr"), "Name"),
                 QStringList({"abbey Garage", "Zed Bakery"}));
        QCOMPARE(column(*m_db, businesses, "VATNr"), QStringList({"", "NL001"}));

        const QString categories = "SELECT Categories.CategoryId, Categories.Category, "
                                   "Categories.vat, Categories.MoneyReceived From Categories "
                                   "ORDER BY Categories.Category;";
        QCOMPARE(column(*m_db, categories, "Category|vat|moneyreceived"),
                 QStringList({"Bank charges||False", "Consulting fees|21|True", "Fuel|21|False",
                              "Petty cash|0|False", "Unallocated|6|False"}));

        QStringList busids = column(*m_db,
                                    "SELECT relCat_Bis.CatId, relCat_Bis.Busid From relCat_Bis "
                                    "WHERE (((relCat_Bis.CatId)=" +
                                        QString::number(m_fuel) + "));",
                                    "Busid");
        busids.sort(); // the query has no order; Zed was stored first
        QCOMPARE(busids, QStringList({QString::number(m_zed), QString::number(m_abbey)}));
    }

    void reportCriteria_data()
    {
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<QString>("descriptions");
        QTest::newRow("start and end")
            << "WHERE (((Businesses.BusinessId)=%1) AND ((Transactions.TransactionDate)>="
               "#2026-03-15# And (Transactions.TransactionDate)<=#2026-03-31#));"
            << "Advice|diesel";
        QTest::newRow("start only") << "WHERE (((Businesses.BusinessId)=%1) AND "
                                       "((Transactions.TransactionDate)>=#2026-02-20#));"
                                    << "Monthly fee|Advice|diesel";
        QTest::newRow("end only")
            << "WHERE Businesses.BusinessId=%1 AND Transactions.TransactionDate <=#2026-03-15#;"
            << "coffee|Monthly fee|Advice";
        QTest::newRow("business only") << "WHERE Businesses.BusinessId=%1;"
                                       << "coffee|Monthly fee|Advice|diesel";
        QTest::newRow("neither") << ";"
                                 << "coffee|Monthly fee|Advice|Fuel run|diesel";
    }

    void reportCriteria()
    {
        QFETCH(QString, criteria);
        QFETCH(QString, descriptions);
        if (criteria.contains(QLatin1String("%1")))
            criteria = criteria.arg(m_abbey);
        // The report rows reach the report through the stored query.
        m_db->CreateQueryDef("crys_Default", reportSql(criteria));
        QStringList got;
        for (auto rs = m_db->OpenRecordset("SELECT * FROM crys_Default ORDER BY TransactionDate");
             !rs->EOF_(); rs->MoveNext()) {
            got << rs->field("Description").toString();
            if (got.last() == u"diesel")
                QCOMPARE(rs->field("VatAmount").toDouble(), 12.6);
        }
        QCOMPARE(got.join(u'|'), descriptions);
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
        const QString sql =
            "SELECT TransactionId FROM Transactions WHERE TransactionDate " + condition;
        QCOMPARE(column(*m_db, sql, "TransactionId").size(), rows);
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
