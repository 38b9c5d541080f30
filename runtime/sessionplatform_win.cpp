#include "runtime/sessionplatform.h"

namespace runtime {

QByteArray sessionPlatform(int, char *[])
{
    return {}; // Windows has one platform
}

} // namespace runtime
