// Joining arguments into one Windows command line.
#pragma once

#include <string>
#include <vector>

namespace win32 {

// The arguments joined by blanks, each quoted so that Windows' argument
// splitting (CommandLineToArgvW, the C run-time's start-up) gives it back
// unchanged.
std::string joinCommandLine(const std::vector<std::string>& arguments);

}  // namespace win32
