#pragma once

#include <QColor>

// Text colours that stay readable on whatever ground a desktop's palette gives them, by the
// contrast ratio of WCAG 2.
namespace readablecolour {

// The least contrast for large text (bold, or 14 pt and larger), and for other text.
inline constexpr double LargeTextFloor = 3.0;
inline constexpr double TextFloor = 4.5;

// From 1 (the same luminance) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b);

// The wanted colour itself when it reaches the floor on the ground. Otherwise the nearest colour
// of the same hue and saturation that does: lighter on a dark ground, darker on a light one, and
// at worst white or black.
QColor readableOn(const QColor &wanted, const QColor &ground, double floor);

} // namespace readablecolour
