// Opening a help file the way the library's help commands do, by the last
// four characters of its name (any case): ".HLP" through WinHelp on the
// window given, ".CHM" or "HTML" through HTML Help on the desktop window;
// any other file is not opened.
//
// HTML Help is the viewer's library (the default value of HKEY_CLASSES_ROOT
// "CLSID\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\InprocServer32", else
// "hhctrl.ocx" by name) and its export with ordinal 14. It is looked for
// once per process: when the library or the entry is missing, no later call
// looks again. No HTML Help viewer is installed with the run-time, so on a
// machine without one these files are not shown and the call answers FALSE.
#pragma once

#include <afxwin.h>

namespace ax {

enum class HelpKind { None, WinHelp, HtmlHelp };
HelpKind HelpKindOf(const CString& file);

// WinHelp of the file on `owner` (HELP_CONTEXT with the context, HELP_FINDER
// for context 0), or HTML Help's topic display. FALSE when the file is of
// no known kind, when there is no window for WinHelp, or when HTML Help is
// not to be had.
BOOL OpenHelpFile(const CString& file, DWORD context, CWnd* owner);

}  // namespace ax
