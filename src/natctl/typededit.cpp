// The typed edit's window procedure: typed get and set, the display and
// editing forms of numbers, focus, character entry and paste.
#include "typededit.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "datatypes.h"
#include "editcommon.h"
#include "formatdata.h"
#include "library.h"
#include "natformat.h"
#include "natmessages.h"

namespace {

// The range of a shown number: a set value beyond it is held at it.
constexpr double kLargest = 1.7976924369886e308;
// Room for a shown number or date (what the window text is cut to when a
// value is shown; a type 's' text is never cut).
constexpr int kShownText = 970;

double clampNumber(double value) {
  if (value > kLargest) return kLargest;
  if (value < -kLargest) return -kLargest;
  return value;
}

// A text that names an infinity ("1.#INF", "+INF", "-INF", "-1.#INF"): its
// sign is kept.
bool readInfinity(const std::string& text, double* value) {
  const size_t at = text.find("INF");
  if (at == std::string::npos) return false;
  const bool minus = text.find('-') < at;
  *value = minus ? -HUGE_VAL : HUGE_VAL;
  return true;
}

bool isBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// The fill of a cleared date position: the flexible entry clears to a
// blank, the default keeps a digit position a digit.
char dateFill(char current) {
  return s_App_Native_DateEntry_Fmt == 0 && current >= '0' && current <= '9' ? '0' : ' ';
}

}  // namespace

BOOL KyGUICEditControlImp::CreateControl(const KyNativeCreate& args) { return CreateEdit(args, args.width); }

BOOL KyGUICEditControlImp::CreateEdit(const KyNativeCreate& args, int width) {
  BeginCreate(args.style, 0x400, args.windowName);
  DWORD style = args.style, exStyle = args.exStyle | WS_EX_NOPARENTNOTIFY;
  TranslateEditStyle(style, exStyle);
  readOnly = (style & ES_READONLY) != 0;
  const BOOL made = CreateEx(exStyle, "EDIT", "", style, args.x, args.y, width, args.height, args.parent, args.id,
                             args.param);
  NatCtl::SetOverwriteMode(FALSE);
  return made;
}

void KyGUICEditControlImp::ApplyBorderStyle(DWORD generic) {
  DWORD extra = 0, border = 0;
  if (HasAllBits(generic, 0x800200)) extra = WS_EX_DLGMODALFRAME;
  else if (generic & 0x200) extra = 0;
  else if (generic & 0x800000) border = WS_BORDER;
  HWND w = m_hWnd;
  const LONG style = (GetWindowLongA(w, GWL_STYLE) & ~(WS_BORDER | 0xD)) | border;
  const LONG exStyle = (GetWindowLongA(w, GWL_EXSTYLE) & ~0x20201) | extra;
  SetWindowLongA(w, GWL_STYLE, style);
  SetWindowLongA(w, GWL_EXSTYLE, exStyle);
  SendMessage(EM_SETREADONLY, (generic & 0x2000) ? TRUE : FALSE);
  ShowWindow(SW_HIDE);
  ShowWindow(SW_SHOW);
}

bool KyGUICEditControlImp::IsNumericDate() const {
  return (type == 'n' || type == 'c') && (picture == "0000-00-00" || picture == "00-00-0000");
}
bool KyGUICEditControlImp::IsNumeric() const { return (type == 'n' || type == 'c') && !IsNumericDate(); }
bool KyGUICEditControlImp::IsDate() const { return type == 'd' || type == 'a' || type == 't'; }

bool KyGUICEditControlImp::ReadNumber(const std::string& text, double* value) const {
  if (readInfinity(text, value)) return true;
  return NatCtl::TextToDouble(text.c_str(), picture.c_str(), value) != 0;
}

bool KyGUICEditControlImp::ReadInt64(const std::string& text, int64_t* value) const {
  return NatCtl::TextToInt64(text.c_str(), picture.c_str(), value) != 0;
}

