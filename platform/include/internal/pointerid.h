// 32-bit ids for pointers. Records and fields that hold an address in 32
// bits (a MAPI buffer or session in a long field) keep an id of this table
// instead; the table answers the pointer back. 0 stands for the null
// pointer both ways. The same pointer keeps its id until it is forgotten.
#pragma once

#include <windef.h>

namespace win32 {

// The id of `pointer` (a new one the first time), 0 for nullptr.
DWORD pointerToId(const void* pointer);

// The pointer behind `id`, nullptr for 0 or an id not given out (or
// forgotten).
void* pointerFromId(DWORD id);

// Drops `id`; the memory behind it is the caller's business.
void forgetPointerId(DWORD id);

}  // namespace win32
