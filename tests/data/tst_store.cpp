// The store: opening files, table and forward-only recordsets, stored queries,
// compacting, and the error numbers each failure carries.

#include "data/Database.h"
#include "data/Recordset.h"
#include "platform/VbError.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>

namespace {

// A table recordset on the primary key, positioned on `id`.
std::unique_ptr<Recordset> seek(Database& db, const QString& table, qint64 id)
{
    auto rs = db.OpenRecordset(table);
    rs->setIndex("PrimaryKey");
    rs->Seek("=", id);
    return rs;
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void openingUnusableFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<long>("error");
        QTest::newRow("text file") << "text" << long(VbErr::CannotUseFile);
        QTest::newRow("zero bytes") << "empty" << long(VbErr::CannotUseFile);
        QTest::newRow("directory") << "directory" << long(VbErr::CannotUseFile);
        QTest::newRow("read-only database") << "read-only" << long(VbErr::CannotUseFile);
        QTest::newRow("missing, and not created") << "missing" << long(VbErr::DbFileNotFound);
    }

    void openingUnusableFiles()
    {
        QFETCH(QString, kind);
        QFETCH(long, error);
        TempDatabase fixture;
        QString path = fixture.filePath("other.mdb");
        if (kind == u"directory") {
            QVERIFY(QDir().mkdir(path));
        } else if (kind == u"read-only") {
            path = fixture.path();
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        } else if (kind != u"missing") {
            QVERIFY(writeBytes(path, kind == u"text" ? "Name,VAT\nFuel,21\n" : ""));
        }
        const QByteArray before = bytesOf(path);
        const bool existed = QFileInfo::exists(path);

        QCOMPARE(errorOf([&] { Database::OpenDatabase(path); }), error);
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(QFileInfo::exists(path), existed);
    }

    void secondCopyIsRefusedUntilTheFirstCloses()
    {
        TempDatabase fixture;
        auto first = Database::OpenDatabase(fixture.path());
        auto table = first->OpenRecordset("Categories");
        auto list = first->OpenRecordset("SELECT * FROM Businesses");
        QCOMPARE(errorOf([&] { Database::OpenDatabase(fixture.path()); }), VbErr::CannotUseFile);
        first->Close();
        // Recordsets of a closed database are invalid, not dangling.
        QCOMPARE(errorOf([&] { table->AddNew(); }), VbErr::ObjectInvalid);
        QCOMPARE(errorOf([&] { list->MoveFirst(); }), VbErr::ObjectInvalid);
        QVERIFY(Database::OpenDatabase(fixture.path())->isOpen());
    }

    void tableRecordsetSeekEditAddDelete()
    {
        TempDatabase fixture;
        RawDb raw(fixture.path());
        const qint64 shop = raw.business("Shop");
        const qint64 fuel = raw.category("Fuel", false);
        auto db = Database::OpenDatabase(fixture.path());
        auto rs = db->OpenRecordset("Transactions");
        rs->setIndex("PrimaryKey");

        // Texts as the sheet passes them, field names in any case; the id
        // exists from Update on, and LastModified positions on the row.
        rs->AddNew();
        rs->setField("Transactiondate", "05/Dec/2026");
        rs->setField("Cash", true);
        rs->setField("Categoryid", QString::number(fuel));
        rs->setField("TotalPrice", "1,234.50");
        rs->setField("Businessid", shop);
        rs->Update();
        rs->setBookmark(rs->LastModified());
        const qint64 id = rs->field("Transactionid").toLong();
        QCOMPARE(raw.rows(QStringLiteral("SELECT TransactionDate, Cash, CategoryId, TotalPrice, "
                                         "BusinessId FROM Transactions")),
                 QList<QVariantList>({{"2026-12-05", 1, fuel, 1234.5, shop}}));

        rs->Seek("=", id);
        rs->Edit();
        rs->setField("Description", "Diesel");
        rs->Update();
        QCOMPARE(raw.value("SELECT Description FROM Transactions"), QVariant("Diesel"));

        // Ids are never reused after a delete.
        rs->Delete();
        QCOMPARE(raw.count("Transactions"), 0);
        rs->AddNew();
        rs->setField("Businessid", shop);
        rs->Update();
        rs->setBookmark(rs->LastModified());
        QVERIFY(rs->field("TransactionId").toLong() > id);
    }

