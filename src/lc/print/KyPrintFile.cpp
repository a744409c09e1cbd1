#include "KyPrintFile.h"

KyPrintFile::~KyPrintFile() { CloseFile(); }

BOOL KyPrintFile::OpenWrite(const char* pszName) {
  CloseFile();
  m_strName = pszName ? pszName : "";
  m_fWriting = Open(m_strName, CFile::modeCreate | CFile::modeWrite | CFile::typeText | CFile::shareDenyNone);
  return m_fWriting;
}

BOOL KyPrintFile::OpenRead(const char* pszName) {
  CloseFile();
  m_strName = pszName ? pszName : "";
  m_fWriting = FALSE;
  return Open(m_strName, CFile::modeRead | CFile::typeText | CFile::shareDenyNone);
}

void KyPrintFile::CloseFile() {
  if (IsOpen()) Abort();  // Abort closes without throwing
  m_fWriting = FALSE;
}

BOOL KyPrintFile::PutLine(const std::string& line) {
  if (!IsOpen() || !m_fWriting) return FALSE;
  try {
    Write(line.data(), static_cast<UINT>(line.size()));
    Write("\n", 1);
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

BOOL KyPrintFile::GetLine(std::string& line) {
  if (!IsOpen() || m_fWriting) return FALSE;
  try {
    if (!ReadString(m_strRead)) return FALSE;
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  line.assign(static_cast<LPCSTR>(m_strRead), m_strRead.GetLength());
  return TRUE;
}
