// The report selection window, driven as a user drives it: its lists, the
// print button's rules, the end-date suggestion, and the stored query every
// print writes before the viewer shows the report.

#include "data/Recordset.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/Toolbar.h"
#include "ReportFixture.h"
#include "reports/frmCrys.h"
#include "reports/frmPrint.h"
#include "reports/ReportWindow.h"
#include "reports/ReportWindows.h"
#include "shell/Windows.h"
#include "support/DialogScript.h"

#include <QAction>
#include <QCheckBox>
#include <QtTest>

using ReportFixture::OpenBooks;
using ReportFixture::WhenModal;

namespace {

void clickItem(ListView& list, int index, bool twice = false)
{
    ListItem* item = list.Item(index);
    QVERIFY(item);
    const QPoint centre = list.visualItemRect(item).center();
    if (twice)
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
    else
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
}

// Picks the n-th business (from 0) with the keyboard, as a user would.
void pickBusiness(frmPrint& window, int index)
{
    window.cbobusiness->setFocus();
    QTest::keyClick(window.cbobusiness, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(window.cbobusiness, Qt::Key_Down);
    if (index == 0 && window.cbobusiness->ListIndex() != 0)
        QTest::keyClick(window.cbobusiness, Qt::Key_Down);
}

// Ticks or unticks a picker's box with the mouse.
void clickTick(DatePicker& picker)
{
    auto* box = picker.findChild<QCheckBox*>();
    QVERIFY(box);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

bool printEnabled(const frmPrint& window)
{
    return window.Toolbar1->ButtonEnabled(QStringLiteral("print"));
}

void clickPrint(frmPrint& window)
{
    window.Toolbar1->Button(QStringLiteral("print"))->trigger();
}

QString storedQuery()
{
    return dbStuff::DB->queryDef(QStringLiteral("crys_Default")).sql;
}

qint64 storedRows()
{
    return dbStuff::DB->OpenRecordset(QStringLiteral("SELECT count(*) FROM crys_Default"))
        ->field(0)
        .toLong();
}

// The selection window over the bakery's books, shown and active; `sql` is
// run on the file before the window loads its lists, and `business` is
// picked unless it is -1.
struct Selection
{
    OpenBooks open;
    bool prepared;
    DialogScript script;
    frmPrint window;

    explicit Selection(int business = 0, const QString& sql = {})
        : prepared(sql.isEmpty() || (RawDb(open.temp.path()).exec(sql), true))
    {
        // Shown as the active window, so that keys reach its focused control.
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        if (business >= 0)
            pickBusiness(window, business);
    }
    qint64 bakery() const { return open.books.bakery; }
};

} // namespace

class tst_Print : public QObject
{
    Q_OBJECT

private slots:
    void printNeedsABusinessAndAReport()
    {
        Selection s(-1);
        frmPrint& window = s.window;

        QCOMPARE(window.cbobusiness->List(1), QStringLiteral("Corner Shop"));
        QCOMPARE(window.LV1->Item(2)->Key(), QStringLiteral("r2"));
        // The list selects its first report by itself, but no business is chosen.
        QCOMPARE(window.CurrentReportTitle, ReportFixture::TransactionsReport);
        QVERIFY(!printEnabled(window));

        window.LV1->setSelectedItem(nullptr);
        pickBusiness(window, 0);
        QVERIFY(!printEnabled(window)); // a business, but no report

        clickItem(*window.LV1, 2);
        QVERIFY(printEnabled(window));
        QCOMPARE(window.CurrentReportId, 2L);
    }

    void withoutReportsPrintStaysOff()
    {
        Selection s(0, QStringLiteral("DELETE FROM Reports"));
        QVERIFY(!printEnabled(s.window));
    }

    void criteriaSelectTheBusinessAndDates_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("period"); // as the report prints it
        QTest::newRow("start and end") << QDate(2026, 3, 15) << QDate(2026, 3, 31)
                                       << "WHERE (((Businesses.BusinessId)=%1) AND "
                                          "((Transactions.TransactionDate)>=#2026-03-15# "
                                          "And (Transactions.TransactionDate)<=#2026-03-31#));"
                                       << 4 << "15/Mar/2026 to 31/Mar/2026";
        // The end picker shows 14/Apr/2026 unticked; the rows run on to April.
        QTest::newRow("start only") << QDate(2026, 3, 15) << QDate()
                                    << "WHERE (((Businesses.BusinessId)=%1) AND "
                                       "((Transactions.TransactionDate)>=#2026-03-15#));"
                                    << 5 << "from 15/Mar/2026";
        QTest::newRow("end only")
            << QDate() << QDate(2026, 3, 31)
            << "WHERE Businesses.BusinessId=%1 AND Transactions.TransactionDate <=#2026-03-31#;"
            << 12 << "up to 31/Mar/2026";
        QTest::newRow("no dates, still one business")
            << QDate() << QDate() << "WHERE (((Businesses.BusinessId)=%1));" << 13 << "all dates";
    }

    void criteriaSelectTheBusinessAndDates()
    {
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(QString, criteria);
        QFETCH(int, count);
        QFETCH(QString, period);
        Selection s;
        frmPrint& window = s.window;
        if (start.isValid()) {
            window.dt1[0]->setValue(Variant(start));
            window.dt1[0]->setValue(Variant::null());
            clickTick(*window.dt1[0]);
        }
        if (end.isValid())
            window.dt1[1]->setValue(Variant(end));

        QStringList headers;
        WhenModal<frmCrys> viewer([&](frmCrys& crys) {
            QTRY_VERIFY(crys.Report1.window() && crys.Report1.window()->hasReport());
            headers = crys.Report1.window()->result()->pageHeaders;
        });
        clickPrint(window);

        QCOMPARE(viewer.seen(), 1);
        QCOMPARE(headers, (QStringList{"Bakery Janssen", "VAT number: NL001234567B01",
                                       "Period: " + period}));
        QCOMPARE(storedQuery(), frmPrint::ReportSelect + criteria.arg(s.bakery()));
        QCOMPARE(dbStuff::ReportQuery.sql, storedQuery());
        QCOMPARE(storedRows(), qint64(count)); // never the shop's row
    }

    void printingAgainReplacesTheStoredQuery()
    {
        Selection s;
        frmPrint& window = s.window;
        // A query left by an earlier run of the program.
        dbStuff::DB->CreateQueryDef(QStringLiteral("crys_Default"),
                                    QStringLiteral("SELECT 1 AS One;"));
        WhenModal<frmCrys> viewer;

        clickPrint(window);
        QVERIFY(storedQuery().startsWith(frmPrint::ReportSelect));
        window.dt1[0]->setValue(Variant(QDate(2026, 3, 1)));
        clickPrint(window);

        QCOMPARE(viewer.seen(), 2);
        QVERIFY(storedQuery().endsWith(QStringLiteral(">=#2026-03-01#));")));
    }

    // Any report id reads the same selection, from a file named after its
    // title in the database's own folder.
    void aTitleCannotLeaveTheDatabaseFolder_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("a third report") << "Cash book.report";
        QTest::newRow("a title that climbs out") << "../../etc/Cash book.report";
    }

