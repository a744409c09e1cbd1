// The idle script: what a person would do to a program's windows, for runs
// without a display. KY_INPUT_SCRIPT holds actions separated by ';', taken
// one at a time whenever a thread's message loop finds its queue empty
// while a visible top-level window of the thread exists:
//   snapshot:PATH  the active (else the first visible) top-level window of
//                  the thread to a PNG file; "snapshot: PATH" goes to stderr
//   key:NAME       a key press (Escape, Return, Tab, Space, F1 ... F12)
//   close          WM_CLOSE to that window
// An action that cannot be done is told on stderr and skipped.
#pragma once

namespace win32::script {

// One step of the script; true when an action ran (the caller looks at its
// queue again before it waits).
bool runIdleStep();

}  // namespace win32::script
