// KyRTFViewer: hands a finished RTF report to the program that shows or
// prints it: [Report] "Open" and "Print" of the application's settings
// ("REGISTRY", the default, or empty: the shell's association; "None": do
// nothing; else a program started with the file's name).
#pragma once

#include <afxwin.h>

#include <string>

class KyRTFFile;

class KyRTFViewer {
 public:
  KyRTFViewer();
  virtual ~KyRTFViewer() = default;

  void SetFileName(const char* pszPrefix);
  const std::string& GetFileName() const { return m_strFileName; }
  void Preview();
  void Print();
  void Dialog();
  void Delete();
  void SetParentFrame(CWnd* pParent) { m_pParent = pParent; }
  CWnd* GetParentFrame() const { return m_pParent; }
  BOOL HasFailed() const { return m_fError; }

  // Messages of every viewer and file are suppressed while set; each new
  // viewer clears it.
  static void SetDesPrev(int fSuppress);
  static int GetDesPrev();

  KyRTFFile* m_pFile = nullptr;

 private:
  // Output, then the configured program; message nMessage when it cannot
  // start (always, or unless suppressed).
  void launch(const std::string& setting, const char* pszVerb, UINT nShow, UINT nMessage, BOOL fAlwaysTell);

  std::string m_strFileName;
  std::string m_strPrint;
  std::string m_strOpen;
  BOOL m_fError = FALSE;
  UINT m_nPrintShow = 0;
  CWnd* m_pParent = nullptr;
};

KyRTFViewer& operator<<(KyRTFViewer& viewer, KyRTFFile& file);

// The choice for a finished RTF report (language library template 301).
class KyRTFPrintDlg : public CDialog {
 public:
  enum { IDD = 301 };
  explicit KyRTFPrintDlg(KyRTFViewer* pViewer);
  BOOL OnInitDialog() override;
  afx_msg void OnPreview();
  afx_msg void OnPrint();
  void OnCancel() override;
  DECLARE_MESSAGE_MAP()

 private:
  KyRTFViewer* m_pViewer;
};
