// Menu objects: creation, items, their states and texts, the system menu.
//
// Items are found "by position" in the menu itself, or "by command"
// (MF_BYCOMMAND) in the menu and then its submenus, depth first, as Windows
// does. Destroying a menu destroys its submenus; a submenu reached twice (or
// a menu that holds itself) is destroyed once.
#include "menu.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>

namespace win32::user {
namespace {

struct MenuTable {
  std::map<HMENU, std::unique_ptr<Menu>> menus;
  std::map<HWND, HMENU> systemMenus;  // windows' own copies of the system menu
  UINT_PTR next = 0x00C00010;
};

MenuTable& table() {
  static MenuTable t;
  return t;
}

HMENU createMenu(bool popup) {
  std::lock_guard lock(menuMutex());
  auto& t = table();
  auto menu = std::make_unique<Menu>();
  menu->handle = (HMENU)t.next;
  t.next += 0x10;
  if (t.next > 0x3FFFFFF0) t.next = 0x00C00010;  // handles stay 32-bit values
  while (t.menus.count((HMENU)t.next)) t.next += 0x10;
  menu->popup = popup;
  HMENU handle = menu->handle;
  t.menus.emplace(handle, std::move(menu));
  return handle;
}

void destroyLocked(HMENU handle, std::set<HMENU>& done) {
  if (!done.insert(handle).second) return;
  auto& menus = table().menus;
  auto it = menus.find(handle);
  if (it == menus.end()) return;
  std::unique_ptr<Menu> menu = std::move(it->second);
  menus.erase(it);
  for (const MenuItem& item : menu->items)
    if (item.subMenu) destroyLocked(item.subMenu, done);
}

Menu* menuOrError(HMENU handle) {
  Menu* m = findMenuLocked(handle);
  if (!m) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return m;
}

// The item `position` names (by position or by command), with its menu.
MenuItem* itemLocked(HMENU handle, UINT position, UINT flags, Menu** owner = nullptr) {
  Menu* m = menuOrError(handle);
  if (!m) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (position >= m->items.size()) {
      SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
      return nullptr;
    }
    if (owner) *owner = m;
    return &m->items[position];
  }
  ItemPlace place = findCommandLocked(handle, position);
  Menu* holder = findMenuLocked(place.menu);
  if (!holder) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return nullptr;
  }
  if (owner) *owner = holder;
  return &holder->items[place.position];
}

// Fills `item` from the flags and content of AppendMenuA / InsertMenuA / ModifyMenuA.
bool itemFromFlags(MenuItem& item, UINT flags, UINT_PTR id, LPCSTR content) {
  constexpr UINT kTypeBits = MF_MENUBARBREAK | MF_MENUBREAK | MF_RIGHTJUSTIFY;
  constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;
  item.type = flags & kTypeBits;
  item.state = flags & kStateBits;
  item.subMenu = nullptr;
  item.bitmap = nullptr;
  item.text.clear();
  if (flags & MF_POPUP) {
    Menu* sub = findMenuLocked((HMENU)id);
    if (!sub) {
      SetLastError(ERROR_INVALID_MENU_HANDLE);
      return false;
    }
    sub->popup = true;
    item.subMenu = (HMENU)id;
  }
  item.id = (UINT)id;  // a popup's id is its submenu's handle value, as on Windows
  if (flags & MF_SEPARATOR) {
    item.type |= MFT_SEPARATOR;
  } else if (flags & MF_BITMAP) {
    item.type |= MFT_BITMAP;
    item.bitmap = (HBITMAP)content;
  } else if (flags & MF_OWNERDRAW) {
    item.type |= MFT_OWNERDRAW;
    item.data = (ULONG_PTR)content;
  } else if (content) {
    item.text = content;
  } else if (!item.subMenu) {
    item.type |= MFT_SEPARATOR;  // a string item without a string is a separator
  }
  return true;
}

bool validInfoSize(const MENUITEMINFOA* info) {
  // The size without hbmpItem is the older form of the record.
  return info && (info->cbSize == sizeof(MENUITEMINFOA) || info->cbSize == offsetof(MENUITEMINFOA, hbmpItem));
}

