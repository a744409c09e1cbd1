// Window placement kept in the application's INI file: one section per
// window, "<prefix>:<suffix>", with "Maximized" (True/False) and the normal
// rectangle "Left", "Right", "Top", "Bottom". A panel's coordinates are kept
// in the dialog base units it was laid out with, so a panel comes back the
// same size on a system whose units differ.
#pragma once

#include <windows.h>

class KyPanel;

// The suffix of a panel's section; its prefix is the function's
// implementation name.
inline constexpr char kPanelPlacementSuffix[] = "Window Placement";

void KySaveWindowPos(HWND hWnd, const char* pszSuffix, const char* pszPrefix, KyPanel* pPanel);
// 1 when a stored rectangle was applied.
int KyRestoreWindowPos(HWND hWnd, const char* pszSuffix, const char* pszPrefix, KyPanel* pPanel);
// An MDI-child panel's maximised state goes to every open panel that keeps
// its placement: mode 0 records "not maximised" when the active child is
// not, mode 2 records "maximised" when it is; other modes do nothing.
void KySaveWindowMaximized(KyPanel* pPanel, int iMode);
// A coordinate in a panel's base units (iUnits) to the system's.
int KyDlgUnitsToPixelsX(int iUnits, int iValue);
int KyDlgUnitsToPixelsY(int iUnits, int iValue);
