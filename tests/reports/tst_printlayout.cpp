// The report selection window as a person sees it: the business caption and
// the date captions whole at any font and window size, the report list and the
// criteria frame placed from the window's inner size, and Tab moving through
// the controls in the designed order.

#include "platform/widgets/ComboBox.h"
#include "platform/widgets/DatePicker.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"
#include "ReportFixture.h"
#include "reports/frmPrint.h"
#include "support/LayoutProbe.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QtTest>

using LayoutProbe::rectIn;

namespace {

void near(int actual, int expected, const char* what)
{
    QVERIFY2(std::abs(actual - expected) <= 1,
             qPrintable(QStringLiteral("%1: %2, expected %3").arg(what).arg(actual).arg(expected)));
}

// The window over the bakery's books, shown and active.
struct Shown
{
    ReportFixture::OpenBooks books;
    frmPrint window;

    Shown()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
};

} // namespace

class tst_PrintLayout : public QObject
{
    Q_OBJECT

    QFont appFont;

private slots:
    void initTestCase() { appFont = QApplication::font(); }
    void cleanup() { QApplication::setFont(appFont); }

    void controlsFitAnyFontAndSize_data()
    {
        QTest::addColumn<double>("fontScale");
        QTest::addColumn<QSize>("size"); // pixels; invalid: as opened
        QTest::newRow("designed") << 1.0 << QSize();
        QTest::newRow("small") << 1.0 << QSize(150, 100);
        QTest::newRow("large") << 1.0 << QSize(1400, 900);
        QTest::newRow("large font") << 2.2 << QSize();
        QTest::newRow("large font, small") << 2.2 << QSize(150, 100);
        QTest::newRow("large font, large") << 2.2 << QSize(1400, 900);
    }

    void controlsFitAnyFontAndSize()
    {
        QFETCH(double, fontScale);
        QFETCH(QSize, size);
        QFont font = QApplication::font();
        font.setPointSizeF(font.pointSizeF() * fontScale);
        QApplication::setFont(font);
        Shown s;
        frmPrint& w = s.window;
        if (size.isValid()) {
            w.resize(size);
            QTRY_COMPARE(w.size(), size.expandedTo(w.minimumSize()));
        } else if (fontScale == 1) {
            QCOMPARE(w.size(), Twips::toPixels(QSize(6900, 4020)));
        }
        // The frame at its designed height, unless its contents need more.
        near(w.frCriteria->height(),
             std::max(Twips::toPixels(1275), w.frCriteria->minimumSizeHint().height()),
             "criteria height");

        // The business caption whole, left of its box, both below the toolbar
        // and inside the window.
        const QRect toolbar = w.Toolbar1->geometry();
        const QRect caption = rectIn(&w, w.Label2);
        const QRect combo = rectIn(&w, w.cbobusiness);
        QVERIFY(w.Label2->width() >= w.Label2->sizeHint().width());
        QVERIFY(caption.right() < combo.left());
        QVERIFY(caption.top() > toolbar.bottom());
        QVERIFY(combo.top() > toolbar.bottom());
        QVERIFY(w.rect().contains(caption));
        QVERIFY(w.rect().contains(combo));
        QVERIFY(combo.height() >= w.cbobusiness->minimumSizeHint().height());
        // The box ends where designed (6795 twips) when the window has the room.
        QVERIFY(combo.right() < w.width());
        if (fontScale == 1 && w.width() >= Twips::toPixels(6900))
            near(combo.right() + 1, Twips::toPixels(6795), "business box right edge");
        LayoutProbe::checkPane(w.frCriteria, {{w.Label1[0], w.dt1[0]}, {w.Label1[1], w.dt1[1]}},
                               Twips::toPixels(2175));

        // The list below the business box down to the frame; the frame across
        // the bottom; the first column takes what the others leave but 400 twips.
        const int listTop = combo.bottom() + 1 + Twips::toPixels(180);
        near(w.LV1->y(), listTop, "list top");
        QCOMPARE(w.LV1->x(), 0);
        QCOMPARE(w.LV1->width(), w.width());
        near(w.LV1->height(),
             std::max(0, w.height() - listTop - w.frCriteria->height() - Twips::toPixels(120)),
             "list height");
        near(w.frCriteria->y(), w.LV1->geometry().bottom() + 1 + Twips::toPixels(120),
             "criteria top");
        QCOMPARE(w.frCriteria->x(), 0);
        QCOMPARE(w.frCriteria->width(), w.width());
        QVERIFY(w.frCriteria->geometry().bottom() < w.height());
        near(w.LV1->ColumnHeaderWidth(1),
             std::max(Twips::fromPixels(w.LV1->header()->minimumSectionSize()),
                      Twips::fromPixels(w.LV1->width()) - w.LV1->ColumnHeaderWidth(2) -
                          w.LV1->ColumnHeaderWidth(3) - 400),
             "first column");
    }

    void tabFollowsTheDesignedOrder_data()
    {
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<QStringList>("order"); // from the business box on
        QTest::newRow("forwards") << false
                                  << QStringList{"LV1", "dt1_0", "dt1_1", "Toolbar1",
                                                 "cbobusiness"};
        QTest::newRow("backwards")
            << true << QStringList{"Toolbar1", "dt1_1", "dt1_0", "LV1", "cbobusiness"};
    }

    void tabFollowsTheDesignedOrder()
    {
        QFETCH(bool, backwards);
        QFETCH(QStringList, order);
        Shown s;
        QCOMPARE(LayoutProbe::tabCycle(s.window.cbobusiness, int(order.size()), backwards), order);
    }
};

QTEST_MAIN(tst_PrintLayout)
#include "tst_printlayout.moc"