// Applies a MENUITEMINFOA to an item (SetMenuItemInfoA, InsertMenuItemA).
bool applyInfoLocked(MenuItem& item, const MENUITEMINFOA& info) {
  UINT mask = info.fMask;
  if ((mask & MIIM_TYPE) && (mask & (MIIM_BITMAP | MIIM_FTYPE | MIIM_STRING))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if ((mask & MIIM_SUBMENU) && info.hSubMenu) {
    Menu* sub = findMenuLocked(info.hSubMenu);
    if (!sub) {
      SetLastError(ERROR_INVALID_MENU_HANDLE);
      return false;
    }
    sub->popup = true;
  }
  if (mask & MIIM_TYPE) {
    item.type = info.fType;
    item.text.clear();
    item.bitmap = nullptr;
    if (info.fType & MFT_BITMAP) item.bitmap = (HBITMAP)info.dwTypeData;
    else if (info.fType & MFT_OWNERDRAW) item.data = (ULONG_PTR)info.dwTypeData;
    else if (!(info.fType & MFT_SEPARATOR) && info.dwTypeData) item.text = info.dwTypeData;
  }
  if (mask & MIIM_FTYPE) item.type = (item.type & MFT_BITMAP) | (info.fType & ~MFT_BITMAP);
  if ((mask & MIIM_STRING) && !(item.type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)))
    item.text = info.dwTypeData ? info.dwTypeData : "";
  if (mask & MIIM_BITMAP) item.bitmap = info.cbSize == sizeof(MENUITEMINFOA) ? info.hbmpItem : nullptr;
  if (mask & MIIM_STATE) item.state = info.fState;
  if (mask & MIIM_ID) item.id = info.wID;
  if (mask & MIIM_SUBMENU) item.subMenu = info.hSubMenu;
  if (mask & MIIM_CHECKMARKS) {
    item.checkedBitmap = info.hbmpChecked;
    item.uncheckedBitmap = info.hbmpUnchecked;
  }
  if (mask & MIIM_DATA) item.data = info.dwItemData;
  return true;
}

int copyText(const std::string& text, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return (int)text.size();
  size_t n = std::min(text.size(), (size_t)size - 1);
  memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return (int)n;
}

bool insertItem(HMENU handle, UINT position, bool byPosition, MenuItem item) {
  Menu* m = menuOrError(handle);
  if (!m) return false;
  if (byPosition || position == (UINT)-1) {
    size_t at = std::min((size_t)position, m->items.size());
    m->items.insert(m->items.begin() + at, std::move(item));
    return true;
  }
  ItemPlace place = findCommandLocked(handle, position);
  Menu* holder = findMenuLocked(place.menu);
  if (!holder) {
    // A command the menu does not hold: the item goes to the end, as on
    // Windows (InsertMenu(menu, 0, MF_STRING, ...) into an empty menu appends).
    m->items.push_back(std::move(item));
    return true;
  }
  holder->items.insert(holder->items.begin() + place.position, std::move(item));
  return true;
}

// Removes an item; `destroy` also destroys the submenu it opens.
BOOL removeItem(HMENU handle, UINT position, UINT flags, bool destroy) {
  std::lock_guard lock(menuMutex());
  Menu* owner = nullptr;
  MenuItem* item = itemLocked(handle, position, flags, &owner);
  if (!item) return FALSE;
  HMENU sub = item->subMenu;
  owner->items.erase(owner->items.begin() + (item - owner->items.data()));
  if (destroy && sub) {
    std::set<HMENU> done;
    destroyLocked(sub, done);
  }
  return TRUE;
}

struct SystemItem {
  UINT id;
  const char* text;
};
constexpr SystemItem kSystemItems[] = {
    {SC_RESTORE, "&Restore"}, {SC_MOVE, "&Move"},         {SC_SIZE, "&Size"}, {SC_MINIMIZE, "Mi&nimize"},
    {SC_MAXIMIZE, "Ma&ximize"}, {0, nullptr},             {SC_CLOSE, "&Close\tAlt+F4"},
};

HMENU makeSystemMenu() {
  HMENU menu = createMenu(true);
  std::lock_guard lock(menuMutex());
  Menu* m = findMenuLocked(menu);
  m->system = true;
  for (const SystemItem& s : kSystemItems) {
    MenuItem item;
    item.id = s.id;
    if (s.text) item.text = s.text;
    else item.type = MFT_SEPARATOR;
    if (s.id == SC_CLOSE) item.state = MFS_DEFAULT;
    m->items.push_back(std::move(item));
  }
  return menu;
}

