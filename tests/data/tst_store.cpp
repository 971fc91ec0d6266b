// The store: opening files, table and forward-only recordsets, stored queries,
// compacting, and the error numbers each failure carries.

#include "data/Database.h"
#include "data/Recordset.h"
#include "platform/VbError.h"
#include "support/TestDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>

namespace {

long errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const VbError& error) {
        return error.number();
    }
    return 0;
}

QByteArray hashOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void openingUnusableFiles_data();
    void openingUnusableFiles();
    void missingFileIsNotCreated();
    void secondCopyIsRefusedUntilTheFirstCloses();
    void tableRecordsetSeekEditAddDelete();
    void failedSeekLeavesNoCurrentRecord();
    void deletedRowReadsAs3167();
    void assignmentChecksLengthAndType_data();
    void assignmentChecksLengthAndType();
    void tooLongTextCanBeCutAndAssignedAgain();
    void refusedWritesLeaveTheFileUnchanged();
    void cascadesRemoveDependentRows();
    void forwardOnlyRecordset();
    void storedQueries();
    void compactDatabase();
    void closedDatabaseInvalidatesRecordsets();
};

void TestStore::openingUnusableFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("directory");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("text file") << QByteArray("Name,VAT\nFuel,21\n") << false << false;
    QTest::newRow("zero bytes") << QByteArray() << false << false;
    QTest::newRow("directory") << QByteArray() << true << false;
    QTest::newRow("read-only database") << QByteArray() << false << true;
}

void TestStore::openingUnusableFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, directory);
    QFETCH(bool, readOnly);
    TempDatabase fixture;
    QString path = fixture.filePath(QStringLiteral("other.mdb"));
    if (directory) {
        QVERIFY(QDir().mkdir(path));
    } else if (readOnly) {
        path = fixture.path();
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    } else {
        writeFile(path, content);
    }
    const QByteArray before = hashOf(path);

    QCOMPARE(errorOf([&] { Database::OpenDatabase(path); }), VbErr::CannotUseFile);
    QCOMPARE(hashOf(path), before);
}

void TestStore::missingFileIsNotCreated()
{
    TempDatabase fixture;
    const QString path = fixture.filePath(QStringLiteral("nowhere.mdb"));
    QCOMPARE(errorOf([&] { Database::OpenDatabase(path); }), VbErr::DbFileNotFound);
    QVERIFY(!QFileInfo::exists(path));
}

void TestStore::secondCopyIsRefusedUntilTheFirstCloses()
{
    TempDatabase fixture;
    auto first = Database::OpenDatabase(fixture.path());
    QCOMPARE(errorOf([&] { Database::OpenDatabase(fixture.path()); }), VbErr::CannotUseFile);
    first->Close();
    auto second = Database::OpenDatabase(fixture.path());
    QVERIFY(second->isOpen());
}

