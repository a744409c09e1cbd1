#include "KySite.h"

#include <algorithm>

#include "KyFunctionData.h"
#include "KyPanel.h"

namespace {

constexpr char kSiteClass[] = "PanelSite";

LPCSTR siteClass() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.lpszClassName = kSiteClass;
    return ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered ? kSiteClass : nullptr;
}

// The record of a child panel's control: what the site gives it.
KyCreateCtrl childRecord(int iPosition, DWORD dwStyle, const RECT& place) {
  KyCreateCtrl record{};
  record.magic = kKyRecordMagic;
  record.id = static_cast<uint16_t>(iPosition);
  record.kind = KyChildPanelCtrl::kKind;
  record.style = dwStyle;
  record.x = static_cast<int16_t>(place.left);
  record.y = static_cast<int16_t>(place.top);
  record.width = static_cast<int16_t>(place.right - place.left);
  record.height = static_cast<int16_t>(place.bottom - place.top);
  return record;
}

}  // namespace

// --- the child panel's control ------------------------------------------------

KyChildPanelCtrl::KyChildPanelCtrl(KySite* pSite, KyPanel* pParent, KyPanel* pChild, const KyCreateCtrl& record)
    : KyCtrl(pParent, "ChildPanel", record, 0), m_pSite(pSite), m_pChild(pChild) {
  m_hWnd = pChild->hHandle();
  KyFunctionData* pFunction = pChild->GetFunctionData();
  m_Name = KyCharFld(pFunction ? pFunction->GetFunctionName().GetString() : "");
}

HWND KyChildPanelCtrl::GetWindowHandle() {
  m_hWnd = m_pChild ? m_pChild->hHandle() : nullptr;
  return m_hWnd;
}


// --- the site -------------------------------------------------------------------

KySite::KySite(KyPanel* pPanel, const KyCreateCtrl& record)
    : KyCtrl(pPanel, "PanelSite", record, 0), m_dwStyleBit(record.style & kStyleBit) {
  HWND hView = pPanel ? pPanel->ViewHandle() : nullptr;
  // A place marker: never shown, the child panels take its place.
  if (hView && siteClass())
    m_hWnd = ::CreateWindowExA(0, kSiteClass, "", WS_CHILD, m_iScaledX, m_iScaledY, m_iScaledCx, m_iScaledCy, hView,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(m_iId)), nullptr, nullptr);
}

KySite::~KySite() {
  // The child panels may outlive their parent's controls: they forget us.
  std::vector<std::unique_ptr<KyChildPanelCtrl>> children = std::move(m_Children);
  m_Children.clear();
  for (const auto& p : children) p->GetChildPanel()->LeaveSite();
  if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
}

RECT KySite::GetPlace() const { return RECT{m_iScaledX, m_iScaledY, m_iScaledX + m_iScaledCx, m_iScaledY + m_iScaledCy}; }

int KySite::AddChildPanel(KyPanel* pChild, int iPosition) {
  if (!pChild || !pChild->hHandle()) return 0;
  if (m_fReplace && !m_Children.empty()) {
    std::unique_ptr<KyChildPanelCtrl> pFirst = std::move(m_Children.front());
    m_Children.erase(m_Children.begin());
    if (KyPanel* pOld = pFirst->GetChildPanel()) {
      if (m_pCurrent == pOld) m_pCurrent = nullptr;
      pOld->LeaveSite();
      pOld->PanelReturn();
    }
  }
  const RECT place = GetPlace();
  m_Children.push_back(std::make_unique<KyChildPanelCtrl>(this, m_pPanel, pChild, childRecord(iPosition, m_dwStyle, place)));
  ::SetWindowPos(pChild->hHandle(), HWND_TOP, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE);
  m_pCurrent = pChild;
  m_iNextPosition = iPosition + 1;
  return 1;
}

void KySite::RemoveChildPanel(KyPanel* pChild) {
  if (m_pCurrent == pChild) m_pCurrent = nullptr;
  std::erase_if(m_Children, [pChild](const auto& p) { return p->GetChildPanel() == pChild; });
}

void KySite::CloseChildPanels() {
  // A copy: each return may change the list.
  std::vector<KyPanel*> children;
  for (const auto& p : m_Children) children.push_back(p->GetChildPanel());
  for (KyPanel* pChild : children) pChild->PanelReturn();
}

KyPanel* KySite::ChildPanelWithFocus(HWND hFocus) const {
  for (const auto& p : m_Children) {
    HWND hChild = p->GetChildPanel()->hHandle();
    if (hChild && hFocus && (hChild == hFocus || ::IsChild(hChild, hFocus))) return p->GetChildPanel();
  }
  return nullptr;
}

BOOL KySite::OwnsWindow(HWND hWnd) const { return ChildPanelWithFocus(hWnd) != nullptr; }

HDWP KySite::ResizeWithPanel(HDWP hBatch, UINT uFlags) {
  hBatch = KyCtrl::ResizeWithPanel(hBatch, uFlags);
  for (const auto& p : m_Children) hBatch = p->ResizeWithPanel(hBatch, uFlags);
  return hBatch;
}

void KySite::SetVisible(int fVisible) {
  m_fVisible = fVisible ? 1 : 0;
  for (const auto& p : m_Children)
    if (HWND hChild = p->GetWindowHandle()) ::ShowWindow(hChild, fVisible ? SW_SHOWNA : SW_HIDE);
}
