#include "platform/VbError.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/Twips.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPalette>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

// A list of businesses on a shown, active window, and a log of the user events
// with what the list showed when each arrived.
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
        list.addColumnHeader("VatNr.", 1440, ListView::AlignRight);
        list.setCheckboxes(checkboxes);
        for (int id : {3, 7, 12, 20})
            list.Add(QStringLiteral("b%1").arg(id), QStringLiteral("Shop %1").arg(id));
        QObject::connect(&list, &ListView::ItemClick, [this](ListItem* item) {
            const ListItem* selected = list.SelectedItem();
            log << QStringLiteral("click %1 sel %2")
                       .arg(item->Key(), selected ? selected->Key() : "-");
        });
        QObject::connect(&list, &ListView::ItemCheck, [this](ListItem* item) {
            log << QStringLiteral("check %1 %2").arg(item->Key()).arg(item->Checked());
        });
        QObject::connect(&list, &ListView::DblClick, [this] { log << QStringLiteral("double"); });
        window.show();
        window.activateWindow();
    }

    void click(const QString& key, bool onTheBox = false)
    {
        const QRect row = list.visualItemRect(list.Find(key));
        int x = row.left() + list.columnWidth(0) - 10;
        if (onTheBox) {
            const int margin =
                list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
            x = row.left() + margin +
                list.style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &list) / 2;
        }
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(x, row.center().y()));
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
    void userTicksRaiseItemCheck();
    void clicksAndKeysRaiseItemClickAfterSelection();
    void keysFindRemoveAndColumns();
    void selectionFollowsThePalette_data();
    void selectionFollowsThePalette();
    void tabbingInShowsTheFocus_data();
    void tabbingInShowsTheFocus();
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

void TestListView::userTicksRaiseItemCheck()
{
    ListFixture f(true);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));

    f.click("b12", true);
    // After a program untick, the next user click ticks again and says so.
    f.list.Find("b12")->setChecked(false);
    f.click("b12", true);
    // A click on the text of an item ticks nothing.
    f.click("b3");
    // Space ticks the focused item.
    f.list.setFocus();
    f.list.setSelectedItem(f.list.Find("b7"));
    QTest::keyClick(&f.list, Qt::Key_Space);
    QCOMPARE(f.log, (QStringList{"check b12 1", "click b12 sel b12", "check b12 1",
                                 "click b12 sel b12", "click b3 sel b3", "check b7 1"}));
    QCOMPARE(f.list.Find("b3")->Checked(), false);
}

