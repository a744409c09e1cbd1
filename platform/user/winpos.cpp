// Window positions: SetWindowPos and z-order, ShowWindow, placement,
// deferred positioning, rectangles and coordinate mapping.
#include "display.h"
#include "window.h"

#include "queue.h"

#include <algorithm>
#include <map>

namespace win32::user {
namespace {

bool isTopmost(const Window* w) { return (w->exStyle & WS_EX_TOPMOST) != 0; }

RECT sizeOf(const RECT& r) { return RECT{0, 0, r.right - r.left, r.bottom - r.top}; }

// The maximized rectangle and track sizes of a window (WM_GETMINMAXINFO).
MINMAXINFO minMaxInfo(HWND hwnd) {
  MINMAXINFO mm{};
  RECT parentClient{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  DWORD style = 0, exStyle = 0;
  {
    Lock lock(userMutex());
    if (Window* w = findLocked(hwnd)) {
      style = w->style;
      exStyle = w->exStyle;
      if (w->isChild() && w->parent) parentClient = sizeOf(w->parent->clientRect);
      else SystemParametersInfoA(SPI_GETWORKAREA, 0, &parentClient, 0);
    }
  }
  // Maximized, the caption stays on screen and the side frames hang outside it.
  RECT sides = frameInsets(style, exStyle, false);
  sides.top = sides.left;
  mm.ptMaxSize = {parentClient.right - parentClient.left + sides.left + sides.right,
                  parentClient.bottom - parentClient.top + sides.top + sides.bottom};
  mm.ptMaxPosition = {parentClient.left - sides.left, parentClient.top - sides.top};
  mm.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mm.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  sendInternal(hwnd, WM_GETMINMAXINFO, 0, (LPARAM)&mm);
  return mm;
}

// Where a window goes when minimized: the place it was given, else a
// top-level window leaves the screen (-32000,-32000, where GetWindowPlacement
// reports it from then on) and a child goes to its parent's bottom-left.
RECT minimizedRect(Window* w) {
  int cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
  constexpr LONG kOffScreen = -32000;
  if (!w->isChild() && w->minPosition.x == -1 && w->minPosition.y == -1) w->minPosition = {kOffScreen, kOffScreen};
  if (w->minPosition.x != -1 || w->minPosition.y != -1)
    return RECT{w->minPosition.x, w->minPosition.y, w->minPosition.x + cx, w->minPosition.y + cy};
  RECT area = sizeOf(w->parent ? w->parent->clientRect : RECT{});
  return RECT{0, area.bottom - cy, cx, area.bottom};
}

}  // namespace

void unlinkWindowLocked(Window* w) {
  if (!w->parent || !w->linked) return;
  w->linked = false;
  if (w->parent->childIndex) w->parent->childIndex->remove(w);
  // Searched from the bottom: the windows that go soonest are the newest
  // children, which creation puts last.
  auto& list = w->parent->children;
  auto it = std::find(list.rbegin(), list.rend(), w);
  if (it != list.rend()) list.erase(std::next(it).base());
}

void setWindowRectLocked(Window* w, const RECT& rect) {
  ChildIndex* index = w->linked && w->parent ? w->parent->childIndex.get() : nullptr;
  if (index) index->remove(w);
  w->windowRect = rect;
  if (index) index->add(w);
}

// Keeps the parent's index of children, made when it comes to hold many.
static void indexLinkedLocked(Window* w) {
  Window* parent = w->parent;
  if (parent->childIndex) {
    parent->childIndex->add(w);
  } else if (parent->children.size() >= ChildIndex::kThreshold && !parent->isDesktop()) {
    parent->childIndex = std::make_unique<ChildIndex>();
    for (Window* c : parent->children) parent->childIndex->add(c);
  }
}

void linkWindowLocked(Window* w, HWND after) {
  Window* parent = w->parent;
  if (!parent) return;
  unlinkWindowLocked(w);
  w->linked = true;
  // Whichever place below takes it, the window ends listed in the index.
  struct Indexed {
    Window* w;
    ~Indexed() { indexLinkedLocked(w); }
  } indexed{w};
  auto& list = parent->children;
  auto firstNonTopmost = [&] {
    return std::find_if(list.begin(), list.end(), [](Window* c) { return !isTopmost(c); });
  };
  if (after == HWND_TOPMOST) {
    w->exStyle |= WS_EX_TOPMOST;
    list.insert(list.begin(), w);
  } else if (after == HWND_NOTOPMOST) {
    w->exStyle &= ~WS_EX_TOPMOST;
    list.insert(firstNonTopmost(), w);
  } else if (after == HWND_TOP) {
    list.insert(isTopmost(w) ? list.begin() : firstNonTopmost(), w);
  } else if (after == HWND_BOTTOM) {
    // A topmost window put at the bottom loses its topmost state, as on Windows.
    w->exStyle &= ~WS_EX_TOPMOST;
    list.push_back(w);
  } else {
    auto it = std::find_if(list.begin(), list.end(), [&](Window* c) { return c->handle == after; });
    if (it == list.end()) {
      list.insert(isTopmost(w) ? list.begin() : firstNonTopmost(), w);
      return;
    }
    // Behind a topmost window a non-topmost window stays below all topmost ones.
    if (!isTopmost(w) && isTopmost(*it)) it = std::prev(firstNonTopmost());
    list.insert(std::next(it), w);
  }
}

void recalcClientRect(HWND hwnd) {
  RECT r;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w) return;
    r = w->windowRect;
  }
  sendInternal(hwnd, WM_NCCALCSIZE, FALSE, (LPARAM)&r);
  Lock lock(userMutex());
  if (Window* w = findLocked(hwnd)) {
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    w->clientRect = r;
  }
}

}  // namespace win32::user

