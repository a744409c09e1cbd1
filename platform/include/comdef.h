// The compiler's COM support: _com_error, the exception that carries a
// failed HRESULT, and _com_issue_error, which raises it. Code that lets
// such an error out catches it (by reference) before its own exported
// boundary.
#pragma once

#include <objbase.h>
#include <windows.h>

#ifdef __cplusplus

#include <cstdio>
#include <string>

class _com_error {
 public:
  explicit _com_error(HRESULT hr) noexcept : m_hr(hr) {}
  HRESULT Error() const noexcept { return m_hr; }
  // The system's text of the error (of its Win32 code for FACILITY_WIN32),
  // else "Unknown error 0x%08lX", without the line end.
  const char* ErrorMessage() const {
    if (m_message.empty()) {
      char text[256] = "";
      const DWORD code = HRESULT_FACILITY(m_hr) == FACILITY_WIN32 ? HRESULT_CODE(m_hr) : static_cast<DWORD>(m_hr);
      DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                               sizeof text, nullptr);
      while (n && (text[n - 1] == '\r' || text[n - 1] == '\n')) text[--n] = '\0';
      if (!n) std::snprintf(text, sizeof text, "Unknown error 0x%08lX", static_cast<unsigned long>(static_cast<DWORD>(m_hr)));
      m_message = text;
    }
    return m_message.c_str();
  }

 private:
  HRESULT m_hr;
  mutable std::string m_message;
};

[[noreturn]] inline void _com_issue_error(HRESULT hr) { throw _com_error(hr); }

#endif
