// The common dialogs of the framework: CFileDialog over GetOpenFileNameA /
// GetSaveFileNameA; the property sheets (afxpropsheet.h).
#pragma once

#include "afxwin.h"
#include "afxpropsheet.h"

#include <commdlg.h>

#include <vector>

class CFileDialog : public CDialog {
  DECLARE_DYNAMIC(CFileDialog)
 public:
  // lpszFilter in the framework's form: "Text (*.txt)|*.txt|All (*.*)|*.*||"
  // ('|' separates description and pattern; the last pair ends with "||").
  explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                       CWnd* pParentWnd = nullptr);

  OPENFILENAMEA m_ofn{};  // the record the dialog runs with (callers may adjust it)

  // IDOK with the choice, IDCANCEL when cancelled or failed (the reason in
  // CommDlgExtendedError). The owner is found as for a message box.
  INT_PTR DoModal() override;

  CString GetPathName() const;   // the full path (the first of a multiple selection)
  CString GetFileName() const;   // name and extension
  CString GetFileExt() const;    // extension without the dot
  CString GetFileTitle() const;  // name without the extension
  BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }
  // A multiple selection: positions walk the chosen paths.
  POSITION GetStartPosition() const;
  CString GetNextPathName(POSITION& pos) const;

 protected:
  BOOL m_bOpenFileDialog;
  std::vector<char> m_fileBuffer;    // lpstrFile
  std::vector<char> m_titleBuffer;   // lpstrFileTitle
  std::vector<char> m_filterBuffer;  // the filter with '\0' for '|'
  CString m_strDefExt;
  // The chosen paths, split from the result (one, or directory + names).
  std::vector<CString> Paths() const;
};
