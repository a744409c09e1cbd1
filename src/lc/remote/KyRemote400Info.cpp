// KyRemote400Info: AS/400 settings, translation and password forms.
#include "KyRemote400Info.h"

#include <windows.h>
#include <hwprofile.h>

#include <string>

#include "KyFncMessage.h"
#include "KyPasswordScatter.h"
#include "KyProfile.h"

namespace {

constexpr UINT kMsgProtocolNotTcpip = 0xE051;
constexpr size_t kPartLength = 2 * kyscatter::kBlock + 2;                       // data part and length: 322
constexpr size_t kRememberedLength = kyscatter::kFormLength + 3 * kPartLength;  // 1606

KyString currentUser() {
  char name[257] = {};
  DWORD size = sizeof name;
  return GetUserNameA(name, &size) ? KyString(name) : KyString();
}

KyString currentComputer() {
  char name[MAX_COMPUTERNAME_LENGTH + 2] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? KyString(name) : KyString();
}

// A part of the remembered form: the data block of a 640-character form
// and the length byte from its table.
std::string partOf(const std::string& form) { return form.substr(0, 2 * kyscatter::kBlock + 2); }

// A part completed with the user name form's table past entry 0.
std::string complete(std::string_view part, std::string_view userForm) {
  return std::string(part) + std::string(userForm.substr(kPartLength));
}

}  // namespace

KyString KyHardwareProfileText() {
  HMODULE advapi = LoadLibraryA("ADVAPI32.DLL");
  if (!advapi) return KyString();
  KyString text;
  using GetProfile = BOOL(WINAPI*)(LPHW_PROFILE_INFOA);
  if (auto get = reinterpret_cast<GetProfile>(reinterpret_cast<void (*)()>(GetProcAddress(advapi, "GetCurrentHwProfileA")))) {
    HW_PROFILE_INFOA info{};
    // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}": the groups without braces
    // and dashes, the last one cut to 10.
    if (get(&info) && std::strlen(info.szHwProfileGuid) == 38) {
      const std::string guid(info.szHwProfileGuid);
      text = (guid.substr(1, 8) + guid.substr(10, 4) + guid.substr(15, 4) + guid.substr(20, 4) + guid.substr(25, 10))
                 .c_str();
    }
  }
  FreeLibrary(advapi);
  return text;
}

KyRemote400Info::KyRemote400Info(const char* pszLocation)
    : KyRemoteTcpipInfo(pszLocation ? pszLocation : kDefaultLocation) {
  KyReadRecordKeys(*this, m_strSection, recordKeys());
  m_pTranslation = std::make_unique<Ky400TCPIPTranslation>();
  if (m_strProtocol != "TCPIP") KyShowMessageBox(KyFormatMessageId(kMsgProtocolNotTcpip));
  InitTranslation();
}

KyRemote400Info::~KyRemote400Info() = default;

int KyRemote400Info::InitTranslation() {
  return m_pTranslation->Init(m_iDataConversion, GetDesktopWindow(), m_iCodePage);
}

void KyRemote400Info::ToHost(const char* pszText, char* pField, int iWidth) const {
  m_pTranslation->ToEbc(pszText, pField, iWidth);
}

const std::vector<KyRecordKey<KyRemote400Info>>& KyRemote400Info::recordKeys() {
  using Key = KyRecordKey<KyRemote400Info>;
  static const std::vector<Key> keys = {
      Key::text("Protocol", &KyRemote400Info::m_strProtocol, "TCPIP", false),
      Key::text("OpSys", &KyRemote400Info::m_strOpSys, "AS400", false),
      Key::text("Program", &KyRemote400Info::m_strProgram, "YKYSYRPC", false),
      Key::text("Library", &KyRemote400Info::m_strLibrary, "ZUNT"),
      Key::text("Job Description", &KyRemote400Info::m_strJobDescription, ""),
      Key::number("Port", &KyRemote400Info::m_iPort, 3770),
      Key::number("TCPIP Dialog", &KyRemote400Info::m_iTcpipDialog, 0),
      // Written although other records leave it: the connection dialog
      // edits it, and the chosen mode would be lost otherwise.
      Key::number("Data Conversion", &KyRemote400Info::m_iDataConversion, 1),
      Key::number("Code Page", &KyRemote400Info::m_iCodePage, 101),
  };
  return keys;
}

void KyRemote400Info::Write() {
  KyRemoteTcpipInfo::Write();
  KyWriteRecordKeys(*this, m_strSection, recordKeys());
}

KyString KyRemote400Info::EncodePassword(const char* pszText, BYTE* pTable, int fReuseTable) {
  kyscatter::Table table = kyscatter::DrawTable();
  if (pTable && fReuseTable) std::copy(pTable, pTable + kyscatter::kBlock, table.begin());
  const std::string form = kyscatter::Scatter(pszText ? pszText : "", table);
  if (pTable) std::copy(table.begin(), table.end(), pTable);
  return KyString(form.c_str());
}

KyString KyRemote400Info::DecodePassword(const char* pszStored) {
  const std::string stored(pszStored ? pszStored : "");
  if (stored.size() == kyscatter::kFormLength) return KyString(stored.c_str());
  if (stored.size() != kRememberedLength) return KyString();
  const std::string_view all(stored);
  const std::string_view userForm = all.substr(0, kyscatter::kFormLength);
  auto part = [&](int k) { return complete(all.substr(kyscatter::kFormLength + k * kPartLength, kPartLength), userForm); };
  if (kyscatter::Gather(userForm) != currentUser().c_str() || kyscatter::Gather(part(0)) != currentComputer().c_str() ||
      kyscatter::Gather(part(1)) != KyHardwareProfileText().c_str())
    return KyString();
  return KyString(part(2).c_str());
}

KyString KyRemote400Info::GetPassword(int fRaw, int fNew) const {
  const KyString& stored = fNew ? m_strNewPassword : m_strPassword;
  if (fRaw) return stored;
  return const_cast<KyRemote400Info*>(this)->DecodePassword(stored);
}

void KyRemote400Info::AdoptNewPassword() {
  if (m_strNewPassword.IsEmpty()) return;
  // A remembered password stays remembered: the new one's host bytes are
  // bound to this user and computer as SetPassword binds them.
  const std::string host = kyscatter::Gather(m_strNewPassword.c_str());
  m_strPassword = m_fRemember && !host.empty() ? KyString(rememberedForm(host).c_str()) : m_strNewPassword;
  m_strNewPassword.Empty();
}

std::string KyRemote400Info::rememberedForm(const std::string& host) {
  const kyscatter::Table table = kyscatter::DrawTable();
  std::string form = kyscatter::Scatter(currentUser().c_str(), table);
  for (const std::string& value : {std::string(currentComputer().c_str()), std::string(KyHardwareProfileText().c_str()), host})
    form += partOf(kyscatter::Scatter(value, table));
  return form;
}

void KyRemote400Info::SetPassword(const char* pszText, int fRemember, int fNew) {
  const std::string text(pszText ? pszText : "");
  KyString& slot = fNew ? m_strNewPassword : m_strPassword;
  if (!fNew) m_fRemember = fRemember ? 1 : 0;
  if (text.size() >= kyscatter::kBlock) {
    if (text != m_strPassword.c_str() && text != m_strNewPassword.c_str()) slot = text.c_str();
    return;
  }
  std::string host(text.size(), '\0');
  m_pTranslation->ToEbc(text.c_str(), host.data(), static_cast<int>(host.size()));
  if (!fRemember) {
    slot = kyscatter::Scatter(host, kyscatter::DrawTable()).c_str();
    return;
  }
  slot = rememberedForm(host).c_str();
}
