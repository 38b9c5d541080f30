#pragma once

// Positions that handlers compute, in single-precision twips as the window reads and writes
// them. Failures raise runtime::RuntimeError.
namespace ops {

// Where a window of the given extent starts so that it stands centred on a screen of the given
// extent: the difference rounded to the nearest integer (halves to even, error 6 beyond 32
// bits), then halved and truncated toward zero. A window wider than the screen gets a negative
// start.
float centredStart(float screenExtent, float windowExtent);

// One tick of the banner: its left edge moves 60 twips to the left and, once below -12000,
// starts again at 10000.
float bannerStep(float left);

} // namespace ops
