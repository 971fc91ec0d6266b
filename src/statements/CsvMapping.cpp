#include "statements/CsvMapping.h"

#include <QStringList>

QString CsvMapping::toText() const
{
    // Characters are stored as their code, so ";" and "," never clash with
    // the pair separators of the text.
    return QStringLiteral("sep=%1;enc=%2;head=%3;datefmt=%4;dec=%5;date=%6;amount=%7;debit=%8;"
                          "credit=%9;party=%10;text=%11;ref=%12")
        .arg(separator.unicode())
        .arg(encoding)
        .arg(headerRows)
        .arg(datePattern)
        .arg(decimalMark.unicode())
        .arg(date)
        .arg(amount)
        .arg(debit)
        .arg(credit)
        .arg(counterparty)
        .arg(text)
        .arg(reference);
}

CsvMapping CsvMapping::fromText(const QString& name, const QString& text)
{
    CsvMapping m;
    m.name = name;
    for (const QString& pair : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = pair.section(QLatin1Char('='), 0, 0);
        const QString value = pair.section(QLatin1Char('='), 1);
        const int n = value.toInt();
        if (key == QLatin1String("sep")) {
            m.separator = QChar(n);
        } else if (key == QLatin1String("enc")) {
            m.encoding = value;
        } else if (key == QLatin1String("head")) {
            m.headerRows = n;
        } else if (key == QLatin1String("datefmt")) {
            m.datePattern = value;
        } else if (key == QLatin1String("dec")) {
            m.decimalMark = QChar(n);
        } else if (key == QLatin1String("date")) {
            m.date = n;
        } else if (key == QLatin1String("amount")) {
            m.amount = n;
        } else if (key == QLatin1String("debit")) {
            m.debit = n;
        } else if (key == QLatin1String("credit")) {
            m.credit = n;
        } else if (key == QLatin1String("party")) {
            m.counterparty = n;
        } else if (key == QLatin1String("text")) {
            m.text = n;
        } else if (key == QLatin1String("ref")) {
            m.reference = n;
        }
    }
    return m;
}
