#pragma once

#include "runtime/twips.h"

// Where every control of the window stands: left, top, width and height in twips from the
// top-left corner of the client area, below the menu bar.
namespace form1layout {

using runtime::TwipsRect;

inline constexpr TwipsRect ClientArea{ 0, 0, 10140, 6975 };

// In the order the controls are created.
inline constexpr TwipsRect Command6{ 7200, 5040, 1455, 495 };
inline constexpr TwipsRect Command5{ 6000, 5040, 1215, 495 };
inline constexpr TwipsRect Command9{ 4560, 5040, 1455, 495 };
inline constexpr TwipsRect Command10{ 3000, 5040, 1575, 495 };
inline constexpr TwipsRect Picture1Element1{ 1320, 120, 975, 855 };
inline constexpr TwipsRect Picture1Element0{ 8520, 120, 975, 855 };
inline constexpr TwipsRect Text3{ 4920, 3600, 3975, 285 };
inline constexpr TwipsRect Text2{ 4920, 2640, 3975, 285 };
inline constexpr TwipsRect Text1{ 4920, 1680, 3975, 285 };
inline constexpr TwipsRect Command8{ 1680, 5040, 1335, 495 };
inline constexpr TwipsRect Command7{ 7200, 4560, 1455, 495 };
inline constexpr TwipsRect Command4{ 6000, 4560, 1215, 495 };
inline constexpr TwipsRect Command3{ 4560, 4560, 1455, 495 };
inline constexpr TwipsRect Command2{ 3000, 4560, 1575, 495 };
inline constexpr TwipsRect Command1{ 1680, 4560, 1335, 495 };
// Label5, Label6 and Label8 take the size of their caption; the sizes here are the layout's.
inline constexpr TwipsRect Label8{ 4200, 5940, 3150, 345 };
inline constexpr TwipsRect Label6{ 1920, 6000, 2235, 270 };
inline constexpr TwipsRect Label5{ 9720, 6600, 9375, 270 };
inline constexpr TwipsRect Label4{ 1440, 3600, 3255, 375 };
inline constexpr TwipsRect Label3{ 240, 2640, 4455, 375 };
inline constexpr TwipsRect Label2{ 240, 1560, 4455, 375 };
inline constexpr TwipsRect Label1{ 2520, 240, 5655, 375 };

inline constexpr int Timer1IntervalMs = 50;

static_assert(ClientArea.isWholePixels() && Command6.isWholePixels() && Command5.isWholePixels()
                      && Command9.isWholePixels() && Command10.isWholePixels()
                      && Picture1Element1.isWholePixels() && Picture1Element0.isWholePixels()
                      && Text3.isWholePixels() && Text2.isWholePixels() && Text1.isWholePixels()
                      && Command8.isWholePixels() && Command7.isWholePixels()
                      && Command4.isWholePixels() && Command3.isWholePixels()
                      && Command2.isWholePixels() && Command1.isWholePixels()
                      && Label8.isWholePixels() && Label6.isWholePixels() && Label5.isWholePixels()
                      && Label4.isWholePixels() && Label3.isWholePixels() && Label2.isWholePixels()
                      && Label1.isWholePixels(),
              "every figure of the layout is a whole number of pixels");

} // namespace form1layout
