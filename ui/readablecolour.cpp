#include "ui/readablecolour.h"

#include <algorithm>
#include <cmath>

namespace readablecolour {
namespace {

double linearChannel(double srgb)
{
    return srgb <= 0.04045 ? srgb / 12.92 : std::pow((srgb + 0.055) / 1.055, 2.4);
}

double relativeLuminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linearChannel(rgb.redF()) + 0.7152 * linearChannel(rgb.greenF())
            + 0.0722 * linearChannel(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double first = relativeLuminance(a);
    const double second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor readableOn(const QColor &wanted, const QColor &ground, double floor)
{
    if (contrastRatio(wanted, ground) >= floor)
        return wanted;
    // With hue and saturation kept, luminance grows with HSL lightness, so the first lightness
    // that reaches the floor, going away from the ground, is the nearest readable colour.
    const bool darkGround = contrastRatio(ground, Qt::white) > contrastRatio(ground, Qt::black);
    const QColor hsl = wanted.toHsl();
    const int step = darkGround ? 1 : -1;
    const int last = darkGround ? 255 : 0;
    for (int lightness = hsl.lightness(); lightness != last; lightness += step) {
        const QColor candidate =
                QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness + step).toRgb();
        if (contrastRatio(candidate, ground) >= floor)
            return candidate;
    }
    return darkGround ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace readablecolour
