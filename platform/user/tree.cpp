// Walking the window tree: parents, owners, siblings, children, finding
// windows by name or by point, and SetParent.
#include "queue.h"
#include "window.h"
#include "windowhandle.h"

#include <algorithm>

namespace win32::user {
namespace {

std::vector<HWND> handlesOf(const std::vector<Window*>& windows) {
  std::vector<HWND> out;
  out.reserve(windows.size());
  for (Window* w : windows) out.push_back(w->handle);
  return out;
}

void collectDescendants(Window* w, std::vector<HWND>& out) {
  for (Window* c : w->children) {
    out.push_back(c->handle);
    collectDescendants(c, out);
  }
}

// The enumerators work on a snapshot and skip windows destroyed meanwhile.
BOOL enumerate(const std::vector<HWND>& handles, WNDENUMPROC proc, LPARAM lParam) {
  for (HWND h : handles) {
    {
      Lock lock(userMutex());
      if (!findLocked(h)) continue;
    }
    if (!proc(h, lParam)) return FALSE;
  }
  return TRUE;
}

bool hitsWindow(const Window* w, POINT screen) {
  RECT r = windowRectOnScreen(w);
  return PtInRect(&r, screen);
}

// The deepest visible enabled-or-not window at a screen point, without messages.
Window* windowAtLocked(Window* parent, POINT screen) {
  for (Window* c : parent->children) {
    if (!(c->style & WS_VISIBLE) || !hitsWindow(c, screen)) continue;
    if (c->style & WS_DISABLED) return c;
    RECT client = c->clientRect;
    POINT o = clientOriginOnScreen(c->parent);
    OffsetRect(&client, o.x, o.y);
    if (!(c->style & WS_MINIMIZE) && PtInRect(&client, screen))
      if (Window* inner = windowAtLocked(c, screen)) return inner;
    return c;
  }
  return nullptr;
}

}  // namespace

HWND windowFromPointNoMessages(POINT screen) {
  Lock lock(userMutex());
  Window* w = windowAtLocked(desktopLocked(), screen);
  return w ? w->handle : nullptr;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" HWND WINAPI GetParent(HWND hwnd) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) {
    setWindowError();
    return nullptr;
  }
  // A child answers its parent, a popup its owner, an overlapped window nothing.
  if (w->isChild()) return w->parent && !w->parent->isDesktop() ? w->parent->handle : nullptr;
  if (w->style & WS_POPUP) return w->owner;
  return nullptr;
}

extern "C" HWND WINAPI GetAncestor(HWND hwnd, UINT flags) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) {
    setWindowError();
    return nullptr;
  }
  if (w->isDesktop()) return nullptr;
  switch (flags) {
    case GA_PARENT:
      return w->parent ? w->parent->handle : nullptr;
    case GA_ROOT:
      while (w->parent && !w->parent->isDesktop()) w = w->parent;
      return w->handle;
    case GA_ROOTOWNER: {
      while (w->parent && !w->parent->isDesktop()) w = w->parent;
      while (Window* o = findLocked(w->owner)) w = o;
      return w->handle;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

extern "C" HWND WINAPI GetWindow(HWND hwnd, UINT cmd) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) {
    setWindowError();
    return nullptr;
  }
  auto siblings = w->parent ? &w->parent->children : nullptr;
  switch (cmd) {
    case GW_HWNDFIRST:
      return siblings && !siblings->empty() ? siblings->front()->handle : nullptr;
    case GW_HWNDLAST:
      return siblings && !siblings->empty() ? siblings->back()->handle : nullptr;
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
      if (!siblings) return nullptr;
      auto it = std::find(siblings->begin(), siblings->end(), w);
      if (it == siblings->end()) return nullptr;
      if (cmd == GW_HWNDNEXT) return ++it == siblings->end() ? nullptr : (*it)->handle;
      return it == siblings->begin() ? nullptr : (*--it)->handle;
    }
    case GW_OWNER:
      return w->isChild() ? nullptr : w->owner;
    case GW_CHILD:
      return w->children.empty() ? nullptr : w->children.front()->handle;
    case GW_ENABLEDPOPUP:
      for (Window* c : desktopLocked()->children)
        if (c->owner == hwnd && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED)) return c->handle;
      return nullptr;
    default:
      SetLastError(ERROR_INVALID_GW_COMMAND);
      return nullptr;
  }
}

extern "C" HWND WINAPI GetNextWindow(HWND hwnd, UINT cmd) { return GetWindow(hwnd, cmd); }

extern "C" HWND WINAPI GetTopWindow(HWND hwnd) {
  if (!hwnd) hwnd = GetDesktopWindow();
  return GetWindow(hwnd, GW_CHILD);
}

extern "C" HWND WINAPI GetLastActivePopup(HWND hwnd) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) {
    setWindowError();
    return nullptr;
  }
  Window* popup = findLocked(w->lastActivePopup);
  if (popup && (popup->style & WS_VISIBLE) && !(popup->style & WS_DISABLED)) return popup->handle;
  return hwnd;
}

extern "C" HWND WINAPI GetDlgItem(HWND dialog, int id) {
  Lock lock(userMutex());
  Window* w = findLocked(dialog);
  if (!w) {
    setWindowError();
    return nullptr;
  }
  for (Window* c : w->children)
    if ((int)c->id == id) return c->handle;
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

extern "C" int WINAPI GetDlgCtrlID(HWND hwnd) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) {
    setWindowError();
    return 0;
  }
  return w->isChild() ? (int)w->id : 0;
}

