#pragma once

class QWidget;

// Names the program's desktop entry on the window itself, where the window system has no app
// id to carry it: on X11, KDE Plasma's window manager reads it from there.
void nameDesktopEntryOnWindow(QWidget &window);
