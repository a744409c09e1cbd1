// CSpinButtonCtrl and CToolTipCtrl: the members that fill a TOOLINFO.
#include <afxcmn.h>

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

void CToolTipCtrl::fillToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool, LPCSTR lpszText) const {
  ti = TOOLINFOA{};
  ti.cbSize = sizeof ti;
  ti.hwnd = ::GetParent(m_hWnd);  // the tool's owner: the tip's owner
  ti.lpszText = const_cast<LPSTR>(lpszText);
  if (nIDTool == 0 && pWnd) {
    // The whole window is the tool, its handle the id.
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(pWnd->m_hWnd);
  } else {
    ti.hwnd = AfxWndHandle(pWnd);
    ti.uId = nIDTool;
  }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, const RECT* lpRectTool, UINT_PTR nIDTool) {
  if (!pWnd) return FALSE;
  TOOLINFOA ti;
  fillToolInfo(ti, pWnd, lpRectTool ? nIDTool : 0, lpszText);
  if (lpRectTool) ti.rect = *lpRectTool;
  ti.uFlags |= TTF_SUBCLASS;
  return (BOOL)SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, const RECT* lpRectTool, UINT_PTR nIDTool) {
  CString text;
  text.LoadString(nIDText);
  return AddTool(pWnd, (LPCSTR)text, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFOA ti;
  fillToolInfo(ti, pWnd, nIDTool, nullptr);
  SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFOA ti;
  fillToolInfo(ti, pWnd, nIDTool, lpszText);
  SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}
