// Undo and Redo of the frame's Edit menu, pressed as keys on the frame with the
// sheet open in it: whatever window made the step, the file gets back exactly
// what it held, ids included, and the open sheet shows it at once.

#include "lookups/frmBusinesses.h"
#include "lookups/frmCategories.h"
#include "lookups/LookupDriver.h"
#include "sheet/SheetTestKit.h"
#include "shell/frmImport.h"
#include "shell/frmMain.h"
#include "shell/UndoCommands.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

using namespace sheetkit;
namespace L = LookupDriver;

namespace {

// Every row of the four tables the history follows, by table and id.
QList<QVariantList> fileRows(RawDb& raw)
{
    QList<QVariantList> all;
    for (const char* sql : {"SELECT 'T', * FROM Transactions ORDER BY TransactionId",
                            "SELECT 'C', * FROM Categories ORDER BY CategoryId",
                            "SELECT 'B', * FROM Businesses ORDER BY BusinessId",
                            "SELECT 'A', rowid, * FROM relCat_Bis ORDER BY rowid",
                            "SELECT 'I', * FROM ImportedLines ORDER BY 2, 3"})
        all += raw.rows(QString::fromLatin1(sql));
    return all;
}

// The sheet open in the frame on the bakery. Office has three transactions
// (two of the bakery, one of the mill) and is allocated to both businesses.
struct InFrame : Sheet
{
    qint64 mill = raw->business(QStringLiteral("Mill"));
    qint64 paper = add({.date = "2026-03-02", .description = "Paper", .receiptId = "7"});
    qint64 cake = add({.category = sales,
                       .date = "2026-03-03",
                       .moneyIn = true,
                       .amount = 25,
                       .description = "Cake",
                       .receiptId = "8"});
    qint64 ink = add({.date = "2026-03-04", .cash = false, .description = "Ink"});
    qint64 flour = add({.business = mill, .description = "Flour"});
    frmMain* frame = nullptr;

    InFrame()
    {
        raw->allocate(office, mill);
        frame = &openFrame();
        frame->mnuTransactions->trigger();
        pick();
        cash().setFocus();
    }

    // A key pressed on the frame: the platform gives it to the focus first.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        frame->activateWindow();
        QTest::keyClick(frame->windowHandle(), k, modifiers);
        QCoreApplication::processEvents();
    }

    // The Edit menu's entry as the user sees it when opening the menu with Alt+E.
    QString entryShown(const char* name, bool* enabled = nullptr)
    {
        key(Qt::Key_E, Qt::AltModifier);
        if (!QTest::qWaitFor([this] { return frame->mnuEdit->isVisible(); }))
            qFatal("the Edit menu did not open");
        auto* entry = frame->mnuEdit->findChild<QAction*>(QString::fromLatin1(name));
        const QString text = entry->isEnabled() ? entry->text() : QStringLiteral("(disabled)");
        if (enabled)
            *enabled = entry->isEnabled();
        QTest::keyClick(frame->mnuEdit, Qt::Key_Escape);
        QTest::keyClick(frame->menuBar(), Qt::Key_Escape);
        if (!QTest::qWaitFor([this] { return !frame->mnuEdit->isVisible(); }))
            qFatal("the Edit menu did not close");
        cash().setFocus();
        return text;
    }

