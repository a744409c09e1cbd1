// Command-line splitting and the main function's names.
#include "KyCommandLine.h"

#include <mscrt.h>

#include <internal/commandline.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Windows' splitting takes the first token as the program name, by rules of
// its own; a placeholder stands in so that every real argument is split by
// the argument rules.
std::vector<std::string> splitArguments(const char* pszCommandLine) {
  if (!pszCommandLine) return {};
  std::string line = "x ";
  line += pszCommandLine;
  std::vector<std::string> parts = win32::splitCommandLine(line);
  if (!parts.empty()) parts.erase(parts.begin());
  return parts;
}

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Start of the file name part: behind the last '\', '/' or drive colon.
size_t fileNameStart(const std::string& path) {
  size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

int KyGetArgc(const char* pszCommandLine) { return static_cast<int>(splitArguments(pszCommandLine).size()); }

char** pKyMakeArgv(const char* pszCommandLine, int iCount) {
  std::vector<std::string> parts = splitArguments(pszCommandLine);
  if (iCount < 0) iCount = 0;
  if (static_cast<size_t>(iCount) > parts.size()) iCount = static_cast<int>(parts.size());
  auto** ppArgv = static_cast<char**>(std::calloc(static_cast<size_t>(iCount) + 1, sizeof(char*)));
  if (!ppArgv) return nullptr;
  for (int i = 0; i < iCount; ++i) {
    ppArgv[i] = _strdup(parts[static_cast<size_t>(i)].c_str());
    if (!ppArgv[i]) {
      KyFreeArgv(ppArgv);
      return nullptr;
    }
  }
  return ppArgv;
}

void KyFreeArgv(char** ppArgv) {
  if (!ppArgv) return;
  for (char** p = ppArgv; *p; ++p) std::free(*p);
  std::free(ppArgv);
}

KyMainFunctionName KyGetMainFunctionName(int argc, const char* const* argv, const char* pszProgramName) {
  KyMainFunctionName result;
  auto argument = [&](int i) -> std::string { return i < argc && argv && argv[i] ? argv[i] : ""; };
  // "/ENV" is matched with case, as the argument stream that reads its key does.
  int first = argument(0) == "/ENV" ? 2 : 0;
  std::string library = upper(argument(first));
  if (library.empty()) {
    std::string program = pszProgramName ? pszProgramName : "";
    if (_stricmp(program.c_str(), "KY721RC") == 0) {
      result.fRefused = true;
      return result;
    }
    library = program;
  }
  // Only the file name decides: a '.' in a directory name is no extension.
  size_t nameStart = fileNameStart(library);
  if (library.find('.', nameStart) == std::string::npos) library += ".DLL";
  std::string implementation = argument(first + 1);
  if (implementation.empty()) {
    implementation = library.substr(nameStart);
    implementation = implementation.substr(0, implementation.find('.'));
  }
  result.library = library.c_str();
  result.implementation = implementation.c_str();
  return result;
}
