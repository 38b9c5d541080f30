// Start-up with the single-instance rule and centring; the three ways out, each with the
// author's contact message.
#include "ui/form1.h"

#include "ops/positions.h"
#include "runtime/errorpresentation.h"
#include "runtime/services.h"
#include "runtime/twips.h"
#include "ui/dialogtexts.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMoveEvent>
#include <QScreen>
#include <QTimer>

#include <utility>

using runtime::pixelsToTwips;
using runtime::twipsToNearestPixel;

bool Form1::load()
{
    // Load reads the window's size, which is known once the layout has been applied.
    ensurePolished();
    layout()->activate();
    runHandler(&Form1::Form_Load);
    return m_loaded;
}

void Form1::Form_Load()
{
    if (m_services.appPrevInstance()) {
        // Gone before it was ever shown; the copy that runs is left alone.
        unloadForm(UnloadedByProgram);
        m_services.rtcMsgBox(dialogtext::AlreadyRunning, runtime::MsgBoxStyle::Critical,
                             dialogtext::AlreadyRunningTitle);
        return;
    }
    centreOnScreen();
    m_centredFrameSize = frameGeometry().size();
}

void Form1::centreOnScreen()
{
    const QRect screenArea = screen()->geometry();
    const float left = ops::centredStart(pixelsToTwips(screenArea.width()),
                                         pixelsToTwips(frameGeometry().width()));
    move(screenArea.x() + twipsToNearestPixel(left), y());
    // The height is read only after Left has been written.
    const float top = ops::centredStart(pixelsToTwips(screenArea.height()),
                                        pixelsToTwips(frameGeometry().height()));
    move(x(), screenArea.y() + twipsToNearestPixel(top));
}

void Form1::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    // Load centres the window before it has a frame, which comes with the native window
    // (Windows) or from the window manager once the window is shown (X11): centre it again,
    // once, by the frame it got.
    if (!m_centredFrameSize.isValid() || frameGeometry().size() == size())
        return;
    if (std::exchange(m_centredFrameSize, QSize()) != frameGeometry().size())
        runHandler([this] { centreOnScreen(); });
}

void Form1::Form_QueryUnload(qint16 &Cancel, qint16 &UnloadMode)
{
    if (UnloadMode == UnloadedByProgram) {
        Cancel = 0;
        return;
    }
    // Shown while the window is still there; no close is ever cancelled.
    m_services.rtcMsgBox(dialogtext::contactPrompt(dialogtext::HostEnd::Bare),
                         runtime::MsgBoxStyle::Information, dialogtext::ClosedContactTitle);
}

void Form1::Exit_Click()
{
    exitWithContactMessage(dialogtext::HostEnd::Slash);
}

void Form1::Command6_Click()
{
    exitWithContactMessage(dialogtext::HostEnd::Bare);
}

void Form1::exitWithContactMessage(dialogtext::HostEnd hostEnd)
{
    // The window is gone before the box shows.
    unloadForm(UnloadedByProgram);
    m_services.rtcMsgBox(dialogtext::contactPrompt(hostEnd), runtime::MsgBoxStyle::Information,
                         dialogtext::ExitContactTitle);
}

void Form1::unloadForm(UnloadReason reason)
{
    if (!m_loaded || m_unloading)
        return;
    m_unloading = true;
    qint16 cancel = 0;
    qint16 unloadMode = reason;
    runHandler([&] { Form_QueryUnload(cancel, unloadMode); });
    m_unloading = false;
    if (cancel != 0)
        return;
    m_loaded = false;
    Timer1->stop();
    hide();
}

void Form1::closeEvent(QCloseEvent *event)
{
    runHandler([this] { unloadForm(ClosedFromOutside); });
    event->setAccepted(!m_loaded);
}

void Form1::endSession()
{
    runHandler([this] { unloadForm(SessionEnding); });
}

void Form1::runHandler(const std::function<void()> &handler)
{
    ++m_handlerDepth;
    runtime::invokeHandler(m_services, handler);
    --m_handlerDepth;
    // The program ends when its window is unloaded and the handler that unloaded it returned.
    if (m_handlerDepth == 0 && !m_loaded && !m_unloadAnnounced) {
        m_unloadAnnounced = true;
        Q_EMIT unloaded();
    }
}
