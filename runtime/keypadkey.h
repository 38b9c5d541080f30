#pragma once

#include <QtGlobal>

namespace runtime {

// True for the keypad's decimal key, told by the key the platform reports (an X keysym, a
// Windows virtual key), also where the toolkit reports it without its keypad modifier.
bool isKeypadDecimalKey(quint32 nativeVirtualKey);

} // namespace runtime
