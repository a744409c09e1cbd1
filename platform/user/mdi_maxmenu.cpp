// The maximized MDI child's controls in the frame's menu bar: its system
// menu as the first item (shown as the child's icon) and minimize, restore
// and close buttons at the right. Their commands come to the frame as
// WM_COMMAND with SC_* ids, which DefFrameProcA passes to the child as
// WM_SYSCOMMAND.
#include "mdi.h"

namespace win32::user {
namespace {

enum Control { kSystem, kMinimize, kRestore, kClose };

HBITMAP makeBitmap(Control control, HWND child) {
  int size = GetSystemMetrics(SM_CYMENU) - 2;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  ReleaseDC(nullptr, screen);
  if (!dc || !bitmap) {
    if (dc) DeleteDC(dc);
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT r{0, 0, size, size};
  FillRect(dc, &r, GetSysColorBrush(COLOR_MENU));
  if (control == kSystem) {
    HICON icon = (HICON)GetClassLongPtrA(child, GCLP_HICONSM);
    if (!icon) icon = (HICON)GetClassLongPtrA(child, GCLP_HICON);
    if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
    DrawIconEx(dc, 1, 1, icon, size - 2, size - 2, 0, nullptr, DI_NORMAL);
  } else {
    static constexpr UINT kKinds[] = {0, DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
    DrawFrameControl(dc, &r, DFC_CAPTION, kKinds[control]);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

}  // namespace

void removeMaximizedControls(MdiClient& client) {
  HMENU bar = client.controlsMenu;
  HWND child = client.controlsChild;
  client.controlsMenu = nullptr;
  client.controlsChild = nullptr;
  if (!bar || !IsMenu(bar)) return;
  // The system menu is the child's: it leaves the bar without being destroyed.
  HMENU system = child && IsWindow(child) ? GetSystemMenu(child, FALSE) : nullptr;
  if (GetMenuItemCount(bar) > 0 && (!system || GetSubMenu(bar, 0) == system)) RemoveMenu(bar, 0, MF_BYPOSITION);
  for (UINT command : {(UINT)SC_MINIMIZE, (UINT)SC_RESTORE, (UINT)SC_CLOSE}) DeleteMenu(bar, command, MF_BYCOMMAND);
  if (client.frame && GetMenu(client.frame) == bar) DrawMenuBar(client.frame);
}

void showMaximizedControls(MdiClient& client) {
  HMENU bar = client.frame ? GetMenu(client.frame) : nullptr;
  HWND child = client.maximized;
  if (client.controlsMenu == bar && client.controlsChild == child && bar) return;
  removeMaximizedControls(client);
  if (!bar || !child) return;
  HMENU system = GetSystemMenu(child, FALSE);
  if (!system) return;
  if (client.controlBitmaps[kSystem]) DeleteObject(client.controlBitmaps[kSystem]);
  client.controlBitmaps[kSystem] = makeBitmap(kSystem, child);  // the icon of this child
  for (Control c : {kMinimize, kRestore, kClose})
    if (!client.controlBitmaps[c]) client.controlBitmaps[c] = makeBitmap(c, child);
  InsertMenuA(bar, 0, MF_BYPOSITION | MF_POPUP | MF_BITMAP, (UINT_PTR)system, (LPCSTR)client.controlBitmaps[kSystem]);
  AppendMenuA(bar, MF_BITMAP | MF_RIGHTJUSTIFY, SC_MINIMIZE, (LPCSTR)client.controlBitmaps[kMinimize]);
  AppendMenuA(bar, MF_BITMAP, SC_RESTORE, (LPCSTR)client.controlBitmaps[kRestore]);
  AppendMenuA(bar, MF_BITMAP, SC_CLOSE, (LPCSTR)client.controlBitmaps[kClose]);
  client.controlsMenu = bar;
  client.controlsChild = child;
  DrawMenuBar(client.frame);
}

void freeControlBitmaps(MdiClient& client) {
  for (HBITMAP& b : client.controlBitmaps) {
    if (b) DeleteObject(b);
    b = nullptr;
  }
}

}  // namespace win32::user
