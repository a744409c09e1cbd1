// The framework's message boxes and prompt formatting.
#include "afxstate.h"

#include <string>

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt) {
  EnableModeless(FALSE);
  // Owned by the main window's popup in use; the top-level window above it
  // is disabled while the box is up.
  HWND hWndTop = nullptr;
  HWND hWnd = CWnd::GetSafeOwner_(nullptr, &hWndTop);

  // The help context of the box: the window's own (a frame answers the
  // address of its prompt context), else the application's.
  DWORD* pdwContext = nullptr;
  if (hWnd) pdwContext = reinterpret_cast<DWORD*>(::SendMessageA(hWnd, WM_HELPPROMPTADDR, 0, 0));
  if (!pdwContext) pdwContext = &m_dwPromptContext;
  DWORD dwOldPromptContext = *pdwContext;
  if (nIDPrompt != 0) *pdwContext = HID_BASE_PROMPT + nIDPrompt;

  // Boxes without an icon get the exclamation mark, except the rarely used
  // abort/retry/ignore and retry/cancel kinds.
  if ((nType & MB_ICONMASK) == 0) {
    switch (nType & MB_TYPEMASK) {
      case MB_OK:
      case MB_OKCANCEL:
      case MB_YESNO:
      case MB_YESNOCANCEL:
        nType |= MB_ICONEXCLAMATION;
        break;
      default:
        break;
    }
  }
  int nResult = ::MessageBoxA(hWnd, lpszPrompt, m_pszAppName, nType);

  *pdwContext = dwOldPromptContext;
  if (hWndTop) ::EnableWindow(hWndTop, TRUE);
  EnableModeless(TRUE);
  return nResult;
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
  if (CWinApp* pApp = AfxGetApp()) return pApp->DoMessageBox(lpszText, nType, nIDHelp);
  return ::MessageBoxA(nullptr, lpszText, nullptr, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  // A missing string shows an empty box rather than none: the caller asked
  // the user something.
  text.LoadString(nIDPrompt);
  if (nIDHelp == (UINT)-1) nIDHelp = nIDPrompt;
  return AfxMessageBox(text, nType, nIDHelp);
}

namespace {

// Replaces %1 .. %9 of `format` by the given texts (missing ones: empty).
CString formatStrings(UINT nIDS, const LPCSTR* strings, int count) {
  CString format;
  format.LoadString(nIDS);
  std::string out;
  LPCSTR p = format;
  for (; *p; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
      int index = p[1] - '1';
      if (index < count && strings[index]) out += strings[index];
      ++p;
    } else {
      out += *p;
    }
  }
  return CString(out.c_str());
}

}  // namespace

void AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1) {
  LPCSTR strings[] = {lpsz1};
  rString = formatStrings(nIDS, strings, 1);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2) {
  LPCSTR strings[] = {lpsz1, lpsz2};
  rString = formatStrings(nIDS, strings, 2);
}
