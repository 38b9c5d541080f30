#include "runtime/singleinstance.h"

#include <QGuiApplication>
#include <QRegularExpression>

namespace runtime {

SingleInstanceLock::SingleInstanceLock(const QString &lockName) : m_name(lockName) { }

SingleInstanceLock::~SingleInstanceLock()
{
    release();
}

bool SingleInstanceLock::anotherCopyRuns()
{
    if (!m_anotherCopyRuns)
        m_anotherCopyRuns = !acquire();
    return *m_anotherCopyRuns;
}

QString SingleInstanceLock::displayName()
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

} // namespace runtime
