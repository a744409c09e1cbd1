// Menus from resources: the MENU form (version 0) and the MENUEX form (version 1).
//
// MENU: WORD version 0, WORD header size, then items: WORD flags, a WORD id
// unless MF_POPUP, the UTF-16 text; a popup's items follow it, and MF_END
// (0x80) marks the last item of each level. MENUEX: WORD version 1, WORD
// offset of the items from after it, DWORD help id, then DWORD-aligned items:
// DWORD type, DWORD state, DWORD id, WORD flags (0x01 popup, 0x80 last), the
// text; a popup continues with its DWORD help id and its items.
#include "menu.h"
#include "templatereader.h"

namespace win32::user {
namespace {

constexpr WORD kResourceEnd = 0x80;    // MF_END in a MENU resource
constexpr WORD kExPopup = 0x01;        // MENUEX item flags
constexpr WORD kExLast = 0x80;
constexpr int kMaxDepth = 32;          // deeper nesting is taken for corrupt data

bool readStandardItems(TemplateReader& in, HMENU menu, int depth) {
  if (depth > kMaxDepth) return false;
  for (;;) {
    WORD flags = in.word();
    WORD id = (flags & MF_POPUP) ? 0 : in.word();
    std::string text = in.string();
    if (!in.ok()) return false;
    UINT itemFlags = flags & ~(kResourceEnd | MF_POPUP);
    bool ok;
    if (flags & MF_POPUP) {
      HMENU sub = CreatePopupMenu();
      if (!readStandardItems(in, sub, depth + 1)) {
        DestroyMenu(sub);
        return false;
      }
      ok = AppendMenuA(menu, itemFlags | MF_POPUP | MF_STRING, (UINT_PTR)sub, text.c_str());
    } else if (id == 0 && text.empty() && !(flags & (MF_BITMAP | MF_OWNERDRAW))) {
      ok = AppendMenuA(menu, itemFlags | MF_SEPARATOR, 0, nullptr);  // MENUITEM SEPARATOR
    } else {
      ok = AppendMenuA(menu, itemFlags | MF_STRING, id, text.c_str());
    }
    if (!ok) return false;
    if (flags & kResourceEnd) return true;
  }
}

bool readExtendedItems(TemplateReader& in, HMENU menu, int depth) {
  if (depth > kMaxDepth) return false;
  for (;;) {
    in.align(4);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fType = in.dword();
    info.fState = in.dword();
    info.wID = in.dword();
    WORD flags = in.word();
    std::string text = in.string();
    if (!in.ok()) return false;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
    if (!(info.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW))) {
      info.fMask |= MIIM_STRING;
      info.dwTypeData = text.data();
    }
    HMENU sub = nullptr;
    if (flags & kExPopup) {
      in.align(4);
      in.dword();  // the popup's help id
      sub = CreatePopupMenu();
      if (!in.ok() || !readExtendedItems(in, sub, depth + 1)) {
        DestroyMenu(sub);
        return false;
      }
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = sub;
    }
    if (!InsertMenuItemA(menu, (UINT)-1, TRUE, &info)) {
      if (sub) DestroyMenu(sub);
      return false;
    }
    if (flags & kExLast) return true;
  }
}

}  // namespace

HMENU menuFromTemplate(const void* data, size_t size) {
  TemplateReader in(data, size);
  WORD version = in.word();
  WORD offset = in.word();
  if (!in.ok() || version > 1) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  HMENU menu = CreateMenu();
  bool ok;
  if (version == 0) {
    in.skip(offset);
    ok = in.ok() && (in.atEnd() || readStandardItems(in, menu, 0));
  } else {
    in.skip(offset);  // the offset counts from after its own field
    ok = in.ok() && (in.atEnd() || readExtendedItems(in, menu, 0));
  }
  if (!ok) {
    DestroyMenu(menu);
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return menu;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" HMENU WINAPI LoadMenuIndirectA(const MENUTEMPLATEA* menuTemplate) {
  if (!menuTemplate) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return menuFromTemplate(menuTemplate, SIZE_MAX);
}

extern "C" HMENU WINAPI LoadMenuA(HINSTANCE instance, LPCSTR name) {
  HRSRC info = FindResourceA(instance, name, RT_MENU);
  if (!info) return nullptr;
  const void* data = LockResource(LoadResource(instance, info));
  if (!data) return nullptr;
  return menuFromTemplate(data, SizeofResource(instance, info));
}
