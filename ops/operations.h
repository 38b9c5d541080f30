#pragma once

#include <QStringView>

// The rules of the operation buttons that do not depend on the window.
namespace ops {

enum class Arithmetic { Add, Subtract, Multiply, Divide };

// A op B, A always the left operand, followed by the floating-point status test (error 6).
double arithmetic(Arithmetic operation, double a, double b);

// DIVIDE's guard: true when B's leading number, as the division would use it, is zero.
bool isZeroDivisor(QStringView bText);

} // namespace ops
