// KyErr400: the AS/400 connection dialog (template 107 of the language
// library): the failing conversation's message and the location's settings
// (system, program, library, job description, user, buffer size, data
// conversion and code page), edited and written back to the INI file.
#pragma once

#include <afxwin.h>

#include <memory>

#include "KyRemote400Info.h"
#include "KyString.h"

class KyConversation;

class KyErr400 : public CDialog {
 public:
  static constexpr UINT kTemplateId = 107;

  explicit KyErr400(CWnd* pParent = nullptr);
  ~KyErr400() override;

  // The message shown (with a host code name: string 57418, the name and a
  // line end before it) and the settings edited: the conversation's
  // location, or the AS/400 default location without a conversation.
  void SetConnection(KyConversation* pConversation, const char* pszMessage, const char* pszCodeName);

  // Copies the edited values into the location's record; with fWrite the
  // record writes itself to the INI file.
  void Apply(BOOL fWrite);

  // The code-page settings of the list and their labels, in list order.
  struct CodePage {
    int iSetting;
    const char* pszLabel;
  };
  static const CodePage* CodePages(int* piCount);

  KyString m_strMessage;
  CString m_strSystem, m_strProgram, m_strLibrary, m_strJobDescription, m_strUserId;
  int m_iBufferSize = 1;
  int m_iMode = 1;
  int m_iCodePage = 101;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnModeNone();
  afx_msg void OnModeHost();
  afx_msg void OnModeCodePage();
  DECLARE_MESSAGE_MAP()

 private:
  void setMode(int iMode);
  void fillCodePages();
  void saveValues();
  void restoreValues();

  KyConversation* m_pConversation = nullptr;
  std::unique_ptr<KyRemote400Info> m_pRecord;
  struct Saved {
    CString system, program, library, jobDescription, userId;
    int bufferSize, mode, codePage;
  } m_Saved{};
};
