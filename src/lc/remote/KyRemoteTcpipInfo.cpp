// KyRemoteTcpipInfo and KyRemoteUnixInfo.
#include "KyRemoteTcpipInfo.h"

#include <algorithm>
#include <cstring>

#include "KyProfile.h"

KyRemoteTcpipInfo::KyRemoteTcpipInfo(const char* pszLocation) : KyRemoteInfo(pszLocation) {
  const char* section = m_strSection;
  m_strProtocol = KyGetProfileString(section, "Protocol", "TCPIP");
  m_strUserId = KyGetProfileString(section, "UserId", "");
  m_strPassword = KyGetProfileString(section, "Password", "");
}

void KyRemoteTcpipInfo::Write() {
  KyRemoteInfo::Write();
  KyWriteProfileString(m_strSection, "UserId", m_strUserId);
  KyWriteProfileString(m_strSection, "Password", m_strPassword);
}

KyString KyRemoteTcpipInfo::EncodePassword(const char* pszText, BYTE*, int) { return KyString(pszText); }

KyString KyRemoteTcpipInfo::DecodePassword(const char* pszStored) { return KyString(pszStored); }

KyRemoteUnixInfo::KyRemoteUnixInfo(const char* pszLocation) : KyRemoteTcpipInfo(pszLocation) {
  const char* section = m_strSection;
  m_strProgram = KyGetProfileString(section, "Program", "dispatch");
  m_strPath = KyGetProfileString(section, "Path", "/usr/zunt/bin/");
  m_strOpSys = KyGetProfileString(section, "OpSys", "HPUX");
}

void KyRemoteUnixInfo::ToHost(const char* pszText, char* pField, int iWidth) const {
  if (!pszText || !pField || iWidth <= 0) return;
  std::memcpy(pField, pszText, std::min(std::strlen(pszText), static_cast<size_t>(iWidth)));
}
