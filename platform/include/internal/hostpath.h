// Mapping of Windows path spellings onto the Linux file system.
//
// Rules:
// - `\` and `/` are both separators; the result uses `/`.
// - A drive prefix "X:" maps to the root of that drive. Every drive is the
//   file system root unless the environment variable KY_DRIVE_MAP maps it,
//   e.g. KY_DRIVE_MAP="D=/srv/data;E=/mnt/e". "C:\dir\f" is "/dir/f".
// - A drive-relative "X:name" is relative to the current directory when X
//   is the current drive (C), otherwise to that drive's root.
// - A name that does not exist as spelled resolves, component by component,
//   to an existing entry whose name differs only in letter case.
#pragma once

#include <string>
#include <string_view>

namespace win32 {

// The Linux spelling of a Windows path; no file system access.
std::string toHostPath(std::string_view windowsPath);

// toHostPath, then the case-insensitive lookup of each missing component.
// From the first component without a match on, the rest keeps its spelling,
// so that a create lands beside the existing entries.
std::string resolveHostPath(std::string_view windowsPath);

// Root directory of drive letter `drive` ('A'..'Z', any case).
std::string driveRoot(char drive);

// ASCII/code page 1252 case-insensitive equality of two names.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace win32
