// CDialog: modal and modeless dialog boxes from templates of the resource
// chain, and the dialog data exchange (DDX_/DDV_) that moves values between
// controls and member variables.
#pragma once

#include "afxwnd.h"

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
 public:
  CDialog();
  // A modal dialog of template lpszTemplateName (or nIDTemplate), owned by
  // pParentWnd (null: the application's main window).
  explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // Modeless: creates the dialog from the first module of the resource
  // chain that has the template. FALSE when it has none or creation failed.
  virtual BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr) {
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
  }
  // From a template in memory; hInst names the module of its resources.
  virtual BOOL CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr, void* lpDialogInit = nullptr,
                              HINSTANCE hInst = nullptr);
  BOOL CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = nullptr, HINSTANCE hInst = nullptr);
  // Modal (the template given at construction or to InitModalIndirect).
  BOOL InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr, void* lpDialogInit = nullptr);

  // Runs the dialog modally: the owner (and the top-level window above it)
  // is disabled while it runs and enabled again afterwards, the thread's
  // messages go through the modal loop (WM_KICKIDLE at idle, keyboard
  // input through IsDialogMessage). Answers EndDialog's result, -1 when
  // the dialog could not be created.
  virtual INT_PTR DoModal();
  void EndDialog(int nResult);

  // Moves the focus as Tab / Shift+Tab would, or to pWndCtrl.
  void NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
  void PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
  void GotoDlgCtrl(CWnd* pWndCtrl);
  void SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
  DWORD GetDefID() const { return (DWORD)::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0); }
  void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

  // Data to the controls (UpdateData(FALSE)); TRUE: the system sets the
  // focus to the first tab stop.
  virtual BOOL OnInitDialog();
  // UpdateData(TRUE), then EndDialog(IDOK) when every value was valid.
  virtual void OnOK();
  virtual void OnCancel();
  virtual void OnSetFont(CFont* pFont) {}

  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  LPCSTR m_lpszTemplateName = nullptr;  // string names point into the object's own copy
  LPCDLGTEMPLATEA m_lpDialogTemplate = nullptr;
  HGLOBAL m_hDialogTemplate = nullptr;
  CWnd* m_pParentWnd = nullptr;
  HWND m_hWndTop = nullptr;  // disabled by DoModal (GetSafeOwner_), enabled at its end

 protected:
  // Creates the window from the template in memory (modal and modeless).
  BOOL CreateDlgIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);
  HWND PreModal();
  void PostModal();
  // Filters keyboard and mouse input through IsDialogMessage.
  BOOL PreTranslateInput(LPMSG lpMsg);
  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT HandleSetFont(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void setTemplateName(LPCSTR lpszTemplateName);
  CString m_strTemplateName;
};

// The dialog procedure of CDialog windows: WM_INITDIALOG calls the object's
// OnInitDialog; everything else goes through the window's message map.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// --- dialog data exchange ---------------------------------------------------

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
  BOOL m_bSaveAndValidate;   // TRUE: controls → variables (with validation)
  CWnd* m_pDlgWnd;
  HWND m_hWndLastControl = nullptr;
  BOOL m_bEditLastControl = FALSE;

  // The control nIDC, remembered as the one a failed validation goes back
  // to; throws CNotSupportedException when the dialog has no such control.
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // After the user was told: focus (and, for an edit, the whole text
  // selected) back to the last control, then CUserException.
  [[noreturn]] void Fail();
};

// Window text ↔ value. Text that does not read as the type (only blanks
// may surround the number) shows the framework's prompt for the type and
// fails the exchange.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);  // also DWORD (the same type here)
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
// Check box state 0, 1 or 2.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of a group (WS_GROUP); value the index of
// the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value);
// Subclasses control nIDC with rControl the first time.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Validation after the DDX_ of the same control. Out of range shows the
// framework's prompt with the limits and fails; loading (not saving) only
// limits the edit's text length (DDV_MaxChars) or lets the value be.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
inline void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
  DDV_MinMaxUInt(pDX, value, minVal, maxVal);
}
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
