// The class dispatcher, the common message handler and notifications.
#include <cstring>

#include "ctlrecord.h"

namespace {

LONG_PTR slotOffset(int recordSlot) { return static_cast<LONG_PTR>(recordSlot) * static_cast<LONG_PTR>(sizeof(LONG_PTR)); }

LRESULT bit(WORD flags, WORD mask) { return (flags & mask) != 0 ? 1 : 0; }

void setBit(HCtlRecord* record, WORD mask, bool on) {
  if (on)
    record->flags |= mask;
  else
    record->flags &= static_cast<WORD>(~mask);
}

}  // namespace

LRESULT HCtlDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HCtlClassHandler handler,
                     int recordSlot) {
  auto* record = reinterpret_cast<HCtlRecord*>(GetWindowLongPtrA(window, static_cast<int>(slotOffset(recordSlot))));
  if (message == KYM_GETINSTANCE) return reinterpret_cast<LRESULT>(record);
  if (message == KYM_SETINSTANCE) {
    SetWindowLongPtrA(window, static_cast<int>(slotOffset(recordSlot)), lParam);
    return 0;
  }
  BOOL passOn = TRUE;
  LRESULT result = 0;
  if ((record != nullptr || message == WM_NCCREATE) && handler != nullptr) {
    passOn = FALSE;
    result = handler(window, message, wParam, lParam, &passOn, record);
    if (!passOn) return result;
    // The handler may have made or freed the record (WM_NCCREATE, WM_NCDESTROY).
    record = reinterpret_cast<HCtlRecord*>(GetWindowLongPtrA(window, static_cast<int>(slotOffset(recordSlot))));
  }
  if (record != nullptr) {
    if (HCtlCommonProc(record, message, wParam, lParam, &result)) return result;
  } else if (message == KYM_GETNOTIFYWND || message == KYM_SETNOTIFYWND) {
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

BOOL HCtlCommonProc(HCtlRecord* record, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (record == nullptr || result == nullptr) return FALSE;
  switch (message) {
    case KYM_GETFLAG2000: *result = bit(record->flags, HCTL_CHANGED); return TRUE;
    case KYM_SETFLAG2000: setBit(record, HCTL_CHANGED, wParam != 0); *result = 1; return TRUE;
    case KYM_SETNONOTIFY: setBit(record, HCTL_NONOTIFY, wParam != 0); *result = 1; return TRUE;
    case KYM_GETNONOTIFY: *result = bit(record->flags, HCTL_NONOTIFY); return TRUE;
    case KYM_GETNOTIFYWND: *result = reinterpret_cast<LRESULT>(record->notifyTarget); return TRUE;
    case KYM_SETNOTIFYWND:
      *result = reinterpret_cast<LRESULT>(record->notifyTarget);
      record->notifyTarget = reinterpret_cast<HWND>(wParam);
      return TRUE;
    case KYM_GETSTYLE:
      *result = static_cast<LRESULT>((static_cast<DWORD>(GetWindowLongA(record->window, GWL_STYLE)) & 0xFFFF0000u) |
                                     (record->style & 0xFFFFu));
      return TRUE;
    case KYM_SETSTYLE:
      record->style = static_cast<DWORD>(lParam);
      SetWindowLongA(record->window, GWL_STYLE, static_cast<LONG>(lParam));
      *result = 1;
      return TRUE;
    case KYM_VETO: record->flags |= HCTL_VETO; *result = 1; return TRUE;
    case KYM_GETFLAG4000: *result = bit(record->flags, HCTL_NOVALUE); return TRUE;
    case WM_SETFONT: {
      HFONT previous = record->font;
      record->font = reinterpret_cast<HFONT>(wParam);
      SendMessageA(record->window, WM_SIZE, 0, 0);  // the control lays itself out for the new font
      *result = reinterpret_cast<LRESULT>(previous);
      return TRUE;
    }
    case WM_GETFONT: *result = reinterpret_cast<LRESULT>(record->font); return TRUE;
    case WM_CANCELMODE:
      // Whatever the control was tracking is off: a running notification counts as vetoed.
      record->flags |= HCTL_VETO;
      return FALSE;
    default: return FALSE;
  }
}

namespace {

BOOL answersInstance(HWND window, const HCtlRecord* record) {
  // A window that is gone answers 0, never the record.
  return SendMessageA(window, KYM_GETINSTANCE, 0, 0) == reinterpret_cast<LRESULT>(record);
}

}  // namespace

int HCtlNotify(HCtlRecord* record, int code) { return HCtlNotifyChecked(record, code, answersInstance); }

int HCtlNotifyChecked(HCtlRecord* record, int code, HCtlRecordLives lives) {
  if (record == nullptr) return 0;
  record->flags &= static_cast<WORD>(~HCTL_VETO);
  if (record->notifyTarget == nullptr || (record->flags & HCTL_NONOTIFY) != 0) return 0;
  // The receiver may destroy the control: after the call only the saved
  // window handle is safe to look at until the record is known to live.
  HWND window = record->window;
  SendMessageA(record->notifyTarget, WM_COMMAND, MAKEWPARAM(record->id, static_cast<WORD>(code)),
               reinterpret_cast<LPARAM>(window));
  if (!lives(window, record)) return 1;
  const int vetoed = (record->flags & HCTL_VETO) != 0 ? 1 : 0;
  record->flags &= static_cast<WORD>(~HCTL_VETO);
  return vetoed;
}

HBRUSH HCtlGetColorBrush(HCtlRecord* record, int kind, HDC dc) {
  static const UINT kMessages[] = {0, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN, 0, 0, WM_CTLCOLORSTATIC};
  HBRUSH brush = nullptr;
  if (record != nullptr && record->notifyTarget != nullptr && kind > 0 && kind < 7 && kMessages[kind] != 0)
    brush = reinterpret_cast<HBRUSH>(SendMessageA(record->notifyTarget, kMessages[kind], reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(record->window)));
  return brush != nullptr ? brush : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

void HCtlInitRecord(HCtlRecord* record, HWND window, const CREATESTRUCTA* create) {
  record->window = window;
  record->notifyTarget = create ? create->hwndParent : nullptr;
  record->id = create ? LOWORD(reinterpret_cast<ULONG_PTR>(create->hMenu)) : 0;
  record->font = nullptr;
  record->style = create ? static_cast<DWORD>(create->style) : 0;
  SendMessageA(window, KYM_SETINSTANCE, 0, reinterpret_cast<LPARAM>(record));
  // WS_VISIBLE stays as creation has it: CreateWindowEx shows (and paints)
  // the window after WM_CREATE, which a window already marked visible skips.
  if (create != nullptr) {
    const LONG visible = GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE;
    SetWindowLongA(window, GWL_STYLE, (static_cast<LONG>(create->style) & ~WS_VISIBLE) | visible);
  }
}

ATOM HCtlRegisterClass(UINT style, WNDPROC procedure, int classExtra, int windowExtra, HINSTANCE module, HICON icon,
                       HCURSOR cursor, HBRUSH background, LPCSTR menu, LPCSTR name) {
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.cbClsExtra = classExtra;
  wc.cbWndExtra = windowExtra;
  wc.hInstance = module;
  wc.hIcon = icon;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszMenuName = menu;
  wc.lpszClassName = name;
  return RegisterClassA(&wc);
}

LRESULT HCtlPaintWithErase(HCtlRecord* record, BOOL* paintedByErase, HCtlPaintFn paint) {
  PAINTSTRUCT ps;
  *paintedByErase = FALSE;
  HWND window = record->window;
  HDC dc = BeginPaint(window, &ps);
  // The erase may have freed the control (a notification it sent): only the
  // window handle is looked at before painting again.
  if (dc != nullptr && IsWindow(window) && !*paintedByErase) paint(record, dc);
  EndPaint(window, &ps);
  return 0;
}
