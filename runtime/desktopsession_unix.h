#pragma once

#include <QString>

class QProcessEnvironment;

namespace runtime {

// The user's desktop session, as the lock of the running copy names it on Unix: letters,
// digits, "-" and "_", whatever platform Qt runs on in it. Copies in one session see each
// other, copies in different ones do not.
QString desktopSessionName(const QProcessEnvironment &environment);

} // namespace runtime
