// The user-interface start-up and shut-down of the runner's application.
#include "CMainFrame.h"
#include "CPrtDoc.h"
#include "CPrtView.h"
#include "KyAppContext.h"
#include "KyKeyHook.h"
#include "KyLocale.h"
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
constexpr UINT kReportTemplateId = 110;
constexpr UINT kJapan = 81;  // the locale's country code that brings the IME

}  // namespace

// The keyboard hook and the IME for country code 81 belong to the panel
// subsystem; they join here after the splash when they exist. The report
// document template (id 110: report document, frame and view) comes last.
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
  if (!m_pKeyHook) {
    m_pKeyHook = std::make_unique<KyKeyHook>();
    m_pKeyHook->Install();
  }
  KyLocale* pLocale = pContext ? pContext->GetLocale() : nullptr;
  if (!m_pIME && pLocale && pLocale->GetCountry() == kJapan) m_pIME = std::make_unique<KyIME>();
  if (!m_fReportTemplate) {
    AddDocTemplate(new CMultiDocTemplate(kReportTemplateId, RUNTIME_CLASS(CPrtDoc), RUNTIME_CLASS(CMainFrame),
                                         RUNTIME_CLASS(CPrtView)));
    m_fReportTemplate = TRUE;
  }
  return TRUE;
}

// The keyboard hook and the IME go first. The message
// log window is the user interface's last one: it goes with it (its object
// ends itself and leaves m_pMsgWin empty).
void KyWinClientApp::ExitUserInterface() {
  RemoveSplash();
  if (m_pKeyHook) m_pKeyHook->Remove();
  m_pKeyHook.reset();
  m_pIME.reset();
  // A splash still in its display time goes with the program all the same.
  delete m_pSplash;
  m_pSplash = nullptr;
  m_fSplashShown = FALSE;
  if (m_pMsgWin && m_pMsgWin->m_hWnd) m_pMsgWin->DestroyWindow();
}
