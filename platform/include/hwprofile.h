// advapi32's hardware profile (ADVAPI32.DLL, loaded by name): the GUID of
// the current profile, "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}", and the
// profile's name, as GetCurrentHwProfileA fills them. Windows declares it
// in winbase.h; here it stands apart, for the one caller that binds a
// stored password to the machine.
#pragma once

#include <windef.h>

#define HW_PROFILE_GUIDLEN 39
#define MAX_PROFILE_LEN 80
#define DOCKINFO_UNDOCKED 0x1
#define DOCKINFO_DOCKED 0x2
#define DOCKINFO_USER_SUPPLIED 0x4
typedef struct tagHW_PROFILE_INFOA {
  DWORD dwDockInfo;
  CHAR szHwProfileGuid[HW_PROFILE_GUIDLEN];
  CHAR szHwProfileName[MAX_PROFILE_LEN];
} HW_PROFILE_INFOA, *LPHW_PROFILE_INFOA;