void TestStore::tableRecordsetSeekEditAddDelete()
{
    TempDatabase fixture;
    RawDb raw(fixture.path());
    const qint64 shop = raw.business(QStringLiteral("Shop"));
    const qint64 fuel = raw.category(QStringLiteral("Fuel"), false);
    auto db = Database::OpenDatabase(fixture.path());
    auto rs = db->OpenRecordset(QStringLiteral("Transactions"));
    rs->setIndex(QStringLiteral("PrimaryKey"));
    QVERIFY(rs->EOF_());

    // A new row has no id until Update; LastModified positions on it.
    rs->AddNew();
    rs->setField(QStringLiteral("Transactiondate"), QStringLiteral("05/Dec/2026"));
    rs->setField(QStringLiteral("Cash"), true);
    rs->setField(QStringLiteral("moneyin"), false);
    rs->setField(QStringLiteral("Categoryid"), QStringLiteral("%1").arg(fuel));
    rs->setField(QStringLiteral("TotalPrice"), QStringLiteral("1,234.50"));
    rs->setField(QStringLiteral("Businessid"), shop);
    rs->setField(QStringLiteral("Relation"), QStringLiteral("Abbey"));
    rs->Update();
    rs->setBookmark(rs->LastModified());
    const qint64 id = rs->field(QStringLiteral("Transactionid")).toLong();
    QVERIFY(id > 0);
    QCOMPARE(raw.rows(QStringLiteral("SELECT TransactionDate, Cash, MoneyIn, CategoryId, TotalPrice, "
                                     "BusinessId, Relation FROM Transactions")),
             QList<QVariantList>({{QStringLiteral("2026-12-05"), 1, 0, fuel, 1234.5, shop,
                                   QStringLiteral("Abbey")}}));

    // Field names in any case; Null-aware reads.
    QCOMPARE(rs->field(QStringLiteral("RELATION")).toString(), QStringLiteral("Abbey"));
    QVERIFY(rs->field(QStringLiteral("Remarks")).isNull());
    QCOMPARE(rs->field(QStringLiteral("TransactionDate")).toDate(), QDate(2026, 12, 5).startOfDay());

    // Seek and edit a stored row.
    rs->Seek(QStringLiteral("="), id);
    QVERIFY(!rs->NoMatch());
    rs->Edit();
    rs->setField(QStringLiteral("Description"), QStringLiteral("Diesel"));
    rs->Update();
    QCOMPARE(raw.value(QStringLiteral("SELECT Description FROM Transactions WHERE TransactionId = ?1"), {id}),
             QVariant(QStringLiteral("Diesel")));

    // Ids are never reused after a delete.
    rs->Delete();
    QCOMPARE(raw.count(QStringLiteral("Transactions")), 0);
    rs->AddNew();
    rs->setField(QStringLiteral("Businessid"), shop);
    rs->Update();
    rs->setBookmark(rs->LastModified());
    QVERIFY(rs->field(QStringLiteral("TransactionId")).toLong() > id);
}

void TestStore::failedSeekLeavesNoCurrentRecord()
{
    TempDatabase fixture;
    RawDb raw(fixture.path());
    const qint64 cat = raw.category(QStringLiteral("Fuel"), false);
    const qint64 shop = raw.business(QStringLiteral("Shop"));
    raw.allocate(cat, shop);
    auto db = Database::OpenDatabase(fixture.path());
    auto rs = db->OpenRecordset(QStringLiteral("Categories"));
    rs->setIndex(QStringLiteral("PrimaryKey"));
    rs->Seek(QStringLiteral("="), cat + 100);
    QVERIFY(rs->NoMatch());
    QCOMPARE(errorOf([&] { rs->field(QStringLiteral("Category")); }), VbErr::NoCurrentRecord);
    QCOMPARE(errorOf([&] { rs->Delete(); }), VbErr::NoCurrentRecord);

    // A two-field index takes two keys.
    auto rel = db->OpenRecordset(QStringLiteral("relCat_Bis"));
    rel->setIndex(QStringLiteral("Primarykey"));
    rel->Seek(QStringLiteral("="), cat, shop);
    QVERIFY(!rel->NoMatch());
    rel->Seek(QStringLiteral("="), shop + 7, cat);
    QVERIFY(rel->NoMatch());
    // A duplicate pair is refused by the index.
    rel->AddNew();
    rel->setField(QStringLiteral("catid"), cat);
    rel->setField(QStringLiteral("Busid"), shop);
    QCOMPARE(errorOf([&] { rel->Update(); }), VbErr::DuplicateKey);
    QCOMPARE(raw.count(QStringLiteral("relCat_Bis")), 1);
}

void TestStore::deletedRowReadsAs3167()
{
    TempDatabase fixture;
    RawDb raw(fixture.path());
    const qint64 shop = raw.business(QStringLiteral("Shop"));
    auto db = Database::OpenDatabase(fixture.path());
    auto rs = db->OpenRecordset(QStringLiteral("Businesses"));
    rs->setIndex(QStringLiteral("PrimaryKey"));
    rs->Seek(QStringLiteral("="), shop);
    QCOMPARE(rs->field(QStringLiteral("Name")).toString(), QStringLiteral("Shop"));
    // Deleted through another recordset: the row is read live, so it is gone.
    db->Execute(QStringLiteral("DELETE FROM Businesses"));
    QCOMPARE(errorOf([&] { rs->field(QStringLiteral("Name")); }), VbErr::RecordDeleted);
}

