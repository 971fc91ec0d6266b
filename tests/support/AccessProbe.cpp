#include "support/AccessProbe.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <algorithm>

namespace AccessProbe {

namespace {

constexpr int MostPresses = 40;

QPoint topLeftInWindow(const QWidget* widget)
{
    return widget->mapTo(widget->window(), QPoint(0, 0));
}

QString withoutMnemonic(QString caption)
{
    // "&&" stands for one "&"; a lone "&" marks the mnemonic letter.
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    caption = caption.trimmed();
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption.trimmed();
}

} // namespace

QList<QWidget*> tabRing(QWidget* start, QString* problem)
{
    start->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QList<QWidget*> ring;
    QWidget* focus = QApplication::focusWidget();
    if (!focus) {
        *problem = QStringLiteral("nothing took the focus");
        return ring;
    }
    ring << focus;
    for (int press = 0; press < MostPresses; ++press) {
        QTest::keyClick(focus, Qt::Key_Tab);
        QWidget* next = QApplication::focusWidget();
        if (!next) {
            *problem =
                QStringLiteral("Tab in %1 left no widget focused").arg(nameForMessage(focus));
            return ring;
        }
        // A window of one control: Tab has nowhere else to go.
        if (next == focus && ring.size() == 1)
            return ring;
        if (next == focus) {
            *problem = QStringLiteral("Tab stays in %1").arg(nameForMessage(focus));
            return ring;
        }
        if (next == ring.first())
            return ring;
        if (ring.contains(next)) {
            *problem = QStringLiteral("Tab comes back to %1 without passing %2")
                           .arg(nameForMessage(next), nameForMessage(ring.first()));
            return ring;
        }
        ring << next;
        focus = next;
    }
    *problem = QStringLiteral("Tab does not come back to where it started");
    return ring;
}

QList<QWidget*> visualOrder(QList<QWidget*> widgets)
{
    std::stable_sort(widgets.begin(), widgets.end(), [](const QWidget* a, const QWidget* b) {
        return topLeftInWindow(a).y() < topLeftInWindow(b).y();
    });
    QList<QList<QWidget*>> rows;
    int rowMiddle = 0;
    for (QWidget* w : widgets) {
        const int top = topLeftInWindow(w).y();
        if (rows.isEmpty() || top > rowMiddle) {
            rows.append(QList<QWidget*>());
            rowMiddle = top + w->height() / 2;
        }
        rows.last() << w;
    }
    QList<QWidget*> order;
    for (QList<QWidget*>& row : rows) {
        std::stable_sort(row.begin(), row.end(), [](const QWidget* a, const QWidget* b) {
            return topLeftInWindow(a).x() < topLeftInWindow(b).x();
        });
        order << row;
    }
    return order;
}

QList<QWidget*> fromVisualStart(const QList<QWidget*>& ring)
{
    if (ring.isEmpty())
        return ring;
    const qsizetype first = ring.indexOf(visualOrder(ring).first());
    return ring.mid(first) + ring.mid(0, first);
}

Spoken spoken(QWidget* focused)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(focused);
    if (!face)
        return {};
    if (face->role() == QAccessible::PageTabList) {
        if (QAccessibleInterface* tab = face->focusChild())
            face = tab;
    }
    Spoken said{face->text(QAccessible::Name), face->text(QAccessible::Description)};
    // On X11 a combo box reports its current entry as its name; its caption
    // comes as the label it is labelled by.
    if (face->role() == QAccessible::ComboBox) {
        const auto labels = face->relations(QAccessible::Label);
        said.name = labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    }
    return said;
}

QString namingProblem(QWidget* focused)
{
    const Spoken said = spoken(focused);
    const QString who = nameForMessage(focused);
    if (said.name.trimmed().isEmpty())
        return who + QStringLiteral(" has no accessible name");
    if (said.description.trimmed().isEmpty())
        return who + QStringLiteral(" has no accessible description");
    for (const QLabel* label : focused->window()->findChildren<QLabel*>()) {
        const QWidget* buddy = label->buddy();
        if (!buddy || (buddy != focused && buddy->focusProxy() != focused))
            continue;
        const QString caption = withoutMnemonic(label->text());
        if (said.name != caption)
            return QStringLiteral("%1 is named \"%2\", its caption reads \"%3\"")
                .arg(who, said.name, caption);
    }
    return {};
}

QString nameForMessage(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            return name;
    }
    return widget ? QString::fromLatin1(widget->metaObject()->className())
                  : QStringLiteral("(none)");
}

QString namesForMessage(const QList<QWidget*>& widgets)
{
    QStringList names;
    for (const QWidget* w : widgets)
        names << nameForMessage(w);
    return names.join(QLatin1Char(' '));
}

} // namespace AccessProbe