std::string KyGUICEditControlImp::NumberText(double value) const {
  char out[kShownText + 1];
  NatCtl::FormatData(&value, type, 'd', picture.c_str(), out, sizeof out, nullptr, entry ? 1 : 0);
  return out;
}

std::string KyGUICEditControlImp::Int64Text(int64_t value) const {
  char out[kShownText + 1];
  NatCtl::FormatData(&value, type, 'M', picture.c_str(), out, sizeof out, nullptr, entry ? 1 : 0);
  return out;
}

LRESULT KyGUICEditControlImp::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleEditMessage(*this, contextMenu, message, wParam, lParam, &result)) return result;
  switch (message) {
    case KYM_GETDATA: return getData(wParam, lParam);
    case KYM_SETDATA: return setData(lParam);
    case KYM_SETFIELD: fieldKind = static_cast<int32_t>(lParam); return 0;
    case KYM_GETFIELD: return fieldKind;
    case NKM_NUMBERTEXT: return reformatNumberText(wParam, lParam);
    case WM_SETTEXT: return SetText(reinterpret_cast<const char*>(lParam));
    case WM_SETFOCUS: {
      const LRESULT r = Standard(message, wParam, lParam);
      onSetFocus();
      return r;
    }
    case WM_KILLFOCUS: {
      const LRESULT r = Standard(message, wParam, lParam);
      onKillFocus();
      return r;
    }
    case WM_KEYDOWN:
      if (wParam == VK_DECIMAL) decimalKey_ = true;
      if (wParam == VK_DELETE && (IsDate() || type == 'm')) return onChar(VK_BACK);
      return Standard(message, wParam, lParam);
    case WM_CHAR: return onChar(wParam);
    case WM_CUT:
      // Dates and masks keep their layout: the selection is copied and its
      // positions cleared as by a backspace; other texts are cut.
      if (readOnly) return 1;
      if (!(IsDate() || type == 'm' || IsNumericDate())) return Standard(message, wParam, lParam);
      Standard(WM_COPY, 0, 0);
      return onChar(VK_BACK);
    case WM_PASTE: return onPaste();
    case WM_LBUTTONDBLCLK: Notify(NKN_TYPEDDBLCLK); return 0;
    case EM_SETREADONLY: readOnly = wParam != 0; return Standard(message, wParam, lParam);
    default: return Standard(message, wParam, lParam);
  }
}

// --- typed values ------------------------------------------------------------

LRESULT KyGUICEditControlImp::getData(WPARAM size, LPARAM buffer) {
  auto* target = reinterpret_cast<char*>(buffer);
  const int room = static_cast<int>(size);
  if (!target || room <= 0) return 0;
  const std::string text = WindowText(m_hWnd);
  if (type == 's') return HCtlCopyText(target, text.c_str(), room);
  const int valueSize = HCtlStorageSize(type, storage);
  if (valueSize > 0 && room < valueSize) return 0;  // the caller's value cannot hold it
  if (IsNumeric() || IsNumericDate()) {
    if (storage == 'M') {
      int64_t whole;
      if (!ReadInt64(text, &whole)) return 0;
      if (negative && whole > 0) whole = -whole;
      std::memcpy(target, &whole, sizeof whole);
      return sizeof whole;
    }
    double value = 0;
    if (IsNumericDate()) {
      std::string digits;
      for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
      value = digits.empty() ? 0 : std::strtod(digits.c_str(), nullptr);
    } else if (!readInfinity(text, &value)) {
      if (!ReadNumber(text, &value)) return 0;
      if (negative && value > 0) value = -value;
      if (std::fabs(value) >= 1.7976e308) return 0;  // the buffer keeps its value
    }
    return HCtlDoubleToValue(target, storage, value) ? valueSize : 0;
  }
  return NatCtl::TextToValue(target, room, type, storage, picture.c_str(), text.c_str(), 0) == 0 ? valueSize : 0;
}

