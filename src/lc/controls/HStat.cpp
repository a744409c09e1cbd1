#include "HStat.h"

#include "KyResourceScope.h"
#include "kymessages.h"

HStat::HStat(KyPanel* pPanel, const KyCreateCtrl& record) : KyCtrl(pPanel, "Stat", record, 1) {
  if (!m_hWnd) return;
  // The panel colour went to a native static when it was made; a custom
  // static draws no unused colour.
  if (m_pNative) applyUnusedColor("Statics");
  m_pWrapper = std::make_unique<StaticCtrl>(this);
  m_pWrapper->AttachTo(m_hWnd, m_pNative.get());
}

HStat::~HStat() { m_pWrapper.reset(); }

void HStat::SetPicture(const char* pszName, int) {
  if (!m_hWnd || !pszName) return;
  KyResourceScope scope(m_pPanel);
  SendMessageA(m_hWnd, KYM_STATSETBITMAPFILE, reinterpret_cast<WPARAM>(AfxGetResourceHandle()),
               reinterpret_cast<LPARAM>(pszName));
}
