// KyConversationAPI: the members that reach the remote subsystem's records
// and the network provider (the others are in KyAppAPI.cpp).
#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyConversation.h"
#include "KyProfile.h"
#include "KyPropertyAPI.h"
#include "KyRemote400Info.h"
#include "KyStaticAPI.h"

namespace {

using WNetGetUserAFn = DWORD(WINAPI*)(LPCSTR, LPSTR, LPDWORD);
constexpr DWORD kLoginNameRoom = 128;

}  // namespace

int KyConversationAPI::GetLoginName(CString& name) {
  name.Empty();
  // The network provider's library is loaded for the call only.
  HMODULE module = LoadLibraryA("MPR.DLL");
  if (!module) return 0;
  auto getUser = reinterpret_cast<WNetGetUserAFn>(reinterpret_cast<void*>(GetProcAddress(module, "WNetGetUserA")));
  char text[kLoginNameRoom] = {};
  DWORD length = kLoginNameRoom;
  const bool ok = getUser && getUser(nullptr, text, &length) == NO_ERROR;
  FreeLibrary(module);
  if (!ok) return 0;
  name = text;
  return 1;
}

void KyConversationAPI::GetSystemName(CString& name) { KyPropertyAPI::GetValue(name, KyConversation::kAtomHostName, 0, 0); }

void KyConversationAPI::GetUserId(CString& user) { KyPropertyAPI::GetValue(user, KyConversation::kAtomUserId, 0, 0); }

void KyConversationAPI::SetDefault(CString& location, char cSystemType) {
  if (KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr(FALSE))
    pCallMgr->GetConversationList()->SetDefaultLocation(cSystemType, location);
}

int KyConversationAPI::SetAS400Password(CString system, CString password, CString user) {
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr(FALSE);
  auto* pInfo =
      pCallMgr ? dynamic_cast<KyRemote400Info*>(static_cast<KyRemoteInfo*>(pCallMgr->GetRemoteInfoList()->Find(system)))
               : nullptr;
  if (!pInfo || !pInfo->InitTranslation()) return 0;
  pInfo->SetPassword(password, pInfo->RemembersPassword(), 0);
  pInfo->m_strUserId = static_cast<const char*>(user);
  // The stored form, as the record keeps it.
  KyWriteProfileString(pInfo->GetSection(), "Password", pInfo->GetPassword(1, 0));
  KyWriteProfileString(pInfo->GetSection(), "UserId", user);
  return 1;
}
