#include "runtime/platformchoice.h"

namespace runtime {

QList<QByteArray> applicationArguments(const QList<QByteArray> &arguments,
                                       const QByteArray &platform)
{
    QList<QByteArray> result = arguments.mid(0, 1);
    if (!platform.isEmpty())
        result << QByteArrayLiteral("-platform") << platform;
    result << arguments.mid(1);
    return result;
}

} // namespace runtime
