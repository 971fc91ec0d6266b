#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Layout arithmetic of the windows is done in twips (1/1440 inch) and turned
// into pixels only where a widget is moved or sized. The ratio comes from the
// primary screen's logical resolution: 15 twips a pixel at 96 dpi, 7.5 at 192.
// Pixels are rounded to the nearest whole pixel; twips from pixels are exact
// multiples of the ratio.
namespace Twips {

// Twips per pixel of the primary screen (15.0 at 96 dpi). Without a screen
// (no GUI application yet) 96 dpi is assumed.
double perPixel();

// The same conversions for a given logical resolution, for callers (and tests)
// that must not depend on the screen.
int toPixels(int twips, double dpi);
int fromPixels(int pixels, double dpi);

int toPixels(int twips);
int fromPixels(int pixels);
QPoint toPixels(const QPoint& twips);
QSize toPixels(const QSize& twips);
QRect toPixels(const QRect& twips);
QRect fromPixels(const QRect& pixels);

// Moves and sizes a widget by a rectangle in twips. A negative width or height
// is taken as 0, so that a window made too small never fails its layout.
void setGeometry(QWidget* widget, int left, int top, int width, int height);
// The widget's width and height in twips.
int widthOf(const QWidget* widget);
int heightOf(const QWidget* widget);

} // namespace Twips
