// Fontconfig's set-up (its configuration files and font caches read by
// FcInit) is the slowest step before a program's first text. A program
// starts it early on a thread of its own; every use of fontconfig in the
// layer waits for it first.
#pragma once

namespace win32::gdi {

// Starts the set-up on a thread, once per process; later calls do nothing.
void startFontSetup();

// Returns when fontconfig is set up: waits for the thread, or sets it up on
// the calling thread when nobody started it.
void awaitFontSetup();

}  // namespace win32::gdi
