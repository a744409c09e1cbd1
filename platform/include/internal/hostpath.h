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

// The process's current directory in host spelling; empty (errno set) when
// it cannot be read, e.g. after it was removed.
std::string hostCurrentDirectory();

// Root directory of drive letter `drive` ('A'..'Z', any case).
std::string driveRoot(char drive);

// Whether drive `drive` exists: C always, others when KY_DRIVE_MAP names them.
bool driveExists(char drive);

// Whether `hostDir` is the root of a drive ("/" or a mapped drive's root):
// Windows lists no "." and ".." entries there.
bool isDriveRoot(std::string_view hostDir);

// The lower-case form of one code page 1252 character, as names compare.
unsigned char foldCase(unsigned char c);

// ASCII/code page 1252 case-insensitive equality of two names.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace win32

namespace win32 {

// `directory` and `name` joined by one '/'.
inline std::string joinHostPath(std::string_view directory, std::string_view name) {
  std::string path;
  path.reserve(directory.size() + name.size() + 1);
  path.append(directory);
  if (path.empty() || path.back() != '/') path += '/';
  path.append(name);
  return path;
}

}  // namespace win32
