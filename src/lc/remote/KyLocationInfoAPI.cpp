// KyLocationInfoAPI: one table of the settings and their groups serves
// both directions.
#include "KyLocationInfoAPI.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "KyCallMgr.h"
#include "KyFncMessage.h"
#include "KyProfile.h"
#include "KyRemote400Info.h"
#include "KyRemoteTcpipInfo.h"
#include "KyRemoteWinNTInfo.h"

namespace {

constexpr UINT kMsgUnknownOpSys = 57419;

// The record of the location, made for the letter of its OpSys when the
// thread has none; null (after message 57419) for an unknown system.
KyRemoteInfo* recordOf(const char* pszLocation) {
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr();
  if (!pCallMgr || !pszLocation) return nullptr;
  if (auto* pFound = static_cast<KyRemoteInfo*>(pCallMgr->GetRemoteInfoList()->Find(pszLocation))) return pFound;
  const char letter =
      KyRemoteInfo::OpSysLetter(KyGetProfileString(KyRemoteInfo::SectionName(pszLocation), "OpSys", ""));
  if (letter == '?') {
    KyShowMessageBox(KyFormatMessageId(kMsgUnknownOpSys, {pszLocation}));
    return nullptr;
  }
  return KyRemoteInfo::Create(pszLocation, letter, 0);
}

long number(const KyCharFld& text) { return std::atol(text); }
long number(const KyLongFld& field) { return std::atol(CString(field.strGetText())); }
void put(KyLongFld& field, long value) { field.PutText(std::to_string(value).c_str()); }

// Copies between a record and the structure; toRecord chooses the way.
template <class T>
void copyText(KyCharFld& field, T& value, bool toRecord) {
  if (toRecord)
    value = static_cast<const char*>(field);
  else
    field.PutText(value);
}
void copyNumber(KyLongFld& field, int& value, bool toRecord) {
  if (toRecord)
    value = static_cast<int>(number(field));
  else
    put(field, value);
}

// The settings of the record's system; false for a system of no group.
bool copy(KyRemoteInfo* pRecord, KyLocationInfo& info, bool toRecord) {
  std::string opSys(pRecord->m_strOpSys.c_str());
  std::transform(opSys.begin(), opSys.end(), opSys.begin(), ::toupper);
  if (opSys != "AS400" && opSys != "WINNT" && opSys != "HPUX") return false;
  copyText(info.System, pRecord->m_strSystem, toRecord);
  copyText(info.Protocol, pRecord->m_strProtocol, toRecord);
  copyText(info.OpSys, pRecord->m_strOpSys, toRecord);
  copyText(info.RpcProtocol, pRecord->m_strRpcProtocol, toRecord);
  copyText(info.RpcEndPoint, pRecord->m_strRpcEndPoint, toRecord);
  copyText(info.RpcOptions, pRecord->m_strRpcOptions, toRecord);
  copyText(info.RpcBindDynamic, pRecord->m_strRpcBindDynamic, toRecord);
  copyText(info.Program, pRecord->m_strProgram, toRecord);
  copyText(info.Path, pRecord->m_strPath, toRecord);
  copyNumber(info.BufferSize, pRecord->m_iBufferSize, toRecord);
  if (auto* pWinNT = dynamic_cast<KyRemoteWinNTInfo*>(pRecord)) {
    copyNumber(info.UseSecurity, pWinNT->m_fUseSecurity, toRecord);
    copyNumber(info.SecurityLevel, pWinNT->m_iSecurityLevel, toRecord);
    if (!toRecord && number(info.SecurityLevel) > 6) put(info.SecurityLevel, 6);
    copyText(info.Environment, pWinNT->m_strEnvironment, toRecord);
  }
  auto* pTcpip = dynamic_cast<KyRemoteTcpipInfo*>(pRecord);
  if (!pTcpip) return true;
  copyText(info.UserId, pTcpip->m_strUserId, toRecord);
  auto* p400 = dynamic_cast<KyRemote400Info*>(pRecord);
  if (!p400) {
    if (toRecord)
      pTcpip->SetPasswordText(info.Password);
    else
      info.Password.PutText(pTcpip->GetPassword());
    return true;
  }
  copyText(info.Library, p400->m_strLibrary, toRecord);
  copyText(info.JobDescription, p400->m_strJobDescription, toRecord);
  copyNumber(info.DataConversion, p400->m_iDataConversion, toRecord);
  copyNumber(info.CodePage, p400->m_iCodePage, toRecord);
  // The AS/400's password leaves only in its stored form; a text that is
  // not that form is a new password to store.
  const KyString stored = p400->GetPassword(1, 0);
  if (!toRecord)
    info.Password.PutText(stored);
  else if (stored != static_cast<const char*>(info.Password))
    p400->SetPassword(info.Password, p400->RemembersPassword(), 0);
  return true;
}

}  // namespace

int KyLocationInfoAPI::GetLocationInformation(KyLocationInfo* pInfo, const char* pszLocation) {
  KyRemoteInfo* pRecord = pInfo ? recordOf(pszLocation) : nullptr;
  if (!pRecord) return 0;
  if (copy(pRecord, *pInfo, false)) return 1;
  KyShowMessageBox(KyFormatMessageId(kMsgUnknownOpSys, {pszLocation}));
  return 0;
}

int KyLocationInfoAPI::SetLocationInformation(KyLocationInfo* pInfo, const char* pszLocation, int, int fApply) {
  KyRemoteInfo* pRecord = pInfo ? recordOf(pszLocation) : nullptr;
  if (!pRecord) return 0;
  if (!copy(pRecord, *pInfo, true)) {
    KyShowMessageBox(KyFormatMessageId(kMsgUnknownOpSys, {pszLocation}));
    return 0;
  }
  if (fApply) {
    if (auto* p400 = dynamic_cast<KyRemote400Info*>(pRecord)) p400->InitTranslation();
    pRecord->Write();
  }
  return 1;
}
