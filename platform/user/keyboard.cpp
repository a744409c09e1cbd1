// Keyboard state and translation with a US keyboard layout: GetKeyState and
// friends, ToAscii, VkKeyScanA, MapVirtualKeyA and TranslateMessage.
//
// A thread's key state changes when it takes key input from its queue (so
// that GetKeyState answers what the message being handled saw); the async
// state changes when the input happens.
#include "display.h"
#include "input.h"
#include "queue.h"
#include "x11_server.h"

#include <internal/codepage.h>

#include <cctype>
#include <cstring>

namespace win32::user {

std::array<BYTE, 256>& asyncKeysLocked() {
  static std::array<BYTE, 256> keys{};
  return keys;
}

namespace {

struct KeyChar {
  BYTE vk;
  char plain, shifted;
};

// Keys whose character is not the key code itself.
constexpr KeyChar kPunctuation[] = {
    {VK_OEM_1, ';', ':'},  {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},  {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'}, {VK_OEM_6, ']', '}'},      {VK_OEM_7, '\'', '"'},    {VK_SPACE, ' ', ' '},
    {VK_MULTIPLY, '*', '*'}, {VK_ADD, '+', '+'},      {VK_SUBTRACT, '-', '-'},  {VK_DECIMAL, '.', '.'},
    {VK_DIVIDE, '/', '/'}, {VK_BACK, 8, 8},           {VK_TAB, 9, 9},           {VK_RETURN, 13, 13},
    {VK_ESCAPE, 27, 27},
};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

struct Scan {
  BYTE vk;
  BYTE scan;
  bool extended;
};

// Set-1 scan codes of the US layout.
constexpr Scan kScans[] = {
    {VK_ESCAPE, 0x01, false}, {'1', 0x02, false}, {'2', 0x03, false}, {'3', 0x04, false}, {'4', 0x05, false},
    {'5', 0x06, false}, {'6', 0x07, false}, {'7', 0x08, false}, {'8', 0x09, false}, {'9', 0x0A, false},
    {'0', 0x0B, false}, {VK_OEM_MINUS, 0x0C, false}, {VK_OEM_PLUS, 0x0D, false}, {VK_BACK, 0x0E, false},
    {VK_TAB, 0x0F, false}, {'Q', 0x10, false}, {'W', 0x11, false}, {'E', 0x12, false}, {'R', 0x13, false},
    {'T', 0x14, false}, {'Y', 0x15, false}, {'U', 0x16, false}, {'I', 0x17, false}, {'O', 0x18, false},
    {'P', 0x19, false}, {VK_OEM_4, 0x1A, false}, {VK_OEM_6, 0x1B, false}, {VK_RETURN, 0x1C, false},
    {VK_CONTROL, 0x1D, false}, {'A', 0x1E, false}, {'S', 0x1F, false}, {'D', 0x20, false}, {'F', 0x21, false},
    {'G', 0x22, false}, {'H', 0x23, false}, {'J', 0x24, false}, {'K', 0x25, false}, {'L', 0x26, false},
    {VK_OEM_1, 0x27, false}, {VK_OEM_7, 0x28, false}, {VK_OEM_3, 0x29, false}, {VK_SHIFT, 0x2A, false},
    {VK_OEM_5, 0x2B, false}, {'Z', 0x2C, false}, {'X', 0x2D, false}, {'C', 0x2E, false}, {'V', 0x2F, false},
    {'B', 0x30, false}, {'N', 0x31, false}, {'M', 0x32, false}, {VK_OEM_COMMA, 0x33, false},
    {VK_OEM_PERIOD, 0x34, false}, {VK_OEM_2, 0x35, false}, {VK_MULTIPLY, 0x37, false}, {VK_MENU, 0x38, false},
    {VK_SPACE, 0x39, false}, {VK_CAPITAL, 0x3A, false}, {VK_F1, 0x3B, false}, {VK_F2, 0x3C, false},
    {VK_F3, 0x3D, false}, {VK_F4, 0x3E, false}, {VK_F5, 0x3F, false}, {VK_F6, 0x40, false}, {VK_F7, 0x41, false},
    {VK_F8, 0x42, false}, {VK_F9, 0x43, false}, {VK_F10, 0x44, false}, {VK_NUMLOCK, 0x45, false},
    {VK_SCROLL, 0x46, false}, {VK_HOME, 0x47, true}, {VK_UP, 0x48, true}, {VK_PRIOR, 0x49, true},
    {VK_SUBTRACT, 0x4A, false}, {VK_LEFT, 0x4B, true}, {VK_RIGHT, 0x4D, true}, {VK_ADD, 0x4E, false},
    {VK_END, 0x4F, true}, {VK_DOWN, 0x50, true}, {VK_NEXT, 0x51, true}, {VK_INSERT, 0x52, true},
    {VK_DELETE, 0x53, true}, {VK_F11, 0x57, false}, {VK_F12, 0x58, false}, {VK_NUMPAD7, 0x47, false},
    {VK_NUMPAD8, 0x48, false}, {VK_NUMPAD9, 0x49, false}, {VK_NUMPAD4, 0x4B, false}, {VK_NUMPAD5, 0x4C, false},
    {VK_NUMPAD6, 0x4D, false}, {VK_NUMPAD1, 0x4F, false}, {VK_NUMPAD2, 0x50, false}, {VK_NUMPAD3, 0x51, false},
    {VK_NUMPAD0, 0x52, false}, {VK_DECIMAL, 0x53, false}, {VK_DIVIDE, 0x35, true}, {VK_LWIN, 0x5B, true},
    {VK_RWIN, 0x5C, true}, {VK_APPS, 0x5D, true}, {VK_LSHIFT, 0x2A, false}, {VK_RSHIFT, 0x36, false},
    {VK_LCONTROL, 0x1D, false}, {VK_RCONTROL, 0x1D, true}, {VK_LMENU, 0x38, false}, {VK_RMENU, 0x38, true},
};