    // Does what a user does in one window; the window is closed after.
    void act(const QString& action)
    {
        DialogScript script;
        if (action == "sheet commit") {
            Sheet::clickCell(cash(), 1, Description);
            Sheet::enter(cash(), "Toner");
        } else if (action == "sheet amount") {
            Sheet::clickCell(cash(), 1, Debited);
            Sheet::enter(cash(), "12.50");
        } else if (action == "sheet delete") {
            Sheet::clickCell(cash(), 2, Description);
            script.answer(vbYes);
            Sheet::press(Qt::Key_Delete);
        } else if (action == "statement import") {
            // One bank line, its category picked in the preview.
            const QString path = file.filePath(QStringLiteral("march.sta"));
            if (!writeBytes(path, ":20:S1\n:25:10020030/1\n:60F:C260301EUR1000,00\n"
                                  ":61:2603020302DR20,00NTRFNONREF//B1\n:86:166?20Toner?32Papyrus\n"
                                  ":62F:C260302EUR980,00\n-\n"))
                qFatal("no statement file");
            frmImport w(path);
            w.show();
            QTest::mouseClick(w.grdLines->viewport(), Qt::LeftButton, {},
                              w.grdLines->visualItemRect(w.grdLines->item(0, 0)).center());
            w.cboCategory->setFocus();
            QTest::keyClicks(w.cboCategory, QStringLiteral("Of"));
            QTest::mouseClick(w.cmdPick, Qt::LeftButton);
            script.answer(vbOK);
            QTest::mouseClick(w.cmdImport, Qt::LeftButton);
        } else if (action.startsWith("business")) {
            auto w = L::openWindow<frmBusinesses>();
            L::clickItem(w->LV1, L::b(business));
            if (action == "business save") {
                L::typeInto(w->etName, QStringLiteral("Bakehouse"));
                L::pressButton(w->Toolbar1, L::Save);
            } else {
                script.answer(vbYes);
                L::pressButton(w->Toolbar1, L::Delete);
            }
        } else {
            auto w = L::openWindow<frmCategories>();
            L::clickItem(w->LV1, L::c(office));
            if (action == "category save") {
                L::typeInto(w->etCategory, QStringLiteral("Stationery"));
                L::pressButton(w->Toolbar1, L::Save);
            } else if (action == "category delete") {
                script.answer(vbYes);
                L::pressButton(w->Toolbar1, L::Delete);
            } else {
                L::clickItem(w->LV2, L::b(mill), true);
            }
        }
        if (script.pending() != 0)
            qFatal("a question did not come");
        frame->activateWindow();
        if (!QTest::qWaitForWindowActive(frame))
            qFatal("the frame did not come back to the front");
        cash().setFocus();
    }
};

} // namespace

