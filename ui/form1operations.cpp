// ADD, SUBTRACT, MULTIPLY and DIVIDE, and the operand steps every operation button shares.
#include "ui/form1.h"

#include "ops/conversions.h"
#include "ops/messages.h"
#include "runtime/sendkeys.h"

#include <QLineEdit>

void Form1::Command1_Click()
{
    runArithmetic(ops::Arithmetic::Add);
}

void Form1::Command2_Click()
{
    runArithmetic(ops::Arithmetic::Subtract);
}

void Form1::Command3_Click()
{
    runArithmetic(ops::Arithmetic::Multiply);
}

void Form1::Command4_Click()
{
    runArithmetic(ops::Arithmetic::Divide);
}

void Form1::runArithmetic(ops::Arithmetic operation)
{
    if (!operandsPresent())
        return;
    // DIVIDE's guard tests exactly the divisor the division will use, so it never divides by 0.
    if (operation == ops::Arithmetic::Divide && ops::isZeroDivisor(Text2->text())) {
        setOutput(ops::message::InvalidOperation);
        SetFocus(Text1);
        return;
    }
    // B is read before A: with two bad texts, B's error is the one reported.
    const double b = ops::rtcR8ValFromBstr(Text2->text());
    const double a = ops::rtcR8ValFromBstr(Text1->text());
    const QString result = ops::vbaStrR8(ops::arithmetic(operation, a, b), m_decimalSeparator);
    if (operation == ops::Arithmetic::Add) {
        LastResult = result;
        setOutput(LastResult);
    } else {
        setOutput(result);
    }
    returnToOperandA();
}

bool Form1::operandsPresent()
{
    // Exactly empty: a box holding only blanks is not empty.
    if (Text1->text().isEmpty()) {
        setOutput(ops::message::EnterTheValues);
        SetFocus(Text1);
        return false;
    }
    if (Text2->text().isEmpty()) {
        setOutput(ops::message::EnterTheValues);
        SetFocus(Text2);
        return false;
    }
    return true;
}

void Form1::selectOperand(QLineEdit *box)
{
    SetFocus(box);
    runtime::rtcSendKeys(SelectWholeText);
}
