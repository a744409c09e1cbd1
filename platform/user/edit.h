// The "Edit" control, split by concept:
//   edit_buffer.cpp  the text: character steps (double-byte aware), words,
//                    lines and their wrapping, replacing with limit and undo;
//   edit_view.cpp    geometry, scrolling, caret and painting;
//   edit_input.cpp   keyboard, mouse and clipboard;
//   edit.cpp         the window procedure, EM_* messages and notifications.
//
// Positions are byte offsets into the ANSI text and always fall on character
// boundaries: a double-byte character of the ANSI code page (932 ...) is
// never split by the caret, a selection, a line wrap or a deletion.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace win32::user::edit {

struct Line {
  size_t start = 0;   // offset of the first byte
  size_t length = 0;  // bytes shown, without the line break
  size_t breakLength = 0;  // 2 for a hard "\r\n", 0 for a wrap or the last line
  int width = 0;      // pixels
};

// The width of a single line up to a character boundary, kept every few
// hundred bytes so that no keystroke measures the whole line.
struct WidthMark {
  size_t pos = 0;
  int x = 0;
};

struct Undo {
  std::string text;
  size_t anchor = 0, caret = 0;
};

struct Edit {
  HWND hwnd = nullptr;
  std::string text;
  size_t anchor = 0;  // the fixed end of the selection
  size_t caret = 0;   // the moving end; the caret stands here
  std::vector<Line> lines;
  std::vector<WidthMark> marks;  // a single line's widths, ascending
  size_t changedFrom = std::string::npos;  // where the last replacement began, for the repaint
  size_t limit = 30000;  // bytes the user may enter (EM_LIMITTEXT)
  bool modified = false;
  bool canUndo = false;
  Undo undo;             // the state before the last change (one level, undo of undo redoes)
  bool typingRun = false;  // consecutive typing is undone as one step
  char passwordChar = '*';
  HFONT font = nullptr;
  HDC measureDC = nullptr;  // a memory DC with the font selected, for widths
  int lineHeight = 16;
  int averageCharWidth = 8;
  int charWidths[256] = {};  // advance of each single-byte character in the font
  mutable std::unordered_map<uint16_t, int> pairWidths;  // double-byte characters met so far, lead byte high
  int leftMargin = 1, rightMargin = 1;
  RECT format{};        // the formatting rectangle, client coordinates
  bool formatSet = false;  // EM_SETRECT fixed it: resizing leaves it alone
  size_t firstLine = 0;    // the first visible line (multi-line)
  int xOffset = 0;         // pixels scrolled horizontally
  bool focused = false;
  bool tracking = false;   // mouse selecting
  bool dialogMode = false;  // a dialog asked WM_GETDLGCODE: Tab, Enter and Esc belong to it
  unsigned char pendingLead = 0;  // first byte of a double-byte character typed in two WM_CHARs
  std::vector<int> tabStops;      // pixels; empty: every 8 average characters
  HLOCAL handle = nullptr;        // EM_GETHANDLE's copy of the text

  DWORD style() const { return (DWORD)GetWindowLongA(hwnd, GWL_STYLE); }
  bool multiLine() const { return (style() & ES_MULTILINE) != 0; }
  size_t selStart() const { return anchor < caret ? anchor : caret; }
  size_t selEnd() const { return anchor < caret ? caret : anchor; }
};

// --- edit_buffer.cpp ---------------------------------------------------------
size_t nextChar(const Edit& e, size_t pos);
size_t prevChar(const Edit& e, size_t pos);
// The character boundary at or before `pos` (clamped to the text).
size_t snapToChar(const Edit& e, size_t pos);
size_t wordLeft(const Edit& e, size_t pos);
size_t wordRight(const Edit& e, size_t pos);
size_t lineFromChar(const Edit& e, size_t pos);
// Lays the text out into lines again (wrapping to the format width when it wraps).
void layout(Edit& e);
// The displayed form of bytes of a line (the password character for each character).
std::string displayText(const Edit& e, size_t start, size_t length);
int textWidth(const Edit& e, const std::string& shown);
// Pixels from the line's start to `offset` bytes into it.
int prefixWidth(const Edit& e, const Line& line, size_t offset);
// The last character boundary of the line at or left of pixel `px` (from the
// line's start); `x` receives its pixel.
size_t charAtPixel(const Edit& e, const Line& line, int px, int& x);
// The advance of the character at shown[i] drawn at pixel `x` of its line (a
// tab reaches the next stop); `length` receives its bytes (2 for a
// double-byte character).
int advanceAt(const Edit& e, const std::string& shown, size_t i, int x, size_t& length);
// What ES_UPPERCASE / ES_LOWERCASE make of inserted text.
std::string applyCase(const Edit& e, std::string text);
// Replaces the selection with `insert`. `byUser` applies the limit (cutting
// at a character boundary) and the fit of a non-scrolling edit; answers
// false when nothing could be inserted because of them (EN_MAXTEXT owed).
// `undoable` keeps the former state for EM_UNDO.
bool replaceSelection(Edit& e, std::string insert, bool byUser, bool undoable, bool& truncated);
void setText(Edit& e, std::string text);

// --- edit_view.cpp -----------------------------------------------------------
void initMetrics(Edit& e);
void resetFormatRect(Edit& e);
int visibleLines(const Edit& e);
POINT posFromChar(const Edit& e, size_t pos);
size_t charFromPoint(const Edit& e, POINT p);
// Scrolls so that the caret shows; answers true when it scrolled.
bool scrollCaretIntoView(Edit& e);
// Scrolls by lines (multi-line); answers the lines scrolled.
int scrollLines(Edit& e, long long delta);
void scrollHorizontally(Edit& e, int pixels);
void updateScrollBars(Edit& e);
void placeCaret(Edit& e);
void paint(Edit& e, HDC dc);

// --- edit_input.cpp ----------------------------------------------------------
void onKeyDown(Edit& e, UINT vk);
void onChar(Edit& e, UINT ch);
void onMouseDown(Edit& e, POINT p, bool shift);
void onMouseMove(Edit& e, POINT p);
void onMouseUp(Edit& e);
constexpr UINT_PTR kDragScrollTimer = 1;
constexpr UINT kDragScrollDelay = 100;  // ms between steps of a selection held outside the text
void onDragScrollTimer(Edit& e);
void onDoubleClick(Edit& e, POINT p);
void copyToClipboard(Edit& e);
void cut(Edit& e);
void paste(Edit& e);
void clearSelection(Edit& e);

// --- edit.cpp ----------------------------------------------------------------
// After a change of text: EN_UPDATE, repaint, EN_CHANGE; the caret follows.
void textChanged(Edit& e, bool notify);
// Moves the selection (caret at `caret`), repaints what changed.
void setSelection(Edit& e, size_t anchor, size_t caret, bool scroll);
void notify(Edit& e, WORD code);
void undoLast(Edit& e);

}  // namespace win32::user::edit
