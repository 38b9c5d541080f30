#pragma once

// Called once the window has been unloaded and the last box closed, with the program's exit
// status. Ends the process at once where the toolkit's own teardown can hang; elsewhere it
// returns, and main() returns through the toolkit's teardown, which still has work to do.
void endWhereTeardownHangs(int status);
