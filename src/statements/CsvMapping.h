#pragma once

#include <QChar>
#include <QString>

// How the columns of a bank's CSV file map onto a statement line. Columns are
// 0-based; -1 means the file has no such column. A file gives either one
// signed amount column or a debit and a credit column (amounts without sign,
// money out in the debit column).
struct CsvMapping
{
    QString name;
    QChar separator = QLatin1Char(';');
    // "UTF-8" or "ISO-8859-1"; a UTF-8 byte-order mark is skipped in either.
    QString encoding = QStringLiteral("UTF-8");
    int headerRows = 1;
    QString datePattern = QStringLiteral("dd.MM.yyyy");
    QChar decimalMark = QLatin1Char(',');
    int date = 0;
    int amount = 1;
    int debit = -1;
    int credit = -1;
    int counterparty = -1;
    int text = -1;
    int reference = -1;

    // One line of text, "key=value" pairs, for the saved mappings.
    QString toText() const;
    static CsvMapping fromText(const QString& name, const QString& text);
};
