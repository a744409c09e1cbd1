// KyPrintFile: the spool file of a report, one command a text line.
//
// Lines are written and read whole, whatever their length: a spooled
// command is never cut, and the reader takes any line the writer made
// (ended by "\n" or "\r\n"). Both directions go through blocks of their
// own rather than a system call a line. File errors never escape as
// exceptions: they give FALSE.
#pragma once

#include <afx.h>

#include <string>

class KyPrintFile : public CStdioFile {
 public:
  KyPrintFile() = default;
  virtual ~KyPrintFile();

  // Creates `pszName` for writing (an existing file is emptied).
  BOOL OpenWrite(const char* pszName);
  BOOL OpenRead(const char* pszName);
  BOOL IsOpen() const { return m_hFile != CFile::hFileNull; }
  void CloseFile();

  // Writes `line` and its line end; FALSE when the file is not open for
  // writing or the write failed.
  BOOL PutLine(const std::string& line);
  // The next line without its line end; FALSE at the end of the file.
  BOOL GetLine(std::string& line);

  const CString& GetName() const { return m_strName; }

 private:
  BOOL flushWrites();
  BOOL fillRead();

  CString m_strName;
  BOOL m_fWriting = FALSE;
  BOOL m_fWriteFailed = FALSE;
  std::string m_strWrite;  // lines not yet written
  std::string m_strRead;   // a block read ahead
  size_t m_nReadPos = 0;
  BOOL m_fReadEnd = FALSE;
};
