#include "runtime/sendkeys.h"

#include "runtime/runtimeerror.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace runtime {
namespace {

struct NamedKey
{
    const char *name;
    Qt::Key key;
    const char *text;
};

constexpr NamedKey NamedKeys[] = {
    { "HOME", Qt::Key_Home, "" },
    { "END", Qt::Key_End, "" },
    { "LEFT", Qt::Key_Left, "" },
    { "RIGHT", Qt::Key_Right, "" },
    { "UP", Qt::Key_Up, "" },
    { "DOWN", Qt::Key_Down, "" },
    { "TAB", Qt::Key_Tab, "\t" },
    { "ENTER", Qt::Key_Return, "\r" },
    { "ESC", Qt::Key_Escape, "\x1b" },
    { "BS", Qt::Key_Backspace, "\b" },
    { "BACKSPACE", Qt::Key_Backspace, "\b" },
    { "DEL", Qt::Key_Delete, "" },
    { "DELETE", Qt::Key_Delete, "" },
};

[[noreturn]] void invalidKeyText()
{
    throw RuntimeError(ErrorNumber::InvalidProcedureCall);
}

KeyStroke namedKey(const QString &name)
{
    for (const NamedKey &candidate : NamedKeys) {
        if (name.compare(QLatin1String(candidate.name), Qt::CaseInsensitive) == 0)
            return { candidate.key, {}, QString::fromLatin1(candidate.text) };
    }
    // "{+}", "{^}", "{%}", "{{}" and the like type the character itself.
    if (name.size() == 1)
        return { name.at(0).toUpper().unicode(), {}, name };
    invalidKeyText();
}

void deliver(const QList<KeyStroke> &strokes)
{
    for (const KeyStroke &stroke : strokes) {
        const QPointer<QWidget> target = QApplication::focusWidget();
        if (!target)
            return;
        QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
        QCoreApplication::sendEvent(target, &press);
        if (!target)
            return;
        QKeyEvent release(QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text);
        QCoreApplication::sendEvent(target, &release);
    }
}

} // namespace

QList<KeyStroke> parseKeyText(const QString &keyText)
{
    QList<KeyStroke> strokes;
    Qt::KeyboardModifiers held;
    for (qsizetype pos = 0; pos < keyText.size(); ++pos) {
        const QChar c = keyText.at(pos);
        if (c == u'+' || c == u'^' || c == u'%') {
            held |= c == u'+' ? Qt::ShiftModifier
                              : (c == u'^' ? Qt::ControlModifier : Qt::AltModifier);
            continue;
        }
        KeyStroke stroke;
        if (c == u'{') {
            // The name runs to the next "}", which may itself be the name: "{}}".
            const qsizetype close = keyText.indexOf(u'}', pos + 2);
            if (close < 0)
                invalidKeyText();
            stroke = namedKey(keyText.mid(pos + 1, close - pos - 1));
            pos = close;
        } else if (c == u'}' || c == u'(' || c == u')') {
            invalidKeyText();
        } else {
            stroke = { c.toUpper().unicode(), {}, QString(c) };
        }
        stroke.modifiers = held;
        held = {};
        strokes.append(stroke);
    }
    if (held)
        invalidKeyText();
    return strokes;
}

void rtcSendKeys(const QString &keyText)
{
    QMetaObject::invokeMethod(
            qApp, [strokes = parseKeyText(keyText)] { deliver(strokes); }, Qt::QueuedConnection);
}

} // namespace runtime
