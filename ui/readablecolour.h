#pragma once

#include <QColor>

// Text colours that stay readable on whatever ground a desktop's palette gives them, by the
// contrast ratio of WCAG 2.
namespace readablecolour {

// The least contrast for the labels, and for the boxes' text (WCAG 2's floor for normal text).
// The labels' 3:1 is this program's own choice, not WCAG's large-text rule, which most of them
// are too small for: it keeps the layout's colours exact on the default palette, where its red
// reaches 3.48:1, and still turns them readable on a dark one.
inline constexpr double LabelFloor = 3.0;
inline constexpr double TextFloor = 4.5;

// From 1 (the same luminance) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b);

// The wanted colour itself when it reaches the floor on the ground. Otherwise the nearest colour
// of the same hue and saturation that does: lighter on a dark ground, darker on a light one, and
// at worst white or black.
QColor readableOn(const QColor &wanted, const QColor &ground, double floor);

} // namespace readablecolour
