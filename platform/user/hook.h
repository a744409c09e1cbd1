// Per-thread hook chains (SetWindowsHookExA) as the window system calls them.
#pragma once

#include <windows.h>

namespace win32::user {

// True when the calling thread has a hook of kind `id` (cheap: no lock).
bool hasHooks(int id);
// Calls the chain of kind `id` of the calling thread from its most recent
// hook; answers the first hook's result (0 without hooks).
LRESULT callHooks(int id, int code, WPARAM wParam, LPARAM lParam);

}  // namespace win32::user
