#include "platform/widgets/Contrast.h"

#include <algorithm>
#include <cmath>

namespace Contrast {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// The colour at HSL lightness l (0..1), keeping hue and saturation, in the
// 8-bit channels it is painted with (QColor keeps 16 bits, which may hold a
// contrast that the painted colour lacks).
QColor withLightness(const QColor& hsl, double l)
{
    // A grey has no hue (-1); any hue gives the same grey.
    const QColor exact =
        QColor::fromHslF(std::max(0.0f, hsl.hslHueF()), hsl.hslSaturationF(), float(l));
    return QColor::fromRgb(exact.rgb());
}

} // namespace

double luminance(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

double ratio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readable(const QColor& text, const QColor& background, double least)
{
    if (ratio(text, background) >= least)
        return text;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    // Towards the end of the lightness scale that contrasts more with the
    // background; lightness moves luminance one way only, so the least change
    // that reaches the ratio is found by halving the interval.
    const bool darken = ratio(black, background) >= ratio(white, background);
    const QColor end = darken ? black : white;
    if (ratio(end, background) < least)
        return end;
    const QColor hsl = text.toHsl();
    double near = hsl.lightnessF();  // falls short
    double far = darken ? 0.0 : 1.0; // reaches the ratio
    for (int step = 0; step < 16; ++step) {
        const double mid = (near + far) / 2;
        if (ratio(withLightness(hsl, mid), background) >= least)
            far = mid;
        else
            near = mid;
    }
    QColor result = withLightness(hsl, far);
    result.setAlpha(text.alpha());
    return result;
}

} // namespace Contrast