void TestStore::assignmentChecksLengthAndType_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<Variant>("value");
    QTest::addColumn<long>("error");
    QTest::newRow("receipt id of 26") << "receiptid" << Variant(QString(26, u'7')) << 3163L;
    QTest::newRow("relation of 51") << "Relation" << Variant(QString(51, u'r')) << 3163L;
    QTest::newRow("description of 100") << "Description" << Variant(QString(100, u'd')) << 0L;
    QTest::newRow("description of 101") << "Description" << Variant(QString(101, u'd')) << 3163L;
    QTest::newRow("remarks unlimited") << "Remarks" << Variant(QString(5000, u'm')) << 0L;
    QTest::newRow("amount not numeric") << "TotalPrice" << Variant(QStringLiteral("12a")) << 3421L;
    QTest::newRow("amount with separators") << "TotalPrice" << Variant(QStringLiteral("1,234.50")) << 0L;
    QTest::newRow("impossible date") << "TransactionDate" << Variant(QStringLiteral("31/Feb/2026")) << 3421L;
    QTest::newRow("unknown field") << "Colour" << Variant(1) << 3265L;
    QTest::newRow("auto-number") << "TransactionId" << Variant(5) << 3164L;
}

void TestStore::assignmentChecksLengthAndType()
{
    QFETCH(QString, field);
    QFETCH(Variant, value);
    QFETCH(long, error);
    TempDatabase fixture;
    auto db = Database::OpenDatabase(fixture.path());
    auto rs = db->OpenRecordset(QStringLiteral("Transactions"));
    rs->AddNew();
    QCOMPARE(errorOf([&] { rs->setField(field, value); }), error);
}

void TestStore::tooLongTextCanBeCutAndAssignedAgain()
{
    TempDatabase fixture;
    RawDb raw(fixture.path());
    const qint64 shop = raw.business(QStringLiteral("Shop"));
    auto db = Database::OpenDatabase(fixture.path());
    auto rs = db->OpenRecordset(QStringLiteral("Transactions"));
    rs->AddNew();
    rs->setField(QStringLiteral("BusinessId"), shop);
    const QString typed = QStringLiteral("123456789012345678901234567890");
    QCOMPARE(errorOf([&] { rs->setField(QStringLiteral("ReceiptId"), typed); }), VbErr::FieldTooSmall);
    rs->setField(QStringLiteral("ReceiptId"), typed.left(25));
    rs->Update();
    QCOMPARE(raw.value(QStringLiteral("SELECT ReceiptId FROM Transactions")), QVariant(typed.left(25)));
}

void TestStore::refusedWritesLeaveTheFileUnchanged()
{
    TempDatabase fixture;
    RawDb raw(fixture.path());
    raw.business(QStringLiteral("Shop"));
    auto db = Database::OpenDatabase(fixture.path());
    auto rs = db->OpenRecordset(QStringLiteral("Businesses"));
    rs->setIndex(QStringLiteral("PrimaryKey"));
    const QByteArray before = hashOf(fixture.path());

    rs->AddNew();
    rs->setField(QStringLiteral("Name"), Variant::null());
    QCOMPARE(errorOf([&] { rs->Update(); }), VbErr::NullInRequired);
    rs->setField(QStringLiteral("Name"), QStringLiteral(""));
    QCOMPARE(errorOf([&] { rs->Update(); }), VbErr::ZeroLengthString);
    rs->CancelUpdate();
    QCOMPARE(hashOf(fixture.path()), before);
    QCOMPARE(raw.count(QStringLiteral("Businesses")), 1);

    // An empty name written through SQL is refused as a zero-length string.
    QCOMPARE(errorOf([&] { db->Execute(QStringLiteral("UPDATE Businesses SET Name = ''")); }),
             VbErr::ZeroLengthString);
    QCOMPARE(hashOf(fixture.path()), before);
}

