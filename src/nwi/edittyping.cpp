// Typing, deleting, the keys, the clipboard, the mouse and scrolling of the
// edit control. Keys go through the data-type layer's key and delete steps
// (HCtlEditKey, HCtlDeleteKey); strings are inserted here.
#include <algorithm>
#include <cstring>
#include <string>

#include "editcontrol.h"
#include "formatdata.h"
#include "intlsettings.h"
#include "library.h"
#include "ravlets.h"

namespace {

// The DBCS lead byte waiting for its trail byte; shared by every edit of
// the process, as the keyboard is.
char g_pendingLead = 0;
// A refused lead byte's trail byte must not arrive as a character of its own.
bool g_dropTrail = false;

bool readOnly(const HEdRecord* r) { return (r->head.style & HES_READONLY) != 0; }
bool pictureField(const HEdRecord* r) { return (r->head.style & 0xC000) != 0; }
bool numericKeys(const HEdRecord* r) { return r->type == 'n' || r->type == 'c' || r->fieldKind == 'f'; }
bool hasSelection(const HEdRecord* r) { return r->anchor != r->caret; }
bool scrolls(const HEdRecord* r) {
  return (r->head.style & HES_AUTOSCROLL) || (GetWindowLongA(r->head.window, GWL_STYLE) & WS_HSCROLL);
}
bool keyHeld(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

void changed(HEdRecord* r) {
  r->head.flags |= HED_DIRTY;
  HEdUpdateLastFirstVisible(r);
  InvalidateRect(r->head.window, nullptr, TRUE);
}

void notifyChange(HEdRecord* r) {
  r->rangeFlags |= HED_TOUCHED;
  HCtlNotify(&r->head, HED_N_CHANGE);
}

int textWidth(HEdRecord* r, const char* text, int length) {
  HDC dc = GetDC(r->head.window);
  HGDIOBJ old = SelectObject(dc, r->head.font ? static_cast<HGDIOBJ>(r->head.font) : GetStockObject(SYSTEM_FONT));
  SIZE size{};
  GetTextExtentPoint32A(dc, text, length, &size);
  SelectObject(dc, old);
  ReleaseDC(r->head.window, dc);
  return size.cx;
}

// String insertion of one character (or a DBCS pair) at the caret. 0
// accepted, 1 refused.
int insertString(HEdRecord* r, const char* bytes, int count) {
  const bool overwrite = GetOverwriteMode() && !(r->head.flags & HED_REPLACING);
  int length = HEdTextLength(r);
  const bool inserting = !overwrite || r->caret >= length;
  if (inserting && length + count > r->textSize - 1) {
    if (r->head.flags & HED_FIXEDLEN) {
      HCtlNotify(&r->head, HED_N_FULL);
      return 1;
    }
    // Grown by half again (at least 32 bytes): typing into a long text
    // does not copy it every few characters.
    if (!HEdGrowBuffers(r, r->textSize + std::max(32, r->textSize / 2))) return 1;
  }
  // Only a field that does not scroll can refuse what it measured: the old
  // text is kept for that alone.
  const std::string before = scrolls(r) ? std::string() : std::string(r->text);
  if (!inserting) {
    // The character replaces the one at the caret; a DBCS character there
    // leaves its trail byte behind as a space.
    const int old = (HCtlIsLeadByte(r->text[r->caret]) && r->text[r->caret + 1]) ? 2 : 1;
    if (count > old && length + count - old > r->textSize - 1) return 1;
    std::memmove(r->text + r->caret + count, r->text + r->caret + old, length - r->caret - old + 1);
    std::memcpy(r->text + r->caret, bytes, count);
    (void)old;
  } else if (r->fieldKind == 'f' && count == 1 && r->text[r->caret] == bytes[0]) {
    // typing the character under the caret moves over it
  } else {
    std::memmove(r->text + r->caret + count, r->text + r->caret, length - r->caret + 1);
    std::memcpy(r->text + r->caret, bytes, count);
  }
  if (!scrolls(r) && textWidth(r, r->text, HEdTextLength(r)) > r->format.right - r->format.left) {
    HCtlCopyText(r->text, before.c_str(), r->textSize);
    return 1;
  }
  r->caret += count;
  r->anchor = r->caret;
  return 0;
}

// One typed character through the typing steps; 0 accepted.
int typeOne(HEdRecord* r, char c, bool notify) {
  WORD& flags = r->head.flags;
  // What a refusal restores. A string field restores its own text (its
  // insertion refuses before writing); only a null one is shown first and
  // keeps its text here.
  const bool keepsText = r->type != 's' || (flags & HED_NULL);
  const std::string kept = keepsText ? std::string(r->text) : std::string();
  char bytes[2] = {c, 0};
  int count = 1;
  if (g_dropTrail) {
    g_dropTrail = false;
    return 1;
  }
  if (g_pendingLead) {
    bytes[0] = g_pendingLead;
    bytes[1] = c;
    count = 2;
    g_pendingLead = 0;
  } else if (HCtlIsLeadByte(c)) {
    if (HEdTextLength(r) + 3 > r->textSize) {
      if ((flags & HED_FIXEDLEN) || !HEdGrowBuffers(r, r->textSize + 32)) {
        MessageBeep(0);
        g_dropTrail = true;
        return 1;
      }
    }
    g_pendingLead = c;
    return 0;
  }
  if (count == 1) {
    if (r->head.style & HES_UPPER) CharUpperBuffA(bytes, 1);
    else if (r->head.style & HES_LOWER) CharLowerBuffA(bytes, 1);
    if (numericKeys(r) && (bytes[0] == 'n' || bytes[0] == '.' || bytes[0] == ','))
      bytes[0] = HCtlIntlSettings().decimalSep;
  }
  const bool wasNull = (flags & HED_NULL) != 0;
  if (wasNull) {
    flags &= ~HED_NULL;
    HEdShow(r, 1);
  }
  int refused;
  if (r->type == 's') {
    refused = insertString(r, bytes, count);
  } else {
    if (count == 2) refused = 1;
    else {
      if (HEdTextLength(r) > r->textSize - 5) HEdGrowBuffers(r, r->textSize + 32);
      int newCaret = r->caret, select = 0;
      refused = HCtlEditKey(r->type, r->storage, r->text, r->textSize, r->picture, r->caret, bytes[0], &newCaret,
                            &select, r->storage);
      if (!refused) {
        if (r->type == 'b') {
          r->caret = 0;
        } else {
          r->caret = std::clamp(newCaret, 0, HEdTextLength(r));
        }
        r->anchor = select ? HEdTextLength(r) : r->caret;
      }
    }
  }
  if (refused) {
    if (wasNull) flags |= HED_NULL;
    if (keepsText) HCtlCopyText(r->text, kept.c_str(), r->textSize);
    MessageBeep(0);
    return 1;
  }
  if (wasNull) flags |= HED_MODIFIED;
  changed(r);
  if (notify) notifyChange(r);
  return 0;
}

void deleteOne(HEdRecord* r, bool moveCaret) {
  if (r->head.flags & HED_NULL) return;
  const int length = HEdTextLength(r);
  if (r->caret >= length) return;
  const int step = HCtlDeleteKey(r->type, r->storage, r->text, r->picture, r->caret);
  if (moveCaret && step) r->caret = std::min(r->caret + step, HEdTextLength(r));
  r->anchor = r->caret;
  r->head.flags |= HED_DIRTY;
}

void becomeNull(HEdRecord* r) {
  HEdSetValue(r, nullptr);
  r->head.flags &= ~HED_DIRTY;
  r->head.flags |= HED_MODIFIED;
}

// Previous/next character boundary (a DBCS pair counts as one).
int previousChar(const HEdRecord* r, int position) {
  if (position <= 0) return 0;
  // A byte that cannot lead a pair ends a character, so the walk starts
  // after the nearest such byte before the position, not at the text's
  // start: the cost is the run of possible lead bytes, not the length.
  int p = position - 1;
  while (p > 0 && HCtlIsLeadByte(r->text[p - 1])) --p;
  int last = p;
  while (p < position) {
    last = p;
    p += (HCtlIsLeadByte(r->text[p]) && r->text[p + 1]) ? 2 : 1;
  }
  return last;
}
int nextChar(const HEdRecord* r, int position) {
  const int length = HEdTextLength(r);
  if (position >= length) return length;
  return position + ((HCtlIsLeadByte(r->text[position]) && r->text[position + 1]) ? 2 : 1);
}
bool wordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || (static_cast<BYTE>(c) >= 0x80); }
int previousWord(const HEdRecord* r, int p) {
  while (p > 0 && r->text[p - 1] == ' ') --p;
  while (p > 0 && wordChar(r->text[p - 1])) --p;
  return p;
}
int nextWord(const HEdRecord* r, int p) {
  const int length = HEdTextLength(r);
  while (p < length && wordChar(r->text[p])) ++p;
  while (p < length && r->text[p] == ' ') ++p;
  return p;
}

void moveTo(HEdRecord* r, int position, bool extend) {
  HEdSetSel(r, extend ? 1 : 0, position, position);
}

int savedAnchor = 0, savedCaret = 0;

}  // namespace

