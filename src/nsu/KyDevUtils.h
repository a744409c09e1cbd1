// Developer and GDI helpers for generated code: the internal-check box, the
// abort, trace output, the font dialog, point and logical-unit conversion,
// and centring a window on another.
#pragma once

#include <windows.h>

struct KyDevUtils {
  // "Internal Check Failed: Line %d of %s" in a system-modal box (Abort,
  // Retry, Ignore): Ignore returns, Retry breaks into an attached debugger
  // (and returns when none is attached), Abort calls GPF. Nothing without a
  // file name.
  static void AssertFailed(const char* file, int line);
  // Announces the abort in a box titled "Orvo Zunt Abort" and ends the
  // process.
  [[noreturn]] static void GPF();
  // With "TraceEnabled" of the section "Diagnostics" of AFX.INI set (read
  // once, on the first call), the formatted text (512 characters at most)
  // and a line end go to OutputDebugString.
  static void Trace(const char* format, ...);
};

struct KyCommDlg {
  // ChooseFont on the LOGFONT for screen fonts; with a module, its dialog
  // template of that name (which must exist) is used. 0 when the owner is
  // not a window.
  static BOOL Font(HWND owner, LOGFONTA* font, DWORD flags, HINSTANCE module, LPCSTR templateName);
};

struct KyWindowGDIUtils {
  // MulDiv by the DC's vertical pixels per inch (the desktop window's DC
  // without one); 0 when no DC can be had.
  static LONG GetLogicalUnitsFromPoints(LONG points, HDC dc);
  static LONG GetPointSizeFromLogUnits(LONG units, HDC dc);
};

struct KyWinUserInterfaceUtils {
  // Puts the window's centre on the parent's (the owner's without one),
  // kept on the screen; nothing unless both are windows.
  static void CenterWindow(HWND window, HWND parent);
};
