#pragma once

#include "data/Database.h"
#include "data/Ledger.h"
#include "data/Recordset.h"
#include "shell/BackupCopy.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class ListItem;
class VbError;

// The module every window shares: the open database, its two table recordsets
// that live for the whole run, the globals the windows meet through, start-up,
// the common error box and the backup. Everything here is used from the
// user-interface thread only.
//
// Windows read and write the records through ledger(), made anew for each use,
// and never keep DB or a recordset: the backup closes the database and
// replaces DB, rsCategories and rsTransactions.
namespace dbStuff {

// The open database file; set by start-up, closed and replaced by the backup.
extern std::unique_ptr<Database> DB;
// Full path of the database file.
extern QString DBPath;
// The folder part of DBPath, ending in its separator ("/" here, "\" on
// Windows); report files and the backup's work file are put behind it.
extern QString DBFolder;
// Table recordsets on Categories and Transactions, index "PrimaryKey"; opened
// at start-up and by the backup, so that neither goes on without both tables.
extern std::unique_ptr<Recordset> rsCategories;
extern std::unique_ptr<Recordset> rsTransactions;
// The ORDER BY clause both sheet queries end with; always one of
// Ledger::SortClauses.
extern QString SortSQL;
// The text of the last list query and the forward-only recordset opened from
// it; every list filler replaces both.
extern QString SqlText;
extern std::unique_ptr<Recordset> rsList;
// The list-view item added last; list fillers set its sub-items through it.
// Owned by its list.
extern ListItem* NewItem;
// The answer of the last message box that asked a question (vbYes, vbNo, ...).
extern int Answer;
// The sheet in front: 1 cash, 2 bank.
extern int CurrentTab;
// The transactions window is loaded.
extern bool SheetOpen;
// The program itself is laying out, loading or totalling a grid.
extern bool GridBusy;
// The details pane of a lookup window holds a record not yet stored.
extern bool NewRecord;
// The stored query of the last print and its name ("crys_Default").
extern QString ReportQueryName;
extern QueryDef ReportQuery;

// The sort clause used when none (or an unknown one) is stored.
inline const QString DefaultSortSQL = Ledger::defaultSortClause();

// The records of the database open now; raises 91 when none is open. Make one
// for each use: the backup replaces DB.
Ledger ledger();

// The program's entry point: warns about a small screen, connects the database
// and shows the frame. Ends the program at once (End) where start-up says so.
void Main();
// Reads the settings, finds (asking the user where needed) and opens the
// database and its two table recordsets. On any failure it shows its message
// and ends the program; it returns only with everything open.
void ConnectDatabase();
// Opens rsCategories and rsTransactions on DB with index "PrimaryKey". On an
// error shows the error box, leaves both unset and returns false.
bool OpenTableRecordsets();

// The common error box for the error that was caught: "Error <n>:  " and the
// error's own description (naming its file or object), then two carriage
// returns; critical icon, OK, caption "Zantoro". Answer is left as it was.
void ReportError(const VbError& error);
// Runs an event handler that has no error handling of its own: whatever it
// lets out goes to the error box, and the program goes on. An exception that
// is not a VbError is reported as one: out of memory (7), anything else as an
// internal error (51).
void RunHandler(const std::function<void()>& handler);

// The id behind a list-item key ("c12" -> 12); 0 for a key of one letter. An
// empty key (error 5) or one that is not a letter and a number (13, 6 when too
// large) shows the error box and gives 0.
long IdFromKey(const QString& Key);

// Writes a backup: asks for its name; refuses a folder it cannot write to and
// a damaged database before closing anything; compacts the database into its
// folder's "NewPendrel.mdb", writes the backup from that as a checked copy
// (WriteCheckedCopy), puts the compacted copy in the database's place and
// reopens it. On a failure the database file is as it was and is reopened.
void BackupDatabase();

} // namespace dbStuff
