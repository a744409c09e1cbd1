// Dialog 15074 "Script Error": what the script engine reported, with the
// statement that failed. The button that closes it is the answer to the
// engine: Abort stops the script, Ignore (or closing) lets it go on.
#pragma once

#include <afxwin.h>

class KyScriptError : public CDialog {
 public:
  KyScriptError(CWnd* owner, const char* source, const char* description, const char* statement,
                const char* helpFile, DWORD helpContext);

  // E_FAIL for Abort, S_FALSE for Debug, S_OK otherwise.
  static HRESULT AnswerOf(INT_PTR button);

  BOOL OnInitDialog() override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  CString m_source;
  CString m_description;
  CString m_statement;
  CString m_helpFile;
  DWORD m_helpContext;
};
