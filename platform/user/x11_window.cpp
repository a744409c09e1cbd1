// X windows that follow the layer's top-level windows, and the upload of
// what was drawn on their surfaces.
//
// A top-level window gets its X window when it is first shown, of its
// window size (the layer draws frame and caption itself, so the window
// manager is asked for no decorations). Popups without a caption (drop-down
// lists, tooltips, menus) are override-redirect: the window manager leaves
// them where they are put. Drawing marks damage; the thread's next flush
// copies the damaged box of the surface into shared memory and has the
// server put it (MIT-SHM), or sends it in requests where the server lacks
// the extension.
#include "x11_server.h"

#include "window.h"

#include <internal/codepage.h>

#include <xcb/shm.h>

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <sys/shm.h>
#include <unistd.h>

namespace win32::user::x11 {
namespace {

// Lock not held: what the layer says of `hwnd`; `exists` false for a child
// or a window that is gone.
TopLevelState readState(HWND hwnd) {
  TopLevelState s;
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w || w->isDesktop() || !w->parent || !w->parent->isDesktop() || w->ncDestroyed) return s;
  s.exists = true;
  s.visible = (w->style & WS_VISIBLE) != 0;
  s.rect = w->windowRect;
  s.style = w->style;
  s.exStyle = w->exStyle;
  s.owner = w->owner;
  s.threadId = w->threadId;
  s.text = w->text;
  return s;
}

// Popups without a caption that belong to another window or stay on top
// (menus, drop-down lists, tooltips) are placed by the program alone.
bool isOverrideRedirect(DWORD style, DWORD exStyle, HWND owner) {
  return (style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION &&
         (owner || (exStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST)) != 0);
}

int widthOf(const RECT& r) { return std::max(1, (int)(r.right - r.left)); }
int heightOf(const RECT& r) { return std::max(1, (int)(r.bottom - r.top)); }

RECT boundingBox(const std::vector<RECT>& rects) {
  RECT box = rects.front();
  for (const RECT& r : rects) UnionRect(&box, &box, &r);
  return box;
}

}  // namespace

ShownWindow* Server::byId(xcb_window_t id) {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : byHandle(it->second);
}

ShownWindow* Server::byHandle(HWND hwnd) {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : &it->second;
}

void Server::makeWindow(ShownWindow& shown, DWORD style, DWORD exStyle, HWND owner) {
  shown.id = xcb_generate_id(conn_);
  shown.overrideRedirect = isOverrideRedirect(style, exStyle, owner);
  const uint32_t events = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE |
                          XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                          XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW |
                          XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_STRUCTURE_NOTIFY |
                          XCB_EVENT_MASK_FOCUS_CHANGE;
  // In the order of their mask bits: background, override-redirect, events.
  const uint32_t values[] = {screen_->white_pixel, shown.overrideRedirect ? 1u : 0u, events};
  xcb_create_window(conn_, XCB_COPY_FROM_PARENT, shown.id, screen_->root, (int16_t)shown.shownRect.left,
                    (int16_t)shown.shownRect.top, (uint16_t)widthOf(shown.shownRect),
                    (uint16_t)heightOf(shown.shownRect), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
  byId_[shown.id] = shown.hwnd;
  if (shown.overrideRedirect) return;
  xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, shown.id, atoms_.wmProtocols, XCB_ATOM_ATOM, 32, 1,
                      &atoms_.wmDeleteWindow);
  const uint32_t pid = (uint32_t)getpid();
  xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, shown.id, atoms_.netWmPid, XCB_ATOM_CARDINAL, 32, 1, &pid);
  // flags (decorations), functions, decorations (none: the layer draws its frame), input mode, status.
  const uint32_t motif[] = {2, 0, 0, 0, 0};
  xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, shown.id, atoms_.motifHints, atoms_.motifHints, 32, 5, motif);
}

void Server::setProperties(ShownWindow& shown, HWND owner, DWORD style, DWORD exStyle) {
  if (shown.overrideRedirect) return;
  // The place the program chose is the place (USPosition | USSize | PPosition | PSize).
  uint32_t hints[18] = {};
  hints[0] = 1 | 2 | 4 | 8;
  hints[1] = (uint32_t)shown.shownRect.left;
  hints[2] = (uint32_t)shown.shownRect.top;
  hints[3] = (uint32_t)widthOf(shown.shownRect);
  hints[4] = (uint32_t)heightOf(shown.shownRect);
  xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, shown.id, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32,
                      18, hints);
  ShownWindow* ownerShown = owner ? byHandle(owner) : nullptr;
  if (ownerShown && ownerShown->id)
    xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, shown.id, atoms_.wmTransientFor, XCB_ATOM_WINDOW, 32, 1,
                        &ownerShown->id);
  else
    xcb_delete_property(conn_, shown.id, atoms_.wmTransientFor);
}

