// The window system's shared state: classes, windows and the process window table.
//
// One process-wide mutex (userMutex) guards every window, class and queue.
// It is never held while a window procedure, hook or timer procedure runs:
// code that sends a message first copies what it needs, unlocks, then calls.
// Windows are kept alive by shared_ptr while a caller uses one; the tree
// links are raw pointers that are valid while the window is in the table
// (a window leaves the tree and the table together, under the mutex).
#pragma once

#include <windows.h>

#include "childindex.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace win32::user {

std::mutex& userMutex();
using Lock = std::unique_lock<std::mutex>;

struct ThreadQueue;

struct WindowClass {
  std::string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int clsExtraBytes = 0;
  int wndExtraBytes = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSmall = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menuName;       // empty with menuId 0 when none
  UINT_PTR menuId = 0;        // a MAKEINTRESOURCE menu name
  std::vector<BYTE> extra;
  int windowCount = 0;        // live windows of the class: unregistering waits for 0
  bool registered = true;
};

struct ScrollBarState {
  int min = 0, max = 100, page = 0, pos = 0, trackPos = 0;
  UINT disabledArrows = 0;
  bool rangeSet = false;  // SetScrollRange/Info called: the bar was ever given a range
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  // Beside the style: walks over many siblings read these three alone.
  RECT windowRect{};                 // in the parent's client coordinates
  RECT clientRect{};                 // in the parent's client coordinates
  std::string text;
  Window* parent = nullptr;          // the desktop for top-level windows
  HWND owner = nullptr;              // changed only through setOwnerLocked
  HWND creationParent = nullptr;     // the parent CreateWindowEx was given (controls notify it)
  std::vector<HWND> owned;           // windows whose owner this is, oldest first
  std::vector<Window*> children;     // z-order: front() is the top
  bool linked = false;               // in its parent's children
  // Where a parent with many children finds them by place (childindex.h),
  // and what that index noted of this window as a child.
  std::unique_ptr<ChildIndex> childIndex;
  RECT indexedRect{};
  bool indexedLarge = false;
  uint32_t indexStamp = 0;
  LONG_PTR id = 0;                   // the menu handle's value for top-level windows
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  std::vector<BYTE> extra;
  void* controlState = nullptr;      // a standard control's own record (internal/controlstate.h)
  const void* controlKind = nullptr;
  std::vector<std::pair<std::string, HANDLE>> props;  // names; atoms as "#<n>"
  std::shared_ptr<ThreadQueue> queue;
  DWORD threadId = 0;
  HMENU menu = nullptr;
  HWND lastActivePopup = nullptr;
  HICON iconBig = nullptr;           // WM_SETICON
  HICON iconSmall = nullptr;

  // Life cycle: a window being destroyed refuses new children and new sends.
  bool destroying = false;
  bool ncDestroyed = false;          // WM_NCDESTROY sent: no new place, parent or children
  bool gone = false;                 // out of the table (after WM_NCDESTROY)
  bool needsSizeMessages = false;    // WM_SIZE/WM_MOVE still owed from creation

  // Placement (the restored rectangle while minimized or maximized).
  RECT normalRect{};
  POINT minPosition{-1, -1};
  POINT maxPosition{-1, -1};
  bool restoreToMaximized = false;

  // Painting: the update region is in client coordinates (nullptr = empty).
  HRGN update = nullptr;
  bool eraseNeeded = false;
  bool frameNeeded = false;          // WM_NCPAINT owed
  bool ncActive = false;             // the last WM_NCACTIVATE drew the frame active
  bool internalPaint = false;
  bool lockedUpdate = false;
  bool inPaintList = false;          // on its queue's owingPaint list
  bool paintCandidate = false;       // marked while the queue picks a window to paint
  cairo_surface_t* surface = nullptr;  // top-level windows only
  HDC ownDC = nullptr;               // CS_OWNDC

  ScrollBarState scroll[2];          // SB_HORZ, SB_VERT
  bool scrollShown[2] = {false, false};

  bool isChild() const { return (style & WS_CHILD) != 0; }
  bool isDesktop() const { return parent == nullptr; }
};
using WindowPtr = std::shared_ptr<Window>;

// --- the table (window.cpp) ---------------------------------------------
// Lock held. The window of this process behind `hwnd`, or nullptr.
Window* findLocked(HWND hwnd);
// The desktop window (no parent, the screen's size, no thread).
Window* desktopLocked();
// Lock held. The shared reference of a window of the table.
WindowPtr sharedLocked(Window* w);
// Counts changes that make a remembered window procedure stale: a window
// freed, a procedure replaced. SendMessageA keeps the last window of its
// thread with this count and skips the table while the count stands.
std::atomic<uint64_t>& procedureGeneration();
// The kernel thread id of the calling thread (cached per thread).
DWORD callingThreadId();
// Takes the lock. nullptr with ERROR_INVALID_WINDOW_HANDLE when `hwnd` is no
// window of this process.
WindowPtr findWindow(HWND hwnd);
// WM_SIZE and WM_MOVE with the window's client rectangle and state (lock not
// held): after WM_CREATE, or at the first show of an overlapped window.
void sendSizeMessages(const WindowPtr& w);
// Lock held. All windows of the process, top-level first, each followed by its descendants.
std::vector<Window*> allWindowsLocked();
// Lock held. Does `a` come before `b` in the order of allWindowsLocked
// (z-order, each window before its descendants)?
bool comesBeforeInTree(Window* a, Window* b);
// Lock held. Makes `owner` (a window of the table or nullptr) the owner of
// `w`, keeping the owners' lists of owned windows.
void setOwnerLocked(Window& w, HWND owner);