void HEdDeleteAt(HEdRecord* r, bool moveCaret) {
  if ((r->rangeFlags & HED_EMPTYNULL) && HEdTextLength(r) == 1) {
    becomeNull(r);
    return;
  }
  if (r->head.flags & HED_NULL) return;
  deleteOne(r, moveCaret);
  changed(r);
  notifyChange(r);
}

void HEdDeleteSelection(HEdRecord* r, bool suspendEmptyNull) {
  if (!hasSelection(r) || (r->head.flags & HED_NULL)) return;
  const int low = std::min(r->anchor, r->caret), high = std::max(r->anchor, r->caret);
  if ((r->rangeFlags & HED_EMPTYNULL) && !suspendEmptyNull && low == 0 && high >= HEdTextLength(r)) {
    becomeNull(r);
    return;
  }
  r->caret = r->anchor = low;
  const int before = HEdTextLength(r);
  // A date or time text selected whole is emptied: the date keys type into
  // an empty text field by field, while blanking its fields one by one
  // leaves separators that no key can fill.
  if (std::strchr("adtk", r->type) && low == 0 && high >= before) {
    r->text[0] = '\0';
    changed(r);
    return;
  }
  // One delete step per selected byte; a step that keeps its character (a
  // mask literal, a separator) moves over it, and so does one that blanks
  // its character in place (masks, dates).
  for (int i = 0; i < high - low && r->caret < HEdTextLength(r); ++i) {
    const int length = HEdTextLength(r);
    const int step = HCtlDeleteKey(r->type, r->storage, r->text, r->picture, r->caret);
    if (step) r->caret += step;
    else if (HEdTextLength(r) == length) ++r->caret;
  }
  (void)before;
  if (r->type != 'z') r->caret = low;
  r->anchor = r->caret;
  changed(r);
}

