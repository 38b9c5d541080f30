#include "runtime/desktopsession_unix.h"

#include <QProcessEnvironment>
#include <QRegularExpression>

namespace runtime {

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

} // namespace runtime
