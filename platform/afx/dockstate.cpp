// Bar state in the application's profile: which bars are visible, which
// float and where, which dock side holds which bars in which rows.
//
// Layout in the INI file (the framework's, which saved files carry):
//   [<prefix>-Summary]  Bars=<n>  ScreenCX=<px>  ScreenCY=<px>
//   [<prefix>-Bar<i>]   BarID=<id>  Visible=0 (only when hidden)
//                       Horz=0 (only when vertical)  Floating=1 (only when floating)
//                       XPos=/YPos= (floating frame, screen px, when known)
//                       Bars=<n>  Bar#<j>=<id> (dock bars: 0 separates rows)
#include "afxstate.h"

#include <afxext.h>
#include <internal/profilebatch.h>

#include <cstdio>

namespace {

CString sectionName(LPCSTR lpszProfileName, const char* suffix, int nIndex = -1) {
  char buf[256];
  if (nIndex >= 0) std::snprintf(buf, sizeof buf, "%s-%s%d", lpszProfileName, suffix, nIndex);
  else std::snprintf(buf, sizeof buf, "%s-%s", lpszProfileName, suffix);
  return CString(buf);
}

CString barEntry(int nIndex) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "Bar#%d", nIndex);
  return CString(buf);
}

bool isDockBarId(UINT nID) { return nID >= AFX_IDW_DOCKBAR_TOP && nID <= AFX_IDW_DOCKBAR_BOTTOM; }

}  // namespace

// --- the records ----------------------------------------------------------------------------

BOOL CControlBarInfo::SaveState(LPCSTR lpszProfileName, int nIndex) const {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return FALSE;
  CString section = sectionName(lpszProfileName, "Bar", nIndex);
  // A section from an earlier save may hold entries no longer true.
  pApp->WriteProfileString(section, nullptr, nullptr);
  BOOL ok = pApp->WriteProfileInt(section, "BarID", (int)m_nBarID);
  if (!m_bVisible) ok &= pApp->WriteProfileInt(section, "Visible", 0);
  if (!m_bHorz) ok &= pApp->WriteProfileInt(section, "Horz", 0);
  if (m_bFloating) ok &= pApp->WriteProfileInt(section, "Floating", 1);
  if (m_pointPos.x != -1) ok &= pApp->WriteProfileInt(section, "XPos", m_pointPos.x);
  if (m_pointPos.y != -1) ok &= pApp->WriteProfileInt(section, "YPos", m_pointPos.y);
  if (m_bDockBar) {
    ok &= pApp->WriteProfileInt(section, "Bars", (int)m_arrBarID.size());
    for (size_t i = 0; i < m_arrBarID.size(); i++) ok &= pApp->WriteProfileInt(section, barEntry((int)i), (int)m_arrBarID[i]);
  }
  return ok;
}

BOOL CControlBarInfo::LoadState(LPCSTR lpszProfileName, int nIndex) {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return FALSE;
  CString section = sectionName(lpszProfileName, "Bar", nIndex);
  m_nBarID = pApp->GetProfileInt(section, "BarID", 0);
  if (m_nBarID == 0) return FALSE;  // a missing or broken section
  m_bVisible = pApp->GetProfileInt(section, "Visible", TRUE) != 0;
  m_bHorz = pApp->GetProfileInt(section, "Horz", TRUE) != 0;
  m_bFloating = pApp->GetProfileInt(section, "Floating", FALSE) != 0;
  m_pointPos.x = (int)pApp->GetProfileInt(section, "XPos", -1);
  m_pointPos.y = (int)pApp->GetProfileInt(section, "YPos", -1);
  m_bDockBar = isDockBarId(m_nBarID);
  m_arrBarID.clear();
  if (m_bDockBar) {
    int nBars = (int)pApp->GetProfileInt(section, "Bars", 0);
    // A count beyond any real frame is a damaged file: read none.
    if (nBars < 0 || nBars > 4096) nBars = 0;
    for (int i = 0; i < nBars; i++) m_arrBarID.push_back(pApp->GetProfileInt(section, barEntry(i), 0));
  }
  return TRUE;
}

void CDockState::SaveState(LPCSTR lpszProfileName) const {
  CWinApp* pApp = AfxGetApp();
  if (!pApp || !lpszProfileName) return;
  win32::ProfileBatch batch;  // the bars' keys go in one replacement of the file
  int nIndex = 0;
  for (const CControlBarInfo& info : m_arrBarInfo) {
    if (info.SaveState(lpszProfileName, nIndex)) nIndex++;
  }
  CString summary = sectionName(lpszProfileName, "Summary");
  pApp->WriteProfileInt(summary, "Bars", nIndex);
  pApp->WriteProfileInt(summary, "ScreenCX", m_sizeScreen.cx);
  pApp->WriteProfileInt(summary, "ScreenCY", m_sizeScreen.cy);
}

void CDockState::LoadState(LPCSTR lpszProfileName) {
  Clear();
  CWinApp* pApp = AfxGetApp();
  if (!pApp || !lpszProfileName) return;
  CString summary = sectionName(lpszProfileName, "Summary");
  int nBars = (int)pApp->GetProfileInt(summary, "Bars", 0);
  if (nBars < 0 || nBars > 4096) nBars = 0;
  m_sizeScreen.cx = (int)pApp->GetProfileInt(summary, "ScreenCX", ::GetSystemMetrics(SM_CXSCREEN));
  m_sizeScreen.cy = (int)pApp->GetProfileInt(summary, "ScreenCY", ::GetSystemMetrics(SM_CYSCREEN));
  for (int i = 0; i < nBars; i++) {
    CControlBarInfo info;
    if (info.LoadState(lpszProfileName, i)) m_arrBarInfo.push_back(std::move(info));
  }
}

