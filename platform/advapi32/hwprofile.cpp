// GetCurrentHwProfileA: the hardware profile that Windows keeps per machine
// configuration. Here the machine's identity is systemd's machine id
// (/etc/machine-id, else dbus's copy), 32 hexadecimal digits laid out as
// the profile's GUID; a machine without one has no profile (FALSE,
// ERROR_FILE_NOT_FOUND), as a stand-in must not invent an identity.
#include <windows.h>
#include <hwprofile.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

std::string machineId() {
  for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
    std::ifstream in(path);
    std::string id;
    if (in >> id && id.size() == 32) {
      bool hex = true;
      for (char c : id) hex = hex && std::isxdigit(static_cast<unsigned char>(c));
      if (hex) return id;
    }
  }
  return "";
}

}  // namespace

extern "C" BOOL WINAPI GetCurrentHwProfileA(LPHW_PROFILE_INFOA lpHwProfileInfo) {
  if (!lpHwProfileInfo) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string id = machineId();
  if (id.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  for (char& c : id) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::memset(lpHwProfileInfo, 0, sizeof *lpHwProfileInfo);
  lpHwProfileInfo->dwDockInfo = DOCKINFO_USER_SUPPLIED | DOCKINFO_UNDOCKED;
  std::snprintf(lpHwProfileInfo->szHwProfileGuid, HW_PROFILE_GUIDLEN, "{%.8s-%.4s-%.4s-%.4s-%.12s}", id.c_str(),
                id.c_str() + 8, id.c_str() + 12, id.c_str() + 16, id.c_str() + 20);
  std::snprintf(lpHwProfileInfo->szHwProfileName, MAX_PROFILE_LEN, "%s", "Profile 1");
  return TRUE;
}
