// The control wrappers' members that are more than one message, and the
// owner-draw messages their parents reflect to them.
#include "afxstate.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (pResult) *pResult = TRUE;
  return TRUE;
}

int CEdit::GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const {
  // EM_GETLINE reads the buffer size from the buffer's first word.
  if (!lpszBuffer || nMaxLength < (int)sizeof(WORD)) return 0;
  WORD size = (WORD)std::min(nMaxLength, 0xFFFF);
  std::memcpy(lpszBuffer, &size, sizeof size);
  return (int)SendMessage(EM_GETLINE, nIndex, reinterpret_cast<LPARAM>(lpszBuffer));
}

namespace {

// The owner-draw family, as list boxes and combo boxes take it back.
template <class Control>
BOOL ownerDrawNotify(Control* pControl, UINT message, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_DRAWITEM:
      pControl->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      if (pResult) *pResult = TRUE;
      return TRUE;
    case WM_MEASUREITEM:
      pControl->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      if (pResult) *pResult = TRUE;
      return TRUE;
    case WM_COMPAREITEM: {
      int nResult = pControl->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
      if (pResult) *pResult = nResult;
      return TRUE;
    }
    case WM_DELETEITEM:
      pControl->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
      if (pResult) *pResult = TRUE;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (ownerDrawNotify(this, message, lParam, pResult)) return TRUE;
  return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (ownerDrawNotify(this, message, lParam, pResult)) return TRUE;
  return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

void CListBox::GetText(int nIndex, CString& rString) const {
  int nLen = GetTextLen(nIndex);
  if (nLen < 0) {
    rString.Empty();
    return;
  }
  nLen = GetText(nIndex, rString.GetBuffer(nLen + 1));
  rString.ReleaseBuffer(nLen < 0 ? 0 : nLen);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
  int nLen = GetLBTextLen(nIndex);
  if (nLen < 0) {
    rString.Empty();
    return;
  }
  nLen = GetLBText(nIndex, rString.GetBuffer(nLen + 1));
  rString.ReleaseBuffer(nLen < 0 ? 0 : nLen);
}

int CScrollBar::GetScrollLimit() {
  SCROLLINFO info{};
  if (!GetScrollInfo(&info, SIF_RANGE | SIF_PAGE)) return 0;
  int nLimit = info.nMax - (info.nPage ? (int)info.nPage - 1 : 0);
  return std::max(nLimit, info.nMin);
}
