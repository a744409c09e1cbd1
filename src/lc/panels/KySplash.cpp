#include "KySplash.h"

#include <afxmsg.h>

#include <algorithm>
#include <cstdlib>

#include "KyRTType.h"
#include "KyWinClientApp.h"

namespace {

constexpr int kTimeoutOption = 57;  // [Window Options] "Splash Screen Timeout"

// The display time in milliseconds from the setting's seconds. Read as atoi
// reads (leading blanks, a sign, digits up to the first other character),
// but a negative or out-of-range number no longer turns into a timer of
// weeks: below 0 is no display time, above the longest is the longest.
UINT displayTimeOf(const char* pszSeconds) {
  long long seconds = std::strtoll(pszSeconds ? pszSeconds : "", nullptr, 10);
  seconds = std::clamp<long long>(seconds, 0, KySplash::kLongestDisplaySeconds);
  return static_cast<UINT>(seconds * 1000);
}

}  // namespace

BEGIN_MESSAGE_MAP(KySplash, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SHOWWINDOW()
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

KySplash::KySplash() : m_dwCreateTime(GetTickCount()) {}

// Here rather than in CWnd's destructor, where this class's handlers would
// no longer run.
KySplash::~KySplash() {
  if (m_hWnd) DestroyWindow();
}

BOOL KySplash::Create(const char* pszFile) {
  if (m_hWnd) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
  }
  if (!m_Picture.Load(pszFile)) return FALSE;
  m_nDisplayTime = displayTimeOf(KyGetRunOption(kTimeoutOption));
  LPCSTR pszClass = AfxRegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW));
  if (!CreateEx(WS_EX_TOPMOST, pszClass, "", WS_POPUP, 0, 0, m_Picture.GetWidth(), m_Picture.GetHeight(), nullptr,
                nullptr)) {
    DWORD dwError = GetLastError();
    m_Picture.Free();
    m_nDisplayTime = 0;
    SetLastError(dwError);
    return FALSE;
  }
  CenterWindow();
  if (m_nDisplayTime) {
    m_nTimer = SetTimer(kTimerId, m_nDisplayTime, nullptr);
    // Without its timer a timed splash would never go.
    if (!m_nTimer) m_nDisplayTime = 0;
  }
  return TRUE;
}

int KySplash::RemoveSplash() {
  if (m_nDisplayTime) return 1;
  if (m_hWnd) {
    ShowWindow(SW_HIDE);
    DestroyWindow();
  }
  CWnd* pMain = AfxGetMainWnd();
  if (pMain && pMain->m_hWnd) pMain->UpdateWindow();
  return 0;
}

// The time is over once the timer has fired: the hidden window then goes at
// the next idle turn instead of lingering to the end of the program.
void KySplash::EndDisplayTime() {
  if (m_nTimer) KillTimer(m_nTimer);
  m_nTimer = 0;
  m_nDisplayTime = 0;
  enableMainWindow();
}

void KySplash::OnPaint() {
  CPaintDC dc(this);
  m_Picture.Draw(dc.m_hDC, 0, 0);
}

// The picture covers the whole window.
BOOL KySplash::OnEraseBkgnd(CDC*) { return TRUE; }

void KySplash::OnShowWindow(BOOL bShow, UINT nStatus) {
  CWnd::OnShowWindow(bShow, nStatus);
  if (bShow && m_nDisplayTime && m_nTimer) disableMainWindow();
}

void KySplash::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kTimerId) {
    CWnd::OnTimer(nIDEvent);
    return;
  }
  EndDisplayTime();
  ShowWindow(SW_HIDE);
}

void KySplash::OnDestroy() {
  if (m_nTimer) KillTimer(m_nTimer);
  m_nTimer = 0;
  enableMainWindow();
  CWnd::OnDestroy();
}

// Through the application's nested count where there is one, so that the
// splash enabling the main window again does not enable it under a busy
// section or a modal box that still holds it disabled; and at most once
// for each time the splash disabled it.
void KySplash::disableMainWindow() {
  CWnd* pMain = AfxGetMainWnd();
  if (m_fMainDisabled || !pMain || !pMain->m_hWnd || pMain == this) return;
  if (auto* pApp = KyGetClientApp()) pApp->DisableMainWnd();
  else pMain->EnableWindow(FALSE);
  m_fMainDisabled = TRUE;
}

void KySplash::enableMainWindow() {
  if (!m_fMainDisabled) return;
  m_fMainDisabled = FALSE;
  if (auto* pApp = KyGetClientApp()) {
    pApp->EnableMainWnd();
  } else if (CWnd* pMain = AfxGetMainWnd(); pMain && pMain->m_hWnd) {
    pMain->EnableWindow(TRUE);
  }
}
