// The tool bar's messages, its docking against an edge of the parent, and
// the exports that create and re-dock bars.
#include "toolbar.h"

#include <algorithm>

#include "library.h"
#include "suballocator.h"

namespace {

HToolRecord* recordOf(HCtlRecord* head) { return reinterpret_cast<HToolRecord*>(head); }
bool floating(const HToolRecord* r) { return (r->head.style & WS_POPUP) != 0; }
bool sideDocked(const HToolRecord* r) { return (r->head.style & (HTS_LEFT | HTS_RIGHT)) != 0; }
HBRUSH faceBrush() { return CreateSolidBrush(GetSysColor(COLOR_BTNFACE)); }

void redock(HToolRecord* r) {
  HWND window = r->head.window;
  HWND parent = GetParent(window);
  if (floating(r) || parent == nullptr) return;
  RECT area, own;
  GetClientRect(parent, &area);
  GetWindowRect(window, &own);
  int width = own.right - own.left, height = own.bottom - own.top;
  if (r->thickness > 0) (sideDocked(r) ? width : height) = r->thickness;
  const bool ownLength = (r->head.style & HTS_OWNLENGTH) != 0;
  int x = 0, y = 0;
  if (r->head.style & HTS_BOTTOM) {
    y = area.bottom - height;
    if (!ownLength) width = area.right;
  } else if (r->head.style & HTS_RIGHT) {
    x = area.right - width;
    if (!ownLength) height = area.bottom;
  } else if (r->head.style & HTS_LEFT) {
    if (!ownLength) height = area.bottom;
  } else if (!ownLength) {
    width = area.right;
  }
  MoveWindow(window, x, y, width, height, TRUE);
  r->parentWidth = area.right;
  r->parentHeight = area.bottom;
}

// The outer size of a pop-up bar whose client area is `client`, as the
// window system lays out its frame and caption (adding only the thin border
// for a caption window would cut the client area short by the dialog frame).
SIZE popupSize(DWORD style, SIZE client) {
  RECT outer{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

void onCreate(HToolRecord* r, const CREATESTRUCTA* cs) {
  HWND window = r->head.window;
  SIZE size{0, 0};
  HFONT font = nullptr;
  HCtlCreateFromTemplate(cs->hInstance, static_cast<LPCSTR>(cs->lpCreateParams), window, &size, &font);
  if (font != nullptr) {
    r->templateFont = font;
    r->head.font = font;
  }
  if (floating(r)) {
    const SIZE outer = popupSize(r->head.style, size);
    SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  // The template's size gives the bar's thickness (and its length with HTS_OWNLENGTH).
  r->thickness = sideDocked(r) ? size.cx : size.cy;
  SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  redock(r);
}

LRESULT setFont(HToolRecord* r, HFONT font, BOOL redraw) {
  HFONT previous = r->head.font;
  if (font == nullptr) return reinterpret_cast<LRESULT>(previous);
  const DWORD now = HCtlAvgCharSize(font), before = HCtlAvgCharSize(previous);
  const int newSize = sideDocked(r) ? LOWORD(now) : HIWORD(now);
  const int oldSize = std::max<int>(sideDocked(r) ? LOWORD(before) : HIWORD(before), 1);
  if (r->thickness > 0) r->thickness = (r->thickness - 6) * newSize / oldSize + 6;
  HFONT fonts[2] = {font, previous};
  EnumChildWindows(r->head.window, HCtlRescaleChild, reinterpret_cast<LPARAM>(fonts));
  r->head.font = font;
  r->head.style |= HTS_FONTGIVEN;
  if (redraw) redock(r);
  return reinterpret_cast<LRESULT>(previous);
}

void paint(HToolRecord* r, HDC dc) {
  RECT client;
  GetClientRect(r->head.window, &client);
  FillRect(dc, &client, r->background);
  if (floating(r) || !(r->head.style & HTS_3DBORDER)) return;
  HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ old = SelectObject(dc, light);
  MoveToEx(dc, client.left, client.bottom - 1, nullptr);
  LineTo(dc, client.left, client.top);
  LineTo(dc, client.right - 1, client.top);
  SelectObject(dc, dark);
  LineTo(dc, client.right - 1, client.bottom - 1);
  LineTo(dc, client.left, client.bottom - 1);
  SelectObject(dc, old);
  DeleteObject(light);
  DeleteObject(dark);
}

LRESULT create(HWND window, CREATESTRUCTA* cs, BOOL* passOn) {
  auto* r = static_cast<HToolRecord*>(HCtlAlloc(sizeof(HToolRecord)));
  if (r == nullptr) return FALSE;
  HCtlInitRecord(&r->head, window, cs);
  if (cs->style & WS_POPUP) r->head.id = 0;
  r->head.font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  r->background = faceBrush();
  *passOn = TRUE;
  return TRUE;
}

void destroy(HWND window, HToolRecord* r) {
  if (r->background != nullptr) DeleteObject(r->background);
  if (r->templateFont != nullptr && !(r->head.style & HTS_FONTGIVEN)) DeleteObject(r->templateFont);
  HCtlFree(r);
  SendMessageA(window, KYM_SETINSTANCE, 0, 0);
}

}  // namespace

LRESULT HToolProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* head) {
  if (message == WM_NCCREATE) return create(window, reinterpret_cast<CREATESTRUCTA*>(lParam), passOn);
  HToolRecord* r = recordOf(head);
  if (r == nullptr) {
    *passOn = TRUE;
    return 0;
  }
  switch (message) {
    case WM_CREATE: onCreate(r, reinterpret_cast<const CREATESTRUCTA*>(lParam)); return 0;
    case WM_NCDESTROY: destroy(window, r); *passOn = TRUE; return 0;
    case WM_COMMAND:
      if (!(r->head.flags & HCTL_NONOTIFY) && r->head.notifyTarget != nullptr)
        return SendMessageA(r->head.notifyTarget, message, wParam, lParam);
      return 0;
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
      if (IsWindow(r->head.notifyTarget)) return SendMessageA(r->head.notifyTarget, message, wParam, lParam);
      break;
    case KYM_TOOLGETBRUSH: return reinterpret_cast<LRESULT>(r->background);
    case KYM_TOOLSETBRUSH: {
      HBRUSH previous = r->background;
      r->background = wParam != 0 ? reinterpret_cast<HBRUSH>(wParam) : faceBrush();
      InvalidateRect(window, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(previous);
    }
    case KYM_TOOLGETTHICKNESS: return r->thickness;
    case KYM_TOOLSETTHICKNESS:
      r->thickness = std::max(static_cast<int>(static_cast<INT_PTR>(wParam)), 0);
      if (lParam != 0) redock(r);
      return 1;
    case KYM_GETSTYLE: return static_cast<LRESULT>(r->head.style);
    case KYM_SETSTYLE:
      r->head.style = static_cast<DWORD>(lParam);
      InvalidateRect(window, nullptr, TRUE);
      return 1;
    case WM_SETFONT: return setFont(r, reinterpret_cast<HFONT>(wParam), static_cast<BOOL>(lParam));
    case WM_ERASEBKGND:
      paint(r, reinterpret_cast<HDC>(wParam));
      r->paintedByErase = TRUE;
      return 1;
    case WM_PAINT:
      return HCtlPaintWithErase(head, &r->paintedByErase,
                                [](HCtlRecord* h, HDC dc) { paint(reinterpret_cast<HToolRecord*>(h), dc); });
    default: break;
  }
  *passOn = TRUE;
  return 0;
}

extern "C" HWND WINAPI HToolCreate(HINSTANCE module, LPCSTR templateId, HWND parent, HWND target, LONG style, int id,
                                   int x, int y) {
  DWORD windowStyle;
  if (style < 0) {
    windowStyle = (static_cast<DWORD>(style) & 0x3937FFFFu) | WS_POPUP | WS_CLIPSIBLINGS | WS_SYSMENU | WS_BORDER |
                  WS_DLGFRAME;
    id = 0;
  } else {
    windowStyle = (static_cast<DWORD>(style) & 0x39FFFFFFu) | WS_CHILD;
  }
  HWND bar = CreateWindowExA(0, "HTool", "", windowStyle, x, y, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module,
                             const_cast<LPSTR>(templateId));
  if (bar != nullptr && target != nullptr) SendMessageA(bar, KYM_SETNOTIFYWND, reinterpret_cast<WPARAM>(target), 0);
  return bar;
}

extern "C" void WINAPI HToolUpdate(HWND window) {
  // Only a tool bar is asked for its record: the number means other things elsewhere.
  char name[64] = {};
  const int length = GetClassNameA(window, name, sizeof name);
  if (length < 4 || lstrcmpiA(name + length - 4, "Tool") != 0) return;
  if (auto* r = reinterpret_cast<HToolRecord*>(SendMessageA(window, KYM_GETINSTANCE, 0, 0))) redock(r);
}
