#pragma once

#include <QObject>

class QWidget;

// Says what the program writes in the output box to a screen reader, once a write, wherever
// the focus is. The box itself is disabled and never focused, so a screen reader does not read
// its changes; Qt 6.4 has no announcement event, and its accessibility bridge sends a changed
// name or description as a reference to the object rather than the text. A notification that
// appears is read at once (Orca says "notification" and the text): each write is one, with no
// size, so nothing changes on the screen.
class OutputAnnouncement : public QObject
{
    Q_OBJECT

public:
    // The notifications appear in surface, the window's client area.
    explicit OutputAnnouncement(QWidget *surface);

    // The box held before and now holds after. A text is read as it is, also when it was there
    // already. A box emptied is read as "blank", unless something else is written before the
    // program next waits for the user (GREATEST empties the box first); a box that stays empty,
    // as each key typed into an operand box leaves it, is not read.
    void announce(const QString &before, const QString &after);

private:
    void appear(const QString &text);
    // What the platform's screen readers need besides the notification appearing.
    static void raisePlatformAnnouncement(QWidget *notification, const QString &text);

    QWidget *m_surface;
    int m_writes = 0;
};