    void refusedWritesMissingDuplicateAndDeletedRows()
    {
        TempDatabase fixture;
        RawDb raw(fixture.path());
        const qint64 cat = raw.category("Fuel", false);
        const qint64 shop = raw.business("Shop");
        raw.allocate(cat, shop);
        auto db = Database::OpenDatabase(fixture.path());
        const QByteArray before = bytesOf(fixture.path());

        // Refused writes leave the file as it was, by recordset or by SQL.
        auto added = db->OpenRecordset("Businesses");
        added->AddNew();
        added->setField("Name", Variant::null());
        QCOMPARE(errorOf([&] { added->Update(); }), VbErr::NullInRequired);
        added->setField("Name", "");
        QCOMPARE(errorOf([&] { added->Update(); }), VbErr::ZeroLengthString);
        QCOMPARE(errorOf([&] { db->Execute("UPDATE Businesses SET Name = ''"); }),
                 VbErr::ZeroLengthString);
        QCOMPARE(bytesOf(fixture.path()), before);

        auto missing = seek(*db, "Categories", cat + 100);
        QVERIFY(missing->NoMatch());
        QCOMPARE(errorOf([&] { missing->field("Category"); }), VbErr::NoCurrentRecord);
        QCOMPARE(errorOf([&] { missing->Delete(); }), VbErr::NoCurrentRecord);

        // A two-field index takes two keys, and refuses a second equal pair.
        auto rel = db->OpenRecordset("relCat_Bis");
        rel->setIndex("Primarykey");
        rel->Seek("=", cat, shop);
        QVERIFY(!rel->NoMatch());
        rel->Seek("=", shop + 7, cat);
        QVERIFY(rel->NoMatch());
        rel->AddNew();
        rel->setField("catid", cat);
        rel->setField("Busid", shop);
        QCOMPARE(errorOf([&] { rel->Update(); }), VbErr::DuplicateKey);
        QCOMPARE(raw.count("relCat_Bis"), 1);

        // Rows are read live: one deleted behind a recordset's back is gone.
        auto business = seek(*db, "Businesses", shop);
        db->Execute("DELETE FROM Businesses");
        QCOMPARE(errorOf([&] { business->field("Name"); }), VbErr::RecordDeleted);

        // A forward-only recordset reads, once, and never writes.
        auto list = db->OpenRecordset("SELECT Categories.Category FROM Categories;",
                                      RecordsetType::ForwardOnly);
        QCOMPARE(list->field("categories.category").toString(), "Fuel");
        QCOMPARE(errorOf([&] { list->Edit(); }), VbErr::ReadOnly);
        list->MoveNext();
        QCOMPARE(errorOf([&] { list->MoveNext(); }), VbErr::NoCurrentRecord);
        QCOMPARE(errorOf([&] { db->OpenRecordset("SELECT * FROM Missing"); }),
                 VbErr::TableNotFound);
    }

