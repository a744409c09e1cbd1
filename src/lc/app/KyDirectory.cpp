// KyDirectory: remember and restore the current drive and directory.
#include "KyDirectory.h"

#include <mscrt.h>

KyDirectory::KyDirectory() : m_iDrive(_getdrive()) {
  // A directory longer than the record holds is not remembered: Restore
  // then leaves the directory alone rather than change to a cut one.
  if (!_getcwd(m_szDirectory, sizeof m_szDirectory)) m_szDirectory[0] = '\0';
}

KyDirectory::~KyDirectory() { Restore(); }

void KyDirectory::Restore() {
  if (m_iDrive > 0) _chdrive(m_iDrive);
  if (m_szDirectory[0]) SetCurrentDirectoryA(m_szDirectory);
}
