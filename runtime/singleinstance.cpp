#include "runtime/singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace runtime {
namespace {

// The display the window goes to: copies on different displays do not see each other.
QString displayName()
{
    const QString platform = QGuiApplication::platformName();
    QString display;
    if (platform == u"xcb")
        display = qEnvironmentVariable("DISPLAY");
    else if (platform == u"wayland")
        display = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    // ":0" and ":0.0" are the same display.
    static const QRegularExpression screenSuffix(QStringLiteral("\\.[0-9]+$"));
    display.remove(screenSuffix);
    QString name = platform + display;
    for (QChar &c : name) {
        if (!c.isLetterOrNumber())
            c = u'_';
    }
    return name.isEmpty() ? QStringLiteral("default") : name;
}

#ifdef Q_OS_UNIX
// A folder that only this user can write to: the session's runtime folder, or, outside a login
// session, one of our own in the temporary folder.
QString userRuntimeFolder()
{
    const QString xdgRuntime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdgRuntime.isEmpty() && QFileInfo(xdgRuntime).isDir())
        return xdgRuntime;
    const QString folder = QDir::tempPath() + QStringLiteral("/tallyvex-") + QString::number(getuid());
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QFileInfo info(folder);
    // Somebody else's folder of that name must not decide whether we run.
    if (!info.isDir() || info.ownerId() != getuid() || info.permission(QFile::WriteOther))
        return QString();
    return folder;
}
#else
QString userRuntimeFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return QDir().mkpath(folder) ? folder : QString();
}
#endif

} // namespace

bool SingleInstanceLock::anotherCopyRuns()
{
    if (!m_anotherCopyRuns)
        m_anotherCopyRuns = !acquire();
    return *m_anotherCopyRuns;
}

// When the lock cannot be made at all (no folder of our own, no space), nothing shows that
// another copy runs, and the user is not kept from the program.
#ifdef Q_OS_UNIX
SingleInstanceLock::SingleInstanceLock(const QString &lockFilePath) : m_path(lockFilePath)
{
}

SingleInstanceLock::~SingleInstanceLock()
{
    if (m_descriptor >= 0)
        close(m_descriptor);
}

bool SingleInstanceLock::acquire()
{
    if (m_path.isEmpty())
        return true;
    // The file stays when the program ends: removing it could let a copy that has it open and
    // one that makes it anew both hold a lock.
    m_descriptor = open(QFile::encodeName(m_path).constData(),
                        O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_descriptor < 0)
        return true;
    if (flock(m_descriptor, LOCK_EX | LOCK_NB) == 0)
        return true;
    const bool heldByAnother = errno == EWOULDBLOCK;
    close(m_descriptor);
    m_descriptor = -1;
    return !heldByAnother;
}
#else
SingleInstanceLock::SingleInstanceLock(const QString &lockFilePath) : m_lock(lockFilePath)
{
    // Only a dead owner makes a lock stale, never its age: a copy may run for days.
    m_lock.setStaleLockTime(0);
}

SingleInstanceLock::~SingleInstanceLock() = default;

bool SingleInstanceLock::acquire()
{
    return m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError;
}
#endif

QString SingleInstanceLock::defaultLockFilePath()
{
    const QString folder = userRuntimeFolder();
    if (folder.isEmpty())
        return QString();
    return folder + QStringLiteral("/tallyvex-") + displayName() + QStringLiteral(".lock");
}

} // namespace runtime
