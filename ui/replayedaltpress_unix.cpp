#include "ui/replayedaltpress.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

// Qt's AT-SPI bridge (6.4.2 and 6.8.2) holds every key press and release sent to a window until
// the screen reader has seen it, then posts a copy of it to that window. An Alt+letter shortcut
// fires at once, from the real press, and leaves the menu bar's Alt navigation disarmed; but when
// the reader is slow, the copies of the Alt press and release come after the shortcut, look like
// a lone Alt, and put the menu bar into keyboard mode: its first item takes the focus, and once
// a box the shortcut opened has closed, the focus stays there instead of in the operand box it
// left. The real Alt press has already armed the menu bar, so its copy is dropped: a lone Alt
// still opens the menu bar, from the real events.
class ReplayedAltPressFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || event->spontaneous() || !watched->isWindowType())
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
