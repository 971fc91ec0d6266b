#include "statements/StatementReaders.h"
#include "statements/StatementValues.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

struct Field
{
    QString tag;
    QString value; // continuation lines joined by "\n"
    int line = 0;
};

// MT940 writes amounts with a decimal comma and may leave the decimals out
// ("12,").
std::optional<Currency> swiftAmount(QString text)
{
    if (text.endsWith(QLatin1Char(','))) {
        text.append(QLatin1Char('0'));
    }
    return StatementValues::readAmount(text, QLatin1Char(','));
}

QDate swiftDate(const QString& text, int line)
{
    const auto date = StatementValues::readDate(text, u"yyMMdd");
    if (!date) {
        throw StatementError(line, QStringLiteral("the date %1 is not a date").arg(text));
    }
    return *date;
}

Currency balance(const Field& f)
{
    static const QRegularExpression shape(QStringLiteral("^([CD])(\\d{6})([A-Z]{3})([0-9,]+)$"));
    const auto m = shape.match(f.value.trimmed());
    const auto amount = m.hasMatch() ? swiftAmount(m.captured(4)) : std::nullopt;
    if (!amount) {
        throw StatementError(f.line, QStringLiteral("the balance %1 cannot be read").arg(f.value));
    }
    swiftDate(m.captured(2), f.line);
    return m.captured(1) == QLatin1String("D") ? -*amount : *amount;
}

// The text of an :86: field. German banks structure it in "?nn" subfields
// (a three-digit business code first): ?20..?29 and ?60..?63 hold the purpose,
// ?32 and ?33 the counterparty's name. Line breaks there only wrap the field,
// so they are dropped, and so are the subfield marks between purpose parts;
// in free text a line break stands for a blank.
void readPurpose(const QString& value, StatementLine& line)
{
    static const QRegularExpression structured(QStringLiteral("^\\d{3}\\?"));
    if (!structured.match(value).hasMatch()) {
        line.text = value.simplified();
        return;
    }
    const QString joined = QString(value).remove(QLatin1Char('\n'));
    QStringList purpose;
    QString name;
    const QStringList parts = joined.split(QLatin1Char('?'));
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.size() < 2) {
            continue;
        }
        const int code = part.left(2).toInt();
        const QString content = part.mid(2);
        if ((code >= 20 && code <= 29) || (code >= 60 && code <= 63)) {
            purpose.append(content);
        } else if (code == 32 || code == 33) {
            name.append(content);
        }
    }
    // The subfields cut the text at fixed widths, inside words too.
    line.text = purpose.join(QString()).simplified();
    line.counterparty = name.simplified();
}

StatementLine entry(const Field& f, const QString& account)
{
    // value date, optional entry date MMDD, direction (R for a reversal), the
    // third letter of the currency code, amount, N + type, customer reference,
    // "//" and the bank's reference; a second line of details.
    static const QRegularExpression shape(QStringLiteral(
        "^(\\d{6})(\\d{4})?(R?[CD])([A-Z])?([0-9,]+)([NF][A-Z0-9]{3})([^/\\n]*)(//([^\\n]*))?"));
    const auto m = shape.match(f.value);
    if (!m.hasMatch()) {
        throw StatementError(f.line, QStringLiteral("the entry %1 cannot be read")
                                         .arg(f.value.section(QLatin1Char('\n'), 0, 0)));
    }
    StatementLine line;
    line.sourceLine = f.line;
    line.account = account;
    const QDate valueDate = swiftDate(m.captured(1), f.line);
    line.date = valueDate;
    if (m.capturedLength(2) > 0) {
        const QString md = m.captured(2);
        int year = valueDate.year();
        const int month = md.left(2).toInt();
        if (month == 12 && valueDate.month() == 1) {
            --year;
        } else if (month == 1 && valueDate.month() == 12) {
            ++year;
        }
        line.date = QDate(year, month, md.mid(2).toInt());
        if (!line.date.isValid()) {
            throw StatementError(f.line,
                                 QStringLiteral("the booking date %1 is not a date").arg(md));
        }
    }
    const auto amount = swiftAmount(m.captured(5));
    if (!amount) {
        throw StatementError(f.line,
                             QStringLiteral("the amount %1 is not a number").arg(m.captured(5)));
    }
    const QString direction = m.captured(3);
    // D pays out, C receives; a reversal (RD, RC) undoes the opposite.
    const bool out = direction == QLatin1String("D") || direction == QLatin1String("RC");
    line.amount = out ? -*amount : *amount;
    const QString bankRef = m.captured(9).trimmed();
    const QString customerRef = m.captured(7).trimmed();
    if (!bankRef.isEmpty() && bankRef != QLatin1String("NONREF")) {
        line.reference = bankRef;
    } else if (!customerRef.isEmpty() && customerRef != QLatin1String("NONREF")) {
        line.reference = customerRef;
    }
    return line;
}

QList<Field> fields(const QString& text)
{
    static const QRegularExpression tag(QStringLiteral("^:(\\d\\d[A-Z]?):"));
    QList<Field> result;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString l = lines[i];
        if (l.endsWith(QLatin1Char('\r'))) {
            l.chop(1);
        }
        // SWIFT envelope blocks and the end-of-message "-" are no fields.
        if (l.startsWith(QLatin1Char('{'))) {
            const qsizetype body = l.indexOf(QLatin1String("{4:"));
            if (body < 0) {
                continue;
            }
            l = l.mid(body + 3);
            if (l.isEmpty()) {
                continue;
            }
        }
        if (l == QLatin1String("-") || l == QLatin1String("-}")) {
            continue;
        }
        const auto m = tag.match(l);
        if (m.hasMatch()) {
            result.append(Field{m.captured(1), l.mid(m.capturedLength(0)), int(i + 1)});
        } else if (!result.isEmpty()) {
            result.last().value.append(QLatin1Char('\n') + l);
        } else if (!l.trimmed().isEmpty()) {
            throw StatementError(int(i + 1), QStringLiteral("the line is not an MT940 field"));
        }
    }
    return result;
}

} // namespace

namespace StatementReaders {

Statement readMt940(const QByteArray& content)
{
    // SWIFT's character set is ASCII; banks write their national letters in
    // ISO-8859-1 or UTF-8.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(content);
    if (utf8.hasError()) {
        text = QString::fromLatin1(content);
    }
    Statement statement;
    QString account;
    bool sawEntryField = false;
    StatementLine* last = nullptr;
    for (const Field& f : fields(text)) {
        if (f.tag == QLatin1String("25")) {
            account = f.value.trimmed();
        } else if (f.tag == QLatin1String("60F") || f.tag == QLatin1String("60M")) {
            const Currency opening = balance(f);
            if (!statement.opening) {
                statement.opening = opening;
            }
        } else if (f.tag == QLatin1String("62F") || f.tag == QLatin1String("62M")) {
            statement.closing = balance(f);
        } else if (f.tag == QLatin1String("61")) {
            statement.lines.append(entry(f, account));
            last = &statement.lines.last();
            sawEntryField = true;
        } else if (f.tag == QLatin1String("86") && last) {
            readPurpose(f.value, *last);
            last = nullptr;
        } else if (f.tag == QLatin1String("20")) {
            last = nullptr;
            sawEntryField = true;
        }
    }
    if (!sawEntryField) {
        throw StatementError(0, QStringLiteral("the file holds no MT940 statement"));
    }
    return statement;
}

} // namespace StatementReaders