void Server::place(HWND top) {
  TopLevelState s = readState(top);
  if (!s.exists) return;
  bool made = false;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    made = placeLocked(top, s);
  }
  if (made) showIcon(top);  // reads the icons under the layer's lock: after ours
}

bool Server::placeLocked(HWND top, const TopLevelState& s) {
  bool made = false;
  ShownWindow* shown = byHandle(top);
  if (!shown) {
    if (!s.visible) return false;  // made when first shown
    made = true;
    shown = &windows_[top];
    shown->hwnd = top;
    shown->threadId = s.threadId;
    shown->shownRect = s.rect;
    makeWindow(*shown, s.style, s.exStyle, s.owner);
    setProperties(*shown, s.owner, s.style, s.exStyle);
    std::u16string wide = ansiToWide(s.text);
    std::string utf8 = wideToAnsi(wide, CP_UTF8);
    if (!shown->overrideRedirect) {
      xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, shown->id, atoms_.netWmName, atoms_.utf8String, 8,
                          (uint32_t)utf8.size(), utf8.data());
      xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, shown->id, atoms_.wmName, XCB_ATOM_STRING, 8,
                          (uint32_t)s.text.size(), s.text.data());
    }
  }
  if (!EqualRect(&shown->shownRect, &s.rect)) {
    const bool resized = widthOf(shown->shownRect) != widthOf(s.rect) || heightOf(shown->shownRect) != heightOf(s.rect);
    shown->shownRect = s.rect;
    const uint32_t geometry[] = {(uint32_t)s.rect.left, (uint32_t)s.rect.top, (uint32_t)widthOf(s.rect),
                                 (uint32_t)heightOf(s.rect)};
    xcb_configure_window(conn_, shown->id,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                         geometry);
    if (resized) {
      if (shown->sizesAsked.size() >= 32) shown->sizesAsked.erase(shown->sizesAsked.begin());
      shown->sizesAsked.emplace_back(widthOf(s.rect), heightOf(s.rect));
    }
    if (resized) {
      shown->damage.assign(1, RECT{0, 0, widthOf(s.rect), heightOf(s.rect)});
      pendingDamage_ = true;
    }
  }
  if (s.visible && !shown->mapped) {
    setProperties(*shown, s.owner, s.style, s.exStyle);
    xcb_map_window(conn_, shown->id);
    shown->mapped = true;
    shown->damage.assign(1, RECT{0, 0, widthOf(s.rect), heightOf(s.rect)});
    pendingDamage_ = true;
  } else if (!s.visible && shown->mapped) {
    xcb_unmap_window(conn_, shown->id);
    shown->mapped = false;
  }
  xcb_flush(conn_);
  return made;
}

void Server::forget(HWND top) {
  std::lock_guard<std::mutex> guard(mutex_);
  ShownWindow* shown = byHandle(top);
  if (!shown) return;
  if (shown->image && shown->image->segment) xcb_shm_detach(conn_, shown->image->segment);
  xcb_destroy_window(conn_, shown->id);
  xcb_flush(conn_);
  byId_.erase(shown->id);
  windows_.erase(top);
}

void Server::damage(HWND top, const RECT& rect) {
  if (IsRectEmpty(&rect)) return;
  std::lock_guard<std::mutex> guard(mutex_);
  ShownWindow* shown = byHandle(top);
  if (!shown || !shown->mapped) return;
  // A few boxes are kept apart; more become their bounding box.
  if (shown->damage.size() >= 8) shown->damage.assign(1, boundingBox(shown->damage));
  shown->damage.push_back(rect);
  pendingDamage_ = true;
}

void Server::retitle(HWND top) {
  TopLevelState s = readState(top);
  if (!s.exists) return;
  std::lock_guard<std::mutex> guard(mutex_);
  ShownWindow* shown = byHandle(top);
  if (!shown || shown->overrideRedirect) return;
  std::string utf8 = wideToAnsi(ansiToWide(s.text), CP_UTF8);
  xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, shown->id, atoms_.netWmName, atoms_.utf8String, 8,
                      (uint32_t)utf8.size(), utf8.data());
  xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, shown->id, atoms_.wmName, XCB_ATOM_STRING, 8,
                      (uint32_t)s.text.size(), s.text.data());
  xcb_flush(conn_);
}

void Server::grab(HWND hwnd) {
  HWND top = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  xcb_window_t id = 0;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    ShownWindow* shown = top ? byHandle(top) : nullptr;
    if (shown && shown->mapped) id = shown->id;
  }
  if (!id) {
    xcb_ungrab_pointer(conn_, XCB_CURRENT_TIME);
    xcb_flush(conn_);
    return;
  }
  // Our own windows still get their events (owner events); the rest come to the grab window.
  const uint16_t events = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION;
  free(xcb_grab_pointer_reply(conn_,
                              xcb_grab_pointer(conn_, 1, id, events, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                                               XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
                              nullptr));
}

