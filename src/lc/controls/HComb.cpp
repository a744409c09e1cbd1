#include "HComb.h"

#include <afxwin.h>

#include <atomic>
#include <vector>

#include "KyAppContext.h"
#include "KyControlValue.h"
#include "KyNotificationMap.h"
#include "KyPanel.h"
#include "KyRunOptions.h"
#include "combobox.h"
#include "editcontrol.h"
#include "listcontrol.h"
#include "natmessages.h"
#include "ravlets.h"

namespace {

constexpr int kComboCompleteClear = 66;
constexpr int kTextRoom = 511;

// The process-wide copy of the run option.
std::atomic<bool> s_fCompleteClear{false};

void readCompleteClear() {
  KyAppContext* pContext = KyAppContext::Current();
  s_fCompleteClear = pContext && pContext->GetRunOptions()->fGetOption(kComboCompleteClear);
}

constexpr KyCodeEvent kNativeComboEvents[] = {{1, 9}, {2, 2}, {3, 4}, {4, 5}, {5, 9}, {6, 24}};
constexpr KyCodeEvent kCustomComboEvents[] = {{1, 9}, {2, 2}, {4, 4}, {5, 5}, {8, 9}, {1024, 24}};

}  // namespace

bool KyComboCompleteClear() { return s_fCompleteClear; }

HComb::HComb(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate) : KyCtrl(pPanel, "Comb", record, fCreate) {
  readCompleteClear();
  if (!m_hWnd) return;
  m_pWrapper = std::make_unique<ComboCtrl>(this);
  m_pWrapper->AttachTo(m_hWnd, m_pNative.get());
  clearWindow();
}

HComb::HComb(KyPanel* pPanel, const KyCreateCtrl& record, const char* pszKindName, int fCreate)
    : KyCtrl(pPanel, pszKindName, record, fCreate) {}

HComb::~HComb() { m_pWrapper.reset(); }

void HComb::clearWindow() {
  if (m_hWnd) SendMessageA(m_hWnd, KYM_LISTCLEAR, 0, 0);
  m_iEntries = 0;
}

WPARAM HComb::entryWParam(int iIndex, size_t size) const {
  // The custom list takes the buffer's size in the high half; a native
  // list reads its item text of the length it reported.
  const WPARAM index = static_cast<WPARAM>(static_cast<DWORD>(iIndex));
  return m_pNative ? index : index | (static_cast<WPARAM>(size) << 32);
}

int HComb::readEntry(int iIndex, const KyTypedValue& value) {
  if (!m_hWnd) return 0;
  char buffer[kKyControlValueSize] = {};
  LRESULT got;
  if (iIndex < 0) {
    got = SendMessageA(m_hWnd, KYM_LISTGETCURDATA, kTextRoom, reinterpret_cast<LPARAM>(buffer));
  } else {
    got = SendMessageA(m_hWnd, KYM_LISTGETDATA, entryWParam(iIndex, kTextRoom), reinterpret_cast<LPARAM>(buffer));
  }
  // No entry: no value (the exchange empties the field).
  if (got <= 0) return 0;
  return KyStorageToTyped(buffer, sizeof buffer, KyQueryControlStorage(m_hWnd), value) ? 1 : 0;
}

int HComb::readEntryText(int iIndex, KyCharFld& text) {
  if (!m_hWnd) return 0;
  const int index = iIndex < 0 ? GetCurrentEntry() : iIndex;
  if (index < 0) {
    text = KyCharFld("");
    return 1;
  }
  const LRESULT length = SendMessageA(m_hWnd, KYM_LISTGETDATALENGTH, static_cast<WPARAM>(index), 0);
  std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  if (iIndex < 0) {
    SendMessageA(m_hWnd, KYM_LISTGETCURDATA, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  } else {
    SendMessageA(m_hWnd, KYM_LISTGETDATA, entryWParam(index, buffer.size()), reinterpret_cast<LPARAM>(buffer.data()));
  }
  buffer.back() = '\0';
  text = KyCharFld(buffer.data());
  return 1;
}

int HComb::GetTypedValue(const KyTypedValue& value) { return readEntry(-1, value); }

int HComb::SetTypedValue(const KyTypedValue& value) {
  if (!m_hWnd) return 0;
  std::vector<char> stored;
  if (!KyTypedToStorage(value, KyQueryControlStorage(m_hWnd), stored)) return 0;
  SendMessageA(m_hWnd, KYM_LISTSELECTDATA, 1, reinterpret_cast<LPARAM>(stored.data()));
  return 1;
}

int HComb::addEntry(const void* pValue) {
  if (!m_hWnd) return 0;
  SendMessageA(m_hWnd, KYM_LISTADDITEM, 0, reinterpret_cast<LPARAM>(pValue));
  return 1;
}

int HComb::removeEntry(const void* pValue) {
  if (!m_hWnd) return 0;
  const LRESULT index =
      SendMessageA(m_hWnd, KYM_LISTFINDDATA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pValue));
  if (index < 0) return 0;
  return static_cast<int>(SendMessageA(m_hWnd, KYM_LISTDELETEITEM, static_cast<WPARAM>(index), 0));
}

