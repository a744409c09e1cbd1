// The user-interface start-up and shut-down of the runner's application.
#include "KyMsgWin.h"
#include "KyProfile.h"
#include "KyWinClientApp.h"

#include <ravlets.h>

// The splash window, the keyboard hook, the IME for country code 81 and the
// report document template belong to the panel and print subsystems; they
// join here, in that order after the control classes, when those exist.
BOOL KyWinClientApp::InitUserInterface() {
  m_fTrace = KyGetProfileBool("Settings", "Trace", FALSE);
  // The classes stay registered for the process once made; a failure here
  // is a wrong prefix, which this program never gives.
  if (!RavletsInit("KYWA721")) return FALSE;
  return TRUE;
}

// Removing the splash, the keyboard hook and the IME joins here with them.
// The message log window is the user interface's last one: it goes with it
// (its object ends itself and leaves m_pMsgWin empty).
void KyWinClientApp::ExitUserInterface() {
  if (m_pMsgWin && m_pMsgWin->m_hWnd) m_pMsgWin->DestroyWindow();
}