LRESULT HEdChar(HEdRecord* r, WPARAM character) {
  WORD& flags = r->head.flags;
  const char c = static_cast<char>(character);
  if (pictureField(r)) return 0;
  if (flags & HED_SWALLOW) {
    flags &= ~HED_SWALLOW;
    return 0;
  }
  if (c == '\t' || c == '\r' || c == 27 || readOnly(r) || (flags & HED_DISPLAY)) return 0;
  const bool printable = static_cast<BYTE>(c) >= 0x80 || (c >= 0x20 && c < 0x7F);
  if (!printable && c != '\b') return 0;
  if (hasSelection(r) && g_pendingLead == 0) {
    const WORD quiet = flags & HCTL_NONOTIFY;
    flags |= HCTL_NONOTIFY;
    HEdDeleteSelection(r, printable);
    flags = (flags & ~HCTL_NONOTIFY) | quiet;
    flags |= HED_REPLACING;
  }
  if (c == '\b') {
    if (r->caret > 0 && !(flags & HED_REPLACING)) {
      r->caret = previousChar(r, r->caret);
      r->anchor = r->caret;
      HEdDeleteAt(r, r->type == 'z');
    } else if (flags & HED_REPLACING) {
      notifyChange(r);
    }
  } else {
    typeOne(r, c, g_pendingLead == 0);
  }
  flags &= ~HED_REPLACING;
  if (IsWindow(r->head.window)) HEdSetSel(r, 1, r->anchor, r->caret);
  return 0;
}

