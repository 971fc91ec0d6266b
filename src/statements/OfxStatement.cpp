#include "statements/StatementReaders.h"

#include <QDateTime>
#include <QFile>

#include <libofx/libofx.h>

namespace {

struct Collected
{
    Statement statement;
    int transactions = 0;
};

int onTransaction(const struct OfxTransactionData data, void* user)
{
    auto* c = static_cast<Collected*>(user);
    ++c->transactions;
    StatementLine line;
    if (data.amount_valid) {
        // libofx hands the amount over as a double; its shortest decimal
        // text is the amount as the file wrote it.
        line.amount = Currency::fromDouble(data.amount);
    }
    if (data.date_posted_valid) {
        // libofx reads a day without a time as 11:59:59 UTC, so the day in UTC
        // is the one the file wrote, wherever the program runs.
        line.date = QDateTime::fromSecsSinceEpoch(data.date_posted, Qt::UTC).date();
    }
    if (data.name_valid) {
        line.counterparty = QString::fromUtf8(data.name).simplified();
    } else if (data.payee_id_valid) {
        line.counterparty = QString::fromUtf8(data.payee_id).simplified();
    }
    if (data.memo_valid) {
        line.text = QString::fromUtf8(data.memo).simplified();
    }
    if (data.fi_id_valid) {
        line.reference = QString::fromUtf8(data.fi_id).trimmed();
    }
    if (data.account_id_valid) {
        line.account = QString::fromUtf8(data.account_id);
    }
    line.sourceLine = 0;
    if (!data.amount_valid || !data.date_posted_valid) {
        line.date = QDate();
    }
    c->statement.lines.append(line);
    return 0;
}

int onStatement(const struct OfxStatementData data, void* user)
{
    auto* c = static_cast<Collected*>(user);
    if (data.ledger_balance_valid) {
        c->statement.closing = Currency::fromDouble(data.ledger_balance);
    }
    return 0;
}

} // namespace

namespace StatementReaders {

Statement readOfx(const QString& path)
{
    // libofx reports on the console unless told not to.
    ofx_PARSER_msg = false;
    ofx_DEBUG_msg = false;
    ofx_WARNING_msg = false;
    ofx_ERROR_msg = false;
    ofx_INFO_msg = false;
    ofx_STATUS_msg = false;
    Collected collected;
    LibofxContextPtr context = libofx_get_new_context();
    ofx_set_transaction_cb(context, onTransaction, &collected);
    ofx_set_statement_cb(context, onStatement, &collected);
    const QByteArray file = QFile::encodeName(path);
    const int result = libofx_proc_file(context, file.constData(), AUTODETECT);
    libofx_free_context(context);
    if (result != 0) {
        throw StatementError(0, QStringLiteral("the OFX file cannot be read"));
    }
    if (collected.transactions == 0) {
        throw StatementError(0, QStringLiteral("the OFX file holds no transactions"));
    }
    int n = 0;
    for (const StatementLine& line : collected.statement.lines) {
        ++n;
        if (!line.date.isValid()) {
            throw StatementError(0,
                                 QStringLiteral("transaction %1 has no date or no amount").arg(n));
        }
    }
    return collected.statement;
}

} // namespace StatementReaders
