// The "MDIClient" window class: the area of an MDI frame that holds the
// document windows. It creates and destroys them (WM_MDICREATE,
// WM_MDIDESTROY), keeps which one is active and which is maximized, and
// answers the WM_MDI* messages. The frame's and the children's default
// procedures are in mdi_frame.cpp, tiling and cascading in mdi_arrange.cpp.
#include "mdi.h"

#include "control.h"
#include "systemclass.h"

#include <algorithm>

namespace win32::user {

MdiClient* mdiClientOf(HWND hwnd) {
  return hwnd ? control::state<MdiClient>(hwnd) : nullptr;
}

MdiClient* mdiClientOfChild(HWND child) { return mdiClientOf(GetParent(child)); }

namespace {

bool isChildOf(const MdiClient& client, HWND hwnd) {
  return hwnd && std::find(client.children.begin(), client.children.end(), hwnd) != client.children.end();
}

// The children in z-order, the top one first.
std::vector<HWND> childrenInZOrder(const MdiClient& client) {
  std::vector<HWND> order;
  for (HWND w = GetWindow(client.self, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (isChildOf(client, w)) order.push_back(w);
  return order;
}

HWND createChild(MdiClient& client, MDICREATESTRUCTA* mcs) {
  if (!mcs || !mcs->szClass) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  constexpr DWORD kChildStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_CAPTION |
                                WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  DWORD clientStyle = (DWORD)GetWindowLongA(client.self, GWL_STYLE);
  DWORD style = (clientStyle & MDIS_ALLCHILDSTYLES)
                    ? mcs->style | WS_CHILD
                    : kChildStyle | WS_VISIBLE | (mcs->style & (WS_MINIMIZE | WS_MAXIMIZE | WS_HSCROLL | WS_VSCROLL));
  RECT area{};
  GetClientRect(client.self, &area);
  int x = mcs->x, y = mcs->y, cx = mcs->cx, cy = mcs->cy;
  RECT slot = cascadeSlot(client.self, (int)client.children.size());
  if (x == CW_USEDEFAULT) {
    x = slot.left;
    y = slot.top;
  }
  if (cx == CW_USEDEFAULT) {
    cx = std::max(100, (int)(area.right * 3 / 4));
    cy = std::max(60, (int)(area.bottom * 3 / 4));
  }
  UINT id = client.idOf(client.children.size());
  // A new child comes maximized when the active one is.
  bool maximize = (style & WS_MAXIMIZE) || client.maximized;
  HWND child = CreateWindowExA(WS_EX_MDICHILD, mcs->szClass, mcs->szTitle, style & ~(WS_MAXIMIZE | WS_MINIMIZE), x, y,
                               cx, cy, client.self, (HMENU)(UINT_PTR)id, (HINSTANCE)mcs->hOwner, mcs);
  if (!child) return nullptr;
  client.children.push_back(child);
  if (style & WS_MINIMIZE) {
    ShowWindow(child, SW_SHOWMINNOACTIVE);
  } else {
    activateChild(client, child);
    if (maximize && IsWindow(child)) ShowWindow(child, SW_SHOWMAXIMIZED);
  }
  if (IsWindow(child)) refreshWindowMenu(client);
  return IsWindow(child) ? child : nullptr;
}

LRESULT nextChild(MdiClient& client, HWND from, bool previous) {
  HWND current = from ? from : client.active;
  std::vector<HWND> order;
  for (HWND w : childrenInZOrder(client))
    if (IsWindowVisible(w) && IsWindowEnabled(w)) order.push_back(w);
  if (!current || order.size() < 2) return 0;
  auto it = std::find(order.begin(), order.end(), current);
  if (it == order.end()) return 0;
  if (previous) {
    activateChild(client, order.back());
    return 0;
  }
  HWND target = (it + 1 == order.end()) ? order.front() : *(it + 1);
  activateChild(client, target);
  SetWindowPos(current, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return 0;
}

LRESULT setMenus(MdiClient& client, HMENU frameMenu, HMENU windowMenu) {
  HMENU old = GetMenu(client.frame);
  if (windowMenu || frameMenu) clearWindowMenu(client);
  if (frameMenu) {
    // The maximized child's controls move from the old menu bar to the new one.
    removeMaximizedControls(client);
    SetMenu(client.frame, frameMenu);
    showMaximizedControls(client);
  }
  if (windowMenu) client.windowMenu = windowMenu;
  refreshWindowMenu(client);
  return (LRESULT)old;
}

// A maximized child follows the client's size.
void fitMaximized(MdiClient& client) {
  if (!client.maximized) return;
  RECT r{};
  GetClientRect(client.self, &r);
  AdjustWindowRectEx(&r, (DWORD)GetWindowLongA(client.maximized, GWL_STYLE), FALSE,
                     (DWORD)GetWindowLongA(client.maximized, GWL_EXSTYLE));
  SetWindowPos(client.maximized, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT onCreate(HWND hwnd, const CREATESTRUCTA* cs) {
  MdiClient& client = *control::attach<MdiClient>(hwnd);
  client.self = hwnd;
  client.frame = cs->hwndParent;
  if (const auto* ccs = (const CLIENTCREATESTRUCT*)cs->lpCreateParams) {
    client.windowMenu = (HMENU)ccs->hWindowMenu;
    client.firstChildId = ccs->idFirstChild;
  }
  return 0;
}

LRESULT CALLBACK clientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) return onCreate(hwnd, (const CREATESTRUCTA*)lParam);
  MdiClient* client = control::state<MdiClient>(hwnd);
  if (!client) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_MDICREATE: return (LRESULT)createChild(*client, (MDICREATESTRUCTA*)lParam);
    case WM_MDIDESTROY: {
      HWND child = (HWND)wParam;
      if (!isChildOf(*client, child)) return 0;
      forgetChild(*client, child);
      DestroyWindow(child);
      return 0;
    }
    case WM_MDIACTIVATE:
      if (isChildOf(*client, (HWND)wParam)) activateChild(*client, (HWND)wParam);
      return 0;
    case WM_MDIGETACTIVE:
      if (lParam) *(BOOL*)lParam = client->maximized && client->maximized == client->active;
      return (LRESULT)client->active;
    case WM_MDINEXT: return nextChild(*client, (HWND)wParam, lParam != 0);
    case WM_MDIMAXIMIZE:
      if (isChildOf(*client, (HWND)wParam)) ShowWindow((HWND)wParam, SW_SHOWMAXIMIZED);
      return 0;
    case WM_MDIRESTORE:
      if (isChildOf(*client, (HWND)wParam)) ShowWindow((HWND)wParam, SW_RESTORE);
      return 0;
    case WM_MDITILE: return TileWindows(hwnd, (UINT)wParam, nullptr, 0, nullptr) ? TRUE : FALSE;
    case WM_MDICASCADE: return CascadeWindows(hwnd, (UINT)wParam, nullptr, 0, nullptr) ? TRUE : FALSE;
    case WM_MDIICONARRANGE: ArrangeIconicWindows(hwnd); return 0;
    case WM_MDISETMENU: return setMenus(*client, (HMENU)wParam, (HMENU)lParam);
    case WM_MDIREFRESHMENU:
      if (client->maximized) showMaximizedControls(*client);
      refreshWindowMenu(*client);
      return (LRESULT)GetMenu(client->frame);
    case WM_SIZE:
      fitMaximized(*client);
      return 0;
    case WM_SETFOCUS:
      if (client->active && IsWindow(client->active)) SetFocus(client->active);
      return 0;
    case WM_DESTROY: client->closing = true; return 0;
    case WM_NCDESTROY:
      removeMaximizedControls(*client);
      freeControlBitmaps(*client);
      control::detach<MdiClient>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

const SystemClass mdiClientClass({"MDIClient", clientProc, 0, control::kStateBytes, IDC_ARROW, COLOR_APPWORKSPACE + 1});

}  // namespace

void activateChild(MdiClient& client, HWND child) {
  HWND old = client.active;
  if (child == old) {
    if (child) SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  client.active = child;
  // The maximized state passes to the child that becomes active.
  bool passMaximized = old && client.maximized == old && child;
  if (old && IsWindow(old)) {
    SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(old, WM_MDIACTIVATE, (WPARAM)old, (LPARAM)child);
  }
  if (child) {
    if (passMaximized) ShowWindow(child, SW_SHOWMAXIMIZED);
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(child, WM_NCACTIVATE, TRUE, 0);
    SendMessageA(child, WM_MDIACTIVATE, (WPARAM)old, (LPARAM)child);
    if (passMaximized && IsWindow(old)) ShowWindow(old, SW_SHOWNOACTIVATE);
    HWND focus = GetFocus();
    if (GetActiveWindow() == GetAncestor(client.self, GA_ROOT) && !(focus && IsChild(child, focus)))
      SetFocus(child);
  }
  refreshWindowMenu(client);
  updateFrameTitle(client);
}

// The child leaves the client's books: the next child in z-order becomes
// active, the last child takes the leaving one's id so that ids stay
// contiguous from the first child id.
void forgetChild(MdiClient& client, HWND child) {
  auto it = std::find(client.children.begin(), client.children.end(), child);
  if (it == client.children.end()) return;
  if (client.active == child && client.closing) {
    client.active = nullptr;
  } else if (client.active == child) {
    HWND next = nullptr;
    for (HWND w : childrenInZOrder(client))
      if (w != child && IsWindowVisible(w) && !(GetWindowLongA(w, GWL_STYLE) & WS_MINIMIZE)) {
        next = w;
        break;
      }
    if (next) {
      activateChild(client, next);
    } else {
      client.active = nullptr;
      SendMessageA(child, WM_MDIACTIVATE, (WPARAM)child, 0);
    }
  }
  it = std::find(client.children.begin(), client.children.end(), child);
  size_t index = (size_t)(it - client.children.begin());
  if (index + 1 < client.children.size()) {
    HWND last = client.children.back();
    SetWindowLongPtrA(last, GWLP_ID, (LONG_PTR)client.idOf(index));
    client.children[index] = last;
  }
  client.children.pop_back();
  if (client.maximized == child) {
    client.maximized = nullptr;
    updateFrameTitle(client);
  }
  if (client.controlsChild == child) removeMaximizedControls(client);
  refreshWindowMenu(client);
}

void updateFrameTitle(MdiClient& client) {
  if (!client.frame) return;
  if (client.maximized) {
    if (!client.titleSaved) {
      int length = GetWindowTextLengthA(client.frame);
      std::string text((size_t)length + 1, '\0');
      GetWindowTextA(client.frame, text.data(), length + 1);
      text.resize((size_t)length);
      client.frameTitle = text;
      client.titleSaved = true;
    }
    int length = GetWindowTextLengthA(client.maximized);
    std::string child((size_t)length + 1, '\0');
    GetWindowTextA(client.maximized, child.data(), length + 1);
    child.resize((size_t)length);
    std::string shown = client.frameTitle.empty() ? "[" + child + "]" : client.frameTitle + " - [" + child + "]";
    DefWindowProcA(client.frame, WM_SETTEXT, 0, (LPARAM)shown.c_str());
  } else if (client.titleSaved) {
    client.titleSaved = false;
    DefWindowProcA(client.frame, WM_SETTEXT, 0, (LPARAM)client.frameTitle.c_str());
  }
}

}  // namespace win32::user
