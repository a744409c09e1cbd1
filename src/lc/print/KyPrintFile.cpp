#include "KyPrintFile.h"

#include <cstring>

namespace {

// Writes and reads go through blocks of this size: a report's spool file
// is written a line at a time and read a page at a time.
constexpr size_t kBlock = 64 * 1024;

}  // namespace

KyPrintFile::~KyPrintFile() { CloseFile(); }

BOOL KyPrintFile::OpenWrite(const char* pszName) {
  CloseFile();
  m_strName = pszName ? pszName : "";
  m_fWriteFailed = FALSE;
  m_fWriting = Open(m_strName, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary | CFile::shareDenyNone);
  return m_fWriting;
}

BOOL KyPrintFile::OpenRead(const char* pszName) {
  CloseFile();
  m_strName = pszName ? pszName : "";
  m_fWriting = FALSE;
  return Open(m_strName, CFile::modeRead | CFile::typeBinary | CFile::shareDenyNone);
}

BOOL KyPrintFile::flushWrites() {
  if (m_strWrite.empty()) return TRUE;
  try {
    CFile::Write(m_strWrite.data(), static_cast<UINT>(m_strWrite.size()));
  } catch (CException* e) {
    e->Delete();
    m_strWrite.clear();
    m_fWriteFailed = TRUE;
    return FALSE;
  }
  m_strWrite.clear();
  return TRUE;
}

void KyPrintFile::CloseFile() {
  if (IsOpen() && m_fWriting) flushWrites();
  if (IsOpen()) Abort();  // Abort closes without throwing
  m_fWriting = FALSE;
  m_strRead.clear();
  m_nReadPos = 0;
  m_fReadEnd = FALSE;
}

BOOL KyPrintFile::PutLine(const std::string& line) {
  if (!IsOpen() || !m_fWriting || m_fWriteFailed) return FALSE;
  m_strWrite += line;
  m_strWrite += '\n';
  return m_strWrite.size() < kBlock || flushWrites();
}

BOOL KyPrintFile::GetLine(std::string& line) {
  if (!IsOpen() || m_fWriting) return FALSE;
  line.clear();
  for (;;) {
    const char* start = m_strRead.data() + m_nReadPos;
    const size_t left = m_strRead.size() - m_nReadPos;
    if (const void* end = std::memchr(start, '\n', left)) {
      size_t length = static_cast<const char*>(end) - start;
      line.append(start, length);
      m_nReadPos += length + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return TRUE;
    }
    line.append(start, left);
    m_strRead.clear();
    m_nReadPos = 0;
    if (m_fReadEnd || !fillRead()) {
      // The last line may lack its line end.
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return !line.empty();
    }
  }
}

BOOL KyPrintFile::fillRead() {
  m_strRead.resize(kBlock);
  UINT got = 0;
  try {
    got = CFile::Read(m_strRead.data(), static_cast<UINT>(kBlock));
  } catch (CException* e) {
    e->Delete();
    got = 0;
  }
  m_strRead.resize(got);
  if (got == 0) m_fReadEnd = TRUE;
  return got > 0;
}
