// CFile, CStdioFile and CFileException: files through the kernel's file
// handles, with the framework's open modes and its exceptions.
//
// Open answers FALSE and fills the caller's CFileException; the other
// operations throw CFileException* when the system call fails.
#pragma once

#include "afxexcept.h"
#include "afxstr.h"
#include "afxtime.h"

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
    generic = genericException,
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszArchiveName = nullptr);

  // The cause that a Win32 error code stands for (genericException when the
  // code has no closer cause).
  static int OsErrorToException(LONG lOsError);
  // Throws a CFileException for a Win32 error code; 0 throws nothing.
  static void ThrowOsError(LONG lOsError, LPCSTR lpszFileName = nullptr);

  // The framework's text for the cause, with the file name in it.
  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

  int m_cause;
  LONG m_lOsError;  // Win32 error code, -1 when there is none
  CString m_strFileName;
};

[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);

struct CFileStatus {
  CTime m_ctime;  // creation (the last status change on Linux)
  CTime m_mtime;  // last modification
  CTime m_atime;  // last access
  ULONGLONG m_size = 0;
  BYTE m_attribute = 0;  // CFile::Attribute bits
  BYTE m_padding = 0;
  char m_szFullName[_MAX_PATH] = {};
};

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
    osNoBuffer = 0x10000,
    osWriteThrough = 0x20000,
    osRandomAccess = 0x40000,
    osSequentialScan = 0x80000,
  };
  enum Attribute { normal = 0x00, readOnly = 0x01, hidden = 0x02, system = 0x04, volume = 0x08, directory = 0x10, archive = 0x20 };
  enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

  static const HANDLE hFileNull;

  CFile();
  // Wraps a handle the caller owns: the object does not close it.
  explicit CFile(HANDLE hFile);
  // Opens or throws the CFileException that Open would report.
  CFile(LPCSTR lpszFileName, UINT nOpenFlags);
  ~CFile() override;

  operator HANDLE() const { return m_hFile; }

  virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  virtual void Close();
  // Closes without throwing, whatever the state.
  virtual void Abort();
  virtual void Flush();

  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetLength() const;
  virtual void SetLength(ULONGLONG dwNewLen);
  virtual ULONGLONG GetPosition() const;
  virtual void LockRange(ULONGLONG dwPos, ULONGLONG dwCount);
  virtual void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount);

  // Name with extension / without extension / the full path given at Open.
  virtual CString GetFileName() const;
  virtual CString GetFileTitle() const;
  virtual CString GetFilePath() const { return m_strFileName; }
  virtual void SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }

  BOOL GetStatus(CFileStatus& rStatus) const;
  static BOOL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);
  static void Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
  static void Remove(LPCSTR lpszFileName);

  HANDLE m_hFile;

 protected:
  // Throws for the thread's last error, naming this file.
  [[noreturn]] void throwLastError() const;

  BOOL m_bCloseOnDelete;
  CString m_strFileName;
};

// A file read and written as text lines. In text mode (the default; not
// typeBinary) "\r\n" reads as "\n", a Ctrl-Z ends the text, and "\n" is
// written as "\r\n". A file opened for writing without modeCreate, or with
// modeCreate | modeNoTruncate, is appended to: every write goes to its end.
class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
 public:
  CStdioFile() = default;
  CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);

  BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  void Close() override;
  void Abort() override;

  // The next line without its line end; FALSE at the end of the file when
  // nothing was left to read.
  virtual BOOL ReadString(CString& rString);
  // At most nMax - 1 characters of the next line, keeping its "\n"; null at
  // the end of the file.
  virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);
  virtual void WriteString(LPCSTR lpsz);

  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetPosition() const override;
  void SetLength(ULONGLONG dwNewLen) override;

 private:
  // Reads the next byte as the text mode sees it; -1 at the end.
  int nextChar();
  bool fill();
  // Moves the file pointer back over bytes read ahead and not used.
  void dropReadAhead();

  static constexpr UINT bufferSize = 4096;
  char m_buffer[bufferSize] = {};
  UINT m_nNext = 0;  // next unread byte in m_buffer
  UINT m_nEnd = 0;   // bytes in m_buffer
  bool m_bText = true;
  bool m_bAppend = false;
  bool m_bEndOfText = false;  // Ctrl-Z seen in text mode
};
