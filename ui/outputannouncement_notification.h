#pragma once

class QString;
class QWidget;

// Before Qt 6.8, where each announcement is a notification that appears: what the platform's
// screen readers need besides the notification appearing (the platform's file).
void raisePlatformAnnouncement(QWidget *notification, const QString &text);
