#pragma once

// Large databases for the benchmarks: businesses of a bakery trade, their
// categories and allocations, and transactions with the texts a bookkeeper
// types (descriptions by kind of cost or income, relations that are company
// names, dates over two years, receipt ids as the sheet stores them, invoice
// numbers for money received). Deterministic for a given seed. Header-only, so
// every bench program can use it.

#include "data/Schema.h"

#include <sqlite3.h>
#include <stdexcept>
#include <vector>

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

namespace bench {

struct Shape
{
    // Business 1 ("Bakery Janssen"): the big sheet.
    int bigCash = 100000;
    int bigBank = 5000;
    // Business 2 ("Corner Shop"): a sheet of ten thousand rows.
    int mediumCash = 10000;
    int mediumBank = 2000;
    // Further businesses with a few thousand rows each.
    int otherBusinesses = 18;
    int otherRowsEach = 3000;
    // Distinct relations over all transactions (every one used at least once).
    int relations = 20000;
    quint32 seed = 20261206;
};

// db/ of the source tree: schema and report rows.
inline QString dbFolder()
{
    return QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath(QStringLiteral("../db"));
}

namespace detail {

inline void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

struct CategoryDef
{
    const char* name;
    bool moneyIn;
    double vat; // < 0: no VAT
    int cashOrBank;
    const char* descriptions[6];
};

inline const std::vector<CategoryDef>& categories()
{
    static const std::vector<CategoryDef> defs = {
        {"Bread sales",
         true,
         9,
         3,
         {"Bread sales", "Bread sales market stall", "Rolls and buns", "Sourdough loaves",
          "Bread sales shop", "Bread sales weekend"}},
        {"Cakes and pastry",
         true,
         9,
         3,
         {"Wedding cake", "Birthday cake", "Pastry tray", "Apple pie order", "Cupcakes for school",
          "Tart of the week"}},
        {"Catering",
         true,
         21,
         2,
         {"Catering lunch meeting", "Catering reception", "Breakfast buffet", "Sandwich platters",
          "Coffee and cake service", "Catering funeral"}},
        {"Flour and grain",
         false,
         9,
         3,
         {"Flour 25 kg", "Wholemeal flour", "Rye flour 10 kg", "Spelt grain", "Oats and seeds",
          "Flour delivery"}},
        {"Dairy and eggs",
         false,
         9,
         3,
         {"Butter 10 kg", "Eggs 360", "Cream and milk", "Cheese for pastries", "Yoghurt",
          "Butter block"}},
        {"Packaging",
         false,
         21,
         3,
         {"Paper bags", "Cake boxes", "Bread bags 1000", "Labels and tape", "Pastry trays",
          "Ribbon and boxes"}},
        {"Rent",
         false,
         -1,
         2,
         {"Rent shop", "Rent storage", "Rent bakery hall", "Service charges", "Rent parking",
          "Rent deposit"}},
        {"Energy",
         false,
         21,
         2,
         {"Electricity", "Gas for ovens", "Water", "Energy settlement", "Electricity advance",
          "Gas advance"}},
        {"Equipment",
         false,
         21,
         3,
         {"Oven repair", "Mixer parts", "Proofing cabinet service", "Scales calibration",
          "New baking trays", "Knife sharpening"}},
        {"Transport",
         false,
         21,
         3,
         {"Van fuel", "Van maintenance", "Parking fees", "Delivery by courier", "Road tax",
          "Tyres"}},
        {"Cleaning",
         false,
         21,
         1,
         {"Cleaning supplies", "Window cleaner", "Towels and cloths", "Detergent",
          "Pest control visit", "Floor cleaning"}},
        {"Office",
         false,
         21,
         1,
         {"Stamps", "Printer paper", "Ink cartridges", "Pens and folders", "Receipt rolls",
          "Accounting software"}},
        {"Insurance",
         false,
         -1,
         2,
         {"Insurance premium", "Liability insurance", "Van insurance", "Building insurance",
          "Health insurance", "Insurance excess"}},
        {"Bank costs",
         false,
         -1,
         2,
         {"Bank fees", "Card terminal fees", "Interest", "Payment service", "Account costs",
          "Transfer fees"}},
        {"Wages",
         false,
         -1,
         2,
         {"Wages baker", "Wages shop assistant", "Holiday pay", "Wages weekend help",
          "Wages driver", "Bonus"}},
        {"Petty cash",
         false,
         0,
         1,
         {"Coffee and tea", "Flowers for the shop", "Small tools", "Batteries",
          "Coins for the till", "Lunch for staff"}},
    };
    return defs;
}

// Company names: surname, trade and form, enough for any relation count up to
// 50 * 20 * 20.
inline QString relationName(int i)
{
    static const char* surnames[] = {
        "Abbey",    "Abbot",  "Achterberg", "Baker",    "Bakker",  "Bloem",    "Boer",
        "Brouwer",  "Carter", "Claes",      "Dekker",   "de Jong", "de Vries", "Dijkstra",
        "Evans",    "Fisher", "Groen",      "Hendriks", "Hill",    "Hoekstra", "Jacobs",
        "Janssen",  "Kok",    "Kramer",     "Lambert",  "Maas",    "Meijer",   "Miller",
        "Mulder",   "Noor",   "Oosterhout", "Peters",   "Post",    "Quist",    "Ruiter",
        "Schouten", "Smit",   "Smith",      "Tanner",   "Turner",  "van Dam",  "van Dijk",
        "Verbeek",  "Visser", "Vos",        "Walker",   "Willems", "Wood",     "Young",
        "Zwart"};
    static const char* trades[] = {"Milling", "Dairy",    "Packaging", "Transport", "Energy",
                                   "Bakery",  "Catering", "Cleaning",  "Insurance", "Hardware",
                                   "Foods",   "Printing", "Logistics", "Property",  "Repairs",
                                   "Farms",   "Coffee",   "Office",    "Fuel",      "Textiles"};
    static const char* forms[] = {"Ltd",      "B.V.",      "& Sons",   "Co.",           "GmbH",
                                  "Partners", "Supplies",  "Trading",  "Group",         "Holding",
                                  "Services", "Wholesale", "Brothers", "International", "Direct",
                                  "Online",   "Market",    "Works",    "Store",         "House"};
    const int s = i % 50;
    const int t = (i / 50) % 20;
    const int f = (i / 1000) % 20;
    return QStringLiteral("%1 %2 %3")
        .arg(QLatin1String(surnames[s]), QLatin1String(trades[t]), QLatin1String(forms[f]));
}

} // namespace detail

// Writes a new database file at path (which must not exist).
inline void generateDatabase(const QString& path, const Shape& shape = Shape())
{
    using namespace detail;
    Schema::CreateDatabaseFileFrom(path, dbFolder());
    sqlite3* db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db);
    auto exec = [db](const QString& sql) {
        check(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), db);
    };
    exec(QStringLiteral("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN"));

    QStringList businesses = {QStringLiteral("Bakery Janssen"), QStringLiteral("Corner Shop")};
    static const char* towns[] = {"Leiden", "Delft", "Gouda", "Utrecht", "Haarlem", "Alkmaar"};
    for (int b = 0; b < shape.otherBusinesses; ++b)
        businesses
            << QStringLiteral("Bakery %1 %2").arg(QLatin1String(towns[b % 6])).arg(b / 6 + 1);
    for (int b = 0; b < businesses.size(); ++b)
        exec(QStringLiteral("INSERT INTO Businesses (Name, VATNr, accountnr) VALUES ('%1', "
                            "'NL%2B01', 'NL91BANK0%3')")
                 .arg(businesses[b])
                 .arg(100000000 + b * 7919)
                 .arg(417164300 + b));

    const auto& defs = categories();
    for (const CategoryDef& c : defs)
        exec(QStringLiteral("INSERT INTO Categories (Category, MoneyReceived, VAT, CashOrBank) "
                            "VALUES ('%1', %2, %3, %4)")
                 .arg(QLatin1String(c.name))
                 .arg(c.moneyIn ? 1 : 0)
                 .arg(c.vat < 0 ? QStringLiteral("NULL") : QString::number(c.vat))
                 .arg(c.cashOrBank));
    exec(QStringLiteral("INSERT INTO relCat_Bis (CatId, Busid) SELECT CategoryId, BusinessId "
                        "FROM Categories, Businesses"));

    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO Transactions (TransactionDate, Invoicenr, Relation, "
                             "MoneyIn, CategoryId, Description, ReceiptId, TotalPrice, Cash, "
                             "BusinessId) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
                             -1, &insert, nullptr),
          db);
    QRandomGenerator random(shape.seed);
    const QDate first(2025, 1, 1);
    int relationCursor = 0;
    int invoice = 0;
    auto addRows = [&](int business, bool cash, int count) {
        for (int i = 0; i < count; ++i) {
            // Categories a sheet may use: its own kind or both.
            const CategoryDef* c = nullptr;
            int categoryId = 0;
            do {
                categoryId = int(random.bounded(int(defs.size()))) + 1;
                c = &defs[size_t(categoryId - 1)];
            } while (c->cashOrBank != 3 && c->cashOrBank != (cash ? 1 : 2));
            // Every relation once first, then the usual mix.
            const int relation = relationCursor < shape.relations
                                     ? relationCursor++
                                     : int(random.bounded(shape.relations));
            const QDate date = first.addDays(random.bounded(730));
            const QString description =
                QString::fromLatin1(c->descriptions[random.bounded(6)]) +
                (random.bounded(3) == 0
                     ? QStringLiteral(" ") +
                           QLocale::c().monthName(date.month(), QLocale::ShortFormat)
                     : QString());
            const int receipt = int(random.bounded(9999999));
            const QString receiptText = QStringLiteral("%1/%2/%3")
                                            .arg(receipt / 1000000)
                                            .arg(receipt / 1000 % 1000, 3, 10, QLatin1Char('0'))
                                            .arg(receipt % 1000, 3, 10, QLatin1Char('0'));
            const double amount = double(random.bounded(1, 250000)) / 100.0;
            const QByteArray dateText = date.toString(Qt::ISODate).toLatin1();
            const QByteArray invoiceText = c->moneyIn ? QStringLiteral("F-%1-%2")
                                                            .arg(date.year())
                                                            .arg(++invoice, 5, 10, QLatin1Char('0'))
                                                            .toUtf8()
                                                      : QByteArray("n/a");
            const QByteArray relationText = relationName(relation).toUtf8();
            const QByteArray descriptionText = description.toUtf8();
            const QByteArray receiptBytes = receiptText.toUtf8();
            sqlite3_bind_text(insert, 1, dateText.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, invoiceText.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, relationText.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 4, c->moneyIn ? 1 : 0);
            sqlite3_bind_int(insert, 5, categoryId);
            sqlite3_bind_text(insert, 6, descriptionText.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 7, receiptBytes.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 8, amount);
            sqlite3_bind_int(insert, 9, cash ? 1 : 0);
            sqlite3_bind_int(insert, 10, business);
            check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
    };
    addRows(1, true, shape.bigCash);
    addRows(1, false, shape.bigBank);
    addRows(2, true, shape.mediumCash);
    addRows(2, false, shape.mediumBank);
    for (int b = 0; b < shape.otherBusinesses; ++b) {
        addRows(3 + b, true, shape.otherRowsEach * 2 / 3);
        addRows(3 + b, false, shape.otherRowsEach - shape.otherRowsEach * 2 / 3);
    }
    sqlite3_finalize(insert);
    exec(QStringLiteral("COMMIT"));
    sqlite3_close(db);
}

} // namespace bench
