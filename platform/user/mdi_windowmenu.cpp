// The window menu of an MDI frame: below a separator, one entry per child
// ("&1 Title" ... "&9 Title") with the child's id, the active one checked;
// a tenth and later children are reached through "&More Windows...".
#include "mdi.h"

#include <algorithm>
#include <string>

namespace win32::user {
namespace {

constexpr size_t kListed = 9;

bool isChildEntry(const MdiClient& client, UINT id) {
  return id != (UINT)-1 && id >= client.firstChildId && id <= client.idOf(kListed);
}

std::string titleOf(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  std::string text((size_t)length + 1, '\0');
  GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize((size_t)length);
  return text;
}

}  // namespace

void clearWindowMenu(MdiClient& client) {
  HMENU menu = client.windowMenu;
  if (!menu || !IsMenu(menu)) return;
  for (int pos = GetMenuItemCount(menu) - 1; pos >= 0; --pos) {
    if (!isChildEntry(client, GetMenuItemID(menu, pos))) continue;
    DeleteMenu(menu, (UINT)pos, MF_BYPOSITION);
    // The separator the list added goes with its first entry.
    bool separatorBefore = pos > 0 && (GetMenuState(menu, (UINT)pos - 1, MF_BYPOSITION) & MF_SEPARATOR);
    bool entryAfter = pos < GetMenuItemCount(menu) && isChildEntry(client, GetMenuItemID(menu, pos));
    if (separatorBefore && !entryAfter && (pos < 2 || !isChildEntry(client, GetMenuItemID(menu, pos - 2)))) {
      DeleteMenu(menu, (UINT)pos - 1, MF_BYPOSITION);
      --pos;
    }
  }
}

void refreshWindowMenu(MdiClient& client) {
  HMENU menu = client.windowMenu;
  if (!menu || !IsMenu(menu)) return;
  clearWindowMenu(client);
  std::vector<HWND> shown;
  for (HWND child : client.children)
    if (IsWindow(child) && IsWindowVisible(child)) shown.push_back(child);
  if (shown.empty()) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  // The active child is always among the listed ones.
  if (client.active && shown.size() > kListed) {
    auto it = std::find(shown.begin(), shown.end(), client.active);
    if (it != shown.end() && it - shown.begin() >= (long)kListed) std::iter_swap(shown.begin() + kListed - 1, it);
  }
  for (size_t i = 0; i < std::min(shown.size(), kListed); ++i) {
    std::string text = "&" + std::to_string(i + 1) + " " + titleOf(shown[i]);
    UINT id = (UINT)GetWindowLongPtrA(shown[i], GWLP_ID);
    AppendMenuA(menu, MF_STRING | (shown[i] == client.active ? MF_CHECKED : MF_UNCHECKED), id, text.c_str());
  }
  if (shown.size() > kListed) AppendMenuA(menu, MF_STRING, client.idOf(kListed), "&More Windows...");
}

}  // namespace win32::user
