// The window table, creation and destruction of windows.
#include "display.h"
#include "window.h"

#include "crossprocess.h"
#include "hook.h"
#include "queue.h"
#include "windowhandle.h"

#include <internal/wait.h>

#include <unordered_map>

namespace win32::user {
namespace {

struct WindowTable {
  std::unordered_map<uint32_t, WindowPtr> windows;
  WindowPtr desktop;
};

WindowTable& table() {
  static WindowTable* t = [] {
    auto* table = new WindowTable;  // lives to the end: windows of other threads may outlive statics
    auto d = std::make_shared<Window>();
    d->handle = (HWND)(uintptr_t)kDesktopHandle;
    d->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    d->windowRect = d->clientRect = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    d->cls = std::make_shared<WindowClass>();
    d->cls->name = "#32769";
    d->cls->proc = DefWindowProcA;
    d->proc = DefWindowProcA;
    table->desktop = d;
    table->windows.emplace(kDesktopHandle, d);
    return table;
  }();
  return *t;
}

void notifyParents(Window* child, WPARAM event, LPARAM lParam) {
  // WM_PARENTNOTIFY climbs while the window is a child without WS_EX_NOPARENTNOTIFY.
  std::vector<HWND> targets;
  {
    Lock lock(userMutex());
    for (Window* w = child; w->isChild() && !(w->exStyle & WS_EX_NOPARENTNOTIFY) && w->parent &&
                            !w->parent->isDesktop();
         w = w->parent)
      targets.push_back(w->parent->handle);
  }
  for (HWND t : targets) sendInternal(t, WM_PARENTNOTIFY, event, lParam);
}

// The window leaves its owner's list; windows it owned keep living, without an owner.
void dropOwnershipLocked(Window& w) {
  setOwnerLocked(w, nullptr);
  for (HWND h : w.owned)
    if (Window* o = findLocked(h)) o->owner = nullptr;
  w.owned.clear();
}

// Removes a window whose WM_NCDESTROY has been sent.
void freeWindow(const WindowPtr& w) {
  Lock lock(userMutex());
  unlinkWindowLocked(w.get());
  table().windows.erase((uint32_t)(uintptr_t)w->handle);
  if (w->queue) purgeWindowMessagesLocked(*w->queue, w->handle);
  if (!w->isChild()) display::destroyed(w->handle);
  discardPaintStateLocked(*w);
  w->props.clear();
  w->cls->windowCount--;
  w->gone = true;
  procedureGeneration()++;
  dropOwnershipLocked(*w);
  releaseWindowHandle(w->handle);
}

// WM_NCDESTROY goes to the children first, then to the window.
void finalDestroy(const WindowPtr& w) {
  std::vector<WindowPtr> children;
  {
    Lock lock(userMutex());
    for (Window* c : w->children) children.push_back(sharedLocked(c));
  }
  for (auto& c : children)
    if (c && !c->gone) finalDestroy(c);
  if (w->gone) return;
  {
    Lock lock(userMutex());
    w->ncDestroyed = true;
  }
  sendInternal(w->handle, WM_NCDESTROY, 0, 0);
  freeWindow(w);
}

// WM_DESTROY goes to the window first, then to its children.
void sendDestroyMessages(const WindowPtr& w) {
  releaseInputOf(w->handle);
  sendInternal(w->handle, WM_DESTROY, 0, 0);
  std::vector<WindowPtr> children;
  {
    Lock lock(userMutex());
    for (Window* c : w->children) {
      c->destroying = true;
      children.push_back(sharedLocked(c));
    }
  }
  for (auto& c : children)
    if (c && !c->gone) sendDestroyMessages(c);
}

}  // namespace

void sendSizeMessages(const WindowPtr& w) {
  RECT client;
  DWORD style;
  {
    Lock lock(userMutex());
    w->needsSizeMessages = false;
    client = w->clientRect;
    style = w->style;
  }
  const WPARAM type = (style & WS_MINIMIZE) ? SIZE_MINIMIZED : (style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
  sendInternal(w->handle, WM_SIZE, type, MAKELPARAM(client.right - client.left, client.bottom - client.top));
  if (!w->gone) sendInternal(w->handle, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
}

namespace {

POINT defaultPosition() {
  // Cascade new overlapped windows as Windows does, from the work area's corner.
  static int step = 0;
  int s = (step++ % 8) * 26;
  return POINT{26 + s, 26 + s};
}

}  // namespace

std::mutex& userMutex() {
  static std::mutex* m = new std::mutex;  // never destroyed: threads may still use it at exit
  return *m;
}

void setWindowError() { SetLastError(ERROR_INVALID_WINDOW_HANDLE); }

WindowPtr sharedLocked(Window* w) {
  auto it = table().windows.find((uint32_t)(uintptr_t)w->handle);
  return it == table().windows.end() ? nullptr : it->second;
}

std::atomic<uint64_t>& procedureGeneration() {
  static std::atomic<uint64_t> generation{1};
  return generation;
}

DWORD callingThreadId() {
  thread_local DWORD id = win32::currentThreadId();
  return id;
}

Window* findLocked(HWND hwnd) {
  auto& t = table();
  auto it = t.windows.find((uint32_t)(uintptr_t)hwnd);
  if ((uintptr_t)hwnd > 0xFFFFFFFFu || it == t.windows.end() || it->second->gone) return nullptr;
  return it->second.get();
}

void dropThreadWindows(DWORD threadId) {
  // The thread is gone: its windows cannot run messages any more.
  Lock lock(userMutex());
  std::vector<WindowPtr> doomed;
  for (auto& [h, w] : table().windows)
    if (w->threadId == threadId && !w->isDesktop()) doomed.push_back(w);
  for (auto& w : doomed) {
    for (Window* c : std::vector<Window*>(w->children)) c->parent = nullptr;
    unlinkWindowLocked(w.get());
    dropOwnershipLocked(*w);
    table().windows.erase((uint32_t)(uintptr_t)w->handle);
    discardPaintStateLocked(*w);
    w->cls->windowCount--;
    w->gone = true;
    releaseWindowHandle(w->handle);
  }
  procedureGeneration()++;
}

Window* desktopLocked() { return table().desktop.get(); }

namespace {

// The path from the desktop down to `w`.
std::vector<Window*> pathFromDesktop(Window* w) {
  std::vector<Window*> path;
  for (; w; w = w->parent) path.push_back(w);
  std::reverse(path.begin(), path.end());
  return path;
}

}  // namespace

bool comesBeforeInTree(Window* a, Window* b) {
  std::vector<Window*> pa = pathFromDesktop(a), pb = pathFromDesktop(b);
  size_t i = 0;
  while (i < pa.size() && i < pb.size() && pa[i] == pb[i]) ++i;
  if (i == pa.size() || i == pb.size()) return pa.size() < pb.size();  // an ancestor first
  if (i == 0) return false;  // not in one tree (a window of an ended thread)
  for (Window* c : pa[i - 1]->children) {
    if (c == pa[i]) return true;
    if (c == pb[i]) return false;
  }
  return false;
}

void setOwnerLocked(Window& w, HWND owner) {
  if (w.owner == owner) return;
  if (Window* old = findLocked(w.owner)) std::erase(old->owned, w.handle);
  w.owner = nullptr;
  if (Window* now = findLocked(owner)) {
    now->owned.push_back(w.handle);
    w.owner = owner;
  }
}

WindowPtr findWindow(HWND hwnd) {
  Lock lock(userMutex());
  auto& t = table();
  auto it = t.windows.find((uint32_t)(uintptr_t)hwnd);
  if ((uintptr_t)hwnd > 0xFFFFFFFFu || it == t.windows.end() || it->second->gone) {
    setWindowError();
    return nullptr;
  }
  return it->second;
}

std::vector<Window*> allWindowsLocked() {
  std::vector<Window*> out;
  auto walk = [&](auto& self, Window* w) -> void {
    for (Window* c : w->children) {
      out.push_back(c);
      self(self, c);
    }
  };
  walk(walk, desktopLocked());
  return out;
}

POINT clientOriginOnScreen(const Window* w) {
  POINT p{0, 0};
  for (; w; w = w->parent) {
    p.x += w->clientRect.left;
    p.y += w->clientRect.top;
  }
  return p;
}

RECT windowRectOnScreen(const Window* w) {
  RECT r = w->windowRect;
  if (w->parent) {
    POINT o = clientOriginOnScreen(w->parent);
    OffsetRect(&r, o.x, o.y);
  }
  return r;
}

Window* topLevelOf(Window* w) {
  while (w && w->parent && !w->parent->isDesktop() && w->isChild()) w = w->parent;
  return w;
}

bool reallyVisible(const Window* w) {
  for (; w && !w->isDesktop(); w = w->parent)
    if (!(w->style & WS_VISIBLE)) return false;
  return w != nullptr;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" HWND WINAPI GetDesktopWindow(void) {
  Lock lock(userMutex());
  return desktopLocked()->handle;
}

extern "C" BOOL WINAPI IsWindow(HWND hwnd) {
  {
    Lock lock(userMutex());
    if (findLocked(hwnd)) return TRUE;
  }
  ForeignWindow foreign;
  return findForeignWindow(hwnd, foreign) ? TRUE : FALSE;
}

extern "C" HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                                       int cx, int cy, HWND parentHandle, HMENU menu, HINSTANCE instance,
                                       LPVOID param) {
  auto queue = currentQueue();
  startMessageListener();
  auto w = std::make_shared<Window>();
  {
    Lock lock(userMutex());
    w->cls = findClassLocked(className, instance);
    if (!w->cls) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    Window* parent = desktopLocked();
    HWND owner = nullptr;
    if (parentHandle && parentHandle != HWND_MESSAGE) {
      Window* p = findLocked(parentHandle);
      if (!p || p->destroying) {
        setWindowError();
        return nullptr;
      }
      w->creationParent = parentHandle;
      if (style & WS_CHILD) parent = p;
      else owner = topLevelOf(p)->isDesktop() ? nullptr : topLevelOf(p)->handle;
    } else if ((style & (WS_CHILD | WS_POPUP)) == WS_CHILD) {
      SetLastError(ERROR_TLW_WITH_WSCHILD);
      return nullptr;
    }
    if (!(style & (WS_CHILD | WS_POPUP))) {
      // Overlapped windows always have a caption and clip their siblings.
      style |= WS_CAPTION | WS_CLIPSIBLINGS;
      exStyle |= WS_EX_WINDOWEDGE;
      if (x == CW_USEDEFAULT) {
        POINT p = defaultPosition();
        x = p.x;
        y = p.y;
      }
      if (cx == CW_USEDEFAULT) {
        cx = GetSystemMetrics(SM_CXSCREEN) * 3 / 4 - x;
        cy = GetSystemMetrics(SM_CYSCREEN) * 3 / 4 - y;
      }
    } else {
      if (x == CW_USEDEFAULT) x = y = 0;
      if (cx == CW_USEDEFAULT) cx = cy = 0;
    }
    if (exStyle & WS_EX_DLGMODALFRAME) exStyle |= WS_EX_WINDOWEDGE;
    if (style & WS_CHILD) exStyle &= ~WS_EX_TOPMOST;

    w->handle = allocateWindowHandle(queue->threadId);
    if (!w->handle) return nullptr;
    w->proc = w->cls->proc;
    w->style = style & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
    w->exStyle = exStyle;
    w->parent = parent;
    w->instance = instance;
    w->queue = queue;
    w->threadId = queue->threadId;
    if (style & WS_CHILD) w->id = (LONG_PTR)menu;
    else w->menu = menu;
    w->extra.assign(w->cls->wndExtraBytes, 0);
    w->windowRect = w->clientRect = RECT{x, y, x + std::max(cx, 0), y + std::max(cy, 0)};
    w->normalRect = w->windowRect;
    w->lastActivePopup = w->handle;
    w->cls->windowCount++;
    table().windows.emplace((uint32_t)(uintptr_t)w->handle, w);
    setOwnerLocked(*w, owner);
    // New children go to the bottom (so that creation order is tab order);
    // new top-level windows to the top.
    linkWindowLocked(w.get(), (style & WS_CHILD) ? HWND_BOTTOM : HWND_TOP);
  }
  HWND hwnd = w->handle;
  CREATESTRUCTA cs{param, instance, menu, parentHandle, cy, cx, y, x, (LONG)style, windowName, className, exStyle};
  if (hasHooks(WH_CBT)) {
    // The first thing to hear of a new window (MFC attaches its objects here); non-zero refuses it.
    CBT_CREATEWNDA cbt{&cs, (style & WS_CHILD) ? HWND_BOTTOM : HWND_TOP};
    if (callHooks(WH_CBT, HCBT_CREATEWND, (WPARAM)hwnd, (LPARAM)&cbt)) {
      {
        Lock lock(userMutex());
        unlinkWindowLocked(w.get());
        dropOwnershipLocked(*w);
        table().windows.erase((uint32_t)(uintptr_t)hwnd);
        w->cls->windowCount--;
        w->gone = true;
        releaseWindowHandle(hwnd);
      }
      return nullptr;
    }
    if (w->gone) return nullptr;
  }

  if ((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD))) {
    MINMAXINFO mm{};
    mm.ptMaxSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    mm.ptMaxPosition = {-GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME)};
    mm.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mm.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    sendInternal(hwnd, WM_GETMINMAXINFO, 0, (LPARAM)&mm);
    cx = std::clamp(cx, (int)mm.ptMinTrackSize.x, std::max((int)mm.ptMinTrackSize.x, (int)mm.ptMaxTrackSize.x));
    cy = std::clamp(cy, (int)mm.ptMinTrackSize.y, std::max((int)mm.ptMinTrackSize.y, (int)mm.ptMaxTrackSize.y));
    cs.cx = cx;
    cs.cy = cy;
    Lock lock(userMutex());
    setWindowRectLocked(w.get(), RECT{x, y, x + cx, y + cy});
    w->clientRect = w->windowRect;
    w->normalRect = w->windowRect;
  }