class tst_Undo : public QObject
{
    Q_OBJECT

private slots:
    void stepOfEveryWindowIsUndoneAndRedone_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("redoKey"); // Ctrl+Y or Ctrl+Shift+Z
        QTest::addColumn<QString>("caption");
        // The action names the row too, but for the category delete's.
        const auto row = [](const char* action, Qt::Key redo, const char* caption,
                            const char* name = nullptr) {
            QTest::newRow(name ? name : action) << QString(action) << int(redo) << QString(caption);
        };
        row("sheet commit", Qt::Key_Y, "&Undo change of description in row 1");
        row("sheet amount", Qt::Key_Z, "&Undo change of amount in row 1");
        row("sheet delete", Qt::Key_Z, "&Undo delete of transaction in row 2");
        row("business save", Qt::Key_Y, "&Undo change of business Bakehouse");
        row("business delete", Qt::Key_Z, "&Undo delete of business Bakery and 3 transactions");
        row("category save", Qt::Key_Y, "&Undo change of category Stationery");
        row("category delete", Qt::Key_Z, "&Undo delete of category Office and 3 transactions",
            "category delete: 3 transactions, 2 allocations");
        row("statement import", Qt::Key_Y, "&Undo import of 1 bank statement line");
        row("allocation tick", Qt::Key_Y, "&Undo withdrawal of category Office from business Mill");
    }

    void stepOfEveryWindowIsUndoneAndRedone()
    {
        QFETCH(QString, action);
        QFETCH(int, redoKey);
        QFETCH(QString, caption);
        InFrame s;
        const QList<QVariantList> before = fileRows(*s.raw);
        QCOMPARE(s.entryShown("mnuUndo"), QStringLiteral("(disabled)"));

        s.act(action);
        const QList<QVariantList> after = fileRows(*s.raw);
        QVERIFY(after != before);
        QCOMPARE(s.entryShown("mnuUndo"), caption);

        s.key(Qt::Key_Z);
        QCOMPARE(fileRows(*s.raw), before);
        QCOMPARE(s.raw->value(
                     QStringLiteral("SELECT count(*) FROM HistorySteps WHERE UndoOf IS NOT NULL")),
                 QVariant(1));
        QCOMPARE(s.entryShown("mnuRedo"), QString(caption).replace("&Undo", "&Redo"));

        const Qt::KeyboardModifiers redo =
            redoKey == Qt::Key_Z ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
        s.key(Qt::Key(redoKey), redo);
        QCOMPARE(fileRows(*s.raw), after);
        s.key(Qt::Key_Z);
        QCOMPARE(fileRows(*s.raw), before);
    }

    // Typed over, then undone: the file holds the row exactly as before and the
    // sheet shows it at once, its cursor where it was.
    void overwrittenRowComesBackOnTheSheet()
    {
        InFrame s;
        const QStringList shown = Sheet::rowTexts(s.cash(), 1);
        s.act("sheet commit");
        QCOMPARE(s.stored("Description", s.paper), QVariant("Toner"));
        const QPoint cursor = Sheet::cursor(s.cash());

        s.key(Qt::Key_Z);

        QCOMPARE(s.stored("Description", s.paper), QVariant("Paper"));
        QCOMPARE(Sheet::rowTexts(s.cash(), 1), shown);
        QCOMPARE(Sheet::cursor(s.cash()), cursor);
    }

    // A row changed outside the program since the step is not written over:
    // the undo says why and changes nothing.
    void undoStopsAtARowChangedSince()
    {
        InFrame s;
        s.act("sheet commit");
        s.raw->exec(QStringLiteral("UPDATE Transactions SET Description = 'Outside' WHERE "
                                   "TransactionId = ?1"),
                    {s.paper});
        const QList<QVariantList> changed = fileRows(*s.raw);
        DialogScript script;
        script.answer(vbOK);

        s.key(Qt::Key_Z);

        QCOMPARE(script.messages().size(), 1);
        QVERIFY2(script.messages().first().prompt.startsWith(QStringLiteral("Error 3197:")),
                 qPrintable(script.messages().first().prompt));
        QCOMPARE(fileRows(*s.raw), changed);
    }

    // While a cell is edited Ctrl+Z works on its text; a row typed but not
    // stored is read over only when the user agrees.
    void typingInProgressIsNotUndoneOver()
    {
        InFrame s;
        s.act("sheet commit");
        const QList<QVariantList> after = fileRows(*s.raw);
        Sheet::clickCell(s.cash(), 1, Description);
        Sheet::type(s.cash(), "Ab");
        s.key(Qt::Key_Z);
        QCOMPARE(fileRows(*s.raw), after);
        Sheet::press(Qt::Key_Escape);

        const int entry = s.cash().Rows() - 3;
        Sheet::clickCell(s.cash(), entry, Description);
        Sheet::enter(s.cash(), "Half");
        DialogScript script;
        script.answer(vbNo);
        s.key(Qt::Key_Z);
        QCOMPARE(script.messages().size(), 1);
        QVERIFY(script.messages().first().prompt.startsWith(
            QStringLiteral("Not stored on the cash sheet: row %1.").arg(entry)));
        QCOMPARE(fileRows(*s.raw), after);
        QCOMPARE(s.cash().TextMatrix(entry, Description), QStringLiteral("Half"));

        script.answer(vbYes);
        s.key(Qt::Key_Z);
        QCOMPARE(s.stored("Description", s.paper), QVariant("Paper"));
        QCOMPARE(s.cash().TextMatrix(entry, Description), QString());
    }

    // A lookup save undone while the sheet is open: its business list and its
    // grids show the old names at once, the business still picked.
    void undoneLookupSavesReachTheSheet()
    {
        InFrame s;
        s.act("business save");
        s.act("category save");
        QCOMPARE(s.sheet().cbobusiness->Text(), QStringLiteral("Bakehouse"));

        s.key(Qt::Key_Z);
        QCOMPARE(s.cash().TextMatrix(1, Category), QStringLiteral("Office"));
        QVERIFY(Sheet::listOf(*s.sheet().Cbo).contains(QStringLiteral("Office")));
        s.key(Qt::Key_Z);
        QCOMPARE(Sheet::listOf(*s.sheet().cbobusiness),
                 (QStringList{QStringLiteral("Bakery"), QStringLiteral("Mill")}));
        QCOMPARE(s.sheet().cbobusiness->Text(), QStringLiteral("Bakery"));
        QCOMPARE(s.cash().TextMatrix(1, Description), QStringLiteral("Paper"));
    }

    // Every step of the run can be undone, far beyond a hundred; then Undo has
    // nothing left and a further Ctrl+Z changes nothing.
    void everyStepOfTheRunCanBeUndone()
    {
        InFrame s;
        const QList<QVariantList> before = fileRows(*s.raw);
        constexpr int Steps = 120;
        for (int i = 1; i <= Steps; ++i) {
            Ledger::Transaction t;
            t.businessId = s.business;
            t.categoryId = s.office;
            t.cash = true;
            t.description = QStringLiteral("Step %1").arg(i);
            dbStuff::ledger().storeTransaction(t);
        }
        for (int i = 0; i <= Steps; ++i)
            s.key(Qt::Key_Z);
        QCOMPARE(fileRows(*s.raw), before);
        QCOMPARE(s.entryShown("mnuUndo"), QStringLiteral("(disabled)"));
    }
};

QTEST_MAIN(tst_Undo)
#include "tst_undo.moc"
