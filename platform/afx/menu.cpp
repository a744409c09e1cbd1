// CMenu: ownership of menu handles, their handle map and loading from the
// resource chain.
#include "afxstate.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandle(HMENU hMenu) {
  return afx::threadState().menus.fromHandle(hMenu, [](HMENU h) {
    CMenu* p = new CMenu;
    p->m_hMenu = h;
    return p;
  });
}

void CMenu::DeleteTempMap() { afx::threadState().menus.deleteTemporaries(); }

BOOL CMenu::Attach(HMENU hMenu) {
  if (!hMenu || m_hMenu) return FALSE;
  m_hMenu = hMenu;
  afx::threadState().menus.setPermanent(hMenu, this);
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU hMenu = m_hMenu;
  if (hMenu) afx::threadState().menus.removePermanent(hMenu, this);
  m_hMenu = nullptr;
  return hMenu;
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_MENU);
  return Attach(::LoadMenuA(hInst, lpszResourceName));
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  int nLen = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
  if (nLen <= 0) {
    rString.Empty();
    return 0;
  }
  nLen = ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBuffer(nLen + 1), nLen + 1, nFlags);
  rString.ReleaseBuffer(nLen > 0 ? nLen : 0);
  return rString.GetLength();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}

BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked) {
  return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, (HBITMAP)AfxGdiHandle(pBmpUnchecked),
                              (HBITMAP)AfxGdiHandle(pBmpChecked));
}
