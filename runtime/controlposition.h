#pragma once

class QWidget;

namespace runtime {

// A control's left edge as handlers read and write it: single-precision twips from the left of
// the client area. The value written is kept as it is and the control stands at the nearest
// pixel, so moves that are no whole number of pixels add up exactly.
float controlLeft(const QWidget *control);
void setControlLeft(QWidget *control, float left);

} // namespace runtime
