#pragma once

#include <QtGlobal>

class QKeyEvent;

namespace runtime {

// What a key pressed in a text box is to the runtime. Only characters raise the box's KeyPress
// event, whose handler may discard them; keys that move the caret, delete, or move the focus
// reach the box without it.
struct TypedKey
{
    enum class Kind {
        Editing, // Tab, arrows, Home, End, Delete, Insert, and Ctrl with a key that is no letter
        Character, // raises KeyPress with `code` before it reaches the box; the keypad's
        // decimal key is "." (46) whatever its layout types
        Menu, // Alt with a key that has a text: an access key or nothing, never typed
    };

    Kind kind = Kind::Editing;
    qint16 code = 0;
};

TypedKey classifyKeyPress(const QKeyEvent &event);

} // namespace runtime
