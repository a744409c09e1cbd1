#include "KyDevUtils.h"

#include <commdlg.h>
#include <mscrt.h>

#include <cstdarg>

void KyDevUtils::AssertFailed(const char* file, int line) {
  if (!file) return;
  char text[256];
  _snprintf(text, sizeof text, "Internal Check Failed: Line %d of %s", line, file);
  text[sizeof text - 1] = 0;
  switch (MessageBoxA(nullptr, text, "Check Failed", MB_SYSTEMMODAL | MB_ICONERROR | MB_ABORTRETRYIGNORE)) {
    case IDABORT:
      GPF();
    case IDRETRY:
      if (IsDebuggerPresent()) DebugBreak();
      return;
    default:
      return;
  }
}

void KyDevUtils::GPF() {
  MessageBoxA(nullptr, "An internal check failed; the application ends now.", "Orvo Zunt Abort",
              MB_ICONERROR | MB_OK);
  ExitProcess(3);
}

void KyDevUtils::Trace(const char* format, ...) {
  static const bool enabled = GetPrivateProfileIntA("Diagnostics", "TraceEnabled", 0, "AFX.INI") != 0;
  if (!enabled || !format) return;
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  _vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  text[sizeof text - 1] = 0;
  OutputDebugStringA(text);
  OutputDebugStringA("\n");
}

BOOL KyCommDlg::Font(HWND owner, LOGFONTA* font, DWORD flags, HINSTANCE module, LPCSTR templateName) {
  if (!IsWindow(owner)) return FALSE;
  CHOOSEFONTA choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.lpLogFont = font;
  choose.Flags = flags | CF_SCREENFONTS;
  choose.nFontType = SCREEN_FONTTYPE;
  if (module) {
    if (!FindResourceA(module, templateName, RT_DIALOG)) return FALSE;
    choose.hInstance = module;
    choose.lpTemplateName = templateName;
    choose.Flags |= CF_ENABLETEMPLATE;
  }
  return ChooseFontA(&choose);
}

namespace {

// MulDiv with the DC's vertical resolution as one factor, borrowing the
// desktop window's DC when none is given.
LONG byResolution(HDC dc, LONG value, bool toUnits) {
  HWND desktop = dc ? nullptr : GetDesktopWindow();
  HDC use = dc ? dc : GetDC(desktop);
  if (!use) return 0;
  int perInch = GetDeviceCaps(use, LOGPIXELSY);
  LONG result = toUnits ? MulDiv(value, perInch, 72) : MulDiv(value, 72, perInch);
  if (!dc) ReleaseDC(desktop, use);
  return result;
}

}  // namespace

LONG KyWindowGDIUtils::GetLogicalUnitsFromPoints(LONG points, HDC dc) { return byResolution(dc, points, true); }

LONG KyWindowGDIUtils::GetPointSizeFromLogUnits(LONG units, HDC dc) { return byResolution(dc, units, false); }

void KyWinUserInterfaceUtils::CenterWindow(HWND window, HWND parent) {
  if (!parent) parent = GetWindow(window, GW_OWNER);
  if (!IsWindow(window) || !IsWindow(parent)) return;
  RECT w, p;
  GetWindowRect(window, &w);
  GetWindowRect(parent, &p);
  const int width = w.right - w.left, height = w.bottom - w.top;
  auto place = [](int parentStart, int parentEnd, int size, int screen) {
    int at = (parentStart + parentEnd) / 2 - size / 2;
    if (at + size > screen) at = screen - size;
    return at < 0 ? 0 : at;
  };
  int x = place(p.left, p.right, width, GetSystemMetrics(SM_CXSCREEN));
  int y = place(p.top, p.bottom, height, GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
}
