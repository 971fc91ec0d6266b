// Every window as a keyboard and screen-reader user meets it: Tab visits every
// control in the order a reader sees them, and each control it reaches is
// named (as its caption reads) and described. The sheet's cell editors say
// which column and row they edit.

#include "history/frmHistory.h"
#include "lookups/frmBusinesses.h"
#include "lookups/frmCategories.h"
#include "lookups/LookupDriver.h"
#include "reports/frmChanges.h"
#include "reports/frmCrys.h"
#include "reports/ReportFixture.h"
#include "reports/ReportWindow.h"
#include "sheet/SheetTestKit.h"
#include "shell/frmImport.h"
#include "shell/frmMain.h"
#include "shell/GettingStartedPanel.h"
#include "support/AccessProbe.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace sheetkit;

namespace {

// A window under test and what keeps it open: its database, settings and
// fixtures. `start` is the control Tab starts from; `first` the one that has
// the focus as the window opens (nullptr: the test moved the focus already).
struct Opened
{
    std::shared_ptr<void> keep;
    QWidget* window = nullptr;
    QWidget* start = nullptr;
    QWidget* first = nullptr;
};

bool shownActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

template <class Window> Opened lookupWindow()
{
    auto fixture = std::make_shared<LookupDriver::Fixture<Window>>();
    fixture->raw.business(QStringLiteral("Bakery"), QStringLiteral("NL001"));
    fixture->raw.category(QStringLiteral("Flour"), false, 9.0);
    Window& w = fixture->open();
    shownActive(&w);
    QWidget* name = nullptr;
    if constexpr (std::is_same_v<Window, frmCategories>)
        name = w.etCategory;
    else
        name = w.etName;
    return {fixture, &w, w.LV1, name};
}

Opened sheet(bool bank)
{
    auto s = std::make_shared<Loaded>(bank);
    return {s, &s->w, s->w.cbobusiness};
}

// The sheet as it opens, before a business is picked.
Opened freshSheet()
{
    auto s = std::make_shared<Sheet>();
    frmTransactions& w = s->open();
    return {s, &w, w.cbobusiness, w.cbobusiness};
}

// Objects kept alive in reverse order of making.
struct Keep
{
    std::vector<std::shared_ptr<void>> held;
    ~Keep()
    {
        while (!held.empty())
            held.pop_back();
    }
};

Opened reportSelection()
{
    auto keep = std::make_shared<Keep>();
    keep->held.push_back(std::make_shared<ReportFixture::OpenBooks>());
    auto window = std::make_shared<frmPrint>();
    keep->held.push_back(window);
    shownActive(window.get());
    return {keep, window.get(), window->cbobusiness, window->cbobusiness};
}

Opened viewer()
{
    auto keep = std::make_shared<Keep>();
    auto books = std::make_shared<ReportFixture::OpenBooks>();
    keep->held.push_back(books);
    ReportFixture::writeQuery(
        *dbStuff::DB,
        QStringLiteral("WHERE (((Businesses.BusinessId)=%1));").arg(books->books.bakery));
    auto window = std::make_shared<frmCrys>();
    keep->held.push_back(window);
    window->Report1.ReportFile = books->temp.filePath(ReportFixture::TransactionsReport);
    shownActive(window.get());
    if (!QTest::qWaitFor([&] { return window->Report1.window() != nullptr; }, 10000))
        return {};
    QWidget* pages = window->Report1.window()->preview();
    return {keep, window.get(), pages, pages->focusProxy()};
}

Opened changes(bool shown)
{
    auto keep = std::make_shared<Keep>();
    keep->held.push_back(std::make_shared<ReportFixture::OpenBooks>());
    auto window = std::make_shared<frmChanges>();
    keep->held.push_back(window);
    window->resize(900, 600);
    shownActive(window.get());
    if (shown) {
        QTest::mouseClick(window->cmdShow, Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return window->report->hasReport(); }))
            return {};
    }
    return {keep, window.get(), window->cboBusiness, shown ? nullptr : window->cboBusiness};
}

