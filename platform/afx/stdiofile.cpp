// CStdioFile: text lines over CFile, with the C run-time's text mode.
//
// Reading goes through a read-ahead buffer; the file pointer of the handle
// is then ahead of the caller's position by the unread bytes, which every
// seek, write and position query takes back into account. Writes are not
// buffered.
#include <afx.h>

#include <algorithm>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

constexpr int ctrlZ = 0x1A;  // end of a text file in text mode

}  // namespace

CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags) {
  CFileException error;
  if (!Open(lpszFileName, nOpenFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  m_nNext = m_nEnd = 0;
  m_bEndOfText = false;
  if (!CFile::Open(lpszFileName, nOpenFlags & ~static_cast<UINT>(typeText | typeBinary), pError)) return FALSE;
  m_bText = !(nOpenFlags & typeBinary);
  // The stream modes "a" and "a+" of the framework's mapping.
  m_bAppend = (nOpenFlags & modeCreate) ? (nOpenFlags & modeNoTruncate) != 0 : (nOpenFlags & modeWrite) != 0;
  return TRUE;
}

void CStdioFile::Close() {
  m_nNext = m_nEnd = 0;
  m_bEndOfText = false;
  CFile::Close();
}

void CStdioFile::Abort() {
  m_nNext = m_nEnd = 0;
  m_bEndOfText = false;
  CFile::Abort();
}

bool CStdioFile::fill() {
  if (m_nNext < m_nEnd) return true;
  m_nNext = 0;
  m_nEnd = CFile::Read(m_buffer, bufferSize);
  return m_nEnd > 0;
}

void CStdioFile::dropReadAhead() {
  UINT nUnread = m_nEnd - m_nNext;
  m_nNext = m_nEnd = 0;
  m_bEndOfText = false;
  if (nUnread > 0) CFile::Seek(-static_cast<LONGLONG>(nUnread), current);
}

int CStdioFile::nextChar() {
  if (m_bEndOfText || !fill()) return -1;
  int ch = static_cast<unsigned char>(m_buffer[m_nNext++]);
  if (!m_bText) return ch;
  if (ch == ctrlZ) {
    --m_nNext;  // stays unread: the position is that of the Ctrl-Z
    m_bEndOfText = true;
    return -1;
  }
  if (ch == '\r' && fill() && m_buffer[m_nNext] == '\n') {
    ++m_nNext;
    return '\n';
  }
  return ch;
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  if (!lpBuf) AfxThrowInvalidArgException();
  auto* out = static_cast<char*>(lpBuf);
  UINT nDone = 0;
  if (!m_bText) {
    while (nDone < nCount && fill()) {
      UINT nTake = std::min(nCount - nDone, m_nEnd - m_nNext);
      std::memcpy(out + nDone, m_buffer + m_nNext, nTake);
      m_nNext += nTake;
      nDone += nTake;
    }
    return nDone;
  }
  for (int ch; nDone < nCount && (ch = nextChar()) >= 0;) out[nDone++] = static_cast<char>(ch);
  return nDone;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  if (!lpBuf) AfxThrowInvalidArgException();
  dropReadAhead();
  if (m_bAppend) CFile::Seek(0, end);
  const auto* in = static_cast<const char*>(lpBuf);
  if (!m_bText) {
    CFile::Write(in, nCount);
    return;
  }
  // "\n" goes out as "\r\n"; the text is passed on in runs between line ends.
  const char* pEnd = in + nCount;
  for (const char* p = in; p < pEnd;) {
    const char* pLineEnd = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(pEnd - p)));
    const char* pStop = pLineEnd ? pLineEnd : pEnd;
    CFile::Write(p, static_cast<UINT>(pStop - p));
    if (!pLineEnd) break;
    CFile::Write("\r\n", 2);
    p = pLineEnd + 1;
  }
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom) {
  dropReadAhead();
  return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetPosition() const { return CFile::GetPosition() - (m_nEnd - m_nNext); }

void CStdioFile::SetLength(ULONGLONG dwNewLen) {
  dropReadAhead();
  CFile::SetLength(dwNewLen);
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax) {
  if (!lpsz || nMax == 0) AfxThrowInvalidArgException();
  UINT nDone = 0;
  int ch = 0;
  while (nDone + 1 < nMax && (ch = nextChar()) >= 0) {
    lpsz[nDone++] = static_cast<char>(ch);
    if (ch == '\n') break;
  }
  lpsz[nDone] = '\0';
  return (nDone == 0 && ch < 0) ? nullptr : lpsz;
}

// A last line without a line end is still a line (TRUE), also when it is
// longer than a read buffer: the framework's loop answered FALSE there.
BOOL CStdioFile::ReadString(CString& rString) {
  std::string line;
  int ch = 0;
  while ((ch = nextChar()) >= 0 && ch != '\n') line += static_cast<char>(ch);
  rString = CString(line.data(), static_cast<int>(line.size()));
  return ch >= 0 || !line.empty();
}

void CStdioFile::WriteString(LPCSTR lpsz) {
  if (!lpsz) AfxThrowInvalidArgException();
  Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}
