#include "statements/CsvText.h"

#include "statements/StatementLine.h"

namespace CsvText {

QList<Record> read(const QString& text, QChar separator)
{
    QList<Record> records;
    Record current{{}, 1};
    QString value;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool atFieldStart = true;
    auto endRecord = [&] {
        current.fields.append(value);
        value.clear();
        records.append(current);
        current = Record{{}, line};
        atFieldStart = true;
    };
    while (i < n) {
        const QChar c = text[i];
        if (atFieldStart && c == QLatin1Char('"')) {
            const int startLine = line;
            ++i;
            for (;;) {
                if (i >= n) {
                    throw StatementError(startLine, QStringLiteral("a quoted field is not closed"));
                }
                const QChar q = text[i];
                if (q == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        value.append(q);
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (q == QLatin1Char('\n') ||
                    (q == QLatin1Char('\r') && (i + 1 >= n || text[i + 1] != QLatin1Char('\n')))) {
                    ++line;
                }
                value.append(q);
                ++i;
            }
            if (i < n && text[i] != separator && text[i] != QLatin1Char('\r') &&
                text[i] != QLatin1Char('\n')) {
                throw StatementError(line, QStringLiteral("text follows a closing quote"));
            }
            atFieldStart = false;
            continue;
        }
        atFieldStart = false;
        if (c == separator) {
            current.fields.append(value);
            value.clear();
            atFieldStart = true;
            ++i;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            i += (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ? 2 : 1;
            ++line;
            endRecord();
        } else {
            value.append(c);
            ++i;
        }
    }
    if (!value.isEmpty() || !current.fields.isEmpty()) {
        endRecord();
    }
    return records;
}

QString field(const QString& value, QChar separator)
{
    if (!value.contains(separator) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r'))) {
        return value;
    }
    QString quoted = value;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString record(const QStringList& values, QChar separator)
{
    QString out;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0) {
            out.append(separator);
        }
        out.append(field(values[i], separator));
    }
    out.append(QLatin1String("\r\n"));
    return out;
}

} // namespace CsvText