LRESULT KyGUICEditControlImp::setData(LPARAM value) {
  const void* v = reinterpret_cast<const void*>(value);
  if (!v) {  // null: no value shown
    negative = false;
    return Standard(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  }
  if (IsNumeric() || IsNumericDate()) {
    std::string text;
    if (storage == 'M') {
      int64_t whole;
      std::memcpy(&whole, v, sizeof whole);
      negative = whole < 0;
      text = Int64Text(whole);
    } else {
      const double number = clampNumber(HCtlValueToDouble(v, storage));
      negative = number < 0;
      text = NumberText(number);
    }
    return SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  if (type == 's') return SendMessage(WM_SETTEXT, 0, value);
  char out[kShownText + 1];
  const int length = NatCtl::FormatData(v, type, storage, picture.c_str(), out, sizeof out, nullptr, 0);
  if (IsDate()) {
    dateShown = true;
    if (length == 0) return 0;
  }
  return SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out));
}

LRESULT KyGUICEditControlImp::reformatNumberText(WPARAM size, LPARAM buffer) {
  auto* text = reinterpret_cast<char*>(buffer);
  const int room = static_cast<int>(size);
  if (!text || room <= 0 || !std::memchr(text, 0, room)) return 0;
  char out[kShownText + 1];
  if (storage == 'M') {
    int64_t whole;
    if (!NatCtl::TextToInt64(text, "", &whole)) return 0;
    NatCtl::FormatData(&whole, type, 'M', picture.c_str(), out, sizeof out, nullptr, 0);
  } else {
    double value;
    if (!NatCtl::TextToDouble(text, "", &value)) return 0;
    const double magnitude = std::fabs(value);
    if (magnitude < 1e-15 || magnitude > 1e15) return static_cast<LRESULT>(std::strlen(text));
    NatCtl::FormatData(&value, type, 'd', picture.c_str(), out, sizeof out, nullptr, 0);
  }
  const int length = static_cast<int>(std::strlen(out));
  if (length >= room) return 0;  // does not fit: the caller's text stays
  std::memcpy(text, out, length + 1);
  return length;
}

// --- the window text ----------------------------------------------------------

LRESULT KyGUICEditControlImp::SetText(const char* text) { return showText(text ? text : ""); }

LRESULT KyGUICEditControlImp::showText(const char* given) {
  std::string text = given;
  if (text.size() > 1 && text[0] == '%' && text.find('[') != std::string::npos && text.find(']') != std::string::npos) {
    SetDataPicture(given);
    return TRUE;
  }
  if (type != 's' && text.size() > static_cast<size_t>(kShownText)) text.resize(kShownText);
  if (IsDate()) {
    HCtlDateTime record{};
    if (!dateShown && !text.empty() &&
        NatCtl::ParseDateTime(&record, text.c_str(), picture.c_str(), type != 't', type != 'd', 0)) {
      char out[kShownText + 1];
      NatCtl::DateTimeToString(&record, picture.c_str(), out, sizeof out, 0, type != 't', type != 'd');
      text = out;
    }
  } else if (type == 'm' && text.empty()) {
    char out[kShownText + 1];
    NatCtl::FormatData("", 'm', storage, picture.c_str(), out, sizeof out, nullptr, 0);
    text = out;
  } else if (IsNumeric()) {
    if (text.empty()) text = storage == 'M' ? "0" : "0.0";
    if (!(entry && !isBlank(text))) {
      if (storage == 'M') {
        int64_t whole;
        if (!ReadInt64(text, &whole)) return FALSE;  // not a number: the shown value stays
        negative = whole < 0;
        text = Int64Text(whole);
      } else {
        double value;
        if (!ReadNumber(text, &value)) return FALSE;
        negative = value < 0;
        text = NumberText(value);  // an infinity shows as "+INF" or "-INF"
      }
    }
  }
  return Standard(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// --- focus ---------------------------------------------------------------------

void KyGUICEditControlImp::onSetFocus() {
  if (IsNumeric()) {
    entry = true;
    const std::string shown = WindowText(m_hWnd);
    std::string editing;
    if (storage == 'M') {
      int64_t whole = 0;
      if (ReadInt64(shown, &whole)) editing = Int64Text(whole);
    } else {
      double value = 0;
      if (ReadNumber(shown, &value)) {
        if (negative && value > 0) value = -value;
        negative = value < 0;
        editing = NumberText(value);
      }
    }
    if (!editing.empty() && editing != shown) Standard(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(editing.c_str()));
  }
  // Remembered in the form the user edits, so that only a real change counts.
  if (!textChanged) focusText = WindowText(m_hWnd);
  if (s_App_Native_DateEntry_Fmt && IsDate()) SendMessage(EM_SETSEL, 0, GetWindowTextLengthA(m_hWnd));
  else SendMessage(EM_SETSEL, 0, -1);
  SendMessage(EM_SCROLLCARET);
}

void KyGUICEditControlImp::onKillFocus() {
  std::string text = WindowText(m_hWnd);
  if (text != focusText) textChanged = true;
  if (IsDate() && s_App_Native_DateEntry_Fmt && text.find(' ') != std::string::npos) {
    std::vector<unsigned char> value(64);
    if (NatCtl::TextToValue(value.data(), static_cast<int>(value.size()), type, storage, picture.c_str(),
                            text.c_str(), 0) == 0) {
      char out[kShownText + 1];
      NatCtl::FormatData(value.data(), type, storage, picture.c_str(), out, sizeof out, nullptr, 0);
      Standard(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out));
    }
  }
  if (IsNumeric()) {
    entry = false;
    if (storage == 'M') {
      int64_t whole;
      if (ReadInt64(text, &whole)) {
        negative = whole < 0;
        Standard(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Int64Text(whole).c_str()));
      }
    } else {
      double value;
      if (ReadNumber(text, &value)) {
        if (negative && value > 0 && picture.find('(') != std::string::npos) value = -value;
        negative = value < 0;
        Standard(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(NumberText(value).c_str()));
      }
    }
  }
  if (textChanged) {
    focusText = WindowText(m_hWnd);
    textChanged = false;
    Notify(NKN_CHANGED);
  }
}