using namespace win32::user;

extern "C" BOOL WINAPI SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  WINDOWPOS pos{hwnd, after, x, y, cx, cy, flags & ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE)};
  RECT oldWindow, oldClient;
  bool wasVisible;
  {
    Lock lock(userMutex());
    if (w->isDesktop()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (w->ncDestroyed) {
      setWindowError();  // on its way out: it takes no new place
      return FALSE;
    }
    if (!(flags & SWP_NOZORDER) && after != HWND_TOP && after != HWND_BOTTOM && after != HWND_TOPMOST &&
        after != HWND_NOTOPMOST) {
      Window* a = findLocked(after);
      if (!a) {
        setWindowError();
        return FALSE;
      }
      if (a->parent != w->parent) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
    }
    oldWindow = w->windowRect;
    oldClient = w->clientRect;
    wasVisible = (w->style & WS_VISIBLE) != 0;
    // Drop what changes nothing, as Windows does before it sends anything.
    if (wasVisible) pos.flags &= ~SWP_SHOWWINDOW;
    else pos.flags &= ~SWP_HIDEWINDOW;
    if (pos.cx < 0) pos.cx = 0;
    if (pos.cy < 0) pos.cy = 0;
    if (oldWindow.right - oldWindow.left == pos.cx && oldWindow.bottom - oldWindow.top == pos.cy)
      pos.flags |= SWP_NOSIZE;
    if (oldWindow.left == pos.x && oldWindow.top == pos.y) pos.flags |= SWP_NOMOVE;
    if (after == hwnd) pos.flags |= SWP_NOZORDER;
    if (!(pos.flags & SWP_NOZORDER) && after == HWND_TOP && w->parent && !w->parent->children.empty() &&
        w->parent->children.front() == w.get())
      pos.flags |= SWP_NOZORDER;
    if (w->isChild()) pos.flags |= SWP_NOACTIVATE;
  }
  if (!(pos.flags & SWP_NOSENDCHANGING)) sendInternal(hwnd, WM_WINDOWPOSCHANGING, 0, (LPARAM)&pos);
  if (w->gone) return FALSE;

  RECT newWindow = oldWindow;
  if (!(pos.flags & SWP_NOMOVE)) OffsetRect(&newWindow, pos.x - oldWindow.left, pos.y - oldWindow.top);
  if (!(pos.flags & SWP_NOSIZE)) {
    newWindow.right = newWindow.left + std::max(pos.cx, 0);
    newWindow.bottom = newWindow.top + std::max(pos.cy, 0);
  }
  RECT newClient = oldClient;
  OffsetRect(&newClient, newWindow.left - oldWindow.left, newWindow.top - oldWindow.top);
  if (!(pos.flags & SWP_NOSIZE) || (pos.flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS params{{newWindow, oldWindow, oldClient}, &pos};
    sendInternal(hwnd, WM_NCCALCSIZE, TRUE, (LPARAM)&params);
    newClient = params.rgrc[0];
    if (newClient.right < newClient.left) newClient.right = newClient.left;
    if (newClient.bottom < newClient.top) newClient.bottom = newClient.top;
  }
  if (w->gone) return FALSE;

  // The repaint needs the window's place before the change; most calls that
  // change nothing, or ask for no redraw, need no record of it.
  const bool changed =
      (pos.flags & (SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER)) != (SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER) ||
      (pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED | SWP_STATECHANGED));
  const bool repaints = changed && !(pos.flags & SWP_NOREDRAW);
  bool sizeChanged;
  PlaceBefore before;
  {
    Lock lock(userMutex());
    // Pixels are kept only by a window that stays shown with its size and frame.
    const bool keepsPixels = !(pos.flags & (SWP_HIDEWINDOW | SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_STATECHANGED |
                                            SWP_NOCOPYBITS)) &&
                             newWindow.right - newWindow.left == oldWindow.right - oldWindow.left &&
                             newWindow.bottom - newWindow.top == oldWindow.bottom - oldWindow.top;
    if (repaints) recordPlaceLocked(*w, before, !(pos.flags & SWP_NOZORDER), keepsPixels);
    setWindowRectLocked(w.get(), newWindow);
    w->clientRect = newClient;
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normalRect = newWindow;
    if (!(pos.flags & SWP_NOZORDER)) linkWindowLocked(w.get(), pos.hwndInsertAfter);
    if (pos.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (pos.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    sizeChanged = (newWindow.right - newWindow.left != oldWindow.right - oldWindow.left) ||
                  (newWindow.bottom - newWindow.top != oldWindow.bottom - oldWindow.top);
    if (sizeChanged) resizeSurfaceLocked(*w);
    if (newClient.right - newClient.left == oldClient.right - oldClient.left &&
        newClient.bottom - newClient.top == oldClient.bottom - oldClient.top)
      pos.flags |= SWP_NOCLIENTSIZE;
    if (newClient.left == oldClient.left && newClient.top == oldClient.top) pos.flags |= SWP_NOCLIENTMOVE;
  }
  if (repaints) repaintAfterMove(hwnd, before, sizeChanged, pos.flags);
  // Shown on the server before it is activated there.
  if (display::onServer() && !w->isChild()) display::placeChanged(hwnd);

  // A hidden active window hears WM_WINDOWPOSCHANGED before it is deactivated.
  bool hiddenWhileActive = false;
  if (pos.flags & SWP_HIDEWINDOW) {
    Lock lock(userMutex());
    hiddenWhileActive = w->queue && w->queue->inputState->active == hwnd;
  } else if (!(pos.flags & SWP_NOACTIVATE) && IsWindowVisible(hwnd)) {
    activateWindow(hwnd, false);
  } else if (w->isChild() && !(flags & SWP_NOACTIVATE) && (w->style & WS_VISIBLE)) {
    sendInternal(hwnd, WM_CHILDACTIVATE, 0, 0);
  }
  if (w->gone) return TRUE;
  if (changed) {
    pos.x = newWindow.left;
    pos.y = newWindow.top;
    pos.cx = newWindow.right - newWindow.left;
    pos.cy = newWindow.bottom - newWindow.top;
    sendInternal(hwnd, WM_WINDOWPOSCHANGED, 0, (LPARAM)&pos);
  }
  if (hiddenWhileActive && IsWindow(hwnd)) activateOtherWindow(hwnd);
  return TRUE;
}

extern "C" BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int cx, int cy, BOOL repaint) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (!repaint) flags |= SWP_NOREDRAW;
  return SetWindowPos(hwnd, nullptr, x, y, cx, cy, flags);
}

