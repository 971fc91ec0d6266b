#include "reports/ReportDefinition.h"

#include <QFile>
#include <QRegularExpression>

// The report file is read line by line. A line is a keyword and its words;
// a word with blanks is written in double quotes ("" is one quote inside).
// Lines starting with # are comments; blank lines and indentation do not matter.

namespace {

struct Token
{
    QString text;
    bool quoted = false;
};

[[noreturn]] void fail(int line, const QString& message)
{
    throw ReportFileError(line, message);
}

QList<Token> tokenize(const QString& line, int lineNo)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        if (line[i].isSpace()) {
            ++i;
            continue;
        }
        Token token;
        if (line[i] == u'"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == u'"') {
                    if (i + 1 < line.size() && line[i + 1] == u'"') {
                        token.text += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                token.text += line[i++];
            }
            if (!closed)
                fail(lineNo, QStringLiteral("a text in quotes is not closed"));
        } else {
            while (i < line.size() && !line[i].isSpace())
                token.text += line[i++];
        }
        tokens << token;
    }
    return tokens;
}

bool isIdentifier(const QString& text)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return identifier.match(text).hasMatch();
}

QString fieldName(const QString& text, int lineNo)
{
    if (!isIdentifier(text))
        fail(lineNo, QStringLiteral("\"%1\" is not a field name").arg(text));
    return text;
}

void checkDatePattern(const QString& pattern, int lineNo)
{
    if (pattern.isEmpty())
        fail(lineNo, QStringLiteral("a date pattern is empty"));
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern[i];
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        const bool ok = (c == u'd' && run <= 2) || (c == u'M' && run <= 3) ||
                        (c == u'y' && (run == 2 || run == 4)) ||
                        QStringLiteral(" /.-,").contains(c);
        if (!ok)
            fail(lineNo, QStringLiteral("\"%1\" is not a date pattern (use d, dd, M, MM, MMM, "
                                        "yy, yyyy and / . - , or blanks)")
                             .arg(pattern));
        i += run;
    }
}

void checkNumberPattern(const QString& pattern, int lineNo)
{
    static const QRegularExpression number(QStringLiteral("^(#,##)?0(\\.0*#*)?$"));
    if (!number.match(pattern).hasMatch())
        fail(lineNo, QStringLiteral("\"%1\" is not a number pattern (such as 0, 0.##, #,##0.00)")
                         .arg(pattern));
}

// A format from its keyword and, where the kind takes one, its argument text.
// In a placeholder the yes/no texts are one argument split at "/".
ValueFormat makeFormat(const QString& keyword, const QStringList& args, int lineNo)
{
    ValueFormat format;
    const QString kind = keyword.toLower();
    auto noArgs = [&] {
        if (!args.isEmpty())
            fail(lineNo, QStringLiteral("\"%1\" takes no pattern").arg(keyword));
    };
    if (kind == u"text") {
        noArgs();
    } else if (kind == u"money") {
        noArgs();
        format.kind = ValueFormat::Kind::Money;
    } else if (kind == u"date") {
        format.kind = ValueFormat::Kind::Date;
        format.pattern = args.value(0, QStringLiteral("dd/MMM/yyyy"));
        checkDatePattern(format.pattern, lineNo);
    } else if (kind == u"number") {
        format.kind = ValueFormat::Kind::Number;
        format.pattern = args.value(0, QStringLiteral("0.##"));
        checkNumberPattern(format.pattern, lineNo);
    } else if (kind == u"yesno") {
        if (args.size() != 2)
            fail(lineNo, QStringLiteral("\"yesno\" needs two texts: for yes and for no"));
        format.kind = ValueFormat::Kind::YesNo;
        format.yes = args[0];
        format.no = args[1];
    } else {
        fail(lineNo, QStringLiteral("\"%1\" is not a format (text, date, number, money, yesno)")
                         .arg(keyword));
    }
    return format;
}

