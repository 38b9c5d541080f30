// The lock of the running copy on Unix: flock() on a file in the user's runtime folder. The
// kernel's lock goes with the process, however it ends; nothing is written, and there is no
// stale lock to recognise.
#include "runtime/singleinstance.h"

#include "runtime/desktopsession_unix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace runtime {
namespace {

// A folder that only this user can write to: the session's runtime folder, or, outside a login
// session, one of our own in the temporary folder.
QString userRuntimeFolder()
{
    const QString xdgRuntime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdgRuntime.isEmpty() && QFileInfo(xdgRuntime).isDir())
        return xdgRuntime;
    const QString folder =
            QDir::tempPath() + QStringLiteral("/tallyvex-") + QString::number(getuid());
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QFileInfo info(folder);
    // Somebody else's folder of that name must not decide whether we run.
    if (!info.isDir() || info.ownerId() != getuid() || info.permission(QFile::WriteOther))
        return QString();
    return folder;
}

} // namespace

QString SingleInstanceLock::defaultLockName()
{
    const QString folder = userRuntimeFolder();
    if (folder.isEmpty())
        return QString();
    return folder + QStringLiteral("/tallyvex-")
            + desktopSessionName(QProcessEnvironment::systemEnvironment())
            + QStringLiteral(".lock");
}

// A Wayland session is named by its compositor's display, which its programs on Xwayland see
// too; an X session by its X display. So a copy on Xwayland and one on Wayland in the same
// session share the name, whichever platform each asked Qt for.
QString desktopSessionName(const QProcessEnvironment &environment)
{
    QString name;
    const QString waylandDisplay = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    QString xDisplay = environment.value(QStringLiteral("DISPLAY"));
    // ":0" and ":0.0" are the same display.
    static const QRegularExpression screenSuffix(QStringLiteral("\\.[0-9]+$"));
    xDisplay.remove(screenSuffix);
    if (!waylandDisplay.isEmpty())
        name = QStringLiteral("wayland-") + waylandDisplay;
    else if (!xDisplay.isEmpty())
        name = QStringLiteral("x11-") + xDisplay;
    else
        return QStringLiteral("default");
    for (QChar &c : name) {
        if (!c.isLetterOrNumber() && c != u'-')
            c = u'_';
    }
    return name;
}

bool SingleInstanceLock::acquire()
{
    if (m_name.isEmpty())
        return true;
    // The file stays when the program ends: removing it could let a copy that has it open and
    // one that makes it anew both hold a lock.
    const int descriptor = open(QFile::encodeName(m_name).constData(),
                                O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return true;
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        m_handle = descriptor;
        return true;
    }
    const bool heldByAnother = errno == EWOULDBLOCK;
    close(descriptor);
    return !heldByAnother;
}

void SingleInstanceLock::release()
{
    if (m_handle != NoHandle)
        close(static_cast<int>(m_handle));
    m_handle = NoHandle;
}

} // namespace runtime
