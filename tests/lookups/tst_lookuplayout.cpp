// The lookup windows as a person sees them: the details pane's captions whole
// and its boxes in one column at any font and window size, the list and pane
// placed from the window's inner size, and Tab moving through the pane in the
// designed order.

#include "LookupDriver.h"
#include "lookups/frmBusinesses.h"
#include "lookups/frmCategories.h"
#include "platform/widgets/Twips.h"
#include "support/LayoutProbe.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>

using namespace LookupDriver;
using LayoutProbe::Row;

namespace {

// The gap between the lists and above the details frame, in twips.
constexpr int Gap = 120;

// Within a pixel (`slack`): twips are rounded to whole pixels one value at a
// time.
void near(int actual, int expected, const char* what, int slack = 1)
{
    QVERIFY2(std::abs(actual - expected) <= slack,
             qPrintable(QStringLiteral("%1: %2, expected %3").arg(what).arg(actual).arg(expected)));
}

QList<Row> paneRows(frmBusinesses& w)
{
    return {{w.Label1, w.etName}, {w.Label2, w.etVAT}, {w.Label3, w.etAccountNr}};
}

QList<Row> paneRows(frmCategories& w)
{
    return {{w.Label1, w.etCategory},
            {w.Label3, w.etVAT},
            {w.Label2, w.cboType},
            {w.Label4, w.cboCashBank}};
}

// The designed width of the pane's boxes, in twips.
int boxWidth(const frmBusinesses&)
{
    return 1695;
}

int boxWidth(const frmCategories&)
{
    return 2835;
}

// The toolbar across the top, the list(s) below it down to the frame, the
// frame across the bottom at its designed height (twips) unless the pane needs
// more; for the categories window two lists of half the width, each first
// column taking what the others leave but 400 twips.
void checkBands(LookupWindow& w, const QList<ListView*>& lists, int frameHeight)
{
    near(w.Frame1->height(),
         std::max(Twips::toPixels(frameHeight), w.Frame1->minimumSizeHint().height()),
         "frame height");
    const int gap = Twips::toPixels(Gap);
    QCOMPARE(w.Toolbar1->geometry(), QRect(0, 0, w.width(), w.Toolbar1->height()));
    const int listTop = w.Toolbar1->height();
    const int listHeight = std::max(0, w.height() - w.Frame1->height() - listTop - gap);
    const int listWidth = lists.size() == 1 ? w.width() : (w.width() - gap) / 2;
    int left = 0;
    for (ListView* list : lists) {
        near(list->x(), left, "list left");
        QCOMPARE(list->y(), listTop);
        near(list->width(), listWidth, "list width");
        near(list->height(), listHeight, "list height");
        left += list->width() + gap;
        if (lists.size() > 1) {
            int others = 0;
            for (int i = 2; i <= list->ColumnHeaderCount(); ++i)
                others += list->ColumnHeaderWidth(i);
            // In twips. A column squeezed to nothing is hidden; otherwise it
            // never gets narrower than its header allows.
            const int formula = Twips::fromPixels(list->width()) - others - 400;
            const int least = Twips::fromPixels(list->header()->minimumSectionSize());
            near(list->ColumnHeaderWidth(1), formula <= 0 ? 0 : std::max(least, formula),
                 "first column", int(Twips::perPixel()));
        }
    }
    QCOMPARE(w.Frame1->x(), 0);
    QCOMPARE(w.Frame1->width(), w.width());
    near(w.Frame1->y(), listTop + listHeight + gap, "frame top");
    // The window never gets too short to show the frame.
    QVERIFY(w.Frame1->geometry().bottom() < w.height());
}

template <class Window> void checkWindow(double fontScale, const QSize& size)
{
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * fontScale);
    QApplication::setFont(font);
    Fixture<Window> f;
    Window& w = f.open();
    const QSize designed = w.size();
    if (size.isValid()) {
        w.resize(size);
        QTRY_COMPARE(w.size(), size.expandedTo(w.minimumSize()));
    } else if (fontScale == 1) {
        // At the default font the window opens at its designed size.
        const QSize twips =
            std::is_same_v<Window, frmBusinesses> ? QSize(7005, 5010) : QSize(10680, 6480);
        QCOMPARE(designed, Twips::toPixels(twips));
    }
    LayoutProbe::checkPane(w.Frame1, paneRows(w), Twips::toPixels(boxWidth(w)));
    if constexpr (std::is_same_v<Window, frmCategories>)
        checkBands(w, {w.LV1, w.LV2}, 2115);
    else
        checkBands(w, {w.LV1}, 1695);
}

