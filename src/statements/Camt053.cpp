#include "statements/StatementReaders.h"
#include "statements/StatementValues.h"

#include <QXmlStreamReader>

#include <memory>
#include <vector>

namespace {

// The parsed document as a small tree; camt files are a few MB at most.
struct Node
{
    QString name;
    QString text;
    int line = 0;
    std::vector<std::unique_ptr<Node>> children;

    const Node* child(QStringView n) const
    {
        for (const auto& c : children) {
            if (c->name == n) {
                return c.get();
            }
        }
        return nullptr;
    }
    // "A/B/C": the first match along the path.
    const Node* at(QStringView path) const
    {
        const Node* node = this;
        for (const auto part : path.split(u'/')) {
            node = node ? node->child(part) : nullptr;
        }
        return node;
    }
    QString textAt(QStringView path) const
    {
        const Node* n = at(path);
        return n ? n->text.trimmed() : QString();
    }
    std::vector<const Node*> all(QStringView n) const
    {
        std::vector<const Node*> result;
        for (const auto& c : children) {
            if (c->name == n) {
                result.push_back(c.get());
            }
        }
        return result;
    }
};

std::unique_ptr<Node> parse(const QByteArray& content)
{
    QXmlStreamReader xml(content);
    auto root = std::make_unique<Node>();
    std::vector<Node*> stack{root.get()};
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            auto node = std::make_unique<Node>();
            node->name = xml.name().toString();
            node->line = int(xml.lineNumber());
            Node* raw = node.get();
            stack.back()->children.push_back(std::move(node));
            stack.push_back(raw);
            break;
        }
        case QXmlStreamReader::EndElement:
            stack.pop_back();
            break;
        case QXmlStreamReader::Characters:
            stack.back()->text += xml.text();
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        const QString reason =
            xml.error() == QXmlStreamReader::PrematureEndOfDocumentError
                ? QStringLiteral("the file ends before its XML is complete")
                : QStringLiteral("the XML is not well-formed: %1").arg(xml.errorString());
        throw StatementError(int(xml.lineNumber()), reason);
    }
    return root;
}

Currency amountOf(const Node* amt, const Node* where)
{
    const auto amount =
        amt ? StatementValues::readAmount(amt->text, QLatin1Char('.')) : std::nullopt;
    if (!amount) {
        throw StatementError(amt ? amt->line : where->line,
                             amt ? QStringLiteral("the amount %1 is not a number").arg(amt->text)
                                 : QStringLiteral("the amount is missing"));
    }
    return *amount;
}

// Signed from the account holder's side; RvslInd turns the direction round.
Currency signedAmount(const Node* amt, const QString& direction, bool reversal, const Node* where)
{
    const Currency amount = amountOf(amt, where);
    if (direction != QLatin1String("CRDT") && direction != QLatin1String("DBIT")) {
        throw StatementError(
            where->line,
            QStringLiteral("the direction \"%1\" is neither CRDT nor DBIT").arg(direction));
    }
    const bool out = (direction == QLatin1String("DBIT")) != reversal;
    return out ? -amount : amount;
}

QDate dateOf(const Node* entry)
{
    for (const auto path : {u"BookgDt/Dt", u"BookgDt/DtTm", u"ValDt/Dt", u"ValDt/DtTm"}) {
        const Node* n = entry->at(path);
        if (!n) {
            continue;
        }
        const auto date = StatementValues::readDate(n->text.trimmed().left(10), u"yyyy-MM-dd");
        if (!date) {
            throw StatementError(
                n->line, QStringLiteral("the date %1 is not a date").arg(n->text.trimmed()));
        }
        return *date;
    }
    throw StatementError(entry->line, QStringLiteral("the entry has no booking date"));
}

QString partyName(const Node* tx, bool paidOut)
{
    // Paid out: the creditor is the other side; received: the debtor. Newer
    // versions wrap the party in <Pty>.
    const QString role = paidOut ? QStringLiteral("Cdtr") : QStringLiteral("Dbtr");
    for (const QString& path : {QStringLiteral("RltdPties/%1/Nm").arg(role),
                                QStringLiteral("RltdPties/%1/Pty/Nm").arg(role)}) {
        const QString name = tx->textAt(path);
        if (!name.isEmpty()) {
            return name.simplified();
        }
    }
    return QString();
}

QString purpose(const Node* tx)
{
    QStringList parts;
    if (const Node* rmt = tx->child(u"RmtInf")) {
        for (const Node* u : rmt->all(u"Ustrd")) {
            parts.append(u->text.trimmed());
        }
    }
    if (parts.isEmpty()) {
        parts.append(tx->textAt(u"AddtlTxInf"));
    }
    return parts.join(QLatin1Char(' ')).simplified();
}

