#include "app/displaycheck.h"
#include "app/windowidentity.h"
#include "runtime/desktopservices.h"
#include "runtime/sessionplatform.h"
#include "ui/form1.h"

#include <QApplication>
#include <QSessionManager>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char *argv[])
{
    if (!displayAvailable()) {
        std::fputs("tallyvex: no display to show the window on (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set); start it from a desktop session, or on a virtual "
                   "display with xvfb-run -a tallyvex\n",
                   stderr);
        return 1;
    }

    // The session's platform is asked for as an argument rather than through the environment,
    // which the programs Tallyvex starts, such as the browser, would inherit.
    std::vector<char *> arguments(argv, argv + argc);
    QByteArray platform = runtime::sessionPlatform(argc, argv);
    char platformOption[] = "-platform";
    if (!platform.isEmpty())
        arguments.insert(arguments.end(), { platformOption, platform.data() });
    int argumentCount = int(arguments.size());
    arguments.push_back(nullptr);

    QApplication application(argumentCount, arguments.data());
    QApplication::setApplicationName(QStringLiteral(TALLYVEX_APPLICATION_NAME));
    // Names the desktop entry, which Wayland compositors take as the window's app id.
    QGuiApplication::setDesktopFileName(QStringLiteral(TALLYVEX_APP_ID));
    QApplication::setApplicationVersion(QStringLiteral(TALLYVEX_VERSION));

    // The program ends when its window has been unloaded, not when the last box closes.
    QApplication::setQuitOnLastWindowClosed(false);
    runtime::DesktopServices services;
    Form1 form(services);
    QObject::connect(&form, &Form1::unloaded, &application, &QCoreApplication::quit);
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &form,
                     [&form](QSessionManager &session) {
                         // Ask to show the contact message before the session goes.
                         session.allowsInteraction();
                         form.endSession();
                     });
    if (!form.load())
        return 0; // a second copy: refused, its box already closed
    nameDesktopEntryOnWindow(form);
    form.show();
    const int status = QApplication::exec();
    // The window has been unloaded. Qt 6.4's Wayland client can deadlock while it tears its
    // display down (its event thread waits for a read that never comes), which left the process
    // running, and holding the single-instance lock, with nothing on the screen. Nothing is left
    // to save, and the system frees the rest, the lock included: end here.
    std::fflush(nullptr);
    std::_Exit(status);
}
