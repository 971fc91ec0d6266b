#pragma once

#include "platform/Currency.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Database;

// Every read and write the windows make, one function and one SQL text each;
// the names of tables and fields appear nowhere else in the program. A Ledger
// holds a reference to an open Database and nothing else, so make one for each
// use from the database open now (the backup closes and replaces it).
// Failures are VbError with the store's numbers: 3021 a missing row, 3163 a
// text too long for its field, 3315 an empty required name, 3421 a value that
// does not convert, 3420 a closed database.
// Every write is one step of the file's history (History.h) with a caption of
// its own ("new category Fuel", "delete of business Bakery and 37
// transactions"); a caller that knows better (the sheet names the row) opens a
// HistoryStep with its caption around the call, and the write joins it.
class Ledger final
{
public:
    // The program's bookkeeping records, typed. Ids are the auto-numbers of the
    // file; 0 means "not stored yet" (or, for a reference, none: Null).

    struct Transaction
    {
        qint64 id = 0;
        std::optional<QDate> date; // nullopt: Null
        // nullopt: the stored amount is left as it is (a new row gets Null).
        std::optional<Currency> amount;
        bool moneyIn = false; // the amount was received (the sheet's "Credited")
        bool cash = false;    // on the cash sheet; the bank sheet otherwise
        qint64 categoryId = 0;
        qint64 businessId = 0;
        // Texts are stored as they are; a Null field reads as empty.
        QString invoiceNr;
        QString relation;
        QString description;
        QString receiptId;
        // Read only: the name of the category, as sheetRows joins it.
        QString category;
    };

    struct Category
    {
        qint64 id = 0;
        QString name; // required: an empty name is refused (3315)
        bool moneyReceived = false;
        std::optional<double> vat; // percent; nullopt: Null
        // Where the category may be used; a Null field reads as CashAndBank.
        enum Use
        {
            CashOnly = 1,
            BankOnly = 2,
            CashAndBank = 3
        };
        int cashOrBank = CashAndBank;
    };

    struct Business
    {
        qint64 id = 0;
        QString name;                 // required: an empty name is refused (3315)
        std::optional<QString> vatNr; // nullopt: Null
        std::optional<QString> accountNr;
    };

    // What the delete of a business or category takes along with it.
    struct Dependants
    {
        qint64 transactions = 0;
        qint64 allocations = 0; // rows of the category-to-business allocation
    };

    struct ReportEntry
    {
        qint64 id = 0;
        QString title;
    };

    // The texts of a transaction that have a length limit.
    enum class TransactionText
    {
        InvoiceNr,
        Description,
        ReceiptId,
        Relation
    };

    // The orders the sheet can be shown in; each is one ORDER BY clause.
    enum class SheetOrder
    {
        Description,
        Category,
        Date,
        ReceiptId,
        Relation
    };

    explicit Ledger(Database& db) : m_db(db) {}

    // ---- transactions
    // Called when a text is longer than its field; returns the text to store
    // instead (which must fit).
    using CutText = std::function<QString(TransactionText field, const QString& text)>;
    struct Stored
    {
        qint64 id = 0;
        // The relation the row had before this store; nullopt for a new row.
        std::optional<QString> previousRelation;
    };
    // Inserts the transaction when its id is 0, else updates that row (3021
    // when it is gone). A text that is too long goes to cut, in the order
    // invoice number, description, receipt id, relation, and what cut returns
    // is written back into t. Without cut, 3163 is raised. Nothing is written
    // when this raises.
    Stored storeTransaction(Transaction& t, const CutText& cut = {});
    // Deletes a transaction; false when there is none of that id.
    bool deleteTransaction(qint64 id);
    // The transactions of one sheet, in the order given (one of SortClauses),
    // each passed to row in turn. The reference is valid during the call only.
    void sheetRows(qint64 businessId, bool cash, const QString& sortClause,
                   const std::function<void(const Transaction&)>& row);
    // Every relation in use, once each, in store order (case-insensitive);
    // Null and empty ones left out.
    QStringList relations();

    // ---- categories
    // The categories allocated to a business that may be used on a sheet
    // (Category::CashOnly for the cash sheet, BankOnly for the bank sheet;
    // any other number gives only those usable on both), by name: id and name
    // are filled.
    QList<Category> sheetCategories(qint64 businessId, int sheet);
    // Whether the category may be used on that sheet (1 cash, 2 bank); false
    // for a category that is no longer there.
    bool categoryOnSheet(qint64 categoryId, int sheet);
    // Whether the category receives money; nullopt when there is none of that id.
    std::optional<bool> categoryReceivesMoney(qint64 categoryId);
    // All categories by name.
    QList<Category> categories();
    // The category of that id; 3021 when there is none.
    Category category(qint64 id);
    // Inserts (id 0) or updates the category; returns and sets its id.
    qint64 storeCategory(Category& c);
    // Deletes the category with its transactions and allocations; false when
    // there is none of that id.
    bool deleteCategory(qint64 id);
    // The transactions and allocations a deleteCategory(id) would take along.
    Dependants categoryDependants(qint64 id);

    // ---- businesses
    // All businesses by name: id, name and VAT number are filled.
    QList<Business> businesses();
    // The business of that id; 3021 when there is none.
    Business business(qint64 id);
    // Inserts (id 0) or updates the business; returns and sets its id.
    qint64 storeBusiness(Business& b);
    // Deletes the business with its transactions and allocations; false when
    // there is none of that id.
    bool deleteBusiness(qint64 id);
    // The transactions and allocations a deleteBusiness(id) would take along.
    Dependants businessDependants(qint64 id);

    // ---- allocation of categories to businesses
    // Raises the store's error (3078) when the file has no allocation table, so
    // that a window that writes allocations can refuse to open at once.
    void requireAllocationTable();
    // The ids of the businesses the category is allocated to.
    QList<qint64> allocatedBusinesses(qint64 categoryId);
    // Whether some business has at least one category allocated to it.
    bool anyAllocation();
    // Allocates (allocated true) or withdraws the category from the business.
    // Returns whether anything was written: a pair already as asked is left.
    bool setAllocated(qint64 categoryId, qint64 businessId, bool allocated);

    // ---- reports
    // The rows of Reports, by id.
    QList<ReportEntry> reports();
    // The report of that id; nullopt when there is none.
    std::optional<ReportEntry> report(qint64 id);
    // The SELECT every report reads its rows from, without its WHERE clause.
    static QString reportSelect();
    // Columns of reportSelect that the report engine recomputes exactly:
    // ReportVatAmount is ReportVatRate percent of ReportNetAmount.
    static constexpr const char* ReportVatRate = "VAT";
    static constexpr const char* ReportNetAmount = "TotalPrice";
    static constexpr const char* ReportVatAmount = "VatAmount";
    // reportSelect with the criteria of one business and an optional period
    // (both days included), ready for a stored query.
    static QString reportQuery(qint64 businessId, std::optional<QDate> from,
                               std::optional<QDate> to);

    // ---- the sheet's order
    static QString sortClause(SheetOrder order);
    // The five clauses, in SheetOrder order; the only texts sheetRows takes.
    static const QStringList& SortClauses();
    static bool isSortClause(const QString& clause);
    // The order used when none, or an unknown one, is stored.
    static QString defaultSortClause() { return sortClause(SheetOrder::ReceiptId); }

private:
    Database& m_db;
};
