#pragma once

// The sheet fixture for typing through X: the window of the sheet kit with an
// expense and an income stored (after any number of further expenses), the
// entry row under them, cash sheet; plus the moves a person makes with a real
// keyboard and pointer, and what the file holds afterwards.

#include "platform/ProgramLocale.h"
#include "sheet/SheetTestKit.h"
#include "support/XSession.h"

#include <QDate>

namespace xsheet {

using namespace sheetkit;

struct XSheet : Sheet
{
    // extraRows: stored expenses before the two rows, so that the sheet is as
    // long as a big book's and each commit costs what it costs there.
    explicit XSheet(int extraRows = 0)
    {
        if (extraRows > 0) {
            raw->exec(QStringLiteral(
                          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i "
                          "< ?1) INSERT INTO Transactions (TransactionDate, Invoicenr, Relation, "
                          "MoneyIn, CategoryId, Description, ReceiptId, TotalPrice, Cash, "
                          "BusinessId) SELECT '2026-01-01', 'n/a', 'Supplier ' || (i % 500), 0, "
                          "?2, 'Item ' || i, i, 1.5, 1, ?3 FROM n"),
                      {extraRows, office, business});
        }
        expense = add(
            {.category = office, .date = "2026-03-02", .description = "Paper", .receiptId = "7"});
        income = add({.category = sales,
                      .date = "2026-03-03",
                      .moneyIn = true,
                      .amount = 25,
                      .description = "Cake",
                      .relation = "Abbot",
                      .receiptId = "0/000/008",
                      .invoiceNr = "F-1"});
        open();
        pick();
        for (int row = 1; row < g().Rows(); ++row) {
            if (g().RowData(row) == expense)
                expenseAt = row;
            else if (g().RowData(row) == income)
                incomeAt = row;
        }
        // The X input focus on the sheet, so that typed keys reach it.
        sheet().window()->activateWindow();
        xsession::settle();
    }

    FlexGrid& g() const { return cash(); }

    qint64 expense = 0;
    qint64 income = 0;
    // Grid rows of the expense and the income (the sheet's order puts the
    // income right under the expense).
    int expenseAt = 0;
    int incomeAt = 0;

    // The expense and the income as stored before a test, in the form of
    // storedRow().
    QString expenseRow() const
    {
        return QStringLiteral("2026-03-02|Paper|%1|n/a|0/000/007|Abbey|10.00|0|1").arg(office);
    }
    QString incomeRow() const
    {
        return QStringLiteral("2026-03-03|Cake|%1|F-1|0/000/008|Abbot|25.00|1|1").arg(sales);
    }

    // Fills the date cell under the cursor with a day of the current month,
    // typed as the sheet shows dates (the first key is the date's first
    // character), then Enter.
    static QDate typeDay(int day, int delayMs = 40)
    {
        const QDate today = QDate::currentDate();
        const QDate date(today.year(), today.month(), day);
        xsession::type(ProgramLocale::formatDate(date), delayMs);
        xsession::keys({QStringLiteral("Return")}, delayMs);
        return date;
    }

    // A stored transaction as
    // date|description|category|invoice|receipt|relation|amount|in|cash.
    QString storedRow(qint64 id) const
    {
        const QList<QVariantList> found = raw->rows(
            QStringLiteral("SELECT TransactionDate, Description, CategoryId, Invoicenr, ReceiptId, "
                           "Relation, printf('%.2f', TotalPrice), MoneyIn, Cash FROM Transactions "
                           "WHERE TransactionId = ?1"),
            {id});
        QStringList cells;
        for (const QVariant& v : found.value(0))
            cells << v.toString();
        return cells.join(u'|');
    }

    // The id of the newest stored transaction.
    qint64 lastId() const
    {
        return raw->value(QStringLiteral("SELECT max(TransactionId) FROM Transactions"))
            .toLongLong();
    }
};

} // namespace xsheet
