#pragma once

// A fixture database with one business and its categories, the sheet window
// opened on it and shown active, and the few moves a test makes on it the way
// a person would: pick a business, type on a grid, type into the open editor.

#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "sheet/frmTransactions.h"
#include "shell/dbStuff.h"
#include "shell/frmMain.h"
#include "support/DialogScript.h"
#include "support/ShellEnvironment.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTest>

#include <memory>

namespace sheetkit {

// Column numbers as the tests read them.
enum Col
{
    Description = 1,
    Category = 2,
    Date = 3,
    Invoice = 4,
    Receipt = 5,
    Relation = 6,
    Debited = 7,
    Credited = 8,
    CategoryId = 9
};

struct Sheet
{
    ShellEnvironment env;
    TempDatabase file;
    std::unique_ptr<RawDb> raw = std::make_unique<RawDb>(file.path());
    // The business every test uses, and categories allocated to it: an expense
    // and an income on both sheets, one for cash only, one for the bank only.
    qint64 business = raw->business(QStringLiteral("Bakery"));
    qint64 office = raw->category(QStringLiteral("Office"), false, 21.0, 3);
    qint64 sales = raw->category(QStringLiteral("Sales"), true, 21.0, 3);
    qint64 petty = raw->category(QStringLiteral("Petty cash"), false, 0.0, 1);
    qint64 fees = raw->category(QStringLiteral("Bank fees"), false, 0.0, 2);
    std::unique_ptr<frmTransactions> window;

    Sheet()
    {
        for (qint64 c : {office, sales, petty, fees})
            raw->allocate(c, business);
    }
    ~Sheet() { window.reset(); }

    // A stored transaction of the business.
    qint64 add(TxRow row)
    {
        row.business = row.business ? row.business : business;
        row.category = row.category ? row.category : office;
        return raw->transaction(row);
    }

    // Opens the database as start-up leaves it, and the window, active.
    frmTransactions& open(int widthPixels = 1200, int heightPixels = 640)
    {
        env.openDatabase(file.path());
        return openWindow(widthPixels, heightPixels);
    }

    // Opens the database as start-up leaves it and the frame, active, with the
    // sheet window on its menu; the sheet opens from the menu.
    frmMain& openFrame()
    {
        env.openDatabase(file.path());
        RegisterSheetWindow();
        frmMain& frame = frmMain::instance();
        frame.resize(1280, 800);
        frame.show();
        frame.activateWindow();
        if (!QTest::qWaitForWindowActive(&frame))
            qFatal("the frame never became active");
        return frame;
    }

    // Opens the window on the database that is open already.
    frmTransactions& openWindow(int widthPixels = 1200, int heightPixels = 640)
    {
        window = std::make_unique<frmTransactions>();
        window->resize(widthPixels, heightPixels);
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the sheet window never became active");
        return *window;
    }

    // Picks the business as the user does, by its name in the combo box.
    void pick(const QString& name = QStringLiteral("Bakery"))
    {
        ComboBox& combo = *sheet().cbobusiness;
        for (int i = 0; i < combo.ListCount(); ++i) {
            if (combo.List(i) == name) {
                combo.setFocus();
                combo.setListIndex(i, true);
                return;
            }
        }
        qFatal("no business named %s", qPrintable(name));
    }

    // The window this fixture opened, or else the one the menu opened.
    frmTransactions& sheet() const
    {
        frmTransactions* w = window ? window.get() : frmTransactions::loaded();
        if (!w)
            qFatal("no sheet window is open");
        return *w;
    }
    FlexGrid& cash() const { return *sheet().FLX1; }
    FlexGrid& bank() const { return *sheet().FLX2; }

    // One field of a stored transaction.
    QVariant stored(const char* field, qint64 id) const
    {
        return raw->value(QStringLiteral("SELECT %1 FROM Transactions WHERE TransactionId = ?1")
                              .arg(QLatin1String(field)),
                          {id});
    }

