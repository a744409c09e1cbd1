// Message texts behind FormatMessageA: the layer's own system message
// table and the reader of RT_MESSAGETABLE resources.
#pragma once

#include <windef.h>

#include <cstddef>
#include <optional>
#include <string>

namespace win32 {

// The text of a system error code (ERROR_*, WAIT_TIMEOUT) or of an HRESULT
// the layer raises, ending with ".\r\n" as Windows' system texts do; null
// when the table has none. An HRESULT of FACILITY_WIN32 answers the text of
// its error code.
const char* systemMessageText(DWORD id);

// Message `id` of an RT_MESSAGETABLE resource's bytes (blocks of id ranges,
// then length-prefixed ANSI or UTF-16 entries), as ANSI text; nullopt when
// the table lacks it or its bytes are not a well-formed table.
std::optional<std::string> messageTableText(const void* data, size_t size, DWORD id);

}  // namespace win32
