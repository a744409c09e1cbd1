// The fixed-decimal edit and spin edit (HEditFixedDec.h).
#include "HEditFixedDec.h"

#include <afxwin.h>

#include <algorithm>
#include <cstring>

#include "KyPanel.h"
#include "editcontrol.h"
#include "kymessages.h"

namespace {

// The custom window is a plain text edit; the control lays the picture.
constexpr char kPlainText[] = "%ss";
constexpr int kTextRoom = 512;
// The custom edit's protected style (no typing).
constexpr DWORD kProtectedStyle = 0x2000;

// A limit text in program notation; false when it is no decimal number.
bool readLimit(const char* pszText, KyFixedDecImpl& limit) {
  const std::string text = KyFromIntlNumber(pszText ? pszText : "");
  if (text.find_first_of("0123456789") == std::string::npos || !KyIsValidDecimalText(text.c_str())) return false;
  KyFixedDecImpl value(KyCleanDecimalText(text.c_str()).c_str());
  if (value.Number().state != 0) return false;
  limit = value;
  return true;
}

// The wrapper of the edit (or spin) window that hands typed characters to
// the control before the window sees them.
template <class Wrapper>
class DecimalKeys : public Wrapper {
 public:
  using Wrapper::Wrapper;

 protected:
  bool Intercept(UINT message, WPARAM wParam, LPARAM, LRESULT* pResult) override {
    if (message != WM_CHAR) return false;
    auto* pControl = static_cast<HEditFixedDec*>(this->m_pControl);
    if (!pControl->TypeKey(static_cast<char>(wParam))) return false;
    *pResult = 0;
    return true;
  }
};

}  // namespace

HEditFixedDec::HEditFixedDec(KyPanel* const pPanel, const KyCreateCtrl* pRecord, int iWrapper)
    : HEditFixedDec(pPanel, pRecord, "Edit", 1) {}

HEditFixedDec::HEditFixedDec(KyPanel* const pPanel, const KyCreateCtrl* pRecord, const char* pszTypeWord,
                             int fCreate)
    : HEdit(pPanel, *pRecord, 0, pszTypeWord) {
  m_Mask = KyDecimalMask::Parse(GetCreationText().GetString());
  if (!fCreate) return;
  MakeWindow(kPlainText);
  if (m_hWnd) {
    if (std::strcmp(pszTypeWord, "Spin") == 0)
      m_pKeys = std::make_unique<DecimalKeys<SpinCtrl>>(this);
    else
      m_pKeys = std::make_unique<DecimalKeys<EditCtrl>>(this);
    m_pKeys->AttachTo(m_hWnd, m_pNative.get());
  }
  showInitial();
}

HEditFixedDec::~HEditFixedDec() { m_pKeys.reset(); }

void HEditFixedDec::showInitial() {
  if (!m_hWnd) return;
  // ".0" when the picture's first digit character is the point.
  const size_t first = m_Mask.positive.find_first_of("#*.0");
  const bool pointFirst = first != std::string::npos && m_Mask.positive[first] == '.';
  ShowValue(pointFirst ? ".0" : "0.0");
}

