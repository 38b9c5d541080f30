#include "app/displaycheck.h"

// A Windows session always has its desktop.
bool displayAvailable()
{
    return true;
}
