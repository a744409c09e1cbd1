// KyProgramInfo: the application's program-information record of a thread
// (pKyGetProgramInfo): two words kept for generated code and the resource
// server whose container is the font cache.
#pragma once

#include <windows.h>

#include "KyResourceServer.h"

struct KyProgramInfo {
  DWORD m_dwWord1 = 0;
  DWORD m_dwWord2 = 0;
  KyResourceServer m_ResourceServer;
};

// The calling thread's record; a thread without an application context gets
// the process's own record, so the font cache always has a home.
KyProgramInfo* pKyGetProgramInfo();