// --- the frame's side ----------------------------------------------------------------------

void CFrameWnd::GetDockState(CDockState& state) const {
  state.Clear();
  state.m_sizeScreen = CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  for (CControlBar* pBar : m_listControlBars) {
    if (!pBar->m_hWnd) continue;
    CControlBarInfo info;
    info.m_nBarID = (UINT)::GetDlgCtrlID(pBar->m_hWnd);
    info.m_bVisible = pBar->IsVisible();
    info.m_bHorz = (pBar->m_dwStyle & CBRS_ORIENT_HORZ) != 0 || !(pBar->m_dwStyle & CBRS_ORIENT_VERT);
    info.m_bFloating = pBar->IsFloating();
    if (info.m_bFloating) {
      CRect rect;
      ::GetWindowRect(::GetParent(pBar->m_pDockBar->m_hWnd), &rect);
      info.m_pointPos = rect.TopLeft();
      info.m_bVisible = ::IsWindowVisible(::GetParent(pBar->m_pDockBar->m_hWnd)) && pBar->IsVisible();
    }
    if (auto* pDock = dynamic_cast<CDockBar*>(pBar); pDock && !pDock->m_bFloating) {
      info.m_bDockBar = TRUE;
      for (size_t r = 0; r < pDock->m_rows.size(); r++) {
        if (r > 0) info.m_arrBarID.push_back(0);
        for (CControlBar* pRowBar : pDock->m_rows[r]) info.m_arrBarID.push_back((UINT)::GetDlgCtrlID(pRowBar->m_hWnd));
      }
    }
    state.m_arrBarInfo.push_back(std::move(info));
  }
}

void CFrameWnd::SetDockState(const CDockState& state) {
  // Screen positions scale with a screen of another size.
  CSize sizeScreen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  auto scale = [&](CPoint pt) {
    if (state.m_sizeScreen.cx > 0 && state.m_sizeScreen.cx != sizeScreen.cx)
      pt.x = MulDiv(pt.x, sizeScreen.cx, state.m_sizeScreen.cx);
    if (state.m_sizeScreen.cy > 0 && state.m_sizeScreen.cy != sizeScreen.cy)
      pt.y = MulDiv(pt.y, sizeScreen.cy, state.m_sizeScreen.cy);
    return pt;
  };
  // Dock bars first: their rows put the docked bars in place.
  for (const CControlBarInfo& info : state.m_arrBarInfo) {
    if (!info.m_bDockBar) continue;
    auto* pDock = dynamic_cast<CDockBar*>(GetControlBar(info.m_nBarID));
    if (!pDock) continue;  // a side this frame does not dock at
    CRect rectRow;
    bool bNewRow = true;
    for (UINT nID : info.m_arrBarID) {
      if (nID == 0) {
        bNewRow = true;
        continue;
      }
      CControlBar* pBar = GetControlBar(nID);
      // Bars saved by another version of the program may be gone.
      if (!pBar || pBar == pDock || dynamic_cast<CDockBar*>(pBar)) continue;
      CDockBar* pOld = pBar->m_pDockBar;
      HWND hMiniOld = (pOld && pOld->m_bFloating) ? ::GetParent(pOld->m_hWnd) : nullptr;
      if (pOld) pOld->RemoveControlBar(pBar);
      if (hMiniOld && pOld->m_rows.empty()) ::DestroyWindow(hMiniOld);
      pBar->m_pDockSite = this;
      if (bNewRow || pDock->m_rows.empty()) {
        pDock->DockControlBar(pBar, nullptr);
        bNewRow = false;
      } else {
        // Same row as the bar before.
        DWORD dwAlign = pDock->m_dwStyle & CBRS_ALIGN_ANY;
        pBar->m_dwStyle = (pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | dwAlign;
        pDock->m_rows.back().push_back(pBar);
        if (::GetParent(pBar->m_hWnd) != pDock->m_hWnd) pBar->SetParent(pDock);
        pBar->m_pDockBar = pDock;
      }
    }
  }
  // Then floating bars and visibility.
  for (const CControlBarInfo& info : state.m_arrBarInfo) {
    if (info.m_bDockBar) continue;
    CControlBar* pBar = GetControlBar(info.m_nBarID);
    if (!pBar) continue;
    if (info.m_bFloating) {
      CPoint pt = info.m_pointPos.x == -1 ? CPoint(0, 0) : scale(info.m_pointPos);
      FloatControlBar(pBar, pt, info.m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
    }
    ShowControlBar(pBar, info.m_bVisible, TRUE);
  }
  RecalcLayout();
  for (CControlBar* pBar : m_listControlBars) {
    if (auto* pDock = dynamic_cast<CDockBar*>(pBar)) pDock->LayoutBars(nullptr, TRUE);
  }
}

void CFrameWnd::SaveBarState(LPCSTR lpszProfileName) const {
  CDockState state;
  GetDockState(state);
  state.SaveState(lpszProfileName);
}

void CFrameWnd::LoadBarState(LPCSTR lpszProfileName) {
  CDockState state;
  state.LoadState(lpszProfileName);
  SetDockState(state);
}
