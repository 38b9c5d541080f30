#include "runtime/keypadkey.h"

namespace runtime {

bool isKeypadDecimalKey(quint32 nativeVirtualKey)
{
    // The keysyms KP_Decimal and KP_Separator: a layout gives the key one of them.
    constexpr quint32 KeypadDecimal = 0xffae;
    constexpr quint32 KeypadSeparator = 0xffac;
    return nativeVirtualKey == KeypadDecimal || nativeVirtualKey == KeypadSeparator;
}

} // namespace runtime