// Forgets the system menus of windows that are gone.
void sweepSystemMenus() {
  std::vector<HWND> windows;
  {
    std::lock_guard lock(menuMutex());
    for (auto& [hwnd, menu] : table().systemMenus) windows.push_back(hwnd);
  }
  for (HWND hwnd : windows) {
    if (IsWindow(hwnd)) continue;
    std::lock_guard lock(menuMutex());
    auto it = table().systemMenus.find(hwnd);
    if (it == table().systemMenus.end()) continue;
    std::set<HMENU> done;
    destroyLocked(it->second, done);
    table().systemMenus.erase(it);
  }
}

}  // namespace

std::mutex& menuMutex() {
  static std::mutex m;
  return m;
}

Menu* findMenuLocked(HMENU menu) {
  auto& menus = table().menus;
  auto it = menus.find(menu);
  return it == menus.end() ? nullptr : it->second.get();
}

UINT MenuItem::flags() const {
  constexpr UINT kTypeFlags = MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR | MFT_MENUBARBREAK | MFT_MENUBREAK |
                              MFT_RIGHTJUSTIFY | MFT_RADIOCHECK | MFT_RIGHTORDER;
  return (type & kTypeFlags) | state | (subMenu ? MF_POPUP : 0);
}

std::optional<MenuSnapshot> snapshotMenu(HMENU menu) {
  std::lock_guard lock(menuMutex());
  Menu* m = findMenuLocked(menu);
  if (!m) return std::nullopt;
  return MenuSnapshot{m->handle, m->system, m->items};
}

ItemPlace findCommandLocked(HMENU handle, UINT id) {
  std::set<HMENU> seen;
  ItemPlace found;
  auto search = [&](auto&& self, HMENU h) -> bool {
    if (!seen.insert(h).second) return false;
    Menu* m = findMenuLocked(h);
    if (!m) return false;
    for (size_t i = 0; i < m->items.size(); ++i) {
      const MenuItem& item = m->items[i];
      // A popup item's id is its submenu's handle: the submenu is searched first.
      if (item.subMenu && self(self, item.subMenu)) return true;
      if (item.id == id && !item.separator()) {
        found = ItemPlace{h, (int)i};
        return true;
      }
    }
    return false;
  };
  search(search, handle);
  return found;
}

char menuMnemonic(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;  // "&&" is a literal ampersand
      continue;
    }
    return (char)toupper((unsigned char)text[i + 1]);
  }
  return 0;
}

HMENU systemMenuOf(HWND hwnd, bool create) {
  if (!IsWindow(hwnd) || !(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU)) return nullptr;
  {
    std::lock_guard lock(menuMutex());
    auto it = table().systemMenus.find(hwnd);
    if (it != table().systemMenus.end()) return it->second;
  }
  if (!create) return nullptr;
  sweepSystemMenus();
  HMENU menu = makeSystemMenu();
  std::lock_guard lock(menuMutex());
  table().systemMenus[hwnd] = menu;
  return menu;
}

