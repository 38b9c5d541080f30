#pragma once

#include <QRect>

#include <cmath>

// The window's layout is measured in twips, 15 to a pixel on a 96-dpi screen. Figures stay in
// twips in the code and become pixels here only.
namespace runtime {

inline constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return twips / TwipsPerPixel;
}

// Positions that handlers read and write are single-precision twips; a control stands at the
// nearest pixel.
inline int twipsToNearestPixel(float twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

constexpr float pixelsToTwips(int pixels)
{
    return static_cast<float>(pixels * TwipsPerPixel);
}

struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;

    constexpr bool isWholePixels() const
    {
        return left % TwipsPerPixel == 0 && top % TwipsPerPixel == 0 && width % TwipsPerPixel == 0
                && height % TwipsPerPixel == 0;
    }

    constexpr QRect toPixels() const
    {
        return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                     twipsToPixels(height));
    }
};

} // namespace runtime
