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
#include "reports/ReportWindows.h"
#include "shell/Windows.h"
#include "support/DialogScript.h"

#include <QAction>
#include <QCheckBox>
#include <QtTest>

using ReportFixture::OpenBooks;
using ReportFixture::WhenModal;

namespace {

// Shows the window as the active one, so that keys reach its focused control.
void showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

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

QStringList storedDescriptions()
{
    QStringList found;
    auto rows = dbStuff::DB->OpenRecordset(
        QStringLiteral("SELECT Description FROM crys_Default ORDER BY TransactionDate"));
    for (; !rows->EOF_(); rows->MoveNext())
        found << rows->field(0).toText();
    return found;
}

} // namespace

class tst_Print : public QObject
{
    Q_OBJECT

private slots:
    void printNeedsABusinessAndAReport()
    {
        OpenBooks books;
        DialogScript script;
        frmPrint window;
        showActive(window);

        QCOMPARE(window.cbobusiness->List(0) + u'|' + window.cbobusiness->List(1),
                 QStringLiteral("Bakery Janssen|Corner Shop"));
        QCOMPARE(window.LV1->Item(2)->Key() + u'|' + window.LV1->Item(2)->Text(),
                 QStringLiteral("r2|VAT summary.report"));
        // The list selects its first report by itself, but no business is chosen.
        QCOMPARE(window.CurrentReportTitle, ReportFixture::TransactionsReport);
        QVERIFY(!printEnabled(window));

        window.LV1->setSelectedItem(nullptr);
        pickBusiness(window, 0);
        QCOMPARE(window.cbobusiness->ListIndex(), 0);
        QVERIFY(!printEnabled(window)); // a business, but no report

        clickItem(*window.LV1, 2);
        QVERIFY(printEnabled(window));
        QCOMPARE(window.CurrentReportId, 2L);
        QCOMPARE(script.shown(), 0);
    }

    void withoutReportsPrintStaysOff()
    {
        OpenBooks books;
        RawDb(books.temp.path()).exec(QStringLiteral("DELETE FROM Reports"));
        frmPrint window;
        showActive(window);
        pickBusiness(window, 0);
        QVERIFY(!printEnabled(window));
    }

