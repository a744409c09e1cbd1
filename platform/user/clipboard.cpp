// The clipboard, within the process: formats with their memory blocks
// (GlobalAlloc handles, which the clipboard owns once set and frees when
// emptied), the window that opened it and the owner that emptied it last.
#include "window.h"

#include <algorithm>
#include <map>

namespace win32::user {
namespace {

struct Clipboard {
  bool open = false;
  HWND openWindow = nullptr;
  DWORD openThread = 0;
  HWND owner = nullptr;
  std::map<UINT, HANDLE> formats;  // ordered: EnumClipboardFormats walks by number
};

Clipboard& board() {
  static Clipboard c;
  return c;
}

void release(UINT format, HANDLE data) {
  if (!data) return;
  // Bitmaps, palettes and metafiles are GDI objects; everything else is global memory.
  if (format == CF_BITMAP || format == CF_PALETTE || format == CF_ENHMETAFILE) DeleteObject((HGDIOBJ)data);
  else GlobalFree(data);
}

bool openedByCaller(const Clipboard& c) { return c.open && c.openThread == GetCurrentThreadId(); }

}  // namespace
}  // namespace win32::user

using namespace win32::user;

extern "C" BOOL WINAPI OpenClipboard(HWND hwnd) {
  if (hwnd && !IsWindow(hwnd)) {
    setWindowError();
    return FALSE;
  }
  Lock lock(userMutex());
  Clipboard& c = board();
  if (c.open && !(c.openThread == GetCurrentThreadId() && c.openWindow == hwnd)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  c.open = true;
  c.openWindow = hwnd;
  c.openThread = GetCurrentThreadId();
  return TRUE;
}

extern "C" BOOL WINAPI CloseClipboard(void) {
  Lock lock(userMutex());
  Clipboard& c = board();
  if (!openedByCaller(c)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  c.open = false;
  c.openWindow = nullptr;
  c.openThread = 0;
  return TRUE;
}

extern "C" BOOL WINAPI EmptyClipboard(void) {
  HWND previousOwner;
  std::map<UINT, HANDLE> old;
  {
    Lock lock(userMutex());
    Clipboard& c = board();
    if (!openedByCaller(c)) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return FALSE;
    }
    previousOwner = c.owner;
    old.swap(c.formats);
    c.owner = c.openWindow;
  }
  // The previous owner hears that its data goes, before it is freed.
  if (previousOwner && IsWindow(previousOwner)) SendMessageA(previousOwner, WM_DESTROYCLIPBOARD, 0, 0);
  for (auto& [format, data] : old) release(format, data);
  return TRUE;
}

extern "C" HANDLE WINAPI SetClipboardData(UINT format, HANDLE data) {
  if (!format) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HANDLE replaced = nullptr;
  {
    Lock lock(userMutex());
    Clipboard& c = board();
    if (!openedByCaller(c)) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return nullptr;
    }
    auto it = c.formats.find(format);
    if (it != c.formats.end()) replaced = it->second;
    // A null handle promises the data later (WM_RENDERFORMAT to the owner).
    c.formats[format] = data;
  }
  if (replaced && replaced != data) release(format, replaced);
  return data;
}

extern "C" HANDLE WINAPI GetClipboardData(UINT format) {
  HWND owner;
  {
    Lock lock(userMutex());
    Clipboard& c = board();
    if (!openedByCaller(c)) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return nullptr;
    }
    auto it = c.formats.find(format);
    if (it == c.formats.end()) {
      SetLastError(ERROR_NOT_FOUND);
      return nullptr;
    }
    if (it->second) return it->second;
    owner = c.owner;
  }
  if (owner && IsWindow(owner)) SendMessageA(owner, WM_RENDERFORMAT, format, 0);
  Lock lock(userMutex());
  auto it = board().formats.find(format);
  return it == board().formats.end() ? nullptr : it->second;
}

extern "C" BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
  Lock lock(userMutex());
  return board().formats.count(format) ? TRUE : FALSE;
}

extern "C" UINT WINAPI RegisterClipboardFormatA(LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Lock lock(userMutex());
  return userAtom(name, true);
}

extern "C" HWND WINAPI GetClipboardOwner(void) {
  Lock lock(userMutex());
  return board().owner && findLocked(board().owner) ? board().owner : nullptr;
}

extern "C" HWND WINAPI GetOpenClipboardWindow(void) {
  Lock lock(userMutex());
  return board().open ? board().openWindow : nullptr;
}

extern "C" int WINAPI CountClipboardFormats(void) {
  Lock lock(userMutex());
  return (int)board().formats.size();
}

extern "C" UINT WINAPI EnumClipboardFormats(UINT format) {
  Lock lock(userMutex());
  Clipboard& c = board();
  if (!openedByCaller(c)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return 0;
  }
  auto it = c.formats.upper_bound(format);
  SetLastError(ERROR_SUCCESS);
  return it == c.formats.end() ? 0 : it->first;
}