void HEditFixedDec::setWindowText(const std::string& text) {
  if (!m_hWnd) return;
  m_fShowing = true;
  SendMessageA(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  m_fShowing = false;
}

void HEditFixedDec::ShowValue(const std::string& decimalText) {
  const std::string clean = KyCleanDecimalText(decimalText.c_str());
  const bool negative = KyIsNegativeDecimal(clean);
  const std::string shown = m_Mask.Format(clean);
  if (m_hWnd) {
    SendMessageA(m_hWnd, KYM_SETTEXTCOLOR, 0, static_cast<LPARAM>(m_Mask.ColorFor(negative)));
    setWindowText(KyToIntlNumber(shown));
  }
  m_LastText = shown;
}

std::string HEditFixedDec::readText() {
  if (!m_hWnd) return m_LastText;
  char buffer[kTextRoom] = {};
  SendMessageA(m_hWnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return KyFromIntlNumber(buffer);
}

bool HEditFixedDec::hasLimits() const {
  const KyFixedDecImpl zero(0);
  return m_Minimum != zero || m_Maximum != zero;
}

bool HEditFixedDec::InLimits(const std::string& clean) const {
  if (!hasLimits()) return true;
  const KyFixedDecImpl value(clean.c_str());
  return value.Number().state == 0 && !(value < m_Minimum) && !(value > m_Maximum);
}

void HEditFixedDec::SetMask(const char* pszMask) {
  m_Mask = KyDecimalMask::Parse(pszMask);
  if (!m_LastText.empty()) ShowValue(KyCleanDecimalText(m_LastText.c_str()));
}

// A text beginning with '%' or '#' is a new mask; any other is a value.
void HEditFixedDec::SetText(const char* pszText) {
  const char* text = pszText ? pszText : "";
  if (!IsNative() && (*text == '%' || *text == '#')) {
    SetMask(text);
    return;
  }
  ShowValue(KyCleanDecimalText(KyFromIntlNumber(text).c_str()));
}

void HEditFixedDec::SetMinimum(const char* pszText) { readLimit(pszText, m_Minimum); }
void HEditFixedDec::SetMaximum(const char* pszText) { readLimit(pszText, m_Maximum); }
void HEditFixedDec::SetIncrement(const char* pszText) { readLimit(pszText, m_Increment); }

// The clean decimal text of the window; a text outside the limits reads as
// the last good text (the settled rule: out-of-range input is refused).
int HEditFixedDec::GetTypedValue(const KyTypedValue& value) {
  if (value.kind != KyTypedKind::DecimalText || !value.data || value.size < 1) return 0;
  std::string clean = KyCleanDecimalText(readText().c_str());
  if (!InLimits(clean)) {
    clean = KyCleanDecimalText(m_LastText.c_str());
    ShowValue(clean);
  }
  const std::string intl = KyToIntlNumber(clean);
  const size_t length = std::min(intl.size(), static_cast<size_t>(value.size - 1));
  std::memcpy(value.data, intl.data(), length);
  static_cast<char*>(value.data)[length] = '\0';
  return 1;
}

int HEditFixedDec::SetTypedValue(const KyTypedValue& value) {
  if (!value.data || value.size < 1) return 0;
  if (value.kind != KyTypedKind::DecimalText) return 0;
  const std::string text(static_cast<const char*>(value.data), strnlen(static_cast<const char*>(value.data),
                                                                        static_cast<size_t>(value.size)));
  ShowValue(KyCleanDecimalText(KyFromIntlNumber(text.c_str()).c_str()));
  return 1;
}

bool HEditFixedDec::onChange() {
  if (m_fShowing) return true;
  const std::string typed = readText();
  bool typingError = false;
  const bool valid = KyIsValidDecimalText(typed.c_str(), &typingError);
  const std::string clean = KyCleanDecimalText(typed.c_str());
  if (!valid || !InLimits(clean)) {
    if (typingError || valid) MessageBeep(static_cast<UINT>(-1));
    m_fSign = !typed.empty() && typed[0] == '-';
    ShowValue(KyCleanDecimalText(m_LastText.c_str()));
    if (m_hWnd && m_iCaret >= 0) SendMessageA(m_hWnd, KYM_SETSEL, 0, MAKELONG(m_iCaret, m_iCaret));
    return false;
  }
  if (typed.find_first_not_of(' ') == std::string::npos) {
    ShowValue("0.0");
    if (m_hWnd && !IsNative()) SendMessageA(m_hWnd, KYM_SETFLAG2000, 0, 0);
    return true;
  }
  m_fSign = typed[0] == '-';
  const std::string shown = KyToIntlNumber(m_Mask.Format(clean));
  const std::string intlTyped = KyToIntlNumber(typed);
  size_t differs = 0;
  while (differs < shown.size() && differs < intlTyped.size() && shown[differs] == intlTyped[differs]) ++differs;
  if (shown != intlTyped) {
    ShowValue(clean);
    m_iCaret = static_cast<int>(differs);
    if (m_hWnd) SendMessageA(m_hWnd, KYM_SETSEL, 0, MAKELONG(m_iCaret, m_iCaret));
  } else {
    m_LastText = m_Mask.Format(clean);
  }
  return true;
}

bool HEditFixedDec::TypeKey(char key) {
  if (IsNative() || !m_hWnd || static_cast<unsigned char>(key) < 0x20) return false;
  if (SendMessageA(m_hWnd, KYM_GETSTYLE, 0, 0) & kProtectedStyle) return false;
  const std::string typedKey = KyFromIntlNumber(std::string(1, key));
  const std::string shown = readText();
  const int caret = LOWORD(SendMessageA(m_hWnd, KYM_EDITGETSEL, 0, 0));
  if (!m_fSign && KyIsNegativeDecimal(KyCleanDecimalText(shown.c_str()))) m_fSign = 1;
  KyDecimalTyping typed;
  if (typedKey.size() != 1 || !KyTypeDecimalKey(m_Mask, shown, caret, m_fSign != 0, typedKey[0], typed) ||
      !InLimits(KyCleanDecimalText(typed.clean.c_str()))) {
    MessageBeep(static_cast<UINT>(-1));
    return true;
  }
  m_fSign = typed.negative ? 1 : 0;
  ShowValue(typed.clean);
  m_iCaret = KyDecimalCaret(m_LastText, typed);
  SendMessageA(m_hWnd, KYM_SETSEL, 0, MAKELONG(m_iCaret, m_iCaret));
  return true;
}

void HEditFixedDec::onFocusChange() { ShowValue(KyCleanDecimalText(readText().c_str())); }

void HEditFixedDec::step(bool fUp) {
  const std::string typed = readText();
  if (!KyIsValidDecimalText(typed.c_str())) return;
  const std::string result = KyStepDecimal(KyCleanDecimalText(typed.c_str()), m_Increment, fUp, m_Minimum,
                                           m_Maximum, m_Mask.FractionPlaces());
  ShowValue(result);
}

int HEditFixedDec::MapNotification(int iCode) {
  if (IsNative()) return HEdit::MapNotification(iCode);
  switch (iCode) {
    case NotifyUp: step(true); return EventStepUp;
    case NotifyDown: step(false); return EventStepDown;
    case NotifyChange: return onChange() ? EventChange : 0;
    case NotifySetFocus: onFocusChange(); return EventSetFocus;
    case NotifyKillFocus: onFocusChange(); return EventKillFocus;
    default: return HEdit::MapNotification(iCode);
  }
}

HSpinEditFixedDec::HSpinEditFixedDec(KyPanel* const pPanel, const KyCreateCtrl* pRecord, int iWrapper)
    : HEditFixedDec(pPanel, pRecord, "Spin", 1) {
  m_Increment = KyFixedDecImpl(0);
}

HSpinEditFixedDec::~HSpinEditFixedDec() = default;

int HSpinEditFixedDec::MapNotification(int iCode) { return HEditFixedDec::MapNotification(iCode); }
