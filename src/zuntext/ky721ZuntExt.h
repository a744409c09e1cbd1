// ky721ZuntExt: the registry of open panels shared by every process of the
// user, and the trigger that raises a logical event on the live panels of a
// name. The table lives in a named shared mapping guarded by a named mutex;
// every operation waits at most one second for that mutex and answers false
// when it cannot have it. Names compare ignoring case.
#pragma once

#include <windef.h>

// Registers `hWnd` under the panel name `pszName` (at most 100 characters) in
// the first free slot; with none free, in the first slot whose window and
// registering thread are both gone (left by a process that died). False
// when the window does not exist, the name is missing or too long, the lock
// fails or all 50 slots hold live registrations.
bool ZEARegisterZuntPanel(const char* pszName, HWND hWnd);

// Frees one slot registered under `pszName`: first one whose window has died
// (whoever registered it), else the first one this thread registered. True
// when a slot was freed.
bool ZEADeregisterZuntPanel(const char* pszName);

// Sends the logical event `pszEventName` (at most 50 characters) as a
// WM_COPYDATA message to every live window registered under `pszPanelName`.
// True when at least one window received it and every one answered non-zero.
extern "C" bool ZEATriggerLogicalEvent(const char* pszPanelName, const char* pszEventName);
