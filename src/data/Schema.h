#pragma once

#include <QString>

// Writes the delivered database: the tables of db/schema.sql and the rows of
// db/reports.sql, into a new file at path, brought up to the schema version
// given (see SchemaVersions.h; schema.sql is version 0). Used by the delivery
// tool and by the test fixtures, so both always agree on the schema. Refuses
// an existing file (3204); on failure no file is left behind.
namespace Schema {
void CreateDatabaseFile(const QString& path, const QString& schemaSql, const QString& rowsSql,
                        int version = -1); // -1: SchemaVersions::Current
// Reads db/schema.sql and db/reports.sql from the folder dbDir.
void CreateDatabaseFileFrom(const QString& path, const QString& dbDir, int version = -1);
} // namespace Schema