    void assignmentChecksLengthAndType_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<Variant>("value");
        QTest::addColumn<long>("error");
        QTest::addColumn<int>("limit"); // a too-long text cut to this is taken
        QTest::newRow("receipt id of 26")
            << "receiptid" << Variant(QString(26, u'7')) << 3163L << 25;
        QTest::newRow("relation of 51") << "Relation" << Variant(QString(51, u'r')) << 3163L << 50;
        QTest::newRow("description of 101")
            << "Description" << Variant(QString(101, u'd')) << 3163L << 100;
        QTest::newRow("remarks unlimited") << "Remarks" << Variant(QString(5000, u'm')) << 0L << 0;
        QTest::newRow("amount not numeric") << "TotalPrice" << Variant("12a") << 3421L << 0;
        QTest::newRow("impossible date")
            << "TransactionDate" << Variant("31/Feb/2026") << 3421L << 0;
        QTest::newRow("unknown field") << "Colour" << Variant(1) << 3265L << 0;
        QTest::newRow("auto-number") << "TransactionId" << Variant(5) << 3164L << 0;
    }

    void assignmentChecksLengthAndType()
    {
        QFETCH(QString, field);
        QFETCH(Variant, value);
        QFETCH(long, error);
        QFETCH(int, limit);
        TempDatabase fixture;
        RawDb raw(fixture.path());
        const qint64 shop = raw.business("Shop");
        auto db = Database::OpenDatabase(fixture.path());
        auto rs = db->OpenRecordset("Transactions");
        rs->AddNew();
        rs->setField("BusinessId", shop);
        QCOMPARE(errorOf([&] { rs->setField(field, value); }), error);
        if (limit == 0)
            return;
        const QString cut = value.toString().left(limit);
        rs->setField(field, cut);
        rs->Update();
        QCOMPARE(raw.value("SELECT " + field + " FROM Transactions").toString(), cut);
    }

    void storedQueries()
    {
        TempDatabase fixture;
        RawDb raw(fixture.path());
        const qint64 shop = raw.business("Shop");
        const qint64 fuel = raw.category("Fuel", false, 21.0);
        raw.transaction({.business = shop, .category = fuel, .amount = 100});
        const QString sql = QStringLiteral(
            "SELECT Transactions.TotalPrice, ([VAT]/100)*[TotalPrice] AS VatAmount FROM "
            "Categories INNER JOIN Transactions ON Categories.CategoryId = "
            "Transactions.CategoryId;");
        {
            auto db = Database::OpenDatabase(fixture.path());
            db->CreateQueryDef("crys_Default", sql);
            QCOMPARE(errorOf([&] { db->CreateQueryDef("CRYS_default", sql); }),
                     VbErr::ObjectExists);
            auto rows = db->OpenRecordset("crys_Default");
            QCOMPARE(rows->field("VatAmount").toDouble(), 21.0);
        }
        // Stored at once: another open of the file sees it, with the text as written.
        auto db = Database::OpenDatabase(fixture.path());
        QCOMPARE(db->queryDef("crys_Default").sql, sql);
        db->DeleteQueryDef("crys_Default");
        QCOMPARE(errorOf([&] { db->DeleteQueryDef("crys_Default"); }), VbErr::ItemNotFound);
    }

    void compactDatabase()
    {
        TempDatabase fixture;
        RawDb raw(fixture.path());
        const qint64 shop = raw.business("Shop");
        raw.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                 "INSERT INTO Transactions (BusinessId, Description) SELECT ?1, printf('%090d', i) "
                 "FROM n",
                 {shop});
        raw.exec("DELETE FROM Transactions WHERE TransactionId % 2 = 0");
        const QByteArray before = bytesOf(fixture.path());
        const QString target = fixture.filePath("NewPendrel.mdb");

        Database::CompactDatabase(fixture.path(), target);
        QCOMPARE(bytesOf(fixture.path()), before);
        QVERIFY(QFileInfo(target).size() < QFileInfo(fixture.path()).size());
        QCOMPARE(RawDb(target).count("Transactions"), 100);
        QCOMPARE(errorOf([&] { Database::CompactDatabase(fixture.path(), target); }),
                 VbErr::DatabaseExists);
        // A target that cannot be written leaves nothing behind.
        const QString unwritable = fixture.filePath("no/such/folder/out.mdb");
        QVERIFY(errorOf([&] { Database::CompactDatabase(fixture.path(), unwritable); }) != 0);
        QVERIFY(!QFileInfo::exists(unwritable));
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
