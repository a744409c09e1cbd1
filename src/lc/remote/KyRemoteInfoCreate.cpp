// KyRemoteInfo::Create: the platform records, built by letter and kept in
// the calling thread's remote-info list.
#include <memory>

#include "KyCallMgr.h"
#include "KyFncMessage.h"
#include "KyRemote400Info.h"
#include "KyRemoteTcpipInfo.h"
#include "KyRemoteVMInfo.h"
#include "KyRemoteWinNTInfo.h"

namespace {

constexpr UINT kMsgOtherOpSys = 0xE050;

std::unique_ptr<KyRemoteInfo> build(const char* pszLocation, char cPlatform) {
  switch (cPlatform) {
    case '#': return std::make_unique<KyRemoteCSharpInfo>(pszLocation);
    case 'A': return std::make_unique<KyRemote400Info>(pszLocation);
    case 'J': return std::make_unique<KyRemoteJavaInfo>(pszLocation);
    case 'N': return std::make_unique<KyRemoteWinNTInfo>(pszLocation);
    case 'U': return std::make_unique<KyRemoteUnixInfo>(pszLocation);
    default: return nullptr;
  }
}

}  // namespace

KyRemoteInfo* KyRemoteInfo::Create(const char* pszLocation, char cPlatform, int fRegister) {
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr();
  if (!pCallMgr || !pszLocation) return nullptr;
  KyRemoteInfoList* pList = pCallMgr->GetRemoteInfoList();
  if (auto* pFound = static_cast<KyRemoteInfo*>(pList->Find(pszLocation))) {
    if (pFound->m_cCreatedAs != cPlatform) KyShowMessageBox(KyFormatMessageId(kMsgOtherOpSys));
    return pFound;
  }
  std::unique_ptr<KyRemoteInfo> pRecord = build(pszLocation, cPlatform);
  if (!pRecord) return nullptr;
  pRecord->m_cCreatedAs = cPlatform;
  // A platform's default section holds every key once it has been used.
  if (IsPlatformDefault(pszLocation)) pRecord->Write();
  KyRemoteInfo* pInfo = pRecord.get();
  pList->Replace(pszLocation, pRecord.release());
  if (fRegister) AddLocationName(pszLocation);
  return pInfo;
}
