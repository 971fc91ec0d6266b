#include "platform/VbError.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/Twips.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

// A list of businesses with check boxes on a shown, active window, and a log
// of the user events with what the list showed when each arrived.
class ListFixture
{
public:
    explicit ListFixture(bool checkboxes)
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(&other);
        layout->addWidget(&list);
        window.resize(500, 400);
        list.addColumnHeader("Business", 1440);
        list.addColumnHeader("VatNr.", 1440, ListView::AlignCenter);
        list.setCheckboxes(checkboxes);
        for (int id : {3, 7, 12, 20}) {
            ListItem* item =
                list.Add(QStringLiteral("b%1").arg(id), QStringLiteral("Shop %1").arg(id));
            item->setSubItems(1, id == 7 ? QStringLiteral("n/a") : QStringLiteral("NL%1").arg(id));
        }
        QObject::connect(&list, &ListView::ItemClick, [this](ListItem* item) {
            const ListItem* selected = list.SelectedItem();
            log << QStringLiteral("click %1 sel %2")
                       .arg(item->Key(), selected ? selected->Key() : "-");
        });
        QObject::connect(&list, &ListView::ItemCheck, [this](ListItem* item) {
            log << QStringLiteral("check %1 %2").arg(item->Key()).arg(item->Checked());
        });
        window.show();
        window.activateWindow();
    }

    QPoint checkPoint(ListItem* item) const
    {
        const QRect row = list.visualItemRect(item);
        const int margin =
            list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
        const int box = list.style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &list);
        return {row.left() + margin + box / 2, row.center().y()};
    }

    QPoint textPoint(ListItem* item) const
    {
        const QRect row = list.visualItemRect(item);
        return {row.left() + list.columnWidth(0) - 10, row.center().y()};
    }

    QWidget window;
    QLineEdit other;
    ListView list;
    QStringList log;
};

class TestListView : public QObject
{
    Q_OBJECT

private slots:
    void programChangesRaiseNothing();
    void userTickRaisesItemCheck();
    void clickAndKeyboardRaiseItemClickAfterSelection();
    void doubleClick();
    void keysFindRemoveAndClear();
    void columnHeadersInTwips();
    void hideSelectionFollowsFocus();
};

void TestListView::programChangesRaiseNothing()
{
    ListFixture f(true);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.list.Find("b7")->setChecked(true);
    f.list.Find("b12")->setChecked(true);
    f.list.Find("b7")->setChecked(false);
    f.list.setSelectedItem(f.list.Find("b20"));
    f.list.Add("b30", "Shop 30")->setChecked(true);
    f.list.Remove("b3");
    f.list.setSelectedItem(nullptr);
    QCOMPARE(f.log, QStringList());
    QCOMPARE(f.list.Find("b12")->checkState(0), Qt::Checked);
    QCOMPARE(f.list.Find("b7")->checkState(0), Qt::Unchecked);
}

void TestListView::userTickRaisesItemCheck()
{
    ListFixture f(true);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    ListItem* item = f.list.Find("b12");

    QTest::mouseClick(f.list.viewport(), Qt::LeftButton, {}, f.checkPoint(item));
    QCOMPARE(f.log, (QStringList{"check b12 1", "click b12 sel b12"}));
    QCOMPARE(item->Checked(), true);

    // After a program untick, the next user click ticks again and says so.
    item->setChecked(false);
    f.log.clear();
    QTest::mouseClick(f.list.viewport(), Qt::LeftButton, {}, f.checkPoint(item));
    QCOMPARE(f.log, (QStringList{"check b12 1", "click b12 sel b12"}));

    // A click on the text of an item ticks nothing.
    f.log.clear();
    QTest::mouseClick(f.list.viewport(), Qt::LeftButton, {}, f.textPoint(f.list.Find("b3")));
    QCOMPARE(f.log, QStringList{"click b3 sel b3"});
    QCOMPARE(f.list.Find("b3")->Checked(), false);

    // Space ticks the focused item.
    f.log.clear();
    f.list.setFocus();
    f.list.setSelectedItem(f.list.Find("b7"));
    QTest::keyClick(&f.list, Qt::Key_Space);
    QCOMPARE(f.log, QStringList{"check b7 1"});
}