    void criteriaSelectTheBusinessAndDates_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<int>("count");
        QTest::newRow("start and end") << QDate(2026, 3, 15) << QDate(2026, 3, 31)
                                       << "WHERE (((Businesses.BusinessId)=%1) AND "
                                          "((Transactions.TransactionDate)>=#2026-03-15# "
                                          "And (Transactions.TransactionDate)<=#2026-03-31#));"
                                       << QStringList{"Rent March", "Flour, 25 sacks"} << 4;
        QTest::newRow("start only") << QDate(2026, 3, 15) << QDate()
                                    << "WHERE (((Businesses.BusinessId)=%1) AND "
                                       "((Transactions.TransactionDate)>=#2026-03-15#));"
                                    << QStringList{"Rent March", "Flour, 25 sacks"} << 5;
        QTest::newRow("end only")
            << QDate() << QDate(2026, 3, 31)
            << "WHERE Businesses.BusinessId=%1 AND Transactions.TransactionDate <=#2026-03-31#;"
            << QStringList{"Bread, last day of February", "Rolls"} << 12;
        QTest::newRow("no dates, still one business")
            << QDate() << QDate() << "WHERE (((Businesses.BusinessId)=%1));"
            << QStringList{"Bread, last day of February", "Rolls"} << 13;
    }

    void criteriaSelectTheBusinessAndDates()
    {
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(QString, criteria);
        QFETCH(QStringList, first);
        QFETCH(int, count);
        OpenBooks books;
        DialogScript script;
        frmPrint window;
        showActive(window);
        pickBusiness(window, 0);
        window.dt1[0]->setValue(start.isValid() ? Variant(start) : Variant::null());
        window.dt1[1]->setValue(end.isValid() ? Variant(end) : Variant::null());

        WhenModal<frmCrys> viewer;
        clickPrint(window);

        QCOMPARE(viewer.seen(), 1);
        QCOMPARE(storedQuery(), frmPrint::ReportSelect + criteria.arg(books.books.bakery));
        QCOMPARE(dbStuff::ReportQuery.sql, storedQuery());
        const QStringList rows = storedDescriptions();
        QCOMPARE(rows.size(), count);
        QCOMPARE(rows.mid(0, 2), first);
        QVERIFY(!rows.contains(QStringLiteral("Shop bread")));
        if (end == QDate(2026, 3, 31))
            QCOMPARE(rows.last(), QStringLiteral("Bread, last day of March"));
        QCOMPARE(script.shown(), 0);
    }

    void printingAgainReplacesTheStoredQuery()
    {
        OpenBooks books;
        // A query left by an earlier run of the program.
        dbStuff::DB->CreateQueryDef(QStringLiteral("crys_Default"),
                                    QStringLiteral("SELECT 1 AS One;"));
        DialogScript script;
        frmPrint window;
        showActive(window);
        pickBusiness(window, 0);
        WhenModal<frmCrys> viewer;

        clickPrint(window);
        const QString first = storedQuery();
        window.dt1[0]->setValue(Variant(QDate(2026, 3, 1)));
        clickPrint(window);

        QCOMPARE(viewer.seen(), 2);
        QVERIFY(first.endsWith(
            QStringLiteral("WHERE (((Businesses.BusinessId)=%1));").arg(books.books.bakery)));
        QVERIFY(storedQuery().endsWith(QStringLiteral(">=#2026-03-01#));")));
        QCOMPARE(script.shown(), 0);
        // The query stays in the file after the window is gone.
        window.close();
        QVERIFY(
            RawDb(books.temp.path())
                .value(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'crys_Default'"))
                .toString()
                .contains(QStringLiteral("2026-03-01")));
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
        OpenBooks books;
        RawDb(books.temp.path()).report(7, title);
        frmPrint window;
        showActive(window);
        pickBusiness(window, 0);
        clickItem(*window.LV1, 3);
        QCOMPARE(window.CurrentReportId, 7L);
        QString file;
        WhenModal<frmCrys> viewer([&](frmCrys& crys) { file = crys.Report1.ReportFile; });
        clickPrint(window);
        QCOMPARE(viewer.seen(), 1);
        QCOMPARE(file, dbStuff::DBFolder + QStringLiteral("Cash book.report"));
        QCOMPARE(
            storedQuery(),
            frmPrint::ReportSelect +
                QStringLiteral("WHERE (((Businesses.BusinessId)=%1));").arg(books.books.bakery));
    }

    void aQueryThatCannotBeWrittenOpensNoViewer()
    {
        OpenBooks books;
        // A table in the way: the name exists, and it is no query to delete.
        RawDb(books.temp.path()).exec(QStringLiteral("CREATE TABLE crys_Default (x)"));
        DialogScript script;
        script.answer(vbOK);
        frmPrint window;
        showActive(window);
        pickBusiness(window, 0);
        WhenModal<frmCrys> viewer;

        clickPrint(window);
        QTest::qWait(50);

        QCOMPARE(viewer.seen(), 0);
        QCOMPARE(script.messages().size(), 1);
        QVERIFY2(script.messages()[0].prompt.startsWith(QStringLiteral("Error 3265:")),
                 qPrintable(script.messages()[0].prompt));
        QCOMPARE(script.messages()[0].icon(), vbCritical);
    }

    void doubleClickPrintsOnlyWithABusiness()
    {
        OpenBooks books;
        DialogScript script;
        frmPrint window;
        showActive(window);
        WhenModal<frmCrys> viewer;

        clickItem(*window.LV1, 1, true);
        QTest::qWait(30);
        QCOMPARE(viewer.seen(), 0);
        QVERIFY(!dbStuff::DB->hasQueryDef(QStringLiteral("crys_Default")));

        pickBusiness(window, 1);
        clickItem(*window.LV1, 1, true);
        QCOMPARE(viewer.seen(), 1);
        QVERIFY(storedQuery().endsWith(
            QStringLiteral("WHERE (((Businesses.BusinessId)=%1));").arg(books.books.shop)));
        QCOMPARE(script.shown(), 0);
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
        OpenBooks books;
        frmPrint window;
        showActive(window);
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

    void closeUnloadsAndTheMenuOpensItModally()
    {
        OpenBooks books;
        RegisterReportWindows();
        int seen = 0;
        WhenModal<frmPrint> selection([&](frmPrint& window) {
            ++seen;
            window.Toolbar1->Button(QStringLiteral("close"))->trigger();
            QVERIFY(!window.isVisible());
        });

        QVERIFY(dbStuff::ShowWindow(dbStuff::WindowId::Print));

        QCOMPARE(seen, 1);
        QVERIFY(!QApplication::activeModalWidget());
        dbStuff::UnregisterWindows();
    }
};

QTEST_MAIN(tst_Print)
#include "tst_print.moc"
