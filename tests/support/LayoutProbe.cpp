#include "support/LayoutProbe.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

namespace LayoutProbe {

QString focusedControl()
{
    for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            return name;
    }
    return QStringLiteral("(none)");
}

QStringList tabCycle(QWidget* start, int moves, bool backwards)
{
    start->setFocus(Qt::OtherFocusReason);
    QStringList seen;
    QString current = focusedControl();
    for (int idle = 0; seen.size() < moves && idle < 10; ++idle) {
        QWidget* focus = QApplication::focusWidget();
        if (!focus)
            break;
        QTest::keyClick(focus, backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        if (const QString now = focusedControl(); now != current) {
            seen << now;
            current = now;
            idle = -1;
        }
    }
    return seen;
}

QRect rectIn(const QWidget* window, const QWidget* widget)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

void checkPane(const QGroupBox* frame, const QList<Row>& rows, int minBoxWidth)
{
    const QWidget* window = frame->window();
    QVERIFY2(window->rect().contains(rectIn(window, frame)), "the frame leaves the window");
    const QRect inside = frame->contentsRect();
    int boxLeft = -1;
    int previousBottom = -1;
    for (const Row& row : rows) {
        QLabel* label = row.first;
        QWidget* box = row.second;
        const QByteArray what = label->text().toUtf8();
        QVERIFY2(label->isVisible() && box->isVisible(), what);
        QVERIFY2(label->width() >= label->sizeHint().width(), what + " is cut");
        QVERIFY2(label->height() >= label->sizeHint().height(), what + " is cut");
        QVERIFY2(inside.contains(label->geometry()), what + " leaves the frame");
        QVERIFY2(inside.contains(box->geometry()), what + ": the box leaves the frame");
        QVERIFY2(box->width() >= minBoxWidth, what + ": the box is narrower than designed");
        // A drop-down list shows its entries whole.
        if (const auto* combo = qobject_cast<const QComboBox*>(box))
            QVERIFY2(combo->width() >= combo->sizeHint().width(), what + ": entries are cut");
        QVERIFY2(box->width() >= box->minimumSizeHint().width() &&
                     box->height() >= box->minimumSizeHint().height(),
                 what + ": the box is squashed");
        if (boxLeft < 0)
            boxLeft = box->x();
        QVERIFY2(box->x() == boxLeft, what + ": the boxes are not in one column");
        QVERIFY2(std::min(label->y(), box->y()) >= previousBottom,
                 what + " overlaps the row above");
        previousBottom = std::max(label->geometry().bottom(), box->geometry().bottom());
    }
    // A caption that touches its box reads as part of it.
    constexpr int LeastGap = 4;
    for (const Row& row : rows)
        QVERIFY2(boxLeft - row.first->geometry().right() - 1 >= LeastGap,
                 row.first->text().toUtf8() + " runs into the boxes");
}

} // namespace LayoutProbe
