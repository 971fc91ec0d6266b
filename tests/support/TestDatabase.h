#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <functional>
#include <memory>

struct sqlite3;

// A fresh database file, made from db/ exactly as the delivered one, in its own
// temporary folder that disappears with the fixture.
class TempDatabase
{
public:
    TempDatabase();
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    // Another file path in the same temporary folder.
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// One transaction for the builders; the defaults make a complete cash row.
struct TxRow
{
    qint64 business = 0;
    qint64 category = 0;
    QString date = QStringLiteral("2026-03-15"); // ISO, as stored
    bool cash = true;
    bool moneyIn = false;
    double amount = 10.0;
    QString description = QStringLiteral("Stationery");
    QString relation = QStringLiteral("Abbey");
    QString receiptId = QStringLiteral("1");
    QString invoiceNr = QStringLiteral("n/a");
    QVariant remarks = QVariant(); // Null
};

// Direct access to a database file beside the program's own connection, for
// arranging rows before a test and checking what the file holds after it.
// Bypasses the program's lock on purpose; values are bound, never spliced.
class RawDb
{
public:
    // create: make a new, empty file when there is none.
    explicit RawDb(const QString& path, bool create = false);
    ~RawDb();
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    qint64 business(const QString& name, const QVariant& vatNr = QVariant(),
                    const QVariant& accountNr = QVariant());
    // vat: a null QVariant stores Null.
    qint64 category(const QString& name, bool moneyReceived, const QVariant& vat = 21.0,
                    int cashOrBank = 3);
    void allocate(qint64 category, qint64 business);
    qint64 transaction(const TxRow& row);
    void report(qint64 id, const QString& title);

    // Runs a statement with positional parameters ?1, ?2, ...
    void exec(const QString& sql, const QVariantList& args = {});
    // All rows of a query, each a list of its column values (NULL -> invalid QVariant).
    QList<QVariantList> rows(const QString& sql, const QVariantList& args = {});
    // The first column of the first row (invalid when there is no row).
    QVariant value(const QString& sql, const QVariantList& args = {});
    qint64 count(const QString& table);

private:
    sqlite3* m_db = nullptr;
};

// Fills the database at path with rows (about 150 bytes each) and then
// overwrites one page in the middle of the file with garbage: the file still
// opens and reads its schema, and quick_check reports the broken page.
void fillAndDamageMiddlePage(const QString& path, int rows = 1500);

// The number of the VbError the action raises; 0 when it raises none.
long errorOf(const std::function<void()>& action);

// The bytes of a file; empty when it cannot be read.
QByteArray bytesOf(const QString& path);
// Makes or replaces a file with these bytes; false when not all were written.
bool writeBytes(const QString& path, const QByteArray& bytes);
// Every file in a folder (hidden ones too) with its bytes: a folder compared
// before and after shows anything left behind, changed or removed.
QMap<QString, QByteArray> contentsOf(const QString& folder);
