// KyMessage: every message the run-time shows or records: a modal box, an
// entry in the application's message log, a line in the status bar. Each
// formats its text once with the printf rules into a buffer of "Strings" /
// "Max String Size" characters (at least 2048); the text is then used as it
// stands, so a '%' inside an argument is never read as a format again.
#pragma once

#include <windows.h>

#include "KyMsg.h"
#include "KyString.h"

class KyMessage {
 public:
  // Shows the box (or, with "Message Box" / "Always Log" set, appends the text
  // with a time stamp to the log file instead). Answers 1 for Yes, 2 for No,
  // 3 for anything else.
  static int Box(UINT nType, const char* pszFormat, ...);
  static int Box(DWORD dwHelpId, UINT nType, const char* pszFormat, ...);
  static int VBox(DWORD dwHelpId, UINT nType, const char* pszFormat, va_list args);

  // Hands an entry to the application's LogMessage.
  static void Log(DWORD dwHelpId, KyMsg::KyMsgType type, LONG lId, KyString strSource, const char* pszFormat, ...);
  static void Log(const char* pszFormat, ...);

  // Pane 0 of the status bar of the application's main panel.
  static void Status(const char* pszFormat, ...);
};

// The title of the run-time's message boxes: run option 11 "Title" when
// "Always Override" (9) is set; for an application named like string 57344
// the "Title" or else string 57412; otherwise the application's name.
KyString KyMessageBoxTitle();

// For a negative HRESULT shows the application's string 57426 with the
// code, facility, severity, the result, the last system error and the source
// place, and answers 0; otherwise answers 1.
int KyCheckHResult(const HRESULT* phResult, const char* pszSourceFile, int iLine);
