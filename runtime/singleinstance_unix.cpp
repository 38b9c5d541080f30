// The lock of the running copy on Unix: flock() on a file in the user's runtime folder. The
// kernel's lock goes with the process, however it ends; nothing is written, and there is no
// stale lock to recognise.
#include "runtime/singleinstance.h"

#include "runtime/desktopsession_unix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

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
