#pragma once

#include "runtime/runtimeerror.h"
#include "runtime/services.h"

#include <QList>
#include <QStringList>

#include <functional>

// Services that record what the program asked for and return at once, so no modal box blocks a
// headless run and no program is started.
class RecordingServices final : public runtime::RuntimeServices
{
public:
    struct MessageBox
    {
        QString prompt;
        runtime::MsgBoxStyle style;
        QString title;
    };

    QList<MessageBox> boxes;
    QStringList commandLines;
    bool shellFails = false;
    bool prevInstance = false;
    // Runs while a box is "open", to look at the window at that moment.
    std::function<void()> whileBoxShown;

    void rtcMsgBox(const QString &prompt, runtime::MsgBoxStyle style, const QString &title) override
    {
        boxes.append({ prompt, style, title });
        if (whileBoxShown)
            whileBoxShown();
    }

    double rtcShell(const QString &commandLine, runtime::ShellWindowStyle) override
    {
        commandLines.append(commandLine);
        if (shellFails)
            throw runtime::RuntimeError(runtime::ErrorNumber::FileNotFound);
        return 1.0;
    }

    bool appPrevInstance() override { return prevInstance; }
};