bool isFormatKeyword(const QString& word)
{
    static const QStringList keywords{"text", "date", "number", "money", "yesno"};
    return keywords.contains(word.toLower());
}

TextTemplate::Part placeholder(const QString& inside, bool pageFooter, int lineNo)
{
    TextTemplate::Part part;
    QString head = inside.trimmed();
    QString formatText;
    if (const qsizetype colon = head.indexOf(u':'); colon >= 0) {
        formatText = head.mid(colon + 1).trimmed();
        head = head.left(colon).trimmed();
    }
    const QStringList words = head.split(u' ', Qt::SkipEmptyParts);
    const QString first = words.value(0).toLower();
    if (words.size() == 1 && (first == u"page" || first == u"pages")) {
        if (!pageFooter)
            fail(lineNo, QStringLiteral("{%1} can only stand in the page footer").arg(first));
        part.kind =
            first == u"page" ? TextTemplate::Part::Kind::Page : TextTemplate::Part::Kind::Pages;
    } else if (pageFooter) {
        fail(lineNo, QStringLiteral("the page footer can only show {page} and {pages}"));
    } else if (words.size() == 1 && first == u"count") {
        part.kind = TextTemplate::Part::Kind::Count;
    } else if (words.size() == 1 && first == u"period") {
        part.kind = TextTemplate::Part::Kind::Period;
    } else if (words.size() == 2 && (first == u"min" || first == u"max")) {
        part.kind = first == u"min" ? TextTemplate::Part::Kind::Min : TextTemplate::Part::Kind::Max;
        part.text = fieldName(words[1], lineNo);
    } else if (words.size() == 1) {
        part.kind = TextTemplate::Part::Kind::First;
        part.text = fieldName(words[0], lineNo);
    } else {
        fail(lineNo, QStringLiteral("{%1} is not a placeholder").arg(inside));
    }
    if (!formatText.isEmpty()) {
        if (part.kind == TextTemplate::Part::Kind::Page ||
            part.kind == TextTemplate::Part::Kind::Pages ||
            part.kind == TextTemplate::Part::Kind::Count ||
            part.kind == TextTemplate::Part::Kind::Period)
            fail(lineNo, QStringLiteral("{%1} takes no format").arg(inside));
        const qsizetype blank = formatText.indexOf(u' ');
        const QString keyword = blank < 0 ? formatText : formatText.left(blank);
        const QString arg = blank < 0 ? QString() : formatText.mid(blank + 1).trimmed();
        QStringList args;
        if (keyword.compare(u"yesno", Qt::CaseInsensitive) == 0)
            args = arg.split(u'/');
        else if (!arg.isEmpty())
            args << arg;
        part.hasFormat = true;
        part.format = makeFormat(keyword, args, lineNo);
    }
    return part;
}

TextTemplate parseTemplate(const QString& text, bool pageFooter, int lineNo)
{
    TextTemplate result;
    QString literal;
    auto flush = [&] {
        if (!literal.isEmpty()) {
            TextTemplate::Part part;
            part.text = literal;
            result.parts << part;
            literal.clear();
        }
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if ((c == u'{' || c == u'}') && i + 1 < text.size() && text[i + 1] == c) {
            literal += c;
            i += 2;
            continue;
        }
        if (c == u'}')
            fail(lineNo, QStringLiteral("a \"}\" has no \"{\" before it (write }} for a brace)"));
        if (c == u'{') {
            const qsizetype end = text.indexOf(u'}', i + 1);
            if (end < 0)
                fail(lineNo, QStringLiteral("a \"{\" is not closed (write {{ for a brace)"));
            flush();
            result.parts << placeholder(text.mid(i + 1, end - i - 1), pageFooter, lineNo);
            i = end + 1;
            continue;
        }
        literal += c;
        ++i;
    }
    flush();
    return result;
}

