#include "ui/replayedaltpress.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>

namespace {

// While a screen reader listens, Qt's AT-SPI bridge (6.4.2 and 6.8.2) holds every key press and
// release sent to a window until the accessibility registry has answered for the screen reader,
// or 100 ms have passed: QSpiApplicationAdaptor::eventFilter takes the event, and
// notifyKeyboardListenerCallback or notifyKeyboardListenerError then posts a copy of it to that
// window (qtbase, src/gui/accessible/linux/qspiapplicationadaptor.cpp). A key press that is not
// spontaneous reaches the widget with the focus as a ShortcutOverride first, and QMenuBar arms
// its Alt navigation on an Alt ShortcutOverride (QMenuBar::eventFilter), so the copy arms it as
// the real press did. An Alt+letter shortcut fires at once, from the real letter press, and
// disarms it. When the answer comes late, the copy of the Alt press arrives after the shortcut
// and arms it again; letting go of Alt before the letter, as hands often do, then puts the menu
// bar into keyboard mode. Its first item takes the focus, and once a box the shortcut opened
// has closed, the focus stays in the menu bar instead of the operand box it left. The real Alt
// press has armed the menu bar already, so the copy is dropped, and a lone Alt still opens the
// menu bar. Without a screen reader the bridge holds nothing back, and a posted Alt press, such
// as a playback tool's, is left alone. The Qt workarounds' table in docs/desktops.md says how to
// tell when this is no longer needed.
class ReplayedAltPressFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || event->spontaneous() || !watched->isWindowType()
            || !QAccessible::isActive())
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        return key == Qt::Key_Alt || key == Qt::Key_Meta;
    }
};

} // namespace

void ignoreReplayedAltPresses(QObject *owner)
{
    QCoreApplication::instance()->installEventFilter(new ReplayedAltPressFilter(owner));
}
