// Library-wide state and the small window utilities that every class shares.
#include "library.h"

#include <internal/module.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "ravlets.h"
#include "suballocator.h"

namespace {

struct LibraryState {
  HCURSOR arrow = nullptr;
  HCURSOR ibeam = nullptr;
  BOOL overwrite = FALSE;
};

LibraryState& state() {
  static LibraryState s;
  return s;
}

}  // namespace

HINSTANCE HCtlLibraryModule() {
  static const HINSTANCE module = win32::moduleFromAddress(reinterpret_cast<const void*>(&HCtlLibraryModule));
  return module;
}

HCURSOR HCtlArrowCursor() {
  if (state().arrow == nullptr) state().arrow = LoadCursorA(nullptr, IDC_ARROW);
  return state().arrow;
}

HCURSOR HCtlIBeamCursor() {
  if (state().ibeam == nullptr) state().ibeam = LoadCursorA(nullptr, IDC_IBEAM);
  return state().ibeam;
}

WORD HCtlWinVersion() {
  const DWORD version = GetVersion();
  return static_cast<WORD>((LOBYTE(version) << 8) | HIBYTE(LOWORD(version)));
}

BOOL HCtlIsVersion4() { return LOBYTE(GetVersion()) == 4; }

BOOL WINAPI GetOverwriteMode(void) { return state().overwrite; }

BOOL WINAPI SetOverwriteMode(BOOL overwrite) {
  const BOOL previous = state().overwrite;
  state().overwrite = overwrite;
  return previous;
}

WNDPROC HCtlSubclass(HWND window, WNDPROC procedure) {
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  if (current == procedure) return nullptr;
  return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

void HCtlUpdateTopWindow(HWND window) {
  HWND top = GetAncestor(window, GA_ROOT);
  if (top != nullptr) UpdateWindow(top);
}

BOOL HCtlClassHasSuffix(HWND window, const char* suffix) {
  char name[256] = {};
  if (window == nullptr || suffix == nullptr) return FALSE;
  const size_t length = static_cast<size_t>(std::max(GetClassNameA(window, name, sizeof name), 0));
  const size_t wanted = std::strlen(suffix);
  return length >= wanted && std::strcmp(name + length - wanted, suffix) == 0;
}

int HCtlHostKind(HWND window) {
  HWND top = window;
  for (HWND parent = GetParent(top); parent != nullptr; parent = GetParent(parent)) top = parent;
  char name[65] = {};
  if (GetClassNameA(top, name, sizeof name) <= 0) return 0;
  auto beginsWith = [&](const char* prefix) {
    for (size_t i = 0; prefix[i] != '\0'; ++i)
      if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
        return false;
    return true;
  };
  if (beginsWith("RWSWnd")) return 2834;
  if (beginsWith("DlgEdit")) return 2609;
  return 0;
}

DWORD HCtlAvgCharSize(HFONT font) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  HDC dc = GetDC(nullptr);
  if (dc == nullptr) return 0;
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  SIZE size{};
  GetTextExtentPointA(dc, kLetters, 52, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return MAKELONG(static_cast<WORD>(size.cx / 52), static_cast<WORD>(size.cy));
}

DWORD HCtlTextExtent(HDC dc, LPCSTR text) {
  if (text == nullptr) text = "";
  SIZE amps{};
  GetTextExtentPointA(dc, "&&&", 3, &amps);
  const int ampWidth = amps.cx / 3;
  int height = 0;
  int widest = 0;
  const char* line = text;
  for (;;) {
    const char* end = line;
    int prefixes = 0;
    bool counted = false;  // "&&" counts once: an '&' right after a counted one does not count
    for (; *end != '\0' && *end != '\n'; ++end) {
      if (*end == '&' && !counted) {
        ++prefixes;
        counted = true;
      } else {
        counted = false;
      }
    }
    SIZE size{};
    GetTextExtentPointA(dc, line, static_cast<int>(end - line), &size);
    if (size.cy == 0) {
      TEXTMETRICA metrics{};
      GetTextMetricsA(dc, &metrics);
      size.cy = metrics.tmHeight;
    }
    widest = std::max(widest, static_cast<int>(size.cx) - prefixes * ampWidth);
    height += size.cy;
    if (*end == '\0') break;
    line = end + 1;
  }
  return MAKELONG(static_cast<WORD>(std::max(widest, 0)), static_cast<WORD>(height));
}

BOOL WINAPI CenterWindow(HWND window, int offset) {
  if (!IsWindow(window)) return FALSE;
  RECT own{};
  GetWindowRect(window, &own);
  HWND parent = GetParent(window);
  RECT area{};
  if (parent != nullptr)
    GetClientRect(parent, &area);
  else
    area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  POINT at{(area.right - area.left - (own.right - own.left)) / 2,
           (area.bottom - area.top - (own.bottom - own.top)) / 2 + offset};
  // A child moves in its parent's client coordinates, a pop-up (a dialog
  // centred on its owner) in screen coordinates; either way it is kept from
  // going off the top-left edge of that area.
  const bool child = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
  if (parent != nullptr && !child) ClientToScreen(parent, &at);
  at.x = std::max<LONG>(at.x, 0);
  at.y = std::max<LONG>(at.y, 0);
  return MoveWindow(window, at.x, at.y, own.right - own.left, own.bottom - own.top, TRUE);
}

void WINAPI RCtoS(HWND window, LPRECT rect) {
  if (rect == nullptr) return;
  ClientToScreen(window, reinterpret_cast<LPPOINT>(&rect->left));
  ClientToScreen(window, reinterpret_cast<LPPOINT>(&rect->right));
}

void WINAPI RStoC(HWND window, LPRECT rect) {
  if (rect == nullptr) return;
  ScreenToClient(window, reinterpret_cast<LPPOINT>(&rect->left));
  ScreenToClient(window, reinterpret_cast<LPPOINT>(&rect->right));
}

int WINAPI WindowHeight(HWND window) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return 0;
  return r.bottom - r.top;
}

