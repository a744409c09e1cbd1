// The screen the program's windows are shown on, for tests and benchmarks
// that look at it from outside (the X11 display; see platform/user/display.h).
#pragma once

namespace win32::screen {

// True when top-level windows are shown on an X server.
bool onServer();
// Sends what the calling thread's windows drew and waits until the server
// has handled it (a round trip). Nothing to do when headless.
void flushAndWait();

}  // namespace win32::screen
