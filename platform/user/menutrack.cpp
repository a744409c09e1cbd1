// Menu tracking, headless: TrackPopupMenu(Ex), the menu bar opened by the
// keyboard (Alt+mnemonic, F10, Alt alone) or a click, and the system menu.
//
// No menu window is shown. The item a person would pick is the next scripted
// menu choice (win32::input::pushMenuChoice, or KY_MENU_CHOICES): a command
// id, reached through the submenus that hold it; no choice, 0, an id the menu
// does not hold or a greyed item dismisses the menu. The owner hears what
// it would hear on Windows, in Windows' order:
//   WM_ENTERMENULOOP, WM_INITMENU, [WM_MENUSELECT of a bar item],
//   WM_INITMENUPOPUP, WM_ENTERIDLE(MSGF_MENU) while the menu waits for the
//   person, then per level WM_MENUSELECT and WM_INITMENUPOPUP of the
//   submenus on the way, WM_MENUSELECT of the chosen item,
//   WM_UNINITMENUPOPUP of each open popup (innermost first),
//   WM_MENUSELECT(0xFFFF0000, 0), WM_EXITMENULOOP;
// then the chosen command is posted (WM_COMMAND, or WM_SYSCOMMAND for the
// system menu) unless TPM_RETURNCMD asks for it as the answer.
// EndMenu from one of those handlers dismisses the menu: no further item is
// opened or chosen, the closing messages still come.
#include <internal/testinput.h>
#include <internal/userscript.h>

#include "display.h"
#include "menu.h"

#include <cstdlib>
#include <set>

namespace win32::user {
namespace {

script::AnswerQueue& choices() {
  static script::AnswerQueue queue("KY_MENU_CHOICES", ',');
  return queue;
}

bool holdsCommandLocked(HMENU handle, UINT id, std::set<HMENU>& seen) {
  Menu* m = findMenuLocked(handle);
  if (!m || !seen.insert(handle).second) return false;
  for (const MenuItem& item : m->items) {
    if (!item.subMenu && !item.separator() && item.id == id) return true;
    if (item.subMenu && holdsCommandLocked(item.subMenu, id, seen)) return true;
  }
  return false;
}

bool holdsCommand(HMENU menu, UINT id) {
  std::lock_guard lock(menuMutex());
  std::set<HMENU> seen;
  return holdsCommandLocked(menu, id, seen);
}

std::string windowTitle(HWND hwnd) {
  char title[128] = "";
  GetWindowTextA(hwnd, title, sizeof title);
  return title;
}

// "{&Open, &Save (grayed), Recent >}" for the stderr line.
std::string describeItems(HMENU menu) {
  auto snapshot = snapshotMenu(menu);
  if (!snapshot) return "{}";
  std::string out = "{";
  for (const MenuItem& item : snapshot->items) {
    if (out.size() > 1) out += ", ";
    if (item.separator()) {
      out += "-";
      continue;
    }
    out += item.text.substr(0, item.text.find('\t'));
    if (!item.enabled()) out += " (grayed)";
    if (item.subMenu) out += " >";
  }
  return out + "}";
}

UINT scriptedChoice() {
  std::optional<UINT> choice = nextMenuChoice();
  return choice ? *choice : 0;
}

class Tracker;
// The menu the thread tracks now, for EndMenu.
thread_local Tracker* activeTracker = nullptr;

class Tracker {
 public:
  Tracker(HWND owner, bool notify, bool mouse)
      : owner_(owner), notify_(notify), mouse_(mouse), outer_(activeTracker) {
    activeTracker = this;
  }
  ~Tracker() { activeTracker = outer_; }
  Tracker(const Tracker&) = delete;
  Tracker& operator=(const Tracker&) = delete;

  void end() { ended_ = true; }
  bool ended() const { return ended_; }

