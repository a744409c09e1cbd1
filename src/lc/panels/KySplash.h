// KySplash: the start-up splash window of the runner. A borderless topmost
// pop-up the size of its picture, centred, that goes at the first idle turn
// or input; with a display time ([Window Options] "Splash Screen Timeout",
// seconds) it stays instead until its one-shot timer fires, and keeps the
// main window disabled while it shows.
#pragma once

#include <afxwin.h>

#include "KyPicture.h"

class KySplash : public CWnd {
 public:
  static constexpr UINT_PTR kTimerId = 1;
  // The longest display time the setting may ask for.
  static constexpr int kLongestDisplaySeconds = 600;

  KySplash();
  // A window still there is destroyed (its timer killed, the main window
  // enabled again when the splash had disabled it).
  ~KySplash() override;

  // Loads the picture (see KyPicture), takes the display time from the
  // thread's run options, creates the hidden window centred on the screen
  // and starts the timer when there is a display time. FALSE, with the
  // last error of the failed step, when the picture cannot be loaded or
  // the window not created; nothing is shown then. Showing is the caller's.
  BOOL Create(const char* pszFile);

  // 1 while a display time runs (the splash stays until its timer fires);
  // otherwise the window is hidden and destroyed, the main window repainted
  // and 0 comes back.
  int RemoveSplash();

  // Ends the display time as the timer does (timer killed, main window
  // enabled again); the window stays until RemoveSplash or destruction.
  // For what must not wait behind the splash, such as a message box.
  void EndDisplayTime();

  const KyPicture& GetPicture() const { return m_Picture; }
  // Milliseconds; 0 when the splash has no (more) display time.
  UINT GetDisplayTime() const { return m_nDisplayTime; }
  // The running timer's id, 0 when none runs.
  UINT_PTR GetTimer() const { return m_nTimer; }
  // GetTickCount at construction.
  DWORD GetCreateTime() const { return m_dwCreateTime; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void disableMainWindow();
  void enableMainWindow();

  KyPicture m_Picture;
  UINT_PTR m_nTimer = 0;
  UINT m_nDisplayTime = 0;
  DWORD m_dwCreateTime;
  // The splash disabled the main window and owes it the enabling.
  BOOL m_fMainDisabled = FALSE;
};
