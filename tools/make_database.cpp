// Writes the database file that Zantoro is delivered with: the tables of
// db/schema.sql and the report rows of db/reports.sql.
//
//   make_database <output file> [db folder]
//
// An existing output file is never overwritten.

#include "data/Schema.h"
#include "platform/VbError.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() < 2 || args.size() > 3) {
        err << "usage: make_database <output file> [db folder]\n";
        return 2;
    }
    const QString dbDir = args.size() == 3 ? args[2] : QStringLiteral(ZANTORO_DB_DIR);
    try {
        Schema::CreateDatabaseFileFrom(args[1], dbDir);
    } catch (const VbError& error) {
        err << "make_database: " << error.description();
        if (!error.detail().isEmpty())
            err << " (" << error.detail() << ")";
        err << "\n";
        return 1;
    }
    return 0;
}
