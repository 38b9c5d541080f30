#pragma once

class QWidget;

// Names the program's desktop entry on the window itself, where the window system has no app
// id to carry it: on X11, KWin reads it from the window, and Plasma's task manager from KWin.
void nameDesktopEntryOnWindow(QWidget &window);