bool down(const BYTE* keys, int vk) { return (keys[vk] & 0x80) != 0; }

}  // namespace

UINT scanCodeOf(UINT vk, bool& extended) {
  for (const Scan& s : kScans)
    if (s.vk == vk) {
      extended = s.extended;
      return s.scan;
    }
  extended = false;
  return 0;
}

int characterOf(UINT vk, const BYTE* keys) {
  bool shift = down(keys, VK_SHIFT), ctrl = down(keys, VK_CONTROL), alt = down(keys, VK_MENU);
  bool caps = (keys[VK_CAPITAL] & 1) != 0;
  if (ctrl && alt) return 0;  // AltGr has nothing on a US layout
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return (int)(vk - 'A' + 1);
    return (shift != caps) ? (int)vk : (int)(vk - 'A' + 'a');
  }
  if (ctrl) {
    // The control characters a US keyboard makes besides the letters.
    switch (vk) {
      case VK_OEM_4: return 0x1B;
      case VK_OEM_5: return 0x1C;
      case VK_OEM_6: return 0x1D;
      case VK_RETURN: return 0x0A;
      case VK_BACK: return 0x7F;
      case VK_ESCAPE: return 0x1B;
      case VK_SPACE: return ' ';
      default: return 0;
    }
  }
  if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : (int)vk;
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return (keys[VK_NUMLOCK] & 1) ? (int)('0' + vk - VK_NUMPAD0) : 0;
  for (const KeyChar& k : kPunctuation)
    if (k.vk == vk) return (unsigned char)(shift ? k.shifted : k.plain);
  return 0;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" SHORT WINAPI GetKeyState(int vk) {
  auto q = currentQueue();
  Lock lock(userMutex());
  BYTE k = q->inputState->keys[vk & 0xFF];
  return (SHORT)(((k & 0x80) ? 0xFF80 : 0) | (k & 1));
}

extern "C" SHORT WINAPI GetAsyncKeyState(int vk) {
  Lock lock(userMutex());
  return (asyncKeysLocked()[vk & 0xFF] & 0x80) ? (SHORT)0x8000 : 0;
}

extern "C" BOOL WINAPI GetKeyboardState(PBYTE keys) {
  if (!keys) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  auto q = currentQueue();
  Lock lock(userMutex());
  memcpy(keys, q->inputState->keys.data(), 256);
  return TRUE;
}

extern "C" BOOL WINAPI SetKeyboardState(LPBYTE keys) {
  if (!keys) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  auto q = currentQueue();
  Lock lock(userMutex());
  memcpy(q->inputState->keys.data(), keys, 256);
  return TRUE;
}

