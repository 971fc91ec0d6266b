// Every list and sheet query the program sends runs as written on a fixture
// database and returns the expected rows in the expected order.

#include "data/Database.h"
#include "data/Recordset.h"
#include "support/TestDatabase.h"

#include <QTest>

namespace {

// The sheet queries, exactly as the sheet builds them.
QString cashSheetSql(qint64 business, const QString& sortSql)
{
    return QStringLiteral(
               "SELECT Transactions.TransactionId, Transactions.TransactionDate, Transactions.Invoicenr, "
               "Transactions.relation, Transactions.MoneyIn, Transactions.CategoryId, Categories.Category, "
               "Transactions.Description, Transactions.ReceiptId, Transactions.Totalprice, Transactions.Cash, "
               "Transactions.BusinessId ") +
           QStringLiteral("FROM Categories INNER JOIN Transactions ON Categories.CategoryId = "
                          "Transactions.CategoryId ") +
           QStringLiteral("Where (((Transactions.Cash) = True) And ((Transactions.BusinessId) = ") +
           QString::number(business) + QStringLiteral(")) ") + sortSql;
}

QString bankSheetSql(qint64 business, const QString& sortSql)
{
    return QStringLiteral(
               "SELECT Transactions.TransactionId, Transactions.TransactionDate, Transactions.relation, "
               "Transactions.MoneyIn, Transactions.CategoryId, Categories.Category, "
               "Transactions.Description, Transactions.ReceiptId, Transactions.Totalprice, "
               "Transactions.Cash, Transactions.BusinessId ") +
           QStringLiteral("FROM Categories INNER JOIN Transactions ON Categories.CategoryId = "
                          "Transactions.CategoryId ") +
           QStringLiteral("Where (((Transactions.Cash) = false) And ((Transactions.BusinessId) = ") +
           QString::number(business) + QStringLiteral(")) ") + sortSql;
}

QString pickerSql(qint64 business, int sheet)
{
    return QStringLiteral("SELECT distinct Categories.CategoryId, Categories.Category, "
                          "Categories.MoneyReceived, Categories.VAT, relCat_Bis.Busid, "
                          "Categories.CashOrBank ") +
           QStringLiteral("FROM relCat_Bis INNER JOIN Categories ON relCat_Bis.CatId = "
                          "Categories.CategoryId ") +
           QStringLiteral("WHERE relCat_Bis.Busid=") + QString::number(business) +
           QStringLiteral(" AND (Categories.CashOrBank=") + QString::number(sheet) +
           QStringLiteral(" OR Categories.CashOrBank=3)") + QStringLiteral("ORDER BY Categories.Category;");
}

QString reportSql(const QString& criteria)
{
    return QStringLiteral(
               "SELECT Businesses.BusinessId, Businesses.Name, Businesses.VATNr, Transactions.TransactionId, "
               "Transactions.TransactionDate, Transactions.MoneyIn, Transactions.Description, "
               "Transactions.ReceiptId, Transactions.TotalPrice, Transactions.Cash, Transactions.Remarks, "
               "Transactions.Relation, Transactions.InvoiceNr, Categories.CategoryId, Categories.Category, "
               "Categories.MoneyReceived, Categories.VAT, ([VAT]/100)*[TotalPrice] AS VatAmount ") +
           QStringLiteral("FROM Categories INNER JOIN (Businesses INNER JOIN Transactions ON "
                          "Businesses.BusinessId = Transactions.BusinessId) ON Categories.CategoryId = "
                          "Transactions.CategoryId ") +
           criteria;
}

// One column of every row, as text.
QStringList column(Database& db, const QString& sql, const QString& field)
{
    QStringList values;
    for (auto rs = db.OpenRecordset(sql, RecordsetType::ForwardOnly); !rs->EOF_(); rs->MoveNext())
        values << rs->field(field).toText();
    return values;
}

} // namespace

class TestQueries : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempDatabase> m_fixture;
    std::unique_ptr<Database> m_db;
    qint64 m_abbey = 0, m_zed = 0, m_fuel = 0, m_fees = 0, m_bank = 0, m_cashOnly = 0, m_loose = 0;

