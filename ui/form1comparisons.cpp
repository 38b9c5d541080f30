// GREATEST and LEAST: the larger or smaller operand, shown as the number it reads as.
#include "ui/form1.h"

#include "ops/arithmetic.h"
#include "ops/conversions.h"
#include "ops/messages.h"

#include <QLineEdit>

namespace {

// An operand's value, read afresh from its box for every comparison.
double operandValue(const QLineEdit *box)
{
    return ops::vbaFpR8(ops::rtcR8ValFromBstr(box->text()));
}

} // namespace

void Form1::Command7_Click()
{
    if (!operandsPresent())
        return;
    setOutput(QString());
    if (operandValue(Text1) > operandValue(Text2))
        showOperand(Text1);
    else if (operandValue(Text2) > operandValue(Text1))
        showOperand(Text2);
    else
        showWhenSameText();
}

void Form1::Command8_Click()
{
    if (!operandsPresent())
        return;
    // Unlike GREATEST, the output keeps its text until something is shown.
    if (operandValue(Text2) > operandValue(Text1))
        showOperand(Text1);
    else if (operandValue(Text1) > operandValue(Text2))
        showOperand(Text2);
    else
        showWhenSameText();
}

void Form1::showOperand(QLineEdit *box)
{
    setOutput(ops::vbaStrR8(operandValue(box), m_decimalSeparator));
    selectOperand(box);
}

void Form1::showWhenSameText()
{
    // Equal values written differently ("5" and "5.0") are not the same text: nothing is shown
    // and the focus stays.
    if (Text1->text() != Text2->text())
        return;
    setOutput(ops::message::TheyAreEqual);
    returnToOperandA();
}
