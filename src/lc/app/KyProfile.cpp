// INI access on the application's profile file.
#include "KyProfile.h"

#include <afxwin.h>

#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// The read buffer of a value: 2047 characters and the terminator.
constexpr DWORD valueBufferSize = 2048;

const char* profileName() {
  CWinApp* pApp = AfxGetApp();
  return pApp ? pApp->m_pszProfileName : nullptr;
}

}  // namespace

KyString KyGetProfileString(const char* pszSection, const char* pszKey, const char* pszDefault) {
  const char* file = profileName();
  if (!file) return KyString(pszDefault);
  KyString value;
  DWORD n = GetPrivateProfileStringA(pszSection, pszKey, pszDefault ? pszDefault : "",
                                     value.GetBuffer(valueBufferSize - 1), valueBufferSize, file);
  value.ReleaseBuffer(static_cast<int>(n));
  return value;
}

int KyGetProfileBool(const char* pszSection, const char* pszKey, int fDefault) {
  KyString value = KyGetProfileString(pszSection, pszKey, fDefault ? "True" : "False");
  value.MakeUpper();
  return (value == "TRUE" || value == "1") ? 1 : 0;
}

int KyGetProfileInt(const char* pszSection, const char* pszKey, int iDefault) {
  char fallback[16];
  auto [end, ec] = std::to_chars(fallback, fallback + sizeof fallback - 1, iDefault);
  *end = '\0';
  KyString value = KyGetProfileString(pszSection, pszKey, fallback);
  // atoi's reading; out-of-range values saturate instead of being undefined.
  long long number = std::strtoll(value, nullptr, 10);
  if (number > INT_MAX) return INT_MAX;
  if (number < INT_MIN) return INT_MIN;
  return static_cast<int>(number);
}

BOOL KyWriteProfileString(const char* pszSection, const char* pszKey, const char* pszValue) {
  CWinApp* pApp = AfxGetApp();
  return pApp ? pApp->WriteProfileString(pszSection, pszKey, pszValue) : FALSE;
}

BOOL KyWriteProfileBool(const char* pszSection, const char* pszKey, int fValue) {
  return KyWriteProfileString(pszSection, pszKey, fValue ? "True" : "False");
}

BOOL KyWriteProfileInt(const char* pszSection, const char* pszKey, int iValue) {
  char text[16];
  auto [end, ec] = std::to_chars(text, text + sizeof text - 1, iValue);
  *end = '\0';
  return KyWriteProfileString(pszSection, pszKey, text);
}

std::vector<KyString> KyGetProfileKeyNames(const char* pszSection) {
  std::vector<KyString> names;
  const char* file = profileName();
  if (!file) return names;
  // The list of names comes as NUL-separated strings; a list that does not
  // fit answers size - 2, so the buffer grows until it does.
  for (DWORD size = 4096; size <= (1u << 24); size *= 4) {
    std::vector<char> buffer(size);
    DWORD n = GetPrivateProfileStringA(pszSection, nullptr, "", buffer.data(), size, file);
    if (n == size - 2) continue;
    for (const char* p = buffer.data(); *p; p += std::strlen(p) + 1) names.emplace_back(p);
    return names;
  }
  return names;
}