private slots:
    void init();
    void cleanup() { m_db.reset(); m_fixture.reset(); }
    void categoryPicker_data();
    void categoryPicker();
    void sheetOrder_data();
    void sheetOrder();
    void sheetSplitsCashAndBank();
    void relationListIsDistinctWithoutCase();
    void lookupLists();
    void reportCriteria_data();
    void reportCriteria();
    void dateLiterals_data();
    void dateLiterals();
    void lastAggregate();
};

void TestQueries::init()
{
    m_fixture = std::make_unique<TempDatabase>();
    RawDb raw(m_fixture->path());
    m_zed = raw.business(QStringLiteral("Zed Bakery"), QStringLiteral("NL001"));
    m_abbey = raw.business(QStringLiteral("abbey Garage"));
    m_fuel = raw.category(QStringLiteral("Fuel"), false, 21.0, 3);
    m_fees = raw.category(QStringLiteral("Consulting fees"), true, 21.0, 1);
    m_bank = raw.category(QStringLiteral("Bank charges"), false, QVariant(), 2);
    m_cashOnly = raw.category(QStringLiteral("Petty cash"), false, 0.0, 1);
    m_loose = raw.category(QStringLiteral("Unallocated"), false, 6.0, 3);
    for (qint64 c : {m_fuel, m_fees, m_bank, m_cashOnly})
        raw.allocate(c, m_abbey);
    raw.allocate(m_fuel, m_zed);

    auto tx = [&](const char* date, qint64 category, const char* description, const char* receipt,
                  const char* relation, bool cash, bool moneyIn, double amount) {
        raw.transaction({.business = m_abbey, .category = category, .date = QString::fromLatin1(date),
                         .cash = cash, .moneyIn = moneyIn, .amount = amount,
                         .description = QString::fromLatin1(description),
                         .relation = QString::fromLatin1(relation),
                         .receiptId = QString::fromLatin1(receipt),
                         .invoiceNr = moneyIn ? QStringLiteral("INV-1") : QStringLiteral("n/a")});
    };
    tx("2026-03-31", m_fuel, "diesel", "3", "Shell", true, false, 60.00);
    tx("2026-03-15", m_fees, "Advice", "1", "abbot", true, true, 100.00);
    tx("2026-01-02", m_cashOnly, "coffee", "2", "Abbey", true, false, 4.50);
    tx("2026-02-20", m_bank, "Monthly fee", "9", "abbey", false, false, 7.25);
    raw.transaction({.business = m_zed, .category = m_fuel, .date = QStringLiteral("2026-03-20"),
                     .amount = 30.0, .relation = QStringLiteral("Esso")});
    m_db = Database::OpenDatabase(m_fixture->path());
}

void TestQueries::categoryPicker_data()
{
    QTest::addColumn<int>("sheet");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("cash sheet") << 1
                                << QStringList({QStringLiteral("Consulting fees"), QStringLiteral("Fuel"),
                                                QStringLiteral("Petty cash")});
    QTest::newRow("bank sheet") << 2 << QStringList({QStringLiteral("Bank charges"), QStringLiteral("Fuel")});
    QTest::newRow("no sheet") << 0 << QStringList({QStringLiteral("Fuel")});
}

void TestQueries::categoryPicker()
{
    QFETCH(int, sheet);
    QFETCH(QStringList, expected);
    QCOMPARE(column(*m_db, pickerSql(m_abbey, sheet), QStringLiteral("Category")), expected);
    QCOMPARE(column(*m_db, pickerSql(m_zed, sheet), QStringLiteral("Categoryid")),
             QStringList({QString::number(m_fuel)}));
    QCOMPARE(column(*m_db, pickerSql(9999, sheet), QStringLiteral("Category")), QStringList());
}

