#include "sheet/SheetPlace.h"

#include "platform/Settings.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <optional>

namespace {

const QString Section = QStringLiteral("WINDOWS");
const QString Key = QStringLiteral("SHEET");

struct Place
{
    QRect normal; // the window's rectangle when it is not maximised
    bool maximised = true;
};

// "x,y,width,height,maximised"; anything else is no place.
std::optional<Place> readPlace()
{
    const QStringList parts = GetSetting(AppTitle, Section, Key).split(QLatin1Char(','));
    if (parts.size() != 5)
        return std::nullopt;
    int numbers[5];
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        numbers[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (numbers[2] <= 0 || numbers[3] <= 0 || (numbers[4] != 0 && numbers[4] != 1))
        return std::nullopt;
    return Place{QRect(numbers[0], numbers[1], numbers[2], numbers[3]), numbers[4] == 1};
}

void savePlace(const Place& place)
{
    const QRect& r = place.normal;
    SaveSetting(AppTitle, Section, Key,
                QStringLiteral("%1,%2,%3,%4,%5")
                    .arg(r.x())
                    .arg(r.y())
                    .arg(r.width())
                    .arg(r.height())
                    .arg(place.maximised ? 1 : 0));
}

// A place from a larger frame or screen is pulled inside the area, so the
// window's title bar can always be reached.
QRect inside(QRect rect, const QSize& area)
{
    rect.setSize(rect.size().boundedTo(area));
    rect.moveLeft(qBound(0, rect.left(), area.width() - rect.width()));
    rect.moveTop(qBound(0, rect.top(), area.height() - rect.height()));
    return rect;
}

} // namespace

namespace SheetPlace {

void restore(QMdiSubWindow& sub)
{
    const std::optional<Place> place = readPlace();
    if (!place || place->maximised) {
        // The size it comes back to from maximised.
        if (place && sub.mdiArea())
            sub.setGeometry(inside(place->normal, sub.mdiArea()->viewport()->size()));
        sub.showMaximized();
        return;
    }
    const QSize area = sub.mdiArea() ? sub.mdiArea()->viewport()->size() : place->normal.size();
    sub.showNormal();
    sub.setGeometry(inside(place->normal, area));
}

void remember(const QMdiSubWindow& sub)
{
    if (sub.isMinimized())
        return;
    Place place;
    place.maximised = sub.isMaximized();
    if (place.maximised) {
        // A maximised window's own rectangle is the frame's; keep the one the
        // user had before maximising it, or the window's natural size.
        const std::optional<Place> before = readPlace();
        place.normal =
            before ? before->normal
                   : QRect(QPoint(0, 0), sub.widget() ? sub.widget()->sizeHint() : sub.sizeHint());
    } else {
        place.normal = sub.geometry();
    }
    savePlace(place);
}

} // namespace SheetPlace
