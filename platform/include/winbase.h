// Kernel functions of the platform layer (the KERNEL32 part of Win32).
// Each section is implemented by the file of platform/kernel named beside it.
#pragma once
#include "windef.h"
#include "winerror.h"

// --- last error and messages (lasterror.cpp, formatmessage.cpp) -------------
WINBASEAPI DWORD WINAPI GetLastError(void);
WINBASEAPI void WINAPI SetLastError(DWORD dwErrCode);

// --- kernel object handles (handles.cpp) ------------------------------------
WINBASEAPI BOOL WINAPI CloseHandle(HANDLE hObject);