void Server::flushThread(DWORD threadId) {
  if (!pendingDamage_.load(std::memory_order_relaxed)) return;
  Lock lock(userMutex());
  std::lock_guard<std::mutex> guard(mutex_);
  bool left = false;
  for (auto& [hwnd, shown] : windows_) {
    if (shown.damage.empty()) continue;
    if (shown.threadId != threadId) {
      left = true;  // another thread draws it and sends it
      continue;
    }
    Window* w = findLocked(hwnd);
    if (!w || !w->surface || !shown.mapped) {
      shown.damage.clear();
      continue;
    }
    cairo_surface_flush(w->surface);
    const int width = cairo_image_surface_get_width(w->surface), height = cairo_image_surface_get_height(w->surface);
    RECT box = boundingBox(shown.damage);
    shown.damage.clear();
    RECT all{0, 0, width, height};
    if (!IntersectRect(&box, &box, &all)) continue;
    upload(shown, box, cairo_image_surface_get_data(w->surface), cairo_image_surface_get_stride(w->surface));
    keepCaretOverUploadLocked(shown, box);
  }
  pendingDamage_ = left;
  xcb_flush(conn_);
}

namespace {

// A shared segment of at least `size` bytes attached on both sides, or nullptr.
std::unique_ptr<SharedImage> makeSharedImage(xcb_connection_t* conn, size_t size) {
  auto image = std::make_unique<SharedImage>();
  image->shmId = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
  if (image->shmId < 0) return nullptr;
  void* p = shmat(image->shmId, nullptr, 0);
  if (p == (void*)-1) {
    shmctl(image->shmId, IPC_RMID, nullptr);
    return nullptr;
  }
  image->data = (uint8_t*)p;
  image->size = size;
  image->segment = xcb_generate_id(conn);
  xcb_generic_error_t* error = xcb_request_check(conn, xcb_shm_attach_checked(conn, image->segment, image->shmId, 0));
  // Removed now: the kernel frees it once both sides have detached, even
  // when the process dies.
  shmctl(image->shmId, IPC_RMID, nullptr);
  if (error) {
    free(error);
    return nullptr;
  }
  return image;
}

}  // namespace

void Server::upload(ShownWindow& shown, const RECT& box, const uint8_t* pixels, int stride) {
  const int w = box.right - box.left, h = box.bottom - box.top;
  const size_t rowBytes = (size_t)w * 4;
  const uint8_t* first = pixels + (size_t)box.top * stride + (size_t)box.left * 4;
  if (!gc_) {
    gc_ = xcb_generate_id(conn_);
    const uint32_t noExposures = 0;
    xcb_create_gc(conn_, gc_, screen_->root, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
  }
  if (shm_) {
    const size_t need = rowBytes * h;
    if (shown.image && shown.image->pending) {
      // The server may still read the last upload: wait until it has.
      free(xcb_get_input_focus_reply(conn_, shown.image->fence, nullptr));
      shown.image->pending = false;
    }
    if (!shown.image || shown.image->size < need) {
      if (shown.image) xcb_shm_detach(conn_, shown.image->segment);
      const size_t whole = (size_t)widthOf(shown.shownRect) * heightOf(shown.shownRect) * 4;
      shown.image = makeSharedImage(conn_, std::max(need, whole));
      if (!shown.image) shm_ = false;  // refused: requests from now on
    }
    if (shown.image) {
      for (int y = 0; y < h; ++y) memcpy(shown.image->data + rowBytes * y, first + (size_t)y * stride, rowBytes);
      xcb_shm_put_image(conn_, shown.id, gc_, (uint16_t)w, (uint16_t)h, 0, 0, (uint16_t)w, (uint16_t)h,
                        (int16_t)box.left, (int16_t)box.top, 24, XCB_IMAGE_FORMAT_Z_PIXMAP, 0,
                        shown.image->segment, 0);
      shown.image->fence = xcb_get_input_focus(conn_);
      shown.image->pending = true;
      return;
    }
  }
  // Bands of rows that fit in one request each.
  const int rowsPerBand = std::max<int>(1, (int)((maxRequest_ - 64) / rowBytes));
  std::vector<uint8_t> band;
  for (int y = 0; y < h; y += rowsPerBand) {
    const int rows = std::min(rowsPerBand, h - y);
    band.resize(rowBytes * rows);
    for (int r = 0; r < rows; ++r) memcpy(band.data() + rowBytes * r, first + (size_t)(y + r) * stride, rowBytes);
    xcb_put_image(conn_, XCB_IMAGE_FORMAT_Z_PIXMAP, shown.id, gc_, (uint16_t)w, (uint16_t)rows, (int16_t)box.left,
                  (int16_t)(box.top + y), 0, 24, (uint32_t)band.size(), band.data());
  }
}

}  // namespace win32::user::x11
