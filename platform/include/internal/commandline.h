// Joining arguments into one Windows command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace win32 {

// The arguments joined by blanks, each quoted so that Windows' argument
// splitting (CommandLineToArgvW, the C run-time's start-up) gives it back
// unchanged.
std::string joinCommandLine(const std::vector<std::string>& arguments);

// The arguments of a command line as the Microsoft C run-time splits it:
// the program name runs to the first blank, or between quotes without
// escapes; after it, blanks and tabs separate, quotes group, 2n
// backslashes before a quote give n and the quote groups, 2n+1 give n and
// a literal quote, "" inside quotes is a literal quote, and other
// backslashes are literal.
std::vector<std::string> splitCommandLine(std::string_view line);

}  // namespace win32
