// Text between the library's ANSI strings and COM's BSTR, converted with
// the ANSI code page (as scripts and their hosts exchange it).
#pragma once

#include <afx.h>
#include <oleauto.h>

#include <string>
#include <string_view>

#include "internal/codepage.h"

namespace ax {

inline CString FromBstr(const OLECHAR* text) {
  if (!text) return CString();
  const auto* units = reinterpret_cast<const char16_t*>(text);
  const std::string ansi = win32::wideToAnsi(std::u16string_view(units, std::char_traits<char16_t>::length(units)));
  return CString(ansi.data(), static_cast<int>(ansi.size()));
}

inline std::u16string ToWide(const char* text) { return win32::ansiToWide(text ? text : ""); }

// A new BSTR (the caller frees it).
inline BSTR ToBstr(const char* text) {
  const std::u16string wide = ToWide(text);
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()), static_cast<UINT>(wide.size()));
}

}  // namespace ax
