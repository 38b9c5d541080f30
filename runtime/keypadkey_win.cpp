#include "runtime/keypadkey.h"

#include <qt_windows.h>

namespace runtime {

bool isKeypadDecimalKey(quint32 nativeVirtualKey)
{
    return nativeVirtualKey == VK_DECIMAL || nativeVirtualKey == VK_SEPARATOR;
}

} // namespace runtime
