// KyRemoteWinNTInfo.
#include "KyRemoteWinNTInfo.h"

#include "KyProfile.h"

KyRemoteWinNTInfo::KyRemoteWinNTInfo(const char* pszLocation) : KyRemoteInfo(pszLocation) {
  const char* section = m_strSection;
  m_strProtocol = KyGetProfileString(section, "Protocol", "RPC");
  m_strOpSys = KyGetProfileString(section, "OpSys", "WINNT");
  m_strProgram = KyGetProfileString(section, "Program", "ZUNT_NT_DISPATCHER");
  m_strRpcProtocol = KyGetProfileString(section, "RpcProtocol", "ncacn_np");
  m_strRpcEndPoint = KyGetProfileString(section, "RpcEndPoint", "");
  m_strRpcOptions = KyGetProfileString(section, "RpcOptions", "");
  m_strRpcBindDynamic = KyGetProfileString(section, "RpcBindDynamic", "False");
  m_fUseSecurity = KyGetProfileBool(section, "UseSecurity", 0);
  m_iSecurityLevel = KyGetProfileInt(section, "SecurityLevel", 1);
  m_strEnvironment = KyGetProfileString(section, "Environment", "");
}

void KyRemoteWinNTInfo::Write() {
  KyRemoteInfo::Write();
  const char* section = m_strSection;
  KyWriteProfileBool(section, "UseSecurity", m_fUseSecurity);
  KyWriteProfileInt(section, "SecurityLevel", m_iSecurityLevel);
  KyWriteProfileString(section, "Environment", m_strEnvironment);
  KyWriteProfileString(section, "RpcProtocol", m_strRpcProtocol);
  KyWriteProfileString(section, "RpcEndPoint", m_strRpcEndPoint);
  KyWriteProfileString(section, "RpcOptions", m_strRpcOptions);
  KyWriteProfileString(section, "RpcBindDynamic", m_strRpcBindDynamic);
}
