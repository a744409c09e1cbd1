// The floor of a runner's start: a program with the runner's shared
// libraries that loads the language library and the sample's function
// library by name, and ends.
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::string bin = argv[1];
  HMODULE language = LoadLibraryA((bin + "/KY721LNC.ENG").c_str());
  HMODULE sample = LoadLibraryA((bin + "/SAMPLE.DLL").c_str());
  int code = language && sample ? 0 : 1;
  if (sample) FreeLibrary(sample);
  if (language) FreeLibrary(language);
  return code;
}
