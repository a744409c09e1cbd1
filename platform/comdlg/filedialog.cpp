// GetOpenFileNameA and GetSaveFileNameA, headless: the names a person would
// pick come from the script, and each is checked as the dialog checks a
// typed name (the file must exist, its folder must exist, replacing asks
// first) before it is written back in the record's documented form.
#include "dialogscript.h"

#include <internal/wildcard.h>

#include <algorithm>
#include <cstring>

#include <string>
#include <vector>

namespace win32::comdlg {
namespace {

enum class Kind { open, save };

size_t nameStart(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? 0 : slash + 1;
}

// The offset of the extension (after the dot) in `path`, 0 when the name has none.
size_t extensionStart(const std::string& path) {
  size_t name = nameStart(path);
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < name) return 0;
  return dot + 1;
}

std::vector<std::string> splitAnswer(const std::string& answer) {
  std::vector<std::string> paths;
  size_t start = 0;
  while (start <= answer.size()) {
    size_t bar = answer.find('|', start);
    if (bar == std::string::npos) bar = answer.size();
    if (bar > start) paths.push_back(answer.substr(start, bar - start));
    start = bar + 1;
  }
  return paths;
}

bool isAbsolute(const std::string& path) {
  return !path.empty() && (path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'));
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool folderExists(const std::string& path) {
  size_t name = nameStart(path);
  if (name == 0) return true;  // the current folder
  std::string folder = path.substr(0, name - 1);
  if (folder.empty()) return true;  // the root
  DWORD attributes = GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// What the dialog does to a typed name before checking it: relative names
// are in the initial folder; a name without extension gets the default one.
std::string completeName(const OPENFILENAMEA& ofn, std::string path) {
  if (!isAbsolute(path) && ofn.lpstrInitialDir && *ofn.lpstrInitialDir) {
    std::string folder = ofn.lpstrInitialDir;
    if (folder.back() != '/' && folder.back() != '\\') folder += '/';
    path = folder + path;
  }
  if (ofn.lpstrDefExt && *ofn.lpstrDefExt && extensionStart(path) == 0 && !path.empty() && path.back() != '.')
    path += std::string(".") + ofn.lpstrDefExt;
  return path;
}

const char* dialogName(Kind kind) { return kind == Kind::open ? "Open" : "Save As"; }

// Whether a person's choice passes the dialog's own checks; says why not on stderr.
bool acceptable(const OPENFILENAMEA& ofn, Kind kind, const std::vector<std::string>& paths) {
  if (paths.size() > 1 && !(ofn.Flags & OFN_ALLOWMULTISELECT)) {
    script::announce("  refused: one file only");
    return false;
  }
  for (const std::string& path : paths) {
    if (paths.size() > 1 && path.substr(0, nameStart(path)) != paths[0].substr(0, nameStart(paths[0]))) {
      script::announce("  refused: the files are in different folders");
      return false;
    }
    if (ofn.Flags & OFN_NOVALIDATE) continue;
    if ((ofn.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !folderExists(path)) {
      script::announce("  refused: " + path + "\nPath does not exist.");
      return false;
    }
    if (kind == Kind::open && (ofn.Flags & OFN_FILEMUSTEXIST) && !exists(path)) {
      script::announce("  refused: " + path + "\nFile not found.");
      return false;
    }
    if (kind == Kind::save && (ofn.Flags & OFN_OVERWRITEPROMPT) && exists(path)) {
      std::string question = path.substr(nameStart(path)) + " already exists.\nDo you want to replace it?";
      if (MessageBoxA(ofn.hwndOwner, question.c_str(), "Confirm Save As",
                      MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return false;
    }
  }
  return true;
}

// The chosen name(s) in lpstrFile: one full path; or, for several files,
// the folder then each name, NUL-separated and ending with two NULs
// (space-separated without OFN_EXPLORER).
std::string resultText(const OPENFILENAMEA& ofn, const std::vector<std::string>& paths) {
  if (paths.size() == 1) return paths[0];
  size_t folderEnd = nameStart(paths[0]);
  std::string result = paths[0].substr(0, folderEnd > 0 ? folderEnd - 1 : 0);
  char separator = (ofn.Flags & OFN_EXPLORER) ? '\0' : ' ';
  for (const std::string& path : paths) {
    result += separator;
    result += path.substr(folderEnd);
  }
  result += '\0';
  return result;
}

// The filter whose patterns match the chosen name, so that nFilterIndex
// says which file type the person was looking at; 0 when none does.
DWORD matchingFilter(const OPENFILENAMEA& ofn, const std::string& path) {
  if (!ofn.lpstrFilter) return 0;
  std::string name = path.substr(nameStart(path));
  const char* p = ofn.lpstrFilter;
  for (DWORD index = 1; *p; ++index) {
    p += strlen(p) + 1;  // the description
    std::string patterns = p;
    p += strlen(p) + 1;
    size_t start = 0;
    while (start <= patterns.size()) {
      size_t semi = patterns.find(';', start);
      if (semi == std::string::npos) semi = patterns.size();
      std::string pattern = patterns.substr(start, semi - start);
      if (!pattern.empty() && matchesWildcard(pattern, name)) return index;
      start = semi + 1;
    }
  }
  return 0;
}

BOOL deliver(OPENFILENAMEA& ofn, const std::vector<std::string>& paths) {
  std::string text = resultText(ofn, paths);
  size_t needed = text.size() + 1;
  if (needed > ofn.nMaxFile) {
    // The documented answer: the size needed, in the buffer's first two bytes.
    if (ofn.nMaxFile >= 2) {
      WORD size = (WORD)std::min<size_t>(needed, 0xFFFF);
      memcpy(ofn.lpstrFile, &size, sizeof size);
    }
    setExtendedError(FNERR_BUFFERTOOSMALL);
    return FALSE;
  }
  memcpy(ofn.lpstrFile, text.c_str(), needed);
  const std::string& first = paths[0];
  ofn.nFileOffset = (WORD)nameStart(first);  // the first name, also in a multiple selection
  ofn.nFileExtension = (WORD)(paths.size() == 1 ? extensionStart(first) : 0);
  ofn.Flags &= ~(DWORD)(OFN_EXTENSIONDIFFERENT | OFN_READONLY);
  if (ofn.lpstrDefExt && *ofn.lpstrDefExt && paths.size() == 1) {
    size_t ext = extensionStart(first);
    if (ext == 0 || lstrcmpiA(first.c_str() + ext, ofn.lpstrDefExt) != 0) ofn.Flags |= OFN_EXTENSIONDIFFERENT;
  }
  if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0)
    lstrcpynA(ofn.lpstrFileTitle, first.c_str() + nameStart(first), (int)ofn.nMaxFileTitle);
  if (DWORD filter = matchingFilter(ofn, first)) ofn.nFilterIndex = filter;
  setExtendedError(0);
  return TRUE;
}

BOOL runFileDialog(LPOPENFILENAMEA ofn, Kind kind) {
  if (!ofn) {
    setExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  if (!checkStructSize(ofn->lStructSize, sizeof(OPENFILENAMEA), OPENFILENAME_SIZE_VERSION_400A)) return FALSE;
  if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
    setExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  const char* title = ofn->lpstrTitle ? ofn->lpstrTitle : dialogName(kind);
  script::announce(std::string("[file dialog] ") + title);
  for (;;) {
    std::optional<std::string> answer = fileAnswers().next();
    if (!answer || *answer == kCancel) {
      script::announce("  cancelled");
      setExtendedError(0);
      return FALSE;
    }
    std::vector<std::string> paths;
    for (const std::string& p : splitAnswer(*answer)) paths.push_back(completeName(*ofn, p));
    if (paths.empty()) continue;  // an empty name: the dialog stays
    if (!acceptable(*ofn, kind, paths)) continue;
    script::announce("  chose " + *answer);
    return deliver(*ofn, paths);
  }
}

}  // namespace
}  // namespace win32::comdlg

extern "C" BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA lpofn) {
  return win32::comdlg::runFileDialog(lpofn, win32::comdlg::Kind::open);
}

extern "C" BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA lpofn) {
  return win32::comdlg::runFileDialog(lpofn, win32::comdlg::Kind::save);
}

// The name part of a path: 0 with the title in Buf, or the size needed
// (terminating NUL included) when Buf is too small; -1 for a bad name.
extern "C" short WINAPI GetFileTitleA(LPCSTR lpszFile, LPSTR Buf, WORD cchSize) {
  if (!lpszFile || !*lpszFile) return -1;
  std::string path = lpszFile;
  std::string title = path.substr(win32::comdlg::nameStart(path));
  if (title.empty() || title.find_first_of("*?") != std::string::npos) return -1;
  if (!Buf || cchSize < title.size() + 1) return (short)(title.size() + 1);
  memcpy(Buf, title.c_str(), title.size() + 1);
  return 0;
}
