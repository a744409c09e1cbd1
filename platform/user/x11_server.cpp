// The connection to the X server: chosen once per process, read by one
// thread that turns the server's events into the layer's input.
//
// A server that goes away ends the program with a message: there is no
// screen left to show its windows on, and waiting would hang it.
#include "x11_server.h"

#include <xcb/shm.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/shm.h>
#include <string>
#include <unistd.h>

namespace win32::user::x11 {
namespace {

// KY_DISPLAY=headless wins; KY_DISPLAY=x11 or DISPLAY selects the server.
bool wantsServer() {
  const char* choice = getenv("KY_DISPLAY");
  if (choice && strcmp(choice, "headless") == 0) return false;
  if (choice && *choice && strcmp(choice, "x11") != 0) {
    fprintf(stderr, "KY_DISPLAY=%s is no display of this system (headless or x11): staying headless\n", choice);
    return false;
  }
  const char* name = getenv("DISPLAY");
  if ((!name || !*name) && choice) fprintf(stderr, "KY_DISPLAY=x11 without DISPLAY: staying headless\n");
  return name && *name;
}

xcb_atom_t intern(xcb_connection_t* c, const char* name) {
  auto cookie = xcb_intern_atom(c, 0, (uint16_t)strlen(name), name);
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, cookie, nullptr);
  xcb_atom_t atom = r ? r->atom : (xcb_atom_t)XCB_ATOM_NONE;
  free(r);
  return atom;
}

// Set once exit() has begun.
std::atomic<bool>& exiting() {
  static std::atomic<bool> flag{false};
  return flag;
}

}  // namespace

Server* Server::instance() {
  // 0: not chosen yet, 1: headless, 2: on a server.
  static std::atomic<int> state{0};
  static Server* server = nullptr;
  int s = state.load(std::memory_order_acquire);
  if (s == 1) return nullptr;
  if (s == 2) return server;
  static std::once_flag once;
  std::call_once(once, [] {
    if (wantsServer()) {
      auto* candidate = new Server;
      if (candidate->connect(getenv("DISPLAY"))) server = candidate;
      else delete candidate;
    }
    state.store(server ? 2 : 1, std::memory_order_release);
    if (!server) return;
    // A program that ends may take its server with it (a test's Xvfb):
    // that is no server going away under a running program.
    atexit([] { exiting().store(true); });
    server->events_ = std::thread([] { server->readEvents(); });
    server->events_.detach();
  });
  return server;
}

bool Server::connect(const char* name) {
  int screenNumber = 0;
  conn_ = xcb_connect(name, &screenNumber);
  if (!conn_ || xcb_connection_has_error(conn_)) {
    fprintf(stderr, "cannot open the X display \"%s\": staying headless\n", name);
    if (conn_) xcb_disconnect(conn_);
    conn_ = nullptr;
    return false;
  }
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn_));
  for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
  screen_ = it.data;
  if (!screen_ || screen_->root_depth != 24) {
    // The surfaces are 32-bit 0x00RRGGBB: a 24-bit TrueColor visual shows them as they are.
    fprintf(stderr, "the X display \"%s\" has no 24-bit screen: staying headless\n", name);
    xcb_disconnect(conn_);
    conn_ = nullptr;
    return false;
  }
  maxRequest_ = xcb_get_maximum_request_length(conn_) * 4;
  const xcb_query_extension_reply_t* shm = xcb_get_extension_data(conn_, &xcb_shm_id);
  shm_ = shm && shm->present && !getenv("KY_X11_NOSHM");
  struct {
    xcb_atom_t* slot;
    const char* name;
  } names[] = {
      {&atoms_.wmProtocols, "WM_PROTOCOLS"},       {&atoms_.wmDeleteWindow, "WM_DELETE_WINDOW"},
      {&atoms_.wmName, "WM_NAME"},                 {&atoms_.netWmName, "_NET_WM_NAME"},
      {&atoms_.utf8String, "UTF8_STRING"},         {&atoms_.wmTransientFor, "WM_TRANSIENT_FOR"},
      {&atoms_.motifHints, "_MOTIF_WM_HINTS"},     {&atoms_.netWmIcon, "_NET_WM_ICON"},
      {&atoms_.netWmState, "_NET_WM_STATE"},       {&atoms_.netWmStateModal, "_NET_WM_STATE_MODAL"},
      {&atoms_.netWmPid, "_NET_WM_PID"},           {&atoms_.clipboard, "CLIPBOARD"},
      {&atoms_.targets, "TARGETS"},                {&atoms_.text, "TEXT"},
      {&atoms_.string, "STRING"},                  {&atoms_.kyTransfer, "KY_SELECTION_TRANSFER"},
      {&atoms_.incr, "INCR"},
  };
  for (auto& n : names) *n.slot = intern(conn_, n.name);
  if (!loadKeyboard(conn_)) fprintf(stderr, "the X display \"%s\" has no XKB: keys use the US layout\n", name);
  return true;
}

void Server::readEvents() {
  eventThread_ = std::this_thread::get_id();
  for (;;) {
    xcb_generic_event_t* event = xcb_wait_for_event(conn_);
    if (!event) break;
    handleEvent(event);
    free(event);
  }
  // The connection broke: the server went away (or refused us).
  if (exiting().load()) return;
  const char* name = getenv("DISPLAY");
  fprintf(stderr, "the X display \"%s\" went away (error %d): the program ends\n", name ? name : "",
          xcb_connection_has_error(conn_));
  fflush(stderr);
  _exit(1);
}

SharedImage::~SharedImage() {
  if (data) shmdt(data);
}

}  // namespace win32::user::x11
