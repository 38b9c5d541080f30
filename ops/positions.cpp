#include "ops/positions.h"

#include "ops/arithmetic.h"

#include <cstdint>

namespace ops {
namespace {

constexpr float BannerStep = 60;
constexpr float BannerWrapBelow = -12000;
constexpr float BannerRestart = 10000;

} // namespace

float centredStart(float screenExtent, float windowExtent)
{
    const long double difference = static_cast<long double>(screenExtent) - windowExtent;
    vbaFPException(static_cast<double>(difference));
    const std::int32_t whole = vbaFpI4(static_cast<double>(difference));
    return static_cast<float>(whole / 2); // integer halving: -15 gives -7
}

float bannerStep(float left)
{
    const double moved = static_cast<double>(left) - BannerStep;
    vbaFPException(moved);
    // The edge is stored as a single, and the wrap test reads the stored value.
    const float stored = static_cast<float>(moved);
    return stored < BannerWrapBelow ? BannerRestart : stored;
}

} // namespace ops