void TestQueries::sheetOrder_data()
{
    QTest::addColumn<QString>("sortSql");
    QTest::addColumn<QStringList>("descriptions");
    QTest::newRow("receipt id") << "ORDER BY Transactions.receiptid;"
                                << QStringList({"Advice", "coffee", "diesel"});
    QTest::newRow("description") << "ORDER BY Transactions.description;"
                                 << QStringList({"Advice", "coffee", "diesel"});
    QTest::newRow("category name") << "ORDER BY Categories.category;"
                                   << QStringList({"Advice", "diesel", "coffee"});
    QTest::newRow("date") << "ORDER BY Transactions.transactiondate;"
                          << QStringList({"coffee", "Advice", "diesel"});
    QTest::newRow("relation") << "ORDER BY Transactions.relation;"
                              << QStringList({"coffee", "Advice", "diesel"});
}

void TestQueries::sheetOrder()
{
    QFETCH(QString, sortSql);
    QFETCH(QStringList, descriptions);
    QCOMPARE(column(*m_db, cashSheetSql(m_abbey, sortSql), QStringLiteral("Description")), descriptions);
}

void TestQueries::sheetSplitsCashAndBank()
{
    const QString order = QStringLiteral("ORDER BY Transactions.receiptid;");
    auto cash = m_db->OpenRecordset(cashSheetSql(m_abbey, order), RecordsetType::ForwardOnly);
    QCOMPARE(cash->field(QStringLiteral("Invoicenr")).toString(), QStringLiteral("INV-1"));
    QCOMPARE(cash->field(QStringLiteral("TransactionDate")).toDate(), QDate(2026, 3, 15).startOfDay());

    QCOMPARE(column(*m_db, bankSheetSql(m_abbey, order), QStringLiteral("Description")),
             QStringList({QStringLiteral("Monthly fee")}));
}

void TestQueries::relationListIsDistinctWithoutCase()
{
    const QString sql = QStringLiteral("SELECT distinct Transactions.Relation ") +
                        QStringLiteral("From Transactions ") +
                        QStringLiteral("ORDER BY Transactions.Relation;");
    const QStringList relations = column(*m_db, sql, QStringLiteral("Relation"));
    QCOMPARE(relations.size(), 4); // Abbey/abbey is one relation
    QCOMPARE(relations.mid(1), QStringList({QStringLiteral("abbot"), QStringLiteral("Esso"),
                                             QStringLiteral("Shell")}));
    QCOMPARE(relations.first().toLower(), QStringLiteral("abbey"));
}

void TestQueries::lookupLists()
{
    const QString businesses = QStringLiteral("SELECT Businesses.BusinessId, Businesses.Name, Businesses.VATNr ") +
                               QStringLiteral("From Businesses ") + QStringLiteral("ORDER BY Businesses.Name;");
    // The sheet's business list is the same query without the VAT number.
    QCOMPARE(column(*m_db, QString(businesses).remove(QStringLiteral(", Businesses.VATNr")), QStringLiteral("Name")),
             QStringList({"abbey Garage", "Zed Bakery"}));
    QCOMPARE(column(*m_db, businesses, QStringLiteral("VATNr")), QStringList({QString(), QStringLiteral("NL001")}));

    const QString categories =
        QStringLiteral("SELECT Categories.CategoryId, Categories.Category, Categories.vat, Categories.MoneyReceived ") +
        QStringLiteral("From Categories ") + QStringLiteral("ORDER BY Categories.Category;");
    QCOMPARE(column(*m_db, categories, QStringLiteral("Category")),
             QStringList({"Bank charges", "Consulting fees", "Fuel", "Petty cash", "Unallocated"}));
    QCOMPARE(column(*m_db, categories, QStringLiteral("vat")), QStringList({"", "21", "21", "0", "6"}));
    QCOMPARE(column(*m_db, categories, QStringLiteral("moneyreceived")),
             QStringList({"False", "True", "False", "False", "False"}));

    const QString allocation = QStringLiteral("SELECT relCat_Bis.CatId, relCat_Bis.Busid ") +
                               QStringLiteral("From relCat_Bis ") +
                               QStringLiteral("WHERE (((relCat_Bis.CatId)=") + QString::number(m_fuel) +
                               QStringLiteral("));");
    QStringList busids = column(*m_db, allocation, QStringLiteral("Busid"));
    busids.sort();
    QStringList expected = {QString::number(m_abbey), QString::number(m_zed)};
    expected.sort();
    QCOMPARE(busids, expected);
}