// --- character entry -------------------------------------------------------------

bool KyGUICEditControlImp::enterKey(const std::string& text, int caret, char key, std::string* result,
                                    int* newCaret) {
  std::vector<char> buffer(text.size() + 64);
  std::memcpy(buffer.data(), text.c_str(), text.size() + 1);
  int selection = 0;
  if (NatCtl::EditKey(type, storage, buffer.data(), static_cast<int>(buffer.size()), picture.c_str(), caret, key,
                      newCaret, &selection) != 0) {
    MessageBeep(0);  // refused: the text stays
    return false;
  }
  *result = buffer.data();
  return true;
}

void KyGUICEditControlImp::placeText(const std::string& text, int caret) {
  Standard(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessage(EM_SETSEL, caret, caret);
}

LRESULT KyGUICEditControlImp::onChar(WPARAM character) {
  const bool fromDecimalKey = decimalKey_;
  decimalKey_ = false;
  if (GetKeyState(VK_CONTROL) < 0) return Standard(WM_CHAR, character, 0);
  if (readOnly) return 1;
  if (type == 's') {
    if (OverwriteChar(m_hWnd, character)) return 0;
    return Standard(WM_CHAR, character, 0);
  }
  negative = false;
  int start = 0, end = 0;
  EditSelection(m_hWnd, &start, &end);
  const std::string text = WindowText(m_hWnd);
  char key = static_cast<char>(character);
  if (IsNumeric()) {
    if (key == VK_BACK) return Standard(WM_CHAR, character, 0);
    // The keypad's decimal key, '.' and ',' all type the separator; the
    // letter 'n' is a letter (its code equals VK_DECIMAL's, a key code).
    if (fromDecimalKey || key == '.' || key == ',') key = NatCtl::GetDecimalSepChar();
    return numberChar(key, text, start, end);
  }
  if (IsDate() || type == 'm' || IsNumericDate()) return maskedChar(key, text, start, end);
  // Other types: the engine's rules decide.
  std::string result;
  int caret = start;
  if (enterKey(text, start, key, &result, &caret)) placeText(result, caret);
  return 1;
}

LRESULT KyGUICEditControlImp::numberChar(char key, const std::string& text, int start, int end) {
  if (start != end && key >= '0' && key <= '9') {
    Standard(WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(key)), 0);
    placeText(WindowText(m_hWnd), start + 1);
    return 1;
  }
  if (start == 0 && (key == '-' || key == '0') && (text.empty() || end == static_cast<int>(text.size()) || key == '0')) {
    if (key == '-') {
      negative = true;
      if (end - start == static_cast<int>(text.size())) {
        placeText("-", 1);
        return 1;
      }
    }
  }
  std::string result;
  int caret = start;
  if (!enterKey(text, start, key, &result, &caret)) return 1;
  negative = !result.empty() && result[0] == '-';
  placeText(result, caret);
  return 1;
}

