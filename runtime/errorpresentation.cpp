#include "runtime/errorpresentation.h"

namespace runtime {

QString untrappedErrorPrompt(const RuntimeError &error)
{
    return QStringLiteral("Run-time error '%1':\r\n\r\n%2")
            .arg(error.number())
            .arg(error.description());
}

void presentUntrappedError(RuntimeServices &services, const RuntimeError &error)
{
    services.rtcMsgBox(untrappedErrorPrompt(error), MsgBoxStyle::Critical, ErrorBoxTitle);
}

} // namespace runtime
