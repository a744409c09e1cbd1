#include "HMultiEdit.h"

#include <vector>

#include "KyControlValue.h"
#include "KyNotificationMap.h"
#include "natmessages.h"

namespace {

// The whole window text (the multi-line edit has no length of its own).
std::string windowText(HWND hWnd) {
  const LRESULT length = SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0);
  std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  SendMessageA(hWnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.back() = '\0';
  return buffer.data();
}

constexpr KyCodeEvent kMultiEditEvents[] = {{256, 4}, {512, 5}, {768, 9}, {1024, 24}, {1542, 24}, {1543, 2}};

}  // namespace

HMultiEdit::HMultiEdit(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate)
    : HEdit(pPanel, record, fCreate, "MultiEdit") {
  if (!fCreate || !m_hWnd) return;
  m_pWrapper = std::make_unique<MultiEditCtrl>(this);
  m_pWrapper->AttachTo(m_hWnd, m_pNative.get());
}

HMultiEdit::~HMultiEdit() { m_pWrapper.reset(); }

// The typed forms read and show the text: the buffer's own size bounds it.
int HMultiEdit::GetTypedValue(const KyTypedValue& value) {
  if (!m_hWnd) return 0;
  const std::string text = windowText(m_hWnd);
  return KyStorageToTyped(text.c_str(), text.size() + 1, KyControlStorage{}, value) ? 1 : 0;
}

int HMultiEdit::SetTypedValue(const KyTypedValue& value) {
  if (!m_hWnd) return 0;
  std::vector<char> text;
  if (!KyTypedToStorage(value, KyControlStorage{}, text)) return 0;
  SendMessageA(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
  return 1;
}

int HMultiEdit::GetTextValue(KyCharFld& text) {
  if (!m_hWnd) return 0;
  text = KyCharFld(windowText(m_hWnd).c_str());
  return 1;
}

int HMultiEdit::SetTextValue(const char* pszText) {
  if (!m_hWnd) return 0;
  SendMessageA(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pszText ? pszText : ""));
  return 1;
}

void HMultiEdit::SetProtected(int fProtected) {
  if (m_hWnd) SendMessageA(m_hWnd, EM_SETREADONLY, fProtected ? TRUE : FALSE, 0);
}

void HMultiEdit::SetText(const char* pszText) { SetTextValue(pszText); }

void HMultiEdit::SetTextLimit(int iLimit) {
  if (m_hWnd) SendMessageA(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(iLimit), 0);
}

void HMultiEdit::SetAuxData(const KyAuxCtrlInfo& aux) {
  KyStateWin::SetAuxData(aux);
  if (m_pNative && m_hWnd) SendMessageA(m_hWnd, NKM_SETCONTEXTMENU, 0, aux.contextMenu2 == -1 ? 1 : 0);
}

int HMultiEdit::MapNotification(int iCode) {
  // The length check runs whatever the edit's type.
  if (iCode == 768 && doubleByteLocale()) TrimToLimit();
  if (iCode == 1024 && m_pNative) return 0;
  return KyEventOfCode(kMultiEditEvents, iCode);
}