class Parser
{
public:
    ReportDefinition parse(const QString& text)
    {
        const QStringList lines = text.split(u'\n');
        for (int n = 0; n < lines.size(); ++n) {
            m_line = n + 1;
            QString line = lines[n];
            if (line.endsWith(u'\r'))
                line.chop(1);
            const QString trimmed = line.trimmed();
            if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
                continue;
            m_tokens = tokenize(trimmed, m_line);
            directive();
        }
        m_line = 0;
        finish();
        return m_def;
    }

private:
    void directive()
    {
        const QString keyword = m_tokens[0].text.toLower();
        if (m_tokens[0].quoted)
            fail(m_line, QStringLiteral("a line starts with a keyword, not with a text in quotes"));
        if (keyword == u"title") {
            once(m_hasTitle);
            m_def.title = single();
        } else if (keyword == u"orientation") {
            once(m_hasOrientation);
            const QString value = single().toLower();
            if (value != u"portrait" && value != u"landscape")
                fail(m_line, QStringLiteral("the orientation is portrait or landscape"));
            m_def.landscape = value == u"landscape";
        } else if (keyword == u"fontsize") {
            once(m_hasFontSize);
            bool ok = false;
            const int size = single().toInt(&ok);
            if (!ok || size < 6 || size > 16)
                fail(m_line, QStringLiteral("the font size is a whole number from 6 to 16"));
            m_def.fontSize = size;
        } else if (keyword == u"pageheader") {
            m_def.pageHeaders << parseTemplate(single(), false, m_line);
        } else if (keyword == u"pagefooter") {
            once(m_hasPageFooter);
            m_def.pageFooter = parseTemplate(single(), true, m_line);
        } else if (keyword == u"column") {
            column();
        } else if (keyword == u"sort") {
            for (const SortKey& key : sortKeys(1))
                m_def.sort << key;
        } else if (keyword == u"group") {
            const QList<SortKey> keys = sortKeys(1);
            if (keys.size() != 1)
                fail(m_line, QStringLiteral("a group is on one field"));
            ReportGroup group;
            group.key = keys[0];
            m_def.groups << group;
        } else if (keyword == u"groupheader") {
            ReportGroup& group = currentGroup();
            if (!group.header.isEmpty())
                fail(m_line, QStringLiteral("this group has a header already"));
            group.header = parseTemplate(single(), false, m_line);
        } else if (keyword == u"groupfooter") {
            ReportGroup& group = currentGroup();
            if (group.hasFooter())
                fail(m_line, QStringLiteral("this group has a footer already"));
            if (m_tokens.size() == 2 && !m_tokens[1].quoted &&
                m_tokens[1].text.compare(u"row", Qt::CaseInsensitive) == 0)
                group.footerRow = true;
            else
                group.footer = parseTemplate(single(), false, m_line);
        } else if (keyword == u"details") {
            once(m_hasDetails);
            const QString value = single().toLower();
            if (value != u"on" && value != u"off")
                fail(m_line, QStringLiteral("details are on or off"));
            m_def.details = value == u"on";
        } else if (keyword == u"summary") {
            summary();
        } else if (keyword == u"empty") {
            once(m_hasEmpty);
            m_def.emptyText = single();
        } else {
            fail(m_line,
                 QStringLiteral("\"%1\" is not a keyword of a report file").arg(m_tokens[0].text));
        }
    }

    void once(bool& seen)
    {
        if (seen)
            fail(m_line, QStringLiteral("\"%1\" is given twice").arg(m_tokens[0].text));
        seen = true;
    }

    // The one word after the keyword.
    QString single()
    {
        if (m_tokens.size() != 2)
            fail(m_line, QStringLiteral("\"%1\" takes one word or one text in quotes")
                             .arg(m_tokens[0].text));
        return m_tokens[1].text;
    }

    ReportGroup& currentGroup()
    {
        if (m_def.groups.isEmpty())
            fail(m_line,
                 QStringLiteral("\"%1\" belongs after a \"group\" line").arg(m_tokens[0].text));
        return m_def.groups.last();
    }

