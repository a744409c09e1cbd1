#include "KyWinClientApp.h"

#include "KyMsg.h"
#include "KyMsgWin.h"

namespace {

// The open log window, or a new one; null when none can be made.
KyMsgWin* logWindow(KyWinClientApp& app) {
  if (!app.m_pMsgWin) {
    auto* pWin = new KyMsgWin;
    if (!pWin->Create()) {
      delete pWin;
      return nullptr;
    }
    app.m_pMsgWin = pWin;
  }
  return app.m_pMsgWin;
}

void restoreIfMinimised(KyMsgWin* pWin) {
  if (pWin->IsWindowVisible() && pWin->IsIconic()) pWin->ShowWindow(SW_RESTORE);
}

}  // namespace

void KyWinClientApp::LogMessage(const KyMsg& msg) {
  if (KyMsgWin* pWin = logWindow(*this)) {
    pWin->AddEntry(msg);
    restoreIfMinimised(pWin);
  }
}

void KyWinClientApp::LogMessage(const char* pszText) {
  if (KyMsgWin* pWin = logWindow(*this)) {
    pWin->AddLine(pszText);
    restoreIfMinimised(pWin);
  }
}
