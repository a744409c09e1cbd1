// The spin field: the arrow, steps, limits and the increment.
#include "spin.h"

#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "datatypes.h"
#include "datetime.h"
#include "editcommon.h"
#include "natformat.h"
#include "natmessages.h"

namespace {

constexpr int kLimitText = 260;

std::string formatG(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// Moves a record by whole days (type 'd') or seconds, carrying into the
// larger units.
void moveRecord(HCtlDateTime* r, int64_t amount, bool days) {
  int64_t day = HCtlJulianDay(r->year, r->month, r->day);
  if (days) {
    day += amount;
  } else {
    int64_t seconds = int64_t{r->hour} * 3600 + r->minute * 60 + r->second + amount;
    int64_t carry = seconds / 86400;
    seconds %= 86400;
    if (seconds < 0) {
      seconds += 86400;
      --carry;
    }
    day += carry;
    r->hour = static_cast<uint8_t>(seconds / 3600);
    r->minute = static_cast<uint8_t>(seconds / 60 % 60);
    r->second = static_cast<uint8_t>(seconds % 60);
  }
  HCtlCalendarDate(static_cast<int32_t>(day), r);
}

}  // namespace

BOOL KyGUICSpinButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (message != WM_NOTIFY || !header || header->code != static_cast<UINT>(UDN_DELTAPOS))
    return CSpinButtonCtrl::OnChildNotify(message, wParam, lParam, pResult);
  const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
  HWND buddy = reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY));
  const LRESULT stepped = buddy ? ::SendMessageA(buddy, change->iDelta >= 1 ? NKM_STEPUP : NKM_STEPDOWN, 0, 0) : 0;
  if (pResult) *pResult = stepped;
  return TRUE;
}

KyGUICSpinButtonCtrlImp::~KyGUICSpinButtonCtrlImp() {
  if (arrow && arrow->GetSafeHwnd()) arrow->DestroyWindow();
}

BOOL KyGUICSpinButtonCtrlImp::CreateControl(const KyNativeCreate& args) {
  if (!args.parent || !IsWindow(args.parent)) return FALSE;
  // The arrow is a common control: its class exists once the common
  // controls are initialised, which a program that made none before has
  // not done.
  static const INITCOMMONCONTROLSEX kUpDown{sizeof(INITCOMMONCONTROLSEX), ICC_UPDOWN_CLASS};
  if (!InitCommonControlsEx(&kUpDown)) return FALSE;
  arrow = std::make_unique<KyGUICSpinButton>();
  const RECT place{args.x + args.width - 19, args.y, args.x + args.width + 1, args.y + args.height};
  const DWORD arrowStyle = WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
  if (!arrow->CreateEx(0, UPDOWN_CLASSA, nullptr, arrowStyle, place.left, place.top, place.right - place.left,
                       place.bottom - place.top, args.parent, args.id, nullptr))
    return FALSE;
  if (!CreateEdit(args, args.width - 20)) {
    arrow->DestroyWindow();
    return FALSE;
  }
  arrow->SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_hWnd));
  arrow->SendMessage(UDM_SETRANGE, 0, static_cast<LPARAM>(0x80017FFF));
  return TRUE;
}

LRESULT KyGUICSpinButtonCtrlImp::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case KYM_SETMAX: return setLimit(maximum, lParam);
    case KYM_SETMIN: return setLimit(minimum, lParam);
    case NKM_STEPUP: return step(true);
    case NKM_STEPDOWN: return step(false);
    case NKM_SETINCREMENT: return setIncrement(lParam);
    case WM_SHOWWINDOW:
      if (arrow && arrow->GetSafeHwnd()) arrow->ShowWindow(wParam ? SW_SHOW : SW_HIDE);
      return KyGUICEditControlImp::Procedure(message, wParam, lParam);
    case WM_SETTEXT: return holdWithinLimits(reinterpret_cast<const char*>(lParam));
    default: return KyGUICEditControlImp::Procedure(message, wParam, lParam);
  }
}

LRESULT KyGUICSpinButtonCtrlImp::setLimit(std::string& limit, LPARAM value) {
  const void* v = reinterpret_cast<const void*>(value);
  if (!v) {  // null: no limit
    limit.clear();
    return 1;
  }
  char text[kLimitText];
  if (IsNumeric()) {
    // Limits keep full precision: written plainly, read back exactly.
    limit = formatG(HCtlValueToDouble(v, storage == 'M' ? 'M' : storage));
    return 1;
  }
  if (NatCtl::FormatData(v, type, storage, picture.c_str(), text, sizeof text, nullptr, 0) == 0) return 0;
  limit = text;
  return 1;
}

