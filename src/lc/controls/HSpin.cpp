#include "HSpin.h"

#include <vector>

#include "KyControlValue.h"
#include "KyNotificationMap.h"
#include "natctl.h"
#include "spin.h"
// The native spin's own record (a header of the same name as the custom
// spin's, so named by its place).
#include "../../natctl/spin.h"

HSpin::HSpin(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate) : HEdit(pPanel, record, fCreate, "Spin") {
  if (!fCreate || !m_hWnd) return;
  m_pWrapper = std::make_unique<SpinCtrl>(this);
  m_pWrapper->AttachTo(m_hWnd, m_pNative.get());
}

HSpin::~HSpin() { m_pWrapper.reset(); }

UINT HSpin::GetLastRequest() const { return m_pWrapper ? m_pWrapper->GetLastRequest() : 0; }

void HSpin::SetIncrement(const char* pszText) {
  if (!m_hWnd || !pszText || !*pszText) return;
  std::vector<char> value = KyLimitValue(pszText, KyQueryControlStorage(m_hWnd));
  if (value.empty()) return;
  // A native spin reads the text itself; a custom one takes the value.
  const LPARAM lParam =
      m_pNative ? reinterpret_cast<LPARAM>(pszText) : reinterpret_cast<LPARAM>(value.data());
  SendMessageA(m_hWnd, KYM_SETINC, 0, lParam);
}

int HSpin::MapNotification(int iCode) {
  static constexpr KyCodeEvent kSpinEvents[] = {{256, 4},   {268, 2},   {512, 5},   {768, 9}, {1024, 24},
                                                {1539, 25}, {1540, 26}, {1541, 27}, {1542, 28}};
  return KyEventOfCode(kSpinEvents, iCode);
}

std::string HSpin::GetLimitText() const {
  auto* pFacade = dynamic_cast<KyGUICSpinButtonCtrl*>(m_pNative.get());
  KyGUICSpinButtonCtrlImp* pImp = pFacade ? pFacade->GetNativeControlImp() : nullptr;
  return pImp ? pImp->status : std::string();
}