    // Clicks the tab strip's tab (1 cash, 2 bank) as the user does.
    void showTab(int index)
    {
        auto* bar = sheet().TS1->findChild<QTabBar*>();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index - 1).center());
    }

    // Puts the grid's cursor on a cell with a mouse click, as the user does.
    static void clickCell(FlexGrid& grid, int row, int col)
    {
        grid.scrollTo(grid.model()->index(row - 1, col - 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.cellRect(row, col).center() - grid.viewport()->pos());
    }

    // Types on the grid: the first key opens the editor of the cell, the rest
    // goes to whatever then has the focus, after the first key has arrived.
    // Keys go in through the window, as the platform delivers them, to
    // whatever has the focus then.
    static void type(FlexGrid& grid, const QString& text)
    {
        if (QApplication::focusWidget() != &grid)
            qFatal("typing on a grid that does not have the focus");
        keys(text);
    }

    // Text typed into whatever has the focus.
    static void keys(const QString& text)
    {
        QWindow* window = QApplication::focusWidget()->window()->windowHandle();
        for (QChar c : text) {
            QTest::keyClick(window, c.toLatin1());
            QCoreApplication::processEvents();
        }
    }

    // A key pressed in the widget that has the focus.
    static void press(Qt::Key key, QWidget* anyWidget = QApplication::focusWidget())
    {
        QTest::keyClick(anyWidget->window()->windowHandle(), key);
        QCoreApplication::processEvents();
    }

    // Types text, then Enter, on the grid's current cell.
    static void enter(FlexGrid& grid, const QString& text)
    {
        type(grid, text);
        press(Qt::Key_Return);
    }

    static void clickButton(Toolbar& bar, const QString& key)
    {
        QTest::mouseClick(bar.widgetForAction(bar.Button(key)), Qt::LeftButton);
    }

    // A whole row of the grid, columns 1 to 9.
    static QStringList rowTexts(const FlexGrid& grid, int row)
    {
        return column(grid, row, 1, 9, true);
    }

    // The texts of one column, rows first to last (or of one row, across).
    static QStringList column(const FlexGrid& grid, int col, int first, int last,
                              bool across = false)
    {
        QStringList texts;
        for (int i = first; i <= last; ++i)
            texts << (across ? grid.TextMatrix(col, i) : grid.TextMatrix(i, col));
        return texts;
    }

    static QStringList listOf(const ComboBox& combo)
    {
        QStringList items;
        for (int i = 0; i < combo.ListCount(); ++i)
            items << combo.List(i);
        return items;
    }

    // The cursor as (column, row).
    static QPoint cursor(const FlexGrid& grid) { return {grid.Col(), grid.Row()}; }

    // The name of the editor on show, or "none".
    static QString openEditor(const frmTransactions& w)
    {
        for (QWidget* e : std::initializer_list<QWidget*>{w.Txt, w.Num, w.Cbo, w.cbo2, w.DT})
            if (!e->isHidden())
                return e->objectName();
        return QStringLiteral("none");
    }
};

// Row 1 an expense, row 2 an income, row 3 the entry row, then the totals; on
// the cash sheet, or on the bank sheet with its tab showing.
struct Loaded : Sheet
{
    explicit Loaded(bool onBank = false)
        : expense(add({.category = office,
                       .date = "2026-03-02",
                       .cash = !onBank,
                       .description = "Paper",
                       .receiptId = "7"})),
          income(add({.category = sales,
                      .date = "2026-03-03",
                      .cash = !onBank,
                      .moneyIn = true,
                      .amount = 25,
                      .description = "Cake",
                      .relation = "Abbot",
                      .receiptId = "8",
                      .invoiceNr = "F-1"})),
          w(open()), g(onBank ? bank() : cash())
    {
        pick();
        if (onBank)
            showTab(2);
    }
    qint64 expense;
    qint64 income;
    frmTransactions& w;
    FlexGrid& g;
};

// What Qt needs to paint a cell's text whole, in pixels: its size hint from
// the grid's delegate and style (its own font, bold included), and the grid
// line the view draws inside the column.
inline int cellNeeds(const FlexGrid& grid, int row, int col)
{
    QStyleOptionViewItem option;
    option.initFrom(&grid);
    option.widget = &grid;
    option.font = grid.font();
    option.fontMetrics = grid.fontMetrics();
    const QModelIndex index = grid.model()->index(row - 1, col - 1);
    return grid.itemDelegate()->sizeHint(option, index).width() + (grid.showGrid() ? 1 : 0);
}

} // namespace sheetkit
