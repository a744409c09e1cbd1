// Listing files in a list box: LB_DIR and DlgDirListA.
#include "listbox.h"

#include <cstring>
#include <string>

namespace win32::user {

// LB_DIR: the file names matching a pattern, then directories as "[name]"
// and drives as "[-c-]", as the attribute bits ask.
LRESULT listDirectory(ListBox& lb, UINT attributes, const char* pattern) {
  if (!pattern || !*pattern) pattern = "*.*";
  LRESULT last = LB_ERR;
  WIN32_FIND_DATAA found{};
  HANDLE find = FindFirstFileA(pattern, &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (!strcmp(found.cFileName, ".")) continue;
      std::string name;
      if (directory) {
        if (!(attributes & DDL_DIRECTORY)) continue;
        name = std::string("[") + found.cFileName + "]";
      } else {
        if (attributes & DDL_EXCLUSIVE) continue;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && !(attributes & DDL_HIDDEN)) continue;
        name = found.cFileName;
      }
      last = insertItem(lb, -1, (LPARAM)name.c_str(), (lb.style & LBS_SORT) != 0);
      if (last < 0) break;
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  if (attributes & DDL_DRIVES) last = insertItem(lb, -1, (LPARAM) "[-c-]", (lb.style & LBS_SORT) != 0);
  return last;
}

}  // namespace win32::user

using namespace win32::user;

// Fills a dialog's list box with what `lpPathSpec` names ("dir/*.txt", a
// directory, or a pattern) and its static control with the directory.
// The directory part becomes the current directory, as on Windows, and the
// pattern is written back into `lpPathSpec`.
extern "C" int WINAPI DlgDirListA(HWND hDlg, LPSTR lpPathSpec, int nIDListBox, int nIDStaticPath, UINT uFileType) {
  std::string pathPattern = lpPathSpec && *lpPathSpec ? lpPathSpec : "*.*";
  std::string directory, pattern = pathPattern;
  DWORD attributes = GetFileAttributesA(pathPattern.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    directory = pathPattern;
    pattern = "*.*";
  } else {
    size_t cut = pathPattern.find_last_of("/\\");
    if (cut != std::string::npos) {
      directory = pathPattern.substr(0, cut + 1);
      pattern = pathPattern.substr(cut + 1);
    }
  }
  if (!directory.empty() && !SetCurrentDirectoryA(directory.c_str())) return 0;
  if (lpPathSpec && *lpPathSpec) {
    // The pattern is never longer than the path it came from.
    memmove(lpPathSpec, pattern.c_str(), pattern.size() + 1);
  }
  if (nIDListBox) {
    HWND list = GetDlgItem(hDlg, nIDListBox);
    if (!list) return 0;
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_DIR, uFileType & ~(UINT)DDL_POSTMSGS, (LPARAM)pattern.c_str());
  }
  if (nIDStaticPath) {
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof current, current);
    if (HWND path = GetDlgItem(hDlg, nIDStaticPath)) SetWindowTextA(path, current);
  }
  return TRUE;
}