bool isBooked(const Node* entry)
{
    const QString status = entry->at(u"Sts/Cd") ? entry->textAt(u"Sts/Cd") : entry->textAt(u"Sts");
    return status.isEmpty() || status == QLatin1String("BOOK");
}

void readEntry(const Node* entry, const QString& account, QList<StatementLine>& lines)
{
    const QString direction = entry->textAt(u"CdtDbtInd");
    const bool reversal = entry->textAt(u"RvslInd") == QLatin1String("true");
    const Currency total = signedAmount(entry->child(u"Amt"), direction, reversal, entry);
    const QDate date = dateOf(entry);
    const QString entryRef = entry->textAt(u"AcctSvcrRef");
    const QString entryText = entry->textAt(u"AddtlNtryInf").simplified();

    std::vector<const Node*> details;
    for (const Node* d : entry->all(u"NtryDtls")) {
        for (const Node* tx : d->all(u"TxDtls")) {
            details.push_back(tx);
        }
    }
    auto txAmount = [](const Node* tx) {
        const Node* a = tx->at(u"AmtDtls/TxAmt/Amt");
        return a ? a : tx->child(u"Amt");
    };
    bool split = details.size() > 1;
    for (const Node* tx : details) {
        split = split && txAmount(tx);
    }
    if (!split) {
        StatementLine line{date, total, {}, {}, entryRef, account, entry->line};
        if (details.size() == 1) {
            line.counterparty = partyName(details.front(), total < Currency());
            line.text = purpose(details.front());
            if (line.reference.isEmpty()) {
                line.reference = details.front()->textAt(u"Refs/AcctSvcrRef");
            }
        }
        if (line.text.isEmpty()) {
            line.text = entryText;
        }
        lines.append(line);
        return;
    }
    // A batch: one line per transaction, which must add up to the entry.
    Currency sum;
    int n = 0;
    for (const Node* tx : details) {
        ++n;
        const QString txDirection = tx->child(u"CdtDbtInd") ? tx->textAt(u"CdtDbtInd") : direction;
        const Currency amount = signedAmount(txAmount(tx), txDirection, reversal, tx);
        sum += amount;
        QString ref = tx->textAt(u"Refs/AcctSvcrRef");
        if (ref.isEmpty() && !entryRef.isEmpty()) {
            ref = QStringLiteral("%1/%2").arg(entryRef).arg(n);
        }
        StatementLine line{date,    amount,  partyName(tx, amount < Currency()), purpose(tx), ref,
                           account, tx->line};
        if (line.text.isEmpty()) {
            line.text = entryText;
        }
        lines.append(line);
    }
    if (sum != total) {
        throw StatementError(
            entry->line,
            QStringLiteral("the transactions of the batch add up to %1, not %2")
                .arg(StatementValues::plainAmount(sum), StatementValues::plainAmount(total)));
    }
}

std::optional<Currency> balanceOf(const Node* stmt, QStringView code)
{
    for (const Node* bal : stmt->all(u"Bal")) {
        if (bal->textAt(u"Tp/CdOrPrtry/Cd") == code) {
            return signedAmount(bal->child(u"Amt"), bal->textAt(u"CdtDbtInd"), false, bal);
        }
    }
    return std::nullopt;
}

} // namespace

namespace StatementReaders {

Statement readCamt053(const QByteArray& content)
{
    const auto root = parse(content);
    const Node* doc = root->child(u"Document");
    const Node* report = doc ? doc->child(u"BkToCstmrStmt") : nullptr;
    if (!report) {
        throw StatementError(doc ? doc->line : 1,
                             QStringLiteral("the file is not a camt.053 bank statement"));
    }
    Statement statement;
    for (const Node* stmt : report->all(u"Stmt")) {
        QString account = stmt->textAt(u"Acct/Id/IBAN");
        if (account.isEmpty()) {
            account = stmt->textAt(u"Acct/Id/Othr/Id");
        }
        if (!statement.opening) {
            statement.opening = balanceOf(stmt, u"OPBD");
        }
        if (const auto closing = balanceOf(stmt, u"CLBD")) {
            statement.closing = closing;
        }
        for (const Node* entry : stmt->all(u"Ntry")) {
            if (isBooked(entry)) {
                readEntry(entry, account, statement.lines);
            }
        }
    }
    return statement;
}

} // namespace StatementReaders
