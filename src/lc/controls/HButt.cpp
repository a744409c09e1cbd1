#include "HButt.h"

#include <cstring>

#include "KyNotificationMap.h"
#include "KyPanel.h"
#include "KyResourceScope.h"
#include "editcontrol.h"
#include "listcontrol.h"

namespace {

constexpr DWORD kDefaultButton = 0x1;

constexpr KyCodeEvent kButtonEvents[] = {{0, 1},   {5, 2},   {6, 4},   {7, 5},
                                       {256, 4}, {512, 5}, {768, 9}, {1024, 24}};

}  // namespace

HButt::HButt(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate) : KyCtrl(pPanel, "Butt", record, fCreate) {
  if (!m_hWnd) return;
  if (isPushButton() && (m_dwStyle & kDefaultButton) && pPanel && pPanel->ViewHandle())
    SendMessageA(pPanel->ViewHandle(), DM_SETDEFID, static_cast<WPARAM>(m_iId), 0);
  // A custom button took its unused colour when its window was made.
  if (m_pNative) applyUnusedColor("Buttons");
  m_pWrapper = std::make_unique<ButtonCtrl>(this);
  m_pWrapper->AttachTo(m_hWnd, m_pNative.get());
}

HButt::~HButt() { m_pWrapper.reset(); }

void HButt::SetEnabled(int fEnabled) {
  if (!m_pWrapper) return;
  // A push button follows the enabled flag alone; the others stay disabled
  // while protected.
  if (fEnabled && (isPushButton() || !(m_dwFlags & FlagProtected)))
    m_pWrapper->EnableControl();
  else
    m_pWrapper->DisableControl();
}

void HButt::SetProtected(int fProtected) {
  if (!m_pWrapper) return;
  if (!fProtected) {
    if (m_dwFlags & FlagEnabled)
      m_pWrapper->EnableControl();
    else
      m_pWrapper->DisableControl();
  } else if (!isPushButton()) {
    m_pWrapper->DisableControl();
  }
}

void HButt::SetBackColor(COLORREF color) {
  if (color == CLR_INVALID && !isPushButton() && m_pPanel) color = m_pPanel->GetPanelColor();
  KyCtrl::SetBackColor(color);
}

void HButt::SetAuxData(const KyAuxCtrlInfo& aux) {
  KyStateWin::SetAuxData(aux);
  if (m_hWnd) SendMessageA(m_hWnd, KYM_LISTSETFLAGS, static_cast<WPARAM>(static_cast<uint16_t>(aux.word24)), 0);
}

void HButt::SetPicture(const char* pszName, int) {
  if (!m_hWnd || !pszName) return;
  KyResourceScope scope(m_pPanel);
  SendMessageA(m_hWnd, KYM_SETSEL, reinterpret_cast<WPARAM>(AfxGetResourceHandle()), reinterpret_cast<LPARAM>(pszName));
}

int HButt::MapNotification(int iCode) {
  return KyEventOfCode(kButtonEvents, iCode);
}

int HButt::GetCheck() { return m_hWnd ? static_cast<int>(SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)) : 0; }

void HButt::SetCheck(int iState) {
  if (m_hWnd) SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(iState), 0);
}

int HButt::GetTextValue(KyCharFld& text) {
  const int pairs = GetValuePairCount();
  if (pairs == 0) return 0;
  int pair = -1;
  switch (GetCheck()) {
    case BST_CHECKED: pair = 0; break;
    case BST_UNCHECKED: pair = pairs >= 2 ? 1 : -1; break;
    case BST_INDETERMINATE: pair = pairs >= 3 ? 2 : -1; break;
    default: break;
  }
  // Without the pair of its state the field keeps its value.
  if (pair >= 0) text = KyCharFld(GetPairDisplay(pair).GetString());
  return 1;
}

int HButt::SetTextValue(const char* pszText) {
  const int pairs = GetValuePairCount();
  if (pairs == 0) return 0;
  const char* text = pszText ? pszText : "";
  int state = BST_UNCHECKED;
  if (std::strcmp(text, GetPairDisplay(0).GetString()) == 0)
    state = BST_CHECKED;
  else if (pairs >= 2 && std::strcmp(text, GetPairDisplay(1).GetString()) == 0)
    state = BST_UNCHECKED;
  else if (pairs >= 3 && std::strcmp(text, GetPairDisplay(2).GetString()) == 0)
    state = BST_INDETERMINATE;
  SetCheck(state);
  return 1;
}