void TestListView::clicksAndKeysRaiseItemClickAfterSelection()
{
    ListFixture f(false);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.click("b12");
    QTest::keyClick(&f.list, Qt::Key_Down);
    QTest::keyClick(&f.list, Qt::Key_Down); // already on the last item: nothing
    QTest::keyClick(&f.list, Qt::Key_Home);
    // A real double click: a click, then the double-click event.
    f.click("b7");
    const QRect row = f.list.visualItemRect(f.list.Find("b7"));
    QTest::mouseDClick(f.list.viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(f.log, (QStringList{"click b12 sel b12", "click b20 sel b20", "click b3 sel b3",
                                 "click b7 sel b7", "double"}));
}

void TestListView::keysFindRemoveAndColumns()
{
    ListView list;
    list.addColumnHeader("Reports", 3000);
    list.addColumnHeader("RepId.", 800, ListView::AlignRight);
    QCOMPARE(list.SelectedItem(), nullptr);

    // The first item of an empty list becomes the selected one.
    ListItem* first = list.Add("r1", "Sales.rpt");
    ListItem* second = list.Add("r2", "Costs.rpt");
    second->setSubItems(1, "2");
    QCOMPARE(list.SelectedItem(), first);
    QVERIFY_THROWS_EXCEPTION(VbError, list.Add("r2", "again"));
    QCOMPARE(list.Count(), 2);
    QCOMPARE(Qt::Alignment(second->textAlignment(1)) & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    list.Remove("r1");
    list.Remove("r1"); // no such key any more: nothing
    QCOMPARE(second->Index(), 1);
    // A removed key may be used again.
    QCOMPARE(list.Add("r1", "Sales.rpt")->Index(), 2);

    list.Clear();
    list.Add("r2", "Costs.rpt");
    QCOMPARE(list.SelectedItem(), list.Find("r2"));

    // A divider dragged by the user is read back in twips.
    list.header()->resizeSection(1, 120);
    QCOMPARE(list.ColumnHeaderWidth(2), Twips::fromPixels(120));
    QVERIFY_THROWS_EXCEPTION(VbError, list.ColumnHeaderWidth(3));
}

void TestListView::selectionFollowsThePalette_data()
{
    QTest::addColumn<bool>("hide"); // HideSelection
    QTest::addColumn<bool>("dark"); // a dark palette from the desktop

    QTest::newRow("shown, light") << false << false;
    QTest::newRow("hidden, light") << true << false;
    QTest::newRow("shown, dark") << false << true;
    QTest::newRow("hidden, dark") << true << true;
}

void TestListView::selectionFollowsThePalette()
{
    QFETCH(bool, hide);
    QFETCH(bool, dark);
    const QPalette before = QApplication::palette();
    QPalette palette = before;
    if (dark) {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::Base, QColor(36, 36, 36));
            palette.setColor(group, QPalette::Text, QColor(230, 230, 230));
            palette.setColor(group, QPalette::Highlight, QColor(42, 130, 218));
            palette.setColor(group, QPalette::HighlightedText, Qt::black);
        }
    }
    QApplication::setPalette(palette);
    {
        ListFixture f(false);
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.list.setHideSelection(hide);
        f.click(QStringLiteral("b7"));
        f.other.setFocus();
        QTRY_VERIFY(f.other.hasFocus());

        // The selected row, where no text is: the background it is painted in.
        const QRect row = f.list.visualItemRect(f.list.Find(QStringLiteral("b7")));
        const QImage image = f.list.viewport()->grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        const QPoint at(int((row.right() - 4) * ratio), int(row.center().y() * ratio));
        const QColor shown = image.pixelColor(at);
        const QColor expected =
            palette.color(QPalette::Inactive, hide ? QPalette::Base : QPalette::Highlight);
        QApplication::setPalette(before);
        QCOMPARE(shown.name(), expected.name());
    }
    QApplication::setPalette(before);
}

void TestListView::tabbingInShowsTheFocus_data()
{
    QTest::addColumn<bool>("checkboxes");
    QTest::newRow("list") << false;
    QTest::newRow("list with boxes") << true;
}

// A list tabbed into may have no current row to show; its frame shows the
// focus, on every side, and only while the list has it.
void TestListView::tabbingInShowsTheFocus()
{
    QFETCH(bool, checkboxes);
    ListFixture f(checkboxes);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    const QColor highlight = f.list.palette().color(QPalette::Active, QPalette::Highlight);
    const auto edges = [&f] {
        const QImage image = f.list.grab().toImage();
        const int w = image.width() - 1;
        const int h = image.height() - 1;
        return QList<QColor>{image.pixelColor(w / 2, 0), image.pixelColor(w / 2, h),
                             image.pixelColor(0, h / 2), image.pixelColor(w, h / 2)};
    };
    f.other.setFocus();
    for (const QColor& edge : edges())
        QVERIFY(edge != highlight);

    QTest::keyClick(&f.other, Qt::Key_Tab);
    QVERIFY(f.list.hasFocus());
    for (const QColor& edge : edges())
        QCOMPARE(edge, highlight);

    QTest::keyClick(&f.list, Qt::Key_Tab);
    QVERIFY(f.other.hasFocus());
    for (const QColor& edge : edges())
        QVERIFY(edge != highlight);
}

QTEST_MAIN(TestListView)

#include "tst_listview.moc"
