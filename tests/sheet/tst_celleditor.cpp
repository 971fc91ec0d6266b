// The cell editor on its own, over a grid with a stand-in for the sheet: what
// it asks of the sheet on each commit, and that a failed or re-entered commit
// never leaves the edit stuck. Keys are typed through the window.

#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "sheet/CellEditor.h"
#include "SheetTestKit.h"

#include <functional>

using namespace sheetkit;

namespace {

// Records what the editor asks of the sheet; each answer can be set.
struct FakeSheet final : CellEditorHost
{
    bool incomplete = false;
    int pickersOpened = 0;
    int categoryDrops = 0;
    int categoriesWritten = 0;
    QList<bool> commits; // the `changed` of each rowCommitted
    std::function<void()> onCommit;

    bool previousCellIncomplete(const FlexGrid&) const override { return incomplete; }
    void pickerOpening(FlexGrid&, int, QWidget*) override { ++pickersOpened; }
    void categoryPickerDropped() override { ++categoryDrops; }
    QString receiptIdCell(const QString& typed) override { return QLatin1Char('<') + typed + '>'; }
    void categoryWritten(FlexGrid&, int) override { ++categoriesWritten; }
    void rowCommitted(FlexGrid&, bool changed) override
    {
        commits << changed;
        if (onCommit)
            onCommit();
    }
};

// A window with two grids of the sheet's shape (rows 1 and 2 editable, two
// total rows below) and the cell editor over them, wired as the sheet wires
// it. Row 1 has an expense category, so its "Debited" takes an amount.
struct Bench
{
    ShellEnvironment env;
    TempDatabase file;
    RawDb raw{file.path()};
    qint64 office = raw.category(QStringLiteral("Office"), false);
    FakeSheet sheet;
    QWidget window;
    FlexGrid* grid = new FlexGrid(&window);
    FlexGrid* other = new FlexGrid(&window);
    CellEditor* editor = nullptr;

    Bench()
    {
        env.openDatabase(file.path());
        editor = new CellEditor(&window, sheet);
        for (FlexGrid* g : {grid, other}) {
            g->setCols(10);
            g->setRows(5);
            g->setTextMatrix(1, CategoryId, QString::number(office));
            editor->watchGrid(*g);
            QObject::connect(g, &FlexGrid::GotFocus, editor, [this, g] {
                dbStuff::RunHandler([this, g] { editor->gridGotFocus(*g); });
            });
            QObject::connect(g, &FlexGrid::LeaveCell, editor, [this, g] {
                dbStuff::RunHandler([this, g] { editor->gridLeaveCell(*g); });
            });
            QObject::connect(g, &FlexGrid::EnterCell, editor,
                             [this, g] { editor->gridEnterCell(*g); });
            QObject::connect(g, &FlexGrid::KeyPress, editor, [this, g](int& key) {
                dbStuff::RunHandler([this, g, key] { editor->gridKeyPress(*g, key); });
            });
        }
        grid->setGeometry(0, 0, 900, 200);
        other->setGeometry(0, 220, 900, 200);
        window.resize(900, 420);
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the window never became active");
    }

    // Puts the cursor on a cell of the grid, which takes the focus.
    void on(int row, int col)
    {
        grid->setFocus();
        grid->moveTo(row, col);
    }
};

} // namespace

class TestCellEditor : public QObject
{
    Q_OBJECT

private slots:
    void commitWritesTheCellAndStoresOnce_data();
    void commitWritesTheCellAndStoresOnce();
    void storingThatGivesTheGridTheFocusIsNoSecondCommit();
    void aFailedStoreLeavesNoEditStuck();
    void refusedAmountStaysOpenAndStoresNothing();
    void droppedEditWritesNothing_data();
    void droppedEditWritesNothing();
    void refusedStartOpensNoEditor();
    void anotherGridGainingTheFocusIsNoCommit();
};

void TestCellEditor::commitWritesTheCellAndStoresOnce_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("changed");

    const auto row = [](const char* name, int col, const char* before, const char* typed,
                        const char* cell, bool changed) {
        QTest::newRow(name) << col << QString(before) << QString(typed) << QString(cell) << changed;
    };
    row("new text", Description, "", "Tea", "Tea", true);
    row("same text again", Description, "Tea", "Tea", "Tea", false);
    // The sheet, not the editor, decides how a receipt id reads.
    row("receipt id through the sheet", Receipt, "", "1002", "<1002>", true);
    row("amount formatted", Debited, "", "1234.5", "1,234.50", true);
}

void TestCellEditor::commitWritesTheCellAndStoresOnce()
{
    QFETCH(int, col);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, cell);
    QFETCH(bool, changed);
    Bench b;
    b.grid->setTextMatrix(1, col, before);
    b.on(1, col);

    Sheet::keys(typed);
    QCOMPARE(b.editor->state(), CellEditor::State::Open);
    Sheet::press(Qt::Key_Return);

    QCOMPARE(b.grid->TextMatrix(1, col), cell);
    QCOMPARE(b.sheet.commits, QList<bool>{changed});
    QCOMPARE(b.editor->state(), CellEditor::State::Closed);
    QVERIFY(b.editor->current()->isHidden());
}

