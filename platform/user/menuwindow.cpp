// Popup menus shown as windows of the menu class ("#32768") and tracked
// with the mouse and keys, for programs on a display (headless runs take
// the scripted choice instead, menutrack.cpp).
//
// Each open level (the menu and the submenus opened from it) is a topmost
// tool popup, which a display shows as an override-redirect window. The
// first level holds the capture while the menu is tracked, so that a click
// anywhere else dismisses it. A command is chosen when the button comes up
// over it, or with Return; Escape closes the innermost level; the arrow keys
// move through the items and open and close submenus; an item's mnemonic
// chooses or opens it.
#include "menu.h"
#include "queue.h"
#include "systemclass.h"
#include "window.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace win32::user {

void fillWithBrush(HDC dc, const RECT& r, HBRUSH brush);  // paint.cpp

namespace {

constexpr int kBorder = 3;           // the raised edge around the items
constexpr int kCheckColumn = 18;     // room for a check mark left of the text
constexpr int kArrowColumn = 16;     // room for a submenu's arrow right of the text
constexpr int kColumnGap = 16;       // between the text and the shortcut column
constexpr int kSeparatorHeight = 8;
const LPCSTR kMenuClass = MAKEINTATOM(0x8000);  // "#32768", the menu class of Windows

struct Level {
  HMENU menu = nullptr;
  HWND window = nullptr;
  std::vector<MenuItem> items;
  std::vector<RECT> rects;  // client coordinates
  int hot = -1;
};

std::string label(const MenuItem& item) { return item.text.substr(0, item.text.find('\t')); }
std::string shortcut(const MenuItem& item) {
  size_t tab = item.text.find('\t');
  return tab == std::string::npos ? std::string() : item.text.substr(tab + 1);
}
bool choosable(const MenuItem& item) { return !item.separator() && item.enabled(); }

// Item rectangles (client coordinates) and the window's size.
SIZE layoutItems(Level& level) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  int textWidth = 0, keyWidth = 0;
  for (const MenuItem& item : level.items) {
    SIZE s{};
    std::string text = label(item), keys = shortcut(item);
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), (int)text.size(), &r, DT_SINGLELINE | DT_CALCRECT);
    textWidth = std::max<int>(textWidth, r.right);
    if (!keys.empty() && GetTextExtentPoint32A(dc, keys.c_str(), (int)keys.size(), &s))
      keyWidth = std::max<int>(keyWidth, s.cx);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  const int width = kCheckColumn + textWidth + (keyWidth ? kColumnGap + keyWidth : 0) + kArrowColumn;
  const int height = GetSystemMetrics(SM_CYMENU);
  level.rects.clear();
  int y = kBorder;
  for (const MenuItem& item : level.items) {
    int h = item.separator() ? kSeparatorHeight : height;
    level.rects.push_back(RECT{kBorder, y, kBorder + width, y + h});
    y += h;
  }
  return SIZE{width + 2 * kBorder, y + kBorder};
}

