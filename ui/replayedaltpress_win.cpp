#include "ui/replayedaltpress.h"

// Qt's accessibility on Windows never holds a key press back to post a copy of it later.
void ignoreReplayedAltPresses(QObject *) { }
