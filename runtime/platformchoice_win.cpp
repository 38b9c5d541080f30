#include "runtime/platformchoice.h"

namespace runtime {

QByteArray platformOverride(const QProcessEnvironment &, const QList<QByteArray> &)
{
    return {}; // Windows has one platform
}

} // namespace runtime