  if (!sendInternal(hwnd, WM_NCCREATE, 0, (LPARAM)&cs)) {
    if (!w->gone) finalDestroy(w);
    return nullptr;
  }
  if (w->gone) return nullptr;
  recalcClientRect(hwnd);
  if (sendInternal(hwnd, WM_CREATE, 0, (LPARAM)&cs) == -1) {
    if (!w->gone) finalDestroy(w);
    return nullptr;
  }
  if (w->gone) return nullptr;

  // An overlapped window hears its size and place at its first show;
  // children and popups now.
  if (style & (WS_CHILD | WS_POPUP)) {
    sendSizeMessages(w);
  } else {
    Lock lock(userMutex());
    w->needsSizeMessages = true;
  }

  if (style & WS_CHILD) notifyParents(w.get(), MAKEWPARAM(WM_CREATE, (WORD)(LONG_PTR)menu), (LPARAM)hwnd);
  if (!IsWindow(hwnd)) return nullptr;

  if (style & WS_VISIBLE) {
    int cmd = (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : SW_SHOW;
    ShowWindow(hwnd, cmd);
  } else if (style & (WS_MAXIMIZE | WS_MINIMIZE)) {
    Lock lock(userMutex());
    w->style |= style & (WS_MAXIMIZE | WS_MINIMIZE);
  }
  return IsWindow(hwnd) ? hwnd : nullptr;
}

extern "C" BOOL WINAPI DestroyWindow(HWND hwnd) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  {
    Lock lock(userMutex());
    if (w->isDesktop() || w->threadId != currentQueue()->threadId) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (w->destroying) return TRUE;  // already on its way (DestroyWindow from WM_DESTROY)
  }
  if (hasHooks(WH_CBT) && callHooks(WH_CBT, HCBT_DESTROYWND, (WPARAM)hwnd, 0)) return FALSE;
  {
    Lock lock(userMutex());
    if (w->destroying) return TRUE;
    w->destroying = true;
  }
  if (w->isChild()) notifyParents(w.get(), MAKEWPARAM(WM_DESTROY, (WORD)w->id), (LPARAM)hwnd);
  if (w->style & WS_VISIBLE) {
    // Hiding an active top-level window activates another; a child activates
    // nothing and, alone of the two, hears WM_SHOWWINDOW first.
    UINT flags = SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    if (w->isChild()) {
      flags |= SWP_NOACTIVATE;
      sendInternal(hwnd, WM_SHOWWINDOW, FALSE, 0);
      if (w->gone) return TRUE;
    }
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
  }
  if (w->gone) return TRUE;

  // Owned windows go first, the topmost in z-order first.
  std::vector<HWND> owned;
  {
    Lock lock(userMutex());
    std::vector<Window*> doomed;
    for (HWND h : w->owned)
      if (Window* o = findLocked(h); o && o->threadId == w->threadId && !o->destroying) doomed.push_back(o);
    std::stable_sort(doomed.begin(), doomed.end(), comesBeforeInTree);
    for (Window* o : doomed) owned.push_back(o->handle);
  }
  for (HWND o : owned) DestroyWindow(o);

  sendDestroyMessages(w);
  finalDestroy(w);
  return TRUE;
}
