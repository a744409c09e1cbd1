// Choosing the display and forwarding the window system's changes to it.
#include "display.h"

#include "x11_server.h"

#include <internal/screen.h>

#include <cstdlib>

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

void captureChanged(HWND hwnd) {
  if (auto* s = x11::Server::instance()) s->grab(hwnd);
}

void iconChanged(HWND top) {
  if (auto* s = x11::Server::instance()) s->showIcon(top);
}

void caretChanged() {
  if (auto* s = x11::Server::instance()) s->placeCaret();
}

void cursorChanged(HCURSOR cursor) {
  if (auto* s = x11::Server::instance()) s->showCursor(cursor);
}

void clipboardChanged() {
  if (auto* s = x11::Server::instance()) s->claimClipboard();
}

bool foreignClipboardText(std::u16string& text) {
  auto* s = x11::Server::instance();
  return s && s->foreignClipboardText(text);
}

void flush() {
  if (auto* s = x11::Server::instance()) s->flushThread(GetCurrentThreadId());
}

}  // namespace win32::user::display

namespace win32::screen {

bool onServer() { return user::display::onServer(); }

void flushAndWait() {
  auto* s = user::x11::Server::instance();
  if (!s) return;
  s->flushThread(GetCurrentThreadId());
  xcb_connection_t* c = s->connection();
  free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

}  // namespace win32::screen
