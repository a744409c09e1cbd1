// CException and the simple exceptions of the framework.
#include <afx.h>
#include <afxwin.h>

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)

void CException::Delete() {
  if (m_bAutoDelete) delete this;
}

BOOL CException::copyMessage(LPCSTR text, LPSTR lpszError, UINT nMaxError) {
  if (!lpszError || nMaxError == 0) return FALSE;
  size_t n = std::min<size_t>(std::strlen(text), nMaxError - 1);
  std::memcpy(lpszError, text, n);
  lpszError[n] = '\0';
  return TRUE;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  if (lpszError && nMaxError > 0) *lpszError = '\0';
  return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) const {
  // The framework's message buffer: longer messages are cut.
  char text[512];
  if (!GetErrorMessage(text, sizeof text)) {
    if (nMessageID == 0 || AfxLoadString(nMessageID, text, sizeof text) == 0)
      copyMessage("No error message is available.", text, sizeof text);
  }
  // Titled with the application's name, as the framework's message boxes
  // are; without an application object the system's "Error".
  CWinApp* pApp = AfxGetApp();
  return MessageBoxA(nullptr, text, pApp ? pApp->m_pszAppName : nullptr, nType);
}

BOOL CMemoryException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  return copyMessage("Out of memory.", lpszError, nMaxError);
}

BOOL CNotSupportedException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  return copyMessage("Unsupported operation was attempted.", lpszError, nMaxError);
}

BOOL CResourceException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  return copyMessage("A required resource was unavailable.", lpszError, nMaxError);
}

BOOL CInvalidArgException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  return copyMessage("Encountered an improper argument.", lpszError, nMaxError);
}

// Out of memory there may be no memory for a new exception object: one
// static object serves every throw and Delete leaves it alone.
void AfxThrowMemoryException() {
  static CMemoryException outOfMemory(FALSE);
  throw &outOfMemory;
}

void AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AfxThrowResourceException() { throw new CResourceException; }
void AfxThrowInvalidArgException() { throw new CInvalidArgException; }
void AfxThrowUserException() { throw new CUserException; }