  void enterLoop(bool popup) { SendMessageA(owner_, WM_ENTERMENULOOP, popup, 0); }
  void exitLoop(bool popup) { SendMessageA(owner_, WM_EXITMENULOOP, popup, 0); }
  void initMenu(HMENU menu) { notify(WM_INITMENU, (WPARAM)menu, 0); }

  void openPopup(HMENU menu, int index, bool system) {
    if (ended_) return;
    if (system) refreshSystemMenu(owner_, menu);
    notify(WM_INITMENUPOPUP, (WPARAM)menu, MAKELPARAM(index, system));
    opened_.push_back({menu, system});
  }

  // The item at `index` of `menu` becomes the highlighted one.
  void select(HMENU menu, int index, bool system) {
    if (ended_) return;
    auto snapshot = snapshotMenu(menu);
    if (!snapshot || index < 0 || (size_t)index >= snapshot->items.size()) return;
    const MenuItem& item = snapshot->items[index];
    UINT flags = item.flags() | MF_HILITE | (mouse_ ? MF_MOUSESELECT : 0) | (system ? MF_SYSMENU : 0);
    // A popup item is named by its position, a command by its id.
    WORD which = item.subMenu ? (WORD)index : (WORD)item.id;
    notify(WM_MENUSELECT, MAKEWPARAM(which, flags & 0xFFFF), (LPARAM)menu);
  }

  // From the open `menu`, goes the way a person would to the item with
  // command `wanted`: answers its id when it can be chosen, else 0. Each
  // submenu is initialised before its items are looked at, so the owner's
  // WM_INITMENUPOPUP decides what is enabled.
  UINT follow(HMENU menu, UINT wanted, bool system) {
    constexpr int kMaxDepth = 32;
    for (int depth = 0; depth < kMaxDepth && wanted; ++depth) {
      auto snapshot = snapshotMenu(menu);
      if (!snapshot) return 0;
      const auto& items = snapshot->items;
      int position = -1;
      for (size_t i = 0; i < items.size() && position < 0; ++i)
        if (!items[i].subMenu && !items[i].separator() && items[i].id == wanted) position = (int)i;
      for (size_t i = 0; i < items.size() && position < 0; ++i)
        if (items[i].subMenu && holdsCommand(items[i].subMenu, wanted)) position = (int)i;
      if (position < 0 || !items[position].enabled()) return 0;  // greyed: neither chosen nor opened
      select(menu, position, system);
      if (ended_) return 0;
      if (!items[position].subMenu) return items[position].id;
      openPopup(items[position].subMenu, position, system);
      menu = items[position].subMenu;
    }
    return 0;
  }

  // The choice followed from the open `menu`: a person's on a display
  // (the menu shown at `at`, a screen point) unless a choice is scripted,
  // else the scripted one, which is taken even when the menu was ended
  // already, so that it is not left for the next menu.
  UINT choose(HMENU menu, bool system, POINT at) {
    idle();
    UINT wanted;
    if (display::onServer() && choices().pending() == 0)
      wanted = ended_ ? 0 : trackMenuWindow(menu, at, owner_, [this] { return ended_; });
    else
      wanted = scriptedChoice();
    return wanted && !ended_ ? follow(menu, wanted, system) : 0;
  }

  // The menu is open and waits for the person: the owner hears WM_ENTERIDLE
  // (no menu window exists here, so lParam is 0) and may end the menu then.
  void idle() { notify(WM_ENTERIDLE, MSGF_MENU, 0); }

