// A second client of the tests' X server: what a person (XTest), a window
// manager (close requests) or a screenshot tool (GetImage) does to the
// program's windows, and what the server says about them.
#pragma once

#include <windows.h>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace test {

class XClient {
 public:
  explicit XClient(const char* display = nullptr) {
    conn_ = xcb_connect(display, nullptr);
    if (xcb_connection_has_error(conn_)) return;
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
  }
  ~XClient() { xcb_disconnect(conn_); }
  XClient(const XClient&) = delete;
  XClient& operator=(const XClient&) = delete;

  bool connected() const { return screen_ != nullptr; }
  xcb_connection_t* connection() const { return conn_; }
  xcb_window_t root() const { return screen_->root; }

  xcb_atom_t atom(const char* name) {
    auto* r = xcb_intern_atom_reply(conn_, xcb_intern_atom(conn_, 0, (uint16_t)strlen(name), name), nullptr);
    xcb_atom_t a = r ? r->atom : (xcb_atom_t)XCB_ATOM_NONE;
    free(r);
    return a;
  }

  // The bytes of a property (empty when missing).
  std::string property(xcb_window_t w, xcb_atom_t prop) {
    auto* r = xcb_get_property_reply(conn_, xcb_get_property(conn_, 0, w, prop, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 16),
                                     nullptr);
    std::string value;
    if (r) value.assign((const char*)xcb_get_property_value(r), (size_t)xcb_get_property_value_length(r));
    free(r);
    return value;
  }

  // The top-level windows of the server (children of the root).
  std::vector<xcb_window_t> topLevels() {
    std::vector<xcb_window_t> out;
    auto* r = xcb_query_tree_reply(conn_, xcb_query_tree(conn_, root()), nullptr);
    if (!r) return out;
    xcb_window_t* kids = xcb_query_tree_children(r);
    out.assign(kids, kids + xcb_query_tree_children_length(r));
    free(r);
    return out;
  }

  // The window whose WM_NAME is `title`, or 0.
  xcb_window_t byTitle(const char* title) {
    for (xcb_window_t w : topLevels())
      if (property(w, XCB_ATOM_WM_NAME) == title) return w;
    return 0;
  }

  // The window's place on the screen and whether it is mapped.
  bool geometry(xcb_window_t w, RECT& rect, bool& mapped) {
    auto* g = xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, w), nullptr);
    auto* a = xcb_get_window_attributes_reply(conn_, xcb_get_window_attributes(conn_, w), nullptr);
    bool ok = g && a;
    if (ok) {
      rect = RECT{g->x, g->y, g->x + g->width, g->y + g->height};
      mapped = a->map_state != XCB_MAP_STATE_UNMAPPED;
    }
    free(g);
    free(a);
    return ok;
  }

  // The topmost mapped top-level window whose rectangle holds `inner` (0
  // when none); `overrideRedirect` tells whether the window manager is kept out of it.
  xcb_window_t mappedCovering(const RECT& inner, bool* overrideRedirect = nullptr) {
    std::vector<xcb_window_t> all = topLevels();  // bottom first
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
      xcb_window_t w = *it;
      RECT r;
      bool mapped;
      RECT both;
      if (!geometry(w, r, mapped) || !mapped || !IntersectRect(&both, &r, &inner) || !EqualRect(&both, &inner)) continue;
      if (overrideRedirect) {
        auto* a = xcb_get_window_attributes_reply(conn_, xcb_get_window_attributes(conn_, w), nullptr);
        *overrideRedirect = a && a->override_redirect;
        free(a);
      }
      return w;
    }
    return 0;
  }

  // The window's pixels, 0x00RRGGBB, row by row.
  std::vector<uint32_t> image(xcb_window_t w, int width, int height) {
    std::vector<uint32_t> out;
    auto* r = xcb_get_image_reply(
        conn_, xcb_get_image(conn_, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, (uint16_t)width, (uint16_t)height, ~0u),
        nullptr);
    if (!r) return out;
    const uint32_t* p = (const uint32_t*)xcb_get_image_data(r);
    out.assign(p, p + (size_t)width * height);
    for (uint32_t& px : out) px &= 0xFFFFFF;
    free(r);
    return out;
  }

  // XTest: a key of the server (its key code) pressed or released.
  void key(uint8_t keycode, bool press) {
    xcb_test_fake_input(conn_, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME, root(), 0, 0, 0);
    sync();
  }
  // The key code of a virtual key on the server's US layout (Linux input
  // codes + 8): the scan code's, but the keys apart from the keypad have codes of their own.
  static uint8_t keycodeOf(UINT vk) {
    static constexpr struct {
      UINT vk;
      uint8_t keycode;
    } kApart[] = {{VK_HOME, 110}, {VK_UP, 111},    {VK_PRIOR, 112},  {VK_LEFT, 113},   {VK_RIGHT, 114},
                  {VK_END, 115},  {VK_DOWN, 116},  {VK_NEXT, 117},   {VK_INSERT, 118}, {VK_DELETE, 119}};
    for (const auto& k : kApart)
      if (k.vk == vk) return k.keycode;
    return (uint8_t)(MapVirtualKeyA(vk, 0) + 8);
  }
  void press(UINT vk) {
    key(keycodeOf(vk), true);
    key(keycodeOf(vk), false);
  }
  void pointerTo(int x, int y) {
    xcb_test_fake_input(conn_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root(), (int16_t)x, (int16_t)y, 0);
    sync();
  }
  void button(uint8_t number, bool press) {
    xcb_test_fake_input(conn_, press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, number, XCB_CURRENT_TIME, root(), 0, 0,
                        0);
    sync();
  }
  void clickAt(int x, int y) {
    pointerTo(x, y);
    button(1, true);
    button(1, false);
  }

  // What a window manager sends when the user closes a window.
  void requestClose(xcb_window_t w) {
    xcb_client_message_event_t e{};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = w;
    e.type = atom("WM_PROTOCOLS");
    e.data.data32[0] = atom("WM_DELETE_WINDOW");
    e.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(conn_, 0, w, XCB_EVENT_MASK_NO_EVENT, (const char*)&e);
    sync();
  }

  // A round trip: everything sent before has been handled by the server.
  void sync() { free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr)); }

 private:
  xcb_connection_t* conn_ = nullptr;
  const xcb_screen_t* screen_ = nullptr;
};

// Pumps the calling thread's messages until `done` holds or `ms` pass;
// answers whether it held. The server and the program run side by side, so
// tests wait for what the server shows instead of assuming it.
inline bool pumpUntil(const std::function<bool()>& done, int ms = 5000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace test
