// Small control classes of the dialog tests: the dialog manager must work
// with any class through messages, so the tests use their own.
//   "KyTestLabel"  answers DLGC_STATIC;
//   "KyTestEdit"   answers DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS
//                  (with ES_MULTILINE also DLGC_WANTALLKEYS), keeps the last EM_SETSEL;
//   "KyTestButton" answers by its BS_* type, keeps a check state, changes its
//                  type on BM_SETSTYLE, and is clicked by BM_CLICK or a left
//                  button release (automatic radio buttons uncheck their group).
// Every message a test control gets is logged with its window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace dialogtest {

struct Received {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<Received>& received() {
  static std::vector<Received> log;
  return log;
}

inline bool receivedBy(HWND hwnd, UINT msg, WPARAM* wParam = nullptr) {
  for (const Received& r : received())
    if (r.hwnd == hwnd && r.msg == msg) {
      if (wParam) *wParam = r.wParam;
      return true;
    }
  return false;
}

inline UINT buttonType(HWND hwnd) { return (UINT)GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK; }

inline void setCheck(HWND hwnd, WPARAM state) { SetPropA(hwnd, "check", (HANDLE)(UINT_PTR)state); }
inline WPARAM check(HWND hwnd) { return (WPARAM)(UINT_PTR)GetPropA(hwnd, "check"); }

inline void click(HWND hwnd) {
  UINT type = buttonType(hwnd);
  if (type == BS_AUTORADIOBUTTON) {
    // Unchecks the other members of the group (up to the next WS_GROUP either way).
    HWND first = hwnd;
    while (!(GetWindowLongA(first, GWL_STYLE) & WS_GROUP) && GetWindow(first, GW_HWNDPREV))
      first = GetWindow(first, GW_HWNDPREV);
    for (HWND c = first; c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (c != first && (GetWindowLongA(c, GWL_STYLE) & WS_GROUP)) break;
      if (buttonType(c) == BS_AUTORADIOBUTTON) setCheck(c, c == hwnd ? BST_CHECKED : BST_UNCHECKED);
    }
  } else if (type == BS_AUTOCHECKBOX) {
    setCheck(hwnd, check(hwnd) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  }
  SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED), (LPARAM)hwnd);
}

inline LRESULT CALLBACK controlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  char cls[32] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  std::string name = cls;
  received().push_back(Received{hwnd, msg, wParam, lParam});
  switch (msg) {
    case WM_GETDLGCODE:
      if (name == "KyTestLabel") return DLGC_STATIC;
      if (name == "KyTestEdit") {
        LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if (GetWindowLongA(hwnd, GWL_STYLE) & ES_MULTILINE) code |= DLGC_WANTALLKEYS;
        return code;
      }
      switch (buttonType(hwnd)) {
        case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        default: return DLGC_BUTTON;
      }
    case EM_SETSEL:
      SetPropA(hwnd, "selection", (HANDLE)(UINT_PTR)MAKELONG((WORD)wParam, (WORD)lParam));
      return 0;
    case BM_SETSTYLE: {
      LONG style = GetWindowLongA(hwnd, GWL_STYLE);
      SetWindowLongA(hwnd, GWL_STYLE, (style & ~0xFFFF) | (LONG)(wParam & 0xFFFF));
      return 0;
    }
    case BM_GETCHECK: return (LRESULT)check(hwnd);
    case BM_SETCHECK: setCheck(hwnd, wParam); return 0;
    case BM_CLICK: click(hwnd); return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_LBUTTONUP:
      if (name == "KyTestButton") click(hwnd);
      return 0;
    case WM_NCDESTROY:
      RemovePropA(hwnd, "check");
      RemovePropA(hwnd, "selection");
      break;
    default: break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The owner windows of the tests ("KyTestOwner") log what they get and let a
// test answer a message itself (WM_ENTERIDLE of the modal loop above all).
inline std::vector<Received>& ownerLog() {
  static std::vector<Received> log;
  return log;
}
inline LRESULT (*&ownerHook())(HWND, UINT, WPARAM, LPARAM) {
  static LRESULT (*hook)(HWND, UINT, WPARAM, LPARAM) = nullptr;
  return hook;
}
inline LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ownerLog().push_back(Received{hwnd, msg, wParam, lParam});
  if (ownerHook()) {
    LRESULT r = ownerHook()(hwnd, msg, wParam, lParam);
    if (r != -12345) return r;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

inline void registerControls() {
  static bool done = [] {
    for (const char* name : {"KyTestLabel", "KyTestEdit", "KyTestButton", "KyTestOwner"}) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = std::string(name) == "KyTestOwner" ? ownerProc : controlProc;
      wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
      wc.lpszClassName = name;
      RegisterClassA(&wc);
    }
    return true;
  }();
  (void)done;
}

// The hook's answer that means "not handled here".
constexpr LRESULT kNotHandled = -12345;

// Takes every message of the thread through the dialog manager of `dialog`.
inline void pumpDialog(HWND dialog) {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &m)) continue;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

// What a dialog procedure of the tests heard: the commands above all.
struct DialogLog {
  std::vector<Received> messages;
  std::vector<WPARAM> commands;  // wParam of each WM_COMMAND
};

inline DialogLog& dialogLog() {
  static DialogLog log;
  return log;
}

// A dialog procedure that logs and handles nothing but WM_INITDIALOG (TRUE).
inline INT_PTR CALLBACK loggingDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  dialogLog().messages.push_back(Received{hwnd, msg, wParam, lParam});
  if (msg == WM_COMMAND) dialogLog().commands.push_back(wParam);
  return msg == WM_INITDIALOG;
}

}  // namespace dialogtest
