// KyRemoteVMInfo.
#include "KyRemoteVMInfo.h"

#include "KyRecordKeys.h"

namespace {

// The keys of both platforms with the platform's defaults; Environment and
// Client Encoding are read only.
std::vector<KyRecordKey<KyRemoteVMInfo>> vmKeys(const char* pszProtocol, int iPort, const char* pszClientEncoding) {
  using Key = KyRecordKey<KyRemoteVMInfo>;
  return {
      Key::text("Protocol", &KyRemoteVMInfo::m_strProtocol, pszProtocol),
      Key::number("Port", &KyRemoteVMInfo::m_iPort, iPort),
      Key::text("Package", &KyRemoteVMInfo::m_strPackage, ""),
      Key::text("System", &KyRemoteVMInfo::m_strSystem, ""),
      Key::number("Timeout", &KyRemoteVMInfo::m_iTimeout, 60),
      Key::text("Environment", &KyRemoteVMInfo::m_strEnvironment, "Default", false),
      Key::text("Client Encoding", &KyRemoteVMInfo::m_strClientEncoding, pszClientEncoding, false),
  };
}

}  // namespace

KyRemoteVMInfo::KyRemoteVMInfo(const char* pszLocation, const Defaults& defaults) : KyRemoteInfo(pszLocation) {
  KyReadRecordKeys(*this, m_strSection, vmKeys(defaults.protocol, defaults.port, defaults.clientEncoding));
}

void KyRemoteVMInfo::Write() {
  KyRemoteInfo::Write();
  KyWriteRecordKeys(*this, m_strSection, vmKeys("", 0, ""));
}
