// The "msctls_updown32" control: a pair of arrow buttons stepping a
// position within a range (16- or 32-bit), usually shown in a buddy window
// (UDS_SETBUDDYINT writes the number there and reads it back before each
// step). Each step is offered to the parent first (UDN_DELTAPOS; a non-zero
// answer vetoes it), then reported with WM_VSCROLL/WM_HSCROLL
// SB_THUMBPOSITION. A held arrow repeats on a timer, faster as the
// acceleration table says; UDS_ARROWKEYS lets the buddy's Up and Down keys
// step too.
#include "commonstate.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <string_view>
#include <string>
#include <vector>

namespace win32::comctl {
namespace {

enum TimerId : UINT_PTR { kRepeatTimer = 1 };
constexpr UINT kInitialRepeatDelay = 500;  // ms from the press to the first repeat
constexpr UINT kRepeatDelay = 100;         // ms between repeats
constexpr const char* kBuddyProcProp = "KyUpDownBuddyProc";
constexpr const char* kBuddyOwnerProp = "KyUpDownOwner";

enum class Arrow { none, up, down };

struct UpDown {
  int lower = 100;  // the documented default range runs from 100 down to 0
  int upper = 0;
  int pos = 0;
  int base = 10;
  HWND buddy = nullptr;
  std::vector<UDACCEL> accel{{0, 1}, {2, 5}, {5, 20}};
  Arrow pressed = Arrow::none;
  bool overPressed = false;  // the mouse is over the held arrow
  DWORD pressTime = 0;       // GetTickCount at the press, for the acceleration
  bool setsBuddyInt = false; // UDS_SETBUDDYINT as created: a later style change leaves it
};

UpDown* upDownOf(HWND hwnd) { return stateOf<UpDown>(hwnd); }
DWORD styleOf(HWND hwnd) { return (DWORD)GetWindowLongA(hwnd, GWL_STYLE); }
bool horizontal(HWND hwnd) { return (styleOf(hwnd) & UDS_HORZ) != 0; }

int clampToRange(const UpDown& ud, int pos) {
  return std::clamp(pos, std::min(ud.lower, ud.upper), std::max(ud.lower, ud.upper));
}

// --- the buddy's text --------------------------------------------------------

std::string formatPosition(HWND hwnd, const UpDown& ud) {
  char digits[32];
  if (ud.base == 16) {
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, (unsigned)ud.pos, 16);
    std::string hex(digits, end);
    for (char& c : hex) c = (char)toupper((unsigned char)c);
    return "0x" + std::string(hex.size() < 4 ? 4 - hex.size() : 0, '0') + hex;
  }
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, ud.pos);
  std::string text(digits, end);
  if (styleOf(hwnd) & UDS_NOTHOUSANDS) return text;
  size_t firstDigit = text[0] == '-' ? 1 : 0;
  for (size_t i = text.size(); i > firstDigit + 3; i -= 3) text.insert(i - 3, ",");
  return text;
}

// Reads the buddy's number (thousands separators allowed in base 10, an
// optional 0x in base 16); false when the text is not a number.
bool parsePosition(const UpDown& ud, const std::string& text, int& pos) {
  std::string digits;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string_view rest(text.c_str() + i, text.size() - i);
  if (ud.base == 16 && (rest.starts_with("0x") || rest.starts_with("0X"))) rest.remove_prefix(2);
  for (char c : rest)
    if (!(c == ',' && ud.base == 10)) digits.push_back(c);
  while (!digits.empty() && digits.back() == ' ') digits.pop_back();
  if (digits.empty()) return false;
  long long value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, ud.base);
  if (ec != std::errc() || end != digits.data() + digits.size()) return false;
  if (ud.base == 16) value = (int)(unsigned)value;
  pos = (int)std::clamp<long long>(value, INT_MIN, INT_MAX);
  return true;
}

bool buddyIsEditable(const UpDown& ud) { return ud.buddy && IsWindow(ud.buddy); }

void writeBuddy(HWND hwnd, const UpDown& ud) {
  if (!ud.setsBuddyInt || !buddyIsEditable(ud)) return;
  SetWindowTextA(ud.buddy, formatPosition(hwnd, ud).c_str());
}

// Takes the buddy's number as the position; false when the text is no number.
bool readBuddy(UpDown& ud) {
  if (!ud.setsBuddyInt || !buddyIsEditable(ud)) return true;
  char text[64] = {};
  GetWindowTextA(ud.buddy, text, sizeof text);
  int pos = 0;
  if (!parsePosition(ud, text, pos)) return false;
  ud.pos = clampToRange(ud, pos);
  return true;
}

// --- steps --------------------------------------------------------------------

