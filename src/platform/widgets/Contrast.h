#pragma once

#include <QColor>

// Text colours that stay readable on whatever background the desktop's
// palette gives a cell. Contrast is the ratio of relative luminances
// (L1 + 0.05) / (L2 + 0.05), the lighter over the darker, with luminance from
// linearised sRGB; 1 for equal colours, 21 for black on white. 4.5 is the
// least that body text should have.
namespace Contrast {

inline constexpr double ReadableRatio = 4.5;

// Relative luminance of an sRGB colour, 0 (black) to 1 (white); alpha ignored.
double luminance(const QColor& color);
double ratio(const QColor& a, const QColor& b);

// The text colour to paint on background: text itself when it already has
// the ratio; otherwise the same hue and saturation made darker (on a light
// background) or lighter (on a dark one), by the least change in lightness
// that reaches the ratio. When even black or white falls short (a mid-grey
// background), the one of the two with the higher contrast.
QColor readable(const QColor& text, const QColor& background, double least = ReadableRatio);

} // namespace Contrast