void TestStore::cascadesRemoveDependentRows()
{
    TempDatabase fixture;
    RawDb raw(fixture.path());
    const qint64 a = raw.business(QStringLiteral("A"));
    const qint64 b = raw.business(QStringLiteral("B"));
    const qint64 fuel = raw.category(QStringLiteral("Fuel"), false);
    const qint64 fees = raw.category(QStringLiteral("Fees"), true);
    raw.allocate(fuel, a);
    raw.allocate(fees, a);
    raw.allocate(fuel, b);
    raw.transaction({.business = a, .category = fuel});
    raw.transaction({.business = a, .category = fees});
    raw.transaction({.business = b, .category = fees});
    auto db = Database::OpenDatabase(fixture.path());

    auto businesses = db->OpenRecordset(QStringLiteral("Businesses"));
    businesses->setIndex(QStringLiteral("PrimaryKey"));
    businesses->Seek(QStringLiteral("="), a);
    businesses->Delete();
    QCOMPARE(raw.rows(QStringLiteral("SELECT BusinessId, CategoryId FROM Transactions")),
             QList<QVariantList>({{b, fees}}));
    QCOMPARE(raw.rows(QStringLiteral("SELECT CatId, Busid FROM relCat_Bis")),
             QList<QVariantList>({{fuel, b}}));

    auto categories = db->OpenRecordset(QStringLiteral("Categories"));
    categories->setIndex(QStringLiteral("PrimaryKey"));
    categories->Seek(QStringLiteral("="), fees);
    categories->Delete();
    QCOMPARE(raw.count(QStringLiteral("Transactions")), 0);
    QCOMPARE(raw.count(QStringLiteral("relCat_Bis")), 1);
}

void TestStore::forwardOnlyRecordset()
{
    TempDatabase fixture;
    RawDb raw(fixture.path());
    raw.business(QStringLiteral("Beta"), QStringLiteral("NL01"));
    raw.business(QStringLiteral("alpha"));
    auto db = Database::OpenDatabase(fixture.path());
    auto rs = db->OpenRecordset(
        QStringLiteral("SELECT Businesses.BusinessId, Businesses.Name, Businesses.VATNr "
                       "From Businesses ORDER BY Businesses.Name;"),
        RecordsetType::ForwardOnly);
    QCOMPARE(rs->RecordCount(), 1L); // rows visited so far, as before a MoveLast
    QStringList names;
    QList<bool> nullVat;
    for (; !rs->EOF_(); rs->MoveNext()) {
        names << rs->field(QStringLiteral("Name")).toString();
        nullVat << rs->field(QStringLiteral("vatnr")).isNull();
    }
    QCOMPARE(names, QStringList({QStringLiteral("alpha"), QStringLiteral("Beta")}));
    QCOMPARE(nullVat, QList<bool>({true, false}));
    QCOMPARE(rs->RecordCount(), 2L);
    QCOMPARE(errorOf([&] { rs->MoveNext(); }), VbErr::NoCurrentRecord);
    QCOMPARE(errorOf([&] { rs->field(QStringLiteral("Name")); }), VbErr::NoCurrentRecord);
    rs->MoveFirst();
    QCOMPARE(rs->field(QStringLiteral("Businesses.Name")).toString(), QStringLiteral("alpha"));
    QCOMPARE(errorOf([&] { rs->Edit(); }), VbErr::ReadOnly);

    auto empty = db->OpenRecordset(QStringLiteral("SELECT * FROM Categories"));
    QVERIFY(empty->EOF_());
    QCOMPARE(errorOf([&] { db->OpenRecordset(QStringLiteral("SELECT * FROM Missing")); }),
             VbErr::TableNotFound);
}

