// Dropping the combo's list and closing it again, the mouse hook that closes
// it on a press elsewhere, the layout of face and list, the drop button, the
// list's class handler ("Drop") and the face's subclass procedure.
//
// One combo of the process is dropped down at a time: the library keeps it,
// its list and its face, and the hook, while it is.
#include <algorithm>
#include <string_view>

#include "combobox.h"
#include "drawing.h"
#include "library.h"
#include "nwiresource.h"

namespace {

struct Dropped {
  HWND combo = nullptr;
  HWND list = nullptr;
  HWND face = nullptr;
  HHOOK hook = nullptr;
};
Dropped dropped;

constexpr int kEditGap = 7;  // pixels between an editable face and the button, and the list's indent

bool dropDownStyle(const HCRecord* r) { return (r->head.style & HCS_DROPDOWN) != 0; }

LRESULT CALLBACK mouseHook(int code, WPARAM message, LPARAM lParam) {
  const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
  const bool press = message == WM_LBUTTONDOWN || message == WM_NCLBUTTONDOWN;
  if (code >= 0 && press && info != nullptr && dropped.combo != nullptr) {
    HWND target = info->hwnd;
    if (target != dropped.combo && target != dropped.list && target != dropped.face) {
      HWND combo = dropped.combo;
      HCCloseUp(HCRecordOf(combo), combo);
    }
  }
  return CallNextHookEx(nullptr, code, message, lParam);
}

void installHook(HCRecord* r) {
  dropped.combo = r->head.window;
  dropped.list = r->list;
  dropped.face = r->face;
  if (dropped.hook == nullptr) dropped.hook = SetWindowsHookExA(WH_MOUSE, mouseHook, nullptr, GetCurrentThreadId());
}

void removeHook() {
  if (dropped.hook != nullptr) UnhookWindowsHookEx(dropped.hook);
  dropped = {};
}

// Where the dropped list goes on the screen.
RECT dropRect(HCRecord* r) {
  RECT combo;
  GetWindowRect(r->head.window, &combo);
  RECT rect;
  rect.left = combo.left + (HCEditable(r) ? kEditGap : 0);
  rect.right = r->dropWidth > 0 ? combo.left + r->dropWidth : combo.right;
  rect.top = combo.bottom;
  rect.bottom = rect.top + r->dropHeight;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (rect.bottom > screenHeight) {
    if (combo.bottom > screenHeight / 2) {
      rect.bottom = combo.top;
      rect.top = rect.bottom - r->dropHeight;
    } else {
      rect.bottom = screenHeight;
    }
  }
  if (rect.top < 0) rect.top = 0;
  if (rect.right > screenWidth) OffsetRect(&rect, screenWidth - rect.right, 0);
  if (rect.left < 0) OffsetRect(&rect, -rect.left, 0);
  return rect;
}

}  // namespace

RECT HCButtonRect(HCRecord* r) {
  RECT client;
  GetClientRect(r->head.window, &client);
  client.left = std::max<LONG>(client.right - GetSystemMetrics(SM_CXVSCROLL), 0);
  return client;
}

void HCLayout(HCRecord* r) {
  if (r->face == nullptr || r->list == nullptr) return;
  RECT client;
  GetClientRect(r->head.window, &client);
  const bool frame = (r->head.style & HCS_3DFRAME) != 0;
  int faceWidth = client.right;
  int faceHeight = HIWORD(HCtlAvgCharSize(r->head.font)) + 8 - (frame ? 0 : 2);
  if (dropDownStyle(r)) {
    faceWidth -= GetSystemMetrics(SM_CXVSCROLL) + (HCEditable(r) ? kEditGap : 0);
    faceHeight = client.bottom;
  }
  MoveWindow(r->face, 0, 0, std::max(faceWidth, 0), std::max(faceHeight, 0), TRUE);
  if (!dropDownStyle(r)) {
    const int top = faceHeight - (frame ? 0 : 1);
    MoveWindow(r->list, kEditGap, top, std::max<int>(client.right - kEditGap, 0), r->dropHeight + (frame ? 0 : 1), TRUE);
  }
}

