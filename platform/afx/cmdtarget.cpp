// CCmdTarget: message-map lookup and command routing through the tables;
// CCmdUI: the state an update handler gives a menu item or control.
#include "afxstate.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMsg, UINT nCode, UINT nID) {
  for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfn; ++e) {
      UINT message = e->pnRegistered ? *e->pnRegistered : e->nMessage;
      // An unregistered variable still holds 0: it must not take WM_NULL.
      if (e->pnRegistered && message == 0) continue;
      if (message == nMsg && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID) return e;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // nCode packs the message in its high word (WM_COMMAND when 0), except
  // for CN_UPDATE_COMMAND_UI, which stands alone.
  UINT nMsg = 0;
  UINT code = (UINT)nCode;
  if (code != CN_UPDATE_COMMAND_UI) {
    nMsg = HIWORD(code);
    code = LOWORD(code);
  }
  if (nMsg == 0) nMsg = WM_COMMAND;

  // Each class of the chain may have an entry; a handler that declines
  // (an _EX form answering FALSE, a CCmdUI continuing) hands on to the
  // next match further up, as the framework's routing does.
  for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap;
       pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfn; ++e) {
      if (e->pnRegistered || e->nMessage != nMsg || e->nCode != code || nID < e->nID || nID > e->nLastID) continue;
      if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pEntry = e;
        return TRUE;
      }
      AFX_MSGCALL call{nMsg, 0, 0};
      call.nID = nID;
      call.pExtra = pExtra;
      if (e->pfn(this, call)) return TRUE;
    }
  }
  return FALSE;
}

void CCmdTarget::BeginWaitCursor() {
  if (CWinApp* pApp = AfxGetApp()) pApp->DoWaitCursor(1);
}
void CCmdTarget::EndWaitCursor() {
  if (CWinApp* pApp = AfxGetApp()) pApp->DoWaitCursor(-1);
}
void CCmdTarget::RestoreWaitCursor() {
  if (CWinApp* pApp = AfxGetApp()) pApp->DoWaitCursor(0);
}

// --- CCmdUI -----------------------------------------------------------------

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu) {
    if (m_pSubMenu) return;  // a popup's own state belongs to the menu
    m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther) {
    // A control losing its enabled state while it has the focus hands the
    // focus on first, so that the keyboard is not left on a dead window.
    if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
      HWND hParent = ::GetParent(m_pOther->m_hWnd);
      if (hParent) ::SendMessageA(hParent, WM_NEXTDLGCTL, 0, FALSE);
    }
    m_pOther->EnableWindow(bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther) {
    // Only buttons take a check state.
    if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON) m_pOther->SendMessage(BM_SETCHECK, (WPARAM)nCheck);
  }
}

void CCmdUI::SetRadio(BOOL bOn) {
  // A menu item shows a bullet instead of a check mark (MFT_RADIOCHECK).
  if (m_pMenu && !m_pSubMenu) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (m_pMenu->GetMenuItemInfo(m_nIndex, &info, TRUE)) {
      info.fType |= MFT_RADIOCHECK;
      m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
    }
  }
  SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCSTR lpszText) {
  if (!lpszText) lpszText = "";
  if (m_pMenu) {
    if (m_pSubMenu) return;
    UINT nState = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
    nState &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP);
    m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
  } else if (m_pOther) {
    AfxSetWindowText(m_pOther->m_hWnd, lpszText);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (!pTarget) return FALSE;
  m_bEnableChanged = FALSE;
  BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    // Nobody set the state: an item whose command has no handler either
    // cannot do anything, so it is shown disabled.
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    if (!pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info)) Enable(FALSE);
  }
  return bResult;
}
