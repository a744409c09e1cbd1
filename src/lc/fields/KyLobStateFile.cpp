// The file state: content in a file, read and written through the layer's
// low-level file functions (names in Windows spelling resolve there).
#include <fcntl.h>
#include <mscrt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "KyLobState.h"
#include "internal/hostpath.h"

namespace {

// Whether two names reach one file: the same device and inode when both
// exist, else the same host spelling.
bool sameFile(const std::string& a, const std::string& b) {
  const std::string hostA = win32::resolveHostPath(a), hostB = win32::resolveHostPath(b);
  struct stat sa {}, sb {};
  if (::stat(hostA.c_str(), &sa) == 0 && ::stat(hostB.c_str(), &sb) == 0)
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  return hostA == hostB;
}

std::string tempDirectory() {
  for (const char* variable : {"TMP", "TMPDIR"}) {
    if (const char* dir = std::getenv(variable); dir && *dir) return win32::resolveHostPath(dir);
  }
  return "/tmp";
}

}  // namespace

KyString KyLobStateFile::MakeTempName(const char* pszSuffix) {
  const std::string suffix = pszSuffix ? pszSuffix : "";
  std::string name = tempDirectory() + "/kyXXXXXX" + suffix;
  // mkstemps creates the file with O_EXCL: an existing file or a planted
  // link of that name is never opened; in a sticky temporary directory
  // nobody else can replace it afterwards.
  const int fd = ::mkstemps(name.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return KyString();
  ::close(fd);
  return KyString(name.c_str());
}

KyLobStateFile::KyLobStateFile(const char* pszName) : KyLobState(File) {
  if (!pszName || !*pszName) return;
  if (pszName[0] != '.') {
    m_FileName = pszName;
    return;
  }
  // An extension: a temporary file of that type, made now and ours.
  m_FileName = MakeTempName(pszName);
  m_fDeleteFile = !m_FileName.IsEmpty();
}

KyLobStateFile::~KyLobStateFile() {
  closeFile();
  if (m_fDeleteFile && !m_FileName.IsEmpty()) _unlink(m_FileName);
}

void KyLobStateFile::closeFile() {
  if (m_iFile >= 0) _close(m_iFile);
  m_iFile = -1;
  m_fWriting = 0;
}

bool KyLobStateFile::IsSameFile(const char* pszName) const {
  if (!pszName || !*pszName || m_FileName.IsEmpty()) return false;
  return sameFile(static_cast<const char*>(m_FileName), pszName);
}

int KyLobStateFile::GetPiece(void* pBuffer, LONG iWanted, LONG* piGot, LONGLONG lOffset) {
  *piGot = 0;
  if (m_iFile >= 0 && m_fWriting) closeFile();
  if (m_iFile < 0) {
    m_iFile = _open(m_FileName, _O_RDONLY | _O_BINARY);
    if (m_iFile < 0) return fail("Unable to open file %s for read", m_FileName);
  }
  if (_lseeki64(m_iFile, lOffset, SEEK_SET) != lOffset) {
    closeFile();
    return fail("Unable to open file %s for read", m_FileName);
  }
  LONG got = 0;
  while (pBuffer && got < iWanted) {
    const int n = _read(m_iFile, static_cast<char*>(pBuffer) + got, static_cast<unsigned>(iWanted - got));
    if (n < 0) {
      closeFile();
      return fail("Error reading %s", m_FileName);
    }
    if (n == 0) break;
    got += n;
  }
  *piGot = got;
  if (got < iWanted) closeFile();  // the end is reached
  return 1;
}

int KyLobStateFile::BeginPut(LONG) {
  closeFile();
  if (m_FileName.IsEmpty()) {
    m_FileName = MakeTempName("");
    if (m_FileName.IsEmpty()) return fail("Unable to open file %s for write", tempDirectory().c_str());
    m_fDeleteFile = 1;
  }
  m_iFile = _open(m_FileName, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (m_iFile < 0) return fail("Unable to open file %s for write", m_FileName);
  m_fWriting = 1;
  return 1;
}

// Every byte is written or the put fails: a full disk is an error.
int KyLobStateFile::PutPiece(const void* pBuffer, LONG iSize, LONGLONG, int fLast) {
  if (m_iFile < 0 || !m_fWriting) return fail("Error writing to %s", m_FileName);
  LONG written = 0;
  while (pBuffer && written < iSize) {
    const int n = _write(m_iFile, static_cast<const char*>(pBuffer) + written, static_cast<unsigned>(iSize - written));
    if (n <= 0) {
      closeFile();
      return fail("Error writing to %s", m_FileName);
    }
    written += n;
  }
  if (fLast) {
    // The close reports what the write-back could not store.
    const int closed = _close(m_iFile);
    m_iFile = -1;
    m_fWriting = 0;
    if (closed != 0) return fail("Error writing to %s", m_FileName);
  }
  return 1;
}

LONGLONG KyLobStateFile::GetLength() {
  if (m_FileName.IsEmpty()) return 0;
  int fd = -1;
  if (_sopen_s(&fd, m_FileName, _O_BINARY | _O_RDONLY, _SH_DENYNO, _S_IREAD) != 0 || fd < 0) return 0;
  const LONGLONG length = _filelengthi64(fd);
  _close(fd);
  return length < 0 ? 0 : length;
}