// Lock held: the screen position of the window's client origin.
POINT clientOriginOnScreen(const Window* w);
// Lock held: the window rectangle in screen coordinates.
RECT windowRectOnScreen(const Window* w);
// Lock held: the top-level ancestor (itself for a top-level window).
Window* topLevelOf(Window* w);
// Lock held: true when `w` and all of its ancestors are visible.
bool reallyVisible(const Window* w);

// --- classes (class.cpp) ------------------------------------------------
// Lock held. The class a window of `instance` gets by `name` (a string or an atom).
std::shared_ptr<WindowClass> findClassLocked(LPCSTR name, HINSTANCE instance);
// The user atom of `name`, made when missing (RegisterWindowMessageA,
// RegisterClipboardFormatA and class atoms share one table, as on Windows).
ATOM userAtom(const char* name, bool create);
// The name of a user atom, or empty.
std::string userAtomName(ATOM atom);
bool equalNoCase(const std::string& a, const char* b);

// --- sending (message.cpp) ----------------------------------------------
// Calls `proc` (the window's procedure, read under the lock by the caller)
// on this thread, with the WH_CALLWNDPROC hooks first.
LRESULT callProcedure(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam);
// SendMessageA without the checks: for the window system's own notifications.
LRESULT sendInternal(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// --- frame metrics (metrics.cpp) ----------------------------------------
// The non-client border a window of these styles has on each side
// (the outside of AdjustWindowRectEx without the menu bar).
RECT frameInsets(DWORD style, DWORD exStyle, bool hasMenu);

void setWindowError();  // ERROR_INVALID_WINDOW_HANDLE
// windowlong.cpp: a control changes its own style without the style messages.
void setStyleQuietly(HWND hwnd, DWORD style);

// --- hooks into other parts, called while a window is destroyed ----------
// input.cpp: focus, capture, activation and caret leave the window (lock not held).
void releaseInputOf(HWND hwnd);
// queue.cpp: posted messages and timers of the window go (lock held).
void purgeWindowMessagesLocked(ThreadQueue& q, HWND hwnd);
// paint.cpp: update region, surface and DCs of the window go (lock held).
void discardPaintStateLocked(Window& w);
// paint.cpp: a window's place before SetWindowPos changes it, for the repaint after.
struct PlaceBefore {
  RECT windowRect{};           // in the parent's client coordinates
  bool visible = false;        // shown, with all its ancestors
  HRGN ownPixels = nullptr;    // a child's pixels on its surface (siblings above cut out), parent's client
                               // coordinates, when it may keep them (stays shown, same size, not redrawn)
  std::vector<HWND> siblings;  // a child's z-order among its siblings, top first, when it changes
  PlaceBefore() = default;
  PlaceBefore(const PlaceBefore&) = delete;
  PlaceBefore& operator=(const PlaceBefore&) = delete;
  ~PlaceBefore();
};
// paint.cpp (lock held): records `w` as it stands now.
void recordPlaceLocked(Window& w, PlaceBefore& before, bool zOrderChanges, bool keepsPixels);
// paint.cpp: the window changed place, size, z-order or visibility: copies
// the pixels it keeps and invalidates what must be painted again (lock not held).
void repaintAfterMove(HWND hwnd, const PlaceBefore& before, bool sizeChanged, UINT swpFlags);
// paint.cpp: copies pixels of a surface so that `landing` (surface
// coordinates) shows what lay `dx`,`dy` pixels back.
void copySurfacePixels(cairo_surface_t* surface, HRGN landing, int dx, int dy);
// paint.cpp: a top-level window's surface follows its new size; a window
// that becomes a child loses its surface (lock held).
void resizeSurfaceLocked(Window& w);
// paint.cpp: a top-level window gets its surface at its first drawing: most
// windows are sized several times before they draw, some never draw (tips
// and menus not shown). False when it cannot be made (lock held).
bool makeSurfaceLocked(Window& w);

// input.cpp: makes `hwnd` the active window of its thread (WM_NCACTIVATE,
// WM_ACTIVATE, WM_ACTIVATEAPP, focus); `mouse` gives WA_CLICKACTIVE.
bool activateWindow(HWND hwnd, bool mouse);
// input.cpp: `hwnd` is hidden or destroyed while active: another window of
// the thread (its owner first) becomes active, or none.
void activateOtherWindow(HWND hwnd);

// --- window positions (winpos.cpp) ---------------------------------------
// Lock held: places `w` among its siblings after `after` (HWND_TOP/BOTTOM/TOPMOST/NOTOPMOST
// or a sibling), keeping topmost windows above the others.
void linkWindowLocked(Window* w, HWND after);
void unlinkWindowLocked(Window* w);
// Moves a window's rectangle, keeping its parent's index of children true.
void setWindowRectLocked(Window* w, const RECT& rect);
// Answers the rectangles WM_NCCALCSIZE gives for a window rectangle (client from window).
void recalcClientRect(HWND hwnd);

}  // namespace win32::user
