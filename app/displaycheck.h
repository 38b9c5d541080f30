#pragma once

// True when there is a display to show the window on. Without one the toolkit would abort with
// a long message; main() says plainly what to do instead.
bool displayAvailable();
