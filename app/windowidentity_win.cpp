#include "app/windowidentity.h"

void nameDesktopEntryOnWindow(QWidget &)
{
    // Windows ties a window to its program by the executable.
}
