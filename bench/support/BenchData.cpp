#include "support/BenchData.h"

#include "data/Schema.h"

#include <QDate>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <sqlite3.h>
#include <stdexcept>

namespace {

const char* const FirstNames[] = {"Anna", "Bram",  "Carla", "Daan",  "Eva",   "Femke",
                                  "Gert", "Hanna", "Isa",   "Joost", "Karin", "Lars",
                                  "Mila", "Noah",  "Olga",  "Pieter"};
const char* const LastNames[] = {"Abbey",   "Bakker",   "Claes",  "de Vries", "Evers",   "Fischer",
                                 "Groot",   "Hendriks", "Jansen", "Kramer",   "Lambert", "Mulder",
                                 "Nijland", "Peeters",  "Smit",   "Visser",   "Willems", "Zwart"};
const char* const Trades[] = {"Garage",  "Bakery",   "Printing", "Transport", "Consultancy",
                              "Flowers", "Hardware", "Catering", "Cleaning",  "Software"};
const char* const Suffixes[] = {"Ltd", "BV", "& Sons", "Trading", "Services", "Co."};
const char* const Items[] = {"diesel",         "office paper",      "printer toner",
                             "flour",          "coffee beans",      "parking",
                             "train ticket",   "phone bill",        "website hosting",
                             "repairs",        "insurance premium", "rent",
                             "packaging",      "cleaning products", "consulting hours",
                             "catering order", "delivery",          "software licence"};
const char* const CategoryNames[] = {"Sales",
                                     "Consulting fees",
                                     "Catering",
                                     "Interest received",
                                     "Fuel",
                                     "Rent",
                                     "Energy",
                                     "Telephone",
                                     "Office supplies",
                                     "Travel",
                                     "Insurance",
                                     "Repairs",
                                     "Packaging",
                                     "Wages",
                                     "Bank charges",
                                     "Advertising",
                                     "Software",
                                     "Training",
                                     "Equipment",
                                     "Cleaning"};

template <size_t N> const char* pick(QRandomGenerator& random, const char* const (&list)[N])
{
    return list[random.bounded(int(N))];
}

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

struct Statement
{
    sqlite3* db;
    sqlite3_stmt* stmt = nullptr;
    Statement(sqlite3* d, const char* sql) : db(d)
    {
        check(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), db);
    }
    ~Statement() { sqlite3_finalize(stmt); }
    void text(int i, const QString& value)
    {
        sqlite3_bind_text(stmt, i, value.toUtf8().constData(), -1, SQLITE_TRANSIENT);
    }
    qint64 run()
    {
        check(sqlite3_step(stmt), db);
        sqlite3_reset(stmt);
        return sqlite3_last_insert_rowid(db);
    }
};

} // namespace

QString SourceDbFolder()
{
    return QStringLiteral(ZANTORO_SOURCE_DIR "/db");
}