void TestCellEditor::storingThatGivesTheGridTheFocusIsNoSecondCommit()
{
    // A message box shown while storing hands the focus back to the grid.
    Bench b;
    b.sheet.onCommit = [&b] {
        b.editor->gridGotFocus(*b.grid);
        b.editor->gridLeaveCell(*b.grid);
    };
    b.on(1, Description);
    Sheet::keys(QStringLiteral("Tea"));
    Sheet::press(Qt::Key_Return);

    QCOMPARE(b.sheet.commits.size(), 1);
    QCOMPARE(b.editor->state(), CellEditor::State::Closed);
}

void TestCellEditor::aFailedStoreLeavesNoEditStuck()
{
    Bench b;
    DialogScript script;
    script.answer(vbOK);
    bool fail = true;
    b.sheet.onCommit = [&fail] {
        if (std::exchange(fail, false))
            throw VbError(VbErr::DiskFull);
    };
    b.on(1, Description);
    Sheet::keys(QStringLiteral("Tea"));
    Sheet::press(Qt::Key_Return);

    QCOMPARE(script.shown(), 1);
    QVERIFY(b.editor->state() != CellEditor::State::Committing);
    // The next edit is committed as usual.
    const qsizetype before = b.sheet.commits.size();
    b.on(2, Description);
    Sheet::keys(QStringLiteral("Jam"));
    Sheet::press(Qt::Key_Return);
    QCOMPARE(b.sheet.commits.size(), before + 1);
    QCOMPARE(b.grid->TextMatrix(2, Description), QStringLiteral("Jam"));
}

void TestCellEditor::refusedAmountStaysOpenAndStoresNothing()
{
    Bench b;
    DialogScript script;
    script.answer(vbOK);
    b.on(1, Debited);
    Sheet::keys(QStringLiteral("12x"));
    Sheet::press(Qt::Key_Return);

    QCOMPARE(script.shown(), 1);
    QVERIFY(b.sheet.commits.isEmpty());
    QCOMPARE(b.editor->state(), CellEditor::State::Open);
    QVERIFY(b.editor->Num->isVisible());
    QCOMPARE(b.grid->TextMatrix(1, Debited), QString());
}

void TestCellEditor::droppedEditWritesNothing_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("escape");
    QTest::addColumn<int>("categoryDrops");

    QTest::newRow("escape in the category picker") << int(Category) << "O" << true << 1;
    QTest::newRow("escape in a text") << int(Description) << "Tea" << true << 0;
    QTest::newRow("category picker closed by the sheet") << int(Category) << "O" << false << 1;
    QTest::newRow("text closed by the sheet") << int(Description) << "Tea" << false << 0;
}

void TestCellEditor::droppedEditWritesNothing()
{
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(bool, escape);
    QFETCH(int, categoryDrops);
    Bench b;
    b.editor->Cbo->AddItem(QStringLiteral("Office"));
    b.on(1, col);
    Sheet::keys(typed);
    QCOMPARE(b.editor->state(), CellEditor::State::Open);
    // Hiding the editor hands the focus on to the first grid of the window.
    if (escape)
        Sheet::press(Qt::Key_Escape);
    else
        b.editor->close();
    QCoreApplication::processEvents();

    QCOMPARE(b.sheet.categoryDrops, categoryDrops);
    QVERIFY(b.sheet.commits.isEmpty());
    QCOMPARE(b.sheet.categoriesWritten, 0);
    QCOMPARE(b.editor->state(), CellEditor::State::Closed);
    QCOMPARE(b.grid->TextMatrix(1, col), QString());
}

void TestCellEditor::refusedStartOpensNoEditor()
{
    Bench b;
    b.sheet.incomplete = true;
    b.on(1, Receipt);
    Sheet::keys(QStringLiteral("7"));

    QCOMPARE(b.editor->state(), CellEditor::State::Closed);
    QVERIFY(b.editor->Txt->isHidden());
    QCOMPARE(QApplication::focusWidget(), b.grid);
}

void TestCellEditor::anotherGridGainingTheFocusIsNoCommit()
{
    Bench b;
    b.on(1, Description);
    Sheet::keys(QStringLiteral("Tea"));
    b.other->setFocus();
    QCoreApplication::processEvents();

    QVERIFY(b.sheet.commits.isEmpty());
    QCOMPARE(b.other->TextMatrix(1, Description), QString());
    QCOMPARE(b.editor->grid(), b.grid);
    // Its own grid gaining the focus writes it there.
    b.grid->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(b.grid->TextMatrix(1, Description), QStringLiteral("Tea"));
    QCOMPARE(b.sheet.commits.size(), 1);
}

QTEST_MAIN(TestCellEditor)
#include "tst_celleditor.moc"
