#pragma once

#include <QString>

namespace dbStuff {

// Puts a copy of the delivered database at path (its folder made where
// missing): the tables and report rows the program is delivered with, no
// business, category or transaction, so it is also the new, empty database.
// The delivered report files are copied beside it where that folder has none
// of their name. An existing file is never overwritten, and a failed copy
// leaves nothing at path.
//
// Returns an empty text when all went well, else what failed; the database
// was made when a file is at path afterwards (only report files failed then).
QString InstallDeliveredDatabase(const QString& path);

} // namespace dbStuff