LRESULT HEdKeyDown(HEdRecord* r, UINT key, BOOL system) {
  if (pictureField(r)) return 0;
  const bool shift = keyHeld(VK_SHIFT), ctrl = keyHeld(VK_CONTROL), rightAlt = keyHeld(VK_RMENU);
  HWND window = r->head.window;
  if (system) {
    if (key == VK_BACK) SendMessageA(window, WM_UNDO, 0, 0), HEdSetSel(r, 0, 0, -1);
    return 0;
  }
  if (key == VK_F2 && !(r->head.flags & HED_DISPLAY)) {
    savedAnchor = r->anchor;
    savedCaret = r->caret;
    HideCaret(window);
    HEdCommit(r, r->text);
    HEdShow(r, 0);
    return 0;
  }
  if (r->head.flags & HED_DISPLAY) return 0;
  if (ctrl && !rightAlt) {
    switch (key) {
      case 'C': r->head.flags |= HED_SWALLOW; SendMessageA(window, WM_COPY, 0, 0); return 0;
      case 'V': SendMessageA(window, WM_PASTE, 0, 0); return 0;
      case 'X': SendMessageA(window, WM_CUT, 0, 0); return 0;
      case 'Z':
        SendMessageA(window, WM_UNDO, 0, 0);
        HEdSetSel(r, 0, 0, -1);
        return 0;
      default: break;
    }
  }
  switch (key) {
    case VK_DELETE:
      if (shift) SendMessageA(window, WM_CUT, 0, 0);
      else if (!readOnly(r)) {
        if (hasSelection(r)) {
          HEdDeleteSelection(r, false);
          if (IsWindow(window) && !(r->head.flags & HED_NULL)) notifyChange(r);
        } else {
          HEdDeleteAt(r, true);
        }
        HEdSetSel(r, 1, r->anchor, r->caret);
      }
      break;
    case VK_INSERT:
      if (shift) SendMessageA(window, WM_PASTE, 0, 0);
      else if (ctrl) SendMessageA(window, WM_COPY, 0, 0);
      else {
        SetOverwriteMode(!GetOverwriteMode());
        HEdMakeCaret(r);
      }
      break;
    case VK_F1: HCtlNotify(&r->head, HED_N_HELP); break;
    case VK_HOME: moveTo(r, 0, shift); break;
    case VK_END: moveTo(r, HEdTextLength(r), shift); break;
    case VK_LEFT: case VK_UP: moveTo(r, ctrl ? previousWord(r, r->caret) : previousChar(r, r->caret), shift); break;
    case VK_RIGHT: case VK_DOWN: moveTo(r, ctrl ? nextWord(r, r->caret) : nextChar(r, r->caret), shift); break;
    case VK_TAB:
      SendMessageA(GetParent(window), WM_NEXTDLGCTL, shift ? 1 : 0, 0);
      HCtlNotify(&r->head, shift ? HED_N_BACKTAB : HED_N_TAB);
      break;
    case VK_RETURN: HCtlNotify(&r->head, HED_N_ENTER); break;
    case VK_ESCAPE: HCtlNotify(&r->head, HED_N_ESCAPE); break;
    default: break;
  }
  return 0;
}

void HEdKeyUp(HEdRecord* r, UINT key) {
  if (pictureField(r)) {
    if (key == VK_F2) HEdPictureDialog(r);
    return;
  }
  if (key != VK_F2 || pictureField(r) || !(r->head.flags & HED_FOCUS) || !(r->head.flags & HED_DISPLAY)) return;
  HEdShow(r, 1);
  ShowCaret(r->head.window);
  HEdSetSel(r, 0, savedAnchor, savedCaret);
}

