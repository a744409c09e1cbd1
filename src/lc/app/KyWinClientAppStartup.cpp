// The user-interface start-up and shut-down of the runner's application.
#include "KyAppContext.h"
#include "KyMsgWin.h"
#include "KyProfile.h"
#include "KyRunOptions.h"
#include "KySplash.h"
#include "KyWinClientApp.h"

#include <ravlets.h>

#include <memory>

namespace {

constexpr int kShowSplashOption = 4;  // flag: [Window Options] "Show Splash Screen"
constexpr int kSplashFileOption = 1;  // text: [Window Options] "Splash Screen File"
// Set by nothing in this system; a start in it shows no splash.
constexpr int kNoSplashState = 5;

}  // namespace

// The keyboard hook, the IME for country code 81 and the report document
// template belong to the panel and print subsystems; they join here, in
// that order after the splash, when those exist.
BOOL KyWinClientApp::InitUserInterface() {
  m_fTrace = KyGetProfileBool("Settings", "Trace", FALSE);
  // The classes stay registered for the process once made; a failure here
  // is a wrong prefix, which this program never gives.
  if (!RavletsInit("KYWA721")) return FALSE;

  // A splash whose picture cannot be read is simply not shown: the start
  // goes on without it.
  KyAppContext* pContext = KyAppContext::Current();
  KyRunOptions* pOptions = pContext ? pContext->GetRunOptions() : nullptr;
  if (pOptions && pOptions->fGetOption(kShowSplashOption) && m_iAppState != kNoSplashState && !m_pSplash) {
    auto pSplash = std::make_unique<KySplash>();
    if (pSplash->Create(pOptions->pszGetOption(kSplashFileOption))) {
      pSplash->ShowWindow(SW_SHOW);
      pSplash->UpdateWindow();
      m_pSplash = pSplash.release();
      m_fSplashShown = TRUE;
    }
  }
  return TRUE;
}

// Removing the keyboard hook and the IME joins here with them. The message
// log window is the user interface's last one: it goes with it (its object
// ends itself and leaves m_pMsgWin empty).
void KyWinClientApp::ExitUserInterface() {
  RemoveSplash();
  // A splash still in its display time goes with the program all the same.
  delete m_pSplash;
  m_pSplash = nullptr;
  m_fSplashShown = FALSE;
  if (m_pMsgWin && m_pMsgWin->m_hWnd) m_pMsgWin->DestroyWindow();
}