BenchData GenerateBenchDatabase(const QString& path, const BenchDataOptions& options)
{
    Schema::CreateDatabaseFileFrom(path, SourceDbFolder(), options.schemaVersion);
    sqlite3* db = nullptr;
    check(sqlite3_open(QFile::encodeName(path).constData(), &db), db);
    check(sqlite3_exec(db, "PRAGMA synchronous = OFF; BEGIN", nullptr, nullptr, nullptr), db);
    QRandomGenerator random(options.seed);
    BenchData result;

    std::vector<qint64> businesses;
    {
        Statement insert(db, "INSERT INTO Businesses (Name, VATNr, accountnr) VALUES (?1, ?2, ?3)");
        for (int i = 0; i < options.businesses; ++i) {
            insert.text(1, QStringLiteral("%1 %2 %3")
                               .arg(QString::fromLatin1(pick(random, LastNames)),
                                    QString::fromLatin1(pick(random, Trades)),
                                    QString::fromLatin1(pick(random, Suffixes))));
            insert.text(2, QStringLiteral("NL%1B01").arg(random.bounded(100000000, 999999999)));
            insert.text(3, QStringLiteral("NL%1BANK0%2")
                               .arg(random.bounded(10, 99))
                               .arg(random.bounded(100000000, 999999999)));
            businesses.push_back(insert.run());
        }
    }
    result.firstBusiness = businesses.front();

    struct Category
    {
        qint64 id;
        bool moneyReceived;
        int cashOrBank; // 1 cash only, 2 bank only, 3 both
    };
    std::vector<Category> categories;
    {
        Statement insert(db, "INSERT INTO Categories (Category, MoneyReceived, VAT, CashOrBank) "
                             "VALUES (?1, ?2, ?3, ?4)");
        Statement allocate(db, "INSERT INTO relCat_Bis (CatId, Busid) VALUES (?1, ?2)");
        const int named = int(std::size(CategoryNames));
        for (int i = 0; i < options.categories; ++i) {
            const bool in = i % named < 4;
            const QString name = i < named ? QString::fromLatin1(CategoryNames[i])
                                           : QStringLiteral("%1 %2")
                                                 .arg(QString::fromLatin1(CategoryNames[i % named]))
                                                 .arg(i / named + 1);
            insert.text(1, name);
            sqlite3_bind_int(insert.stmt, 2, in ? 1 : 0);
            const int vats[] = {0, 9, 21};
            sqlite3_bind_double(insert.stmt, 3, vats[random.bounded(3)]);
            const int use = 1 + random.bounded(3);
            sqlite3_bind_int(insert.stmt, 4, use);
            const qint64 id = insert.run();
            categories.push_back({id, in, use});
            for (qint64 business : businesses) {
                sqlite3_bind_int64(allocate.stmt, 1, id);
                sqlite3_bind_int64(allocate.stmt, 2, business);
                allocate.run();
            }
        }
    }

    QStringList relations;
    for (int i = 0; i < options.relations; ++i)
        relations << QStringLiteral("%1 %2 %3")
                         .arg(QString::fromLatin1(pick(random, FirstNames)),
                              QString::fromLatin1(pick(random, LastNames)))
                         .arg(i);

    Statement insert(db, "INSERT INTO Transactions (TransactionDate, Invoicenr, Relation, MoneyIn, "
                         "CategoryId, Description, ReceiptId, TotalPrice, Cash, BusinessId) "
                         "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    const QDate first(2020, 1, 1);
    auto add = [&](qint64 business, bool cash, int serial) {
        // Only a category the sheet may use: the sheet refuses to store a row
        // under any other, and a commit on such a row would stop at its message.
        const Category* pickedCategory = nullptr;
        do
            pickedCategory = &categories[random.bounded(int(categories.size()))];
        while (pickedCategory->cashOrBank != 3 && pickedCategory->cashOrBank != (cash ? 1 : 2));
        const Category& category = *pickedCategory;
        insert.text(1, first.addDays(random.bounded(2500)).toString(Qt::ISODate));
        insert.text(2, category.moneyReceived ? QStringLiteral("INV-%1").arg(serial)
                                              : QStringLiteral("n/a"));
        insert.text(3, relations[random.bounded(int(relations.size()))]);
        sqlite3_bind_int(insert.stmt, 4, category.moneyReceived ? 1 : 0);
        sqlite3_bind_int64(insert.stmt, 5, category.id);
        insert.text(
            6,
            QStringLiteral("%1 %2").arg(QString::fromLatin1(pick(random, Items))).arg(serial % 97));
        insert.text(7, QString::number(serial));
        sqlite3_bind_double(insert.stmt, 8, random.bounded(100, 250000) / 100.0);
        sqlite3_bind_int(insert.stmt, 9, cash ? 1 : 0);
        sqlite3_bind_int64(insert.stmt, 10, business);
        insert.run();
        ++result.transactions;
    };
    int serial = 1;
    for (int i = 0; i < options.cashRows; ++i)
        add(result.firstBusiness, true, serial++);
    for (int i = 0; i < options.bankRows; ++i)
        add(result.firstBusiness, false, serial++);
    for (size_t b = 1; b < businesses.size(); ++b)
        for (int i = 0; i < options.otherRows; ++i)
            add(businesses[b], i % 2 == 0, serial++);

    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    return result;
}

double ResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}
