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
  // line end before it) and the settings edited: the conversation's own
  // record; without a conversation the thread's record of the AS/400
  // default location, or a record of the dialog's own when the thread has
  // none yet.
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
  // Applies the settings and connects with them: the default AS/400
  // conversation through the factory, or the dialog's conversation
  // reconnected; icon 11 and message 0xE022 on success, icon 13 and 0xE023
  // on failure, in the message control.
  afx_msg void OnTest();
  afx_msg void OnModeNone();
  afx_msg void OnModeHost();
  afx_msg void OnModeCodePage();
  DECLARE_MESSAGE_MAP()

 private:
  void setMode(int iMode);
  void fillCodePages();
  void saveValues();
  void restoreValues();
  void showIcon(UINT nIconId);
  // The record edited: m_pInfo, which is the dialog's own record or one
  // that the thread keeps.
  KyRemote400Info* record();

  KyConversation* m_pConversation = nullptr;
  KyRemote400Info* m_pInfo = nullptr;
  std::unique_ptr<KyRemote400Info> m_pOwnRecord;
  struct Saved {
    CString system, program, library, jobDescription, userId;
    int bufferSize, mode, codePage;
  } m_Saved{};
};
