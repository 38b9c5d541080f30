#include "ui/replayedaltpress.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

// Qt's AT-SPI bridge (6.4.2 and 6.8.2) holds every key press and release sent to a window until
// the accessibility registry has answered for the screen reader, or 100 ms have passed, then
// posts a copy of it to that window, which Qt takes as a new key press. An Alt+letter shortcut
// fires at once, from the real letter press, and disarms the menu bar's Alt navigation, which
// the real Alt press had armed. When the answer comes late, the copy of the Alt press arrives
// after the shortcut and arms it again; letting go of Alt before the letter, as hands often do,
// then puts the menu bar into keyboard mode. Its first item takes the focus, and once a box the
// shortcut opened has closed, the focus stays in the menu bar instead of the operand box it
// left. The real Alt press has armed the menu bar already, so the copy is dropped: a lone Alt
// still opens the menu bar.
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
