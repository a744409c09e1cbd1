// KyRemoteWinNTInfo.
#include "KyRemoteWinNTInfo.h"

#include "KyRecordKeys.h"

namespace {

using Key = KyRecordKey<KyRemoteWinNTInfo>;
const std::vector<Key> winNTKeys = {
    Key::text("Protocol", &KyRemoteWinNTInfo::m_strProtocol, "RPC", false),
    Key::text("OpSys", &KyRemoteWinNTInfo::m_strOpSys, "WINNT", false),
    Key::text("Program", &KyRemoteWinNTInfo::m_strProgram, "ZUNT_NT_DISPATCHER", false),
    Key::flag("UseSecurity", &KyRemoteWinNTInfo::m_fUseSecurity, 0),
    Key::number("SecurityLevel", &KyRemoteWinNTInfo::m_iSecurityLevel, 1),
    Key::text("Environment", &KyRemoteWinNTInfo::m_strEnvironment, ""),
    Key::text("RpcProtocol", &KyRemoteWinNTInfo::m_strRpcProtocol, "ncacn_np"),
    Key::text("RpcEndPoint", &KyRemoteWinNTInfo::m_strRpcEndPoint, ""),
    Key::text("RpcOptions", &KyRemoteWinNTInfo::m_strRpcOptions, ""),
    Key::text("RpcBindDynamic", &KyRemoteWinNTInfo::m_strRpcBindDynamic, "False"),
};

}  // namespace

KyRemoteWinNTInfo::KyRemoteWinNTInfo(const char* pszLocation) : KyRemoteInfo(pszLocation) {
  KyReadRecordKeys(*this, m_strSection, winNTKeys);
}

void KyRemoteWinNTInfo::Write() {
  KyRemoteInfo::Write();
  KyWriteRecordKeys(*this, m_strSection, winNTKeys);
}
