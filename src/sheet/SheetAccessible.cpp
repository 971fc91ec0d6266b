#include "sheet/SheetAccessible.h"

#include "platform/widgets/Accessible.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/Toolbar.h"
#include "sheet/frmTransactions.h"
#include "sheet/SheetColumns.h"

#include <QAction>
#include <QLabel>

using namespace SheetCol;

namespace SheetAccessible {

namespace {

const QString EditorKeys =
    QStringLiteral(" Enter stores the cell, Tab goes on to the next cell, Escape drops the edit.");

QString whatToType(int col)
{
    switch (col) {
    case ColDescription:
        return QStringLiteral("Type what the transaction was for.");
    case ColCategory:
        return QStringLiteral("Pick the category from the list; the arrow keys choose.");
    case ColDate:
        return QStringLiteral("Type the date, for example 16/Jun/2025 or 16/06/2025.");
    case ColInvoiceNr:
        return QStringLiteral("Type the number of the invoice.");
    case ColReceiptId:
        return QStringLiteral("Type the receipt number; digits alone show as 0/000/000.");
    case ColRelation:
        return QStringLiteral("Type the other party, or pick one from the list; what is typed "
                              "is completed from the parties used before.");
    case ColDebited:
        return QStringLiteral("Type the amount paid out, for example 12.50.");
    case ColCredited:
        return QStringLiteral("Type the amount received, for example 12.50.");
    default:
        return QStringLiteral("Type the value of the cell.");
    }
}

const QString GridKeys = QStringLiteral(
    "One row per transaction, with the balance and totals at the bottom. The arrow keys move, "
    "typing or Enter opens the cell's editor, Delete deletes the row's transaction.");

} // namespace

void describeControls(frmTransactions& window)
{
    window.Label2->setBuddy(window.cbobusiness);
    Accessible::describe(window.Label2, QStringLiteral("The business or account whose "
                                                       "transactions the sheet shows."));
    Accessible::describe(window.TS1, QStringLiteral("Sheet"),
                         QStringLiteral("Cash or bank transactions; the arrow keys switch."));
    window.TS1->setDescription(1, QStringLiteral("The cash sheet; the arrow keys switch to the "
                                                 "bank sheet."));
    window.TS1->setDescription(2, QStringLiteral("The bank sheet; the arrow keys switch to the "
                                                 "cash sheet."));
    // A combo box on X11 is announced by its current entry and by the caption
    // it is labelled by, not by its own name: the two picker editors get a
    // caption that is never shown, which describeEditor words for the cell.
    for (ComboBox* picker : {window.Cbo, window.cbo2}) {
        auto* caption = new QLabel(picker->parentWidget());
        caption->setObjectName(picker->objectName() + QStringLiteral("Caption"));
        caption->setBuddy(picker);
        caption->hide();
    }
    Accessible::describe(window.FLX1, window.TS1->Caption(1), GridKeys);
    Accessible::describe(window.FLX2, window.TS1->Caption(2), GridKeys);

    // The buttons' tips, which are also what a screen reader says of them.
    const std::pair<const char*, const char*> tips[] = {
        {"print", "Print: choose a report of this business"},
        {"sort", "Sort: order the cash sheet by the column of the cell cursor"},
        {"history", "History: the versions of the transaction of the cursor's row"},
        {"export", "Export: save the sheet's stored rows as a CSV file"},
        {"close", "Close the sheet"},
    };
    for (const auto& [key, tip] : tips)
        window.Toolbar1->Button(QString::fromLatin1(key))->setToolTip(QString::fromLatin1(tip));
}

void describeEditor(QWidget* editor, const FlexGrid& grid, int row, int col)
{
    const QString name = QStringLiteral("%1, row %2").arg(grid.TextMatrix(0, col)).arg(row);
    Accessible::describe(editor, name, whatToType(col) + EditorKeys);
    for (QLabel* caption :
         editor->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (caption->buddy() == editor)
            caption->setText(name);
    }
}

} // namespace SheetAccessible
