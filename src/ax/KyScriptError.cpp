#include "KyScriptError.h"

#include "AxModule.h"
#include "axres.h"

KyScriptError::KyScriptError(CWnd* owner, const char* source, const char* description, const char* statement,
                             const char* helpFile, DWORD helpContext)
    : m_source(source),
      m_description(description),
      m_statement(statement),
      m_helpFile(helpFile),
      m_helpContext(helpContext) {
  if (LPCDLGTEMPLATEA found = ax::DialogTemplate(IDD_AX_SCRIPT_ERROR)) InitModalIndirect(found, owner);
}

HRESULT KyScriptError::AnswerOf(INT_PTR button) {
  if (button == IDABORT) return E_FAIL;
  if (button == IDC_AX_ERROR_DEBUG) return S_FALSE;
  return S_OK;
}

BOOL KyScriptError::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_AX_ERROR_SOURCE, m_source);
  SetDlgItemText(IDC_AX_ERROR_DESCRIPTION, m_description);
  SetDlgItemText(IDC_AX_ERROR_STATEMENT, m_statement);
  if (CWnd* help = GetDlgItem(IDC_AX_VENDOR_HELP)) help->EnableWindow(!m_helpFile.IsEmpty());
  return TRUE;
}

BOOL KyScriptError::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (nCode != CN_COMMAND || pHandlerInfo) return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  switch (nID) {
    case IDABORT:
    case IDIGNORE:
    case IDC_AX_ERROR_DEBUG:
      EndDialog(static_cast<int>(nID));
      return TRUE;
    case IDC_AX_VENDOR_HELP: {
      // The exception's help file, not the application's, at its context.
      CWinApp* app = AfxGetApp();
      LPCSTR appHelp = app ? app->m_pszHelpFilePath : nullptr;
      if (app) app->m_pszHelpFilePath = m_helpFile;
      WinHelp(m_helpContext, HELP_CONTEXT);
      if (app) app->m_pszHelpFilePath = appHelp;
      return TRUE;
    }
    default:
      return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
}
