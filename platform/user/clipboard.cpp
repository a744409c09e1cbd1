// The clipboard, within the process: formats with their memory blocks
// (GlobalAlloc handles, which the clipboard owns once set and frees when
// emptied), the window that opened it and the owner that emptied it last.
// On an X server its text is shared with other programs (display.h): text
// set here is offered to them when the clipboard closes, and text another
// program offers replaces what the clipboard holds when it is read.
#include "display.h"
#include "window.h"

#include <internal/codepage.h>

#include <cstring>

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
  bool changed = false;            // emptied or set since opened
  DWORD renderingThread = 0;       // the owner's thread while it answers WM_RENDERFORMAT
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

// The owner renders a delayed format without opening the clipboard.
bool mayRender(const Clipboard& c) { return c.renderingThread && c.renderingThread == GetCurrentThreadId(); }

// Sends WM_RENDERFORMAT to the owner, letting its thread set the data meanwhile (lock not held).
void renderFormat(HWND owner, UINT format) {
  {
    Lock lock(userMutex());
    Window* w = findLocked(owner);
    if (!w) return;
    board().renderingThread = w->threadId;
  }
  SendMessageA(owner, WM_RENDERFORMAT, format, 0);
  Lock lock(userMutex());
  board().renderingThread = 0;
}

// The text formats, in the order the clipboard prefers them when it gives text away.
constexpr UINT kTextFormats[] = {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT};

HGLOBAL globalCopy(const void* bytes, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!h) return nullptr;
  memcpy(GlobalLock(h), bytes, size);
  GlobalUnlock(h);
  return h;
}

// Text another program on the server offers replaces the clipboard's
// contents, in the three text formats (lock not held).
void importForeignText() {
  std::u16string text;
  if (!display::onServer() || !display::foreignClipboardText(text)) return;
  std::u16string wide = text + u'\0';
  std::string ansi = wideToAnsi(text) + '\0';
  std::string oem = wideToAnsi(text, CP_OEMCP) + '\0';
  std::map<UINT, HANDLE> fresh{{CF_UNICODETEXT, globalCopy(wide.data(), wide.size() * 2)},
                               {CF_TEXT, globalCopy(ansi.data(), ansi.size())},
                               {CF_OEMTEXT, globalCopy(oem.data(), oem.size())}};
  HWND previousOwner;
  {
    Lock lock(userMutex());
    previousOwner = board().owner;
    fresh.swap(board().formats);
    board().owner = nullptr;
  }
  if (previousOwner && IsWindow(previousOwner)) SendMessageA(previousOwner, WM_DESTROYCLIPBOARD, 0, 0);
  for (auto& [format, data] : fresh) release(format, data);
}

// The text of a block of a text format, as UTF-16.
std::u16string textOfBlock(UINT format, HANDLE data) {
  const char* p = (const char*)GlobalLock(data);
  if (!p) return {};
  const size_t size = GlobalSize(data);
  std::u16string out;
  if (format == CF_UNICODETEXT) {
    const char16_t* w = (const char16_t*)p;
    size_t n = 0;
    while (n < size / 2 && w[n]) ++n;
    out.assign(w, n);
  } else {
    out = ansiToWide(std::string_view(p, strnlen(p, size)), format == CF_OEMTEXT ? CP_OEMCP : CP_ACP);
  }
  GlobalUnlock(data);
  return out;
}

}  // namespace

bool clipboardTextForServer(std::u16string& text) {
  for (UINT format : kTextFormats) {
    HANDLE data;
    HWND owner;
    {
      Lock lock(userMutex());
      auto it = board().formats.find(format);
      if (it == board().formats.end()) continue;
      data = it->second;
      owner = board().owner;
    }
    if (!data && owner && IsWindow(owner)) {
      // Delayed rendering: the owner renders it now, as for a paste within the program.
      renderFormat(owner, format);
      Lock lock(userMutex());
      auto it = board().formats.find(format);
      data = it == board().formats.end() ? nullptr : it->second;
    }
    if (!data) continue;
    text = textOfBlock(format, data);
    return true;
  }
  return false;
}

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
  c.changed = false;
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
  bool offer = c.changed && std::any_of(std::begin(kTextFormats), std::end(kTextFormats),
                                        [&](UINT f) { return c.formats.count(f) != 0; });
  lock.unlock();
  if (offer && display::onServer()) display::clipboardChanged();
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
    c.changed = true;
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
    if (!openedByCaller(c) && !mayRender(c)) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return nullptr;
    }
    auto it = c.formats.find(format);
    if (it != c.formats.end()) replaced = it->second;
    // A null handle promises the data later (WM_RENDERFORMAT to the owner).
    c.formats[format] = data;
    c.changed = true;
  }
  if (replaced && replaced != data) release(format, replaced);
  return data;
}

extern "C" HANDLE WINAPI GetClipboardData(UINT format) {
  HWND owner;
  if (display::onServer()) {
    {
      Lock lock(userMutex());
      if (!openedByCaller(board())) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
      }
    }
    importForeignText();
  }
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
  if (owner && IsWindow(owner)) renderFormat(owner, format);
  Lock lock(userMutex());
  auto it = board().formats.find(format);
  return it == board().formats.end() ? nullptr : it->second;
}

extern "C" BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
  if (display::onServer()) importForeignText();
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
  if (display::onServer()) importForeignText();
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