LRESULT HEdCopy(HEdRecord* r) {
  const int length = HEdTextLength(r);
  const int low = std::clamp(std::min(r->anchor, r->caret), 0, length);
  const int high = std::clamp(std::max(r->anchor, r->caret), 0, length);
  if ((r->head.style & HES_PASSWORD) || low == high) {
    MessageBeep(0);
    return 0;
  }
  if (!OpenClipboard(r->head.window)) return 0;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, high - low + 1);
  if (auto* p = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr) {
    std::memcpy(p, r->text + low, high - low);
    p[high - low] = '\0';
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
  return 1;
}

LRESULT HEdCut(HEdRecord* r) {
  if ((r->head.style & (HES_PASSWORD | HES_READONLY)) || !hasSelection(r)) {
    MessageBeep(0);
    return 0;
  }
  if (!HEdCopy(r)) return 0;
  HEdDeleteSelection(r, false);
  if (IsWindow(r->head.window) && !(r->head.flags & HED_NULL)) notifyChange(r);
  HEdSetSel(r, 1, r->anchor, r->caret);
  return 1;
}

void HEdInsertText(HEdRecord* r, const char* text) {
  if (r == nullptr || text == nullptr) return;
  WORD& flags = r->head.flags;
  SendMessageA(r->head.window, WM_SETREDRAW, FALSE, 0);
  if (hasSelection(r)) {
    const WORD quiet = flags & HCTL_NONOTIFY;
    flags |= HCTL_NONOTIFY;
    HEdDeleteSelection(r, true);
    flags = (flags & ~HCTL_NONOTIFY) | quiet;
  }
  const bool overwrite = GetOverwriteMode() != 0;
  const int length = HEdTextLength(r);
  int room = overwrite ? r->textSize - r->anchor - 1 : r->textSize - length - 1;
  int count = static_cast<int>(std::strlen(text));
  if (r->type == 's' && !(flags & HED_FIXEDLEN)) room = count;
  if (count > room) {
    count = std::max(room, 0);
    MessageBeep(0);
  }
  const char decimal = HCtlIntlSettings().decimalSep, thousands = HCtlIntlSettings().thousandsSep;
  bool any = false;
  const WORD quiet = flags & HCTL_NONOTIFY;
  flags |= HCTL_NONOTIFY;
  for (int i = 0; i < count; ++i) {
    const char c = text[i];
    if (numericKeys(r) && (c == thousands || ((c == '.' || c == ',') && c != decimal))) continue;
    if (static_cast<BYTE>(c) < 0x20) continue;
    if (typeOne(r, c, false) == 0) any = true;
  }
  g_pendingLead = 0;
  flags = (flags & ~HCTL_NONOTIFY) | quiet;
  SendMessageA(r->head.window, WM_SETREDRAW, TRUE, 0);
  HEdSetSel(r, 1, r->anchor, r->caret);
  InvalidateRect(r->head.window, nullptr, TRUE);
  if (any) notifyChange(r);
}

LRESULT HEdPaste(HEdRecord* r) {
  if (r->head.style & (HES_PASSWORD | HES_READONLY)) {
    MessageBeep(0);
    return 0;
  }
  if (!OpenClipboard(r->head.window)) return 0;
  std::string text;
  if (HANDLE memory = GetClipboardData(CF_TEXT)) {
    if (auto* p = static_cast<const char*>(GlobalLock(memory))) {
      text.assign(p, strnlen(p, GlobalSize(memory)));
      GlobalUnlock(memory);
    }
  }
  CloseClipboard();
  HEdInsertText(r, text.c_str());
  return 1;
}

