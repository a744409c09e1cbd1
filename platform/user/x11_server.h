// The X11 backend of the window system: one connection to the X server per
// process, one X window per shown top-level window.
//
// Where things live: x11_server.cpp (connection, atoms, the event thread),
// x11_window.cpp (X windows following the layer's top-level windows and
// the upload of drawn pixels), x11_input.cpp (server events turned into the
// layer's input and window messages), x11_keyboard.cpp (the server's
// keyboard layout: virtual keys, scan codes and characters), x11_focus.cpp
// (the server's keyboard focus as the layer's activation and focus),
// x11_clipboard.cpp (the CLIPBOARD selection).
//
// Locking: userMutex() may be held when the server's own mutex is taken,
// never the other way round; the event thread takes userMutex() only
// through the layer's functions, with the server's mutex released.
#pragma once

#include <windows.h>

#include <xcb/xcb.h>

#include <atomic>
#include <condition_variable>
#include <string>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace win32::user::x11 {

struct Atoms {
  xcb_atom_t wmProtocols = 0, wmDeleteWindow = 0, wmName = 0, netWmName = 0, utf8String = 0, wmTransientFor = 0,
             motifHints = 0, netWmIcon = 0, netWmState = 0, netWmStateModal = 0, netWmPid = 0, clipboard = 0,
             targets = 0, text = 0, string = 0, kyTransfer = 0, incr = 0;
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
  uint16_t cursorGlyph = 0xFFFF;  // the cursor-font shape set on it (none yet)
  // The window that had the focus inside it when it was last deactivated:
  // the focus comes back there when the server gives the window the focus again.
  HWND savedFocus = nullptr;
};

// What the layer says of a top-level window, read under its lock.
struct TopLevelState {
  bool exists = false;
  bool visible = false;
  RECT rect{};
  DWORD style = 0, exStyle = 0;
  HWND owner = nullptr;
  DWORD threadId = 0;
  std::string text;
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
  void grab(HWND hwnd);

  // --- x11_focus.cpp ---
  // The program activated `top` (lock not held, on the activating thread):
  // it takes the server's keyboard focus.
  void focus(HWND top);
  void focusIn(const xcb_focus_in_event_t& event);
  void focusOut(const xcb_focus_out_event_t& event);

  // --- x11_icon.cpp ---
  // The window's icons (WM_SETICON, else its class's) as _NET_WM_ICON.
  void showIcon(HWND top);

  // --- x11_caret.cpp ---
  // The calling thread's caret moved, changed or was shown or hidden.
  void placeCaret();

  // --- x11_cursor.cpp ---
  // The shape of SetCursor on the window the pointer is over.
  void showCursor(HCURSOR cursor);
  void flushThread(DWORD threadId);
  // The record of an X window (nullptr when none); the server's mutex held.
  ShownWindow* byId(xcb_window_t id);
  ShownWindow* byHandle(HWND hwnd);
  std::mutex& mutex() { return mutex_; }

  // --- x11_input.cpp ---
  void handleEvent(xcb_generic_event_t* event);

  // --- x11_clipboard.cpp ---
  // The program's clipboard holds text now: the CLIPBOARD selection is ours.
  void claimClipboard();
  // Another X client owns the CLIPBOARD selection: its text (false when
  // none owns it, we do, or it gave no text within a second).
  bool foreignClipboardText(std::u16string& text);
  void answerSelectionRequest(const xcb_selection_request_event_t& request);
  void takeSelectionNotify(const xcb_selection_notify_event_t& notify);
  // A property changed on a window we watch: the next piece of an
  // incremental (INCR) transfer is wanted or has come.
  void selectionPropertyChanged(const xcb_property_notify_event_t& event);
  void loseSelection() { ownsClipboard_ = false; }

