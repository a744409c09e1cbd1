#include "KyAppServices.h"

#include <afxwin.h>

#include <cstdarg>

#include "KyApp.h"
#include "KyMessage.h"
#include "KyWinClientApp.h"

void KyBusy() {
  if (auto* pApp = KyGetClientApp()) pApp->BusyOn();
}

HWND hKyGetMainHandle() {
  CWnd* pMain = AfxGetMainWnd();
  return pMain ? pMain->m_hWnd : nullptr;
}

CMDIFrameWnd* KyGetMDIFrame() { return dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd()); }

CWnd* KyGetMDIClient() {
  CMDIFrameWnd* pFrame = KyGetMDIFrame();
  return pFrame && pFrame->m_hWndMDIClient ? CWnd::FromHandle(pFrame->m_hWndMDIClient) : nullptr;
}

CMDIChildWnd* KyGetActiveMDIChild(BOOL* pfMaximized) {
  if (pfMaximized) *pfMaximized = FALSE;
  CMDIFrameWnd* pFrame = KyGetMDIFrame();
  return pFrame ? pFrame->MDIGetActive(pfMaximized) : nullptr;
}

void KySetPrinterOrientation(int iOrientation) {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return;
  pApp->UpdatePrinterSelection(FALSE);
  if (!pApp->m_hDevMode) return;
  if (auto* pMode = static_cast<DEVMODEA*>(GlobalLock(pApp->m_hDevMode))) {
    pMode->dmOrientation = static_cast<short>(iOrientation);
    pMode->dmFields |= DM_ORIENTATION;
    GlobalUnlock(pApp->m_hDevMode);
  }
}

void KySetWinStyle(HWND hWnd, DWORD dwStyle) {
  if (!IsWindow(hWnd)) return;
  SetWindowLongA(hWnd, GWL_STYLE, GetWindowLongA(hWnd, GWL_STYLE) | static_cast<LONG>(dwStyle));
}

int KyGetPlatformId() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return 0;
  switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS: return 1;
    case VER_PLATFORM_WIN32_NT: return 2;
    default: return 0;
  }
}

int iKyEnquiref(KyPanel*, const char* pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  int answer = KyMessage::VBox(0, MB_YESNOCANCEL, pszFormat, args);
  va_end(args);
  return answer;
}

const char* KyGetMessageText(UINT nID) {
  KyApp* pApp = KyApp::GetApp();
  return pApp ? pApp->pszGetResourceString(nID) : "";
}
