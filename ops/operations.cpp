#include "ops/operations.h"

#include "ops/arithmetic.h"
#include "ops/conversions.h"

namespace ops {

double arithmetic(Arithmetic operation, double a, double b)
{
    double result = 0.0;
    switch (operation) {
    case Arithmetic::Add:
        result = a + b;
        break;
    case Arithmetic::Subtract:
        result = a - b;
        break;
    case Arithmetic::Multiply:
        result = a * b;
        break;
    case Arithmetic::Divide:
        result = a / b;
        break;
    }
    vbaFPException(result);
    return result;
}

bool isZeroDivisor(QStringView bText)
{
    return vbaFpR8(rtcR8ValFromBstr(bText)) == 0.0;
}

} // namespace ops