extern "C" BOOL WINAPI BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

extern "C" BOOL WINAPI ShowWindow(HWND hwnd, int cmd) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  if (cmd < 0 || cmd > SW_MAX) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD style;
  bool child;
  HWND active;
  {
    Lock lock(userMutex());
    style = w->style;
    child = w->isChild();
    active = w->queue ? w->queue->inputState->active : nullptr;
  }
  bool wasVisible = (style & WS_VISIBLE) != 0;
  bool show = cmd != SW_HIDE;
  UINT swp = 0;
  RECT target{};
  DWORD newState = style & (WS_MINIMIZE | WS_MAXIMIZE);
  auto toState = [&](DWORD state) {
    if ((style & (WS_MINIMIZE | WS_MAXIMIZE)) == state) return false;
    Lock lock(userMutex());
    if (state == WS_MINIMIZE) target = minimizedRect(w.get());
    else if (state == 0) target = w->restoreToMaximized && (style & WS_MINIMIZE) ? w->windowRect : w->normalRect;
    newState = state;
    return true;
  };
  bool stateChanges = false;
  switch (cmd) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      swp |= SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE;
      if (hwnd != active) swp |= SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
      swp |= SWP_NOACTIVATE | SWP_NOZORDER;
      [[fallthrough]];
    case SW_SHOWMINIMIZED:
      swp |= SWP_SHOWWINDOW | SWP_FRAMECHANGED;
      stateChanges = toState(WS_MINIMIZE);
      if (!stateChanges) swp |= SWP_NOSIZE | SWP_NOMOVE;
      break;
    case SW_SHOWMAXIMIZED:
      swp |= SWP_SHOWWINDOW | SWP_FRAMECHANGED;
      if ((style & WS_MAXIMIZE) == 0) {
        MINMAXINFO mm = minMaxInfo(hwnd);
        target = RECT{mm.ptMaxPosition.x, mm.ptMaxPosition.y, mm.ptMaxPosition.x + mm.ptMaxSize.x,
                      mm.ptMaxPosition.y + mm.ptMaxSize.y};
        newState = WS_MAXIMIZE;
        stateChanges = true;
      } else {
        swp |= SWP_NOSIZE | SWP_NOMOVE;
      }
      break;
    case SW_SHOWNA:
      swp |= SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
      break;
    case SW_SHOW:
      swp |= SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
      if (wasVisible) swp |= SWP_NOZORDER;
      break;
    case SW_SHOWNOACTIVATE:
      swp |= SWP_NOACTIVATE | SWP_NOZORDER;
      [[fallthrough]];
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
    case SW_RESTORE:
      swp |= SWP_SHOWWINDOW;
      if (style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        stateChanges = toState(0);
        if ((style & WS_MINIMIZE) && w->restoreToMaximized && cmd == SW_RESTORE) {
          MINMAXINFO mm = minMaxInfo(hwnd);
          target = RECT{mm.ptMaxPosition.x, mm.ptMaxPosition.y, mm.ptMaxPosition.x + mm.ptMaxSize.x,
                        mm.ptMaxPosition.y + mm.ptMaxSize.y};
          newState = WS_MAXIMIZE;
        }
        swp |= SWP_FRAMECHANGED;
      } else {
        swp |= SWP_NOSIZE | SWP_NOMOVE;
      }
      break;
  }
  if (child) swp |= SWP_NOACTIVATE | SWP_NOZORDER;
  // Showing a shown window without activating it or changing its state
  // changes nothing: no message is sent (nor waited for, when the window
  // belongs to a thread that is busy elsewhere).
  const UINT kNothing = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
  if (wasVisible && !stateChanges && cmd != SW_SHOWNA && (cmd == SW_SHOW || (swp & SWP_NOACTIVATE)) &&
      (swp & kNothing) == kNothing)
    return TRUE;
  // Minimizing and maximizing change the state, not the visibility: no WM_SHOWWINDOW then.
  if ((show != wasVisible || cmd == SW_SHOWNA) && cmd != SW_SHOWMAXIMIZED && !stateChanges)
    sendInternal(hwnd, WM_SHOWWINDOW, show, 0);
  if (!IsWindow(hwnd) || w->gone) return wasVisible;

  if (stateChanges) {
    Lock lock(userMutex());
    if (!(style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normalRect = w->windowRect;
    if (newState == WS_MINIMIZE) w->restoreToMaximized = (style & WS_MAXIMIZE) != 0;
    w->style = (w->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | newState;
    swp |= SWP_STATECHANGED;
  }
  SetWindowPos(hwnd, HWND_TOP, target.left, target.top, target.right - target.left, target.bottom - target.top, swp);

  if (show && w->needsSizeMessages && !w->gone) sendSizeMessages(w);
  if (cmd == SW_HIDE) {
    // Focus inside a hidden window goes back to its parent.
    HWND focus = GetFocus();
    if (focus && (focus == hwnd || IsChild(hwnd, focus))) {
      HWND parent = child ? GetParent(hwnd) : nullptr;
      SetFocus(parent);
    }
  }
  return wasVisible;
}

extern "C" BOOL WINAPI IsWindowVisible(HWND hwnd) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  return w && reallyVisible(w);
}

extern "C" BOOL WINAPI IsZoomed(HWND hwnd) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsIconic(HWND hwnd) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI CloseWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  ShowWindow(hwnd, SW_MINIMIZE);
  return TRUE;
}