void destroyWindowMenus(HWND hwnd) {
  // A top-level window takes its menu bar with it, as DestroyWindow does on Windows.
  if (!(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
    if (HMENU bar = GetMenu(hwnd)) {
      std::lock_guard lock(menuMutex());
      std::set<HMENU> done;
      destroyLocked(bar, done);
    }
  std::lock_guard lock(menuMutex());
  auto it = table().systemMenus.find(hwnd);
  if (it == table().systemMenus.end()) return;
  std::set<HMENU> done;
  destroyLocked(it->second, done);
  table().systemMenus.erase(it);
}

void refreshSystemMenu(HWND hwnd, HMENU menu) {
  DWORD style = GetWindowLongA(hwnd, GWL_STYLE);
  bool zoomed = IsZoomed(hwnd), iconic = IsIconic(hwnd);
  bool noClose = (GetClassLongA(hwnd, GCL_STYLE) & CS_NOCLOSE) != 0;
  auto gray = [](bool off) { return off ? (UINT)MF_GRAYED : (UINT)MF_ENABLED; };
  EnableMenuItem(menu, SC_RESTORE, gray(!zoomed && !iconic));
  EnableMenuItem(menu, SC_MOVE, gray(zoomed));
  EnableMenuItem(menu, SC_SIZE, gray(zoomed || iconic || !(style & WS_THICKFRAME)));
  EnableMenuItem(menu, SC_MINIMIZE, gray(iconic || !(style & WS_MINIMIZEBOX)));
  EnableMenuItem(menu, SC_MAXIMIZE, gray(zoomed || !(style & WS_MAXIMIZEBOX)));
  EnableMenuItem(menu, SC_CLOSE, gray(noClose));
}

}  // namespace win32::user

using namespace win32::user;

extern "C" HMENU WINAPI CreateMenu(void) { return createMenu(false); }
extern "C" HMENU WINAPI CreatePopupMenu(void) { return createMenu(true); }

extern "C" BOOL WINAPI DestroyMenu(HMENU menu) {
  std::lock_guard lock(menuMutex());
  if (!menuOrError(menu)) return FALSE;
  std::set<HMENU> done;
  destroyLocked(menu, done);
  for (auto it = table().systemMenus.begin(); it != table().systemMenus.end();)
    it = it->second == menu ? table().systemMenus.erase(it) : std::next(it);
  return TRUE;
}

extern "C" BOOL WINAPI IsMenu(HMENU menu) {
  std::lock_guard lock(menuMutex());
  return findMenuLocked(menu) != nullptr;
}

extern "C" BOOL WINAPI InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR content) {
  std::lock_guard lock(menuMutex());
  MenuItem item;
  if (!findMenuLocked(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  if (!itemFromFlags(item, flags, id, content)) return FALSE;
  return insertItem(menu, position, (flags & MF_BYPOSITION) != 0, std::move(item));
}

extern "C" BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR content) {
  return InsertMenuA(menu, (UINT)-1, (flags & ~MF_BYCOMMAND) | MF_BYPOSITION, id, content);
}

extern "C" BOOL WINAPI InsertMenuItemA(HMENU menu, UINT position, BOOL byPosition, LPCMENUITEMINFOA info) {
  if (!validInfoSize(info)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(menuMutex());
  if (!menuOrError(menu)) return FALSE;
  MenuItem item;
  if (!applyInfoLocked(item, *info)) return FALSE;
  return insertItem(menu, position, byPosition, std::move(item));
}

extern "C" BOOL WINAPI ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR content) {
  std::lock_guard lock(menuMutex());
  MenuItem* item = itemLocked(menu, position, flags);
  if (!item) return FALSE;
  MenuItem changed = *item;
  if (!itemFromFlags(changed, flags & ~MF_BYPOSITION, id, content)) return FALSE;
  // A submenu that the item no longer opens is destroyed, as Windows does.
  if (item->subMenu && item->subMenu != changed.subMenu) {
    std::set<HMENU> done;
    HMENU old = item->subMenu;
    *item = std::move(changed);
    destroyLocked(old, done);
  } else {
    *item = std::move(changed);
  }
  return TRUE;
}

extern "C" BOOL WINAPI DeleteMenu(HMENU menu, UINT position, UINT flags) {
  return removeItem(menu, position, flags, true);
}

extern "C" BOOL WINAPI RemoveMenu(HMENU menu, UINT position, UINT flags) {
  return removeItem(menu, position, flags, false);
}

extern "C" HMENU WINAPI GetSubMenu(HMENU menu, int position) {
  std::lock_guard lock(menuMutex());
  Menu* m = menuOrError(menu);
  if (!m || position < 0 || (size_t)position >= m->items.size()) return nullptr;
  return m->items[position].subMenu;
}

extern "C" int WINAPI GetMenuItemCount(HMENU menu) {
  std::lock_guard lock(menuMutex());
  Menu* m = menuOrError(menu);
  return m ? (int)m->items.size() : -1;
}

extern "C" UINT WINAPI GetMenuItemID(HMENU menu, int position) {
  std::lock_guard lock(menuMutex());
  Menu* m = menuOrError(menu);
  if (!m || position < 0 || (size_t)position >= m->items.size()) return (UINT)-1;
  const MenuItem& item = m->items[position];
  return item.subMenu ? (UINT)-1 : item.id;
}

extern "C" UINT WINAPI GetMenuState(HMENU menu, UINT id, UINT flags) {
  std::lock_guard lock(menuMutex());
  MenuItem* item = itemLocked(menu, id, flags);
  if (!item) return (UINT)-1;
  if (item->subMenu) {
    // A popup answers its flags in the low byte and its item count in the high byte.
    Menu* sub = findMenuLocked(item->subMenu);
    UINT count = sub ? (UINT)sub->items.size() : 0;
    return ((count & 0xFF) << 8) | (item->flags() & 0xFF);
  }
  return item->flags();
}

extern "C" int WINAPI GetMenuStringA(HMENU menu, UINT id, LPSTR buffer, int size, UINT flags) {
  std::lock_guard lock(menuMutex());
  if (buffer && size > 0) buffer[0] = 0;
  MenuItem* item = itemLocked(menu, id, flags);
  if (!item || (item->type & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR))) return 0;
  return copyText(item->text, buffer, size);
}