  void close() {
    for (auto it = opened_.rbegin(); it != opened_.rend(); ++it)
      notify(WM_UNINITMENUPOPUP, (WPARAM)it->menu, MAKELPARAM(0, it->system ? MF_SYSMENU : 0));
    opened_.clear();
    notify(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  }

 private:
  void notify(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (notify_) SendMessageA(owner_, msg, wParam, lParam);
  }
  struct Open {
    HMENU menu;
    bool system;
  };
  HWND owner_;
  bool notify_;
  bool mouse_;
  Tracker* outer_;
  bool ended_ = false;
  std::vector<Open> opened_;
};

void tell(HWND owner, const std::string& what, HMENU menu, UINT chosen) {
  std::string line = "menu: \"" + windowTitle(owner) + "\" " + what + " " + describeItems(menu) + " -> ";
  line += chosen ? "command " + std::to_string(chosen) : std::string("dismissed");
  script::announce(line);
}

bool isSystemMenu(HMENU menu) {
  std::lock_guard lock(menuMutex());
  Menu* m = findMenuLocked(menu);
  return m && m->system;
}

// The system menu opened from the caption (click) or Alt+Space.
void runSystemMenu(HWND top, bool mouse, LPARAM point) {
  HMENU menu = systemMenuOf(top, true);
  if (!menu) return;
  Tracker t(top, true, mouse);
  t.enterLoop(false);
  t.initMenu(menu);
  t.openPopup(menu, 0, true);
  RECT frame{};
  GetWindowRect(top, &frame);
  POINT below{frame.left + GetSystemMetrics(SM_CXFRAME), frame.top + GetSystemMetrics(SM_CYCAPTION)};
  UINT id = t.choose(menu, true, below);
  t.close();
  t.exitLoop(false);
  tell(top, "system menu", menu, id);
  if (id) PostMessageA(top, WM_SYSCOMMAND, id, mouse ? point : 0);
}

// The menu bar: `index` is the item a mnemonic or a click opened, -1 when
// the bar was only made active (F10, Alt alone); `key` is the mnemonic
// character that found no item (0 for none), answered through WM_MENUCHAR.
void runMenuBar(HWND top, HMENU bar, int index, char key, bool mouse) {
  Tracker t(top, true, mouse);
  t.enterLoop(false);
  t.initMenu(bar);
  bool closeAtOnce = false;
  if (key) {
    // No item has the mnemonic: the owner may name one (WM_MENUCHAR), else the bar closes.
    LRESULT answer = SendMessageA(top, WM_MENUCHAR, MAKEWPARAM((BYTE)key, 0), (LPARAM)bar);
    if (HIWORD(answer) == MNC_EXECUTE || HIWORD(answer) == MNC_SELECT) index = LOWORD(answer);
    else if (HIWORD(answer) == MNC_IGNORE) MessageBeep(0);
    closeAtOnce = index < 0 || index >= GetMenuItemCount(bar);
  }
  UINT id = 0;
  auto snapshot = snapshotMenu(bar);
  if (snapshot && !closeAtOnce) {
    const auto& items = snapshot->items;
    if (index < 0) {
      // Only the bar is active: the scripted choice says where a person would go from here.
      t.idle();
      UINT wanted = scriptedChoice();
      if (wanted) {
        id = t.ended() ? 0 : t.follow(bar, wanted, false);
      } else if (!items.empty()) {
        t.select(bar, 0, false);
      }
    } else if ((size_t)index < items.size() && items[index].enabled()) {
      t.select(bar, index, false);
      if (items[index].subMenu) {
        t.openPopup(items[index].subMenu, index, false);
        RECT item{};
        GetMenuItemRect(top, bar, (UINT)index, &item);
        // On a display the bar shows whose drop-down is open.
        const bool shown = display::onServer();
        if (shown) HiliteMenuItem(top, bar, (UINT)index, MF_BYPOSITION | MF_HILITE);
        id = t.choose(items[index].subMenu, false, POINT{item.left, item.bottom});
        if (shown && IsWindow(top)) HiliteMenuItem(top, bar, (UINT)index, MF_BYPOSITION | MF_UNHILITE);
      } else if (!items[index].separator() && !t.ended()) {
        id = items[index].id;  // a command on the bar itself runs at once
      }
    }
  }
  t.close();
  t.exitLoop(false);
  tell(top, "menu bar", bar, id);
  if (id) PostMessageA(top, WM_COMMAND, id, 0);
}

int barItemWithMnemonic(HMENU bar, char key) {
  auto snapshot = snapshotMenu(bar);
  if (!snapshot) return -1;
  char wanted = (char)toupper((unsigned char)key);
  for (size_t i = 0; i < snapshot->items.size(); ++i)
    if (!snapshot->items[i].separator() && menuMnemonic(snapshot->items[i].text) == wanted) return (int)i;
  return -1;
}

void keyboardMenu(HWND top, char key) {
  bool hasSystem = (GetWindowLongA(top, GWL_STYLE) & WS_SYSMENU) != 0;
  HMENU bar = GetMenu(top);
  if (bar && !IsMenu(bar)) bar = nullptr;
  if (key == ' ') {
    if (hasSystem) runSystemMenu(top, false, 0);
    else MessageBeep(0);
    return;
  }
  if (!bar) {
    // Without a menu bar F10 and Alt make the system menu active; a mnemonic finds nothing.
    if (!key && hasSystem) runSystemMenu(top, false, 0);
    else if (key) MessageBeep(0);
    return;
  }
  int index = key ? barItemWithMnemonic(bar, key) : -1;
  runMenuBar(top, bar, index, index < 0 ? key : 0, false);
}

void mouseMenu(HWND top, UINT hit, LPARAM point) {
  if (hit == HTSYSMENU) {
    runSystemMenu(top, true, point);
    return;
  }
  HMENU bar = GetMenu(top);
  if (!bar || !IsMenu(bar)) return;
  int index = MenuItemFromPoint(top, bar, POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)});
  if (index >= 0) runMenuBar(top, bar, index, 0, true);
}

}  // namespace

