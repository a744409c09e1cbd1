// Free functions around the application object: the busy cursor, the main
// window and its MDI parts, window styles, the printer's orientation, the
// platform, a yes/no/cancel question and message texts by id.
#pragma once

#include <windows.h>

class KyPanel;
class CWnd;
class CMDIFrameWnd;
class CMDIChildWnd;

// The wait cursor through the application object.
void KyBusy();
// The main window's handle, or null.
HWND hKyGetMainHandle();
// The main window when it is an MDI frame, else null; its MDI client
// window; its active MDI child (with whether that child is maximised).
CMDIFrameWnd* KyGetMDIFrame();
CWnd* KyGetMDIClient();
CMDIChildWnd* KyGetActiveMDIChild(BOOL* pfMaximized);
// Adds the style bits to the window's style.
void KySetWinStyle(HWND hWnd, DWORD dwStyle);
// DMORIENT_PORTRAIT or DMORIENT_LANDSCAPE into the application's printer
// settings (nothing while no printer is chosen or known).
void KySetPrinterOrientation(int iOrientation);
// 1 for a Windows 9x system, 2 for Windows NT, 0 otherwise.
int KyGetPlatformId();
// A Yes/No/Cancel box with the formatted text: 1 Yes, 2 No, 3 otherwise.
int iKyEnquiref(KyPanel* pPanel, const char* pszFormat, ...);
// The application's text of a run-time message id ("" when none).
const char* KyGetMessageText(UINT nID);
