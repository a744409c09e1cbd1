// A panel for control tests: it records the WM_COMMAND notifications of its
// children (id and code, in order), vetoes the codes a test names, answers
// WM_CTLCOLOR* with a brush a test may set (else as DefWindowProc), moves
// the focus on WM_NEXTDLGCTL as a dialog does, and paints a light gray ground.
#pragma once

#include <windows.h>

#include <set>
#include <utility>
#include <vector>

#include "kymessages.h"

namespace nwitest {

struct Notification {
  int id;
  int code;
  bool operator==(const Notification&) const = default;
};

struct NotifyLog {
  std::vector<Notification> received;
  std::set<int> vetoes;          // codes the panel vetoes
  HBRUSH colorBrush = nullptr;   // the answer to WM_CTLCOLOR*
  std::vector<HWND> commandSources;
};
inline NotifyLog& notifyLog() {
  static NotifyLog log;
  return log;
}

inline LRESULT CALLBACK notifyPanelProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_COMMAND) {
    NotifyLog& log = notifyLog();
    log.received.push_back({LOWORD(wp), HIWORD(wp)});
    log.commandSources.push_back(reinterpret_cast<HWND>(lp));
    if (lp != 0 && log.vetoes.count(HIWORD(wp))) SendMessageA(reinterpret_cast<HWND>(lp), KYM_VETO, 0, 0);
    return 0;
  }
  if (m >= WM_CTLCOLORMSGBOX && m <= WM_CTLCOLORSTATIC && notifyLog().colorBrush != nullptr)
    return reinterpret_cast<LRESULT>(notifyLog().colorBrush);
  // As a dialog moves the focus for its controls.
  if (m == WM_NEXTDLGCTL) {
    HWND target = LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(w, GetFocus(), wp != 0);
    if (target != nullptr) SetFocus(target);
    return 0;
  }
  if (m == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(w, &r);
    FillRect(reinterpret_cast<HDC>(wp), &r, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    return 1;
  }
  return DefWindowProcA(w, m, wp, lp);
}

// Registers the panel class once; answers its name.
inline const char* notifyPanelClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = notifyPanelProc;
    wc.lpszClassName = "NwiNotifyPanel";
    RegisterClassA(&wc);
    return "NwiNotifyPanel";
  }();
  return name;
}

inline HWND makePanel(int width, int height, DWORD style = WS_POPUP | WS_VISIBLE) {
  notifyLog() = {};
  return CreateWindowExA(0, notifyPanelClass(), "Panel", style, 0, 0, width, height, nullptr, nullptr, nullptr,
                         nullptr);
}

}  // namespace nwitest
