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

namespace {

// A message of the framework's string table into the caller's buffer.
BOOL loadMessage(UINT nID, LPSTR lpszError, UINT nMaxError) {
  if (!lpszError || nMaxError == 0) return FALSE;
  if (AfxLoadString(nID, lpszError, nMaxError) > 0) return TRUE;
  *lpszError = '\0';
  return FALSE;
}

}  // namespace

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
      loadMessage(AFX_IDP_NO_ERROR_AVAILABLE, text, sizeof text);
  }
  // Titled with the application's name, as the framework's message boxes
  // are; without an application object the system's "Error".
  CWinApp* pApp = AfxGetApp();
  return MessageBoxA(nullptr, text, pApp ? pApp->m_pszAppName : nullptr, nType);
}

BOOL CMemoryException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  // Out of memory, finding a string resource may fail for want of memory:
  // this text is the one the framework cannot do without.
  if (loadMessage(AFX_IDS_MEMORY_EXCEPTION, lpszError, nMaxError)) return TRUE;
  return copyMessage("Out of memory.", lpszError, nMaxError);
}

BOOL CNotSupportedException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  return loadMessage(AFX_IDS_NOT_SUPPORTED_EXCEPTION, lpszError, nMaxError);
}

BOOL CResourceException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  return loadMessage(AFX_IDS_RESOURCE_EXCEPTION, lpszError, nMaxError);
}

BOOL CInvalidArgException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  return loadMessage(AFX_IDS_INVALID_ARG_EXCEPTION, lpszError, nMaxError);
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
