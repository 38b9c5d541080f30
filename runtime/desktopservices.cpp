#include "runtime/desktopservices.h"

#include "runtime/programlauncher.h"
#include "runtime/runtimeerror.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>

#include <algorithm>

namespace runtime {

namespace {

// The window a box belongs to: the active one, else the program's own window where it shows.
// On Wayland a window learns that it is active again only once the compositor says so, a moment
// after a box over it has closed; a box opened in between would belong to no window, and GNOME
// Shell would then open it in the screen's corner without the focus.
QWidget *boxOwner()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto shown = std::find_if(windows.cbegin(), windows.cend(), [](const QWidget *window) {
        return window->isVisible() && window->windowType() == Qt::Window;
    });
    return shown == windows.cend() ? nullptr : *shown;
}

} // namespace

void DesktopServices::rtcMsgBox(const QString &prompt, MsgBoxStyle style, const QString &title)
{
    const QMessageBox::Icon icon =
            style == MsgBoxStyle::Critical ? QMessageBox::Critical : QMessageBox::Information;
    QString text = prompt;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(icon, title, text, QMessageBox::Ok, boxOwner());
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
