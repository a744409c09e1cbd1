// Choosing the display and forwarding the window system's changes to it.
#include "display.h"

#include "x11_server.h"

namespace win32::user::display {

bool onServer() { return x11::Server::instance() != nullptr; }

void placeChanged(HWND top) {
  if (auto* s = x11::Server::instance()) s->place(top);
}

void destroyed(HWND top) {
  if (auto* s = x11::Server::instance()) s->forget(top);
}

void damaged(HWND top, const RECT& rect) {
  if (auto* s = x11::Server::instance()) s->damage(top, rect);
}

void textChanged(HWND top) {
  if (auto* s = x11::Server::instance()) s->retitle(top);
}

void activated(HWND top) {
  if (auto* s = x11::Server::instance()) s->focus(top);
}

void flush() {
  if (auto* s = x11::Server::instance()) s->flushThread(GetCurrentThreadId());
}

}  // namespace win32::user::display
