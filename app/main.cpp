#include "app/platformstart.h"
#include "app/programexit.h"
#include "app/windowidentity.h"
#include "runtime/desktopservices.h"
#include "runtime/platformchoice.h"
#include "ui/form1.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QSessionManager>

#include <memory>
#include <vector>

namespace {

// Shows the window until it is unloaded; the program's exit status.
int runForm(QApplication &application)
{
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
    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // The platform is asked for as an argument rather than through the environment, which the
    // programs Tallyvex starts, such as the browser, would inherit.
    const QList<QByteArray> givenArguments(argv, argv + argc);
    QList<QByteArray> arguments = runtime::applicationArguments(
            givenArguments,
            runtime::platformOverride(QProcessEnvironment::systemEnvironment(), givenArguments));
    std::vector<char *> argumentPointers;
    for (QByteArray &argument : arguments)
        argumentPointers.push_back(argument.data());
    int argumentCount = int(argumentPointers.size());
    argumentPointers.push_back(nullptr);

    std::unique_ptr<QApplication> application;
    {
        const PlatformStartGuard guard;
        application = std::make_unique<QApplication>(argumentCount, argumentPointers.data());
    }
    const int status = runForm(*application);
    // Every way out, a refused second copy included, leaves through here.
    exitSkippingWaylandTeardown(status);
    return status;
}