LRESULT KyGUICSpinButtonCtrlImp::setIncrement(LPARAM text) {
  // The increment is a number text, whoever sends it.
  const char* given = reinterpret_cast<const char*>(text);
  if (!given) return 0;
  char* end = nullptr;
  const double value = std::strtod(given, &end);
  if (end == given || !std::isfinite(value)) return 0;
  increment = value;
  const int64_t whole = wholeIncrement();
  UDACCEL steps[5];
  const int factors[5] = {1, 2, 10, 50, 100};
  for (int i = 0; i < 5; ++i) steps[i] = UDACCEL{static_cast<UINT>(i), static_cast<UINT>(whole * factors[i])};
  if (arrow && arrow->GetSafeHwnd()) arrow->SendMessage(UDM_SETACCEL, 5, reinterpret_cast<LPARAM>(steps));
  return 1;
}

int64_t KyGUICSpinButtonCtrlImp::wholeIncrement() const {
  const int64_t whole = static_cast<int64_t>(increment);
  return whole == 0 ? 1 : whole;
}

LRESULT KyGUICSpinButtonCtrlImp::step(bool up) {
  if (IsNumeric()) return stepNumber(up);
  if (type == 'a' || type == 'd' || type == 'k' || type == 't') return stepDate(up);
  return 0;
}

LRESULT KyGUICSpinButtonCtrlImp::stepNumber(bool up) {
  double value = 0, limit = 0;
  ReadNumber(WindowText(m_hWnd), &value);
  const std::string& limitText = up ? maximum : minimum;
  const bool limited = !limitText.empty() && NatCtl::TextToDouble(limitText.c_str(), "", &limit);
  const double next = up ? value + increment : value - increment;
  if (limited && (up ? next > limit : next < limit)) {
    value = limit;
    status = up ? "maximum" : "minimum";
  } else {
    value = next;
    status = formatG(value);
  }
  negative = value < 0;
  const std::string text = NumberText(value);
  SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  return 1;
}

LRESULT KyGUICSpinButtonCtrlImp::stepDate(bool up) {
  const std::string before = WindowText(m_hWnd).substr(0, 29);
  const char dateType = type == 'k' ? 'a' : type;
  HCtlDateTime record{};
  if (!NatCtl::ParseDateTime(&record, before.c_str(), picture.c_str(), dateType != 't', dateType != 'd', 0)) return 1;
  const int64_t amount = up ? wholeIncrement() : -wholeIncrement();
  moveRecord(&record, amount, dateType == 'd');
  char text[30];
  NatCtl::DateTimeToString(&record, picture.c_str(), text, sizeof text, 0, dateType != 't', dateType != 'd');
  SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  const std::string after = WindowText(m_hWnd);
  if (after == before) status = up ? "maximum" : "minimum";
  else status = after;
  return 1;
}

LRESULT KyGUICSpinButtonCtrlImp::holdWithinLimits(const char* given) {
  const std::string text = given ? given : "";
  if (IsNumeric() && !text.empty()) {
    double value = 0, high = 0, low = 0;
    if (!ReadNumber(text, &value)) return SetText(given);
    const bool bounded = !maximum.empty() && !minimum.empty() && NatCtl::TextToDouble(maximum.c_str(), "", &high) &&
                         NatCtl::TextToDouble(minimum.c_str(), "", &low) && high > low;
    if (bounded && value < low) {
      value = low;
      status = "minimum";
    } else if (bounded && value > high) {
      value = high;
      status = "maximum";
    } else {
      return SetText(given);
    }
    negative = value < 0;
    return SetText(NumberText(value).c_str());
  }
  if ((type == 'd' || type == 'a' || type == 't') && !text.empty() && !maximum.empty() && !minimum.empty()) {
    const int datePart = type != 't', timePart = type != 'd';
    HCtlDateTime value{}, high{}, low{};
    const char* p = picture.c_str();
    if (NatCtl::ParseDateTime(&value, text.c_str(), p, datePart, timePart, 0) &&
        NatCtl::ParseDateTime(&high, maximum.c_str(), p, datePart, timePart, 0) &&
        NatCtl::ParseDateTime(&low, minimum.c_str(), p, datePart, timePart, 0) &&
        NatCtl::CompareDateTimeRecords(&high, &low) > 0) {
      const HCtlDateTime* held = nullptr;
      if (NatCtl::CompareDateTimeRecords(&value, &low) < 0) held = &low, status = "minimum";
      else if (NatCtl::CompareDateTimeRecords(&value, &high) > 0) held = &high, status = "maximum";
      if (held) {
        char out[kLimitText];
        NatCtl::DateTimeToString(held, p, out, sizeof out, 0, datePart, timePart);
        return SetText(out);
      }
    }
  }
  return SetText(given);
}
