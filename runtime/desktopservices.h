#pragma once

#include "runtime/services.h"

namespace runtime {

// The real services: Qt message boxes and detached processes.
class DesktopServices final : public RuntimeServices
{
public:
    void rtcMsgBox(const QString &prompt, MsgBoxStyle style, const QString &title) override;
    double rtcShell(const QString &commandLine, ShellWindowStyle windowStyle) override;
};

} // namespace runtime
