// The shell's own way to start a program or open an address (ShellExecuteEx): an address opens
// in the user's default browser. No text goes through cmd.exe.
#include "runtime/programlauncher.h"

#include <QRegularExpression>

#include <qt_windows.h>
#include <shellapi.h>

namespace runtime {
namespace {

// Quotes one argument so that the program's command-line parser (CommandLineToArgvW and the C
// runtime's) gives it back unchanged: backslashes are doubled only before a quote.
QString quotedArgument(const QString &argument)
{
    if (!argument.isEmpty() && !argument.contains(QRegularExpression(QStringLiteral("[\\s\"]"))))
        return argument;
    QString quoted = QStringLiteral("\"");
    qsizetype backslashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        if (c == u'"')
            quoted += QString(backslashes * 2 + 1, u'\\');
        else
            quoted += QString(backslashes, u'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted += QString(backslashes * 2, u'\\');
    quoted += u'"';
    return quoted;
}

} // namespace

std::optional<qint64> startDetachedProgram(const QString &program, const QStringList &arguments)
{
    QStringList quoted;
    for (const QString &argument : arguments)
        quoted.append(quotedArgument(argument));
    const QString parameters = quoted.join(u' ');

    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    // No error box of the shell's own: the program reports the failure itself.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpFile = reinterpret_cast<LPCWSTR>(program.utf16());
    info.lpParameters =
            parameters.isEmpty() ? nullptr : reinterpret_cast<LPCWSTR>(parameters.utf16());
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info))
        return std::nullopt;
    qint64 processId = 0;
    if (info.hProcess) {
        processId = GetProcessId(info.hProcess);
        CloseHandle(info.hProcess);
    }
    return processId;
}

} // namespace runtime
