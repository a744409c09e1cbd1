// KyConversation: the base slots, allocation and the factory.
#include "KyConversation.h"

#include <cctype>
#include <cstring>
#include <string>
#include <memory>

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyConversationFactory.h"
#include "KyFncMessage.h"
#include "KyLocale.h"
#include "KyProfile.h"
#include "KyPropertyAPI.h"
#include "KyRemoteInfo.h"

namespace {

constexpr UINT kMsgLocationAppc = 57425;
constexpr UINT kMsgUnknownOpSys = 57419;

KyConversationList* threadList() {
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr();
  return pCallMgr ? pCallMgr->GetConversationList() : nullptr;
}

}  // namespace

KyConversation::KyConversation(const char* pszLocation, char cPlatform)
    : m_cPlatform(cPlatform), m_strLocation(pszLocation ? pszLocation : "") {
  m_pRemoteInfo = KyRemoteInfo::Create(m_strLocation, cPlatform, 0);
  m_hOwner = GetDesktopWindow();
  if (KyAppContext* pContext = KyAppContext::Current()) {
    if (KyLocale* pLocale = pContext->GetLocale()) {
      const KyString decimal = pLocale->GetDecimalText();
      if (!decimal.IsEmpty()) m_cDecimal = decimal[0];
    }
  }
}

KyConversation::~KyConversation() = default;

void KyConversation::splitJobDescription(const char* pszText) {
  std::string text(pszText ? pszText : "");
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  size_t split = text.find('/');
  if (split == std::string::npos) split = text.find('\\');
  setText(m_szJobDescriptionLibrary, split == std::string::npos ? "" : text.substr(0, split).c_str());
  setText(m_szJobDescriptionName, split == std::string::npos ? text.c_str() : text.substr(split + 1).c_str());
}

int KyConversation::SetBufferSize(int iSize) {
  m_Buffer.assign(static_cast<size_t>(iSize < 0 ? 0 : iSize) + 4, 0);
  return 1;
}

int KyConversation::PrepareSend(int iLength) {
  SetBufferSize(iLength);
  return WriteLengthHeader();
}

char* KyConversation::GetDataPointer() { return m_Buffer.size() >= 4 ? m_Buffer.data() + 4 : nullptr; }

int KyConversation::WriteLengthHeader() {
  if (m_Buffer.size() < 4 || m_Buffer.size() > 0xFFFF) return 0;
  m_Buffer[0] = static_cast<char>(m_Buffer.size() >> 8);
  m_Buffer[1] = static_cast<char>(m_Buffer.size());
  m_Buffer[2] = 0x12;
  m_Buffer[3] = static_cast<char>(0xFF);
  return 1;
}

int KyConversation::ReceiveData(char* pBuffer, int iLength) {
  if (!m_fAllocated || !pBuffer || iLength < 0) return 0;
  SetBufferSize(iLength);
  if (!Receive()) return 0;
  if (iLength > 0) std::memcpy(pBuffer, GetDataPointer(), static_cast<size_t>(iLength));  // an empty reply has no buffer
  return 1;
}

int KyConversation::SendData(const char* pBuffer, int iLength, const char*) {
  if (!m_fAllocated || (!pBuffer && iLength > 0) || iLength < 0) return 0;
  if (!PrepareSend(iLength)) return 0;
  if (iLength > 0) std::memcpy(GetDataPointer(), pBuffer, static_cast<size_t>(iLength));
  return Send();
}

int KyConversation::Allocate() {
  if (!m_fUsable) return 0;
  if (m_fAllocated) return 1;
  Init();
  return fDoAllocate();
}

void KyConversation::DeallocateIfAllocated() {
  if (m_fAllocated) Deallocate();
}

KyConversation* KyConversation::Listed(void* pConversation) {
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr(FALSE);
  if (!pCallMgr || !pConversation) return nullptr;
  for (KyListNode* pNode = pCallMgr->GetConversationList()->GetHead(); pNode; pNode = pNode->GetNext())
    if (pNode->GetCurrent() == pConversation) return static_cast<KyConversation*>(pConversation);
  return nullptr;
}

char KyConversation::LetterOfLocation(const char* pszLocation) {
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr();
  if (pCallMgr) {
    if (auto* pInfo = static_cast<KyRemoteInfo*>(pCallMgr->GetRemoteInfoList()->Find(pszLocation))) {
      if (pInfo->GetPlatform() != '?') return pInfo->GetPlatform();
    }
  }
  KyString opSys = KyGetProfileString(KyRemoteInfo::SectionName(pszLocation), "OpSys", "");
  opSys.MakeUpper();
  const char letter = KyRemoteInfo::OpSysLetter(opSys);
  if (letter == '?') KyShowMessageBox(KyFormatMessageId(kMsgUnknownOpSys, {pszLocation}));
  return letter;
}

void KyConversation::publishHost(const char* pszHost, const char* pszUserId) {
  KyPropertyAPI::SetValue(pszHost ? pszHost : "", kAtomHostName, 0, 0);
  KyPropertyAPI::SetValue(pszUserId ? pszUserId : "", kAtomUserId, 0, 0);
}

KyConversation* KyConversation::GetConversation(const char* pszLocation, char cPlatform, int fCreate) {
  KyConversationList* pList = threadList();
  if (!pList) return nullptr;
  KyString name(pszLocation ? pszLocation : "");
  if (!pszLocation) name = pList->GetDefaultLocation(cPlatform);
  if (!name.IsEmpty() && cPlatform == '*') cPlatform = LetterOfLocation(name);
  if (name.IsEmpty()) name = pList->GetDefaultLocation(cPlatform);
  if (auto* pFound = static_cast<KyConversation*>(pList->Find(name))) return pFound;
  if (!fCreate) return nullptr;

  std::unique_ptr<KyConversation> pConversation;
  if (cPlatform == 'A') {
    KyString protocol = KyGetProfileString(KyRemoteInfo::SectionName(name), "Protocol", "TCPIP");
    if (protocol.CompareNoCase("APPC") == 0) {
      KyShowMessageBox(KyFormatMessageId(kMsgLocationAppc));
      return nullptr;
    }
    if (protocol.CompareNoCase("TCPIP") != 0) return nullptr;
  }
  pConversation = KyMakeConversation(name, cPlatform);
  if (!pConversation || !pConversation->Allocate()) return nullptr;
  KyConversation* pResult = pConversation.get();
  pList->Push(name, pConversation.release());
  return pResult;
}
