// Index checks, the debug print and COM error descriptions.
#include "KyGlobalFunctions.h"

#include <mscrt.h>
#include <windows.h>

#include <cstdarg>
#include <string>

#include "KyAppServices.h"
#include "KyMessage.h"

namespace {

constexpr UINT kIxTooLarge = 59174, kIxNegative = 59175;
constexpr UINT kMIxTooLarge = 59172, kMIxNegative = 59173;
constexpr size_t kPrintfBuffer = 512;

[[noreturn]] void indexError(UINT nNegative, UINT nTooLarge, int iCount, int iIndex, const char* pszName) {
  std::string text = KyGetMessageText(iIndex < 0 ? nNegative : nTooLarge);
  if (iIndex >= 0) text += std::to_string(iCount);
  if (pszName) {
    text += "\n ";
    text += pszName;
  }
  KyMessage::Box(MB_ICONSTOP, "%s", text.c_str());
  ExitProcess(kKyIndexErrorExitCode);
  std::_Exit(kKyIndexErrorExitCode);  // ExitProcess does not come back; the compiler does not know
}

// Facility number to the string naming it.
UINT facilityString(long lCode) {
  switch ((lCode >> 16) & 0x1FFF) {
    case 0: return 59159;
    case 1: return 59155;
    case 2: return 59162;
    case 3: return 59154;
    case 4: return 59161;
    case 7: return 59157;
    case 8: return 59153;
    case 9: return 59156;
    case 10: return 59158;
    case 11: return 59163;
    case 12: return 59160;
    default: return 59168;
  }
}

}  // namespace

int KyIx(int iCount, int iIndex) {
  if (iIndex < 0 || iIndex >= iCount) indexError(kIxNegative, kIxTooLarge, iCount, iIndex, nullptr);
  return iIndex;
}

int KyMIx(int iCount, int iIndex, KyString& name) {
  if (iIndex < 0 || iIndex >= iCount)
    indexError(kMIxNegative, kMIxTooLarge, iCount, iIndex, static_cast<const char*>(name));
  return iIndex;
}

int KyPrintf(const char* pszFormat, ...) {
  // Room for the line end and the zero after the longest text kept.
  char line[kPrintfBuffer];
  va_list args;
  va_start(args, pszFormat);
  _vsnprintf(line, kPrintfBuffer - 2, pszFormat ? pszFormat : "", args);
  va_end(args);
  line[kPrintfBuffer - 2] = '\0';
  size_t length = std::char_traits<char>::length(line);
  line[length++] = '\n';
  line[length] = '\0';
  OutputDebugStringA(line);
  return static_cast<int>(length);
}

void TranslateCode(long lCode, CString& text) {
  const bool failure = (static_cast<unsigned long>(lCode) & 0x80000000UL) != 0;
  char* pszSystem = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 static_cast<DWORD>(lCode & 0xFFFF), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                 reinterpret_cast<LPSTR>(&pszSystem), 0, nullptr);
  std::string result = KyGetMessageText(59150);
  result += KyGetMessageText(failure ? 59165 : 59164);
  result += "\n";
  result += KyGetMessageText(59151);
  result += KyGetMessageText(facilityString(lCode));
  result += "\n";
  result += KyGetMessageText(59152);
  if (pszSystem) result += pszSystem;
  LocalFree(pszSystem);
  text = result.c_str();
}
