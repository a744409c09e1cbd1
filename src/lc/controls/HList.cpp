#include "HList.h"

#include "KyNotificationMap.h"
#include "listcontrol.h"

namespace {

constexpr KyCodeEvent kListEvents[] = {{1, 9}, {2, 2}, {4, 4}, {5, 5}, {6, 24}};

}  // namespace

HList::HList(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate) : HComb(pPanel, record, "List", fCreate) {
  if (!m_hWnd) return;
  m_pWrapper = std::make_unique<ListCtrl>(this);
  m_pWrapper->AttachTo(m_hWnd, m_pNative.get());
  clearWindow();
}

HList::~HList() { m_pWrapper.reset(); }

int HList::GetTypedValue(const KyTypedValue& value) {
  return readEntry(m_fWalking ? m_Selected[static_cast<size_t>(m_iPosition)] : -1, value);
}

int HList::GetTextValue(KyCharFld& text) {
  return readEntryText(m_fWalking ? m_Selected[static_cast<size_t>(m_iPosition)] : -1, text);
}

void HList::SetAuxData(const KyAuxCtrlInfo& aux) {
  KyStateWin::SetAuxData(aux);
  if (m_hWnd) SendMessageA(m_hWnd, KYM_LISTSETFLAGS, static_cast<WPARAM>(static_cast<uint16_t>(aux.word24)), 0);
}

int HList::MapNotification(int iCode) {
  return KyEventOfCode(kListEvents, iCode);
}

void HList::AddValue(const char* pszText) {
  ++m_iEntries;
  addEntry(pszText ? pszText : "");
}

int HList::fGetFirstSelected() {
  m_fWalking = false;
  m_Selected.clear();
  m_iPosition = 0;
  if (!m_hWnd) return 0;
  int count = static_cast<int>(SendMessageA(m_hWnd, KYM_LISTGETSELCOUNT, 0, 0));
  const LONG style = GetWindowLongA(m_hWnd, GWL_STYLE);
  const bool multiple = (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
  // A single-selection list answers -1; one selected entry is the current one.
  const bool single = count == -1 || count == 1;
  if (single) count = GetCurrentEntry() > -1 ? 1 : 0;
  if (count <= 0) return 0;
  m_Selected.assign(static_cast<size_t>(count), -1);
  if (!single || multiple) {
    count = static_cast<int>(
        SendMessageA(m_hWnd, KYM_LISTGETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(m_Selected.data())));
    // Never more than the array holds, whatever the window answers.
    if (count < 0) count = 0;
    if (count > static_cast<int>(m_Selected.size())) count = static_cast<int>(m_Selected.size());
    m_Selected.resize(static_cast<size_t>(count));
  } else {
    m_Selected[0] = GetCurrentEntry();
  }
  m_fWalking = !m_Selected.empty();
  return m_fWalking ? 1 : 0;
}

int HList::fGetNextSelected() {
  if (!m_fWalking) return 0;
  if (++m_iPosition < static_cast<int>(m_Selected.size())) return 1;
  m_fWalking = false;
  return 0;
}
