#include "reports/ReportData.h"

#include "data/Ledger.h"
#include "data/Recordset.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"

#include <QHash>

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace {

struct Row
{
    std::vector<Variant> values;                // by field slot
    std::vector<std::optional<Currency>> money; // by column; set for money columns
};

using Rows = std::span<const Row* const>;

// Texts on a report stay on their line.
QString oneLine(QString text)
{
    for (QChar& c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

// Orders Null first, then numbers (and Booleans, False before True), dates
// and texts (without regard to case).
int rank(const Variant& v)
{
    switch (v.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return 0;
    case Variant::Type::Boolean:
    case Variant::Type::Long:
    case Variant::Type::Double:
    case Variant::Type::Currency:
        return 1;
    case Variant::Type::Date:
        return 2;
    case Variant::Type::String:
        return 3;
    }
    return 3;
}

// A value reduced to what ordering needs: made once per row and key before a
// sort, so that comparing does no conversions.
struct OrderKey
{
    int rank = 0;
    double number = 0; // numbers, Booleans, and dates as day numbers with the time as a fraction
    QString text;
};

OrderKey orderKey(const Variant& v)
{
    OrderKey key;
    key.rank = rank(v);
    switch (key.rank) {
    case 1:
        key.number = v.toDouble();
        break;
    case 2: {
        // Day and time as written, without time zones: the store keeps no zone.
        const QDateTime when = v.toDate();
        key.number =
            double(when.date().toJulianDay()) + when.time().msecsSinceStartOfDay() / 86400000.0;
        break;
    }
    case 3:
        key.text = v.toText();
        break;
    default:
        break;
    }
    return key;
}

int compareKeys(const OrderKey& a, const OrderKey& b)
{
    if (a.rank != b.rank)
        return a.rank < b.rank ? -1 : 1;
    if (a.rank == 3)
        return QString::compare(a.text, b.text, Qt::CaseInsensitive);
    return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
}

int compareValues(const Variant& a, const Variant& b)
{
    return compareKeys(orderKey(a), orderKey(b));
}

class Builder
{
public:
    Builder(const ReportDefinition& def, Recordset& rs, const ReportContext& context)
        : m_def(def), m_context(context)
    {
        bindFields(rs);
        readRows(rs);
    }

    ReportResult build()
    {
        ReportResult result;
        result.title = m_def.title;
        result.business = m_context.fields.value(QStringLiteral("name")).toText();
        result.period = m_context.period;
        result.landscape = m_def.landscape;
        result.fontSize = m_def.fontSize;
        result.pageFooter = m_def.pageFooter;
        result.rowCount = qint64(m_rows.size());
        for (const ReportColumn& column : m_def.columns) {
            const bool figures = column.count || column.format.kind == ValueFormat::Kind::Money ||
                                 column.format.kind == ValueFormat::Kind::Number;
            result.columns << ReportOutputColumn{column.caption, column.width, column.right,
                                                 figures};
        }

        std::vector<const Row*> order;
        order.reserve(m_rows.size());
        for (const Row& row : m_rows)
            order.push_back(&row);
        sortRows(order);
        const Rows all(order);

        // A header line made only to show fields that are all empty (no VAT
        // number, no rows at all) is left out rather than printed half.
        for (const TextTemplate& header : m_def.pageHeaders) {
            bool shows = header.fields().isEmpty();
            for (const TextTemplate::Part& part : header.parts)
                shows = shows || (part.kind != TextTemplate::Part::Kind::Literal &&
                                  !evaluatePart(part, all).isEmpty());
            if (shows)
                result.pageHeaders << evaluate(header, all);
        }

        if (order.empty()) {
            m_lines << ReportLine{ReportLine::Kind::Message, 0, 1, {m_def.emptyText}};
        } else {
            emitGroups(0, all);
            emitSummaries(all);
        }
        result.lines = std::move(m_lines);
        return result;
    }

private:
    int slot(const QString& field) const { return m_slots.value(field.toLower()); }

    void bindFields(Recordset& rs)
    {
        const QStringList fields = m_def.fields();
        for (const QString& field : fields) {
            try {
                m_recordIndex.push_back(rs.fieldIndex(field));
            } catch (const VbError& e) {
                if (e.number() != VbErr::ItemNotFound)
                    throw;
                throw ReportDataError(
                    QStringLiteral("The report file names the field %1, which the report query "
                                   "does not have.")
                        .arg(field));
            }
            m_slots.insert(field.toLower(), int(m_slots.size()));
        }
        bindVatAmount(rs);
        for (const ReportColumn& column : m_def.columns) {
            std::vector<int> fieldSlots;
            for (const QString& field : column.fields)
                fieldSlots.push_back(slot(field));
            m_columnSlots.push_back(fieldSlots);
        }
    }

    // The query's VatAmount is VAT / 100 * TotalPrice in binary floating
    // point, and rounding that twice (to Currency, then to the cent) can cost
    // a cent: 9,456.76 at 19.6% comes as 1,853.5249600000002, which became
    // 1,853.5250 and then 1,853.53. When the report shows VatAmount and the
    // query has both operands, it is computed again exactly in decimal and
    // rounded once (ProgramLocale::vatOf): 1,853.52.
    void bindVatAmount(Recordset& rs)
    {
        const auto amountSlot =
            m_slots.constFind(QString::fromLatin1(Ledger::ReportVatAmount).toLower());
        if (amountSlot == m_slots.cend())
            return;
        try {
            m_vatIndex = rs.fieldIndex(QString::fromLatin1(Ledger::ReportVatRate));
            m_netIndex = rs.fieldIndex(QString::fromLatin1(Ledger::ReportNetAmount));
        } catch (const VbError& e) {
            if (e.number() != VbErr::ItemNotFound)
                throw;
            return; // a query without them: its VatAmount stands
        }
        m_vatAmountSlot = *amountSlot;
    }

    Variant vatAmount(Recordset& rs) const
    {
        const Variant rate = rs.field(m_vatIndex);
        const Variant net = rs.field(m_netIndex);
        if (rate.isNull() || net.isNull())
            return Variant::null();
        return Variant(ProgramLocale::vatOf(net.toCurrency(), rate.toDouble()));
    }

    void readRows(Recordset& rs)
    {
        const int columns = int(m_def.columns.size());
        while (!rs.EOF_()) {
            Row row;
            row.values.reserve(m_recordIndex.size());
            for (int index : m_recordIndex)
                row.values.push_back(rs.field(index));
            if (m_vatAmountSlot >= 0)
                row.values[size_t(m_vatAmountSlot)] = vatAmount(rs);
            row.money.resize(columns);
            for (int c = 0; c < columns; ++c) {
                if (m_def.columns[c].format.kind != ValueFormat::Kind::Money)
                    continue;
                for (int s : m_columnSlots[c]) {
                    const Variant& v = row.values[s];
                    if (v.isNull() || v.isEmpty())
                        continue;
                    row.money[c] =
                        row.money[c].value_or(Currency()) + ProgramLocale::toCents(v.toCurrency());
                }
            }
            m_rows.push_back(std::move(row));
            rs.MoveNext();
        }
    }

    void sortRows(std::vector<const Row*>& order) const
    {
        std::vector<std::pair<int, bool>> keys; // slot, descending
        for (const ReportGroup& group : m_def.groups)
            keys.emplace_back(slot(group.key.field), group.key.descending);
        for (const SortKey& key : m_def.sort)
            keys.emplace_back(slot(key.field), key.descending);
        if (keys.empty())
            return;
        const size_t width = keys.size();
        std::vector<OrderKey> table(m_rows.size() * width);
        for (size_t r = 0; r < m_rows.size(); ++r)
            for (size_t k = 0; k < width; ++k)
                table[r * width + k] = orderKey(m_rows[r].values[keys[k].first]);
        const Row* base = m_rows.data();
        std::stable_sort(order.begin(), order.end(), [&](const Row* a, const Row* b) {
            const OrderKey* ka = &table[size_t(a - base) * width];
            const OrderKey* kb = &table[size_t(b - base) * width];
            for (size_t k = 0; k < width; ++k) {
                const int c = compareKeys(ka[k], kb[k]);
                if (c != 0)
                    return keys[k].second ? c > 0 : c < 0;
            }
            return false;
        });
    }

    ValueFormat defaultFormat(const QString& field, const Variant& sample) const
    {
        for (const ReportColumn& column : m_def.columns)
            if (column.fields.size() == 1 &&
                column.fields[0].compare(field, Qt::CaseInsensitive) == 0)
                return column.format;
        ValueFormat format;
        switch (sample.type()) {
        case Variant::Type::Date:
            format.kind = ValueFormat::Kind::Date;
            format.pattern = QStringLiteral("dd/MMM/yyyy");
            break;
        case Variant::Type::Boolean:
            format.kind = ValueFormat::Kind::YesNo;
            break;
        case Variant::Type::Double:
        case Variant::Type::Currency:
            format.kind = ValueFormat::Kind::Number;
            format.pattern = QStringLiteral("0.##");
            break;
        default:
            break;
        }
        return format;
    }

    QString evaluatePart(const TextTemplate::Part& part, Rows rows) const
    {
        using Kind = TextTemplate::Part::Kind;
        switch (part.kind) {
        case Kind::Literal:
            return part.text;
        case Kind::Count:
            return QString::number(rows.size());
        case Kind::Period:
            return m_context.period.text();
        case Kind::First:
        case Kind::Min:
        case Kind::Max: {
            if (rows.empty()) {
                const auto known = m_context.fields.constFind(part.text.toLower());
                if (known == m_context.fields.cend())
                    return QString();
                return (part.hasFormat ? part.format : defaultFormat(part.text, *known))
                    .apply(*known);
            }
            const int s = slot(part.text);
            const Variant* value = &rows[0]->values[s];
            if (part.kind != Kind::First) {
                for (const Row* row : rows) {
                    const Variant& v = row->values[s];
                    if (v.isNull())
                        continue; // an empty field is no bound of a range
                    const int c = compareValues(v, *value);
                    if (value->isNull() || (part.kind == Kind::Min ? c < 0 : c > 0))
                        value = &v;
                }
            }
            const ValueFormat format =
                part.hasFormat ? part.format : defaultFormat(part.text, *value);
            return format.apply(*value);
        }
        case Kind::Page:
        case Kind::Pages:
            break; // filled in per page by whoever prints
        }
        return QString();
    }

    QString evaluate(const TextTemplate& text, Rows rows) const
    {
        QString out;
        for (const TextTemplate::Part& part : text.parts)
            out += evaluatePart(part, rows);
        return oneLine(out);
    }

    QStringList rowCells(const Row& row) const
    {
        QStringList cells;
        for (int c = 0; c < m_def.columns.size(); ++c) {
            const ReportColumn& column = m_def.columns[c];
            if (column.count)
                cells << QString(); // one row needs no count
            else if (column.format.kind == ValueFormat::Kind::Money)
                cells << (row.money[c] ? ProgramLocale::formatMoney(*row.money[c]) : QString());
            else
                cells << cellText(c, row.values[m_columnSlots[c][0]]);
        }
        return cells;
    }

    // A column's text of a value. Dates repeat from row to row, so each day
    // is formatted once per column.
    QString cellText(int column, const Variant& value) const
    {
        const ValueFormat& format = m_def.columns[column].format;
        if (format.kind != ValueFormat::Kind::Date || value.type() != Variant::Type::Date)
            return oneLine(format.apply(value));
        const qint64 day = value.toDate().date().toJulianDay();
        QHash<qint64, QString>& known = m_dateTexts[column];
        auto it = known.constFind(day);
        if (it == known.cend())
            it = known.insert(day, format.apply(value));
        return *it;
    }

    // The totals of the total columns over rows, with Signed rows counted
    // positive where the slot's field is True and negative otherwise.
    std::vector<Currency> totals(Rows rows, int signSlot = -1) const
    {
        std::vector<Currency> sums(m_def.columns.size());
        for (const Row* row : rows) {
            const bool negative = signSlot >= 0 && !isTrue(row->values[signSlot]);
            for (int c = 0; c < m_def.columns.size(); ++c) {
                if (!m_def.columns[c].total || !row->money[c])
                    continue;
                sums[c] += negative ? -*row->money[c] : *row->money[c];
            }
        }
        return sums;
    }

    static bool isTrue(const Variant& v)
    {
        if (v.isNull() || v.isEmpty())
            return false;
        try {
            return v.toBool();
        } catch (const VbError&) {
            return false;
        }
    }

    // Writes the totals and counts over rows into the cells of their columns
    // from `from` on.
    void putTotals(QStringList& cells, Rows rows, int from, int signSlot = -1) const
    {
        const std::vector<Currency> sums = totals(rows, signSlot);
        for (int c = from; c < m_def.columns.size(); ++c) {
            if (m_def.columns[c].total)
                cells[c] = ProgramLocale::formatMoney(sums[c]);
            else if (m_def.columns[c].count)
                cells[c] = QString::number(rows.size());
        }
    }

    ReportLine labelLine(ReportLine::Kind kind, int level, const QString& label, Rows rows,
                         int signSlot = -1) const
    {
        ReportLine line{kind, level, std::max(1, m_def.firstTotalColumn()), {}};
        line.cells << label;
        for (int c = 1; c < m_def.columns.size(); ++c)
            line.cells << QString();
        putTotals(line.cells, rows, line.span, signSlot);
        return line;
    }

    void emitGroups(int level, Rows rows)
    {
        if (level == m_def.groups.size()) {
            if (m_def.details)
                for (const Row* row : rows)
                    m_lines << ReportLine{ReportLine::Kind::Detail, level, 1, rowCells(*row)};
            return;
        }
        const ReportGroup& group = m_def.groups[level];
        const int s = slot(group.key.field);
        size_t begin = 0;
        while (begin < rows.size()) {
            size_t end = begin + 1;
            while (end < rows.size() &&
                   compareValues(rows[end]->values[s], rows[begin]->values[s]) == 0)
                ++end;
            const Rows run = rows.subspan(begin, end - begin);
            if (!group.header.isEmpty())
                m_lines << ReportLine{
                    ReportLine::Kind::GroupHeader, level, 1, {evaluate(group.header, run)}};
            emitGroups(level + 1, run);
            if (group.footerRow) {
                ReportLine line{ReportLine::Kind::GroupFooter, level, 1, rowCells(*run[0])};
                line.row = true;
                putTotals(line.cells, run, 0);
                m_lines << line;
            } else if (!group.footer.isEmpty()) {
                m_lines << labelLine(ReportLine::Kind::GroupFooter, level,
                                     evaluate(group.footer, run), run);
            }
            begin = end;
        }
    }

    void emitSummaries(Rows all)
    {
        for (const SummaryLine& summary : m_def.summaries) {
            std::vector<const Row*> chosen;
            Rows rows = all;
            int signSlot = -1;
            switch (summary.mode) {
            case SummaryLine::Mode::All:
                break;
            case SummaryLine::Mode::If:
            case SummaryLine::Mode::IfNot: {
                const int s = slot(summary.field);
                const bool wanted = summary.mode == SummaryLine::Mode::If;
                for (const Row* row : all)
                    if (isTrue(row->values[s]) == wanted)
                        chosen.push_back(row);
                rows = Rows(chosen);
                break;
            }
            case SummaryLine::Mode::Signed:
                signSlot = slot(summary.field);
                break;
            }
            m_lines << labelLine(ReportLine::Kind::Summary, 0, evaluate(summary.label, rows), rows,
                                 signSlot);
        }
    }

    const ReportDefinition& m_def;
    const ReportContext& m_context;
    QHash<QString, int> m_slots;    // field name in lower case -> slot
    std::vector<int> m_recordIndex; // slot -> field position in the recordset
    int m_vatAmountSlot = -1;       // the slot of VatAmount when computed here
    int m_vatIndex = -1;            // recordset positions of its operands
    int m_netIndex = -1;
    std::vector<std::vector<int>> m_columnSlots;
    std::vector<Row> m_rows;
    QList<ReportLine> m_lines;
    mutable QHash<int, QHash<qint64, QString>> m_dateTexts; // by column
};

QString fit(const QString& text, int width, bool right)
{
    const QString cut = text.left(width);
    return right ? cut.rightJustified(width) : cut.leftJustified(width);
}

} // namespace

QString ReportResult::pageFooterText(int page, int pages) const
{
    QString out;
    for (const TextTemplate::Part& part : pageFooter.parts) {
        if (part.kind == TextTemplate::Part::Kind::Page)
            out += QString::number(page);
        else if (part.kind == TextTemplate::Part::Kind::Pages)
            out += QString::number(pages);
        else
            out += part.text;
    }
    return out;
}

QString ReportResult::toPlainText() const
{
    QStringList out;
    out << title << pageHeaders << QString();
    std::vector<int> widths;
    for (const ReportOutputColumn& column : columns)
        widths.push_back(column.whole ? std::max(column.width, int(column.caption.size()))
                                      : column.width);
    for (const ReportLine& line : lines) {
        if (line.kind == ReportLine::Kind::GroupHeader || line.kind == ReportLine::Kind::Message)
            continue;
        for (int c = std::max(1, line.span); c < columns.size(); ++c)
            if (columns[c].whole)
                widths[c] = std::max(widths[c], int(line.cells.value(c).size()));
        if (line.span <= 1 && !columns.isEmpty() && columns[0].whole)
            widths[0] = std::max(widths[0], int(line.cells.value(0).size()));
    }
    auto spanWidth = [&widths](int from, int count) {
        int width = count - 1;
        for (int c = from; c < from + count; ++c)
            width += widths[c];
        return width;
    };
    const int lineWidth = spanWidth(0, int(columns.size()));
    auto row = [&](const QStringList& cells, int span) {
        QString text = fit(cells.value(0), spanWidth(0, span), span == 1 && columns[0].right);
        for (int c = span; c < columns.size(); ++c)
            text += u' ' + fit(cells.value(c), widths[c], columns[c].right);
        return text;
    };
    QStringList captions;
    for (const ReportOutputColumn& column : columns)
        captions << column.caption;
    out << row(captions, 1) << QString(lineWidth, u'-');
    bool summaries = false;
    for (const ReportLine& line : lines) {
        switch (line.kind) {
        case ReportLine::Kind::GroupHeader:
            out << QString(line.level * 2, u' ') + line.cells.value(0);
            break;
        case ReportLine::Kind::Message:
            out << line.cells.value(0);
            break;
        case ReportLine::Kind::Summary:
            if (!summaries)
                out << QString(lineWidth, u'=');
            summaries = true;
            out << row(line.cells, line.span);
            break;
        case ReportLine::Kind::Detail:
        case ReportLine::Kind::GroupFooter:
            out << row(line.cells, line.span);
            break;
        }
    }
    QString text;
    for (const QString& line : out) {
        qsizetype end = line.size();
        while (end > 0 && line[end - 1] == u' ')
            --end;
        text += line.left(end) + u'\n';
    }
    return text;
}

ReportContext BusinessReportContext(Ledger& ledger, qint64 businessId, const ReportPeriod& period)
{
    const Ledger::Business business = ledger.business(businessId);
    ReportContext context;
    context.period = period;
    context.setField(QStringLiteral("BusinessId"), Variant(business.id));
    context.setField(QStringLiteral("Name"), Variant(business.name));
    context.setField(QStringLiteral("VATNr"),
                     business.vatNr ? Variant(*business.vatNr) : Variant::null());
    return context;
}

ReportResult BuildReport(const ReportDefinition& definition, Recordset& rows,
                         const ReportContext& context)
{
    return Builder(definition, rows, context).build();
}
