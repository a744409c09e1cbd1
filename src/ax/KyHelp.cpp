#include "KyHelp.h"

#include <strings.h>
#include <winreg.h>

#include "KyComInfo.h"

namespace {

constexpr UINT kHtmlHelpDisplayTopic = 0;  // HH_DISPLAY_TOPIC
constexpr WORD kHtmlHelpOrdinal = 14;

using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The HTML Help entry, looked for on first use only.
HtmlHelpProc htmlHelp() {
  static bool looked = false;
  static HtmlHelpProc entry = nullptr;
  if (looked) return entry;
  looked = true;
  char path[261] = "";
  KyRegKey server;
  HMODULE library = nullptr;
  if (server.Open(HKEY_CLASSES_ROOT, "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32") &&
      server.QueryValue(nullptr, path, sizeof path) && *path)
    library = LoadLibraryA(path);
  if (!library) library = LoadLibraryA("hhctrl.ocx");
  if (!library) return nullptr;
  // The library stays loaded for the process, as the entry may be called any time.
  entry = reinterpret_cast<HtmlHelpProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, MAKEINTRESOURCEA(kHtmlHelpOrdinal))));
  return entry;
}

// WinHelp of a file of the control's, not the application's: the
// framework's WinHelp names the application's help file, so that name is
// lent for the call.
BOOL winHelp(CWnd* owner, const CString& file, DWORD context) {
  CWinApp* app = AfxGetApp();
  if (!owner || !app) return FALSE;
  const LPCSTR own = app->m_pszHelpFilePath;
  app->m_pszHelpFilePath = file;
  owner->WinHelp(context, context ? HELP_CONTEXT : HELP_FINDER);
  app->m_pszHelpFilePath = own;
  return TRUE;
}

}  // namespace

ax::HelpKind ax::HelpKindOf(const CString& file) {
  if (file.GetLength() < 4) return HelpKind::None;
  const CString ending = file.Right(4);
  if (strcasecmp(ending, ".HLP") == 0) return HelpKind::WinHelp;
  if (strcasecmp(ending, ".CHM") == 0 || strcasecmp(ending, "HTML") == 0) return HelpKind::HtmlHelp;
  return HelpKind::None;
}

BOOL ax::OpenHelpFile(const CString& file, DWORD context, CWnd* owner) {
  switch (HelpKindOf(file)) {
    case HelpKind::WinHelp:
      return winHelp(owner, file, context);
    case HelpKind::HtmlHelp: {
      HtmlHelpProc entry = htmlHelp();
      if (!entry) return FALSE;
      entry(::GetDesktopWindow(), file, kHtmlHelpDisplayTopic, 0);
      return TRUE;
    }
    default:
      return FALSE;
  }
}
