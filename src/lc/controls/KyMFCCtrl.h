// KyMFCCtrl: the wrapper every plain control puts on its window. It routes
// the window's messages to the control first: a message the generated code
// trapped with KyCtrl::TrapEvent runs the panel's event of that name, then
// the window handles it as always. One wrapper class per control kind
// (ButtonCtrl, ComboCtrl, ListCtrl, EditCtrl, MultiEditCtrl, SpinCtrl,
// StaticCtrl) adds what that kind needs.
//
// Mouse moves and presses on the window become the panel's mouse events of
// the control; a released button and the control's private requests
// (1454, 1455) its context-menu requests.
//
// Native windows already belong to their facade's own window object, so the
// wrapper goes in front of the window's procedure (a window property leads
// back to it) instead of attaching a second object. The facade gets the
// wrapper as its mouse window; it forwards its mouse, key and focus
// messages there, which is this same window: that copy arrives while the
// original is being handled and is not handled twice.
#pragma once

#include <afxwin.h>

class KyCtrl;
class KyGUIControl;

class KyMFCCtrl : public CWnd {
 public:
  explicit KyMFCCtrl(KyCtrl* pControl) : m_pControl(pControl) {}
  ~KyMFCCtrl() override;
  KyMFCCtrl(const KyMFCCtrl&) = delete;
  KyMFCCtrl& operator=(const KyMFCCtrl&) = delete;

  // Goes in front of the window's procedure; a native facade takes the
  // wrapper as its mouse window. False when there is no window.
  bool AttachTo(HWND hWnd, KyGUIControl* pNative);
  // The wrapper's enable and disable operations (nothing but for buttons).
  virtual void EnableControl() {}
  virtual void DisableControl() {}

 protected:
  // Sees every message before the window does; fNested: sent while the
  // window handles another one (the window's own doing).
  virtual void Observe(UINT message, WPARAM wParam, LPARAM lParam, bool fNested) {}
  // Takes a message in the window's place: true when handled (the window
  // does not see it; *pResult is the answer).
  virtual bool Intercept(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) { return false; }
  KyCtrl* m_pControl;

 private:
  static LRESULT CALLBACK procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  // The panel's mouse events of the control: a move (15), a button pressed
  // (16), a button released (a context-menu request).
  void mouseEvent(UINT message, LPARAM lParam);
  void detach();

  HWND m_hControl = nullptr;
  WNDPROC m_pfnPrevious = nullptr;
  UINT m_uPassing = 0;  // the forwardable message being handled (0: none)
  int m_iDepth = 0;     // messages of the window being handled
};

class ButtonCtrl : public KyMFCCtrl {
 public:
  using KyMFCCtrl::KyMFCCtrl;
  void EnableControl() override;
  void DisableControl() override;
};

class ComboCtrl : public KyMFCCtrl {
 public:
  using KyMFCCtrl::KyMFCCtrl;
};

class ListCtrl : public KyMFCCtrl {
 public:
  using KyMFCCtrl::KyMFCCtrl;
};

class EditCtrl : public KyMFCCtrl {
 public:
  using KyMFCCtrl::KyMFCCtrl;
};

class MultiEditCtrl : public KyMFCCtrl {
 public:
  using KyMFCCtrl::KyMFCCtrl;
};

class StaticCtrl : public KyMFCCtrl {
 public:
  using KyMFCCtrl::KyMFCCtrl;
};

// A spin remembers the last request that reached its window from outside
// (a step up, a step down or a set text; a step sets its text itself): a
// native spin tells a step that reached a limit
// from a plain one by it.
class SpinCtrl : public KyMFCCtrl {
 public:
  using KyMFCCtrl::KyMFCCtrl;
  UINT GetLastRequest() const { return m_uLastRequest; }

 protected:
  void Observe(UINT message, WPARAM wParam, LPARAM lParam, bool fNested) override;

 private:
  UINT m_uLastRequest = 0;
};
