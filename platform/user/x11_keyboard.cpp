// The server's keyboard layout (XKB): which Windows virtual key and scan
// code a server key is, and which character a key makes with a key state
// (TranslateMessage asks this while the program is on a server), dead keys
// composed with the locale's compose table as a Windows layout would.
//
// The layout is read again when the server says it changed (setxkbmap, a
// layout switch of the desktop): XKB's new-keyboard and map notices.
//
// Scan codes: the server's key codes are Linux input codes plus 8, and the
// Linux codes of the main block are the set-1 scan codes; the keys Windows
// calls extended have codes of their own (kExtended).
#include "input.h"
#include "x11_server.h"

// xcb's XKB header names a field `explicit`, a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon-x11.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace win32::user::x11 {
namespace {

constexpr int kKeycodeOffset = 8;  // server key code = Linux input code + 8

struct ExtendedKey {
  int linuxCode;
  BYTE scan;
};
// Linux codes of the keys whose scan code Windows marks extended.
constexpr ExtendedKey kExtended[] = {
    {96, 0x1C},  {97, 0x1D},  {98, 0x35},  {100, 0x38}, {102, 0x47}, {103, 0x48}, {104, 0x49}, {105, 0x4B},
    {106, 0x4D}, {107, 0x4F}, {108, 0x50}, {109, 0x51}, {110, 0x52}, {111, 0x53}, {125, 0x5B}, {126, 0x5C},
    {127, 0x5D},
};

struct SymKey {
  xkb_keysym_t sym;
  BYTE vk;
};
// Keys named by their unshifted symbol; the rest go by letter, digit or scan code.
constexpr SymKey kSymKeys[] = {
    {XKB_KEY_Escape, VK_ESCAPE},      {XKB_KEY_Return, VK_RETURN},       {XKB_KEY_KP_Enter, VK_RETURN},
    {XKB_KEY_Tab, VK_TAB},            {XKB_KEY_ISO_Left_Tab, VK_TAB},    {XKB_KEY_BackSpace, VK_BACK},
    {XKB_KEY_space, VK_SPACE},        {XKB_KEY_Shift_L, VK_SHIFT},       {XKB_KEY_Shift_R, VK_SHIFT},
    {XKB_KEY_Control_L, VK_CONTROL},  {XKB_KEY_Control_R, VK_CONTROL},   {XKB_KEY_Alt_L, VK_MENU},
    {XKB_KEY_Alt_R, VK_MENU},         {XKB_KEY_ISO_Level3_Shift, VK_MENU}, {XKB_KEY_Caps_Lock, VK_CAPITAL},
    {XKB_KEY_Num_Lock, VK_NUMLOCK},   {XKB_KEY_Scroll_Lock, VK_SCROLL},  {XKB_KEY_Pause, VK_PAUSE},
    {XKB_KEY_Print, VK_SNAPSHOT},     {XKB_KEY_Super_L, VK_LWIN},        {XKB_KEY_Super_R, VK_RWIN},
    {XKB_KEY_Menu, VK_APPS},          {XKB_KEY_Home, VK_HOME},           {XKB_KEY_End, VK_END},
    {XKB_KEY_Prior, VK_PRIOR},        {XKB_KEY_Next, VK_NEXT},           {XKB_KEY_Insert, VK_INSERT},
    {XKB_KEY_Delete, VK_DELETE},      {XKB_KEY_Left, VK_LEFT},           {XKB_KEY_Right, VK_RIGHT},
    {XKB_KEY_Up, VK_UP},              {XKB_KEY_Down, VK_DOWN},           {XKB_KEY_KP_Home, VK_HOME},
    {XKB_KEY_KP_End, VK_END},         {XKB_KEY_KP_Prior, VK_PRIOR},      {XKB_KEY_KP_Next, VK_NEXT},
    {XKB_KEY_KP_Insert, VK_INSERT},   {XKB_KEY_KP_Delete, VK_DELETE},    {XKB_KEY_KP_Left, VK_LEFT},
    {XKB_KEY_KP_Right, VK_RIGHT},     {XKB_KEY_KP_Up, VK_UP},            {XKB_KEY_KP_Down, VK_DOWN},
    {XKB_KEY_KP_Begin, VK_CLEAR},     {XKB_KEY_KP_Multiply, VK_MULTIPLY}, {XKB_KEY_KP_Add, VK_ADD},
    {XKB_KEY_KP_Subtract, VK_SUBTRACT}, {XKB_KEY_KP_Divide, VK_DIVIDE},  {XKB_KEY_KP_Decimal, VK_DECIMAL},
    {XKB_KEY_semicolon, VK_OEM_1},    {XKB_KEY_equal, VK_OEM_PLUS},      {XKB_KEY_comma, VK_OEM_COMMA},
    {XKB_KEY_minus, VK_OEM_MINUS},    {XKB_KEY_period, VK_OEM_PERIOD},   {XKB_KEY_slash, VK_OEM_2},
    {XKB_KEY_grave, VK_OEM_3},        {XKB_KEY_bracketleft, VK_OEM_4},   {XKB_KEY_backslash, VK_OEM_5},
    {XKB_KEY_bracketright, VK_OEM_6}, {XKB_KEY_apostrophe, VK_OEM_7},
};

// What a dead key shows alone (WM_DEADCHAR): its spacing accent.
constexpr struct {
  xkb_keysym_t sym;
  uint32_t accent;
} kDeadAccents[] = {
    {XKB_KEY_dead_grave, '`'},      {XKB_KEY_dead_acute, 0xB4},    {XKB_KEY_dead_circumflex, '^'},
    {XKB_KEY_dead_tilde, '~'},      {XKB_KEY_dead_diaeresis, 0xA8}, {XKB_KEY_dead_cedilla, 0xB8},
    {XKB_KEY_dead_abovering, 0xB0}, {XKB_KEY_dead_macron, 0xAF},   {XKB_KEY_dead_caron, 0x2C7},
};

struct Layout {
  // Guards the keymap against its replacement by the event thread, and the
  // compose state, which changes with each character asked for. The event
  // thread replaces the keymap: its own reads need no lock.
  std::mutex mutex;
  xkb_context* context = nullptr;
  int32_t device = -1;
  uint8_t firstEvent = 0;  // XKB's events are numbered from here
  xkb_keymap* keymap = nullptr;
  xkb_compose_table* composeTable = nullptr;
  xkb_compose_state* compose = nullptr;
};

Layout& layout() {
  static Layout* l = new Layout;  // lives as long as the connection: the process
  return *l;
}

xkb_keysym_t baseSymbol(xkb_keycode_t keycode, int level) {
  const xkb_keysym_t* syms = nullptr;
  int n = xkb_keymap_key_get_syms_by_level(layout().keymap, keycode, 0, level, &syms);
  return n > 0 ? syms[0] : XKB_KEY_NoSymbol;
}

xkb_mod_mask_t modBit(const char* name) {
  xkb_mod_index_t i = xkb_keymap_mod_get_index(layout().keymap, name);
  return i == XKB_MOD_INVALID ? 0 : (xkb_mod_mask_t)1 << i;
}

bool down(const BYTE* keys, int vk) { return (keys[vk] & 0x80) != 0; }

}  // namespace