int HComb::AddTypedEntry(const KyTypedValue& value) {
  std::vector<char> stored;
  if (!m_hWnd || !KyTypedToStorage(value, KyQueryControlStorage(m_hWnd), stored)) return 0;
  return addEntry(stored.data());
}

int HComb::RemoveTypedEntry(const KyTypedValue& value) {
  std::vector<char> stored;
  if (!m_hWnd || !KyTypedToStorage(value, KyQueryControlStorage(m_hWnd), stored)) return 0;
  return removeEntry(stored.data());
}

int HComb::GetTextValue(KyCharFld& text) { return readEntryText(-1, text); }

int HComb::SetTextValue(const char* pszText) {
  if (!m_hWnd) return 0;
  SendMessageA(m_hWnd, KYM_LISTSELECTDATA, 1, reinterpret_cast<LPARAM>(pszText ? pszText : ""));
  return 1;
}

int HComb::AddTextEntry(KyCharFld& text) { return addEntry(text.GetString()); }

int HComb::RemoveTextEntry(KyCharFld& text) { return removeEntry(text.GetString()); }

void HComb::SetAuxData(const KyAuxCtrlInfo& aux) {
  KyStateWin::SetAuxData(aux);
  if (!m_pNative || !m_hWnd) return;
  SendMessageA(m_hWnd, NKM_SETCONTEXTMENU, 0, aux.contextMenu2 == -1 ? 1 : 0);
  SendMessageA(m_hWnd, CB_LIMITTEXT, static_cast<WPARAM>(static_cast<uint16_t>(aux.textLimit)), 0);
}

int HComb::MapNotification(int iCode) {
  return m_pNative ? KyEventOfCode(kNativeComboEvents, iCode) : KyEventOfCode(kCustomComboEvents, iCode);
}

void HComb::AddValuePair(KyRTType& field, const char* pszDisplay, const char* pszValue) {
  if (!m_hWnd || SendMessageA(m_hWnd, KYM_LISTGETCOUNT, 0, 0) >= kMaxValuePairs) return;
  KyString display(pszDisplay ? pszDisplay : "");
  if (m_pNative && m_iKind == KindComboBox) {
    const LONG style = GetWindowLongA(m_hWnd, GWL_STYLE);
    if (style & CBS_UPPERCASE)
      display.MakeUpper();
    else if (style & CBS_LOWERCASE)
      display.MakeLower();
  }
  KyCtrl::AddValuePair(field, display.GetString(), pszValue);
  ++m_iEntries;
  SendMessageA(m_hWnd, KYM_COMBOSETDROPHEIGHT, static_cast<WPARAM>(m_iEntries * (WindowHeight(m_hWnd) - 4)), 0);
  SendMessageA(m_hWnd, KYM_LISTADDITEM, 0, reinterpret_cast<LPARAM>(display.GetString()));
}

void HComb::ClearEntries() {
  clearWindow();
  readCompleteClear();
  if (s_fCompleteClear) m_ValuePairs.clear();
}

int HComb::GetCurrentEntry() {
  return m_hWnd ? static_cast<int>(SendMessageA(m_hWnd, KYM_LISTGETCURRENT, 0, 0)) : -1;
}

void HComb::SetCurrentEntry(int iIndex) {
  if (!m_hWnd) return;
  // The custom list takes the index in wParam (lParam: repaint), the native
  // one in lParam.
  if (m_pNative)
    SendMessageA(m_hWnd, KYM_LISTSETCURRENT, 0, static_cast<LPARAM>(iIndex));
  else
    SendMessageA(m_hWnd, KYM_LISTSETCURRENT, static_cast<WPARAM>(iIndex), 1);
}
