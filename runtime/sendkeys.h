#pragma once

#include <QList>
#include <QString>
#include <Qt>

namespace runtime {

struct KeyStroke
{
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;

    friend bool operator==(const KeyStroke &, const KeyStroke &) = default;
};

// Reads a key text: plain characters stand for themselves, "{name}" names a key (names ignore
// case), and "+", "^" and "%" hold Shift, Ctrl and Alt for the key that follows. Error 5 for a
// text that names no key.
QList<KeyStroke> parseKeyText(const QString &keyText);

// Queues the keys as if typed: they are delivered after the running handler has returned, each
// to whichever widget has the focus at that moment.
void rtcSendKeys(const QString &keyText);

} // namespace runtime
