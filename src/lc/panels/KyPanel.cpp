#include "KyPanel.h"

#include "KyDLL.h"
#include "KyFunctionData.h"
#include "KyApp.h"

namespace {

constexpr UINT kIdleTextId = 57345;
constexpr int kStatusBarId = 0xE801;  // the frame's status bar

}  // namespace

KyPanel::KyPanel(KyFunctionData* pFunctionData) : m_pFunctionData(pFunctionData) {
  KyDLL* pLibrary = pFunctionData ? pFunctionData->GetPanelLibrary() : nullptr;
  m_hResInstance = pLibrary ? pLibrary->GetModule() : nullptr;
}

KyPanel::~KyPanel() = default;

void KyPanel::SetStatusBarText(const char* pszText, int iPane) {
  if (iPane < 0 || iPane >= static_cast<int>(m_StatusTexts.size())) iPane = 0;
  KyString text(pszText ? pszText : "");
  text.TrimLeft();
  text.TrimRight();
  if (iPane == 0 && text.IsEmpty()) {
    KyApp* pApp = KyApp::GetApp();
    text = pApp ? pApp->pszGetResourceString(kIdleTextId) : "";
  }
  m_StatusTexts[iPane] = text;
  HWND hStatusBar = m_hWnd ? GetDlgItem(m_hWnd, kStatusBarId) : nullptr;
  if (hStatusBar) {
    InvalidateRect(hStatusBar, nullptr, TRUE);
    UpdateWindow(hStatusBar);
  }
}

const char* KyPanel::GetStatusBarText(int iPane) const {
  if (iPane < 0 || iPane >= static_cast<int>(m_StatusTexts.size())) iPane = 0;
  return m_StatusTexts[iPane];
}