extern "C" BOOL WINAPI OpenIcon(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  return TRUE;
}

extern "C" BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Lock lock(userMutex());
  *rect = windowRectOnScreen(w.get());
  return TRUE;
}

extern "C" BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Lock lock(userMutex());
  *rect = sizeOf(w->clientRect);
  return TRUE;
}

extern "C" int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  Lock lock(userMutex());
  Window* a = from ? findLocked(from) : desktopLocked();
  Window* b = to ? findLocked(to) : desktopLocked();
  if (!a || !b) {
    setWindowError();
    return 0;
  }
  POINT pa = clientOriginOnScreen(a), pb = clientOriginOnScreen(b);
  int dx = pa.x - pb.x, dy = pa.y - pb.y;
  if (points)
    for (UINT i = 0; i < count; ++i) {
      points[i].x += dx;
      points[i].y += dy;
    }
  SetLastError(ERROR_SUCCESS);
  return MAKELONG((WORD)(SHORT)dx, (WORD)(SHORT)dy);
}

extern "C" BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
  if (!point) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) {
    setWindowError();
    return FALSE;
  }
  POINT o = clientOriginOnScreen(w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

extern "C" BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point) {
  if (!point) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) {
    setWindowError();
    return FALSE;
  }
  POINT o = clientOriginOnScreen(w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

extern "C" BOOL WINAPI GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* wp) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  if (!wp) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Lock lock(userMutex());
  wp->length = sizeof(WINDOWPLACEMENT);
  wp->flags = w->restoreToMaximized && (w->style & WS_MINIMIZE) ? WPF_RESTORETOMAXIMIZED : 0;
  wp->showCmd = (w->style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  wp->ptMinPosition = w->minPosition;
  wp->ptMaxPosition = w->maxPosition;
  wp->rcNormalPosition = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->normalRect : w->windowRect;
  return TRUE;
}

