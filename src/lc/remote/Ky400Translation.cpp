// Ky400Translation: table set-up under the process-wide lock, and the
// fixed-width conversions.
#include "Ky400Translation.h"

#include <cstring>
#include <mutex>

#include "KyFncMessage.h"
#include "KyProfile.h"

namespace {

constexpr UINT kMsgConversionErrors = 57454;

std::mutex& translationLock() {
  static std::mutex lock;
  return lock;
}
int g_instances = 0;     // live Ky400TCPIPTranslation objects, under the lock
int g_processValue = 0;  // SetProcessValue's value, under the lock

int settingIndex(int iSetting) {
  const KyCodePageSetting* entry = KyFindCodePageSetting(iSetting);
  return entry ? static_cast<int>(entry - kKyCodePageSettings) : -1;
}

}  // namespace

Ky400Translation::~Ky400Translation() = default;

int Ky400Translation::Init(int iDataConversion, HWND hWnd, int iCodePage) {
  std::lock_guard guard(translationLock());
  m_iDataConversion = iDataConversion;
  m_hWnd = hWnd;
  m_iCodePage = iCodePage;
  for (TablePair& pair : m_Tables)
    for (auto& table : pair) table.reset();
  const int index = settingIndex(iCodePage);
  m_iCurrent = index;
  if (index >= 0) {
    const KyCodePageSetting& entry = kKyCodePageSettings[index];
    m_Tables[index][0] = KyLoadGxtTable(entry.hostCcsid, entry.pcCcsid);
    m_Tables[index][1] = KyLoadGxtTable(entry.pcCcsid, entry.hostCcsid);
  }
  return IsUsable();
}

const Ky400Translation::TablePair* Ky400Translation::current() const {
  return m_iCurrent >= 0 ? &m_Tables[static_cast<size_t>(m_iCurrent)] : nullptr;
}

const KyGxtTable* Ky400Translation::HostToPc() const {
  const TablePair* pair = current();
  return pair ? (*pair)[0].get() : nullptr;
}

const KyGxtTable* Ky400Translation::PcToHost() const {
  const TablePair* pair = current();
  return pair ? (*pair)[1].get() : nullptr;
}

void Ky400Translation::reportSubstitutions(int iCount) {
  if (iCount > 0 && KyGetProfileBool("International Settings", "GXT Conversion Error Message", 1))
    KyShowMessageBox(KyFormatMessageId(kMsgConversionErrors));
}

void Ky400Translation::ToEbc(const char* pszText, char* pField, int iWidth) const {
  if (!pField || iWidth <= 0) return;
  std::memset(pField, 0x40, iWidth);
  const size_t length = pszText ? std::min(std::strlen(pszText), static_cast<size_t>(iWidth)) : 0;
  const KyGxtResult result = KyGxtConvert(PcToHost(), reinterpret_cast<const uint8_t*>(pszText), length,
                                          reinterpret_cast<uint8_t*>(pField), iWidth, 0x40);
  reportSubstitutions(result.substitutions);
}

void Ky400Translation::FromEbc(const char* pField, char* pszText, int iLength) const {
  if (!pszText || iLength <= 0) return;
  std::memset(pszText, 0, iLength);
  if (!pField) return;
  const KyGxtResult result = KyGxtConvert(HostToPc(), reinterpret_cast<const uint8_t*>(pField), iLength,
                                          reinterpret_cast<uint8_t*>(pszText), iLength, 0);
  reportSubstitutions(result.substitutions);
}

Ky400TCPIPTranslation::Ky400TCPIPTranslation() {
  std::lock_guard guard(translationLock());
  ++g_instances;
}

Ky400TCPIPTranslation::~Ky400TCPIPTranslation() {
  std::lock_guard guard(translationLock());
  --g_instances;
}

void Ky400TCPIPTranslation::SetProcessValue(int iValue) {
  std::lock_guard guard(translationLock());
  g_processValue = iValue;
}

int Ky400TCPIPTranslation::InstanceCount() {
  std::lock_guard guard(translationLock());
  return g_instances;
}

int Ky400TCPIPTranslation::ProcessValue() {
  std::lock_guard guard(translationLock());
  return g_processValue;
}
