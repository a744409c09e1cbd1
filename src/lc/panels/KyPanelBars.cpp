// KyPanel's tool bars (button sets and their windows), the tips of its
// controls and the status texts shown in a frame's status bar.
#include <afxres.h>
#include <afxframe.h>

#include "KyAppServices.h"
#include "KyPanel.h"
#include "KyPanelFrames.h"
#include "KyResourceScope.h"
#include "KyToolBar.h"

namespace {

constexpr int kShownStatusTexts = 3;

}  // namespace

KyFramePart* KyPanel::GetFramePart() const { return dynamic_cast<KyFramePart*>(m_pFrame); }

void KyPanel::CreateToolbar(const char* pszText) {
  KyFramePart* pPart = GetFramePart();
  if (!pPart) return;
  if (pPart->CreateToolBar(m_uNextToolBarId, pszText)) {
    // 59392, then 59425 and on: the ids the MDI frame's slots use too.
    m_uNextToolBarId = m_uNextToolBarId == 59392 ? 59425 : m_uNextToolBarId + 1;
  }
  m_ButtonSets.push_back(std::make_unique<KyButtonSet>(pszText));
}

void KyPanel::AddSpeedButton(int iPictureId, int iCommandId) {
  if (m_ButtonSets.empty()) return;
  KyResourceScope scope(this);
  m_ButtonSets.back()->Add(iPictureId, iCommandId);
}

namespace {

// Sets or clears a state bit of every button of the command; the tool bars
// follow at their next update.
int setButtonState(const std::vector<std::unique_ptr<KyButtonSet>>& sets, int iCommandId, UINT uBit, bool fOn) {
  int found = 0;
  for (const auto& pSet : sets) {
    KySpeedButton* pButton = pSet->FindButton(iCommandId);
    if (!pButton) continue;
    pButton->SetState(fOn ? pButton->GetState() | uBit : pButton->GetState() & ~uBit);
    found = 1;
  }
  return found;
}

}  // namespace

int KyPanel::EnableSpeedButton(int iCommandId, int fEnable) {
  return setButtonState(m_ButtonSets, iCommandId, KySpeedButton::kEnabled, fEnable != 0);
}

int KyPanel::ShowSpeedButton(int iCommandId, int fShow) {
  return setButtonState(m_ButtonSets, iCommandId, KySpeedButton::kHidden, fShow == 0);
}

BOOL KyPanel::AddControlTip(HWND hControl, const char* pszText) {
  if (!m_hView || !hControl) return FALSE;
  if (!m_pToolTips) m_pToolTips = std::make_unique<KyToolTipCtrl>(m_hView);
  return m_pToolTips->AddControlTool(hControl, pszText);
}

void KyPanel::ActivateToolTips() {
  if (m_pToolTips && m_pToolTips->m_hWnd) m_pToolTips->Activate(TRUE);
}

void KyPanel::RefreshStatusBar() {
  if (m_iKind == KyMDIChild && m_pParentPanel) {
    for (int i = 0; i < kShownStatusTexts; ++i)
      if (!m_StatusTexts[i].IsEmpty()) m_pParentPanel->m_StatusTexts[i] = m_StatusTexts[i];
  }
  KyFramePart* pPart = GetFramePart();
  if ((!pPart || !pPart->GetStatusBar()) && m_pParentPanel) pPart = m_pParentPanel->GetFramePart();
  if (pPart) pPart->ShowStatusTexts(m_StatusTexts[0], m_StatusTexts[1], m_StatusTexts[2]);
}