// The lists hold rows: the versions of the first transactions, or one
// deleted transaction.
Opened history(bool deletedTab)
{
    auto keep = std::make_shared<Keep>();
    auto books = std::make_shared<ReportFixture::OpenBooks>();
    keep->held.push_back(books);
    const qint64 first = RawDb(books->temp.path())
                             .value(QStringLiteral("SELECT min(TransactionId) FROM Transactions"))
                             .toLongLong();
    if (deletedTab)
        dbStuff::ledger().deleteTransaction(first);
    auto window = std::make_shared<frmHistory>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    keep->held.push_back(window);
    window->resize(900, 500);
    window->tabs->setCurrentIndex(deletedTab ? 1 : 0);
    shownActive(window.get());
    if (deletedTab) {
        QTest::mouseClick(window->cmdDeleted, Qt::LeftButton);
        if (window->lstDeleted->model()->rowCount() == 0)
            return {};
        // A deletion picked, as before a restore: Restore is a stop too.
        QTableView* list = window->lstDeleted;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
    } else {
        window->txtFirst->setText(QString::number(first));
        window->txtLast->setText(QString::number(first + 3));
        QTest::mouseClick(window->cmdVersions, Qt::LeftButton);
        if (window->lstVersions->model()->rowCount() < 2)
            return {};
    }
    return {keep, window.get(), window->tabs->tabBar()};
}

Opened import()
{
    auto keep = std::make_shared<Keep>();
    auto books = std::make_shared<ReportFixture::OpenBooks>();
    keep->held.push_back(books);
    const QString path = books->temp.filePath(QStringLiteral("statement.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the statement");
    file.write("Date;Amount;Name;Text\n02.03.2026;12,50;Bakker;Bread\n"
               "03.03.2026;-4,00;Miller;Flour\n");
    file.close();
    // A message box would fail the test rather than wait for an answer.
    keep->held.push_back(std::make_shared<DialogScript>());
    auto window = std::make_shared<frmImport>(path);
    keep->held.push_back(window);
    shownActive(window.get());
    if (window->grdLines->rowCount() != 2)
        return {};
    return {keep, window.get(), window->cboBusiness, window->cboBusiness};
}

Opened frame()
{
    auto keep = std::make_shared<Keep>();
    auto env = std::make_shared<ShellEnvironment>();
    auto file = std::make_shared<TempDatabase>();
    keep->held.push_back(file);
    keep->held.push_back(env);
    env->openDatabase(file->path());
    frmMain& main = frmMain::instance();
    main.resize(900, 600);
    shownActive(&main);
    return {keep, &main, main.gettingStarted->btnBusinesses};
}

const QHash<QString, std::function<Opened()>>& windows()
{
    static const QHash<QString, std::function<Opened()>> all{
        {QStringLiteral("businesses"), lookupWindow<frmBusinesses>},
        {QStringLiteral("categories"), lookupWindow<frmCategories>},
        {QStringLiteral("cash sheet"), [] { return sheet(false); }},
        {QStringLiteral("bank sheet"), [] { return sheet(true); }},
        {QStringLiteral("sheet, no business picked"), freshSheet},
        {QStringLiteral("report selection"), reportSelection},
        {QStringLiteral("report viewer"), viewer},
        {QStringLiteral("changes"), [] { return changes(false); }},
        {QStringLiteral("changes, report shown"), [] { return changes(true); }},
        {QStringLiteral("history, versions"), [] { return history(false); }},
        {QStringLiteral("history, deleted"), [] { return history(true); }},
        {QStringLiteral("import"), import},
        {QStringLiteral("frame, getting started"), frame},
    };
    return all;
}

// The controls of the window that Tab should reach: shown, enabled, taking the
// focus from the keyboard, and not handing it on to another widget.
QList<QWidget*> tabStops(QWidget* window)
{
    QList<QWidget*> stops;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisible() || !w->isEnabled() || w->focusProxy() ||
            !(w->focusPolicy() & Qt::TabFocus))
            continue;
        stops << w;
    }
    return stops;
}