int HEdFittingBefore(HEdRecord* r, int end, int width) {
  // One extent of the run before `end` that can fit at most (no character
  // is narrower than a pixel), counted back from `end`.
  if (end <= 0 || width <= 0) return 0;
  HDC dc = GetDC(r->head.window);
  HGDIOBJ old = SelectObject(dc, r->head.font ? static_cast<HGDIOBJ>(r->head.font) : GetStockObject(SYSTEM_FONT));
  const int tail = std::min(end, width);
  int fit = 0;
  SIZE size{};
  std::string reversed(r->text + end - tail, r->text + end);
  std::reverse(reversed.begin(), reversed.end());
  GetTextExtentExPointA(dc, reversed.c_str(), tail, width, &fit, nullptr, &size);
  SelectObject(dc, old);
  ReleaseDC(r->head.window, dc);
  return fit;
}

void HEdUpdateLastFirstVisible(HEdRecord* r) {
  const int length = HEdTextLength(r);
  const int fitting = HEdFittingBefore(r, length, r->format.right - r->format.left);
  const int last = length - fitting;
  if (last <= 0) r->lastFirstVisible = 0;
  else if (std::abs(last - r->lastFirstVisible) > 3 || r->lastFirstVisible < last)
    r->lastFirstVisible = std::min(last + 3, length);
  r->firstVisible = std::clamp(r->firstVisible, 0, r->lastFirstVisible);
  if (GetWindowLongA(r->head.window, GWL_STYLE) & WS_HSCROLL) {
    SetScrollRange(r->head.window, SB_HORZ, 0, r->lastFirstVisible, FALSE);
    SetScrollPos(r->head.window, SB_HORZ, r->firstVisible, TRUE);
  }
}

void HEdScroll(HEdRecord* r, int count) {
  count = std::clamp(count, -r->firstVisible, r->lastFirstVisible - r->firstVisible);
  if (count == 0) return;
  r->firstVisible += count;
  if (GetWindowLongA(r->head.window, GWL_STYLE) & WS_HSCROLL) SetScrollPos(r->head.window, SB_HORZ, r->firstVisible, TRUE);
  HCtlNotify(&r->head, HED_N_SCROLL);
  InvalidateRect(r->head.window, nullptr, TRUE);
}

void HEdHScroll(HEdRecord* r, int code, int position) {
  const int page = std::max(r->visibleChars - 1, 1);
  switch (code) {
    case SB_LINELEFT: HEdScroll(r, -1); break;
    case SB_LINERIGHT: HEdScroll(r, 1); break;
    case SB_PAGELEFT: HEdScroll(r, -page); break;
    case SB_PAGERIGHT: HEdScroll(r, page); break;
    case SB_THUMBTRACK:
      r->head.flags |= HED_THUMB;
      HEdScroll(r, position - r->firstVisible);
      break;
    default:
      r->head.flags &= ~HED_THUMB;
      if (GetWindowLongA(r->head.window, GWL_STYLE) & WS_HSCROLL) SetScrollPos(r->head.window, SB_HORZ, r->firstVisible, TRUE);
      break;
  }
}

void HEdMouse(HEdRecord* r, UINT message, WPARAM keys, int x, int y) {
  (void)y;
  HWND window = r->head.window;
  const bool text = !pictureField(r);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!(r->head.flags & HED_FOCUS)) {
        SetFocus(window);
        if (text) SetCursor(HCtlIBeamCursor());
      } else if (text) {
        const int p = HEdCharAtX(r, x);
        HEdSetSel(r, (keys & MK_SHIFT) ? 1 : 0, p, p);
        SetCapture(window);
      }
      if (message == WM_LBUTTONDBLCLK && text) {
        const int p = HEdCharAtX(r, x);
        int start = p, end = p;
        while (start > 0 && wordChar(r->text[start - 1])) --start;
        while (end < HEdTextLength(r) && wordChar(r->text[end])) ++end;
        HEdSetSel(r, 0, start, end);
        HCtlNotify(&r->head, HED_N_DBLCLK);
      }
      break;
    case WM_MOUSEMOVE:
      if (GetCapture() == window && text) HEdSetSel(r, 1, 0, HEdCharAtX(r, x));
      break;
    case WM_LBUTTONUP:
      if (GetCapture() == window) ReleaseCapture();
      break;
    default: break;
  }
}
