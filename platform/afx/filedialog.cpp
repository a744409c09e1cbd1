// CFileDialog: the framework's file dialog over the common dialog
// functions, with the framework's '|' filter form and the path accessors.
#include "afxstate.h"

#include <afxdlgs.h>

#include <cstring>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {

// Room for a multiple selection of many long names.
constexpr size_t kFileBufferSize = 64 * 1024;

}  // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog),
      m_fileBuffer(kFileBufferSize, '\0'),
      m_titleBuffer(MAX_PATH, '\0') {
  m_pParentWnd = pParentWnd;
  m_ofn.lStructSize = sizeof m_ofn;
  m_ofn.Flags = dwFlags | OFN_EXPLORER;
  m_ofn.lpstrFile = m_fileBuffer.data();
  m_ofn.nMaxFile = (DWORD)m_fileBuffer.size();
  m_ofn.lpstrFileTitle = m_titleBuffer.data();
  m_ofn.nMaxFileTitle = (DWORD)m_titleBuffer.size();
  if (lpszDefExt) {
    m_strDefExt = lpszDefExt;
    m_ofn.lpstrDefExt = m_strDefExt;
  }
  if (lpszFileName) {
    // A name longer than the buffer is cut, never overrun.
    size_t n = std::min(std::strlen(lpszFileName), m_fileBuffer.size() - 1);
    std::memcpy(m_fileBuffer.data(), lpszFileName, n);
  }
  if (lpszFilter) {
    // "Desc|*.x|Desc2|*.y||" becomes "Desc\0*.x\0Desc2\0*.y\0\0".
    size_t n = std::strlen(lpszFilter);
    m_filterBuffer.assign(lpszFilter, lpszFilter + n);
    m_filterBuffer.push_back('\0');
    m_filterBuffer.push_back('\0');
    for (char& c : m_filterBuffer) {
      if (c == '|') c = '\0';
    }
    m_ofn.lpstrFilter = m_filterBuffer.data();
  }
}

INT_PTR CFileDialog::DoModal() {
  HWND hWndTop = nullptr;
  m_ofn.hwndOwner = CWnd::GetSafeOwner_(AfxWndHandle(m_pParentWnd), &hWndTop);
  // The owner chain is disabled by the dialog itself; the top window
  // GetSafeOwner_ disabled comes back here.
  BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
  if (hWndTop) ::EnableWindow(hWndTop, TRUE);
  return bResult ? IDOK : IDCANCEL;
}

std::vector<CString> CFileDialog::Paths() const {
  std::vector<CString> paths;
  const char* p = m_ofn.lpstrFile;
  if (!p || !*p) return paths;
  const char* second = p + std::strlen(p) + 1;
  if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT) || !*second) {
    paths.emplace_back(p);
    return paths;
  }
  // Directory, then each name.
  CString dir(p);
  // Joined with the separator the directory itself uses.
  const char* sep = (dir.Find('\\') < 0 && dir.Find('/') >= 0) ? "/" : "\\";
  if (dir.Right(1) != "\\" && dir.Right(1) != "/") dir += sep;
  for (const char* name = second; *name; name += std::strlen(name) + 1) paths.push_back(dir + name);
  return paths;
}

CString CFileDialog::GetPathName() const {
  std::vector<CString> paths = Paths();
  return paths.empty() ? CString() : paths.front();
}

CString CFileDialog::GetFileName() const {
  CString path = GetPathName();
  int slash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
  return path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

POSITION CFileDialog::GetStartPosition() const {
  // Positions are 1-based indexes of the chosen paths.
  return Paths().empty() ? nullptr : reinterpret_cast<POSITION>((uintptr_t)1);
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
  std::vector<CString> paths = Paths();
  uintptr_t index = reinterpret_cast<uintptr_t>(pos);
  if (index == 0 || index > paths.size()) {
    pos = nullptr;
    return CString();
  }
  CString path = paths[index - 1];
  pos = index < paths.size() ? reinterpret_cast<POSITION>(index + 1) : nullptr;
  return path;
}
