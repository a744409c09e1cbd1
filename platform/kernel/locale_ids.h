// Locale ids inside kernel32 (locale.cpp): the one locale the layer has.
#pragma once
#include <windef.h>

namespace win32 {

// English (United States) under any of its names: 0x0409, the user and
// system defaults, the neutral ids. With `orInvariant` the invariant
// locale counts too (comparison and mapping treat it alike).
bool isSupportedLocale(LCID locale, bool orInvariant = false);

}  // namespace win32
