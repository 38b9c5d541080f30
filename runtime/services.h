#pragma once

#include <QString>

namespace runtime {

// Message box styles the program uses: the icon, always with one OK button.
enum class MsgBoxStyle : int {
    Critical = 16,
    Information = 64,
};

// Window style of a started program; the program only ever asks for a hidden window.
enum class ShellWindowStyle : int {
    Hide = 0,
};

// The services through which handlers reach the user and the system. The program passes the
// desktop's (desktopservices.h); tests pass one that records and returns at once, so no modal
// box ever blocks a headless run.
class RuntimeServices
{
public:
    virtual ~RuntimeServices() = default;

    // A modal box; prompt lines are separated by "\r\n". Returns when the user has closed it.
    virtual void rtcMsgBox(const QString &prompt, MsgBoxStyle style, const QString &title) = 0;

    // Starts the program named by the first word of commandLine, the rest as its arguments,
    // without waiting for it. Returns its task number; raises error 53 when it cannot start.
    virtual double rtcShell(const QString &commandLine, ShellWindowStyle windowStyle) = 0;

    // True when another copy of the program runs for the same user and display.
    virtual bool appPrevInstance() = 0;
};

} // namespace runtime
