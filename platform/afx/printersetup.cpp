// The application's printer set-up: the DEVMODE and DEVNAMES blocks that
// printing and page set-up work with.
#include <afxwin.h>
#include <commdlg.h>

void CWinApp::UpdatePrinterSelection(BOOL bForceDefaults) {
  if (!bForceDefaults && m_hDevNames) return;
  PRINTDLGA pd{};
  pd.lStructSize = sizeof pd;
  pd.Flags = PD_RETURNDEFAULT;
  if (!::PrintDlgA(&pd)) return;
  if (m_hDevMode) ::GlobalFree(m_hDevMode);
  if (m_hDevNames) ::GlobalFree(m_hDevNames);
  m_hDevMode = pd.hDevMode;
  m_hDevNames = pd.hDevNames;
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg) {
  UpdatePrinterSelection(FALSE);
  if (!pPrintDlg || !m_hDevNames) return FALSE;
  pPrintDlg->hDevMode = m_hDevMode;
  pPrintDlg->hDevNames = m_hDevNames;
  return TRUE;
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* pPD) {
  UpdatePrinterSelection(FALSE);
  pPD->m_pd.hDevMode = m_hDevMode;
  pPD->m_pd.hDevNames = m_hDevNames;
  INT_PTR nResult = pPD->DoModal();
  // The dialog may have replaced the blocks: they are the application's now.
  m_hDevMode = pPD->m_pd.hDevMode;
  m_hDevNames = pPD->m_pd.hDevNames;
  return nResult;
}

void CWinApp::OnFilePrintSetup() {
  CPrintDialog pd(TRUE);
  DoPrintDialog(&pd);
}

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd) {
  m_pd.lStructSize = sizeof m_pd;
  m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : 0);
  m_pd.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
  m_pd.nCopies = 1;
}

INT_PTR CPrintDialog::DoModal() {
  if (!m_pd.hwndOwner) {
    CWnd* pMain = AfxGetMainWnd();
    m_pd.hwndOwner = pMain ? pMain->m_hWnd : nullptr;
  }
  return ::PrintDlgA(&m_pd) ? IDOK : IDCANCEL;
}

HDC CPrintDialog::CreatePrinterDC() {
  if (m_pd.hDC) ::DeleteDC(m_pd.hDC);
  m_pd.hDC = nullptr;
  CString device = GetDeviceName();
  if (device.IsEmpty()) return nullptr;
  auto* pMode = m_pd.hDevMode ? static_cast<const DEVMODEA*>(::GlobalLock(m_pd.hDevMode)) : nullptr;
  m_pd.hDC = ::CreateDCA("winspool", device, nullptr, pMode);
  if (pMode) ::GlobalUnlock(m_pd.hDevMode);
  return m_pd.hDC;
}

CString CPrintDialog::GetDeviceName() const {
  CString device;
  if (!m_pd.hDevNames) return device;
  if (auto* pNames = static_cast<const DEVNAMES*>(::GlobalLock(m_pd.hDevNames))) {
    device = reinterpret_cast<const char*>(pNames) + pNames->wDeviceOffset;
    ::GlobalUnlock(m_pd.hDevNames);
  }
  return device;
}
