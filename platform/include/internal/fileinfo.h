// What Win32 reports about a file (attributes, size, times), read from the
// Linux file system in one place for CreateFile handles, FindFirstFile and
// GetFileAttributesEx.
#pragma once

#include <windef.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace win32 {

struct FileInfo {
  DWORD attributes = 0;
  uint64_t size = 0;  // 0 for directories, as Windows lists them
  FILETIME creation{};
  FILETIME lastAccess{};
  FILETIME lastWrite{};
};

// Win32 attributes of a host entry: DIRECTORY, READONLY when the owner may
// not write (the layer's read-only attribute), HIDDEN for names beginning
// with '.', ARCHIVE for everything else that is not a directory (what a
// freshly written Windows file carries).
DWORD attributesFromMode(uint32_t mode, std::string_view name);

// Information on `hostPath` (symbolic links followed; a dangling link is
// described as itself). On failure answers false with errno set.
bool queryFileInfo(const std::string& hostPath, FileInfo& info);

// The same for an open descriptor; `name` gives the HIDDEN attribute.
bool queryFileInfo(int fd, std::string_view name, FileInfo& info);

// Whether the layer treats the host entry as read-only (no owner write bit).
bool isReadOnlyMode(uint32_t mode);

}  // namespace win32
