#pragma once

#include <QList>
#include <QString>

// One copy of the start-up check (instancecheck) and where it runs: the user's runtime folder
// (where the platform has one), the display's platform, and the desktop session's displays as
// the environment names them (empty: not set).
struct InstanceCopy
{
    QString runtimeFolder;
    QString platform;
    QString xDisplay = {};
    QString waylandDisplay = {};
};

// Starts the copies one after another, lets them all check at once once each is ready, and
// returns how many would run; -1, with a warning that says why, when one did not answer.
int copiesThatRun(const QList<InstanceCopy> &copies);
