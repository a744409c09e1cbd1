// Where the layer looks for files named without a directory: the library
// search of LoadLibraryA and the default path of SearchPathA.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

// Real full path of the program file, and its directory.
const std::string& programPath();
std::string programDirectory();

// Whether a Windows file name names a directory too ("a\b", "/x", "C:x").
bool hasDirectory(std::string_view name);

// Whether a name is taken as it stands rather than along a search path:
// absolute ("\\x", "/x", "C:x") or explicitly relative to the current
// directory (".\\x", "..\\x").
bool isExplicitPath(std::string_view name);

// The file name a library name stands for, as LoadLibraryA reads it: ".DLL"
// appended when the last component has no extension; a trailing '.' means
// "no extension" and is dropped.
std::string libraryFileName(std::string_view name);

// The last path component (after the last '\' or '/').
std::string_view fileNamePart(std::string_view path);

// The file at `path` (Windows or host spelling) as a host path: as written
// when it exists so, else with its components matched ignoring case. With
// `regularOnly`, directories and devices do not count.
std::optional<std::string> findExistingFile(std::string_view path, bool regularOnly);

// The entry of `directory` (a host path) named `name` ignoring case, as a
// host path; with `regularOnly`, directories and devices do not count.
std::optional<std::string> findInDirectory(const std::string& directory, std::string_view name, bool regularOnly);

// The library file `fileName` (which may have relative directories) along
// LoadLibraryA's search order: the program's
// directory, the directory set by SetDllDirectoryA, the current directory
// (unless SetDllDirectoryA set one), then each directory of PATH.
std::optional<std::string> findLibraryFile(std::string_view fileName);

}  // namespace win32
