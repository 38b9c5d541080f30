#pragma once

#include "runtime/services.h"
#include "runtime/singleinstance.h"

namespace runtime {

// The real services: Qt message boxes, detached processes, and the lock of the running copy,
// held as long as this object lives.
class DesktopServices final : public RuntimeServices
{
public:
    void rtcMsgBox(const QString &prompt, MsgBoxStyle style, const QString &title) override;
    double rtcShell(const QString &commandLine, ShellWindowStyle windowStyle) override;
    bool appPrevInstance() override { return m_instanceLock.anotherCopyRuns(); }

private:
    SingleInstanceLock m_instanceLock;
};

} // namespace runtime