    QList<SortKey> sortKeys(int from)
    {
        QStringList words;
        for (int i = from; i < m_tokens.size(); ++i)
            words << m_tokens[i].text;
        QList<SortKey> keys;
        for (const QString& item : words.join(u' ').split(u',')) {
            const QStringList parts = item.split(u' ', Qt::SkipEmptyParts);
            if (parts.isEmpty() || parts.size() > 2)
                fail(m_line, QStringLiteral("write fields as: Field, Field desc, ..."));
            SortKey key;
            key.field = fieldName(parts[0], m_line);
            if (parts.size() == 2) {
                const QString order = parts[1].toLower();
                if (order != u"asc" && order != u"desc")
                    fail(m_line, QStringLiteral("\"%1\" is not asc or desc").arg(parts[1]));
                key.descending = order == u"desc";
            }
            keys << key;
        }
        return keys;
    }

    void column()
    {
        if (m_tokens.size() < 3)
            fail(m_line, QStringLiteral("write a column as: column \"Caption\" Field format"));
        ReportColumn column;
        column.caption = m_tokens[1].text;
        int i = 2;
        if (!m_tokens[i].quoted && m_tokens[i].text.compare(u"count", Qt::CaseInsensitive) == 0) {
            column.count = true;
            column.right = true;
            columnOptions(column, i + 1);
            m_def.columns << column;
            return;
        }
        QString fields;
        while (i < m_tokens.size() && (m_tokens[i].quoted || !isFormatKeyword(m_tokens[i].text)))
            fields += m_tokens[i++].text;
        if (i == m_tokens.size())
            fail(m_line,
                 QStringLiteral("the column has no format (text, date, number, money, yesno)"));
        for (const QString& field : fields.split(u'+'))
            column.fields << fieldName(field.trimmed(), m_line);
        const QString keyword = m_tokens[i++].text;
        QStringList args;
        const int wanted = keyword.compare(u"yesno", Qt::CaseInsensitive) == 0 ? 2 : 1;
        while (i < m_tokens.size() && m_tokens[i].quoted && args.size() < wanted)
            args << m_tokens[i++].text;
        column.format = makeFormat(keyword, args, m_line);
        const bool money = column.format.kind == ValueFormat::Kind::Money;
        if (column.fields.size() > 1 && !money)
            fail(m_line, QStringLiteral("only a money column adds fields together"));
        column.right = money || column.format.kind == ValueFormat::Kind::Number;
        columnOptions(column, i);
        m_def.columns << column;
    }

    void columnOptions(ReportColumn& column, int i)
    {
        const bool money = column.format.kind == ValueFormat::Kind::Money;
        while (i < m_tokens.size()) {
            const QString option = m_tokens[i].quoted ? QString() : m_tokens[i].text.toLower();
            ++i;
            if (option == u"width") {
                bool ok = false;
                const int width = i < m_tokens.size() ? m_tokens[i++].text.toInt(&ok) : 0;
                if (!ok || width < 1 || width > 200)
                    fail(m_line, QStringLiteral("a width is a whole number from 1 to 200"));
                column.width = width;
            } else if (option == u"total") {
                if (!money || column.count)
                    fail(m_line, QStringLiteral("only a money column has a total"));
                column.total = true;
            } else if (option == u"left" || option == u"right") {
                column.right = option == u"right";
            } else {
                fail(m_line,
                     QStringLiteral("\"%1\" is not a column option (width, total, left, right)")
                         .arg(m_tokens[i - 1].text));
            }
        }
    }

