// KyPanel's splitter panes: the host of the panes in its view, and the
// share of a pane.
#include "KyPanel.h"
#include "KySplitter.h"

void KyPanel::SetSplitterPaneConfig(int fOrientation, int iPercent, int iThird) {
  m_PaneConfig = {fOrientation, iPercent, iThird};
}

KyPanel* KyPanel::GetPaneHostPanel() {
  KyPanel* pHost = this;
  while (pHost && pHost->m_iKind == KySplitterPane) pHost = pHost->m_pParentPanel;
  return pHost;
}

KySplitterHost* KyPanel::GetSplitterHost() {
  if (!m_pSplitterHost && m_hView) m_pSplitterHost = std::make_unique<KySplitterHost>(this);
  return m_pSplitterHost.get();
}

int KyPanel::ResizePane(int iPane, int iPercent) {
  KyPanel* pHost = GetPaneHostPanel();
  KySplitterHost* pSplitterHost = pHost ? pHost->FindSplitterHost() : nullptr;
  return pSplitterHost ? pSplitterHost->ResizePane(iPane, iPercent) : 0;
}

int KyPanel::ShowAllPanes() {
  KyPanel* pHost = GetPaneHostPanel();
  KySplitterHost* pSplitterHost = pHost ? pHost->FindSplitterHost() : nullptr;
  if (!pSplitterHost) return 0;
  pSplitterHost->ShowAllPanes();
  return 1;
}

void KyPanel::LeavePaneHost() {
  if (m_iKind != KySplitterPane) return;
  KyPanel* pHost = GetPaneHostPanel();
  if (KySplitterHost* pSplitterHost = pHost ? pHost->FindSplitterHost() : nullptr) pSplitterHost->RemovePane(this);
}

void KyPanel::CloseSplitterHost() {
  if (!m_pSplitterHost) return;
  m_pSplitterHost->Close();
  m_pSplitterHost.reset();
}

void KyPanel::ViewSized() {
  LayoutControls();
  if (m_pSplitterHost) m_pSplitterHost->Fit();
}
