#pragma once

#include "statements/CsvMapping.h"
#include "statements/StatementLine.h"

#include <QByteArray>
#include <QString>

// Readers of the statement formats. Each reads a whole file or refuses it with
// a StatementError naming the line and the reason; none returns part of a file.
namespace StatementReaders {

enum class Format
{
    Camt053,
    Mt940,
    Ofx,
    Csv
};

// The format a file's content is in; Csv when it is none of the others.
Format detect(const QByteArray& content);

// ISO 20022 bank-to-customer statement (camt.053, versions 02 to 08): booked
// entries; a batch entry whose transaction details carry their own amounts
// becomes one line per transaction.
Statement readCamt053(const QByteArray& content);
// SWIFT MT940: one or more statements, :86: texts over several lines, the
// structured "?20".."?33" subfields of German banks.
Statement readMt940(const QByteArray& content);
// CSV by a column mapping.
Statement readCsv(const QByteArray& content, const CsvMapping& mapping);
// OFX 1.x (SGML) and 2.x (XML), and QFX, read by libofx from a file.
Statement readOfx(const QString& path);

// Reads a file in the format its content shows; the mapping is for CSV only.
Statement readFile(const QString& path, const CsvMapping& mapping);

} // namespace StatementReaders