int WINAPI WindowWidth(HWND window) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return 0;
  return r.right - r.left;
}

LPSTR WINAPI _fstrcins(LPSTR text, char c, int count, int position) {
  if (text == nullptr || count <= 0 || position < 0) return text;
  const size_t length = std::strlen(text);
  if (static_cast<size_t>(position) > length) return text;
  std::memmove(text + position + count, text + position, length - position + 1);
  std::memset(text + position, c, static_cast<size_t>(count));
  return text;
}

LPSTR HCtlStrDup(LPCSTR text) {
  if (text == nullptr) return nullptr;
  const size_t size = std::strlen(text) + 1;
  auto* copy = static_cast<char*>(HCtlAlloc(size));
  if (copy != nullptr) std::memcpy(copy, text, size);
  return copy;
}

LPSTR HCtlReplaceDup(LPSTR* holder, LPCSTR text) {
  if (holder == nullptr) return nullptr;
  LPSTR copy = HCtlStrDup(text);
  if (*holder != nullptr) HCtlFree(*holder);
  *holder = copy;
  return copy;
}

LPSTR HCtlFillDup(LPCSTR text, char c) {
  if (text == nullptr) return nullptr;
  const size_t length = std::strlen(text);
  auto* copy = static_cast<char*>(HCtlAlloc(length + 1));
  if (copy != nullptr) std::memset(copy, c, length);
  return copy;
}

int HCtlCopyText(LPSTR target, LPCSTR source, int size) {
  if (target == nullptr || source == nullptr || size == 0) return 0;
  size_t count = std::strlen(source);
  if (size > 0) count = std::min(count, static_cast<size_t>(size - 1));
  std::memcpy(target, source, count);
  target[count] = '\0';
  return static_cast<int>(count);
}

int HCtlWideLength(const WCHAR* text) {
  if (text == nullptr) return 0;
  int n = 0;
  while (text[n] != 0) ++n;
  return n;
}

BOOL HCtlIsLeadByte(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)); }
