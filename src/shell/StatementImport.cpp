#include "shell/StatementImport.h"

#include "data/History.h"
#include "data/ImportedLines.h"
#include "data/Ledger.h"
#include "platform/VbError.h"
#include "statements/StatementValues.h"

#include <QCryptographicHash>
#include <QSet>

namespace {

constexpr int RelationLimit = 50;
constexpr int DescriptionLimit = 100;

} // namespace

QString ImportLineKey(const StatementLine& line)
{
    if (!line.reference.isEmpty())
        return QStringLiteral("ref:%1:%2").arg(line.account, line.reference);
    const QString identity =
        QStringList{line.account, line.date.toString(Qt::ISODate),
                    StatementValues::plainAmount(line.amount), line.counterparty, line.text}
            .join(QChar(0x1f));
    return QStringLiteral("fp:") +
           QString::fromLatin1(
               QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha1).toHex());
}

QList<ImportLine> PlanImport(Database& db, qint64 businessId, bool cash, const Statement& statement)
{
    ImportedLines imported(db);
    QSet<QString> known = imported.keys(businessId);
    const QHash<QString, qint64> lastUsed = imported.lastCategoryByRelation(businessId, cash);
    QSet<qint64> allowed;
    for (const Ledger::Category& c : Ledger(db).sheetCategories(businessId, cash ? 1 : 2))
        allowed.insert(c.id);
    QList<ImportLine> lines;
    lines.reserve(statement.lines.size());
    for (const StatementLine& l : statement.lines) {
        ImportLine line{l, ImportLineKey(l)};
        if (known.contains(line.key)) {
            line.state = ImportLine::State::AlreadyImported;
        } else {
            // A line twice in one file (statements that overlap, joined)
            // is stored once.
            known.insert(line.key);
            const qint64 proposal = lastUsed.value(l.counterparty.trimmed().toLower());
            if (proposal && allowed.contains(proposal)) {
                line.categoryId = proposal;
                line.state = ImportLine::State::New;
            }
        }
        lines.append(line);
    }
    return lines;
}

int PickCategory(QList<ImportLine>& lines, qsizetype index, qint64 categoryId)
{
    if (index < 0 || index >= lines.size() ||
        lines[index].state == ImportLine::State::AlreadyImported)
        return 0;
    const QString counterparty = lines[index].line.counterparty.trimmed();
    lines[index].categoryId = categoryId;
    lines[index].state = ImportLine::State::New;
    int n = 1;
    for (qsizetype i = 0; i < lines.size() && !counterparty.isEmpty(); ++i) {
        ImportLine& line = lines[i];
        if (i == index || line.state != ImportLine::State::NeedsCategory ||
            line.line.counterparty.trimmed().compare(counterparty, Qt::CaseInsensitive) != 0)
            continue;
        line.categoryId = categoryId;
        line.state = ImportLine::State::New;
        ++n;
    }
    return n;
}

ImportOutcome ApplyImport(Database& db, qint64 businessId, bool cash,
                          const QList<ImportLine>& lines)
{
    Ledger ledger(db);
    ImportedLines imported(db);
    QHash<qint64, bool> receives; // category -> receives money, allowed on the sheet
    for (const Ledger::Category& c : ledger.sheetCategories(businessId, cash ? 1 : 2))
        receives.insert(c.id, ledger.categoryReceivesMoney(c.id).value_or(false));
    ImportOutcome outcome;
    qsizetype fresh = 0;
    for (const ImportLine& line : lines)
        fresh += line.state == ImportLine::State::New ? 1 : 0;
    // One step of the history: one Undo takes the whole import back, and a
    // failure part way stores nothing.
    HistoryStep step(db, fresh == 1
                             ? QStringLiteral("import of 1 bank statement line")
                             : QStringLiteral("import of %1 bank statement lines").arg(fresh));
    for (const ImportLine& line : lines) {
        if (line.state != ImportLine::State::New) {
            ++outcome.skipped;
            continue;
        }
        if (!receives.contains(line.categoryId))
            throw VbError(
                VbErr::InvalidCall, QString(),
                QStringLiteral("category %1 is not allowed on this sheet").arg(line.categoryId));
        Ledger::Transaction t;
        t.date = line.line.date;
        t.cash = cash;
        t.businessId = businessId;
        t.categoryId = line.categoryId;
        t.moneyIn = receives.value(line.categoryId);
        // Money received counts up a receiving category and down a paying one.
        t.amount = t.moneyIn ? line.line.amount : -line.line.amount;
        t.relation = line.line.counterparty;
        t.description = line.line.text;
        auto note = [&](const char* what, int limit) {
            outcome.notes << QStringLiteral("line %1: the %2 was cut to %3 characters")
                                 .arg(line.line.sourceLine)
                                 .arg(QLatin1String(what))
                                 .arg(limit);
        };
        if (t.relation.size() > RelationLimit) {
            t.relation.truncate(RelationLimit);
            note("counterparty", RelationLimit);
        }
        if (t.description.size() > DescriptionLimit) {
            t.description.truncate(DescriptionLimit);
            note("text", DescriptionLimit);
        }
        const qint64 id = ledger.storeTransaction(t).id;
        imported.add(businessId, line.key, id);
        ++outcome.imported;
    }
    return outcome;
}