void HCDrawButton(HWND window, HDC dc, BOOL pressed) {
  HCRecord* r = HCRecordOf(window);
  if (r == nullptr || !dropDownStyle(r)) return;
  HDC target = dc ? dc : GetDC(window);
  if (target == nullptr) return;
  RECT button = HCButtonRect(r);
  int id = IDB_HCOMBODROP + (IsWindowEnabled(window) ? 0 : 2) + (GetSystemMetrics(SM_CXSCREEN) > 1000 ? 1 : 0);
  HBITMAP arrow = LoadBitmapA(HCtlLibraryModule(), MAKEINTRESOURCEA(id));
  HCtlDrawButtonFace(window, target, &button, 1, 64 | (pressed ? HCTL_FACE_PUSHED : 0), nullptr, nullptr, arrow,
                     RGB(0, 255, 0));
  if (arrow) DeleteObject(arrow);
  // A grid's combo editor fills the gap left of the button with its grid's brush.
  HWND parent = GetParent(window);
  if (HCEditable(r) && parent != nullptr && r->head.notifyTarget == parent) {
    if (HCtlClassHasSuffix(parent, "Grid")) {
      RECT gap = HCButtonRect(r);
      gap.right = gap.left;
      gap.left -= kEditGap;
      auto brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, KYM_LISTGETBKBRUSH, 0, 0));
      FillRect(target, &gap, brush ? brush : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
  }
  if (dc == nullptr) ReleaseDC(window, target);
}

void HCDropDown(HWND window) {
  HCRecord* r = HCRecordOf(window);
  if (r == nullptr || !dropDownStyle(r) || !IsWindowVisible(window) || (r->head.flags & HCF_DROPPED)) return;
  if (dropped.combo != nullptr && dropped.combo != window) HCCloseUp(HCRecordOf(dropped.combo), dropped.combo);
  const RECT rect = dropRect(r);
  HCtlNotify(&r->head, HC_N_DROPDOWN);
  if (HCRecordOf(window) != r) return;
  installHook(r);
  SetWindowPos(r->list, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (r->listRecord->current >= 0) SendMessageA(r->list, KYM_LISTSETCURRENT, static_cast<WPARAM>(r->listRecord->current), 0);
  r->head.flags |= HCF_DROPPED;
}

void HCCloseUp(HCRecord* r, HWND window) {
  if (r == nullptr) r = HCRecordOf(window);
  if (r == nullptr || !(r->head.flags & HCF_DROPPED)) return;
  r->head.flags &= ~HCF_DROPPED;
  SetWindowPos(r->list, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  if (r->head.flags & HCF_DIFFERS) HCSync(r, 0, FALSE);
  if (dropped.combo == r->head.window) removeHook();
  HCtlNotify(&r->head, HC_N_CLOSEUP);
}

void HCToggle(HCRecord* r) {
  if (r->head.flags & HCF_DROPPED) HCCloseUp(r, r->head.window);
  else HCDropDown(r->head.window);
}

LRESULT HCDropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* head) {
  auto face = [window] { return reinterpret_cast<HWND>(GetWindowLongPtrA(window, sizeof(LONG_PTR))); };
  switch (message) {
    case WM_CREATE: {
      auto* r = reinterpret_cast<HLRecord*>(head);
      if (r != nullptr && GetParent(window) == GetDesktopWindow() && r->focusBrush != nullptr) r->backBrush = r->focusBrush;
      *passOn = TRUE;
      return 0;
    }
    case WM_MOUSEACTIVATE:
      if (face() != nullptr && GetFocus() != face()) SetFocus(face());
      return MA_NOACTIVATE;
    case WM_LBUTTONUP: {
      const LRESULT result = HLProc(window, message, wParam, lParam, passOn, head);
      HCRecord* combo = HCRecordOf(head ? head->notifyTarget : nullptr);
      if (combo == nullptr || combo->list != window) return result;
      if (combo->head.flags & HCF_DROPPED) HCCloseUp(combo, combo->head.window);
      else if (combo->head.flags & HCF_DIFFERS) HCSync(combo, 0, FALSE);
      return result;
    }
    default: return HLProc(window, message, wParam, lParam, passOn, head);
  }
}

LRESULT CALLBACK HCFaceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND comboWindow = GetParent(window);
  HCRecord* r = HCRecordOf(comboWindow);
  if (r == nullptr || r->faceProc == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  const WNDPROC own = r->faceProc;
  switch (message) {
    case WM_SETFOCUS: case WM_KILLFOCUS: {
      CallWindowProcA(own, window, message, wParam, lParam);
      if (IsWindow(comboWindow))
        SendMessageA(comboWindow, message == WM_SETFOCUS ? KYM_COMBOFACEFOCUS : KYM_COMBOFACEBLUR, 0, 0);
      return 0;
    }
    case WM_GETDLGCODE: return SendMessageA(comboWindow, message, wParam, lParam);
    case WM_KEYDOWN:
      if (SendMessageA(comboWindow, message, wParam, lParam) != 0) return 0;
      return CallWindowProcA(own, window, message, wParam, lParam);
    case WM_SYSKEYDOWN:
      SendMessageA(comboWindow, KYM_COMBOSYSKEY, wParam, lParam);
      return CallWindowProcA(own, window, message, wParam, lParam);
    default: return CallWindowProcA(own, window, message, wParam, lParam);
  }
}
