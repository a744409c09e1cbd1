// The ActiveX library's own module: where its strings and dialogs live.
#pragma once

#include <afx.h>

namespace ax {

HMODULE Module();
// A string of the library; "" when it has none of that id.
CString LoadText(UINT id);
// A dialog template of the library (the library's own, whatever the
// resource chain holds); null when it has none of that id.
LPCDLGTEMPLATEA DialogTemplate(UINT id);
// A bitmap of the library (the caller deletes it); null when it has none.
HBITMAP LoadBitmapResource(UINT id);
// A string of the library with one text formatted into its "%s".
CString FormatText(UINT id, const char* argument);
// The same for a pattern of the library given as text.
CString FormatTextPattern(const char* pattern, const char* argument);

}  // namespace ax
