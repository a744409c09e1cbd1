// ExtractIconA: an icon of a program or library file, as the shell shows
// it. The module is mapped as a data file (no code of it runs) and its
// icon groups are counted in the order EnumResourceNames gives them.
#include <shellapi.h>
#include <windows.h>

namespace {

struct IconSearch {
  UINT wanted;
  UINT seen = 0;
  HICON found = nullptr;
  HMODULE module = nullptr;
};

BOOL CALLBACK visitGroup(HMODULE module, LPCSTR, LPSTR name, LONG_PTR param) {
  auto* search = reinterpret_cast<IconSearch*>(param);
  if (search->seen++ != search->wanted) return TRUE;
  // LoadIcon's icons belong to the module: the caller gets its own copy.
  if (HICON shared = LoadIconA(module, name)) search->found = CopyIcon(shared);
  return FALSE;
}

}  // namespace

extern "C" HICON WINAPI ExtractIconA(HINSTANCE, LPCSTR lpszExeFileName, UINT nIconIndex) {
  if (!lpszExeFileName) return nullptr;
  HMODULE module = LoadLibraryExA(lpszExeFileName, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  // A file that is no program or library answers 1, as Windows does.
  if (!module) return GetFileAttributesA(lpszExeFileName) == INVALID_FILE_ATTRIBUTES ? nullptr : reinterpret_cast<HICON>(1);
  IconSearch search{nIconIndex};
  EnumResourceNamesA(module, RT_GROUP_ICON, visitGroup, reinterpret_cast<LONG_PTR>(&search));
  FreeLibrary(module);
  if (nIconIndex == static_cast<UINT>(-1)) return reinterpret_cast<HICON>(static_cast<UINT_PTR>(search.seen));
  return search.found;
}
