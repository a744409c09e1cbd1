// The Windows wildcard rules of FindFirstFile, shared with the C run-time's
// _findfirst.
#pragma once

#include <string_view>

namespace win32 {

// Whether `name` matches `pattern`, ignoring case, with the rules Windows
// applies to file names:
//   '*' matches any run of characters, dots included;
//   '?' matches one character, or none at the end of the name or before a
//       '.' (so "a??" matches "a" and "a?.txt" matches "a.txt");
//   '.' followed only by '*' and '?' up to the end of the pattern also
//       matches the end of a name without a dot ("*.*" matches "README",
//       "*." matches exactly the names without an extension).
bool matchesWildcard(std::string_view pattern, std::string_view name);

// Whether `pattern` contains '*' or '?'.
bool hasWildcards(std::string_view pattern);

}  // namespace win32
