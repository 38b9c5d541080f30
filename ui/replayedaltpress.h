#pragma once

class QObject;

// Keeps Alt+letter from opening the menu bar when the desktop's accessibility hands the program
// its key presses back late (see the platform's file). The guard lives as long as owner.
void ignoreReplayedAltPresses(QObject *owner);
