// Free functions around the application object: the busy cursor, the main
// window, window styles, the platform, a yes/no/cancel question and message
// texts by id.
#pragma once

#include <windows.h>

class KyPanel;

// The wait cursor through the application object.
void KyBusy();
// The main window's handle, or null.
HWND hKyGetMainHandle();
// Adds the style bits to the window's style.
void KySetWinStyle(HWND hWnd, DWORD dwStyle);
// 1 for a Windows 9x system, 2 for Windows NT, 0 otherwise.
int KyGetPlatformId();
// A Yes/No/Cancel box with the formatted text: 1 Yes, 2 No, 3 otherwise.
int iKyEnquiref(KyPanel* pPanel, const char* pszFormat, ...);
// The application's text of a run-time message id ("" when none).
const char* KyGetMessageText(UINT nID);
