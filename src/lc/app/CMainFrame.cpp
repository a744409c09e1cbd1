#include "CMainFrame.h"

#include <afxmsg.h>

#include <iterator>

#include "KyApp.h"

namespace {

constexpr UINT kStatusBarId = 59393;
constexpr UINT kTitleId = 0xE006;
const UINT kIndicators[] = {ID_SEPARATOR, 59137, 59138, 59139};  // message, caps, num, scroll lock

}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, kStatusBarId) ||
      !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
    return -1;
  return 0;
}

void CMainFrame::OnUpdateFrameTitle(BOOL) {
  KyApp* pApp = KyApp::GetApp();
  SetWindowText(pApp ? pApp->pszGetResourceString(kTitleId) : "");
}
