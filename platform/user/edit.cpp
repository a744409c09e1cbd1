// The "Edit" control's window procedure: creation, focus, the EM_* messages
// and the EN_* notifications to the parent.
#include "edit.h"

#include "control.h"
#include "systemclass.h"

#include <algorithm>
#include <cstring>

namespace win32::user::edit {
namespace {

Edit* editOf(HWND hwnd) { return control::state<Edit>(hwnd); }

constexpr size_t kDefaultLimit = 30000;  // what the user may type before EM_LIMITTEXT

// EM_GETHANDLE's local memory follows the text while the program holds it.
void syncHandle(Edit& e) {
  if (!e.handle) return;
  HLOCAL grown = LocalReAlloc(e.handle, e.text.size() + 1, LMEM_MOVEABLE);
  if (!grown) {
    notify(e, EN_ERRSPACE);
    return;
  }
  e.handle = grown;
  if (char* bytes = (char*)LocalLock(e.handle)) {
    memcpy(bytes, e.text.c_str(), e.text.size() + 1);
    LocalUnlock(e.handle);
  }
}

LRESULT packSelection(size_t start, size_t end) {
  if (start > 0xFFFF || end > 0xFFFF) return -1;
  return MAKELRESULT(start, end);
}

// Lays the text out again after a change of font, rectangle or style;
// `redraw` false leaves painting to whoever asks for it next.
void relayout(Edit& e, bool redraw = true) {
  layout(e);
  e.firstLine = std::min(e.firstLine, e.lines.size() - 1);
  updateScrollBars(e);
  if (redraw) InvalidateRect(e.hwnd, nullptr, TRUE);
  placeCaret(e);
}

void recreateCaret(Edit& e) {
  if (!e.focused) return;
  CreateCaret(e.hwnd, nullptr, 1, e.lineHeight);
  placeCaret(e);
  ShowCaret(e.hwnd);
}

LRESULT onCreate(Edit& e, const CREATESTRUCTA* cs) {
  initMetrics(e);
  resetFormatRect(e);
  setText(e, cs && cs->lpszName ? cs->lpszName : "");
  updateScrollBars(e);
  return 0;
}

LRESULT onGetDlgCode(Edit& e, const MSG* msg) {
  LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  if (e.multiLine()) code |= DLGC_WANTALLKEYS;
  // Asked with a message: the edit is in a dialog, whose keys it leaves to the dialog.
  if (msg) e.dialogMode = true;
  return code;
}

LRESULT onSetText(Edit& e, LPCSTR text) {
  setText(e, text ? text : "");
  syncHandle(e);
  updateScrollBars(e);
  InvalidateRect(e.hwnd, nullptr, TRUE);
  placeCaret(e);
  notify(e, EN_UPDATE);
  UpdateWindow(e.hwnd);
  // Windows sends no EN_CHANGE for WM_SETTEXT to a multi-line edit.
  if (!e.multiLine()) notify(e, EN_CHANGE);
  return TRUE;
}

LRESULT onGetText(const Edit& e, WPARAM size, LPSTR buffer) {
  if (!buffer || !size) return 0;
  size_t n = std::min((size_t)size - 1, e.text.size());
  memcpy(buffer, e.text.data(), n);
  buffer[n] = 0;
  return (LRESULT)n;
}

LRESULT onSetFont(Edit& e, HFONT font, bool redraw) {
  e.font = font;
  initMetrics(e);
  if (!e.formatSet) resetFormatRect(e);
  relayout(e, redraw);
  recreateCaret(e);
  return 0;
}

LRESULT onSetSel(Edit& e, WPARAM start, LPARAM end) {
  long long s = (int)start, t = (int)end;
  if (s == -1) {
    s = t = (long long)e.caret;  // -1 removes the selection and keeps the caret
  }
  if (t < 0) t = (long long)e.text.size();
  setSelection(e, (size_t)std::min<long long>(s, e.text.size()), (size_t)std::min<long long>(t, e.text.size()), true);
  return 1;  // documented as no value; Windows answers 1
}

LRESULT onReplaceSel(Edit& e, bool undoable, LPCSTR text) {
  if (!text) return 0;
  e.typingRun = false;
  bool truncated = false;
  if (replaceSelection(e, applyCase(e, text), true, undoable, truncated)) textChanged(e, true);
  if (truncated) notify(e, EN_MAXTEXT);
  return 0;
}

LRESULT onLineIndex(const Edit& e, WPARAM wParam) {
  long long line = (int)wParam;
  if (line == -1) line = (long long)lineFromChar(e, e.caret);
  if (line < 0 || line >= (long long)e.lines.size()) return -1;
  return (LRESULT)e.lines[(size_t)line].start;
}

LRESULT onLineLength(const Edit& e, WPARAM wParam) {
  if (!e.multiLine()) return (LRESULT)e.text.size();
  long long index = (int)wParam;
  if (index == -1) {
    // The unselected characters on the lines the selection touches.
    const Line& first = e.lines[lineFromChar(e, e.selStart())];
    const Line& last = e.lines[lineFromChar(e, e.selEnd())];
    return (LRESULT)((e.selStart() - first.start) + (last.start + last.length - std::min(e.selEnd(), last.start + last.length)));
  }
  if (index < 0 || index > (long long)e.text.size()) return 0;
  return (LRESULT)e.lines[lineFromChar(e, (size_t)index)].length;
}

LRESULT onLineFromChar(const Edit& e, WPARAM wParam) {
  if (!e.multiLine()) return 0;
  long long index = (int)wParam;
  if (index == -1) return (LRESULT)lineFromChar(e, e.selStart() != e.selEnd() ? e.selStart() : e.caret);
  return (LRESULT)lineFromChar(e, (size_t)std::clamp<long long>(index, 0, (long long)e.text.size()));
}

LRESULT onGetLine(const Edit& e, WPARAM wParam, LPSTR buffer) {
  if (!buffer) return 0;
  size_t line = e.multiLine() ? (size_t)wParam : 0;
  WORD room = 0;
  memcpy(&room, buffer, sizeof room);  // the first word holds the buffer's size
  if (line >= e.lines.size() || room == 0) return 0;
  size_t n = std::min<size_t>(room, e.lines[line].length);
  memcpy(buffer, e.text.data() + e.lines[line].start, n);
  return (LRESULT)n;
}

LRESULT onLimitText(Edit& e, WPARAM limit) {
  e.limit = limit ? (size_t)limit : (e.multiLine() ? 0xFFFFFFFFu : 0x7FFFFFFEu);
  return 0;
}

LRESULT onSetPasswordChar(Edit& e, WPARAM ch) {
  if (e.multiLine()) return 0;
  LONG style = GetWindowLongA(e.hwnd, GWL_STYLE);
  SetWindowLongA(e.hwnd, GWL_STYLE, ch ? style | ES_PASSWORD : style & ~ES_PASSWORD);
  if (ch) e.passwordChar = (char)ch;
  relayout(e);
  return 0;
}

LRESULT onScroll(Edit& e, WPARAM code) {
  if (!e.multiLine()) return FALSE;
  long long delta = 0;
  switch (code) {
    case SB_LINEUP: delta = -1; break;
    case SB_LINEDOWN: delta = 1; break;
    case SB_PAGEUP: delta = -visibleLines(e); break;
    case SB_PAGEDOWN: delta = visibleLines(e); break;
    default: return FALSE;
  }
  return MAKELRESULT((WORD)(short)scrollLines(e, delta), TRUE);
}

// The scroll bars of a multi-line edit: EN_VSCROLL / EN_HSCROLL, then the scroll.
LRESULT onScrollBar(Edit& e, bool vertical, WPARAM wParam) {
  WORD code = LOWORD(wParam);
  if (code == SB_ENDSCROLL) return 0;
  notify(e, vertical ? EN_VSCROLL : EN_HSCROLL);
  int page = vertical ? visibleLines(e) : std::max(1, (int)(e.format.right - e.format.left));
  int line = vertical ? 1 : e.averageCharWidth;
  int current = vertical ? (int)e.firstLine : e.xOffset;
  int target = current;
  switch (code) {
    case SB_LINEUP: target -= line; break;
    case SB_LINEDOWN: target += line; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = (short)HIWORD(wParam); break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = 0x7FFFFFF; break;
    default: return 0;
  }
  if (vertical) scrollLines(e, (long long)target - current);
  else scrollHorizontally(e, target - current);
  return 0;
}

LRESULT onSetRect(Edit& e, const RECT* rect, bool redraw) {
  if (!rect) {
    e.formatSet = false;
    resetFormatRect(e);
  } else {
    e.format = *rect;
    e.formatSet = true;
  }
  relayout(e, redraw);
  return 0;
}

LRESULT onSetMargins(Edit& e, WPARAM which, LPARAM margins) {
  auto margin = [&](WORD value) { return value == EC_USEFONTINFO ? e.averageCharWidth / 2 : (int)value; };
  if (which & EC_LEFTMARGIN) e.leftMargin = margin(LOWORD(margins));
  if (which & EC_RIGHTMARGIN) e.rightMargin = margin(HIWORD(margins));
  if (!e.formatSet) resetFormatRect(e);
  relayout(e);
  return 0;
}

LRESULT onPosFromChar(const Edit& e, WPARAM index) {
  if (index > e.text.size()) return -1;
  POINT p = posFromChar(e, snapToChar(e, index));
  return MAKELRESULT((WORD)(short)p.x, (WORD)(short)p.y);
}

LRESULT onCharFromPos(const Edit& e, LPARAM lParam) {
  POINT p{(short)LOWORD(lParam), (short)HIWORD(lParam)};
  size_t pos = charFromPoint(e, p);
  size_t line = e.multiLine() ? lineFromChar(e, pos) : 0;
  return MAKELRESULT((WORD)std::min<size_t>(pos, 0xFFFF), (WORD)std::min<size_t>(line, 0xFFFF));
}

LRESULT onGetHandle(Edit& e) {
  if (!e.handle) {
    e.handle = LocalAlloc(LMEM_MOVEABLE, e.text.size() + 1);
    if (!e.handle) {
      notify(e, EN_ERRSPACE);
      return 0;
    }
  }
  syncHandle(e);
  return (LRESULT)e.handle;
}

LRESULT onSetHandle(Edit& e, HLOCAL handle) {
  if (!handle) return 0;
  const char* bytes = (const char*)LocalLock(handle);
  if (!bytes) return 0;  // not a local memory handle: the text stays
  std::string text(bytes, strnlen(bytes, LocalSize(handle)));
  LocalUnlock(handle);
  if (e.handle && e.handle != handle) LocalFree(e.handle);
  e.handle = handle;
  setText(e, std::move(text));
  syncHandle(e);
  relayout(e);
  return 0;
}

LRESULT onSetTabStops(Edit& e, WPARAM count, const INT* stops) {
  if (!e.multiLine()) return FALSE;
  if (count && !stops) return FALSE;
  // Tab stops come in dialog units: a quarter of the average character width.
  e.tabStops.clear();
  for (WPARAM i = 0; i < count; ++i) e.tabStops.push_back(stops[i] * e.averageCharWidth / 4);
  relayout(e);
  return TRUE;
}

void onFocus(Edit& e, bool gained) {
  e.focused = gained;
  if (gained) {
    recreateCaret(e);
  } else {
    HideCaret(e.hwnd);
    DestroyCaret();
    e.tracking = false;
  }
  if (e.selStart() != e.selEnd()) InvalidateRect(e.hwnd, nullptr, TRUE);
  notify(e, gained ? EN_SETFOCUS : EN_KILLFOCUS);
}

LRESULT messages(Edit& e, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = e.hwnd;
  switch (msg) {
    case WM_CREATE: return onCreate(e, (const CREATESTRUCTA*)lParam);
    case WM_GETDLGCODE: return onGetDlgCode(e, (const MSG*)lParam);
    case WM_ERASEBKGND: return 1;  // painted with the parent's brush in WM_PAINT
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      control::PaintScope scope(hwnd, wParam);
      paint(e, scope.dc());
      return 0;
    }
    case WM_SIZE:
      if (!e.formatSet) resetFormatRect(e);
      relayout(e);
      scrollCaretIntoView(e);
      return 0;
    case WM_SETFONT: return onSetFont(e, (HFONT)wParam, LOWORD(lParam) != 0);
    case WM_GETFONT: return (LRESULT)e.font;
    case WM_SETTEXT: return onSetText(e, (LPCSTR)lParam);
    case WM_GETTEXT: return onGetText(e, wParam, (LPSTR)lParam);
    case WM_GETTEXTLENGTH: return (LRESULT)e.text.size();
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_SETFOCUS: onFocus(e, true); return 0;
    case WM_KILLFOCUS: onFocus(e, false); return 0;
    case WM_KEYDOWN: onKeyDown(e, (UINT)wParam); return 0;
    case WM_CHAR: onChar(e, (UINT)wParam); return 0;
    case WM_LBUTTONDOWN:
      onMouseDown(e, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)}, (wParam & MK_SHIFT) != 0);
      return 0;
    case WM_MOUSEMOVE: onMouseMove(e, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)}); return 0;
    case WM_LBUTTONUP: onMouseUp(e); return 0;
    case WM_LBUTTONDBLCLK: onDoubleClick(e, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)}); return 0;
    case WM_CAPTURECHANGED:
      e.tracking = false;
      KillTimer(hwnd, kDragScrollTimer);
      return 0;
    case WM_TIMER:
      if (wParam == kDragScrollTimer) onDragScrollTimer(e);
      return 0;
    case WM_MOUSEWHEEL:
      if (e.multiLine()) scrollLines(e, -3LL * (short)HIWORD(wParam) / 120);
      return 0;
    case WM_VSCROLL: return onScrollBar(e, true, wParam);
    case WM_HSCROLL: return onScrollBar(e, false, wParam);
    case WM_CUT: cut(e); return 0;
    case WM_COPY: copyToClipboard(e); return 0;
    case WM_PASTE: paste(e); return 0;
    case WM_CLEAR:
      if (!(e.style() & ES_READONLY)) clearSelection(e);
      return 0;
    case WM_UNDO:
    case EM_UNDO: {
      bool could = e.canUndo && !(e.style() & ES_READONLY);
      undoLast(e);
      return could;
    }
    case EM_CANUNDO: return e.canUndo;
    case EM_EMPTYUNDOBUFFER:
      e.canUndo = false;
      e.undo = Undo{};
      return 0;
    case EM_GETSEL:
      if (wParam) *(DWORD*)wParam = (DWORD)e.selStart();
      if (lParam) *(DWORD*)lParam = (DWORD)e.selEnd();
      return packSelection(e.selStart(), e.selEnd());
    case EM_SETSEL: return onSetSel(e, wParam, lParam);
    case EM_REPLACESEL: return onReplaceSel(e, wParam != 0, (LPCSTR)lParam);
    case EM_GETLINECOUNT: return (LRESULT)e.lines.size();
    case EM_LINEINDEX: return onLineIndex(e, wParam);
    case EM_LINELENGTH: return onLineLength(e, wParam);
    case EM_LINEFROMCHAR: return onLineFromChar(e, wParam);
    case EM_GETLINE: return onGetLine(e, wParam, (LPSTR)lParam);
    case EM_LIMITTEXT: return onLimitText(e, wParam);
    case EM_GETLIMITTEXT: return (LRESULT)e.limit;
    case EM_GETMODIFY: return e.modified;
    case EM_SETMODIFY: e.modified = wParam != 0; return 0;
    case EM_SETREADONLY: {
      LONG style = GetWindowLongA(hwnd, GWL_STYLE);
      SetWindowLongA(hwnd, GWL_STYLE, wParam ? style | ES_READONLY : style & ~ES_READONLY);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case EM_SETPASSWORDCHAR: return onSetPasswordChar(e, wParam);
    case EM_GETPASSWORDCHAR: return (e.style() & ES_PASSWORD) ? (unsigned char)e.passwordChar : 0;
    case EM_GETFIRSTVISIBLELINE:
      if (e.multiLine()) return (LRESULT)e.firstLine;
      return (LRESULT)charFromPoint(e, POINT{e.format.left, e.format.top});
    case EM_SCROLL: return onScroll(e, wParam);
    case EM_LINESCROLL:
      if (!e.multiLine()) return FALSE;
      scrollHorizontally(e, (int)wParam * e.averageCharWidth);
      scrollLines(e, (int)lParam);
      return TRUE;
    case EM_SCROLLCARET: scrollCaretIntoView(e); placeCaret(e); return TRUE;
    case EM_GETRECT:
      if (lParam) *(RECT*)lParam = e.format;
      return 0;
    case EM_SETRECT: return onSetRect(e, (const RECT*)lParam, true);
    case EM_SETRECTNP: return onSetRect(e, (const RECT*)lParam, false);
    case EM_SETMARGINS: return onSetMargins(e, wParam, lParam);
    case EM_GETMARGINS: return MAKELRESULT(e.leftMargin, e.rightMargin);
    case EM_POSFROMCHAR: return onPosFromChar(e, wParam);
    case EM_CHARFROMPOS: return onCharFromPos(e, lParam);
    case EM_GETHANDLE: return onGetHandle(e);
    case EM_SETHANDLE: return onSetHandle(e, (HLOCAL)wParam);
    case EM_SETTABSTOPS: return onSetTabStops(e, wParam, (const INT*)lParam);
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK editProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    Edit* e = control::attach<Edit>(hwnd);
    e->hwnd = hwnd;
    e->limit = kDefaultLimit;
    // An empty edit, laid out, from here on: a class derived from it may
    // send it any message before it sees WM_CREATE.
    initMetrics(*e);
    resetFormatRect(*e);
    setText(*e, "");
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  Edit* e = editOf(hwnd);
  if (!e) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    if (e->measureDC) DeleteDC(e->measureDC);
    if (e->handle) LocalFree(e->handle);
    control::detach<Edit>(hwnd);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  try {
    return messages(*e, msg, wParam, lParam);
  } catch (const std::bad_alloc&) {
    // No memory for the text: the text stays as it was and the parent is told.
    notify(*e, EN_ERRSPACE);
    return 0;
  }
}

