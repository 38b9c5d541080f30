#pragma once

// True when there is a display to show the window on. Without one the toolkit would abort with
// a long message; main() says plainly what to do instead.
bool displayAvailable();

// What to do where no display can be reached, said after what went wrong.
inline constexpr char NoDisplayAdvice[] =
        "start it from a desktop session, or on a virtual display with xvfb-run -a tallyvex";
