// Design mode: a silenced window (and every child it had when silenced)
// ignores the user. It answers WM_NCHITTEST with HTTRANSPARENT and
// swallows WM_SETCURSOR, mouse and keyboard messages; everything else goes
// to its previous procedure, which the silencer puts back when it ends.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class KyWindowSilencer {
 public:
  explicit KyWindowSilencer(HWND window);
  KyWindowSilencer(const KyWindowSilencer&) = delete;
  KyWindowSilencer& operator=(const KyWindowSilencer&) = delete;
  ~KyWindowSilencer();

  HWND window() const { return m_window; }

 private:
  static LRESULT CALLBACK silencedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND m_window;
  WNDPROC m_previous = nullptr;
  std::vector<std::unique_ptr<KyWindowSilencer>> m_children;
};
