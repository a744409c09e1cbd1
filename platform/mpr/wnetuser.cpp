// MPR.DLL: WNetGetUserA. There are no network connections here: every
// name (a local device, a network resource or none) answers the user
// logged on to this machine, as the network provider does for a name it
// does not redirect.
#include <windows.h>

#include <cstring>

namespace {
constexpr DWORD kErrorNoNetwork = 1222;  // ERROR_NO_NETWORK
}  // namespace

extern "C" DWORD WINAPI WNetGetUserA(LPCSTR, LPSTR lpUserName, LPDWORD lpnLength) {
  if (!lpnLength || (!lpUserName && *lpnLength)) return ERROR_INVALID_PARAMETER;
  char name[256] = {};
  DWORD size = sizeof name;
  if (!GetUserNameA(name, &size)) return kErrorNoNetwork;
  const DWORD needed = static_cast<DWORD>(std::strlen(name) + 1);
  if (*lpnLength < needed) {
    *lpnLength = needed;
    return ERROR_MORE_DATA;
  }
  std::memcpy(lpUserName, name, needed);
  return NO_ERROR;
}
