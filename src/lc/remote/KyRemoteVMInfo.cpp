// KyRemoteVMInfo.
#include "KyRemoteVMInfo.h"

#include "KyProfile.h"

KyRemoteVMInfo::KyRemoteVMInfo(const char* pszLocation, const Defaults& defaults) : KyRemoteInfo(pszLocation) {
  const char* section = m_strSection;
  m_strProtocol = KyGetProfileString(section, "Protocol", defaults.protocol);
  m_iPort = KyGetProfileInt(section, "Port", defaults.port);
  m_strPackage = KyGetProfileString(section, "Package", "");
  m_strSystem = KyGetProfileString(section, "System", "");
  m_strEnvironment = KyGetProfileString(section, "Environment", "Default");
  m_strClientEncoding = KyGetProfileString(section, "Client Encoding", defaults.clientEncoding);
  m_iTimeout = KyGetProfileInt(section, "Timeout", 60);
}

void KyRemoteVMInfo::Write() {
  KyRemoteInfo::Write();
  const char* section = m_strSection;
  KyWriteProfileString(section, "Protocol", m_strProtocol);
  KyWriteProfileInt(section, "Port", m_iPort);
  KyWriteProfileString(section, "Package", m_strPackage);
  KyWriteProfileString(section, "System", m_strSystem);
  KyWriteProfileInt(section, "Timeout", m_iTimeout);
}
