#pragma once

#include <QStringList>

class QAccessibleEvent;

// What a screen reader hears the program announce: every announcement that Qt hands on to the
// platform's screen readers since the last call, in order. Qt hands its accessibility events on
// to this test's own accessibility bridge, which the test program links in.
QStringList takeHeardAnnouncements();

// The text an accessibility event announces, or a null string. How Qt announces depends on its
// version, as the program's announcement does: heardannouncement_event.cpp from Qt 6.8,
// heardannouncement_notification.cpp before.
QString announcedText(QAccessibleEvent *event);
