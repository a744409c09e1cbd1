// OpenFile and the _l* file functions: thin forms of CreateFileA and the
// handle functions, with an HFILE holding the handle's 32-bit value.
#include <winbase.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

HANDLE toHandle(HFILE file) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(file)); }

HFILE toHfile(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? HFILE_ERROR : static_cast<HFILE>(reinterpret_cast<intptr_t>(handle));
}

DWORD accessFromStyle(UINT style) {
  switch (style & 3) {
    case OF_WRITE: return GENERIC_WRITE;
    case OF_READWRITE: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
  }
}

std::string fullPathOf(const char* name) {
  char buffer[MAX_PATH];
  const DWORD n = GetFullPathNameA(name, sizeof buffer, buffer, nullptr);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string(name);
}

// The file a name without a directory stands for, along the search path;
// empty when there is none.
std::string searchFor(const char* name) {
  const bool hasDirectory = std::strpbrk(name, "\\/:") != nullptr;
  if (hasDirectory) return fullPathOf(name);
  char buffer[MAX_PATH];
  const DWORD n = SearchPathA(nullptr, name, nullptr, sizeof buffer, buffer, nullptr);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

void record(LPOFSTRUCT info, const std::string& path, DWORD error) {
  if (!info) return;
  info->cBytes = sizeof(OFSTRUCT);
  info->fFixedDisk = 1;
  info->nErrCode = static_cast<WORD>(error);
  if (!path.empty()) {
    const size_t n = std::min(path.size(), sizeof info->szPathName - 1);
    path.copy(info->szPathName, n);
    info->szPathName[n] = '\0';
  }
}

HFILE failed(LPOFSTRUCT info, const std::string& path, DWORD error) {
  record(info, path, error);
  SetLastError(error);
  return HFILE_ERROR;
}

}  // namespace

extern "C" HFILE WINAPI OpenFile(LPCSTR lpFileName, LPOFSTRUCT lpReOpenBuff, UINT uStyle) {
  std::string name;
  if ((uStyle & OF_REOPEN) && lpReOpenBuff) {
    name.assign(lpReOpenBuff->szPathName, strnlen(lpReOpenBuff->szPathName, sizeof lpReOpenBuff->szPathName));
  } else if (lpFileName) {
    name = lpFileName;
  }
  if (name.empty()) return failed(lpReOpenBuff, name, ERROR_FILE_NOT_FOUND);
  if (uStyle & OF_PARSE) {
    record(lpReOpenBuff, fullPathOf(name.c_str()), ERROR_SUCCESS);
    return 0;
  }
  if (uStyle & OF_CREATE) {
    const std::string path = fullPathOf(name.c_str());
    HANDLE h = CreateFileA(path.c_str(), accessFromStyle(uStyle) | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return failed(lpReOpenBuff, path, GetLastError());
    record(lpReOpenBuff, path, ERROR_SUCCESS);
    SetLastError(ERROR_SUCCESS);
    return toHfile(h);
  }
  const std::string path = searchFor(name.c_str());
  if (path.empty()) return failed(lpReOpenBuff, name, ERROR_FILE_NOT_FOUND);
  if (uStyle & OF_DELETE) {
    if (!DeleteFileA(path.c_str())) return failed(lpReOpenBuff, path, GetLastError());
    record(lpReOpenBuff, path, ERROR_SUCCESS);
    return 1;
  }
  HANDLE h = CreateFileA(path.c_str(), accessFromStyle(uStyle), FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return failed(lpReOpenBuff, path, GetLastError());
  record(lpReOpenBuff, path, ERROR_SUCCESS);
  if (uStyle & OF_EXIST) {
    CloseHandle(h);
    return 1;
  }
  return toHfile(h);
}

extern "C" HFILE WINAPI _lopen(LPCSTR lpPathName, int iReadWrite) {
  return toHfile(CreateFileA(lpPathName, accessFromStyle(static_cast<UINT>(iReadWrite)),
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
}

extern "C" HFILE WINAPI _lcreat(LPCSTR lpPathName, int iAttribute) {
  // The attribute is 0 (normal), 1 (read-only), 2 (hidden) or 4 (system);
  // only read-only has a counterpart here.
  const DWORD attributes = (iAttribute & 1) ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
  return toHfile(CreateFileA(lpPathName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             CREATE_ALWAYS, attributes, nullptr));
}

extern "C" UINT WINAPI _lread(HFILE hFile, LPVOID lpBuffer, UINT uBytes) {
  DWORD read = 0;
  return ReadFile(toHandle(hFile), lpBuffer, uBytes, &read, nullptr) ? read : static_cast<UINT>(HFILE_ERROR);
}

extern "C" UINT WINAPI _lwrite(HFILE hFile, LPCSTR lpBuffer, UINT uBytes) {
  DWORD written = 0;
  return WriteFile(toHandle(hFile), lpBuffer, uBytes, &written, nullptr) ? written : static_cast<UINT>(HFILE_ERROR);
}

extern "C" LONG WINAPI _llseek(HFILE hFile, LONG lOffset, int iOrigin) {
  const DWORD position = SetFilePointer(toHandle(hFile), lOffset, nullptr, static_cast<DWORD>(iOrigin));
  if (position == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return HFILE_ERROR;
  return static_cast<LONG>(position);
}

extern "C" HFILE WINAPI _lclose(HFILE hFile) { return CloseHandle(toHandle(hFile)) ? 0 : HFILE_ERROR; }
