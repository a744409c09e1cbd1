// GetCommandLineA: the process's arguments as one Windows command line.
#include <internal/commandline.h>
#include <winbase.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// `argument` quoted so that Windows' argument splitting (the rules of
// CommandLineToArgvW and the C run-time) gives it back unchanged:
// backslashes are literal except before a quote, where each one is doubled
// and the quote escaped.
void appendQuoted(std::string& line, const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
    line += argument;
    return;
  }
  line += '"';
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      line.append(backslashes * 2 + 1, '\\');
    } else {
      line.append(backslashes, '\\');
    }
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, '\\');  // before the closing quote
  line += '"';
}

std::string buildCommandLine() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> arguments;
  size_t start = 0;
  while (start < raw.size()) {
    size_t end = raw.find('\0', start);
    if (end == std::string::npos) end = raw.size();
    arguments.push_back(raw.substr(start, end - start));
    start = end + 1;
  }
  return win32::joinCommandLine(arguments);
}

}  // namespace

std::string win32::joinCommandLine(const std::vector<std::string>& arguments) {
  std::string line;
  for (const auto& argument : arguments) {
    if (&argument != &arguments.front()) line += ' ';
    appendQuoted(line, argument);
  }
  return line;
}

std::vector<std::string> win32::splitCommandLine(std::string_view line) {
  std::vector<std::string> arguments;
  size_t i = 0;
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (i < line.size() && isBlank(line[i])) ++i;
  if (i == line.size()) return arguments;
  // The program name: no escapes, quotes only group.
  std::string program;
  bool quoted = false;
  for (; i < line.size() && (quoted || !isBlank(line[i])); ++i) {
    if (line[i] == '"') {
      quoted = !quoted;
    } else {
      program += line[i];
    }
  }
  arguments.push_back(std::move(program));
  for (;;) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size()) break;
    std::string argument;
    quoted = false;
    while (i < line.size() && (quoted || !isBlank(line[i]))) {
      size_t backslashes = 0;
      while (i < line.size() && line[i] == '\\') ++backslashes, ++i;
      if (i < line.size() && line[i] == '"') {
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2) {
          argument += '"';
        } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          argument += '"';  // "" inside quotes
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        argument.append(backslashes, '\\');
        if (i < line.size() && (quoted || !isBlank(line[i]))) argument += line[i++];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

extern "C" LPSTR WINAPI GetCommandLineA(void) {
  // One text for the life of the process, as Windows keeps it.
  static std::string line = buildCommandLine();
  return line.data();
}
