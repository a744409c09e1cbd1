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
