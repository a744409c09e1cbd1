// KyRemoteWinNTInfo: the record of a Windows NT dispatcher reached by RPC.
#pragma once

#include "KyRemoteInfo.h"

class KyRemoteWinNTInfo : public KyRemoteInfo {
 public:
  explicit KyRemoteWinNTInfo(const char* pszLocation);
  // Writes the base keys, then UseSecurity, SecurityLevel, Environment and
  // the four RPC keys.
  void Write() override;

  int m_fUseSecurity = 0;
  int m_iSecurityLevel = 1;
  KyString m_strEnvironment;
};
