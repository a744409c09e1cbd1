// DefFrameProcA and DefMDIChildProcA: what an MDI frame and an MDI child do
// with the messages their own procedures pass on, CreateMDIWindowA, and the
// keys of TranslateMDISysAccel (ctrl+F4 closes, ctrl+F6 / ctrl+tab move on).
#include "mdi.h"

namespace win32::user {
namespace {

bool keyHeld(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

LRESULT frameCommand(HWND frame, MdiClient* client, WPARAM wParam, LPARAM lParam) {
  if (client) {
    UINT id = LOWORD(wParam);
    // A choice in the window menu activates that child.
    if (id >= client->firstChildId && id < client->idOf(client->children.size()) && !lParam) {
      HWND child = client->children[id - client->firstChildId];
      if (GetWindowLongA(child, GWL_STYLE) & WS_MINIMIZE) ShowWindow(child, SW_RESTORE);
      SendMessageA(client->self, WM_MDIACTIVATE, (WPARAM)child, 0);
      return 0;
    }
    // System commands from the maximized child's menu go to that child.
    if (id >= 0xF000 && client->maximized) return SendMessageA(client->maximized, WM_SYSCOMMAND, wParam, lParam);
  }
  return DefWindowProcA(frame, WM_COMMAND, wParam, lParam);
}

void childSized(HWND child, WPARAM type) {
  MdiClient* client = mdiClientOfChild(child);
  if (!client) return;
  if (type == SIZE_MAXIMIZED) {
    HWND before = client->maximized;
    client->maximized = child;
    if (before && before != child && IsWindow(before)) ShowWindow(before, SW_SHOWNOACTIVATE);
    if (client->active != child) activateChild(*client, child);
    updateFrameTitle(*client);
    showMaximizedControls(*client);
  } else if (client->maximized == child) {
    client->maximized = nullptr;
    updateFrameTitle(*client);
    removeMaximizedControls(*client);
  }
}

// A maximized child's frame and caption hang outside the client: its client area is the MDI client's.
void childMinMax(HWND child, MINMAXINFO* mm) {
  HWND clientWindow = GetParent(child);
  if (!mm || !clientWindow) return;
  RECT r{};
  GetClientRect(clientWindow, &r);
  AdjustWindowRectEx(&r, (DWORD)GetWindowLongA(child, GWL_STYLE), FALSE, (DWORD)GetWindowLongA(child, GWL_EXSTYLE));
  mm->ptMaxPosition = POINT{r.left, r.top};
  mm->ptMaxSize = POINT{r.right - r.left, r.bottom - r.top};
}

}  // namespace
}  // namespace win32::user

using namespace win32::user;

extern "C" LRESULT WINAPI DefFrameProcA(HWND hwnd, HWND hwndMDIClient, UINT msg, WPARAM wParam, LPARAM lParam) {
  MdiClient* client = mdiClientOf(hwndMDIClient);
  switch (msg) {
    case WM_COMMAND: return frameCommand(hwnd, client, wParam, lParam);
    case WM_NCACTIVATE:
      if (client && client->active) SendMessageA(client->active, WM_NCACTIVATE, wParam, lParam);
      break;
    case WM_SETFOCUS:
      if (hwndMDIClient && IsWindow(hwndMDIClient)) SetFocus(hwndMDIClient);
      return 0;
    case WM_SIZE:
      if (hwndMDIClient && IsWindow(hwndMDIClient))
        MoveWindow(hwndMDIClient, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETTEXT:
      // With a maximized child the frame shows "<text> - [<child>]".
      if (client && client->maximized) {
        client->frameTitle = lParam ? (const char*)lParam : "";
        client->titleSaved = true;
        updateFrameTitle(*client);
        return TRUE;
      }
      break;
    default: break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

extern "C" LRESULT WINAPI DefMDIChildProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MdiClient* client = mdiClientOfChild(hwnd);
  if (!client) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      refreshWindowMenu(*client);
      if (client->maximized == hwnd) updateFrameTitle(*client);
      return r;
    }
    case WM_CLOSE: SendMessageA(client->self, WM_MDIDESTROY, (WPARAM)hwnd, 0); return 0;
    case WM_SETFOCUS:
    case WM_CHILDACTIVATE:
      if (client->active != hwnd) activateChild(*client, hwnd);
      return 0;
    case WM_MOUSEACTIVATE: {
      LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      if (client->active != hwnd) activateChild(*client, hwnd);
      return r;
    }
    case WM_GETMINMAXINFO:
      DefWindowProcA(hwnd, msg, wParam, lParam);
      childMinMax(hwnd, (MINMAXINFO*)lParam);
      return 0;
    case WM_SIZE:
      childSized(hwnd, wParam);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_NEXTWINDOW: SendMessageA(client->self, WM_MDINEXT, (WPARAM)hwnd, 0); return 0;
        case SC_PREVWINDOW: SendMessageA(client->self, WM_MDINEXT, (WPARAM)hwnd, 1); return 0;
        case SC_MAXIMIZE: SendMessageA(client->self, WM_MDIMAXIMIZE, (WPARAM)hwnd, 0); return 0;
        default: break;
      }
      break;
    case WM_DESTROY:
      forgetChild(*client, hwnd);
      break;
    default: break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

extern "C" HWND WINAPI CreateMDIWindowA(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                                        int nWidth, int nHeight, HWND hWndParent, HINSTANCE hInstance, LPARAM lParam) {
  if (!mdiClientOf(hWndParent)) {
    SetLastError(IsWindow(hWndParent) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  MDICREATESTRUCTA mcs{lpClassName, lpWindowName, hInstance, X, Y, nWidth, nHeight, dwStyle, lParam};
  return (HWND)SendMessageA(hWndParent, WM_MDICREATE, 0, (LPARAM)&mcs);
}

extern "C" BOOL WINAPI TranslateMDISysAccel(HWND hWndClient, LPMSG lpMsg) {
  MdiClient* client = mdiClientOf(hWndClient);
  if (!client || !lpMsg || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN)) return FALSE;
  if (!client->active || !keyHeld(VK_CONTROL) || keyHeld(VK_MENU)) return FALSE;
  WPARAM command;
  switch (lpMsg->wParam) {
    case VK_F4: command = SC_CLOSE; break;
    case VK_F6:
    case VK_TAB: command = keyHeld(VK_SHIFT) ? SC_PREVWINDOW : SC_NEXTWINDOW; break;
    default: return FALSE;
  }
  SendMessageA(client->active, WM_SYSCOMMAND, command, 0);
  return TRUE;
}
