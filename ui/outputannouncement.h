#pragma once

#include <QObject>

class QWidget;

// Says what the program writes in the output box to a screen reader, once a write, wherever
// the focus is. The box itself is disabled and never focused, so a screen reader does not read
// its changes. How it is said depends on Qt's version: outputannouncement_event.cpp from Qt 6.8,
// outputannouncement_notification.cpp before.
class OutputAnnouncement : public QObject
{
    Q_OBJECT

public:
    // Announces what output, the output box, is given to show.
    explicit OutputAnnouncement(QWidget *output);

    // The box held before and now holds after. A text is read as it is, also when it was there
    // already. A box emptied is read as "blank", unless something else is written before the
    // program next waits for the user (GREATEST empties the box first); a box that stays empty,
    // as each key typed into an operand box leaves it, is not read.
    void announce(const QString &before, const QString &after);

private:
    void say(const QString &text);

    QWidget *m_output;
    int m_writes = 0;
};
