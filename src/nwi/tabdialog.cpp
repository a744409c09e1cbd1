// IsTabDlgMessage: dialog-message handling for a dialog that embeds a tab
// page (a child window holding the controls of the current tab). The page's
// controls join the dialog's Tab order right after the tab control, and
// Alt+mnemonics reach controls on the page as well as on the dialog.
#include <cctype>
#include <cstring>

#include "kymessages.h"
#include "ravlets.h"

namespace {

bool backwards() { return GetKeyState(VK_SHIFT) < 0; }

// The page's direct child that holds (or is) `focus`.
HWND pageChildOf(HWND page, HWND focus) {
  HWND child = focus;
  while (child != nullptr && GetParent(child) != page) child = GetParent(child);
  return child;
}

// Whether walking the page's children from `from` in the direction reaches
// `target` before the end (a wrap means the Tab leaves the page).
bool reachedInDirection(HWND from, HWND target, bool backward) {
  for (HWND w = GetWindow(from, backward ? GW_HWNDPREV : GW_HWNDNEXT); w != nullptr;
       w = GetWindow(w, backward ? GW_HWNDPREV : GW_HWNDNEXT))
    if (w == target) return true;
  return false;
}

void focusInPage(HWND page, HWND target) {
  if (target != nullptr) SendMessageA(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

BOOL handleTab(HWND dialog, HWND page, int tabId, bool* fallThrough) {
  const bool backward = backwards();
  HWND tab = GetDlgItem(dialog, tabId);
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(page, focus)) {
    HWND child = pageChildOf(page, focus);
    const LRESULT code = SendMessageA(child, WM_GETDLGCODE, 0, 0);
    if ((code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) != 0) {
      *fallThrough = true;
      return FALSE;
    }
    HWND next = GetNextDlgTabItem(page, child, backward);
    if (next != nullptr && next != child && reachedInDirection(child, next, backward)) {
      focusInPage(page, next);
    } else {
      HWND target = backward ? tab : GetNextDlgTabItem(dialog, tab, FALSE);
      if (target != nullptr) SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    }
    return TRUE;
  }
  if (tab != nullptr && focus == tab) {
    const bool onlyStop = GetNextDlgTabItem(dialog, tab, FALSE) == tab;
    if (!backward || onlyStop) {
      SetFocus(page);
      focusInPage(page, GetNextDlgTabItem(page, nullptr, backward ? TRUE : FALSE));
      return TRUE;
    }
    *fallThrough = true;  // backward from the tab control: the dialog's own order (IsTabDlgMessage)
    return FALSE;
  }
  if (backward && tab != nullptr && focus != nullptr && IsChild(dialog, focus) &&
      GetNextDlgTabItem(dialog, focus, TRUE) == tab) {
    SetFocus(page);
    focusInPage(page, GetNextDlgTabItem(page, nullptr, TRUE));
    return TRUE;
  }
  *fallThrough = true;
  return FALSE;
}

bool pageHasDefaultButton(HWND page) {
  const LRESULT answer = SendMessageA(page, DM_GETDEFID, 0, 0);
  if (HIWORD(answer) != DC_HASDEFID || LOWORD(answer) == 0) return false;
  return GetDlgItem(page, LOWORD(answer)) != nullptr;
}

// The Alt+mnemonic search over the dialog's windows, starting after the
// window of the message and wrapping round to it.
struct MnemonicSearch {
  HWND start;
  UINT key;
  bool passedStart;
  bool done;
};

bool isPlainStaticWithoutPrefix(HWND window) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, "STATIC") == 0 && (GetWindowLongA(window, GWL_STYLE) & SS_NOPREFIX) != 0;
}

bool mnemonicMatches(HWND window, UINT key) {
  if (!IsWindowVisible(window)) return false;
  char text[64] = {};
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  const char* amp = std::strchr(text, '&');
  return amp != nullptr && amp[1] != '\0' &&
         static_cast<UINT>(std::toupper(static_cast<unsigned char>(amp[1]))) == key;
}

// TRUE when the search ends at `window`.
bool tryMnemonic(HWND window, UINT key) {
  if (!mnemonicMatches(window, key)) return false;
  const LRESULT code = SendMessageA(window, WM_GETDLGCODE, 0, 0);
  HWND target = window;
  if (code & DLGC_BUTTON) {
    SendMessageA(window, KYM_BUTTONCLICK, 0, 0);
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) return true;  // a push button acts, focus stays
  } else if (code & DLGC_STATIC) {
    if (isPlainStaticWithoutPrefix(window)) return false;
    target = GetNextDlgTabItem(GetParent(window), window, FALSE);  // the control the label names
    if (target == nullptr) return false;
  }
  SendMessageA(GetParent(target), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
  return true;
}

BOOL CALLBACK afterStart(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<MnemonicSearch*>(data);
  if (!search->passedStart) {
    search->passedStart = window == search->start;
    return TRUE;
  }
  if (tryMnemonic(window, search->key)) {
    search->done = true;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK beforeStart(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<MnemonicSearch*>(data);
  if (tryMnemonic(window, search->key)) {
    search->done = true;
    return FALSE;
  }
  return window != search->start;  // wrapped round to where the first pass began
}

bool searchMnemonic(HWND dialog, const MSG* msg) {
  MnemonicSearch search{msg->hwnd, static_cast<UINT>(msg->wParam), false, false};
  EnumChildWindows(dialog, afterStart, reinterpret_cast<LPARAM>(&search));
  if (!search.done) EnumChildWindows(dialog, beforeStart, reinterpret_cast<LPARAM>(&search));
  return search.done;
}

}  // namespace

BOOL WINAPI IsTabDlgMessage(HWND dialog, HWND page, int tabId, LPMSG msg) {
  if (msg == nullptr) return FALSE;
  if (page == nullptr) return IsDialogMessageA(dialog, msg);
  HWND focus = GetFocus();
  const bool focusInPage = focus != nullptr && IsChild(page, focus);
  if (msg->message == WM_KEYDOWN) {
    if (msg->wParam == VK_TAB) {
      bool fallThrough = false;
      HWND tab = GetDlgItem(dialog, tabId);
      if (tab != nullptr && focus == tab && backwards() && GetNextDlgTabItem(dialog, tab, FALSE) != tab)
        return IsDialogMessageA(dialog, msg);
      if (handleTab(dialog, page, tabId, &fallThrough)) return TRUE;
    } else if (msg->wParam == VK_RETURN && focusInPage && !pageHasDefaultButton(page)) {
      return IsDialogMessageA(dialog, msg);
    } else if (msg->wParam == VK_ESCAPE && focusInPage && GetDlgItem(page, IDCANCEL) == nullptr) {
      return IsDialogMessageA(dialog, msg);
    }
  }
  if (msg->message == WM_SYSKEYDOWN && msg->wParam >= '0' && msg->hwnd != nullptr &&
      (msg->hwnd == dialog || IsChild(dialog, msg->hwnd)) && searchMnemonic(dialog, msg))
    return TRUE;
  if (IsDialogMessageA(page, msg)) return TRUE;
  return IsDialogMessageA(dialog, msg);
}
