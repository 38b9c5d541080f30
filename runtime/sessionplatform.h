#pragma once

#include <QByteArray>

namespace runtime {

// The Qt platform the program should ask for in this desktop session, or nothing where Qt's own
// choice is right. A platform the user chose, by QT_QPA_PLATFORM or -platform, always stands.
QByteArray sessionPlatform(int argc, char *argv[]);

} // namespace runtime
