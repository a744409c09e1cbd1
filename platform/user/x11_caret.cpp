// The caret on the server: drawn by inverting its rectangle on the X
// window (never on the surface, so snapshots stay without it), and
// blinking every GetCaretBlinkTime() milliseconds from a thread of its own.
// An upload replaces the pixels under it: the covered part is inverted
// again so that the caret stays in the phase it is in.
#include "window.h"
#include "x11_server.h"

#include <chrono>

namespace win32::user {
bool caretState(HWND& owner, POINT& pos, SIZE& size, bool& visible);  // caret.cpp
}  // namespace win32::user

namespace win32::user::x11 {

void Server::invertCaretLocked(const RECT& part) {
  if (!caretGc_) {
    caretGc_ = xcb_generate_id(conn_);
    const uint32_t values[] = {XCB_GX_XOR, 0xFFFFFF, 0};
    xcb_create_gc(conn_, caretGc_, screen_->root, XCB_GC_FUNCTION | XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES,
                  values);
  }
  const xcb_rectangle_t r{(int16_t)part.left, (int16_t)part.top, (uint16_t)(part.right - part.left),
                          (uint16_t)(part.bottom - part.top)};
  xcb_poly_fill_rectangle(conn_, caretWindow_, caretGc_, 1, &r);
}

void Server::placeCaret() {
  HWND owner = nullptr;
  POINT pos{};
  SIZE size{};
  bool visible = false;
  const bool exists = caretState(owner, pos, size, visible);
  HWND top = nullptr;
  RECT inWindow{};
  if (exists) {
    Lock lock(userMutex());
    Window* w = findLocked(owner);
    if (w && !w->isDesktop()) {
      Window* t = topLevelOf(w);
      POINT client = clientOriginOnScreen(w);
      RECT frame = windowRectOnScreen(t);
      inWindow = RECT{client.x - frame.left + pos.x, client.y - frame.top + pos.y, 0, 0};
      inWindow.right = inWindow.left + size.cx;
      inWindow.bottom = inWindow.top + size.cy;
      top = t->handle;
      visible = visible && reallyVisible(w);
    }
  }
  std::lock_guard<std::mutex> guard(mutex_);
  if (caretDrawn_) invertCaretLocked(caretRect_);  // off where it was
  caretDrawn_ = false;
  ShownWindow* shown = top ? byHandle(top) : nullptr;
  caretWindow_ = shown && shown->mapped ? shown->id : 0;
  caretRect_ = inWindow;
  caretShown_ = caretWindow_ && visible && !IsRectEmpty(&inWindow);
  if (caretShown_) {
    invertCaretLocked(caretRect_);  // a moved or shown caret starts its blink on
    caretDrawn_ = true;
  }
  caretPhaseStart_ = GetTickCount64();
  xcb_flush(conn_);
  if (!blink_.joinable() && caretShown_) {
    blink_ = std::thread([this] { blinkCaret(); });
    blink_.detach();
  }
}

void Server::blinkCaret() {
  for (;;) {
    const UINT period = std::max(1u, GetCaretBlinkTime());
    std::this_thread::sleep_for(std::chrono::milliseconds(period));
    std::lock_guard<std::mutex> guard(mutex_);
    if (!caretShown_ || GetTickCount64() - caretPhaseStart_ < period) continue;
    invertCaretLocked(caretRect_);
    caretDrawn_ = !caretDrawn_;
    caretPhaseStart_ = GetTickCount64();
    xcb_flush(conn_);
  }
}

void Server::keepCaretOverUploadLocked(const ShownWindow& shown, const RECT& uploaded) {
  RECT part;
  if (caretDrawn_ && shown.id == caretWindow_ && IntersectRect(&part, &uploaded, &caretRect_)) invertCaretLocked(part);
}

}  // namespace win32::user::x11