extern "C" BOOL WINAPI SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* wp) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  if (!wp) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD state;
  {
    Lock lock(userMutex());
    if (wp->flags & WPF_SETMINPOSITION) w->minPosition = wp->ptMinPosition;
    w->maxPosition = wp->ptMaxPosition;
    w->normalRect = wp->rcNormalPosition;
    state = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
    w->restoreToMaximized = (wp->flags & WPF_RESTORETOMAXIMIZED) != 0;
  }
  const RECT& r = wp->rcNormalPosition;
  if (!state)
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd, (int)wp->showCmd);
  return TRUE;
}

// --- deferred positioning ---------------------------------------------------
namespace {

struct DeferTable {
  std::map<uintptr_t, std::vector<WINDOWPOS>> batches;
  uintptr_t next = 0x1000;
};
DeferTable& defers() {
  static DeferTable t;
  return t;
}

}  // namespace

extern "C" HDWP WINAPI BeginDeferWindowPos(int count) {
  if (count < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Lock lock(userMutex());
  auto& t = defers();
  uintptr_t h = t.next;
  t.next += 4;
  t.batches[h].reserve(count);
  return (HDWP)h;
}

extern "C" HDWP WINAPI DeferWindowPos(HDWP batch, HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  Lock lock(userMutex());
  auto& t = defers();
  auto it = t.batches.find((uintptr_t)batch);
  if (it == t.batches.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!findLocked(hwnd) || findLocked(hwnd)->isDesktop()) {
    // A bad window ends the batch: the caller must not end it.
    t.batches.erase(it);
    setWindowError();
    return nullptr;
  }
  // A second entry for the same window merges into the first, as Windows does.
  for (auto& p : it->second)
    if (p.hwnd == hwnd) {
      if (!(flags & SWP_NOMOVE)) { p.x = x; p.y = y; p.flags &= ~SWP_NOMOVE; }
      if (!(flags & SWP_NOSIZE)) { p.cx = cx; p.cy = cy; p.flags &= ~SWP_NOSIZE; }
      if (!(flags & SWP_NOZORDER)) { p.hwndInsertAfter = after; p.flags &= ~SWP_NOZORDER; }
      p.flags |= flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED | SWP_NOREDRAW | SWP_NOCOPYBITS);
      return batch;
    }
  it->second.push_back(WINDOWPOS{hwnd, after, x, y, cx, cy, flags});
  return batch;
}

extern "C" BOOL WINAPI EndDeferWindowPos(HDWP batch) {
  std::vector<WINDOWPOS> entries;
  {
    Lock lock(userMutex());
    auto& t = defers();
    auto it = t.batches.find((uintptr_t)batch);
    if (it == t.batches.end()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    entries = std::move(it->second);
    t.batches.erase(it);
  }
  BOOL ok = TRUE;
  for (auto& p : entries)
    if (!SetWindowPos(p.hwnd, p.hwndInsertAfter, p.x, p.y, p.cx, p.cy, p.flags)) ok = FALSE;
  return ok;
}