void TestQueries::reportCriteria_data()
{
    QTest::addColumn<QString>("criteria");
    QTest::addColumn<QStringList>("descriptions");
    const QString id = QStringLiteral("%1");
    QTest::newRow("start and end")
        << "WHERE (((Businesses.BusinessId)=%1) AND ((Transactions.TransactionDate)>=#2026-03-15# And "
           "(Transactions.TransactionDate)<=#2026-03-31#));"
        << QStringList({"Advice", "diesel"});
    QTest::newRow("start only") << "WHERE (((Businesses.BusinessId)=%1) AND ((Transactions.TransactionDate)>=#2026-02-20#));"
                                << QStringList({"Monthly fee", "Advice", "diesel"});
    QTest::newRow("end only") << "WHERE Businesses.BusinessId=%1 AND Transactions.TransactionDate <=#2026-03-15#;"
                              << QStringList({"coffee", "Monthly fee", "Advice"});
    QTest::newRow("business only") << "WHERE Businesses.BusinessId=%1;"
                                   << QStringList({"coffee", "Monthly fee", "Advice", "diesel"});
    QTest::newRow("neither") << ";" << QStringList({"coffee", "Monthly fee", "Advice", "Fuel run", "diesel"});
}

void TestQueries::reportCriteria()
{
    QFETCH(QString, criteria);
    QFETCH(QStringList, descriptions);
    RawDb(m_fixture->path()).exec(QStringLiteral("UPDATE Transactions SET Description = 'Fuel run' WHERE BusinessId = ?1"), {m_zed});
    if (criteria.contains(QLatin1String("%1")))
        criteria = criteria.arg(m_abbey);
    const QString sql = reportSql(criteria);
    // The report rows reach the report through the stored query.
    m_db->CreateQueryDef(QStringLiteral("crys_Default"), sql);
    QStringList got;
    double vat = 0;
    for (auto rs = m_db->OpenRecordset(QStringLiteral("SELECT * FROM crys_Default ORDER BY TransactionDate"));
         !rs->EOF_(); rs->MoveNext()) {
        got << rs->field(QStringLiteral("Description")).toString();
        if (rs->field(QStringLiteral("Description")).toString() == QLatin1String("diesel"))
            vat = rs->field(QStringLiteral("VatAmount")).toDouble();
    }
    QCOMPARE(got, descriptions);
    if (descriptions.contains(QStringLiteral("diesel")))
        QCOMPARE(vat, 12.6);
}

void TestQueries::dateLiterals_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("rows");
    QTest::newRow("range includes its last day") << ">=#15/03/2026# AND TransactionDate <=#31/03/2026#" << 3;
    QTest::newRow("iso") << "=#2026-03-31#" << 1;
    QTest::newRow("year 2030 stays 2030") << ">=#01/01/2030#" << 0;
}

void TestQueries::dateLiterals()
{
    QFETCH(QString, condition);
    QFETCH(int, rows);
    const QString sql = QStringLiteral("SELECT TransactionId FROM Transactions WHERE TransactionDate ") + condition;
    QCOMPARE(column(*m_db, sql, QStringLiteral("TransactionId")).size(), rows);
}

void TestQueries::lastAggregate()
{
    const QString sql = QStringLiteral("SELECT Categories.Category, Last(Transactions.Relation) AS LastRelation, "
                                       "Sum(Transactions.TotalPrice) AS Total FROM Categories INNER JOIN "
                                       "Transactions ON Categories.CategoryId = Transactions.CategoryId "
                                       "WHERE Categories.Category = 'Fuel' GROUP BY Categories.Category;");
    auto rs = m_db->OpenRecordset(sql);
    QVERIFY(!rs->EOF_());
    QVERIFY(QStringList({QStringLiteral("Shell"), QStringLiteral("Esso")})
                .contains(rs->field(QStringLiteral("LastRelation")).toString()));
    QCOMPARE(rs->field(QStringLiteral("Total")).toDouble(), 90.0);
}

QTEST_GUILESS_MAIN(TestQueries)
#include "tst_queries.moc"
