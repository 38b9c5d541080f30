#pragma once

// Held while QApplication starts its platform. What Qt says meanwhile is held back: once a
// platform has started it is said, the displays Qt could not reach included; where none could
// start, one line says so instead and the program ends with status 1, rather than with Qt's
// abort and its advice to reinstall.
class PlatformStartReport
{
public:
    PlatformStartReport();
    ~PlatformStartReport();
    PlatformStartReport(const PlatformStartReport &) = delete;
    PlatformStartReport &operator=(const PlatformStartReport &) = delete;
};
