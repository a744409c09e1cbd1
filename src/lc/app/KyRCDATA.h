// KyRCDATA: an RCDATA block of a panel's resource library (control tables,
// state layouts), located, loaded and locked. All members are null/0 when
// the resource is missing.
#pragma once

#include <windows.h>

class KyPanel;

class KyRCDATA {
 public:
  KyRCDATA(KyPanel* pPanel, int iId);
  ~KyRCDATA();

  KyRCDATA(const KyRCDATA& other) { *this = other; }
  // The copy shares the locked resource (resources stay mapped for the
  // module's lifetime, so sharing needs no count).
  KyRCDATA& operator=(const KyRCDATA& other);

  HRSRC m_hResInfo = nullptr;
  HGLOBAL m_hResData = nullptr;
  const BYTE* m_pData = nullptr;
  DWORD m_dwSize = 0;
};
