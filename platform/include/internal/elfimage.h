// A check of a library file before the dynamic loader maps it.
#pragma once

#include <windef.h>

#include <string>

namespace win32 {

// ERROR_SUCCESS when the file at `path` is a whole ELF object of this
// machine: its header consistent and every table and loadable segment it
// names inside the file. The loader maps segments past the end of a cut file
// and the process dies of SIGBUS on first touch, so a damaged file must be
// refused before dlopen: ERROR_BAD_EXE_FORMAT, or the error of opening it.
DWORD checkElfImage(const std::string& path);

}  // namespace win32
