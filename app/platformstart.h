#pragma once

// Held while QApplication starts its platform. What Qt says meanwhile, from any of its threads,
// is held back: once a platform has started it is said, the platforms Qt could not start
// included. Where none could start, all of it is said, then one line of advice for the cause,
// and the program ends with status 1 rather than with Qt's abort.
class PlatformStartGuard
{
public:
    PlatformStartGuard();
    ~PlatformStartGuard();
    PlatformStartGuard(const PlatformStartGuard &) = delete;
    PlatformStartGuard &operator=(const PlatformStartGuard &) = delete;
};
