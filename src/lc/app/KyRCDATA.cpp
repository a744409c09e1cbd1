#include "KyRCDATA.h"

#include <afx.h>

#include "KyResourceScope.h"

KyRCDATA::KyRCDATA(KyPanel* pPanel, int iId) {
  KyResourceScope scope(pPanel);
  HINSTANCE hModule = AfxGetResourceHandle();
  m_hResInfo = FindResourceA(hModule, MAKEINTRESOURCEA(iId & 0xFFFF), RT_RCDATA);
  if (!m_hResInfo) return;
  m_dwSize = SizeofResource(hModule, m_hResInfo);
  m_hResData = LoadResource(hModule, m_hResInfo);
  m_pData = m_hResData ? static_cast<const BYTE*>(LockResource(m_hResData)) : nullptr;
  if (!m_pData) {
    m_hResInfo = nullptr;
    m_hResData = nullptr;
    m_dwSize = 0;
  }
}

KyRCDATA::~KyRCDATA() {
  if (m_hResData) FreeResource(m_hResData);
}

KyRCDATA& KyRCDATA::operator=(const KyRCDATA& other) {
  m_hResInfo = other.m_hResInfo;
  m_hResData = other.m_hResData;
  m_pData = other.m_pData;
  m_dwSize = other.m_dwSize;
  return *this;
}
