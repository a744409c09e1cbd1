// What the user does to an edit control: keys, typed characters (double-byte
// characters arrive as two WM_CHARs or as one with both bytes), the mouse
// and the clipboard.
#include "edit.h"

#include <internal/codepage.h>

#include <algorithm>
#include <cstring>

// The dialog manager's default button query, for Enter in a multi-line edit of a dialog.
#ifndef DM_GETDEFID
#define DM_GETDEFID (WM_USER + 0)
#endif
#ifndef DC_HASDEFID
#define DC_HASDEFID 0x534B
#endif

namespace win32::user::edit {
namespace {

bool keyDown(int vk) { return GetKeyState(vk) < 0; }

bool readOnly(const Edit& e) { return (e.style() & ES_READONLY) != 0; }

void moveTo(Edit& e, size_t pos, bool extend) { setSelection(e, extend ? e.anchor : pos, pos, true); }

size_t lineEnd(const Edit& e, size_t index) { return e.lines[index].start + e.lines[index].length; }

// The position one display line up or down, keeping the caret's x.
size_t verticalMove(const Edit& e, long long lines) {
  size_t index = lineFromChar(e, e.caret);
  long long target = std::clamp<long long>((long long)index + lines, 0, (long long)e.lines.size() - 1);
  POINT p = posFromChar(e, e.caret);
  p.y = (int)e.format.top + (int)(target - (long long)e.firstLine) * e.lineHeight;
  return charFromPoint(e, p);
}

void insertTyped(Edit& e, std::string text) {
  if (readOnly(e)) {
    MessageBeep(MB_OK);
    return;
  }
  bool truncated = false;
  // Consecutive typing is one step of undo: the state before the first key is kept.
  bool undoable = !(e.typingRun && e.canUndo);
  bool changed = replaceSelection(e, applyCase(e, std::move(text)), true, undoable, truncated);
  e.typingRun = true;
  if (changed) textChanged(e, true);
  if (truncated) notify(e, EN_MAXTEXT);
}

void deleteRange(Edit& e, size_t from, size_t to) {
  if (readOnly(e) || from == to) return;
  e.anchor = from;
  e.caret = to;
  bool truncated = false;
  if (replaceSelection(e, std::string(), false, true, truncated)) textChanged(e, true);
}

// The default button of a dialog, clicked from a multi-line edit (Enter there types nothing).
void pressDefaultButton(Edit& e) {
  HWND parent = GetParent(e.hwnd);
  if (!parent) return;
  LRESULT def = SendMessageA(parent, DM_GETDEFID, 0, 0);
  int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
  HWND button = GetDlgItem(parent, id);
  if (button && !IsWindowEnabled(button)) return;
  PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
}

// Dialog keys a multi-line edit gets because it wants all keys: answers true when used.
bool dialogKey(Edit& e, UINT vk) {
  if (!e.dialogMode || !e.multiLine()) return false;
  HWND parent = GetParent(e.hwnd);
  switch (vk) {
    case VK_RETURN:
      if (e.style() & ES_WANTRETURN) return false;
      pressDefaultButton(e);
      return true;
    case VK_ESCAPE:
      // The dialog hears it as WM_CLOSE, which DefDlgProcA turns into IDCANCEL.
      if (parent) PostMessageA(parent, WM_CLOSE, 0, 0);
      return true;
    case VK_TAB:
      if (keyDown(VK_CONTROL)) return false;
      if (parent) SendMessageA(parent, WM_NEXTDLGCTL, keyDown(VK_SHIFT), 0);
      return true;
    default: return false;
  }
}

}  // namespace

void onKeyDown(Edit& e, UINT vk) {
  bool shift = keyDown(VK_SHIFT), ctrl = keyDown(VK_CONTROL);
  if (dialogKey(e, vk)) return;
  // Moving the caret or deleting ends a run of typing (keys that type leave it going).
  if ((vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_DELETE || vk == VK_INSERT) e.typingRun = false;
  size_t line = lineFromChar(e, e.caret);
  switch (vk) {
    case VK_LEFT: moveTo(e, ctrl ? wordLeft(e, e.caret) : prevChar(e, e.caret), shift); break;
    case VK_RIGHT: moveTo(e, ctrl ? wordRight(e, e.caret) : nextChar(e, e.caret), shift); break;
    case VK_UP:
      moveTo(e, e.multiLine() ? verticalMove(e, -1) : prevChar(e, e.caret), shift);
      break;
    case VK_DOWN:
      moveTo(e, e.multiLine() ? verticalMove(e, 1) : nextChar(e, e.caret), shift);
      break;
    case VK_HOME: moveTo(e, ctrl ? 0 : e.lines[line].start, shift); break;
    case VK_END: moveTo(e, ctrl ? e.text.size() : lineEnd(e, line), shift); break;
    case VK_PRIOR:
      if (e.multiLine()) {
        scrollLines(e, -visibleLines(e));
        moveTo(e, verticalMove(e, -visibleLines(e)), shift);
      }
      break;
    case VK_NEXT:
      if (e.multiLine()) {
        scrollLines(e, visibleLines(e));
        moveTo(e, verticalMove(e, visibleLines(e)), shift);
      }
      break;
    case VK_DELETE:
      if (shift) cut(e);
      else if (e.selStart() != e.selEnd()) clearSelection(e);
      else deleteRange(e, e.caret, nextChar(e, e.caret));
      break;
    case VK_INSERT:
      if (shift) paste(e);
      else if (ctrl) copyToClipboard(e);
      break;
    default: break;
  }
}

void onChar(Edit& e, UINT ch) {
  bool ctrl = keyDown(VK_CONTROL);
  // A double-byte character: lead and trail byte in one message, or in two.
  if (ch > 0xFF) {
    e.pendingLead = 0;
    insertTyped(e, std::string{(char)(ch >> 8), (char)(ch & 0xFF)});
    return;
  }
  if (e.pendingLead) {
    std::string pair{(char)e.pendingLead, (char)ch};
    e.pendingLead = 0;
    insertTyped(e, pair);
    return;
  }
  switch (ch) {
    case 0x01: setSelection(e, 0, e.text.size(), true); return;  // Ctrl+A
    case 0x03: copyToClipboard(e); return;                       // Ctrl+C
    case 0x16: paste(e); return;                                 // Ctrl+V
    case 0x18: cut(e); return;                                   // Ctrl+X
    case 0x1A: undoLast(e); return;                              // Ctrl+Z
    case '\b':
      e.typingRun = false;
      if (e.selStart() != e.selEnd()) clearSelection(e);
      else deleteRange(e, prevChar(e, e.caret), e.caret);
      return;
    case '\r':
    case '\n':
      if (!e.multiLine()) return;
      if (ch == '\r' && e.dialogMode && !(e.style() & ES_WANTRETURN)) return;
      insertTyped(e, "\r\n");
      return;
    case '\t':
      if (!e.multiLine() || (e.dialogMode && !ctrl)) return;
      insertTyped(e, "\t");
      return;
    default: break;
  }
  if (ch < 0x20 || ch == 0x7F) return;
  if (win32::isAnsiLeadByte((unsigned char)ch)) {
    e.pendingLead = (unsigned char)ch;
    return;
  }
  if ((e.style() & ES_NUMBER) && (ch < '0' || ch > '9')) {
    MessageBeep(MB_OK);
    return;
  }
  insertTyped(e, std::string(1, (char)ch));
}

void onMouseDown(Edit& e, POINT p, bool shift) {
  e.typingRun = false;
  if (GetFocus() != e.hwnd) SetFocus(e.hwnd);
  SetCapture(e.hwnd);
  e.tracking = true;
  size_t pos = charFromPoint(e, p);
  setSelection(e, shift ? e.anchor : pos, pos, true);
}

void onMouseMove(Edit& e, POINT p) {
  if (!e.tracking || GetCapture() != e.hwnd) return;
  setSelection(e, e.anchor, charFromPoint(e, p), true);
  // Held outside the text, the selection goes on growing a line or a character at each tick.
  if (PtInRect(&e.format, p)) KillTimer(e.hwnd, kDragScrollTimer);
  else SetTimer(e.hwnd, kDragScrollTimer, kDragScrollDelay, nullptr);
}

void onDragScrollTimer(Edit& e) {
  POINT p{};
  if (!e.tracking || !GetCursorPos(&p) || !ScreenToClient(e.hwnd, &p)) {
    KillTimer(e.hwnd, kDragScrollTimer);
    return;
  }
  size_t pos = e.caret;
  if (p.y < e.format.top && e.multiLine()) pos = verticalMove(e, -1);
  else if (p.y >= e.format.bottom && e.multiLine()) pos = verticalMove(e, 1);
  else if (p.x < e.format.left) pos = prevChar(e, e.caret);
  else if (p.x >= e.format.right) pos = nextChar(e, e.caret);
  setSelection(e, e.anchor, pos, true);
}

void onMouseUp(Edit& e) {
  KillTimer(e.hwnd, kDragScrollTimer);
  if (!e.tracking) return;
  e.tracking = false;
  if (GetCapture() == e.hwnd) ReleaseCapture();
}

void onDoubleClick(Edit& e, POINT p) {
  size_t pos = charFromPoint(e, p);
  size_t begin = pos;
  auto isWord = [&](size_t at) {
    char c = e.text[at];
    return c != ' ' && c != '\t' && c != '\r' && c != '\n';
  };
  while (begin > 0 && isWord(prevChar(e, begin))) begin = prevChar(e, begin);
  size_t end = pos < e.text.size() && isWord(pos) ? wordRight(e, pos) : pos;
  setSelection(e, begin, end, true);
}

void copyToClipboard(Edit& e) {
  // A password is never copied out.
  if ((e.style() & ES_PASSWORD) || e.selStart() == e.selEnd()) return;
  std::string selected = e.text.substr(e.selStart(), e.selEnd() - e.selStart());
  if (!OpenClipboard(e.hwnd)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, selected.size() + 1);
  if (memory) {
    char* bytes = (char*)GlobalLock(memory);
    memcpy(bytes, selected.c_str(), selected.size() + 1);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

void clearSelection(Edit& e) {
  e.typingRun = false;
  deleteRange(e, e.selStart(), e.selEnd());
}

void cut(Edit& e) {
  if (readOnly(e) || (e.style() & ES_PASSWORD)) return;
  copyToClipboard(e);
  clearSelection(e);
}

void paste(Edit& e) {
  if (readOnly(e)) return;
  e.typingRun = false;
  std::string text;
  if (!OpenClipboard(e.hwnd)) return;
  if (HANDLE memory = GetClipboardData(CF_TEXT)) {
    if (auto* bytes = (const char*)GlobalLock(memory)) {
      size_t size = GlobalSize(memory);
      text.assign(bytes, strnlen(bytes, size));
      GlobalUnlock(memory);
    }
  }
  CloseClipboard();
  // A single-line edit takes the first line only.
  if (!e.multiLine()) text = text.substr(0, text.find_first_of("\r\n"));
  if (text.empty()) return;
  bool truncated = false;
  if (replaceSelection(e, applyCase(e, std::move(text)), true, true, truncated)) textChanged(e, true);
  if (truncated) notify(e, EN_MAXTEXT);
}

}  // namespace win32::user::edit