    void aTitleCannotLeaveTheDatabaseFolder()
    {
        QFETCH(QString, title);
        Selection s(0,
                    QStringLiteral("INSERT INTO Reports (Reportid, ReportTitle) VALUES (7, '%1')")
                        .arg(title));
        frmPrint& window = s.window;
        clickItem(*window.LV1, 3);
        QCOMPARE(window.CurrentReportId, 7L);
        QString file;
        WhenModal<frmCrys> viewer([&](frmCrys& crys) { file = crys.Report1.ReportFile; });
        clickPrint(window);
        QCOMPARE(viewer.seen(), 1);
        QCOMPARE(file, dbStuff::DBFolder + QStringLiteral("Cash book.report"));
    }

    // Something else of the query's name in the file may hold someone's data:
    // the message says what is in the way and what to do, and it stays as it is.
    void somethingInTheQuerysWayIsLeftAlone_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("what");
        QTest::newRow("a table") << "CREATE TABLE crys_Default AS SELECT 'kept' AS x"
                                 << "a table";
        QTest::newRow("an index") << "CREATE INDEX CRYS_DEFAULT ON Transactions (Description)"
                                  << "an object (index)";
    }

    void somethingInTheQuerysWayIsLeftAlone()
    {
        QFETCH(QString, sql);
        QFETCH(QString, what);
        Selection s(0, sql);
        const QString before =
            RawDb(s.open.temp.path())
                .value("SELECT group_concat(type || ':' || sql, ';') FROM sqlite_master "
                       "WHERE name = 'crys_Default' COLLATE NOCASE")
                .toString();
        s.script.answer(vbOK);
        WhenModal<frmCrys> viewer;

        clickPrint(s.window);
        QTest::qWait(50);

        QCOMPARE(viewer.seen(), 0);
        QCOMPARE(s.script.messages().size(), 1);
        const MessageRequest& message = s.script.messages()[0];
        QCOMPARE(message.prompt,
                 QStringLiteral("The report cannot be made: the database file holds %1 named "
                                "\"crys_Default\", the name the report needs for its query.\r\r"
                                "Rename or remove it with a database tool, then print again. It "
                                "has been left as it is.")
                     .arg(what));
        QCOMPARE(message.flags, int(vbExclamation + vbOKOnly));
        RawDb raw(s.open.temp.path());
        QCOMPARE(raw.value("SELECT group_concat(type || ':' || sql, ';') FROM sqlite_master "
                           "WHERE name = 'crys_Default' COLLATE NOCASE")
                     .toString(),
                 before);
        if (what == u"a table")
            QCOMPARE(raw.value("SELECT x FROM crys_Default").toString(), QStringLiteral("kept"));
    }

    // The mouse's way and the keyboard's: a double click on a report,
    // Return on it, or the Print button's key.
    void printsOnlyWithABusiness_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("double click") << "double click";
        QTest::newRow("Return") << "Return";
        QTest::newRow("Ctrl+P") << "Ctrl+P";
    }

    void printsOnlyWithABusiness()
    {
        QFETCH(QString, how);
        Selection s(-1);
        frmPrint& window = s.window;
        WhenModal<frmCrys> viewer;
        const auto print = [&] {
            if (how == u"double click") {
                clickItem(*window.LV1, 1, true);
                return;
            }
            clickItem(*window.LV1, 1);
            if (how == u"Return")
                QTest::keyClick(window.LV1, Qt::Key_Return);
            else
                QTest::keyClick(window.LV1, Qt::Key_P, Qt::ControlModifier);
        };

        print();
        QTest::qWait(30);
        QCOMPARE(viewer.seen(), 0);
        QVERIFY(!dbStuff::DB->hasQueryDef(QStringLiteral("crys_Default")));

        pickBusiness(window, 1);
        print();
        QCOMPARE(viewer.seen(), 1);
        QVERIFY(storedQuery().endsWith(
            QStringLiteral("WHERE (((Businesses.BusinessId)=%1));").arg(s.open.books.shop)));
    }

    // Opened for a business (the sheet's print button), the window starts on
    // it, ready to print; opened without one, nothing is chosen.
    void openedForABusinessStartsOnIt_data()
    {
        QTest::addColumn<bool>("forShop");
        QTest::newRow("the sheet's business") << true;
        QTest::newRow("no business") << false;
    }

    void openedForABusinessStartsOnIt()
    {
        QFETCH(bool, forShop);
        OpenBooks books;
        DialogScript script;
        RegisterReportWindows();
        QString chosen = QStringLiteral("(not shown)");
        bool printable = false;
        WhenModal<frmPrint> selection([&](frmPrint& window) {
            chosen = window.cbobusiness->Text();
            printable = printEnabled(window);
        });

        QVERIFY(dbStuff::ShowWindow(dbStuff::WindowId::Print, forShop ? books.books.shop : 0));
        dbStuff::UnregisterWindows();

        QCOMPARE(selection.seen(), 1);
        QCOMPARE(chosen, forShop ? QStringLiteral("Corner Shop") : QString());
        QCOMPARE(printable, forShop);
    }

    void aStartDateSuggestsTheEndOfItsMonth_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::newRow("first of March") << QDate(2026, 3, 1) << QDate(2026, 3, 31);
        QTest::newRow("31 January") << QDate(2026, 1, 31) << QDate(2026, 2, 27);
        QTest::newRow("31 January, leap year") << QDate(2024, 1, 31) << QDate(2024, 2, 28);
        QTest::newRow("mid December") << QDate(2026, 12, 15) << QDate(2027, 1, 14);
    }

    void aStartDateSuggestsTheEndOfItsMonth()
    {
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        Selection s(-1);
        frmPrint& window = s.window;
        // The start date is on show but not ticked; the user ticks it.
        window.dt1[0]->setValue(Variant(start));
        window.dt1[0]->setValue(Variant::null());

        clickTick(*window.dt1[0]);

        QCOMPARE(window.dt1[0]->Value().toDate().date(), start);
        QVERIFY(window.dt1[1]->Value().isNull());
        QCOMPARE(window.dt1[1]->date(), end);

        // Unticking the start leaves a chosen end as it is.
        window.dt1[1]->setValue(Variant(QDate(2027, 6, 30)));
        clickTick(*window.dt1[0]);
        QVERIFY(window.dt1[0]->Value().isNull());
        QCOMPARE(window.dt1[1]->Value().toDate().date(), QDate(2027, 6, 30));
    }
};

QTEST_MAIN(tst_Print)
#include "tst_print.moc"
