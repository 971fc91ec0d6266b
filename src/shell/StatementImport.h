#pragma once

#include "statements/StatementLine.h"

#include <QList>
#include <QString>
#include <QStringList>

class Database;

// One statement line as the import would store it.
struct ImportLine
{
    enum class State
    {
        New,             // has a category: imported
        AlreadyImported, // its key is in the file, or earlier in the same statement
        NeedsCategory    // no category proposed or picked yet: left out
    };
    StatementLine line;
    // "ref:<account>:<reference>", or where the line has no reference
    // "fp:" and a hash of account, date, amount, counterparty and text.
    QString key;
    State state = State::NeedsCategory;
    qint64 categoryId = 0;
};

// The key that recognises a line again, in this file and in the next ones.
QString ImportLineKey(const StatementLine& line);

// The lines of a statement for one sheet (cash or bank) of a business: each
// with its state and a proposed category, the one last used with the same
// counterparty on that sheet of that business when the sheet still allows it.
QList<ImportLine> PlanImport(Database& db, qint64 businessId, bool cash,
                             const Statement& statement);

// Gives the line at index the category, and with it every other line of the
// same counterparty (case-insensitive, not empty) that still needs one; a
// category picked or proposed before for another line stays. Returns how many
// lines it went to; a line already imported takes none.
int PickCategory(QList<ImportLine>& lines, qsizetype index, qint64 categoryId);

struct ImportOutcome
{
    int imported = 0;
    int skipped = 0;   // already imported, or without a category
    QStringList notes; // texts cut to their fields, by statement line
};

// Stores the new lines with a category in one transaction: the amount in the
// column of the category's side (money received on a receiving category and
// money paid out on a paying one are positive; the other way round negative),
// the counterparty as relation (cut to 50), the bank's text as description
// (cut to 100), no receipt id. A category the sheet does not allow is VbError
// 5 and nothing is stored; any failure stores nothing.
ImportOutcome ApplyImport(Database& db, qint64 businessId, bool cash,
                          const QList<ImportLine>& lines);
