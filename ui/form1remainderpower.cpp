// POW and MOD. Each reads the operands strictly for its guard first, then computes under an
// error trap whose closing check turns an overflow into "OVERFLOW" and drops any other error.
#include "ui/form1.h"

#include "ops/arithmetic.h"
#include "ops/conversions.h"
#include "ops/messages.h"
#include "runtime/errortrap.h"

#include <QLineEdit>

void Form1::Command9_Click()
{
    if (!operandsPresent())
        return;
    // Both strict readings are made, A first, before either is tested; a text that is not a
    // number as a whole fails here, outside the trap.
    const double strictA = ops::vbaR8Str(Text1->text());
    const double strictB = ops::vbaR8Str(Text2->text());
    if (strictA == 0 && strictB == 0) {
        setOutput(ops::message::Infinity);
        return;
    }
    closingCheck(runtime::trapErrors([this] {
        const double exponent = ops::rtcR8ValFromBstr(Text2->text());
        const double base = ops::rtcR8ValFromBstr(Text1->text());
        // The focus stays where it was: on the button, when it was clicked.
        setOutput(ops::vbaStrR8(ops::vbaPowerR8(base, exponent), m_decimalSeparator));
    }));
}

void Form1::Command10_Click()
{
    if (!operandsPresent())
        return;
    const double strictA = ops::vbaR8Str(Text1->text());
    const double strictB = ops::vbaR8Str(Text2->text());
    // A negative A with a zero B passes, and the trap drops the division by zero.
    if (strictA >= 0 && strictB == 0) {
        setOutput(ops::message::InvalidOperation);
        return;
    }
    closingCheck(runtime::trapErrors([this] {
        const std::int32_t divisor = ops::vbaFpI4(ops::rtcR8ValFromBstr(Text2->text()));
        const std::int32_t dividend = ops::vbaFpI4(ops::rtcR8ValFromBstr(Text1->text()));
        LastResult = ops::vbaStrI4(ops::remainderI4(dividend, divisor));
        setOutput(LastResult);
        returnToOperandA();
    }));
}

void Form1::closingCheck(int trappedError)
{
    if (trappedError != static_cast<int>(runtime::ErrorNumber::Overflow))
        return;
    setOutput(ops::message::Overflow);
    returnToOperandA();
}
