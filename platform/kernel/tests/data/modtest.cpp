// The library MODTEST.DLL loaded by module_test.cpp: exports by name and by
// ordinal; it links the kernel (whose exports are not its own) and the
// resource library (whose resources are not its own); ModCount's static
// counter tells a fresh load from a library that stayed mapped.
#include <winbase.h>

extern "C" __attribute__((visibility("default"))) int ModAdd(int a, int b) { return a + b; }
extern "C" __attribute__((visibility("default"))) const char* ModName(void) { return "MODTEST"; }
extern "C" __attribute__((visibility("default"))) DWORD ModLastError(void) { return GetLastError(); }

static int calls;
extern "C" __attribute__((visibility("default"))) int ModCount(void) { return ++calls; }

KY_EXPORT_ORDINALS({1, "ModAdd"}, {7, "ModName"}, {8, "NotExported"})
