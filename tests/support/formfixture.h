#pragma once

#include "support/recordingservices.h"
#include "ui/form1.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
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

    QLineEdit *text(const char *name) const { return control<QLineEdit>(name); }
    QPushButton *button(const char *name) const { return control<QPushButton>(name); }

    // Types into a box as a person would: click into it, select what is there, type over it.
    void type(const char *box, const QString &keys)
    {
        QLineEdit *edit = text(box);
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClicks(edit, keys);
        QCOMPARE(edit->text(), keys);
    }

    // Puts text into a box as a paste would, past anything the keyboard allows.
    void paste(const char *box, const QString &pasted)
    {
        QLineEdit *edit = text(box);
        edit->selectAll();
        edit->insert(pasted);
    }

    // Clicks a button and lets the keys its handler queued arrive.
    void click(const char *name)
    {
        QTest::mouseClick(button(name), Qt::LeftButton);
        processQueuedKeys();
    }

    // Lets the keys queued by the last handler reach their widget, as the event loop would.
    static void processQueuedKeys()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    RecordingServices services;
    Form1 form{ services };

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