LRESULT KyGUICEditControlImp::maskedChar(char key, const std::string& text, int start, int end) {
  std::string result = text;
  const bool numericDate = IsNumericDate();
  auto takesDigit = [&](int i) {
    if (numericDate) return i < static_cast<int>(picture.size()) && picture[i] == '0';
    return i < static_cast<int>(result.size()) && ((result[i] >= '0' && result[i] <= '9') || result[i] == ' ');
  };
  if (key == VK_BACK) {
    int first = start, last = end;
    if (start == end) {
      if (start == 0) return 1;
      first = start - 1;
    }
    if (type == 'm') {
      std::vector<char> buffer(result.begin(), result.end());
      buffer.push_back(0);
      for (int i = last - 1; i >= first; --i) HCtlDeleteKey('m', storage, buffer.data(), picture.c_str(), i);
      result = buffer.data();
    } else {
      for (int i = first; i < last && i < static_cast<int>(result.size()); ++i)
        if (takesDigit(i)) result[i] = dateFill(result[i]);
    }
    placeText(result, first);
    return 1;
  }
  if (numericDate) {
    if (key < '0' || key > '9') {
      MessageBeep(0);
      return 1;
    }
    if (result.size() < picture.size()) result.resize(picture.size(), ' ');
    int at = start;
    while (at < static_cast<int>(picture.size()) && picture[at] != '0') {
      result[at] = picture[at];
      ++at;
    }
    if (at >= static_cast<int>(picture.size())) {
      MessageBeep(0);
      return 1;
    }
    result[at] = key;
    for (int i = at + 1; i < end && i < static_cast<int>(result.size()); ++i)
      if (picture[i] == '0') result[i] = dateFill(result[i]);
    int caret = at + 1;
    while (caret < static_cast<int>(picture.size()) && picture[caret] != '0') result[caret] = picture[caret], ++caret;
    placeText(result, caret);
    return 1;
  }
  int caret = start;
  if (!enterKey(text, start, key, &result, &caret)) return 1;
  // A digit typed into a selection clears the selection's other digits.
  if (key >= '0' && key <= '9')
    for (int i = start + 1; i < end && i < static_cast<int>(result.size()); ++i)
      if (takesDigit(i)) result[i] = dateFill(result[i]);
  placeText(result, caret);
  return 1;
}

LRESULT KyGUICEditControlImp::onPaste() {
  if (type == 's') return Standard(WM_PASTE, 0, 0);
  if (!::OpenClipboard(m_hWnd)) return IsNumeric() ? Standard(WM_PASTE, 0, 0) : 1;
  std::string pasted;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) {
      pasted = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  if (IsNumeric()) {
    for (char c : pasted)
      if (!NatCtl::IsNumericChar(c)) return 0;  // refused: nothing pasted
    double value = 0;
    if (NatCtl::TextToDouble(pasted.c_str(), "", &value)) negative = value < 0;
    return Standard(WM_PASTE, 0, 0);
  }
  for (char c : pasted) {
    int start = 0, end = 0;
    EditSelection(m_hWnd, &start, &end);
    maskedChar(c, WindowText(m_hWnd), start, start);
  }
  return 1;
}
