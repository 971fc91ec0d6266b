#pragma once

// The sheet fixture for typing through X: the window of sheetkit::Loaded (an
// expense in row 1, an income in row 2, the entry row 3, cash sheet) plus the
// moves a person makes with a real keyboard and pointer, and what the file
// holds afterwards.

#include "platform/ProgramLocale.h"
#include "sheet/SheetTestKit.h"
#include "support/XSession.h"

#include <QDate>

namespace xsheet {

using namespace sheetkit;

struct XSheet : Loaded
{
    explicit XSheet(bool onBank = false) : Loaded(onBank)
    {
        // The X input focus on the sheet, so that typed keys reach it.
        w.window()->activateWindow();
        xsession::settle();
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

    // The stored transactions of the business in id order, each as
    // date|description|category|invoice|receipt|relation|amount|in|cash.
    QStringList storedRows() const
    {
        QStringList rows;
        const QList<QVariantList> found = raw->rows(
            QStringLiteral(
                "SELECT TransactionDate, Description, CategoryId, Invoicenr, ReceiptId, Relation, "
                "printf('%.2f', TotalPrice), MoneyIn, Cash FROM Transactions WHERE BusinessId = ?1 "
                "ORDER BY TransactionId"),
            {business});
        for (const QVariantList& row : found) {
            QStringList cells;
            for (const QVariant& v : row)
                cells << v.toString();
            rows << cells.join(u'|');
        }
        return rows;
    }

    // One stored transaction in the form of storedRows().
    QString storedRow(qint64 id) const
    {
        const QStringList all = storedRows();
        const QList<QVariantList> ids =
            raw->rows(QStringLiteral("SELECT TransactionId FROM Transactions WHERE BusinessId = ?1 "
                                     "ORDER BY TransactionId"),
                      {business});
        for (int i = 0; i < ids.size(); ++i)
            if (ids[i].value(0).toLongLong() == id)
                return all.value(i);
        return QString();
    }
};

} // namespace xsheet