bool loadKeyboard(xcb_connection_t* conn) {
  Layout& l = layout();
  if (!xkb_x11_setup_xkb_extension(conn, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                   XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
    return false;
  int32_t device = xkb_x11_get_core_keyboard_device_id(conn);
  if (device < 0) return false;
  l.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  if (!l.context) return false;
  l.keymap = xkb_x11_keymap_new_from_device(l.context, conn, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (!l.keymap) return false;
  l.device = device;
  const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(conn, &xcb_xkb_id);
  l.firstEvent = xkb ? xkb->first_event : 0;
  // Told when the layout changes.
  const uint16_t changes = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
  const uint16_t mapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP |
                            XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS | XCB_XKB_MAP_PART_KEY_ACTIONS |
                            XCB_XKB_MAP_PART_VIRTUAL_MODS | XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
  xcb_xkb_select_events(conn, XCB_XKB_ID_USE_CORE_KBD, changes, 0, changes, mapParts, mapParts, nullptr);
  // A held key repeats as presses without releases between them, as on Windows.
  const uint32_t repeat = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
  free(xcb_xkb_per_client_flags_reply(conn, xcb_xkb_per_client_flags(conn, (uint16_t)device, repeat, repeat, 0, 0, 0),
                                      nullptr));
  // The compose table of the user's locale, else the common UTF-8 one.
  const char* locale = getenv("LC_ALL");
  if (!locale || !*locale) locale = getenv("LC_CTYPE");
  if (!locale || !*locale) locale = getenv("LANG");
  if (locale && *locale)
    l.composeTable = xkb_compose_table_new_from_locale(l.context, locale, XKB_COMPOSE_COMPILE_NO_FLAGS);
  if (!l.composeTable)
    l.composeTable = xkb_compose_table_new_from_locale(l.context, "en_US.UTF-8", XKB_COMPOSE_COMPILE_NO_FLAGS);
  if (l.composeTable) l.compose = xkb_compose_state_new(l.composeTable, XKB_COMPOSE_STATE_NO_FLAGS);
  return true;
}

bool isKeyboardChange(const xcb_generic_event_t* event) {
  const Layout& l = layout();
  if (!l.keymap || !l.firstEvent || (event->response_type & 0x7F) != l.firstEvent) return false;
  // Every XKB event has its own kind in the second byte.
  const uint8_t kind = ((const xcb_xkb_new_keyboard_notify_event_t*)event)->xkbType;
  return kind == XCB_XKB_NEW_KEYBOARD_NOTIFY || kind == XCB_XKB_MAP_NOTIFY;
}

void reloadKeyboard(xcb_connection_t* conn) {
  Layout& l = layout();
  if (!l.context) return;
  xkb_keymap* keymap = xkb_x11_keymap_new_from_device(l.context, conn, l.device, XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (!keymap) {
    fprintf(stderr, "the X display's new keyboard layout cannot be read: keys keep the old one\n");
    return;
  }
  std::lock_guard<std::mutex> guard(l.mutex);
  xkb_keymap_unref(l.keymap);
  l.keymap = keymap;
  // A dead key pressed under the old layout composes nothing under the new one.
  if (l.compose) xkb_compose_state_reset(l.compose);
}

BYTE virtualKeyOf(xcb_keycode_t keycode, UINT& scan, bool& extended) {
  const int code = keycode - kKeycodeOffset;
  scan = (UINT)code;
  extended = false;
  for (const ExtendedKey& e : kExtended)
    if (e.linuxCode == code) {
      scan = e.scan;
      extended = true;
    }
  if (scan > 0x7F) scan = 0;
  if (!layout().keymap) return (BYTE)MapVirtualKeyA(scan, 1);
  xkb_keysym_t sym = baseSymbol(keycode, 0);
  xkb_keysym_t shifted = baseSymbol(keycode, 1);
  if (sym >= XKB_KEY_a && sym <= XKB_KEY_z) return (BYTE)('A' + (sym - XKB_KEY_a));
  if (sym >= XKB_KEY_0 && sym <= XKB_KEY_9) return (BYTE)('0' + (sym - XKB_KEY_0));
  if (sym >= XKB_KEY_F1 && sym <= XKB_KEY_F24) return (BYTE)(VK_F1 + (sym - XKB_KEY_F1));
  // Keypad digits: their second level is the digit (NumLock decides which the key state gives).
  if (shifted >= XKB_KEY_KP_0 && shifted <= XKB_KEY_KP_9) {
    if (GetKeyState(VK_NUMLOCK) & 1) return (BYTE)(VK_NUMPAD0 + (shifted - XKB_KEY_KP_0));
  }
  if (shifted == XKB_KEY_KP_Decimal && (GetKeyState(VK_NUMLOCK) & 1)) return VK_DECIMAL;
  for (const SymKey& k : kSymKeys)
    if (k.sym == sym) return k.vk;
  // A letter of another alphabet or a key of another layout: the key at
  // that place on a US keyboard.
  return (BYTE)MapVirtualKeyA(scan, 1);
}

bool isAltGr(xcb_keycode_t keycode) {
  return layout().keymap && baseSymbol(keycode, 0) == XKB_KEY_ISO_Level3_Shift;
}

uint32_t layoutCharacter(UINT scan, bool extended, const BYTE* keys, bool& dead) {
  dead = false;
  Layout& l = layout();
  std::lock_guard<std::mutex> guard(l.mutex);
  if (!l.keymap) return 0;
  int code = (int)scan;
  for (const ExtendedKey& e : kExtended)
    if (extended && e.scan == scan) code = e.linuxCode;
  const xkb_keycode_t keycode = (xkb_keycode_t)(code + kKeycodeOffset);
  // Ctrl+Alt is AltGr, as on Windows: the third level, no control character.
  const bool altGr = (down(keys, VK_CONTROL) && down(keys, VK_MENU)) || down(keys, VK_RMENU);
  xkb_mod_mask_t mods = 0;
  if (down(keys, VK_SHIFT)) mods |= modBit(XKB_MOD_NAME_SHIFT);
  if (keys[VK_CAPITAL] & 1) mods |= modBit(XKB_MOD_NAME_CAPS);
  if (keys[VK_NUMLOCK] & 1) mods |= modBit(XKB_MOD_NAME_NUM);
  if (altGr) mods |= modBit("Mod5");
  else if (down(keys, VK_CONTROL)) mods |= modBit(XKB_MOD_NAME_CTRL);
  xkb_state* state = xkb_state_new(l.keymap);
  if (!state) return 0;
  xkb_state_update_mask(state, mods, 0, 0, 0, 0, 0);
  const xkb_keysym_t sym = xkb_state_key_get_one_sym(state, keycode);
  uint32_t c = xkb_state_key_get_utf32(state, keycode);
  xkb_state_unref(state);
  if (!l.compose || xkb_compose_state_feed(l.compose, sym) == XKB_COMPOSE_FEED_IGNORED) return c;
  switch (xkb_compose_state_get_status(l.compose)) {
    case XKB_COMPOSE_COMPOSING:
      dead = true;
      for (const auto& d : kDeadAccents)
        if (d.sym == sym) return d.accent;
      return c;
    case XKB_COMPOSE_COMPOSED: {
      uint32_t composed = xkb_keysym_to_utf32(xkb_compose_state_get_one_sym(l.compose));
      xkb_compose_state_reset(l.compose);
      return composed;
    }
    case XKB_COMPOSE_CANCELLED:
      xkb_compose_state_reset(l.compose);
      return c;
    default:
      return c;
  }
}

}  // namespace win32::user::x11
