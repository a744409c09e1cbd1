// CFile and CFileException over the kernel's file handles.
#include <afx.h>

#include <algorithm>
#include <climits>
#include <cstring>

IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

// --- CFileException ------------------------------------------------------------

namespace {

struct OsErrorCause {
  LONG osError;
  int cause;
};

// Win32 errors of file operations and the cause each stands for.
constexpr OsErrorCause osErrorCauses[] = {
    {NO_ERROR, CFileException::none},
    {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
    {ERROR_PATH_NOT_FOUND, CFileException::badPath},
    {ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles},
    {ERROR_ACCESS_DENIED, CFileException::accessDenied},
    {ERROR_INVALID_HANDLE, CFileException::invalidFile},
    {ERROR_BAD_FORMAT, CFileException::invalidFile},
    {ERROR_INVALID_ACCESS, CFileException::accessDenied},
    {ERROR_INVALID_DRIVE, CFileException::badPath},
    {16, CFileException::removeCurrentDir},  // ERROR_CURRENT_DIRECTORY
    {ERROR_NOT_SAME_DEVICE, CFileException::badPath},
    {ERROR_NO_MORE_FILES, CFileException::fileNotFound},
    {ERROR_WRITE_PROTECT, CFileException::accessDenied},
    {ERROR_NOT_READY, CFileException::hardIO},
    {23, CFileException::hardIO},   // ERROR_CRC
    {25, CFileException::badSeek},  // ERROR_SEEK
    {29, CFileException::accessDenied},  // ERROR_WRITE_FAULT
    {30, CFileException::badSeek},  // ERROR_READ_FAULT
    {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
    {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
    {ERROR_HANDLE_EOF, CFileException::endOfFile},
    {ERROR_HANDLE_DISK_FULL, CFileException::diskFull},
    {ERROR_FILE_EXISTS, CFileException::accessDenied},
    {ERROR_DISK_FULL, CFileException::diskFull},
    {ERROR_INVALID_NAME, CFileException::badPath},
    {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
    {ERROR_DIR_NOT_EMPTY, CFileException::removeCurrentDir},
    {ERROR_BAD_PATHNAME, CFileException::badPath},
    {167, CFileException::lockViolation},  // ERROR_LOCK_FAILED
    {ERROR_BUSY, CFileException::accessDenied},
    {ERROR_ALREADY_EXISTS, CFileException::accessDenied},
    {ERROR_FILENAME_EXCED_RANGE, CFileException::badPath},
    {ERROR_DIRECTORY, CFileException::badPath},
    {ERROR_FILE_TOO_LARGE, CFileException::diskFull},
    {ERROR_IO_DEVICE, CFileException::hardIO},
};

// The framework's message per cause; %1 is the file name.
constexpr const char* causeTexts[] = {
    "No error occurred.",
    "An unknown error occurred while accessing %1.",
    "%1 was not found.",
    "%1 contains an invalid path.",
    "%1 could not be opened because there are too many open files.",
    "Access to %1 was denied.",
    "An invalid file handle was associated with %1.",
    "%1 could not be removed because it is the current directory.",
    "%1 could not be created because the directory is full.",
    "Seek failed on %1",
    "A hardware I/O error was reported while accessing %1.",
    "A sharing violation occurred while accessing %1.",
    "A locking violation occurred while accessing %1.",
    "Disk full while accessing %1.",
    "An attempt was made to access %1 past its end.",
};

}  // namespace

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

int CFileException::OsErrorToException(LONG lOsError) {
  for (const OsErrorCause& entry : osErrorCauses)
    if (entry.osError == lOsError) return entry.cause;
  return genericException;
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName) {
  if (lOsError != 0) AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  if (m_cause < 0 || m_cause >= static_cast<int>(std::size(causeTexts))) return CException::GetErrorMessage(lpszError, nMaxError);
  CString text(causeTexts[m_cause]);
  text.Replace("%1", m_strFileName.IsEmpty() ? "an unnamed file" : static_cast<LPCSTR>(m_strFileName));
  return copyMessage(text, lpszError, nMaxError);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName) {
  throw new CFileException(cause, lOsError, lpszFileName);
}

// --- CFile ------------------------------------------------------------------------

namespace {

DWORD accessOf(UINT nOpenFlags) {
  switch (nOpenFlags & 3) {
    case CFile::modeWrite: return GENERIC_WRITE;
    case CFile::modeReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
  }
}

DWORD shareOf(UINT nOpenFlags) {
  switch (nOpenFlags & 0x70) {
    case CFile::shareDenyWrite: return FILE_SHARE_READ;
    case CFile::shareDenyRead: return FILE_SHARE_WRITE;
    case CFile::shareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0;  // compatibility mode is exclusive, as in the framework
  }
}

DWORD dispositionOf(UINT nOpenFlags) {
  if (!(nOpenFlags & CFile::modeCreate)) return OPEN_EXISTING;
  return (nOpenFlags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

DWORD flagsOf(UINT nOpenFlags) {
  DWORD flags = FILE_ATTRIBUTE_NORMAL;
  if (nOpenFlags & CFile::osNoBuffer) flags |= FILE_FLAG_NO_BUFFERING;
  if (nOpenFlags & CFile::osWriteThrough) flags |= FILE_FLAG_WRITE_THROUGH;
  if (nOpenFlags & CFile::osRandomAccess) flags |= FILE_FLAG_RANDOM_ACCESS;
  if (nOpenFlags & CFile::osSequentialScan) flags |= FILE_FLAG_SEQUENTIAL_SCAN;
  return flags;
}

void fillError(CFileException* pError, LONG lOsError, LPCSTR lpszFileName) {
  if (!pError) return;
  pError->m_lOsError = lOsError;
  pError->m_cause = CFileException::OsErrorToException(lOsError);
  pError->m_strFileName = lpszFileName;
}

CTime timeOf(const FILETIME& fileTime) {
  return CTime::IsValidFILETIME(fileTime) ? CTime(fileTime) : CTime();
}

BYTE attributeBits(DWORD fileAttributes) { return static_cast<BYTE>(fileAttributes & 0x3F); }

// Throws for the thread's last error; a failure that left no error code
// still throws (genericException), so that no failure passes silently.
[[noreturn]] void throwForLastError(LPCSTR lpszFileName) {
  LONG lOsError = static_cast<LONG>(GetLastError());
  if (lOsError == 0) AfxThrowFileException(CFileException::genericException, -1, lpszFileName);
  AfxThrowFileException(CFileException::OsErrorToException(lOsError), lOsError, lpszFileName);
}

}  // namespace

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : CFile() {
  CFileException error;
  if (!Open(lpszFileName, nOpenFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

void CFile::throwLastError() const { throwForLastError(m_strFileName); }

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_hFile != hFileNull) Abort();
  m_strFileName.Empty();
  if (!lpszFileName || !*lpszFileName) {
    fillError(pError, ERROR_INVALID_NAME, lpszFileName);
    if (pError) pError->m_cause = CFileException::badPath;
    return FALSE;
  }
  // The path is kept in full, so that GetFilePath does not change when the
  // current directory does.
  char fullPath[_MAX_PATH];
  DWORD nFull = GetFullPathNameA(lpszFileName, sizeof fullPath, fullPath, nullptr);
  if (nFull == 0 || nFull >= sizeof fullPath) {
    fillError(pError, nFull == 0 ? static_cast<LONG>(GetLastError()) : ERROR_FILENAME_EXCED_RANGE, lpszFileName);
    if (pError) pError->m_cause = CFileException::badPath;
    return FALSE;
  }
  HANDLE hFile = CreateFileA(lpszFileName, accessOf(nOpenFlags), shareOf(nOpenFlags), nullptr,
                             dispositionOf(nOpenFlags), flagsOf(nOpenFlags), nullptr);
  if (hFile == INVALID_HANDLE_VALUE) {
    fillError(pError, static_cast<LONG>(GetLastError()), lpszFileName);
    return FALSE;
  }
  m_hFile = hFile;
  m_bCloseOnDelete = TRUE;
  m_strFileName = fullPath;
  return TRUE;
}

void CFile::Close() {
  bool failed = m_hFile != hFileNull && !CloseHandle(m_hFile);
  CString name = m_strFileName;
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
  if (failed) throwForLastError(name);
}

void CFile::Abort() {
  if (m_hFile != hFileNull) CloseHandle(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}

void CFile::Flush() {
  if (m_hFile == hFileNull) return;
  if (!FlushFileBuffers(m_hFile)) throwLastError();
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  if (!lpBuf) AfxThrowInvalidArgException();
  DWORD nRead = 0;
  if (!ReadFile(m_hFile, lpBuf, nCount, &nRead, nullptr)) throwLastError();
  return nRead;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  if (!lpBuf) AfxThrowInvalidArgException();
  DWORD nWritten = 0;
  if (!WriteFile(m_hFile, lpBuf, nCount, &nWritten, nullptr)) throwLastError();
  // A short write means the disk is full, as the framework reports it.
  if (nWritten != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  LARGE_INTEGER distance;
  distance.QuadPart = lOff;
  LARGE_INTEGER position;
  position.QuadPart = 0;
  if (!SetFilePointerEx(m_hFile, distance, &position, nFrom)) throwLastError();
  return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetPosition() const {
  LARGE_INTEGER zero;
  zero.QuadPart = 0;
  LARGE_INTEGER position;
  position.QuadPart = 0;
  if (!SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT)) throwLastError();
  return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER size;
  size.QuadPart = 0;
  if (!GetFileSizeEx(m_hFile, &size)) throwLastError();
  return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  if (dwNewLen > static_cast<ULONGLONG>(LLONG_MAX)) AfxThrowInvalidArgException();
  Seek(static_cast<LONGLONG>(dwNewLen), begin);
  if (!SetEndOfFile(m_hFile)) throwLastError();
}

void CFile::LockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
  if (!LockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32), static_cast<DWORD>(dwCount),
                static_cast<DWORD>(dwCount >> 32)))
    throwLastError();
}

void CFile::UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
  if (!UnlockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32), static_cast<DWORD>(dwCount),
                  static_cast<DWORD>(dwCount >> 32)))
    throwLastError();
}

CString CFile::GetFileName() const {
  int nSeparator = std::max(m_strFileName.ReverseFind('\\'), m_strFileName.ReverseFind('/'));
  return m_strFileName.Mid(std::max(nSeparator, m_strFileName.ReverseFind(':')) + 1);
}

CString CFile::GetFileTitle() const {
  CString name = GetFileName();
  int nDot = name.ReverseFind('.');
  return nDot > 0 ? name.Left(nDot) : name;
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
  rStatus = CFileStatus{};
  size_t nName = std::min<size_t>(static_cast<size_t>(m_strFileName.GetLength()), sizeof rStatus.m_szFullName - 1);
  std::memcpy(rStatus.m_szFullName, static_cast<LPCSTR>(m_strFileName), nName);
  if (m_hFile == hFileNull) return FALSE;
  FILETIME created, accessed, written;
  LARGE_INTEGER size;
  if (!GetFileTime(m_hFile, &created, &accessed, &written) || !GetFileSizeEx(m_hFile, &size)) return FALSE;
  rStatus.m_ctime = timeOf(created);
  rStatus.m_atime = timeOf(accessed);
  rStatus.m_mtime = timeOf(written);
  rStatus.m_size = static_cast<ULONGLONG>(size.QuadPart);
  if (!m_strFileName.IsEmpty()) {
    DWORD attributes = GetFileAttributesA(m_strFileName);
    if (attributes != INVALID_FILE_ATTRIBUTES) rStatus.m_attribute = attributeBits(attributes);
  }
  return TRUE;
}

BOOL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus) {
  rStatus = CFileStatus{};
  if (!lpszFileName) return FALSE;
  DWORD nFull = GetFullPathNameA(lpszFileName, sizeof rStatus.m_szFullName, rStatus.m_szFullName, nullptr);
  if (nFull == 0 || nFull >= sizeof rStatus.m_szFullName) {
    rStatus.m_szFullName[0] = '\0';
    return FALSE;
  }
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &data)) return FALSE;
  rStatus.m_ctime = timeOf(data.ftCreationTime);
  rStatus.m_atime = timeOf(data.ftLastAccessTime);
  rStatus.m_mtime = timeOf(data.ftLastWriteTime);
  rStatus.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  rStatus.m_attribute = attributeBits(data.dwFileAttributes);
  return TRUE;
}

void CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName) {
  if (!MoveFileA(lpszOldName, lpszNewName)) throwForLastError(lpszOldName);
}

void CFile::Remove(LPCSTR lpszFileName) {
  if (!DeleteFileA(lpszFileName)) throwForLastError(lpszFileName);
}