void paintItem(HDC dc, const MenuItem& item, const RECT& r, bool hot) {
  if (item.separator()) {
    RECT line{r.left + 1, r.top + kSeparatorHeight / 2 - 1, r.right - 1, r.top + kSeparatorHeight / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  if (hot) fillWithBrush(dc, r, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetTextColor(dc, GetSysColor(!item.enabled() ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  RECT text = r;
  text.left += kCheckColumn;
  text.right -= kArrowColumn;
  std::string s = label(item), keys = shortcut(item);
  DrawTextA(dc, s.c_str(), (int)s.size(), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!keys.empty()) DrawTextA(dc, keys.c_str(), (int)keys.size(), &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  if (item.state & MFS_CHECKED) {
    RECT mark{r.left, r.top, r.left + kCheckColumn, r.bottom};
    DrawTextA(dc, "\xd7", 1, &mark, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  if (item.subMenu) {
    RECT arrow{r.right - kArrowColumn, r.top, r.right, r.bottom};
    DrawTextA(dc, "\xbb", 1, &arrow, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
}

LRESULT CALLBACK menuProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* level = (Level*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // the owner stays active while its menu is open
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT all;
      GetClientRect(hwnd, &all);
      fillWithBrush(dc, all, GetSysColorBrush(COLOR_MENU));
      DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
      if (level) {
        SetBkMode(dc, TRANSPARENT);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        for (size_t i = 0; i < level->items.size(); ++i)
          paintItem(dc, level->items[i], level->rects[i], (int)i == level->hot);
        SelectObject(dc, old);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

const SystemClass kMenuWindowClass({kMenuClass, menuProc, CS_SAVEBITS, 0, IDC_ARROW, COLOR_MENU + 1});

// Where each open popup menu stands, for GetMenuItemRect and MenuItemFromPoint.
struct OpenMenus {
  std::mutex mutex;
  std::map<HMENU, HWND> windows;
};
OpenMenus& openMenus() {
  static OpenMenus* m = new OpenMenus;
  return *m;
}

// The press that opened a menu was the menu's: the next press at the same
// place (opening the menu again) is a single click, not the second of a double.
void forgetLastClick() {
  auto q = currentQueue();
  Lock lock(userMutex());
  q->lastClickMsg = 0;
}

class Tracking {
 public:
  Tracking(HWND owner, const std::function<bool()>& ended) : owner_(owner), ended_(ended) {}
  ~Tracking() {
    while (!levels_.empty()) closeInnermost();
  }
  Tracking(const Tracking&) = delete;
  Tracking& operator=(const Tracking&) = delete;

  UINT run(HMENU menu, POINT at) {
    if (!open(menu, at)) return 0;
    SetCapture(levels_.front()->window);
    UINT chosen = 0;
    bool done = false;
    while (!done && !ended_()) {
      MSG m;
      if (!GetMessageA(&m, nullptr, 0, 0)) {
        PostQuitMessage((int)m.wParam);  // the loop above this one ends too
        break;
      }
      if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) done = mouse(m, chosen);
      else if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
        TranslateMessage(&m);  // the character of the key comes next, for the mnemonics
        done = key((UINT)m.wParam, chosen);
      }
      else if (m.message == WM_CHAR) done = mnemonic((char)m.wParam, chosen);
      else if (m.message != WM_KEYUP && m.message != WM_SYSKEYUP) DispatchMessageA(&m);
      if (GetCapture() != levels_.front()->window) done = true;  // taken away: dismissed
    }
    ReleaseCapture();
    forgetLastClick();
    return chosen;
  }

 private:
  bool open(HMENU menu, POINT at) {
    auto snapshot = snapshotMenu(menu);
    if (!snapshot) return false;
    auto level = std::make_unique<Level>();
    level->menu = menu;
    level->items = snapshot->items;
    SIZE size = layoutItems(*level);
    // Kept on the screen: a menu that would leave it opens the other way.
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    if (at.x + size.cx > screenW) at.x = std::max(0, (int)(at.x - size.cx));
    if (at.y + size.cy > screenH) at.y = std::max(0, screenH - (int)size.cy);
    level->window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kMenuClass, nullptr, WS_POPUP, at.x, at.y,
                                    size.cx, size.cy, owner_, nullptr, nullptr, nullptr);
    if (!level->window) return false;
    SetWindowLongPtrA(level->window, GWLP_USERDATA, (LONG_PTR)level.get());
    ShowWindow(level->window, SW_SHOWNA);
    {
      std::lock_guard<std::mutex> guard(openMenus().mutex);
      openMenus().windows[menu] = level->window;
    }
    levels_.push_back(std::move(level));
    return true;
  }

  void closeInnermost() {
    std::unique_ptr<Level> level = std::move(levels_.back());
    levels_.pop_back();
    {
      std::lock_guard<std::mutex> guard(openMenus().mutex);
      openMenus().windows.erase(level->menu);
    }
    if (!levels_.empty() && GetCapture() == level->window) SetCapture(levels_.front()->window);
    DestroyWindow(level->window);
  }

  void setHot(Level& level, int index) {
    if (level.hot == index) return;
    level.hot = index;
    InvalidateRect(level.window, nullptr, FALSE);
  }

  // Opens the submenu of the hot item of level `depth`, next to the item.
  void openSubmenu(size_t depth) {
    Level& level = *levels_[depth];
    const MenuItem& item = level.items[level.hot];
    RECT r = level.rects[level.hot];
    POINT at{r.right, r.top - kBorder};
    ClientToScreen(level.window, &at);
    open(item.subMenu, at);
  }

  // The level and item under a screen point (innermost level first); false when outside every level.
  bool itemAt(POINT screen, size_t& depth, int& index) {
    for (size_t d = levels_.size(); d-- > 0;) {
      Level& level = *levels_[d];
      RECT window;
      GetWindowRect(level.window, &window);
      if (!PtInRect(&window, screen)) continue;
      POINT client = screen;
      ScreenToClient(level.window, &client);
      depth = d;
      index = -1;
      for (size_t i = 0; i < level.rects.size(); ++i)
        if (PtInRect(&level.rects[i], client)) index = (int)i;
      return true;
    }
    return false;
  }

  bool mouse(const MSG& m, UINT& chosen) {
    POINT screen{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    if (m.message != WM_MOUSEWHEEL) ClientToScreen(m.hwnd, &screen);
    size_t depth;
    int index;
    const bool inside = itemAt(screen, depth, index);
    if (!inside) {
      // A press outside every level dismisses the menu.
      return m.message == WM_LBUTTONDOWN || m.message == WM_RBUTTONDOWN || m.message == WM_MBUTTONDOWN;
    }
    Level& level = *levels_[depth];
    if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONDOWN) {
      // Deeper levels close unless they hang from the item under the pointer.
      while (levels_.size() > depth + 1 && !(index >= 0 && level.hot == index && level.items[index].subMenu))
        closeInnermost();
      setHot(level, index >= 0 && !level.items[index].separator() ? index : -1);
      if (index >= 0 && level.items[index].subMenu && choosable(level.items[index]) && levels_.size() == depth + 1)
        openSubmenu(depth);
      return false;
    }
    if (m.message == WM_LBUTTONUP && index >= 0 && choosable(level.items[index]) && !level.items[index].subMenu) {
      chosen = level.items[index].id;
      return true;
    }
    return false;
  }

  bool key(UINT vk, UINT& chosen) {
    Level& level = *levels_.back();
    const int count = (int)level.items.size();
    auto step = [&](int direction) {
      for (int n = 0, i = level.hot; n < count; ++n) {
        i = (i + direction + count) % count;
        if (!level.items[i].separator()) {
          setHot(level, i);
          return;
        }
      }
    };
    switch (vk) {
      case VK_ESCAPE:
        if (levels_.size() == 1) return true;
        closeInnermost();
        return false;
      case VK_LEFT:
        if (levels_.size() > 1) closeInnermost();
        return false;
      case VK_UP: step(-1); return false;
      case VK_DOWN: step(1); return false;
      case VK_RIGHT:
      case VK_RETURN:
        if (level.hot < 0 || !choosable(level.items[level.hot])) return false;
        if (level.items[level.hot].subMenu) {
          openSubmenu(levels_.size() - 1);
          if (levels_.back().get() != &level) step(1);  // the first item of the new level
          return false;
        }
        if (vk == VK_RIGHT) return false;
        chosen = level.items[level.hot].id;
        return true;
      default:
        return false;
    }
  }

  bool mnemonic(char c, UINT& chosen) {
    Level& level = *levels_.back();
    const char wanted = (char)toupper((unsigned char)c);
    for (size_t i = 0; i < level.items.size(); ++i) {
      if (!choosable(level.items[i]) || menuMnemonic(level.items[i].text) != wanted) continue;
      setHot(level, (int)i);
      return key(VK_RETURN, chosen);
    }
    return false;
  }

  HWND owner_;
  const std::function<bool()>& ended_;
  std::vector<std::unique_ptr<Level>> levels_;
};

}  // namespace

UINT trackMenuWindow(HMENU menu, POINT at, HWND owner, const std::function<bool()>& ended) {
  Tracking tracking(owner, ended);
  return tracking.run(menu, at);
}

bool openMenuItemRect(HMENU menu, UINT position, RECT& rect) {
  HWND window;
  {
    std::lock_guard<std::mutex> guard(openMenus().mutex);
    auto it = openMenus().windows.find(menu);
    if (it == openMenus().windows.end()) return false;
    window = it->second;
  }
  auto* level = (Level*)GetWindowLongPtrA(window, GWLP_USERDATA);
  if (!level || position >= level->rects.size()) return false;
  rect = level->rects[position];
  MapWindowPoints(window, nullptr, (POINT*)&rect, 2);
  return true;
}

}  // namespace win32::user