void TestStore::storedQueries()
{
    TempDatabase fixture;
    RawDb raw(fixture.path());
    const qint64 shop = raw.business(QStringLiteral("Shop"));
    const qint64 fuel = raw.category(QStringLiteral("Fuel"), false, 21.0);
    raw.transaction({.business = shop, .category = fuel, .date = QStringLiteral("2026-03-31"), .amount = 100});
    const QString sql = QStringLiteral(
        "SELECT Transactions.TotalPrice, ([VAT]/100)*[TotalPrice] AS VatAmount FROM Categories "
        "INNER JOIN Transactions ON Categories.CategoryId = Transactions.CategoryId "
        "WHERE Transactions.TransactionDate <=#2026-03-31#;");
    {
        auto db = Database::OpenDatabase(fixture.path());
        db->CreateQueryDef(QStringLiteral("crys_Default"), sql);
        QCOMPARE(errorOf([&] { db->CreateQueryDef(QStringLiteral("CRYS_default"), sql); }), VbErr::ObjectExists);
        QCOMPARE(VbError(VbErr::ObjectExists, QStringLiteral("crys_Default")).description(),
                 QStringLiteral("Object 'crys_Default' already exists."));
        auto rows = db->OpenRecordset(QStringLiteral("crys_Default"));
        QCOMPARE(rows->field(QStringLiteral("VatAmount")).toDouble(), 21.0);
        db->Close();
    }
    // Stored at once: another open of the file sees it, with the text as written.
    auto db = Database::OpenDatabase(fixture.path());
    QCOMPARE(db->queryDef(QStringLiteral("crys_Default")).sql, sql);
    db->DeleteQueryDef(QStringLiteral("crys_Default"));
    QVERIFY(!db->hasQueryDef(QStringLiteral("crys_Default")));
    QCOMPARE(errorOf([&] { db->DeleteQueryDef(QStringLiteral("crys_Default")); }), VbErr::ItemNotFound);
    QCOMPARE(raw.count(QStringLiteral("Transactions")), 1);
}

void TestStore::compactDatabase()
{
    TempDatabase fixture;
    RawDb raw(fixture.path());
    const qint64 shop = raw.business(QStringLiteral("Shop"));
    for (int i = 0; i < 200; ++i)
        raw.exec(QStringLiteral("INSERT INTO Transactions (BusinessId, Description) VALUES (?1, ?2)"),
                 {shop, QString(90, QChar(u'a' + i % 26))});
    raw.exec(QStringLiteral("DELETE FROM Transactions WHERE TransactionId % 2 = 0"));
    const QByteArray before = hashOf(fixture.path());
    const QString target = fixture.filePath(QStringLiteral("NewPendrel.mdb"));

    Database::CompactDatabase(fixture.path(), target);
    QCOMPARE(hashOf(fixture.path()), before);
    QVERIFY(QFileInfo(target).size() < QFileInfo(fixture.path()).size());
    QCOMPARE(RawDb(target).count(QStringLiteral("Transactions")), 100);

    QCOMPARE(errorOf([&] { Database::CompactDatabase(fixture.path(), target); }), VbErr::DatabaseExists);
    // A target that cannot be written leaves nothing behind.
    const QString unwritable = fixture.filePath(QStringLiteral("no/such/folder/out.mdb"));
    QVERIFY(errorOf([&] { Database::CompactDatabase(fixture.path(), unwritable); }) != 0);
    QVERIFY(!QFileInfo::exists(unwritable));
}

void TestStore::closedDatabaseInvalidatesRecordsets()
{
    TempDatabase fixture;
    auto db = Database::OpenDatabase(fixture.path());
    auto table = db->OpenRecordset(QStringLiteral("Categories"));
    auto list = db->OpenRecordset(QStringLiteral("SELECT * FROM Businesses"));
    db->Close();
    QCOMPARE(errorOf([&] { table->AddNew(); }), VbErr::ObjectInvalid);
    QCOMPARE(errorOf([&] { list->MoveFirst(); }), VbErr::ObjectInvalid);
    QCOMPARE(errorOf([&] { db->OpenRecordset(QStringLiteral("Categories")); }), VbErr::ObjectInvalid);
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