std::optional<UINT> nextMenuChoice() {
  std::optional<std::string> answer = choices().next();
  if (!answer) return std::nullopt;
  char* end = nullptr;
  unsigned long id = std::strtoul(answer->c_str(), &end, 0);
  if (end == answer->c_str() || *end || id > 0xFFFF) {
    script::announce("menu: scripted choice \"" + *answer + "\" is no command id; the menu is dismissed");
    return 0u;
  }
  return (UINT)id;
}

void menuSysCommand(HWND hwnd, WPARAM command, LPARAM lParam) {
  // The menu bar and the system menu belong to the top-level window.
  HWND top = GetAncestor(hwnd, GA_ROOT);
  if (!top) return;
  if ((command & 0xFFF0) == SC_KEYMENU) keyboardMenu(top, (char)lParam);
  else mouseMenu(top, command & 0x000F, lParam);
}

}  // namespace win32::user

namespace win32::input {

void pushMenuChoice(UINT id) { user::choices().push(std::to_string(id)); }
void clearMenuChoices() { user::choices().clear(); }
size_t pendingMenuChoices() { return user::choices().pending(); }

}  // namespace win32::input

using namespace win32::user;

extern "C" BOOL WINAPI TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND hwnd, LPTPMPARAMS) {
  if (!IsMenu(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  bool system = isSystemMenu(menu);
  Tracker t(hwnd, !(flags & TPM_NONOTIFY), false);
  t.enterLoop(true);
  t.initMenu(menu);
  t.openPopup(menu, 0, system);
  UINT id = t.choose(menu, system, POINT{x, y});
  t.close();
  t.exitLoop(true);
  tell(hwnd, "popup at " + std::to_string(x) + "," + std::to_string(y), menu, id);
  if (!id) return FALSE;  // dismissed
  if (flags & TPM_RETURNCMD) return (BOOL)id;
  PostMessageA(hwnd, system ? WM_SYSCOMMAND : WM_COMMAND, id, system ? MAKELPARAM(x, y) : 0);
  return TRUE;
}

extern "C" BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND hwnd, const RECT*) {
  return TrackPopupMenuEx(menu, flags, x, y, hwnd, nullptr);
}

// Dismisses the menu the calling thread tracks; with none, there is nothing
// to end and the answer is still TRUE, as on Windows.
extern "C" BOOL WINAPI EndMenu(void) {
  if (activeTracker) activeTracker->end();
  return TRUE;
}
