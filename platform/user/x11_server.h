// The X11 backend of the window system: one connection to the X server per
// process, one X window per shown top-level window.
//
// Where things live: x11_server.cpp (connection, atoms, the event thread),
// x11_window.cpp (X windows following the layer's top-level windows and
// the upload of drawn pixels), x11_input.cpp (server events turned into the
// layer's input and window messages), x11_keyboard.cpp (the server's
// keyboard layout: virtual keys, scan codes and characters).
//
// Locking: userMutex() may be held when the server's own mutex is taken,
// never the other way round; the event thread takes userMutex() only
// through the layer's functions, with the server's mutex released.
#pragma once

#include <windows.h>

#include <xcb/xcb.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace win32::user::x11 {

struct Atoms {
  xcb_atom_t wmProtocols = 0, wmDeleteWindow = 0, wmName = 0, netWmName = 0, utf8String = 0, wmTransientFor = 0,
             motifHints = 0, netWmIcon = 0, netWmState = 0, netWmStateModal = 0, netWmPid = 0, clipboard = 0,
             targets = 0, text = 0, string = 0, kyTransfer = 0;
};

// A staging segment of shared memory the server reads uploads from; freed
// with the record (the kernel frees it once both sides let go).
struct SharedImage {
  uint32_t segment = 0;     // the server's id of it
  int shmId = -1;
  uint8_t* data = nullptr;
  size_t size = 0;
  bool pending = false;     // an upload may still be read: wait for `fence`
  xcb_get_input_focus_cookie_t fence{};
  ~SharedImage();
};

// What the server shows of one top-level window.
struct ShownWindow {
  HWND hwnd = nullptr;
  xcb_window_t id = 0;
  DWORD threadId = 0;
  bool mapped = false;
  bool overrideRedirect = false;
  RECT shownRect{};              // screen rectangle last sent
  std::vector<RECT> damage;      // surface coordinates, not yet uploaded
  std::unique_ptr<SharedImage> image;
  // Sizes asked of the server and not yet confirmed by a ConfigureNotify:
  // a notice of one of them is our own change, any other the window manager's.
  std::vector<std::pair<int, int>> sizesAsked;
};

class Server {
 public:
  // The process's server, or nullptr when headless. Made on first call.
  static Server* instance();

  xcb_connection_t* connection() const { return conn_; }
  const xcb_screen_t* screen() const { return screen_; }
  const Atoms& atoms() const { return atoms_; }
  bool sharedMemory() const { return shm_; }
  uint32_t maxRequestBytes() const { return maxRequest_; }

  // --- x11_window.cpp ---
  void place(HWND top);
  void forget(HWND top);
  void damage(HWND top, const RECT& rect);
  void retitle(HWND top);
  void focus(HWND top);
  void flushThread(DWORD threadId);
  // The record of an X window (nullptr when none); the server's mutex held.
  ShownWindow* byId(xcb_window_t id);
  ShownWindow* byHandle(HWND hwnd);
  std::mutex& mutex() { return mutex_; }

  // --- x11_input.cpp ---
  void handleEvent(xcb_generic_event_t* event);

 private:
  Server() = default;
  bool connect(const char* name);
  void readEvents();
  void upload(ShownWindow& shown, const RECT& box, const uint8_t* pixels, int stride);
  void makeWindow(ShownWindow& shown, DWORD style, DWORD exStyle);
  void setProperties(ShownWindow& shown, HWND owner, DWORD style, DWORD exStyle);

  xcb_connection_t* conn_ = nullptr;
  const xcb_screen_t* screen_ = nullptr;
  Atoms atoms_;
  bool shm_ = false;
  uint32_t maxRequest_ = 0;
  std::mutex mutex_;
  std::atomic<bool> pendingDamage_{false};  // some window has damage to send
  xcb_gcontext_t gc_ = 0;
  std::unordered_map<HWND, ShownWindow> windows_;
  std::unordered_map<xcb_window_t, HWND> byId_;
  std::thread events_;
};

// --- x11_keyboard.cpp ---
// Reads the server's keyboard layout (XKB); false when the server has no XKB.
bool loadKeyboard(xcb_connection_t* conn);
// The virtual key, scan code and extended flag of a server key code.
BYTE virtualKeyOf(xcb_keycode_t keycode, UINT& scan, bool& extended);
// The character a key makes in the layout with the given key state, in
// UTF-32: 0 when none. `dead` is set for a dead key (its own character is
// answered); the next key is composed with it.
uint32_t layoutCharacter(UINT scan, bool extended, const BYTE* keys, bool& dead);

}  // namespace win32::user::x11
