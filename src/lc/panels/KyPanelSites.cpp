// KyPanel's part in sites: a nested panel leaving its site, a parent
// ending the panels nested in its sites.
#include "KyPanel.h"
#include "KySite.h"

void KyPanel::LeaveSite() {
  if (!m_pSite) return;
  KySite* pSite = m_pSite;
  m_pSite = nullptr;
  pSite->RemoveChildPanel(this);
}

void KyPanel::CloseSiteChildren() {
  for (const auto& pControl : m_Controls)
    if (auto* pSite = dynamic_cast<KySite*>(pControl.get())) pSite->CloseChildPanels();
}