int currentIncrement(const UpDown& ud) {
  if (ud.accel.empty()) return 1;
  DWORD seconds = ud.pressed == Arrow::none ? 0 : (GetTickCount() - ud.pressTime) / 1000;
  int inc = (int)ud.accel.front().nInc;
  for (const UDACCEL& a : ud.accel)
    if (a.nSec <= seconds) inc = (int)a.nInc;
  return inc;
}

void reportPosition(HWND hwnd, const UpDown& ud, WORD code) {
  HWND target = reportTarget(hwnd);
  if (!target) return;
  UINT msg = horizontal(hwnd) ? WM_HSCROLL : WM_VSCROLL;
  SendMessageA(target, msg, MAKEWPARAM(code, (WORD)ud.pos), reinterpret_cast<LPARAM>(hwnd));
}

// One step of `increment` towards the upper end (up) or the lower end.
void step(HWND hwnd, UpDown& ud, Arrow arrow, int increment) {
  readBuddy(ud);
  int delta = arrow == Arrow::up ? increment : -increment;
  if (ud.lower > ud.upper) delta = -delta;  // an inverted range counts down when going up
  NMUPDOWN nm{};
  nm.iPos = ud.pos;
  nm.iDelta = delta;
  if (notify(hwnd, UDN_DELTAPOS, &nm.hdr)) return;  // vetoed
  long long wanted = (long long)ud.pos + nm.iDelta;
  int low = std::min(ud.lower, ud.upper), high = std::max(ud.lower, ud.upper);
  int next;
  if (wanted >= low && wanted <= high) {
    next = (int)wanted;
  } else if (styleOf(hwnd) & UDS_WRAP) {
    // Past one end continues from the other, as on a dial.
    long long span = (long long)high - low + 1;
    long long offset = ((wanted - low) % span + span) % span;
    next = (int)(low + offset);
  } else {
    next = wanted > high ? high : low;
  }
  if (next == ud.pos) return;
  ud.pos = next;
  writeBuddy(hwnd, ud);
  reportPosition(hwnd, ud, SB_THUMBPOSITION);
}

// --- mouse, keys and painting -------------------------------------------------

Arrow arrowAt(HWND hwnd, POINT pt) {
  RECT r{};
  GetClientRect(hwnd, &r);
  if (!PtInRect(&r, pt)) return Arrow::none;
  if (horizontal(hwnd)) return pt.x >= r.right / 2 ? Arrow::up : Arrow::down;
  return pt.y < r.bottom / 2 ? Arrow::up : Arrow::down;
}

RECT arrowRect(HWND hwnd, Arrow arrow) {
  RECT r{};
  GetClientRect(hwnd, &r);
  if (horizontal(hwnd)) {
    if (arrow == Arrow::up) r.left = r.right / 2; else r.right = r.right / 2;
  } else {
    if (arrow == Arrow::up) r.bottom = r.bottom / 2; else r.top = r.bottom / 2;
  }
  return r;
}

void paint(HWND hwnd, HDC given) {
  UpDown* ud = upDownOf(hwnd);
  PAINTSTRUCT ps{};
  HDC dc = given ? given : BeginPaint(hwnd, &ps);
  bool disabled = !IsWindowEnabled(hwnd);
  for (Arrow arrow : {Arrow::up, Arrow::down}) {
    RECT r = arrowRect(hwnd, arrow);
    UINT kind = horizontal(hwnd) ? (arrow == Arrow::up ? DFCS_SCROLLRIGHT : DFCS_SCROLLLEFT)
                                 : (arrow == Arrow::up ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
    if (ud && ud->pressed == arrow && ud->overPressed) kind |= DFCS_PUSHED;
    if (disabled) kind |= DFCS_INACTIVE;
    DrawFrameControl(dc, &r, DFC_SCROLL, kind);
  }
  if (!given) EndPaint(hwnd, &ps);
}

void onButtonDown(HWND hwnd, UpDown& ud, POINT pt) {
  Arrow arrow = arrowAt(hwnd, pt);
  if (arrow == Arrow::none || !IsWindowEnabled(hwnd)) return;
  if (ud.buddy && IsWindow(ud.buddy)) SetFocus(ud.buddy);
  ud.pressed = arrow;
  ud.overPressed = true;
  ud.pressTime = GetTickCount();
  SetCapture(hwnd);
  InvalidateRect(hwnd, nullptr, FALSE);
  step(hwnd, ud, arrow, currentIncrement(ud));
  SetTimer(hwnd, kRepeatTimer, kInitialRepeatDelay, nullptr);
}

void endPress(HWND hwnd, UpDown& ud) {
  if (ud.pressed == Arrow::none) return;
  ud.pressed = Arrow::none;
  ud.overPressed = false;
  KillTimer(hwnd, kRepeatTimer);
  if (GetCapture() == hwnd) ReleaseCapture();
  InvalidateRect(hwnd, nullptr, FALSE);
  reportPosition(hwnd, ud, SB_ENDSCROLL);
}

void onRepeat(HWND hwnd, UpDown& ud) {
  if (ud.pressed == Arrow::none) {
    KillTimer(hwnd, kRepeatTimer);
    return;
  }
  SetTimer(hwnd, kRepeatTimer, kRepeatDelay, nullptr);
  if (ud.overPressed) step(hwnd, ud, ud.pressed, currentIncrement(ud));
}

// The buddy's procedure while UDS_ARROWKEYS: Up and Down step the control.
LRESULT CALLBACK buddyProc(HWND buddy, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto original = reinterpret_cast<WNDPROC>(GetPropA(buddy, kBuddyProcProp));
  auto owner = reinterpret_cast<HWND>(GetPropA(buddy, kBuddyOwnerProp));
  if (msg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) && owner && IsWindowEnabled(owner)) {
    if (UpDown* ud = upDownOf(owner)) {
      step(owner, *ud, wParam == VK_UP ? Arrow::up : Arrow::down, ud->accel.empty() ? 1 : (int)ud->accel[0].nInc);
      return 0;
    }
  }
  if (msg == WM_GETDLGCODE && original) {
    LRESULT code = CallWindowProcA(original, buddy, msg, wParam, lParam);
    return code | DLGC_WANTARROWS;
  }
  if (msg == WM_NCDESTROY && original) {
    SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropA(buddy, kBuddyProcProp);
    RemovePropA(buddy, kBuddyOwnerProp);
  }
  return original ? CallWindowProcA(original, buddy, msg, wParam, lParam) : DefWindowProcA(buddy, msg, wParam, lParam);
}