    void summary()
    {
        if (m_tokens.size() < 2)
            fail(m_line, QStringLiteral("write a summary as: summary \"Label\" [if Field | if not "
                                        "Field | signed Field]"));
        SummaryLine line;
        line.label = parseTemplate(m_tokens[1].text, false, m_line);
        QStringList rest;
        for (int i = 2; i < m_tokens.size(); ++i)
            rest << m_tokens[i].text;
        const QString mode = rest.value(0).toLower();
        if (rest.isEmpty()) {
            line.mode = SummaryLine::Mode::All;
        } else if (mode == u"if" && rest.size() == 2) {
            line.mode = SummaryLine::Mode::If;
            line.field = fieldName(rest[1], m_line);
        } else if (mode == u"if" && rest.size() == 3 && rest[1].toLower() == u"not") {
            line.mode = SummaryLine::Mode::IfNot;
            line.field = fieldName(rest[2], m_line);
        } else if (mode == u"signed" && rest.size() == 2) {
            line.mode = SummaryLine::Mode::Signed;
            line.field = fieldName(rest[1], m_line);
        } else {
            fail(m_line, QStringLiteral("a summary ends with nothing, \"if Field\", \"if not "
                                        "Field\" or \"signed Field\""));
        }
        m_def.summaries << line;
    }

    void finish()
    {
        if (!m_hasTitle)
            fail(0, QStringLiteral("the report has no title line"));
        if (m_def.columns.isEmpty())
            fail(0, QStringLiteral("the report has no column lines"));
        if (m_def.firstTotalColumn() == 0) {
            const bool labels =
                !m_def.summaries.isEmpty() ||
                std::any_of(m_def.groups.cbegin(), m_def.groups.cend(),
                            [](const ReportGroup& g) { return !g.footer.isEmpty(); });
            if (labels)
                fail(0, QStringLiteral("footer and summary labels stand before the first total "
                                       "column, so the first column cannot have a total"));
        }
        if (!m_hasPageFooter)
            m_def.pageFooter = parseTemplate(QStringLiteral("Page {page} of {pages}"), true, 0);
        if (!m_hasEmpty)
            m_def.emptyText = QStringLiteral("There are no transactions in this selection.");
    }

    ReportDefinition m_def;
    QList<Token> m_tokens;
    int m_line = 0;
    bool m_hasTitle = false;
    bool m_hasOrientation = false;
    bool m_hasFontSize = false;
    bool m_hasPageFooter = false;
    bool m_hasDetails = false;
    bool m_hasEmpty = false;
};

} // namespace

ReportFileError::ReportFileError(int line, const QString& message)
    : std::runtime_error(message.toStdString()), m_line(line), m_message(message)
{
}

QString ReportFileError::text() const
{
    return m_line > 0 ? QStringLiteral("line %1: %2").arg(m_line).arg(m_message) : m_message;
}

bool TextTemplate::usesPageNumbers() const
{
    return std::any_of(parts.cbegin(), parts.cend(), [](const Part& p) {
        return p.kind == Part::Kind::Page || p.kind == Part::Kind::Pages;
    });
}

QStringList TextTemplate::fields() const
{
    QStringList result;
    for (const Part& part : parts)
        if (part.kind == Part::Kind::First || part.kind == Part::Kind::Min ||
            part.kind == Part::Kind::Max)
            result << part.text;
    return result;
}

QStringList ReportDefinition::fields() const
{
    QStringList all;
    for (const TextTemplate& header : pageHeaders)
        all << header.fields();
    for (const ReportColumn& column : columns)
        all << column.fields;
    for (const ReportGroup& group : groups)
        all << group.key.field << group.header.fields() << group.footer.fields();
    for (const SortKey& key : sort)
        all << key.field;
    for (const SummaryLine& line : summaries) {
        all << line.label.fields();
        if (!line.field.isEmpty())
            all << line.field;
    }
    QStringList unique;
    for (const QString& field : all)
        if (!unique.contains(field, Qt::CaseInsensitive))
            unique << field;
    return unique;
}

int ReportDefinition::firstTotalColumn() const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].total || columns[i].count)
            return i;
    return int(columns.size());
}

ReportDefinition ParseReportFile(const QString& text)
{
    return Parser().parse(text);
}

ReportDefinition LoadReportFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        throw ReportFileError(0, QStringLiteral("The report file %1 does not exist.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ReportFileError(
            0,
            QStringLiteral("The report file %1 cannot be read: %2").arg(path, file.errorString()));
    return ParseReportFile(QString::fromUtf8(file.readAll()));
}
