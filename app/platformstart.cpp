#include "app/platformstart.h"

#include "app/displaycheck.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler qtHandler = nullptr;
QList<HeldMessage> heldMessages;

void holdStartMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        heldMessages.append({ type, QByteArray(context.category), text });
        return;
    }
    const QByteArray line =
            "tallyvex: none of the displays could be reached (DISPLAY=" + qgetenv("DISPLAY")
            + ", WAYLAND_DISPLAY=" + qgetenv("WAYLAND_DISPLAY") + "); " + NoDisplayAdvice + "\n";
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

PlatformStartReport::PlatformStartReport()
{
    qtHandler = qInstallMessageHandler(holdStartMessage);
}

PlatformStartReport::~PlatformStartReport()
{
    qInstallMessageHandler(qtHandler);
    for (const HeldMessage &message : std::as_const(heldMessages)) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qtHandler(message.type, context, message.text);
    }
    heldMessages.clear();
}