 private:
  Server() = default;
  bool connect(const char* name);
  void readEvents();
  void upload(ShownWindow& shown, const RECT& box, const uint8_t* pixels, int stride);
  // The server's mutex held; true when the X window was made now.
  bool placeLocked(HWND top, const TopLevelState& s);
  void makeWindow(ShownWindow& shown, DWORD style, DWORD exStyle, HWND owner);
  void setProperties(ShownWindow& shown, HWND owner, DWORD style, DWORD exStyle);
  void makeSelectionWindowLocked();
  void invertCaretLocked(const RECT& part);
  void blinkCaret();
  void keepCaretOverUploadLocked(const ShownWindow& shown, const RECT& uploaded);
  // The window that has the server's keyboard focus now (a round trip).
  xcb_window_t focusOnServer();
  // Runs `work` on the thread of `threadId` when it next looks at its queue.
  static void runOnThread(DWORD threadId, std::function<void()> work);

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
  xcb_window_t pointerWindow_ = 0;                       // our window the pointer last moved over
  xcb_font_t cursorFont_ = 0;
  std::unordered_map<uint16_t, xcb_cursor_t> cursors_;   // by cursor-font glyph

  // The caret (window coordinates of its X window).
  xcb_window_t caretWindow_ = 0;
  RECT caretRect_{};
  bool caretShown_ = false;   // it blinks
  bool caretDrawn_ = false;   // inverted on the server now
  ULONGLONG caretPhaseStart_ = 0;
  xcb_gcontext_t caretGc_ = 0;
  std::thread blink_;
  std::thread events_;
  std::thread::id eventThread_;
  // Counts the program's own focus requests: a server focus change seen
  // before one of them is out of date by the time its thread acts on it.
  std::atomic<uint32_t> focusRequests_{0};

  // The clipboard: an unmapped window owns the selection and receives conversions.
  xcb_window_t selectionWindow_ = 0;
  std::atomic<bool> ownsClipboard_{false};
  std::mutex transferMutex_;                // one conversion at a time
  std::mutex transferStateMutex_;
  std::condition_variable transferDone_;
  bool transferPending_ = false;
  bool transferOk_ = false;
  bool transferIncremental_ = false;  // the answer comes in pieces (INCR)
  uint64_t transferProgress_ = 0;     // pieces received: the wait goes on while they come
  std::string transferBytes_;
  // Texts another program reads from us in pieces; the event thread's alone.
  struct OutgoingTransfer {
    xcb_window_t requestor = 0;
    xcb_atom_t property = 0, type = 0;
    std::string bytes;
    size_t sent = 0;
    bool ended = false;  // the closing empty piece is sent
    ULONGLONG lastActivity = 0;
  };
  std::vector<OutgoingTransfer> outgoing_;
  void startOutgoing(xcb_window_t requestor, xcb_atom_t property, xcb_atom_t type, std::string bytes);
  void sendNextPiece(OutgoingTransfer& transfer);
  size_t largestPiece() const;
};

// --- x11_keyboard.cpp ---
// Reads the server's keyboard layout (XKB); false when the server has no XKB.
bool loadKeyboard(xcb_connection_t* conn);
// Is the event XKB's notice of a changed layout (a new keyboard, a new map)?
bool isKeyboardChange(const xcb_generic_event_t* event);
// Reads the server's layout again (on the event thread).
void reloadKeyboard(xcb_connection_t* conn);
// The virtual key, scan code and extended flag of a server key code.
BYTE virtualKeyOf(xcb_keycode_t keycode, UINT& scan, bool& extended);
// Is the key AltGr (the third level's shift)? Windows makes it Ctrl and right Alt.
bool isAltGr(xcb_keycode_t keycode);
// The character a key makes in the layout with the given key state, in
// UTF-32: 0 when none. `dead` is set for a dead key (its own character is
// answered); the next key is composed with it.
uint32_t layoutCharacter(UINT scan, bool extended, const BYTE* keys, bool& dead);

}  // namespace win32::user::x11
