#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

// RFC 4180 text: fields separated by one character, a field in double quotes
// may hold the separator, line breaks and doubled quotes.
namespace CsvText {

struct Record
{
    QStringList fields;
    int line = 0; // 1-based line where the record starts
};

// Every record of the text, "\r\n", "\n" or "\r" ending a record outside
// quotes. StatementError when a quoted field is never closed or text follows
// a closing quote.
QList<Record> read(const QString& text, QChar separator);

// One field, quoted when it holds the separator, a quote or a line break.
QString field(const QString& value, QChar separator);
// A record ending in "\r\n".
QString record(const QStringList& values, QChar separator);

} // namespace CsvText
