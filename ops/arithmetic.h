#pragma once

#include <cstdint>

// The runtime's numeric services and checks. Failures raise runtime::RuntimeError.
namespace ops {

// The floating-point status test that follows an arithmetic step on finite operands: a result
// beyond the double range (or undefined) raises error 6. Testing the result, rather than the
// processor's flags, stays sound whatever the optimiser reorders.
void vbaFPException(double result);

// The nearest 32-bit integer, a half going to the even neighbour; error 6 outside the range.
std::int32_t vbaFpI4(double value);

// A value rounded to a double before it is compared. Doubles are kept in 64-bit registers on
// every platform we build for, so the value comes back as it went in.
double vbaFpR8(double value);

// base raised to exponent; error 6 beyond the double range, error 5 when the power is undefined
// (a negative base with a fractional exponent, or zero to a negative power).
double vbaPowerR8(double base, double exponent);

// The remainder of the division truncated toward zero, with the sign of the dividend; error 11
// for a zero divisor, error 6 for the one quotient that does not fit (-2147483648 by -1).
std::int32_t remainderI4(std::int32_t dividend, std::int32_t divisor);

} // namespace ops
