// Translation of Linux errno values into Win32 error codes.
#pragma once

#include <windef.h>

#include <string_view>

namespace win32 {

// The Win32 code for `err` (one table for the whole layer). ENOENT answers
// ERROR_FILE_NOT_FOUND; EEXIST answers ERROR_FILE_EXISTS (80), which is what
// file creation reports; directory creation and renames report
// ERROR_ALREADY_EXISTS (183) themselves.
DWORD errorFromErrno(int err);

// As errorFromErrno, but ENOENT and ENOTDIR on `hostPath` answer
// ERROR_FILE_NOT_FOUND when the directory that should hold the last
// component exists, ERROR_PATH_NOT_FOUND when it does not.
DWORD errorFromErrno(int err, std::string_view hostPath);

// SetLastError(errorFromErrno(err, hostPath)).
void setLastErrorFromErrno(int err, std::string_view hostPath = {});

}  // namespace win32