extern "C" BOOL WINAPI IsChild(HWND parent, HWND hwnd) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  for (; w && w->isChild() && w->parent; w = w->parent)
    if (w->parent->handle == parent) return TRUE;
  return FALSE;
}

extern "C" HWND WINAPI SetParent(HWND hwnd, HWND newParent) {
  auto w = findWindow(hwnd);
  if (!w) return nullptr;
  HWND old;
  bool wasVisible;
  {
    Lock lock(userMutex());
    Window* p = newParent ? findLocked(newParent) : desktopLocked();
    // A window on its way out takes no new parent, nor becomes one.
    if (!p || w->isDesktop() || w->ncDestroyed || p->ncDestroyed) {
      setWindowError();
      return nullptr;
    }
    for (Window* a = p; a; a = a->parent)
      if (a == w.get()) {
        SetLastError(ERROR_INVALID_PARAMETER);  // a window cannot go inside itself
        return nullptr;
      }
    old = w->parent ? w->parent->handle : nullptr;
    wasVisible = (w->style & WS_VISIBLE) != 0;
  }
  if (wasVisible) ShowWindow(hwnd, SW_HIDE);
  {
    Lock lock(userMutex());
    Window* p = newParent ? findLocked(newParent) : desktopLocked();
    if (!p || w->gone) return nullptr;
    unlinkWindowLocked(w.get());
    w->parent = p;
    linkWindowLocked(w.get(), HWND_TOP);
    if (w->isChild() && p->isDesktop()) w->style = (w->style & ~WS_CHILD) | WS_POPUP;
    resizeSurfaceLocked(*w);
  }
  // The window keeps its position in the new parent's client coordinates.
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (wasVisible) ShowWindow(hwnd, SW_SHOW);
  return old;
}

extern "C" BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> handles;
  {
    Lock lock(userMutex());
    Window* w = parent ? findLocked(parent) : desktopLocked();
    if (!w) {
      setWindowError();
      return FALSE;
    }
    collectDescendants(w, handles);
  }
  return enumerate(handles, proc, lParam);
}

extern "C" BOOL WINAPI EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> handles;
  {
    Lock lock(userMutex());
    handles = handlesOf(desktopLocked()->children);
  }
  return enumerate(handles, proc, lParam);
}

extern "C" BOOL WINAPI EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> handles;
  {
    Lock lock(userMutex());
    for (Window* c : desktopLocked()->children)
      if (c->threadId == threadId) handles.push_back(c->handle);
  }
  if (handles.empty()) return FALSE;
  return enumerate(handles, proc, lParam);
}

extern "C" DWORD WINAPI GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
  {
    Lock lock(userMutex());
    if (Window* w = findLocked(hwnd)) {
      if (processId) *processId = GetCurrentProcessId();
      return w->threadId;
    }
  }
  ForeignWindow foreign;
  if (findForeignWindow(hwnd, foreign)) {
    if (processId) *processId = foreign.processId;
    return foreign.threadId;
  }
  setWindowError();
  return 0;
}

extern "C" HWND WINAPI FindWindowExA(HWND parent, HWND after, LPCSTR className, LPCSTR windowName) {
  Lock lock(userMutex());
  Window* p = parent ? findLocked(parent) : desktopLocked();
  if (!p) {
    setWindowError();
    return nullptr;
  }
  bool passed = after == nullptr;
  for (Window* c : p->children) {
    if (!passed) {
      passed = c->handle == after;
      continue;
    }
    if (className) {
      bool match = IS_INTRESOURCE(className) ? c->cls->atom == (ATOM)(ULONG_PTR)className
                                             : equalNoCase(c->cls->name, className);
      if (!match) continue;
    }
    if (windowName && c->text != windowName) continue;
    return c->handle;
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return nullptr;
}

extern "C" HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
  return FindWindowExA(nullptr, nullptr, className, windowName);
}

extern "C" HWND WINAPI WindowFromPoint(POINT screen) {
  // WM_NCHITTEST decides: a window answering HTTRANSPARENT lets the point through
  // to the windows below it of the same thread.
  HWND hit = windowFromPointNoMessages(screen);
  while (hit) {
    LRESULT code = SendMessageA(hit, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (code != HTTRANSPARENT) return hit;
    HWND next = nullptr;
    {
      Lock lock(userMutex());
      Window* w = findLocked(hit);
      if (!w || !w->parent) return nullptr;
      auto& sib = w->parent->children;
      auto it = std::find(sib.begin(), sib.end(), w);
      for (++it; it != sib.end(); ++it)
        if (((*it)->style & WS_VISIBLE) && hitsWindow(*it, screen)) {
          next = (*it)->handle;
          break;
        }
      if (!next && w->parent && !w->parent->isDesktop()) next = w->parent->handle;
    }
    hit = next;
  }
  return nullptr;
}

extern "C" HWND WINAPI ChildWindowFromPointEx(HWND parent, POINT client, UINT flags) {
  Lock lock(userMutex());
  Window* p = findLocked(parent);
  if (!p) {
    setWindowError();
    return nullptr;
  }
  RECT area{0, 0, p->clientRect.right - p->clientRect.left, p->clientRect.bottom - p->clientRect.top};
  if (!PtInRect(&area, client)) return nullptr;
  for (Window* c : p->children) {
    if (!PtInRect(&c->windowRect, client)) continue;
    if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT)) continue;
    return c->handle;
  }
  return parent;
}

extern "C" HWND WINAPI ChildWindowFromPoint(HWND parent, POINT client) {
  return ChildWindowFromPointEx(parent, client, CWP_ALL);
}
