// Loading the library registers its classes (so that a program creating a
// "ToolbarWindow32" from a dialog template works without calling
// InitCommonControls, as it does on Windows with the library loaded);
// InitCommonControls(Ex) makes sure of it again.
#include "commonstate.h"

#include <mutex>

namespace win32::comctl {

LRESULT notify(HWND from, UINT code, NMHDR* header, HWND target) {
  if (!target) target = reportTarget(from);
  if (!target || !IsWindow(target)) return 0;
  header->hwndFrom = from;
  header->idFrom = (UINT_PTR)GetDlgCtrlID(from);
  header->code = code;
  return SendMessageA(target, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

HWND reportTarget(HWND hwnd) {
  if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) return GetParent(hwnd);
  return GetWindow(hwnd, GW_OWNER);
}

void alignToParent(HWND hwnd, int height, DWORD defaultEdge) {
  DWORD style = (DWORD)GetWindowLongA(hwnd, GWL_STYLE);
  HWND parent = GetParent(hwnd);
  if ((style & CCS_NORESIZE) || !parent) return;
  RECT pc{};
  GetClientRect(parent, &pc);
  RECT wr{};
  GetWindowRect(hwnd, &wr);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&wr), 2);
  int x = wr.left, y = wr.top, width = wr.right - wr.left;
  if (!(style & CCS_NOPARENTALIGN)) {
    DWORD edge = style & 3;
    if (edge == 0) edge = defaultEdge;
    x = 0;
    width = pc.right;
    y = edge == CCS_BOTTOM ? pc.bottom - height : (edge == CCS_NOMOVEY ? wr.top : 0);
  }
  SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool registerControlClass(LPCSTR name, WNDPROC proc, UINT style, LPCSTR cursor, int backgroundColor) {
  WNDCLASSA wc{};
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = kStateBytes;
  wc.hCursor = cursor ? LoadCursorA(nullptr, cursor) : nullptr;
  wc.hbrBackground = backgroundColor ? (HBRUSH)(INT_PTR)backgroundColor : nullptr;
  wc.lpszClassName = name;
  if (RegisterClassA(&wc)) return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

namespace {

void registerAll() {
  static std::once_flag once;
  std::call_once(once, [] {
    registerToolbar();
    registerStatusBar();
    registerUpDown();
    registerToolTips();
    registerTabControl();
    registerListView();
  });
}

const bool kRegisteredAtLoad = (registerAll(), true);

}  // namespace
}  // namespace win32::comctl

extern "C" void WINAPI InitCommonControls(void) { win32::comctl::registerAll(); }

extern "C" BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
  if (!picce || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  win32::comctl::registerAll();
  return TRUE;
}
