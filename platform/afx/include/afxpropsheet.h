// CPropertySheet and CPropertyPage: the framework's tabbed dialogs over the
// common controls' property sheet (prsht.h). A page is a CDialog made from
// its template by the sheet when first shown; the sheet's notifications
// reach it as OnSetActive, OnKillActive, OnApply (OnOK), OnReset
// (OnCancel) and OnQueryCancel. DoModal runs the sheet modeless inside the
// framework's modal loop, so pages see the thread's idle processing.
#pragma once

#include <prsht.h>

#include <vector>

#include "afxdlg.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)
 public:
  CPropertyPage();
  // nIDCaption: a string resource for the tab (0: the template's caption).
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
  explicit CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption = 0);
  ~CPropertyPage() override;
  void Construct(UINT nIDTemplate, UINT nIDCaption = 0);
  void Construct(LPCSTR lpszTemplateName, UINT nIDCaption = 0);

  // The record the sheet makes the page from (callers may adjust it before
  // the sheet is shown).
  PROPSHEETPAGEA m_psp{};

  // The sheet's Cancel becomes "Close" and OK is disabled.
  void CancelToClose();
  // Marks the page changed (enables Apply) or unchanged.
  void SetModified(BOOL bChanged = TRUE);
  BOOL IsModified() const { return m_bModified; }
  // PSM_QUERYSIBLINGS through the sheet: the first non-zero answer.
  LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);

  // The page becomes the current one: the data is shown again (the first
  // time OnInitDialog showed it). FALSE refuses the activation.
  virtual BOOL OnSetActive();
  // The page stops being current: the data is saved and checked; FALSE
  // keeps the page (a value was not valid).
  virtual BOOL OnKillActive();
  // OK or Apply: OnOK and TRUE; FALSE keeps the sheet open on this page.
  virtual BOOL OnApply();
  // Cancel: OnCancel.
  virtual void OnReset();
  // The page's changes are taken (no EndDialog: the sheet ends itself).
  void OnOK() override;
  // The page's changes are dropped (no EndDialog).
  void OnCancel() override;
  // Cancel was pressed on this page: TRUE lets the sheet close.
  virtual BOOL OnQueryCancel();

  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  // Keys are the sheet's: it runs the dialog manager over every page.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  CPropertySheet* GetSheet() const;

 protected:
  CString m_strCaption;
  CString m_strTemplate;
  BOOL m_bFirstSetActive = TRUE;
  BOOL m_bModified = FALSE;

 private:
  void commonConstruct(LPCSTR lpszTemplateName, UINT nIDCaption);
  friend INT_PTR CALLBACK AfxPropPageDlgProc(HWND, UINT, WPARAM, LPARAM);
};

// The page's dialog procedure: WM_INITDIALOG (whose lParam is the page's
// record) attaches the page object to its window and calls OnInitDialog.
INT_PTR CALLBACK AfxPropPageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

class CPropertySheet : public CWnd {
  DECLARE_DYNAMIC(CPropertySheet)
 public:
  CPropertySheet();
  explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  ~CPropertySheet() override;
  void Construct(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  void Construct(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

  // The header the sheet is made from (PSH_NOAPPLYNOW and the like may be
  // added before it is shown).
  PROPSHEETHEADERA m_psh{};

  // Pages are the caller's: the sheet never deletes them.
  void AddPage(CPropertyPage* pPage);
  void RemovePage(CPropertyPage* pPage);
  void RemovePage(int nPage);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int nPage) const;
  int GetPageIndex(CPropertyPage* pPage) const;
  CPropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage* pPage);
  // nStyle PSH_PROPTITLE: "<text> Properties".
  void SetTitle(LPCSTR lpszText, UINT nStyle = 0);
  HWND GetTabControl() const;
  BOOL PressButton(int nButton);

  // IDOK when the sheet was closed with OK, IDCANCEL otherwise, -1 when it
  // could not be shown. The owner is disabled while it runs.
  virtual INT_PTR DoModal();
  // A modeless sheet; the caller destroys it when its current page goes
  // (GetActivePage null after OK or Cancel).
  virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = (DWORD)-1, DWORD dwExStyle = 0);
  void EndDialog(int nEndID);
  // The sheet's window was laid out and its first page shown.
  virtual BOOL OnInitDialog() { return TRUE; }

  BOOL ContinueModal() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  std::vector<CPropertyPage*> m_pages;
  CString m_strCaption;
  CWnd* m_pParentWnd = nullptr;
  UINT m_nStartPage = 0;

 private:
  // The header with the pages' records, as PropertySheetA wants it.
  void buildHeader(HWND hWndParent);
  std::vector<PROPSHEETPAGEA> m_records;
};
