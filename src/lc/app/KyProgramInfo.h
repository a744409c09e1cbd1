// KyProgramInfo: the application's program-information record of a thread
// (pKyGetProgramInfo). Its resource server member joins with the resource
// services of the run-time.
#pragma once

#include <windows.h>

struct KyProgramInfo {
  DWORD m_dwWord1 = 0;
  DWORD m_dwWord2 = 0;
};
