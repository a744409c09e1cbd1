// KyDirectory: the current drive and directory taken at construction, put
// back by Restore and by the destructor.
#pragma once

#include <windows.h>

class KyDirectory {
 public:
  KyDirectory();
  ~KyDirectory();

  // Changes to the remembered drive (when above 0), then to the directory.
  void Restore();

  int GetDrive() const { return m_iDrive; }      // 1 = A:
  const char* GetDirectory() const { return m_szDirectory; }

 private:
  KyDirectory(const KyDirectory&) = delete;
  KyDirectory& operator=(const KyDirectory&) = delete;

  int m_iDrive = 0;
  char m_szDirectory[257] = {};  // at most 256 characters; empty when longer
};
