#include "runtime/programlauncher.h"

#include <QProcess>

namespace runtime {

std::optional<qint64> startDetachedProgram(const QString &program, const QStringList &arguments)
{
    qint64 processId = 0;
    if (!QProcess::startDetached(program, arguments, QString(), &processId))
        return std::nullopt;
    return processId;
}

} // namespace runtime
