// The floor of a runner's start: a program with the runner's shared
// libraries that loads libraries by name from the given directory (the
// language library and the sample's function library when none are named),
// and ends.
#include <windows.h>

#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::string bin = argv[1];
  std::vector<std::string> names;
  for (int i = 2; i < argc; ++i) names.push_back(argv[i]);
  if (names.empty()) names = {"KY721LNC.ENG", "SAMPLE.DLL"};
  std::vector<HMODULE> loaded;
  int code = 0;
  for (const std::string& name : names) {
    HMODULE module = LoadLibraryA((bin + "/" + name).c_str());
    if (!module) code = 1;
    else loaded.push_back(module);
  }
  for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) FreeLibrary(*it);
  return code;
}