QSet<QWidget*> asSet(const QList<QWidget*>& list)
{
    return QSet<QWidget*>(list.begin(), list.end());
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

private slots:
    void tabWalksTheWindowInVisualOrder_data()
    {
        QTest::addColumn<QString>("window");
        QStringList names = windows().keys();
        names.sort();
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << name;
    }

    void tabWalksTheWindowInVisualOrder()
    {
        QFETCH(QString, window);
        const Opened opened = windows().value(window)();
        QVERIFY(opened.window && opened.start);
        QVERIFY(opened.window->isActiveWindow());

        QString problem;
        const QList<QWidget*> ring = AccessProbe::tabRing(opened.start, &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem + QStringLiteral(", after ") +
                                               AccessProbe::namesForMessage(ring)));
        const QSet<QWidget*> missed = asSet(tabStops(opened.window)) - asSet(ring);
        QVERIFY2(missed.isEmpty(), qPrintable(QStringLiteral("Tab never reaches ") +
                                              AccessProbe::namesForMessage(missed.values())));
        QCOMPARE(AccessProbe::namesForMessage(AccessProbe::fromVisualStart(ring)),
                 AccessProbe::namesForMessage(AccessProbe::visualOrder(ring)));
    }

    // A window opens with the focus on its first box (or its pages), never on
    // a toolbar button.
    void windowsOpenOnTheirFirstControl_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* name : {"businesses", "categories", "sheet, no business picked",
                                 "report selection", "report viewer", "changes", "import"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void windowsOpenOnTheirFirstControl()
    {
        QFETCH(QString, window);
        const Opened opened = windows().value(window)();
        QVERIFY(opened.window && opened.first);
        QTRY_COMPARE(QApplication::focusWidget(), opened.first);
    }

    // The history window opens inside the frame and shares its access keys:
    // a menu bar letter on one of its buttons or tabs opened the menu instead
    // (Alt+H for "Show" opened Help).
    void theHistoryWindowKeepsClearOfTheMenuKeys()
    {
        const Opened opened = history(true);
        QVERIFY(opened.window);
        QSet<QKeySequence> menuKeys;
        for (const QAction* menu : frmMain::instance().menuBar()->actions())
            menuKeys << QKeySequence::mnemonic(menu->text());
        QStringList captions;
        for (const QAbstractButton* button : opened.window->findChildren<QAbstractButton*>())
            captions << button->text();
        for (const QLabel* label : opened.window->findChildren<QLabel*>())
            captions << label->text();
        const QTabWidget* tabs = opened.window->findChild<QTabWidget*>();
        QVERIFY(tabs);
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
        for (const QString& caption : captions)
            QVERIFY2(!menuKeys.contains(QKeySequence::mnemonic(caption)), qPrintable(caption));
    }

    void everyControlIsNamedAndDescribed_data() { tabWalksTheWindowInVisualOrder_data(); }

    void everyControlIsNamedAndDescribed()
    {
        QFETCH(QString, window);
        const Opened opened = windows().value(window)();
        QVERIFY(opened.window && opened.start);
        QString problem;
        const QList<QWidget*> ring = AccessProbe::tabRing(opened.start, &problem);
        QVERIFY(!ring.isEmpty());
        QStringList problems;
        for (QWidget* control : ring) {
            if (const QString p = AccessProbe::namingProblem(control); !p.isEmpty())
                problems << p;
        }
        // Buttons that take no focus (a toolbar's, a date picker's box and
        // calendar button) are read out when pointed at; a toolbar button's
        // description says more than its caption.
        for (QAbstractButton* button : opened.window->findChildren<QAbstractButton*>()) {
            // The corner where a table's headers meet is drawn as a button.
            if (!button->isVisible() || qobject_cast<QAbstractItemView*>(button->parentWidget()))
                continue;
            const bool onToolbar = qobject_cast<QToolBar*>(button->parentWidget());
            if (ring.contains(button) && !onToolbar)
                continue;
            const AccessProbe::Spoken said = AccessProbe::spoken(button);
            if (said.name.isEmpty() || said.description.isEmpty() ||
                (onToolbar && said.description == said.name))
                problems << QStringLiteral("the button \"%1\" of %2 is not described")
                                .arg(said.name, AccessProbe::nameForMessage(button));
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    }

    // A toolbar button reached with Tab is pressed with Space: a business
    // typed in the pane is saved without the mouse.
    void toolbarButtonsWorkFromTheKeyboard()
    {
        LookupDriver::Fixture<frmBusinesses> f;
        frmBusinesses& w = f.open();
        QVERIFY(shownActive(&w));
        w.etName->setFocus();
        QTest::keyClicks(w.etName, QStringLiteral("Mill"));
        QWidget* save = w.Toolbar1->widgetForAction(w.Toolbar1->Button(LookupDriver::Save));
        for (int i = 0; i < 10 && QApplication::focusWidget() != save; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), save);
        QTest::keyClick(save, Qt::Key_Space);
        QCOMPARE(f.raw.value(QStringLiteral("SELECT count(*) FROM Businesses WHERE Name = 'Mill'")),
                 QVariant(1));
    }

    // An editor opened on a cell names the cell's column and row, and says
    // what to type.
    void cellEditorsNameTheirCell_data()
    {
        QTest::addColumn<bool>("bank");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* what, bool bank, int r, int c, const char* name) {
            QTest::newRow(what) << bank << r << c << QString::fromLatin1(name);
        };
        row("description", false, 1, Description, "Description, row 1");
        row("category", false, 2, Category, "Category, row 2");
        row("date", false, 1, Date, "Date, row 1");
        row("invoice", false, 2, Invoice, "Invoice Nr., row 2");
        row("receipt", false, 1, Receipt, "Receipt id, row 1");
        row("relation", false, 2, Relation, "Relation, row 2");
        row("debited", false, 1, Debited, "Debited, row 1");
        row("credited", false, 2, Credited, "Credited, row 2");
        row("bank date", true, 2, Date, "Date, row 2");
        row("bank amount", true, 2, Credited, "Credited, row 2");
    }

    void cellEditorsNameTheirCell()
    {
        QFETCH(bool, bank);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, name);
        Loaded s(bank);
        QCOMPARE(s.g.TextMatrix(0, col), name.section(QLatin1Char(','), 0, 0));
        Sheet::clickCell(s.g, row, col);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&s.g));
        Sheet::press(Qt::Key_Return);
        QVERIFY2(Sheet::openEditor(s.w) != QLatin1String("none"), "no editor opened");
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused && focused != &s.g);
        const AccessProbe::Spoken said = AccessProbe::spoken(focused);
        QCOMPARE(said.name, name);
        QVERIFY2(!said.description.isEmpty(), qPrintable(AccessProbe::nameForMessage(focused)));
        Sheet::press(Qt::Key_Escape);
    }

    // The help pages and the getting-started panel say what they are.
    void helpPagesAreNamedAndDescribed_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name");
        QTest::newRow("getting started") << "mnuGettingStarted"
                                         << "Getting started";
        QTest::newRow("keyboard") << "mnuKeyboard"
                                  << "Keyboard";
    }

    void helpPagesAreNamedAndDescribed()
    {
        QFETCH(QString, entry);
        QFETCH(QString, name);
        const Opened opened = frame();
        auto* action = opened.window->findChild<QAction*>(entry);
        QVERIFY(action);
        action->trigger();
        QTextBrowser* page = nullptr;
        for (QTextBrowser* b : opened.window->findChildren<QTextBrowser*>())
            if (b->isVisible())
                page = b;
        QVERIFY(page);
        const AccessProbe::Spoken said = AccessProbe::spoken(page);
        QCOMPARE(said.name, name);
        QVERIFY(!said.description.isEmpty());
        const AccessProbe::Spoken panel = AccessProbe::spoken(opened.start->parentWidget());
        QCOMPARE(panel.name, QStringLiteral("Getting started"));
        QVERIFY(!panel.description.isEmpty());
    }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
