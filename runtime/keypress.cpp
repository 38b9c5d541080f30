#include "runtime/keypress.h"

#include "runtime/keypadkey.h"

#include <QKeyEvent>

namespace runtime {
namespace {

constexpr qint16 Backspace = 8;
constexpr qint16 LineFeed = 10;
constexpr qint16 CarriageReturn = 13;
constexpr qint16 Escape = 27;
constexpr qint16 DecimalPoint = 46;
constexpr qint16 Rubout = 127;

TypedKey character(int code)
{
    // Codes beyond 16 bits wrap as the runtime's signed argument would; no filter accepts them.
    return { TypedKey::Kind::Character, static_cast<qint16>(code) };
}

// Ctrl with a letter types the control character of that letter, as Ctrl+C types 3.
TypedKey controlCharacter(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return character(key - Qt::Key_A + 1);
    switch (key) {
    case Qt::Key_BracketLeft:
        return character(Escape);
    case Qt::Key_Backslash:
        return character(28);
    case Qt::Key_BracketRight:
        return character(29);
    case Qt::Key_Backspace:
        return character(Rubout);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return character(LineFeed);
    default:
        return {};
    }
}

} // namespace

TypedKey classifyKeyPress(const QKeyEvent &event)
{
    const int key = event.key();
    const Qt::KeyboardModifiers held =
            event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const QString text = event.text();

    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete)
        return {};
    if (held.testFlag(Qt::ControlModifier) && held.testFlag(Qt::AltModifier)) {
        // Ctrl+Alt is AltGr on some keyboards: it types the character the layout gives.
        if (!text.isEmpty() && text.at(0).isPrint())
            return character(text.at(0).unicode());
        return {};
    }
    if (held.testFlag(Qt::AltModifier))
        return text.isEmpty() ? TypedKey{} : TypedKey{ TypedKey::Kind::Menu, 0 };
    if (held.testFlag(Qt::ControlModifier))
        return controlCharacter(key);

    // The keypad's decimal key is the decimal point, whether the layout gives it "." or ",".
    // Qt on Wayland reports it without the keypad modifier; its native key still tells.
    const bool decimalKey = key == Qt::Key_Period || key == Qt::Key_Comma;
    if (decimalKey
        && (event.modifiers().testFlag(Qt::KeypadModifier)
            || isKeypadDecimalKey(event.nativeVirtualKey())))
        return character(DecimalPoint);

    switch (key) {
    case Qt::Key_Backspace:
        return character(Backspace);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return character(CarriageReturn);
    case Qt::Key_Escape:
        return character(Escape);
    default:
        break;
    }
    if (text.isEmpty() || !text.at(0).isPrint())
        return {};
    return character(text.at(0).unicode());
}

} // namespace runtime
