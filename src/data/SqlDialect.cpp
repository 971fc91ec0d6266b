#include "data/SqlDialect.h"

#include "data/HistoryLog.h"
#include "platform/Format.h"
#include "platform/ProgramLocale.h"
#include "platform/VbError.h"

#include <sqlite3.h>

namespace SqlDialect {

namespace {

QString dateLiteral(const QString& inner)
{
    const auto date = ParseDate(inner.trimmed());
    if (!date)
        throw VbError(VbErr::SyntaxError, QLatin1Char('#') + inner + QLatin1Char('#'));
    return QLatin1Char('\'') + ProgramLocale::formatIsoDateTime(*date) + QLatin1Char('\'');
}

// Copies a quoted run starting at sql[i] (the opening quote) into out, with
// the quote character replaced by '; returns the index after the closing quote.
qsizetype copyQuoted(const QString& sql, qsizetype i, QString& out)
{
    const QChar quote = sql[i];
    out += QLatin1Char('\'');
    for (++i; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote) { // doubled quote: one literal quote
                out += (quote == u'\'') ? QStringLiteral("''") : QString(quote);
                ++i;
                continue;
            }
            out += QLatin1Char('\'');
            return i + 1;
        }
        if (c == u'\'' && quote == u'"')
            out += QStringLiteral("''");
        else
            out += c;
    }
    throw VbError(VbErr::SyntaxError, sql);
}

} // namespace

QString Translate(const QString& sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            i = copyQuoted(sql, i, out);
        } else if (c == u'[') {
            const qsizetype end = sql.indexOf(u']', i);
            if (end < 0)
                throw VbError(VbErr::SyntaxError, sql);
            out += QStringView(sql).mid(i, end - i + 1);
            i = end + 1;
        } else if (c == u'#') {
            const qsizetype end = sql.indexOf(u'#', i + 1);
            if (end < 0)
                throw VbError(VbErr::SyntaxError, sql);
            out += dateLiteral(sql.mid(i + 1, end - i - 1));
            i = end + 1;
        } else if (c == u'-' && i + 1 < sql.size() && sql[i + 1] == u'-') {
            qsizetype end = sql.indexOf(u'\n', i);
            if (end < 0)
                end = sql.size();
            out += QStringView(sql).mid(i, end - i);
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

namespace {

void lastStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    auto** slot =
        static_cast<sqlite3_value**>(sqlite3_aggregate_context(ctx, sizeof(sqlite3_value*)));
    if (!slot)
        return sqlite3_result_error_nomem(ctx);
    sqlite3_value_free(*slot);
    *slot = sqlite3_value_dup(argv[0]);
}

void lastFinal(sqlite3_context* ctx)
{
    auto** slot = static_cast<sqlite3_value**>(sqlite3_aggregate_context(ctx, 0));
    if (!slot || !*slot)
        return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, *slot);
    sqlite3_value_free(*slot);
    *slot = nullptr;
}

} // namespace

void RegisterFunctions(sqlite3* db)
{
    sqlite3_create_function_v2(db, "Last", 1, SQLITE_UTF8, nullptr, nullptr, lastStep, lastFinal,
                               nullptr);
    HistoryLog::RegisterFunctions(db);
}

} // namespace SqlDialect
