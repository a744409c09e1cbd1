#include "KyRTFViewer.h"

#include <shellapi.h>
#include <strings.h>

#include <algorithm>
#include <cctype>

#include "KyAppContext.h"
#include "KyFncMessage.h"
#include "KyProfile.h"
#include "KyRTFFile.h"

namespace {

int suppressMessages = 0;  // process-wide, as the viewer's flag is

constexpr UINT kMsgCannotPrint = 57447;
constexpr UINT kMsgCannotShow = 57448;
constexpr char kRegistry[] = "REGISTRY";

std::string setting(const char* pszKey) {
  std::string value = static_cast<const char*>(KyGetProfileString("Report", pszKey, kRegistry));
  return value.empty() ? kRegistry : value;
}

bool containsIgnoringCase(std::string text, std::string_view part) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text.find(part) != std::string::npos;
}

}  // namespace

KyRTFViewer::KyRTFViewer() : m_strPrint(setting("Print")), m_strOpen(setting("Open")) { suppressMessages = 0; }

void KyRTFViewer::SetDesPrev(int fSuppress) { suppressMessages = fSuppress; }
int KyRTFViewer::GetDesPrev() { return suppressMessages; }

void KyRTFViewer::SetFileName(const char* pszPrefix) {
  char szDir[MAX_PATH] = "";
  char szTemp[MAX_PATH] = "";
  DWORD n = GetTempPathA(sizeof szDir, szDir);
  if (n == 0 || n >= sizeof szDir || !GetTempFileNameA(szDir, pszPrefix ? pszPrefix : "", 0, szTemp)) {
    m_strFileName.clear();
    return;
  }
  DeleteFileA(szTemp);  // only its unique name is wanted
  // The temporary directory, the prefix and the unique part, as ".RTF".
  std::string made = szTemp;
  std::string name = made.substr(made.find_last_of("\\/") + 1);
  const std::string prefix = pszPrefix ? pszPrefix : "";
  std::string unique = name.substr(std::min(name.size(), prefix.size()));
  if (size_t dot = unique.rfind('.'); dot != std::string::npos) unique.erase(dot);
  m_strFileName = std::string(szDir) + prefix + unique + ".RTF";
}

void KyRTFViewer::launch(const std::string& program, const char* pszVerb, UINT nShow, UINT nMessage,
                         BOOL fAlwaysTell) {
  if (!m_pFile || !m_pFile->Output(m_strFileName.c_str(), m_pParent)) return;
  // A report file of this application: one that DeleteReportFiles may remove.
  if (KyAppContext* pContext = KyAppContext::Current()) pContext->GetReportFiles().push_back(m_strFileName.c_str());
  if (strcasecmp(program.c_str(), "None") == 0) return;
  UINT_PTR result;
  if (containsIgnoringCase(program, kRegistry)) {
    result = reinterpret_cast<UINT_PTR>(ShellExecuteA(m_pParent ? m_pParent->m_hWnd : nullptr, pszVerb,
                                                      m_strFileName.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED));
  } else {
    // The name in quotes: a report path may hold blanks.
    result = WinExec((program + " \"" + m_strFileName + "\"").c_str(), nShow);
  }
  if (result >= 33) return;
  m_fError = TRUE;
  if (fAlwaysTell || !suppressMessages) {
    KyString text = KyFormatMessageId(nMessage, {m_strFileName.c_str()});
    MessageBoxA(m_pParent ? m_pParent->m_hWnd : nullptr, text, AfxGetApp() ? AfxGetApp()->m_pszAppName : nullptr,
                MB_OK | MB_ICONEXCLAMATION);
  }
}

void KyRTFViewer::Preview() { launch(m_strOpen, "open", SW_SHOWMAXIMIZED, kMsgCannotShow, FALSE); }

void KyRTFViewer::Print() { launch(m_strPrint, "print", m_nPrintShow, kMsgCannotPrint, TRUE); }

void KyRTFViewer::Delete() {
  if (!m_strFileName.empty() && GetFileAttributesA(m_strFileName.c_str()) != INVALID_FILE_ATTRIBUTES) {
    DeleteFileA(m_strFileName.c_str());
  }
}

void KyRTFViewer::Dialog() {
  KyRTFPrintDlg dlg(this);
  dlg.DoModal();
}

KyRTFViewer& operator<<(KyRTFViewer& viewer, KyRTFFile& file) {
  viewer.m_pFile = &file;
  return viewer;
}

namespace {

constexpr UINT kPreviewButton = 302;
constexpr UINT kPrintButton = 303;

}  // namespace

BEGIN_MESSAGE_MAP(KyRTFPrintDlg, CDialog)
  ON_COMMAND(kPreviewButton, OnPreview)
  ON_COMMAND(kPrintButton, OnPrint)
END_MESSAGE_MAP()

KyRTFPrintDlg::KyRTFPrintDlg(KyRTFViewer* pViewer) : CDialog(IDD, pViewer ? pViewer->GetParentFrame() : nullptr),
                                                      m_pViewer(pViewer) {}

BOOL KyRTFPrintDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CenterWindow();
  return TRUE;
}

void KyRTFPrintDlg::OnPreview() {
  EndDialog(1);
  if (m_pViewer) m_pViewer->Preview();
}

void KyRTFPrintDlg::OnPrint() {
  EndDialog(1);
  if (m_pViewer) m_pViewer->Print();
}

void KyRTFPrintDlg::OnCancel() {
  EndDialog(2);
  if (m_pViewer) m_pViewer->Delete();
}