void TestListView::clickAndKeyboardRaiseItemClickAfterSelection()
{
    ListFixture f(false);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTest::mouseClick(f.list.viewport(), Qt::LeftButton, {}, f.textPoint(f.list.Find("b12")));
    QTest::keyClick(&f.list, Qt::Key_Down);
    QTest::keyClick(&f.list, Qt::Key_Down); // already on the last item: nothing
    QTest::keyClick(&f.list, Qt::Key_Home);
    QCOMPARE(f.log, (QStringList{"click b12 sel b12", "click b20 sel b20", "click b3 sel b3"}));
}

void TestListView::doubleClick()
{
    ListFixture f(false);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QSignalSpy dbl(&f.list, &ListView::DblClick);
    // A real double click: a click, then the double-click event.
    const QPoint at = f.textPoint(f.list.Find("b7"));
    QTest::mouseClick(f.list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(f.list.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(dbl.count(), 1);
    QCOMPARE(f.list.SelectedItem(), f.list.Find("b7"));
}

void TestListView::keysFindRemoveAndClear()
{
    ListView list;
    list.addColumnHeader("Reports", 3000);
    list.addColumnHeader("Criteria", 1000);
    list.addColumnHeader("RepId.", 800, ListView::AlignRight);
    QCOMPARE(list.SelectedItem(), nullptr);

    // The first item of an empty list becomes the selected one.
    ListItem* first = list.Add("r1", "Sales.rpt");
    first->setSubItems(2, "1");
    ListItem* second = list.Add("r2", "Costs.rpt");
    QCOMPARE(list.SelectedItem(), first);
    QCOMPARE(list.Item(3), nullptr);
    QCOMPARE(first->SubItems(1), QString());
    QVERIFY_THROWS_EXCEPTION(VbError, list.Add("r2", "again"));
    QCOMPARE(list.Count(), 2);

    list.Remove("r1");
    list.Remove("r1"); // no such key any more: nothing
    QCOMPARE(second->Index(), 1);
    // A removed key may be used again.
    QCOMPARE(list.Add("r1", "Sales.rpt")->Index(), 2);

    list.Clear();
    QCOMPARE(list.SelectedItem(), nullptr);
    list.Add("r2", "Costs.rpt");
    QCOMPARE(list.SelectedItem(), list.Find("r2"));
}

void TestListView::columnHeadersInTwips()
{
    ListView list;
    list.addColumnHeader("Business/Account name", 3500);
    list.addColumnHeader("Business Id", 1440, ListView::AlignCenter);
    list.addColumnHeader("VAT Nr.", 1440, ListView::AlignRight);
    list.setColumnHeaderWidth(1, 4001);
    QCOMPARE(list.columnWidth(0), Twips::toPixels(4001));

    ListItem* item = list.Add("b1", "Shop");
    item->setSubItems(2, "NL1");
    QCOMPARE(Qt::Alignment(item->textAlignment(2)) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(Qt::Alignment(item->textAlignment(1)) & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    // A divider dragged by the user is read back in twips.
    list.header()->resizeSection(2, 120);
    QCOMPARE(list.ColumnHeaderWidth(3), Twips::fromPixels(120));
    QVERIFY_THROWS_EXCEPTION(VbError, list.ColumnHeaderWidth(4));
}

void TestListView::hideSelectionFollowsFocus()
{
    ListView list;
    QVERIFY(list.HideSelection());
    QCOMPARE(list.palette().color(QPalette::Inactive, QPalette::Highlight),
             list.palette().color(QPalette::Inactive, QPalette::Base));
    list.setHideSelection(false);
    QVERIFY(list.palette().color(QPalette::Inactive, QPalette::Highlight) !=
            list.palette().color(QPalette::Inactive, QPalette::Base));
}

QTEST_MAIN(TestListView)
#include "tst_listview.moc"
