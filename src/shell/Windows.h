#pragma once

#include <QObject>

#include <functional>

// How the windows of the sibling layers (sheet, lookups, reports) reach each
// other without including each other's headers: the executable registers one
// opener per window at start, and anyone asks for a window by its id. The
// Notifier carries the few changes that an open window must follow.
namespace dbStuff {

enum class WindowId
{
    Transactions, // frmTransactions: modeless child of the frame, one instance
    Businesses,   // frmBusinesses: modal
    Categories,   // frmCategories: modal
    Print,        // frmPrint: modal
    History,      // frmHistory: modeless child of the frame, one instance
    Changes,      // frmChanges: modal
};

// Shows the window: a modal window's opener returns when it is closed; a
// modeless one's brings the one instance forward (creating it the first time).
using WindowOpener = std::function<void()>;

// Replaces any opener registered for the id; an empty opener removes it.
void RegisterWindow(WindowId id, WindowOpener opener);
// Removes every opener (tests).
void UnregisterWindows();
// Runs the window's opener; false, and nothing happens, when none is registered.
bool ShowWindow(WindowId id);
// The same for a window that is about the business of that id (the sheet's
// print opens the report selection on its business): while the opener runs,
// WindowBusiness() gives that id, otherwise 0.
bool ShowWindow(WindowId id, qint64 businessId);
qint64 WindowBusiness();
// The same for a window about one transaction (the sheet's history opens on
// its current row): while the opener runs, WindowTransaction() gives that id,
// otherwise 0.
bool ShowWindowForTransaction(WindowId id, qint64 transactionId);
qint64 WindowTransaction();

// Signals are sent after the change is in the database.
class Notifier final : public QObject
{
    Q_OBJECT

public:
    static Notifier& instance();

signals:
    // A business was added, renamed or deleted.
    void businessesChanged();
    // A category was added, changed or deleted, or its allocation to
    // businesses changed.
    void categoriesChanged();
    // Transactions were added, changed or deleted by a window other than the
    // sheet (a restore from the history): the sheet reads its rows again.
    void transactionsChanged();
    // The backup closed the database and opened it again: DB, rsCategories
    // and rsTransactions are new objects; recordsets a window opened itself on
    // the old DB no longer work.
    void databaseReopened();
    // A restore put another database file in place of the open one and
    // opened it: every row a window shows may have changed or be gone.
    void databaseReplaced();
    // Rows of a bank statement were stored: the open sheet reads its rows again.
    void transactionsImported();
    // A restore is about to replace the open database, once the user has
    // confirmed it: a window holding work not yet stored asks about it and
    // clears proceed when the user keeps it. Delivered directly, in order.
    void databaseToBeReplaced(bool& proceed);
    // An undo or redo rewrote rows of any table (transactions, businesses,
    // categories, allocations): a window reads again whatever it shows.
    void rowsRewritten();

private:
    Notifier() = default;
};

} // namespace dbStuff
