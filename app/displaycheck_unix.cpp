#include "app/displaycheck.h"

#include <QtGlobal>

bool displayAvailable()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
            || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}
