#pragma once

#include <QString>

struct sqlite3;

// The program writes its SQL in one dialect; SQLite takes nearly all of it as
// it stands (distinct, nested joins, True/False, [names], a missing blank
// before ORDER BY). What it does not take is mended here.
namespace SqlDialect {

// Rewrites #date# literals to ISO text ('2026-03-31', with ' HH:MM:SS' only when
// the time is not midnight) and "double-quoted" string literals to single
// quotes. Brackets, quoted strings and comments are passed over untouched.
// Raises VbError 3075 for a date literal that is not a possible date.
QString Translate(const QString& sql);

// Registers the functions the dialect needs on a connection: the aggregate
// Last(x), the value of x on the last row of the group.
void RegisterFunctions(sqlite3* db);

} // namespace SqlDialect
