#pragma once

#include <QString>
#include <QtGlobal>

// Large databases for the benchmarks, made from the delivered schema and filled
// with realistic texts: businesses, categories allocated to them, and
// transactions spread over the years, sheets and categories. The same options
// and seed always give the same file.
struct BenchDataOptions
{
    int businesses = 20;
    int categories = 40;
    // Transactions of the first business, on its cash and its bank sheet.
    int cashRows = 100000;
    int bankRows = 5000;
    // Transactions of every other business, split over both sheets.
    int otherRows = 500;
    // Distinct relations the transactions draw from.
    int relations = 2000;
    quint32 seed = 20261206;
    // The schema version of the file (see data/SchemaVersions.h); -1: the current.
    int schemaVersion = -1;
};

struct BenchData
{
    qint64 firstBusiness = 0; // the business with cashRows and bankRows
    qint64 transactions = 0;
};

// Writes a new database file at path (which must not exist).
BenchData GenerateBenchDatabase(const QString& path, const BenchDataOptions& options = {});

// The db/ folder of the source tree.
QString SourceDbFolder();

// Resident memory of this process in megabytes.
double ResidentMegabytes();