extern "C" int WINAPI ToAscii(UINT vk, UINT scan, const BYTE* keys, LPWORD out, UINT flags) {
  if (!keys || !out || (scan & 0x8000)) return 0;  // a key release makes no character
  int c = characterOf(vk, keys);
  if (!c) return 0;
  *out = (WORD)c;
  return 1;
}

extern "C" SHORT WINAPI VkKeyScanA(CHAR ch) {
  unsigned char c = (unsigned char)ch;
  if (isalpha(c)) return (SHORT)(toupper(c) | (isupper(c) ? 0x100 : 0));
  if (isdigit(c)) return (SHORT)c;
  for (int d = 0; d < 10; ++d)
    if (kShiftedDigits[d] == ch) return (SHORT)(('0' + d) | 0x100);
  BYTE none[256] = {}, shifted[256] = {};
  shifted[VK_SHIFT] = 0x80;
  for (int vk = 1; vk < 256; ++vk) {
    if (isalnum(vk) && vk < 'a') continue;
    if (characterOf(vk, none) == c && !(vk >= VK_NUMPAD0 && vk <= VK_DIVIDE)) return (SHORT)vk;
    if (characterOf(vk, shifted) == c && !(vk >= VK_NUMPAD0 && vk <= VK_DIVIDE)) return (SHORT)(vk | 0x100);
  }
  if (c >= 1 && c <= 26) return (SHORT)(('A' + c - 1) | 0x200);  // control characters
  return -1;
}

extern "C" UINT WINAPI MapVirtualKeyA(UINT code, UINT type) {
  switch (type) {
    case 0: {  // MAPVK_VK_TO_VSC
      bool extended;
      return scanCodeOf(code, extended);
    }
    case 1:    // MAPVK_VSC_TO_VK
    case 3: {  // MAPVK_VSC_TO_VK_EX
      for (const Scan& s : kScans)
        if (s.scan == code && !s.extended) return s.vk;
      return 0;
    }
    case 2: {  // MAPVK_VK_TO_CHAR: unshifted character, upper-case letters
      BYTE none[256] = {};
      if (code >= 'A' && code <= 'Z') return code;
      return (UINT)characterOf(code, none);
    }
    default:
      return 0;
  }
}

namespace win32::user {
namespace {

// TranslateMessage on a server: the character comes from the server's
// keyboard layout (dead keys as WM_DEADCHAR, then composed), in the ANSI code page.
BOOL translateWithServerLayout(const MSG& msg, BYTE* keys) {
  const UINT scan = (UINT)(msg.lParam >> 16) & 0xFF;
  const bool extended = (msg.lParam & (1 << 24)) != 0;
  const bool system = msg.message == WM_SYSKEYDOWN;
  if (system) keys[VK_MENU] = keys[VK_LMENU] = keys[VK_RMENU] = 0;  // Alt with a key: the key's own character
  bool dead;
  uint32_t c = x11::layoutCharacter(scan, extended, keys, dead);
  if (!c || c > 0xFFFF) return TRUE;
  std::string ansi = wideToAnsi(std::u16string(1, (char16_t)c));
  if (ansi.empty()) return TRUE;
  UINT message = dead ? (system ? WM_SYSDEADCHAR : WM_DEADCHAR) : (system ? WM_SYSCHAR : WM_CHAR);
  // A double-byte character comes as two messages, lead byte first.
  for (char byte : ansi) PostMessageA(msg.hwnd, message, (WPARAM)(unsigned char)byte, msg.lParam);
  return TRUE;
}

}  // namespace
}  // namespace win32::user

extern "C" BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  UINT m = msg->message;
  if (m != WM_KEYDOWN && m != WM_KEYUP && m != WM_SYSKEYDOWN && m != WM_SYSKEYUP) return FALSE;
  if (m == WM_KEYUP || m == WM_SYSKEYUP) return TRUE;
  BYTE keys[256];
  GetKeyboardState(keys);
  if (display::onServer()) return translateWithServerLayout(*msg, keys);
  int c = characterOf((UINT)msg->wParam, keys);
  if (!c && m == WM_SYSKEYDOWN) {
    // Alt with a key: the character the key makes without Alt, as WM_SYSCHAR.
    keys[VK_MENU] = 0;
    c = characterOf((UINT)msg->wParam, keys);
  }
  if (!c) return TRUE;
  PostMessageA(msg->hwnd, m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, (WPARAM)c, msg->lParam);
  return TRUE;
}
