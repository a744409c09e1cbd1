// Whether a text can be read up to its terminator without a fault: for
// window-system code that must refuse a garbage pointer it was given (a
// WM_SETTEXT text) rather than fault on it, as Windows does.
#pragma once

#include <windef.h>

extern "C" {
// TRUE when the text at `text` cannot be read up to its terminator or
// `most` characters, whichever comes first; FALSE for `most` 0.
BOOL WINAPI IsBadStringPtrA(LPCSTR text, UINT_PTR most);
}
