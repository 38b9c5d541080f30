// The operand boxes: the key filter, the selection on entry, the output emptied on every edit;
// and CLEAR.
#include "ui/form1.h"

#include "ops/conversions.h"
#include "runtime/keypress.h"
#include "runtime/sendkeys.h"

#include <QKeyEvent>
#include <QLineEdit>

// True when the key is discarded before it reaches the box.
bool Form1::filterOperandKey(QLineEdit *box, QKeyEvent *event)
{
    using Kind = runtime::TypedKey::Kind;
    const runtime::TypedKey typed = runtime::classifyKeyPress(*event);
    if (typed.kind == Kind::Menu)
        return true; // the box would type it; the desktop's text boxes do not
    if (typed.kind == Kind::Editing)
        return false;
    qint16 KeyAscii = typed.code;
    runHandler([&] {
        if (box == Text1)
            Text1_KeyPress(KeyAscii);
        else
            Text2_KeyPress(KeyAscii);
    });
    if (KeyAscii == 0)
        return true;
    // A character other than the one the key types (the keypad's decimal key where the layout
    // gives it ",") goes into the box as the handler passed it.
    const QChar passed(static_cast<char16_t>(KeyAscii));
    if (passed.isPrint() && event->text() != QString(passed)) {
        box->insert(passed);
        return true;
    }
    return false;
}

void Form1::Text1_KeyPress(qint16 &KeyAscii)
{
    acceptOperandCharacter(KeyAscii);
}

void Form1::Text2_KeyPress(qint16 &KeyAscii)
{
    acceptOperandCharacter(KeyAscii);
}

void Form1::acceptOperandCharacter(qint16 &KeyAscii)
{
    // The bounds are texts, read as numbers on every key, so the codes are compared as numbers.
    const double backspace = ops::vbaR8Str(u"8");
    const double point = ops::vbaR8Str(u"46");
    const double digitZero = ops::vbaR8Str(u"48");
    const double digitNine = ops::vbaR8Str(u"57");
    const double code = KeyAscii;
    if ((code == backspace || code == point || code >= digitZero) && code <= digitNine)
        return;
    KeyAscii = 0;
}

void Form1::Text1_GotFocus()
{
    selectTextOnEntry();
}

void Form1::Text2_GotFocus()
{
    selectTextOnEntry();
}

void Form1::selectTextOnEntry()
{
    // Queued, so the keys act after the click that placed the caret, and the next character
    // typed replaces the whole text.
    runtime::rtcSendKeys(SelectWholeText);
}

void Form1::Text1_Change()
{
    clearOutput();
}

void Form1::Text2_Change()
{
    clearOutput();
}

void Form1::clearOutput()
{
    // A result stays shown only until either operand is edited.
    setOutput(QString());
}

void Form1::Command5_Click()
{
    Text1->setText(QString());
    Text2->setText(QString());
    setOutput(QString());
    SetFocus(Text1);
}
