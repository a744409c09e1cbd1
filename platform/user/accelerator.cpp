// Accelerator tables and TranslateAcceleratorA.
//
// An ACCELERATORS resource is a sequence of 8-byte records: WORD flags
// (FVIRTKEY, FSHIFT, FCONTROL, FALT, FNOINVERT; 0x80 marks the last record),
// WORD key, WORD command, WORD padding.
//
// A key that matches an entry sends the command as Windows does: when the
// command is an item of the system menu or the window's menu, the owner first
// gets WM_INITMENU (and WM_INITMENUPOPUP for the popup that holds it) as if
// the menu were opened, and a greyed item, a disabled window, a captured
// mouse or a minimized window with the item in its menu send nothing - the
// key is used up all the same.
#include "menu.h"
#include "templatereader.h"

#include <algorithm>
#include <map>
#include <optional>
#include <mutex>
#include <vector>

namespace win32::user {
namespace {

constexpr WORD kLastEntry = 0x80;
constexpr BYTE kFlagMask = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;

struct AcceleratorTables {
  std::mutex lock;
  std::map<HACCEL, std::vector<ACCEL>> tables;
  UINT_PTR next = 0x00D00010;
};

AcceleratorTables& tables() {
  static AcceleratorTables t;
  return t;
}

HACCEL createTable(std::vector<ACCEL> entries) {
  auto& t = tables();
  std::lock_guard guard(t.lock);
  while (t.tables.count((HACCEL)t.next)) t.next += 0x10;
  HACCEL handle = (HACCEL)t.next;
  t.next = t.next >= 0x3FFFFFF0 ? 0x00D00010 : t.next + 0x10;  // handles stay 32-bit values
  t.tables.emplace(handle, std::move(entries));
  return handle;
}

bool keyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

bool matches(const ACCEL& a, const MSG& msg) {
  bool virtualKey = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  if (a.fVirt & FVIRTKEY) {
    if (!virtualKey || a.key != (WORD)msg.wParam) return false;
    return ((a.fVirt & FSHIFT) != 0) == keyDown(VK_SHIFT) && ((a.fVirt & FCONTROL) != 0) == keyDown(VK_CONTROL) &&
           ((a.fVirt & FALT) != 0) == keyDown(VK_MENU);
  }
  // A character entry: the character already says Shift and Ctrl; Alt makes it a WM_SYSCHAR.
  if (virtualKey || a.key != (WORD)(msg.wParam & 0xFFFF)) return false;
  return ((a.fVirt & FALT) != 0) == (msg.message == WM_SYSCHAR);
}

// The position of submenu `sub` in its parent within `menu`'s tree.
int positionOfSubmenu(HMENU menu, HMENU sub) {
  std::lock_guard lock(menuMutex());
  std::vector<HMENU> pending{menu};
  for (size_t n = 0; n < pending.size() && n < 4096; ++n) {
    Menu* m = findMenuLocked(pending[n]);
    if (!m) continue;
    for (size_t i = 0; i < m->items.size(); ++i) {
      if (m->items[i].subMenu == sub) return (int)i;
      if (m->items[i].subMenu) pending.push_back(m->items[i].subMenu);
    }
  }
  return 0;
}

struct Found {
  HMENU top = nullptr;     // the menu searched (system menu or window menu)
  ItemPlace place;
  bool system = false;
};

Found findInMenus(HWND hwnd, UINT command) {
  Found f;
  // The system menu first (made only for the commands it can hold), then the window's menu.
  HMENU system = systemMenuOf(hwnd, command >= 0xF000);
  HMENU menu = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) ? nullptr : GetMenu(hwnd);
  for (auto [top, isSystem] : {std::pair{system, true}, std::pair{menu, false}}) {
    if (!top) continue;
    ItemPlace place;
    {
      std::lock_guard lock(menuMutex());
      place = findCommandLocked(top, command);
    }
    if (place.menu) return Found{top, place, isSystem};
  }
  return f;
}

void sendCommand(HWND hwnd, WORD command) {
  Found found = findInMenus(hwnd, command);
  bool send = true;
  if (found.top) {
    if (GetCapture() || !IsWindowEnabled(hwnd)) {
      send = false;
    } else if (IsIconic(hwnd) && !found.system) {
      send = false;
    } else {
      SendMessageA(hwnd, WM_INITMENU, (WPARAM)found.top, 0);
      if (found.place.menu != found.top)
        SendMessageA(hwnd, WM_INITMENUPOPUP, (WPARAM)found.place.menu,
                     MAKELPARAM(positionOfSubmenu(found.top, found.place.menu), found.system));
      // The owner may have changed the item while it initialised the menu.
      UINT state = GetMenuState(found.place.menu, command, MF_BYCOMMAND);
      if (state == (UINT)-1 || (state & (MF_GRAYED | MF_DISABLED))) send = false;
    }
  }
  if (!send) return;
  if (found.system) SendMessageA(hwnd, WM_SYSCOMMAND, command, 0x00010000);
  else SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(command, 1), 0);
}

}  // namespace
}  // namespace win32::user

using namespace win32::user;

extern "C" HACCEL WINAPI CreateAcceleratorTableA(LPACCEL entries, int count) {
  if (!entries || count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<ACCEL> copy(entries, entries + count);
  for (ACCEL& a : copy) a.fVirt &= kFlagMask;
  return createTable(std::move(copy));
}

extern "C" BOOL WINAPI DestroyAcceleratorTable(HACCEL table) {
  auto& t = tables();
  std::lock_guard guard(t.lock);
  if (!t.tables.erase(table)) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return FALSE;
  }
  return TRUE;
}

extern "C" int WINAPI CopyAcceleratorTableA(HACCEL table, LPACCEL out, int count) {
  auto& t = tables();
  std::lock_guard guard(t.lock);
  auto it = t.tables.find(table);
  if (it == t.tables.end()) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return 0;
  }
  const auto& entries = it->second;
  if (!out) return (int)entries.size();  // the size a copy needs
  int n = std::min(count, (int)entries.size());
  if (n <= 0) return 0;
  std::copy(entries.begin(), entries.begin() + n, out);
  return n;
}

extern "C" HACCEL WINAPI LoadAcceleratorsA(HINSTANCE instance, LPCSTR name) {
  HRSRC info = FindResourceA(instance, name, RT_ACCELERATOR);
  if (!info) return nullptr;
  TemplateReader in(LockResource(LoadResource(instance, info)), SizeofResource(instance, info));
  std::vector<ACCEL> entries;
  for (;;) {
    WORD flags = in.word();
    WORD key = in.word();
    WORD command = in.word();
    in.word();
    if (!in.ok()) break;
    entries.push_back(ACCEL{(BYTE)(flags & kFlagMask), key, command});
    if (flags & kLastEntry) break;
  }
  if (entries.empty()) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return createTable(std::move(entries));
}

extern "C" int WINAPI TranslateAcceleratorA(HWND hwnd, HACCEL table, LPMSG msg) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN && msg->message != WM_CHAR &&
      msg->message != WM_SYSCHAR)
    return 0;
  std::optional<WORD> command;
  {
    auto& t = tables();
    std::lock_guard guard(t.lock);
    auto it = t.tables.find(table);
    if (it == t.tables.end()) {
      SetLastError(ERROR_INVALID_ACCEL_HANDLE);
      return 0;
    }
    for (const ACCEL& a : it->second)
      if (matches(a, *msg)) {
        command = a.cmd;
        break;
      }
  }
  if (!command) return 0;
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  sendCommand(hwnd, *command);
  return 1;
}