const SystemClass kEditClass({"Edit", editProc, CS_DBLCLKS, control::kStateBytes, IDC_IBEAM, COLOR_WINDOW + 1});

}  // namespace

void notify(Edit& e, WORD code) { control::notifyParent(e.hwnd, code); }

namespace {

// What a change from `from` on shows differently: on one line the run from the
// change to the line's end, on many lines every row from the one before it
// (a wrapped word may move up) down. Aligned text moves as a whole.
void invalidateFrom(Edit& e, size_t from) {
  RECT client{};
  GetClientRect(e.hwnd, &client);
  if (from == std::string::npos || from > e.text.size()) {
    InvalidateRect(e.hwnd, nullptr, TRUE);
    return;
  }
  POINT p = posFromChar(e, from);
  RECT r = client;
  if (!e.multiLine()) {
    if (!(e.style() & (ES_CENTER | ES_RIGHT))) r.left = std::max(client.left, p.x);
    r.top = std::max(client.top, p.y);
    r.bottom = std::min(client.bottom, p.y + e.lineHeight);
  } else {
    r.top = std::max(client.top, p.y - e.lineHeight);
  }
  InvalidateRect(e.hwnd, &r, TRUE);
}

}  // namespace

void textChanged(Edit& e, bool notifyParent) {
  syncHandle(e);
  updateScrollBars(e);
  size_t from = e.changedFrom;
  e.changedFrom = std::string::npos;
  if (!scrollCaretIntoView(e)) invalidateFrom(e, from);
  placeCaret(e);
  if (!notifyParent) return;
  // EN_UPDATE once the text is formatted, EN_CHANGE once it shows.
  notify(e, EN_UPDATE);
  UpdateWindow(e.hwnd);
  notify(e, EN_CHANGE);
}

void setSelection(Edit& e, size_t anchor, size_t caret, bool scroll) {
  anchor = snapToChar(e, anchor);
  caret = snapToChar(e, caret);
  if (anchor != e.anchor || caret != e.caret) {
    e.anchor = anchor;
    e.caret = caret;
    e.typingRun = false;  // typing elsewhere is a new step of undo
    InvalidateRect(e.hwnd, nullptr, TRUE);
  }
  if (scroll) scrollCaretIntoView(e);
  placeCaret(e);
}

void undoLast(Edit& e) {
  if (!e.canUndo || (e.style() & ES_READONLY)) return;
  // Undoing swaps the text with the kept one, so a second undo redoes.
  Undo current{e.text, e.anchor, e.caret};
  e.text = std::move(e.undo.text);
  e.anchor = std::min(e.undo.anchor, e.text.size());
  e.caret = std::min(e.undo.caret, e.text.size());
  e.undo = std::move(current);
  e.typingRun = false;
  e.modified = true;
  layout(e);
  textChanged(e, true);
}

}  // namespace win32::user::edit