// Gives the buddy its keys back. When somebody subclassed the buddy after
// us, our procedure stays in the chain but only passes messages on.
void releaseBuddy(HWND hwnd, UpDown& ud) {
  HWND buddy = ud.buddy;
  ud.buddy = nullptr;
  if (!buddy || !IsWindow(buddy) || reinterpret_cast<HWND>(GetPropA(buddy, kBuddyOwnerProp)) != hwnd) return;
  RemovePropA(buddy, kBuddyOwnerProp);
  auto original = reinterpret_cast<WNDPROC>(GetPropA(buddy, kBuddyProcProp));
  if (original && GetWindowLongPtrA(buddy, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(buddyProc)) {
    SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropA(buddy, kBuddyProcProp);
  }
}

// Places the control at the buddy's right or left edge, as tall as the
// buddy, the buddy giving up the control's width (UDS_ALIGNRIGHT/LEFT).
void alignWithBuddy(HWND hwnd, const UpDown& ud) {
  DWORD style = styleOf(hwnd);
  if (!(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) || !ud.buddy || !IsWindow(ud.buddy)) return;
  HWND parent = GetParent(hwnd);
  RECT br{}, own{};
  GetWindowRect(ud.buddy, &br);
  GetWindowRect(hwnd, &own);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&br), 2);
  int width = own.right - own.left;
  int buddyWidth = std::max<int>(0, br.right - br.left - width);
  if (style & UDS_ALIGNRIGHT) {
    SetWindowPos(ud.buddy, nullptr, br.left, br.top, buddyWidth, br.bottom - br.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwnd, nullptr, br.left + buddyWidth, br.top, width, br.bottom - br.top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(ud.buddy, nullptr, br.left + width, br.top, buddyWidth, br.bottom - br.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwnd, nullptr, br.left, br.top, width, br.bottom - br.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND setBuddy(HWND hwnd, UpDown& ud, HWND buddy) {
  HWND old = ud.buddy;
  releaseBuddy(hwnd, ud);
  if (buddy && !IsWindow(buddy)) buddy = nullptr;
  ud.buddy = buddy;
  if (!buddy) return old;
  if (styleOf(hwnd) & UDS_ARROWKEYS) {
    SetPropA(buddy, kBuddyOwnerProp, reinterpret_cast<HANDLE>(hwnd));
    if (!GetPropA(buddy, kBuddyProcProp)) {
      auto original = SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buddyProc));
      SetPropA(buddy, kBuddyProcProp, reinterpret_cast<HANDLE>(original));
    }
  }
  alignWithBuddy(hwnd, ud);
  writeBuddy(hwnd, ud);
  return old;
}

int setPosition(HWND hwnd, UpDown& ud, int pos) {
  readBuddy(ud);
  int old = ud.pos;
  ud.pos = clampToRange(ud, pos);
  writeBuddy(hwnd, ud);
  return old;
}

LRESULT CALLBACK upDownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  UpDown* ud = upDownOf(hwnd);
  if (msg == WM_NCCREATE) {
    UpDown* made = attachState<UpDown>(hwnd);
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (made && cs) made->setsBuddyInt = (cs->style & UDS_SETBUDDYINT) != 0;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (!ud) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE:
      // UDS_AUTOBUDDY: the window created just before is the buddy.
      if (styleOf(hwnd) & UDS_AUTOBUDDY) setBuddy(hwnd, *ud, GetWindow(hwnd, GW_HWNDPREV));
      return 0;
    case WM_NCDESTROY:
      releaseBuddy(hwnd, *ud);
      detachState<UpDown>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_PAINT:
      paint(hwnd, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      onButtonDown(hwnd, *ud, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
      return 0;
    case WM_MOUSEMOVE:
      if (ud->pressed != Arrow::none) {
        bool over = arrowAt(hwnd, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)}) == ud->pressed;
        if (over != ud->overPressed) {
          ud->overPressed = over;
          InvalidateRect(hwnd, nullptr, FALSE);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      endPress(hwnd, *ud);
      return 0;
    case WM_CAPTURECHANGED:
      if ((HWND)lParam != hwnd) endPress(hwnd, *ud);
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer) onRepeat(hwnd, *ud);
      return 0;

    case UDM_SETRANGE:
      ud->upper = (short)LOWORD(lParam);
      ud->lower = (short)HIWORD(lParam);
      return 0;
    case UDM_GETRANGE:
      return MAKELONG((WORD)ud->upper, (WORD)ud->lower);
    case UDM_SETRANGE32:
      ud->lower = (int)wParam;
      ud->upper = (int)lParam;
      return 0;
    case UDM_GETRANGE32:
      if (auto* lower = reinterpret_cast<int*>(wParam)) *lower = ud->lower;
      if (auto* upper = reinterpret_cast<int*>(lParam)) *upper = ud->upper;
      return 0;
    case UDM_SETPOS:
      return (WORD)setPosition(hwnd, *ud, (short)LOWORD(lParam));
    case UDM_GETPOS: {
      // The high word is non-zero without a buddy or when its text is no number.
      bool ok = buddyIsEditable(*ud) && readBuddy(*ud);
      return MAKELONG((WORD)ud->pos, ok ? 0 : 1);
    }
    case UDM_SETPOS32:
      return setPosition(hwnd, *ud, (int)lParam);
    case UDM_GETPOS32: {
      bool ok = buddyIsEditable(*ud) && readBuddy(*ud);
      if (auto* error = reinterpret_cast<BOOL*>(lParam)) *error = ok ? FALSE : TRUE;
      return ud->pos;
    }
    case UDM_SETBUDDY:
      return reinterpret_cast<LRESULT>(setBuddy(hwnd, *ud, (HWND)wParam));
    case UDM_GETBUDDY:
      return reinterpret_cast<LRESULT>(ud->buddy);
    case UDM_SETACCEL: {
      auto* table = reinterpret_cast<const UDACCEL*>(lParam);
      if (!table || wParam == 0) return FALSE;
      ud->accel.assign(table, table + wParam);
      return TRUE;
    }
    case UDM_GETACCEL: {
      auto* out = reinterpret_cast<UDACCEL*>(lParam);
      size_t n = std::min(ud->accel.size(), (size_t)wParam);
      if (out) std::copy_n(ud->accel.begin(), n, out);
      return (LRESULT)ud->accel.size();
    }
    case UDM_SETBASE: {
      if (wParam != 10 && wParam != 16) return 0;
      int old = ud->base;
      ud->base = (int)wParam;
      writeBuddy(hwnd, *ud);
      return old;
    }
    case UDM_GETBASE:
      return ud->base;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void registerUpDown() { registerControlClass(UPDOWN_CLASSA, upDownProc, CS_DBLCLKS, IDC_ARROW, 0); }

}  // namespace win32::comctl

extern "C" HWND WINAPI CreateUpDownControl(DWORD dwStyle, int x, int y, int cx, int cy, HWND hParent, int nID,
                                           HINSTANCE hInst, HWND hBuddy, int nUpper, int nLower, int nPos) {
  HWND ud = CreateWindowExA(0, UPDOWN_CLASSA, nullptr, dwStyle, x, y, cx, cy, hParent,
                            reinterpret_cast<HMENU>((INT_PTR)nID), hInst, nullptr);
  if (!ud) return nullptr;
  SendMessageA(ud, UDM_SETRANGE, 0, MAKELONG((short)nUpper, (short)nLower));
  if (hBuddy) SendMessageA(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hBuddy), 0);
  SendMessageA(ud, UDM_SETPOS, 0, MAKELONG((short)nPos, 0));
  return ud;
}
