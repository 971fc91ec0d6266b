#pragma once

#include "platform/Currency.h"

#include <QDate>
#include <QList>
#include <QString>

#include <exception>
#include <optional>

// One booked line of a bank statement, whatever the file format. The amount is
// signed from the account holder's side: money received is positive, money
// paid out negative.
struct StatementLine
{
    QDate date;
    Currency amount;
    QString counterparty;
    QString text;
    // The bank's own reference of the line; empty when the format carries none
    // (the import then identifies the line by its fingerprint).
    QString reference;
    // The account the statement is of (IBAN or the bank's account number).
    QString account;
    // 1-based line of the file where the line starts, for messages.
    int sourceLine = 0;
};

struct Statement
{
    QList<StatementLine> lines;
    // Balances where the format states them (sum over every statement in the
    // file: opening of the first, closing of the last).
    std::optional<Currency> opening;
    std::optional<Currency> closing;
};

// A file that cannot be read as a statement. Nothing of it is to be used.
class StatementError final : public std::exception
{
public:
    StatementError(int line, QString reason) : m_line(line), m_reason(std::move(reason)) {}
    // 1-based line of the file; 0 when the fault is not tied to a line.
    int line() const { return m_line; }
    QString reason() const { return m_reason; }
    // "line 12: the date 31.02.2026 is not a date"
    QString message() const;
    const char* what() const noexcept override { return "statement error"; }

private:
    int m_line;
    QString m_reason;
};
