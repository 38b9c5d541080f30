#include "runtime/desktopservices.h"

#include "runtime/programlauncher.h"
#include "runtime/runtimeerror.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>

namespace runtime {

void DesktopServices::rtcMsgBox(const QString &prompt, MsgBoxStyle style, const QString &title)
{
    const QMessageBox::Icon icon =
            style == MsgBoxStyle::Critical ? QMessageBox::Critical : QMessageBox::Information;
    QString text = prompt;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

double DesktopServices::rtcShell(const QString &commandLine, ShellWindowStyle windowStyle)
{
    // The started program's window is its own business; a desktop opener shows none anyway,
    // and a browser opened hidden would be lost to the user.
    Q_UNUSED(windowStyle);
    // Split into words here and start the program directly: no shell ever parses the text.
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty())
        throw RuntimeError(ErrorNumber::FileNotFound);
    const QString program = words.takeFirst();
    const std::optional<qint64> processId = startDetachedProgram(program, words);
    if (!processId)
        throw RuntimeError(ErrorNumber::FileNotFound);
    return static_cast<double>(*processId);
}

} // namespace runtime
