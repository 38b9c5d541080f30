#pragma once

#include <QByteArray>
#include <QList>

class QProcessEnvironment;

namespace runtime {

// The Qt platform Tallyvex asks for where Qt's own choice is wrong for it, or nothing where Qt's
// choice stands. A platform the user chose, by QT_QPA_PLATFORM or -platform, always stands.
QByteArray platformOverride(const QProcessEnvironment &environment,
                            const QList<QByteArray> &arguments);

// QApplication's arguments: the program's name, "-platform <platform>" when one is asked for,
// then the user's own arguments, whose last option keeps the value that follows it.
QList<QByteArray> applicationArguments(const QList<QByteArray> &arguments,
                                       const QByteArray &platform);

} // namespace runtime