// Tab (or Shift+Tab) pressed from the window's name box, as many times as
// `presses`: the controls focused in turn.
template <class Window> QStringList tabFromNameBox(int presses, bool backwards)
{
    Fixture<Window> f;
    Window& w = f.open();
    if (!QTest::qWaitForWindowActive(&w))
        return {QStringLiteral("(window not active)")};
    QWidget* start = nullptr;
    if constexpr (std::is_same_v<Window, frmCategories>)
        start = w.etCategory;
    else
        start = w.etName;
    return LayoutProbe::tabCycle(start, presses, backwards);
}

} // namespace

class tst_LookupLayout : public QObject
{
    Q_OBJECT

    QFont appFont;

private slots:
    void initTestCase() { appFont = QApplication::font(); }
    void cleanup() { QApplication::setFont(appFont); }

    void paneAndListsFitAnyFontAndSize_data()
    {
        QTest::addColumn<bool>("categories");
        QTest::addColumn<double>("fontScale");
        QTest::addColumn<QSize>("size"); // pixels; invalid: as opened
        for (const bool categories : {false, true}) {
            const char* name = categories ? "categories" : "businesses";
            const auto row = [&](const char* what, double scale, QSize size) {
                QTest::addRow("%s, %s", name, what) << categories << scale << size;
            };
            row("designed", 1, {});
            row("small", 1, {200, 120});
            row("large", 1, {1500, 1000});
            row("large font", 2.2, {});
            row("large font, small", 2.2, {200, 120});
            row("large font, large", 2.2, {1500, 1000});
        }
    }

    void paneAndListsFitAnyFontAndSize()
    {
        QFETCH(bool, categories);
        QFETCH(double, fontScale);
        QFETCH(QSize, size);
        if (categories)
            checkWindow<frmCategories>(fontScale, size);
        else
            checkWindow<frmBusinesses>(fontScale, size);
    }

    void tabFollowsTheDesignedOrder_data()
    {
        QTest::addColumn<bool>("categories");
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<QStringList>("order"); // from the name box on
        const auto list = [](const char* names) {
            return QString::fromLatin1(names).split(QLatin1Char(' '));
        };
        QTest::newRow("businesses")
            << false << false << list("etVAT etAccountNr Toolbar1 LV1 etName");
        QTest::newRow("businesses, back")
            << false << true << list("LV1 Toolbar1 etAccountNr etVAT etName");
        QTest::newRow("categories")
            << true << false << list("etVAT cboType cboCashBank Toolbar1 LV1 LV2 etCategory");
        QTest::newRow("categories, back")
            << true << true << list("LV2 LV1 Toolbar1 cboCashBank cboType etVAT etCategory");
    }

    void tabFollowsTheDesignedOrder()
    {
        QFETCH(bool, categories);
        QFETCH(bool, backwards);
        QFETCH(QStringList, order);
        const int presses = int(order.size());
        QCOMPARE(categories ? tabFromNameBox<frmCategories>(presses, backwards)
                            : tabFromNameBox<frmBusinesses>(presses, backwards),
                 order);
    }
};

QTEST_MAIN(tst_LookupLayout)
#include "tst_lookuplayout.moc"
