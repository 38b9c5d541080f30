#include "ops/arithmetic.h"

#include "runtime/runtimeerror.h"

#include <cmath>
#include <limits>

namespace ops {

using runtime::ErrorNumber;
using runtime::RuntimeError;

void vbaFPException(double result)
{
    if (!std::isfinite(result))
        throw RuntimeError(ErrorNumber::Overflow);
}

std::int32_t vbaFpI4(double value)
{
    if (!std::isfinite(value))
        throw RuntimeError(ErrorNumber::Overflow);
    // Explicit halves-to-even, independent of the current rounding mode. value - floor(value)
    // is exact for every double.
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double nearest = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        nearest = floor + 1.0;
    if (nearest < std::numeric_limits<std::int32_t>::min()
        || nearest > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError(ErrorNumber::Overflow);
    return static_cast<std::int32_t>(nearest);
}

double vbaFpR8(double value)
{
    return value;
}

double vbaPowerR8(double base, double exponent)
{
    if (base == 0.0 && exponent < 0.0)
        throw RuntimeError(ErrorNumber::InvalidProcedureCall);
    const double power = std::pow(base, exponent);
    if (std::isnan(power))
        throw RuntimeError(ErrorNumber::InvalidProcedureCall);
    if (std::isinf(power))
        throw RuntimeError(ErrorNumber::Overflow);
    return power;
}

std::int32_t remainderI4(std::int32_t dividend, std::int32_t divisor)
{
    if (divisor == 0)
        throw RuntimeError(ErrorNumber::DivisionByZero);
    if (dividend == std::numeric_limits<std::int32_t>::min() && divisor == -1)
        throw RuntimeError(ErrorNumber::Overflow);
    return dividend % divisor;
}

} // namespace ops
