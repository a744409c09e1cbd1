// Window handles that are unique among all processes of the user.
//
// Every live window holds a slot of a table in shared memory (one mapping
// for the user's processes, guarded by a robust process-shared mutex): the
// slot says which process (pid and start time) and thread own the handle.
// A slot whose process is gone (pid dead, or reused with another start time)
// is stale: it is freed when a look-up finds it, and taken when no free slot
// is left. No file-system call is made per window. The per-user directory
// ($XDG_RUNTIME_DIR/ky-windows, else /tmp/ky-windows-<uid>) holds only the
// processes' message sockets.
#pragma once

#include <windef.h>

#include <string>

namespace win32::user {

// The fixed handle of the desktop window, the same in every process.
constexpr uint32_t kDesktopHandle = 0x00010010;

// A new handle registered for this process and `threadId`; nullptr when none
// can be made (last error set).
HWND allocateWindowHandle(DWORD threadId);
// Removes the entry of a handle of this process.
void releaseWindowHandle(HWND hwnd);

// The owner of a handle registered by another live process.
struct ForeignWindow {
  DWORD processId = 0;
  DWORD threadId = 0;
};
bool findForeignWindow(HWND hwnd, ForeignWindow& out);

// The directory of the message sockets.
const std::string& registryDirectory();

}  // namespace win32::user
