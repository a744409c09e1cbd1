#include "HEdit.h"

#include <cstring>
#include <vector>

#include "KyAppContext.h"
#include "KyControlValue.h"
#include "KyLocale.h"
#include "KyNotificationMap.h"
#include "editcontrol.h"
#include "kymessages.h"
#include "natmessages.h"

namespace {

constexpr DWORD kProtectedStyle = 0x2000;

// 1024 is the custom edit's own; a native edit's 1024 raises nothing.
constexpr KyCodeEvent kEditEvents[] = {{256, 4},   {268, 2},  {512, 5},  {768, 9},
                                     {1024, 24}, {1539, 25}, {1540, 26}, {1542, 24}};

// The native edit's room for the field's text: a number edit needs room
// for its sign and separators.
int nativeTextLimit(int iLimit, int iTypeLetter) {
  if (iTypeLetter == 'f') return iLimit + 2;
  if (std::strchr("Lbdeils", iTypeLetter) && iTypeLetter) return iLimit + 1;
  return iLimit;
}

}  // namespace

HEdit::HEdit(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate) : KyCtrl(pPanel, "Edit", record, fCreate) {
  if (m_hWnd) {
    m_pWrapper = std::make_unique<EditCtrl>(this);
    m_pWrapper->AttachTo(m_hWnd, m_pNative.get());
    SendMessageA(m_hWnd, KYM_SETFIELD, 0, static_cast<LPARAM>(m_iWord38));
  }
}

HEdit::HEdit(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate, const char* pszKindName)
    : KyCtrl(pPanel, pszKindName, record, fCreate) {}

HEdit::~HEdit() { m_pWrapper.reset(); }

bool HEdit::doubleByteLocale() {
  KyAppContext* pContext = KyAppContext::Current();
  KyLocale* pLocale = pContext ? pContext->GetLocale() : nullptr;
  return pLocale && pLocale->IsDoubleByte();
}

int HEdit::GetTypedValue(const KyTypedValue& value) {
  if (!m_hWnd) return 0;
  char buffer[kKyControlValueSize] = {};
  SendMessageA(m_hWnd, KYM_GETDATA, sizeof buffer - 1, reinterpret_cast<LPARAM>(buffer));
  // A custom edit says when it holds no value (the exchange empties the field).
  if (!m_pNative && SendMessageA(m_hWnd, KYM_GETFLAG4000, 0, 0) == 1) return 0;
  return KyStorageToTyped(buffer, sizeof buffer, KyQueryControlStorage(m_hWnd), value) ? 1 : 0;
}

int HEdit::SetTypedValue(const KyTypedValue& value) {
  if (!m_hWnd) return 0;
  std::vector<char> stored;
  if (!KyTypedToStorage(value, KyQueryControlStorage(m_hWnd), stored)) return 0;
  SendMessageA(m_hWnd, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(stored.data()));
  return 1;
}

int HEdit::GetTextValue(KyCharFld& text) {
  if (!m_hWnd) return 0;
  const LRESULT length = SendMessageA(m_hWnd, WM_GETTEXTLENGTH, 0, 0);
  std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  SendMessageA(m_hWnd, KYM_GETDATA, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.back() = '\0';
  text = KyCharFld(buffer.data());
  return 1;
}

int HEdit::SetTextValue(const char* pszText) {
  if (!m_hWnd) return 0;
  SendMessageA(m_hWnd, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(pszText ? pszText : ""));
  return 1;
}

void HEdit::SetEnabled(int fEnabled) {
  // Protection makes an edit read-only, never disabled.
  if (m_hWnd) EnableWindow(m_hWnd, fEnabled ? TRUE : FALSE);
}

void HEdit::SetProtected(int fProtected) {
  if (!m_hWnd) return;
  if (m_pNative) {
    SendMessageA(m_hWnd, EM_SETREADONLY, fProtected ? TRUE : FALSE, 0);
    return;
  }
  DWORD style = static_cast<DWORD>(SendMessageA(m_hWnd, KYM_GETSTYLE, 0, 0));
  style = fProtected ? (style | kProtectedStyle) : (style & ~kProtectedStyle);
  SendMessageA(m_hWnd, KYM_SETSTYLE, 0, static_cast<LPARAM>(style));
}

void HEdit::sendLimit(UINT uMessage, const char* pszText) {
  if (!m_hWnd || !pszText || !*pszText) return;
  std::vector<char> value = KyLimitValue(pszText, KyQueryControlStorage(m_hWnd));
  if (!value.empty()) SendMessageA(m_hWnd, uMessage, 0, reinterpret_cast<LPARAM>(value.data()));
}

void HEdit::SetMinimum(const char* pszText) { sendLimit(KYM_SETMIN, pszText); }

void HEdit::SetMaximum(const char* pszText) { sendLimit(KYM_SETMAX, pszText); }

void HEdit::SetAuxData(const KyAuxCtrlInfo& aux) {
  KyStateWin::SetAuxData(aux);
  if (!m_pNative || !m_hWnd) return;
  const int limit = nativeTextLimit(static_cast<uint16_t>(aux.textLimit), m_iWord38);
  SendMessageA(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
  SendMessageA(m_hWnd, NKM_SETCONTEXTMENU, 0, aux.contextMenu2 == -1 ? 1 : 0);
}

int HEdit::MapNotification(int iCode) {
  if (iCode == 768 && doubleByteLocale() && KyQueryControlStorage(m_hWnd).type == 's') TrimToLimit();
  if (iCode == 1024 && m_pNative) return 0;
  return KyEventOfCode(kEditEvents, iCode);
}

bool HEdit::TrimToLimit() {
  if (!m_hWnd) return false;
  const int limit = static_cast<int>(SendMessageA(m_hWnd, KYM_EDITGETLIMIT, 0, 0));
  const KyString text = ReadControlText();
  KyString cut = text;
  if (m_iWord30 == 1 && m_iWord32 == 1) {
    // Cut to what fits the limit in host measure, never inside a character:
    // the limit's first characters can still be too long in host measure
    // (the shift pair of each double-byte run), and a cut in bytes can
    // split a character.
    if (text.GetHostLength() > limit) cut = text.Left(text.HostFitLength(limit));
  } else if (m_iWord30 != 1) {
    cut = text.SingleBytePrefix();
  }
  if (cut == text) return false;
  MessageBeep(0xFFFFFFFF);
  SetText(cut.GetString());
  const int length = cut.GetLength();
  const LPARAM both = static_cast<LPARAM>(static_cast<DWORD>(length) | (static_cast<DWORD>(length) << 16));
  SendMessageA(m_hWnd, KYM_SETSEL, m_pNative ? static_cast<WPARAM>(length) : 0, both);
  return true;
}