extern "C" BOOL WINAPI GetMenuItemInfoA(HMENU menu, UINT position, BOOL byPosition, LPMENUITEMINFOA info) {
  if (!validInfoSize(info) || ((info->fMask & MIIM_TYPE) && (info->fMask & (MIIM_BITMAP | MIIM_FTYPE | MIIM_STRING)))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(menuMutex());
  MenuItem* item = itemLocked(menu, position, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!item) return FALSE;
  UINT mask = info->fMask;
  bool textual = !(item->type & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR));
  if (mask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = item->type;
  if ((mask & MIIM_TYPE) && !textual) {
    info->dwTypeData = (item->type & MFT_BITMAP) ? (LPSTR)item->bitmap : nullptr;
    info->cch = 0;
  } else if (mask & (MIIM_TYPE | MIIM_STRING)) {
    // Without a buffer (or of size 0) the length is answered.
    if (!textual) {
      if (info->dwTypeData && info->cch) info->dwTypeData[0] = 0;
      info->cch = 0;
    } else if (!info->dwTypeData || info->cch == 0) {
      info->cch = (UINT)item->text.size();
    } else {
      info->cch = (UINT)copyText(item->text, info->dwTypeData, (int)info->cch);
    }
  }
  if (mask & MIIM_STATE) info->fState = item->state;
  if (mask & MIIM_ID) info->wID = item->id;
  if (mask & MIIM_SUBMENU) info->hSubMenu = item->subMenu;
  if (mask & MIIM_CHECKMARKS) {
    info->hbmpChecked = item->checkedBitmap;
    info->hbmpUnchecked = item->uncheckedBitmap;
  }
  if (mask & MIIM_DATA) info->dwItemData = item->data;
  if ((mask & MIIM_BITMAP) && info->cbSize == sizeof(MENUITEMINFOA)) info->hbmpItem = item->bitmap;
  return TRUE;
}

extern "C" BOOL WINAPI SetMenuItemInfoA(HMENU menu, UINT position, BOOL byPosition, LPCMENUITEMINFOA info) {
  if (!validInfoSize(info)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(menuMutex());
  MenuItem* item = itemLocked(menu, position, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!item) return FALSE;
  MenuItem changed = *item;
  if (!applyInfoLocked(changed, *info)) return FALSE;
  *item = std::move(changed);
  return TRUE;
}

extern "C" DWORD WINAPI CheckMenuItem(HMENU menu, UINT id, UINT check) {
  std::lock_guard lock(menuMutex());
  MenuItem* item = itemLocked(menu, id, check);
  if (!item) return (DWORD)-1;
  DWORD previous = item->state & MF_CHECKED;
  item->state = (item->state & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

extern "C" BOOL WINAPI EnableMenuItem(HMENU menu, UINT id, UINT enable) {
  std::lock_guard lock(menuMutex());
  MenuItem* item = itemLocked(menu, id, enable);
  if (!item) return -1;  // Windows answers -1 (a BOOL that is not FALSE) for a missing item
  UINT previous = item->state & (MF_GRAYED | MF_DISABLED);
  item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return (BOOL)previous;
}

extern "C" BOOL WINAPI CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  std::lock_guard lock(menuMutex());
  Menu* m = menuOrError(menu);
  if (!m) return FALSE;
  size_t from, to, chosen;
  if (flags & MF_BYPOSITION) {
    from = first;
    to = last;
    chosen = check;
  } else {
    // By command the three ids are looked up in the menu that holds the checked one.
    ItemPlace place = findCommandLocked(menu, check);
    m = findMenuLocked(place.menu);
    if (!m) {
      SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
      return FALSE;
    }
    auto positionOf = [&](UINT id) {
      for (size_t i = 0; i < m->items.size(); ++i)
        if (m->items[i].id == id) return i;
      return m->items.size();
    };
    from = positionOf(first);
    to = positionOf(last);
    chosen = (size_t)place.position;
  }
  if (from > to || to >= m->items.size() || chosen < from || chosen > to) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  for (size_t i = from; i <= to; ++i) {
    MenuItem& item = m->items[i];
    if (item.separator()) continue;
    if (i == chosen) {
      item.type |= MFT_RADIOCHECK;
      item.state |= MFS_CHECKED;
    } else {
      item.state &= ~MFS_CHECKED;
    }
  }
  return TRUE;
}

extern "C" BOOL WINAPI HiliteMenuItem(HWND hwnd, HMENU menu, UINT id, UINT hilite) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  {
    std::lock_guard lock(menuMutex());
    MenuItem* item = itemLocked(menu, id, hilite);
    if (!item) return FALSE;
    item->state = (item->state & ~MF_HILITE) | (hilite & MF_HILITE);
  }
  if (GetMenu(hwnd) == menu) DrawMenuBar(hwnd);
  return TRUE;
}

extern "C" UINT WINAPI GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags) {
  std::lock_guard lock(menuMutex());
  std::set<HMENU> seen;
  auto search = [&](auto&& self, HMENU h) -> UINT {
    Menu* m = findMenuLocked(h);
    if (!m || !seen.insert(h).second) return (UINT)-1;
    for (size_t i = 0; i < m->items.size(); ++i) {
      const MenuItem& item = m->items[i];
      if (!(item.state & MFS_DEFAULT)) continue;
      if (!item.enabled() && !(flags & GMDI_USEDISABLED)) return (UINT)-1;
      if (item.subMenu && (flags & GMDI_GOINTOPOPUPS)) {
        UINT inner = self(self, item.subMenu);
        if (inner != (UINT)-1) return inner;
      }
      return byPosition ? (UINT)i : item.id;
    }
    return (UINT)-1;
  };
  if (!menuOrError(menu)) return (UINT)-1;
  return search(search, menu);
}

extern "C" BOOL WINAPI SetMenuDefaultItem(HMENU menu, UINT position, UINT byPosition) {
  std::lock_guard lock(menuMutex());
  Menu* m = menuOrError(menu);
  if (!m) return FALSE;
  // Only the menu itself is searched; (UINT)-1 leaves it without a default item.
  size_t chosen = m->items.size();
  if (position != (UINT)-1) {
    for (size_t i = 0; i < m->items.size(); ++i)
      if (byPosition ? i == position : m->items[i].id == position) {
        chosen = i;
        break;
      }
    if (chosen == m->items.size()) {
      SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
      return FALSE;
    }
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    if (i == chosen) m->items[i].state |= MFS_DEFAULT;
    else m->items[i].state &= ~MFS_DEFAULT;
  }
  return TRUE;
}

extern "C" BOOL WINAPI SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked) {
  std::lock_guard lock(menuMutex());
  MenuItem* item = itemLocked(menu, position, flags);
  if (!item) return FALSE;
  item->checkedBitmap = checked;
  item->uncheckedBitmap = unchecked;
  return TRUE;
}

extern "C" LONG WINAPI GetMenuCheckMarkDimensions(void) {
  return MAKELONG(GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK));
}

extern "C" HMENU WINAPI GetSystemMenu(HWND hwnd, BOOL revert) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (revert) {
    // Back to the standard menu: the window's copy goes; the next request makes a new one.
    HMENU copy = systemMenuOf(hwnd, false);
    if (copy) DestroyMenu(copy);
    return nullptr;
  }
  return systemMenuOf(hwnd, true);
}
