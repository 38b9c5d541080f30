#pragma once

#include "support/recordingservices.h"
#include "ui/form1.h"

#include <QApplication>
#include <QTest>

// A fresh window, shown and active, on recording services.
class FormFixture
{
public:
    FormFixture()
    {
        silenceOffscreenSizeHintWarning();
        form.show();
        if (!QTest::qWaitForWindowActive(&form))
            qFatal("the window did not become active");
    }

    template <typename Control = QWidget>
    Control *control(const char *name) const
    {
        auto *found = form.findChild<Control *>(QLatin1String(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }

    RecordingServices services;
    Form1 form{services};

private:
    // The offscreen platform says, for every fixed-size window, that it cannot pass size hints on.
    static void silenceOffscreenSizeHintWarning()
    {
        static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                if (!message.contains(QLatin1String("propagateSizeHints")))
                    previous(type, context, message);
            });
    }
};

// Lets the keys queued by the last handler reach their widget, as the event loop would.
inline void processQueuedKeys()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}
