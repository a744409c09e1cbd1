// KyRemoteTcpipInfo and KyRemoteUnixInfo.
#include "KyRemoteTcpipInfo.h"

#include <algorithm>
#include <cstring>

#include "KyProfile.h"
#include "KyRecordKeys.h"

const std::vector<KyRecordKey<KyRemoteTcpipInfo>>& KyRemoteTcpipInfo::recordKeys() {
  using Key = KyRecordKey<KyRemoteTcpipInfo>;
  static const std::vector<Key> keys = {
      Key::text("Protocol", &KyRemoteTcpipInfo::m_strProtocol, "TCPIP", false),
      Key::text("UserId", &KyRemoteTcpipInfo::m_strUserId, ""),
      Key::text("Password", &KyRemoteTcpipInfo::m_strPassword, ""),
  };
  return keys;
}

KyRemoteTcpipInfo::KyRemoteTcpipInfo(const char* pszLocation) : KyRemoteInfo(pszLocation) {
  KyReadRecordKeys(*this, m_strSection, recordKeys());
}

void KyRemoteTcpipInfo::Write() {
  KyRemoteInfo::Write();
  KyWriteRecordKeys(*this, m_strSection, recordKeys());
}

KyString KyRemoteTcpipInfo::EncodePassword(const char* pszText, BYTE*, int) { return KyString(pszText); }

KyString KyRemoteTcpipInfo::DecodePassword(const char* pszStored) { return KyString(pszStored); }

KyRemoteUnixInfo::KyRemoteUnixInfo(const char* pszLocation) : KyRemoteTcpipInfo(pszLocation) {
  using Key = KyRecordKey<KyRemoteUnixInfo>;
  static const std::vector<Key> keys = {
      Key::text("Program", &KyRemoteUnixInfo::m_strProgram, "dispatch"),
      Key::text("Path", &KyRemoteUnixInfo::m_strPath, "/usr/zunt/bin/"),
      Key::text("OpSys", &KyRemoteUnixInfo::m_strOpSys, "HPUX"),
  };
  KyReadRecordKeys(*this, m_strSection, keys);
}

void KyRemoteUnixInfo::ToHost(const char* pszText, char* pField, int iWidth) const {
  if (!pszText || !pField || iWidth <= 0) return;
  std::memcpy(pField, pszText, std::min(std::strlen(pszText), static_cast<size_t>(iWidth)));
}
