#pragma once

// Ends the process with status at once, without Qt's teardown, where the program is a Wayland
// client, whose teardown can hang (see the platform's file); elsewhere returns, and main()
// returns through Qt's teardown, which still has work to do. Called once the window has been
// unloaded and the last box closed.
void exitSkippingWaylandTeardown(int status);
