// KyRemoteInfo: location sections, platform letters and the location list.
#include "KyRemoteInfo.h"

#include <mscrt.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "KyAppContext.h"
#include "KyProfile.h"
#include "KyRecordKeys.h"

namespace {

constexpr char locationListSection[] = "Location List";
constexpr char locationPrefix[] = "RMT_LOC: ";
// The default of a read that tells a missing key from an empty one.
constexpr char missingSentinel[] = "NOTxFOUND";

constexpr std::string_view platformDefaultNames[] = {"Remote", "RemoteUnix", "RemoteWinNT", "RemoteJava",
                                                     "RemoteCSharp"};

struct OpSysEntry {
  std::string_view opSys;
  char letter;
};
constexpr OpSysEntry opSysLetters[] = {
    {"AS400", 'A'}, {"WINNT", 'N'}, {"HPUX", 'U'}, {"JAVAVM", 'J'}, {"WINCLR", '#'},
};

// The keys of every location; the RPC keys are the Windows record's to write.
using Key = KyRecordKey<KyRemoteInfo>;
const std::vector<Key> baseKeys = {
    Key::text("System", &KyRemoteInfo::m_strSystem, ""),
    Key::text("Protocol", &KyRemoteInfo::m_strProtocol, ""),
    Key::text("OpSys", &KyRemoteInfo::m_strOpSys, ""),
    Key::text("RpcProtocol", &KyRemoteInfo::m_strRpcProtocol, "", false),
    Key::text("RpcEndPoint", &KyRemoteInfo::m_strRpcEndPoint, "", false),
    Key::text("RpcOptions", &KyRemoteInfo::m_strRpcOptions, "", false),
    Key::text("RpcBindDynamic", &KyRemoteInfo::m_strRpcBindDynamic, "", false),
    Key::text("Program", &KyRemoteInfo::m_strProgram, ""),
    Key::text("Path", &KyRemoteInfo::m_strPath, ""),
    Key::number("Buffer Size", &KyRemoteInfo::m_iBufferSize, 1),
};

bool sectionHasSystem(const KyString& section) {
  return KyGetProfileString(section, "System", missingSentinel) != missingSentinel;
}

}  // namespace

KyRemoteInfo::KyRemoteInfo(const char* pszLocation)
    : m_strLocation(pszLocation ? pszLocation : ""), m_strSection(SectionName(pszLocation)) {
  KyReadRecordKeys(*this, m_strSection, baseKeys);
}

void KyRemoteInfo::Write() {
  AddLocationName(m_strLocation);
  KyWriteRecordKeys(*this, m_strSection, baseKeys);
}

bool KyRemoteInfo::IsPlatformDefault(const char* pszLocation) {
  const std::string_view name(pszLocation ? pszLocation : "");
  return std::find(std::begin(platformDefaultNames), std::end(platformDefaultNames), name) !=
         std::end(platformDefaultNames);
}

const char* KyRemoteInfo::OpSysText(char cPlatform) {
  for (const OpSysEntry& entry : opSysLetters)
    if (entry.letter == cPlatform) return entry.opSys.data();
  return "";
}

KyString KyRemoteInfo::SectionName(const char* pszLocation) {
  if (IsPlatformDefault(pszLocation)) return KyString(pszLocation);
  KyString prefixed(locationPrefix);
  prefixed += pszLocation;
  if (sectionHasSystem(prefixed)) return prefixed;
  KyString bare(pszLocation);
  if (sectionHasSystem(bare)) return bare;
  return prefixed;
}

char KyRemoteInfo::OpSysLetter(const char* pszOpSys) {
  const std::string_view opSys(pszOpSys ? pszOpSys : "");
  for (const OpSysEntry& entry : opSysLetters)
    if (entry.opSys == opSys) return entry.letter;
  return '?';
}

void KyRemoteInfo::ReadLocationList() {
  for (const KyString& key : KyGetProfileKeyNames(locationListSection)) {
    KyString location = KyGetProfileString(locationListSection, key, "");
    if (location.IsEmpty()) continue;
    const char letter = OpSysLetter(KyGetProfileString(SectionName(location), "OpSys", ""));
    if (letter == '?') continue;
    // The record of the location, built and registered with its name; a
    // thread without a call manager keeps the name alone.
    if (!Create(location, letter, 1)) AddLocationName(location);
  }
}

void KyRemoteInfo::WriteLocationList() {
  KyAppContext* context = KyAppContext::Current();
  if (!context) return;
  int index = 0;
  for (const KyString& name : context->GetLocationNames()) {
    KyString key;
    key.Format("Location%d", index++);
    KyWriteProfileString(locationListSection, key, name);
  }
}

void KyRemoteInfo::AddLocationName(const char* pszLocation) {
  KyAppContext* context = KyAppContext::Current();
  if (!context || !pszLocation) return;
  std::vector<KyString>& names = context->GetLocationNames();
  if (std::none_of(names.begin(), names.end(), [&](const KyString& n) { return n == pszLocation; }))
    names.emplace_back(pszLocation);
}

KyRemoteInfoNode::KyRemoteInfoNode(const char* pszName, KyRemoteInfo* pInfo) : KyListNode(pszName) {
  SetCurrent(pInfo);
}

KyRemoteInfoNode::~KyRemoteInfoNode() { delete GetInfo(); }

void KyRemoteInfoList::Replace(const char* pszName, KyRemoteInfo* pInfo) {
  auto pNode = std::make_unique<KyRemoteInfoNode>(pszName, pInfo);
  Delete(pszName);
  Add(pNode.release());
}
