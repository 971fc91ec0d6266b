#include "statements/CsvText.h"
#include "statements/StatementReaders.h"
#include "statements/StatementValues.h"

#include <QStringDecoder>

namespace {

QString decode(QByteArray content, const QString& encoding)
{
    if (content.startsWith("\xEF\xBB\xBF")) {
        content.remove(0, 3);
    }
    if (encoding.compare(QLatin1String("ISO-8859-1"), Qt::CaseInsensitive) == 0) {
        return QString::fromLatin1(content);
    }
    if (encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) != 0) {
        throw StatementError(0, QStringLiteral("the encoding %1 is not known").arg(encoding));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(content);
    if (utf8.hasError()) {
        // Name the first line that is not UTF-8, decoding line by line.
        int line = 1;
        for (const QByteArray& l : content.split('\n')) {
            QStringDecoder probe(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString decoded = probe(l);
            if (probe.hasError()) {
                break;
            }
            ++line;
        }
        throw StatementError(line, QStringLiteral("the text is not UTF-8; choose ISO-8859-1"));
    }
    return text;
}

} // namespace

namespace StatementReaders {

Statement readCsv(const QByteArray& content, const CsvMapping& mapping)
{
    if (mapping.date < 0 || (mapping.amount < 0 && (mapping.debit < 0 || mapping.credit < 0))) {
        throw StatementError(0, QStringLiteral("the mapping names no date or no amount column"));
    }
    const auto records = CsvText::read(decode(content, mapping.encoding), mapping.separator);
    Statement statement;
    for (qsizetype r = mapping.headerRows; r < records.size(); ++r) {
        const CsvText::Record& record = records[r];
        bool blank = true;
        for (const QString& f : record.fields) {
            blank = blank && f.trimmed().isEmpty();
        }
        if (blank) {
            continue;
        }
        auto column = [&](int index, const char* what) -> QString {
            if (index < 0) {
                return QString();
            }
            if (index >= record.fields.size()) {
                throw StatementError(
                    record.line, QStringLiteral("the %1 column (%2) is missing: the line has %3")
                                     .arg(QLatin1String(what))
                                     .arg(index + 1)
                                     .arg(record.fields.size()));
            }
            return record.fields[index].trimmed();
        };
        auto amount = [&](int index, const char* what) -> std::optional<Currency> {
            const QString text = column(index, what);
            if (text.isEmpty()) {
                return std::nullopt;
            }
            const auto value = StatementValues::readAmount(text, mapping.decimalMark);
            if (!value) {
                throw StatementError(record.line,
                                     QStringLiteral("the amount %1 is not a number").arg(text));
            }
            return value;
        };
        StatementLine line;
        line.sourceLine = record.line;
        const QString dateText = column(mapping.date, "date");
        const auto date = StatementValues::readDate(dateText, mapping.datePattern);
        if (!date) {
            throw StatementError(record.line, QStringLiteral("the date %1 is not a date (%2)")
                                                  .arg(dateText, mapping.datePattern));
        }
        line.date = *date;
        if (mapping.amount >= 0) {
            const auto value = amount(mapping.amount, "amount");
            if (!value) {
                throw StatementError(record.line, QStringLiteral("the amount is empty"));
            }
            line.amount = *value;
        } else {
            const auto debit = amount(mapping.debit, "debit");
            const auto credit = amount(mapping.credit, "credit");
            if (!debit && !credit) {
                throw StatementError(record.line,
                                     QStringLiteral("both debit and credit are empty"));
            }
            // Debit columns hold money paid out, with or without a minus.
            const Currency out = debit ? (*debit < Currency() ? -*debit : *debit) : Currency();
            line.amount = credit.value_or(Currency()) - out;
        }
        line.counterparty = column(mapping.counterparty, "counterparty").simplified();
        line.text = column(mapping.text, "description").simplified();
        line.reference = column(mapping.reference, "reference");
        statement.lines.append(line);
    }
    return statement;
}

} // namespace StatementReaders
