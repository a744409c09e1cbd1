// Window handles that are unique among all processes of the user.
//
// Every live window has an entry in a per-user directory
// ($XDG_RUNTIME_DIR/ky-windows, else /tmp/ky-windows-<uid>): a file named by
// the handle in eight hex digits holding "<pid> <process start time> <thread id>".
// Creating the entry with O_EXCL is what makes a handle value unique; an
// entry whose process is gone (pid dead, or reused with another start time)
// is stale and may be taken over. Handle values are even 32-bit numbers from
// 0x00020000 up; a process takes blocks of them from a shared counter
// (the file "counter", updated under flock) so that processes rarely collide.
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

// The directory of entries and sockets.
const std::string& registryDirectory();

}  // namespace win32::user
