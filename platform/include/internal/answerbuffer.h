// The buffer rule of Win32 functions that answer a string (GetCurrentDirectory,
// GetTempPath, GetFullPathName, GetEnvironmentVariable ...).
#pragma once

#include <windef.h>

#include <string_view>

namespace win32 {

// When `buffer` holds `text` and its terminator, copies both and answers the
// length without the terminator; otherwise leaves the buffer alone and
// answers the size needed, terminator included. A caller tells the two
// apart by comparing the answer with `size`.
inline DWORD answerString(std::string_view text, char* buffer, DWORD size) {
  if (buffer && size > text.size()) {
    text.copy(buffer, text.size());
    buffer[text.size()] = '\0';
    return static_cast<DWORD>(text.size());
  }
  return static_cast<DWORD>(text.size() + 1);
}

}  // namespace win32
