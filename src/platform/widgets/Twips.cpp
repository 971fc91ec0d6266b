#include "platform/widgets/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace Twips {

namespace {
constexpr double TwipsPerInch = 1440.0;
constexpr double DefaultDpi = 96.0;

double screenDpi()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return DefaultDpi;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || screen->logicalDotsPerInch() <= 0)
        return DefaultDpi;
    return screen->logicalDotsPerInch();
}
} // namespace

double perPixel()
{
    return TwipsPerInch / screenDpi();
}

int toPixels(int twips, double dpi)
{
    return int(std::lround(twips * dpi / TwipsPerInch));
}

int fromPixels(int pixels, double dpi)
{
    return int(std::lround(pixels * TwipsPerInch / dpi));
}

int toPixels(int twips)
{
    return toPixels(twips, screenDpi());
}

int fromPixels(int pixels)
{
    return fromPixels(pixels, screenDpi());
}

QPoint toPixels(const QPoint& twips)
{
    return {toPixels(twips.x()), toPixels(twips.y())};
}

QSize toPixels(const QSize& twips)
{
    return {toPixels(twips.width()), toPixels(twips.height())};
}

QRect toPixels(const QRect& twips)
{
    return {toPixels(twips.topLeft()), toPixels(twips.size())};
}

QRect fromPixels(const QRect& pixels)
{
    return {fromPixels(pixels.x()), fromPixels(pixels.y()), fromPixels(pixels.width()),
            fromPixels(pixels.height())};
}

void setGeometry(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(toPixels(QRect(left, top, std::max(0, width), std::max(0, height))));
}

int widthOf(const QWidget* widget)
{
    return fromPixels(widget->width());
}

int heightOf(const QWidget* widget)
{
    return fromPixels(widget->height());
}

} // namespace Twips
