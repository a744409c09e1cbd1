// The cursor shapes of LoadCursor(IDC_*) as cursors of the X cursor font,
// set on the window the pointer is over when SetCursor changes the shape.
// A program's own cursors (from its resources) show as the arrow.
#include "icon.h"
#include "x11_server.h"

namespace win32::user::x11 {
namespace {

// Glyphs of the standard cursor font (each shape's mask is the next glyph).
constexpr struct {
  WORD id;
  uint16_t glyph;
} kShapes[] = {
    {32512, 68},  /* IDC_ARROW: left_ptr */          {32513, 152}, /* IDC_IBEAM: xterm */
    {32514, 150}, /* IDC_WAIT: watch */              {32515, 34},  /* IDC_CROSS: crosshair */
    {32516, 22},  /* IDC_UPARROW: center_ptr */      {32640, 52},  /* IDC_SIZE: fleur */
    {32641, 52},  /* IDC_ICON */                     {32642, 14},  /* IDC_SIZENWSE: bottom_right_corner */
    {32643, 12},  /* IDC_SIZENESW: bottom_left_corner */ {32644, 108}, /* IDC_SIZEWE: sb_h_double_arrow */
    {32645, 116}, /* IDC_SIZENS: sb_v_double_arrow */ {32646, 52},  /* IDC_SIZEALL: fleur */
    {32648, 0},   /* IDC_NO: X_cursor */             {32649, 60},  /* IDC_HAND: hand2 */
    {32650, 150}, /* IDC_APPSTARTING: watch */       {32651, 92},  /* IDC_HELP: question_arrow */
};
constexpr uint16_t kArrowGlyph = 68;

}  // namespace

uint16_t cursorGlyphOf(HCURSOR cursor) {
  for (const auto& s : kShapes)
    if (cursor && standardCursor(s.id) == cursor) return s.glyph;
  return kArrowGlyph;
}

void Server::showCursor(HCURSOR cursor) {
  const uint16_t glyph = cursorGlyphOf(cursor);
  std::lock_guard<std::mutex> guard(mutex_);
  ShownWindow* shown = byId(pointerWindow_);
  if (!shown) return;
  auto made = cursors_.find(glyph);
  if (made == cursors_.end()) {
    if (!cursorFont_) {
      cursorFont_ = xcb_generate_id(conn_);
      xcb_open_font(conn_, cursorFont_, 6, "cursor");
    }
    xcb_cursor_t c = xcb_generate_id(conn_);
    // Black on white, as the standard shapes are drawn.
    xcb_create_glyph_cursor(conn_, c, cursorFont_, cursorFont_, glyph, glyph + 1, 0, 0, 0, 0xFFFF, 0xFFFF, 0xFFFF);
    made = cursors_.emplace(glyph, c).first;
  }
  if (shown->cursorGlyph == glyph) return;
  shown->cursorGlyph = glyph;
  xcb_change_window_attributes(conn_, shown->id, XCB_CW_CURSOR, &made->second);
  xcb_flush(conn_);
}

}  // namespace win32::user::x11
