// The process's cache of parsed INI files, keyed by host path.
//
// The run-time reads dozens of options at every start, so a file is parsed
// once and kept until its stamp (device, inode, size, modification time in
// ns) changes. File systems stamp times from a coarse clock (a few ms), so a
// same-size edit made right after our read could keep the stamp: an entry
// read within that window is "racy" and its bytes are compared again on use
// until the window has passed (git's index does the same).
//
// Writes go through the cache: the new bytes are written to a temporary file
// beside the target, synced and renamed over it (keeping its permissions), so
// a crash leaves the old or the new file, never half of one. Writers of one
// directory take a lock on it, so that processes do not lose each other's
// changes.
#pragma once

#include "profilefile.h"

#include <windef.h>
#include <winerror.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace win32::profile {

// Answers the new bytes for the current content, or nullopt for no change.
using ProfileEdit = std::function<std::optional<std::string>(const ProfileFile&)>;

// Paths are host spellings (toHostPath); a name missing as spelled is looked
// up ignoring case (resolveHostPath), so that the usual exact name costs a
// single stat per read.

// The parsed file at `hostPath`, or nullptr with `error` set to the Windows
// error (ERROR_FILE_NOT_FOUND when it does not exist). The snapshot stays
// valid however the file changes later.
std::shared_ptr<const ProfileFile> loadProfile(const std::string& hostPath, DWORD& error);

// Applies `edit` to the file (empty when missing) and writes the result.
// False with `error` set when the file cannot be read or written. An edit
// without change writes nothing (and creates no file).
bool updateProfile(const std::string& hostPath, const ProfileEdit& edit, DWORD& error);

// Drops the cached copy of `hostPath` (the next read parses the file again).
void forgetProfile(const std::string& hostPath);

}  // namespace win32::profile
