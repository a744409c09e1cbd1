// The button's window messages: creation from the definition string, the
// standard BM_* messages (also as WM_USER+0..4), the private messages, the
// check state with its typed value, radio groups, mouse and keyboard.
#include "button.h"

#include <algorithm>
#include <cstring>

#include "datatypes.h"
#include "kymessages.h"
#include "library.h"
#include "markup.h"
#include "suballocator.h"
#include "tokencodec.h"

namespace {

int instances = 0;  // live buttons: the shared "no value" pictures are held while there are any

HButtRecord* recordOf(HCtlRecord* head) { return reinterpret_cast<HButtRecord*>(head); }
bool has(const HButtRecord* r, WORD flag) { return (r->head.flags & flag) != 0; }
void setFlag(HButtRecord* r, WORD flag, bool on) {
  r->head.flags = on ? static_cast<WORD>(r->head.flags | flag) : static_cast<WORD>(r->head.flags & ~flag);
}
DWORD style(const HButtRecord* r) { return r->head.style; }
int stateStep(const HButtRecord* r) { return (style(r) & HBS_TWOPICTURES) ? 2 : 1; }
bool radio(const HButtRecord* r) { return HButtIsRadio(HButtType(r)); }
void repaint(HButtRecord* r) { InvalidateRect(r->head.window, nullptr, TRUE); }

// --- pictures ---------------------------------------------------------------

void recountStates(HButtRecord* r) {
  const int least = (HButtType(r) > 1 ? 2 : 1) * stateStep(r);
  r->stateCount = static_cast<BYTE>(std::clamp(std::max(least, r->pictureCount), 1, 255));
  if (r->checkState >= r->stateCount) r->checkState = 0;
}

// Grows (4 slots at a time) or shrinks the picture array; freed slots give
// their pictures back. FALSE when memory runs out (nothing changed).
bool resizePictures(HButtRecord* r, int count) {
  count = std::clamp(count, 0, 255);
  for (int i = count; i < r->pictureCount; ++i) HCtlFreePicture(&r->pictures[i]);
  if (count > r->pictureCapacity) {
    const int capacity = (count + 3) / 4 * 4;
    void* grown = r->pictures ? HCtlRealloc(r->pictures, capacity * static_cast<int>(sizeof(HCtlPicture)))
                              : HCtlAlloc(capacity * static_cast<int>(sizeof(HCtlPicture)));
    if (grown == nullptr) return false;
    r->pictures = static_cast<HCtlPicture*>(grown);
    std::memset(r->pictures + r->pictureCapacity, 0, (capacity - r->pictureCapacity) * sizeof(HCtlPicture));
    r->pictureCapacity = capacity;
  }
  for (int i = r->pictureCount; i < count; ++i) r->pictures[i] = HCtlPicture{};
  r->pictureCount = count;
  recountStates(r);
  return true;
}

void loadDefaultPicture(HButtRecord* r, int index) {
  const char* name = HButtDefaultPicture(HButtType(r), index);
  if (name != nullptr) HCtlLoadPicture(&r->pictures[index], HCtlLibraryModule(), name, FALSE);
}

// A name with a '.' is a file; others are bitmaps of the creating module (or the library's).
void loadPicture(HButtRecord* r, int index, HINSTANCE module, const char* name) {
  HCtlFreePicture(&r->pictures[index]);
  const bool file = std::strchr(name, '.') != nullptr;
  if (*name == '\0' || !HCtlLoadPicture(&r->pictures[index], module, name, file ? TRUE : FALSE))
    loadDefaultPicture(r, index);
}

void freePictures(HButtRecord* r) {
  for (int i = 0; i < r->pictureCount; ++i) HCtlFreePicture(&r->pictures[i]);
  HCtlFree(r->pictures);
  r->pictures = nullptr;
  r->pictureCount = r->pictureCapacity = 0;
}

// --- the value ----------------------------------------------------------------

bool isRadioWindow(HWND window) {
  return window != nullptr && (SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

// 1 + the radio members before the button in its group.
int groupPosition(const HButtRecord* r) {
  int position = 1;
  for (HWND w = r->head.window; (GetWindowLongA(w, GWL_STYLE) & WS_GROUP) == 0;) {
    w = GetWindow(w, GW_HWNDPREV);
    if (!isRadioWindow(w)) break;
    ++position;
  }
  return position;
}

bool lastOfGroup(const HButtRecord* r) {
  HWND next = GetWindow(r->head.window, GW_HWNDNEXT);
  return next == nullptr || (GetWindowLongA(next, GWL_STYLE) & WS_GROUP) != 0 || !isRadioWindow(next);
}

WORD radioValue(const HButtRecord* r) {
  return has(r, HBF_GROUPVALUES) ? static_cast<WORD>(groupPosition(r)) : r->head.id;
}

int valueSize(const HButtRecord* r) { return radio(r) ? 2 : HCtlStorageSize('b', r->storage); }

// Writes the value into `buffer`: the check state by the storage letter, or
// a radio button's value when it is checked (else 0). The size, or -1.
int writeValue(const HButtRecord* r, void* buffer) {
  if (buffer == nullptr) return -1;
  if (radio(r)) {
    const WORD value = r->checkState != 0 ? radioValue(r) : 0;
    std::memcpy(buffer, &value, sizeof value);
    return 2;
  }
  if (has(r, HCTL_NOVALUE)) return 0;
  if (!HCtlDoubleToValue(buffer, r->storage, r->checkState / stateStep(r))) return -1;
  return valueSize(r);
}

// Code 0, then 768 for check boxes, radio buttons and three-state boxes;
// a veto of the first (or the button's end) skips the second.
void notifyClick(HButtRecord* r) {
  if (HCtlNotify(&r->head, HBN_CLICKED) != 0) return;
  if (HButtType(r) >= HBT_CHECK) HCtlNotify(&r->head, HBN_CHANGED);
}

void uncheckGroup(HButtRecord* r) {
  HWND self = r->head.window;
  HWND parent = GetParent(self);
  for (BOOL previous : {TRUE, FALSE}) {
    for (HWND w = GetNextDlgGroupItem(parent, self, previous); w != nullptr && w != self;
         w = GetNextDlgGroupItem(parent, w, previous)) {
      if (!isRadioWindow(w)) break;
      SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) & ~WS_TABSTOP);
      SendMessageA(w, BM_SETCHECK, 0, 0);
    }
  }
}

// Sets the check state (counted in steps of 2 with HBS_TWOPICTURES); the
// bound value follows. With `notify` the target hears of it: code 0 and,
// for check boxes, radio buttons and three-state boxes, 768. A radio button
// that goes off is told nothing (its group's new member tells).
void setCheck(HButtRecord* r, int requested, bool notify) {
  HWND window = r->head.window;
  const int state = (requested * stateStep(r)) % std::max<int>(r->stateCount, 1);
  const bool changed = state != r->checkState || has(r, HCTL_NOVALUE);
  r->checkState = static_cast<BYTE>(state);
  setFlag(r, HCTL_NOVALUE, false);
  if (changed) setFlag(r, HCTL_CHANGED, true);
  if (r->bound != nullptr && (!radio(r) || state != 0)) writeValue(r, r->bound);
  repaint(r);
  if (radio(r) && (style(r) & HBS_AUTO) && state != 0) {
    if (r->hadTabStop) SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) | WS_TABSTOP);
    uncheckGroup(r);
  }
  if (!notify || (radio(r) && state == 0)) return;
  notifyClick(r);
}

LRESULT setValue(HButtRecord* r, WPARAM groupValues, const void* value) {
  if (radio(r)) {
    setFlag(r, HBF_GROUPVALUES, groupValues == 1);
    if (value == nullptr) {
      setFlag(r, HCTL_NOVALUE, true);
      r->checkState = 0;
    } else {
      WORD wanted = 0;
      std::memcpy(&wanted, value, sizeof wanted);
      r->checkState = static_cast<BYTE>(wanted == radioValue(r) ? stateStep(r) : 0);
      setFlag(r, HCTL_NOVALUE, false);
    }
    repaint(r);
    // The group shares one value: every member looks at it.
    if (!lastOfGroup(r))
      SendMessageA(GetWindow(r->head.window, GW_HWNDNEXT), KYM_BUTTSETVALUE, groupValues,
                   reinterpret_cast<LPARAM>(value));
    return 1;
  }
  if (value == nullptr) {
    setFlag(r, HCTL_NOVALUE, true);
    r->checkState = 0;
  } else {
    const int states = std::max(r->stateCount / stateStep(r), 1);
    const double number = HCtlValueToDouble(value, r->storage);
    // A value beyond the states is no state of this box: it counts as checked.
    const int state = number <= 0 ? 0 : std::min(static_cast<int>(number), states - 1);
    r->checkState = static_cast<BYTE>(state * stateStep(r));
    setFlag(r, HCTL_NOVALUE, false);
  }
  repaint(r);
  return 1;
}

LRESULT bindValue(HButtRecord* r, LPARAM buffer) {
  r->bound = reinterpret_cast<void*>(buffer);
  if (radio(r) && !lastOfGroup(r))
    SendMessageA(GetWindow(r->head.window, GW_HWNDNEXT), KYM_BUTTSETLINK, 0, buffer);
  return 1;
}

// --- pushing and clicking -------------------------------------------------------

void showPushed(HButtRecord* r, bool pushed) {
  if (has(r, HBF_PUSHED) == pushed) return;
  setFlag(r, HBF_PUSHED, pushed);
  repaint(r);
}

void press(HButtRecord* r) {
  showPushed(r, true);
  HCtlUpdateTopWindow(r->head.window);
  HButtPlaySound(r);
}

void click(HButtRecord* r, bool notify) {
  showPushed(r, false);
  UpdateWindow(r->head.window);
  if (style(r) & HBS_AUTO) {
    // A radio button is checked by its click, never unchecked: its group
    // would be left without a selection while the bound value still named it.
    const int states = std::max(r->stateCount / stateStep(r), 1);
    setCheck(r, radio(r) ? 1 : (r->checkState / stateStep(r) + 1) % states, notify);
    return;
  }
  if (notify) notifyClick(r);
}

void mouse(HButtRecord* r, UINT message, LPARAM lParam) {
  HWND window = r->head.window;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!(style(r) & HBS_NOFOCUS) && GetFocus() != window) {
        SetFocus(window);
        if (GetFocus() != window) return;  // someone kept the focus: the press is lost
      }
      SetCapture(window);
      press(r);
      if (message == WM_LBUTTONDBLCLK) HCtlNotify(&r->head, HBN_DBLCLK);
      return;
    case WM_MOUSEMOVE: {
      if (GetCapture() != window || GetKeyState(VK_LBUTTON) >= 0 || has(r, HBF_KEYPRESSED)) return;
      RECT client;
      GetClientRect(window, &client);
      const POINT at{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
      showPushed(r, PtInRect(&client, at) != FALSE);
      return;
    }
    case WM_LBUTTONUP: {
      if (GetCapture() != window || has(r, HBF_KEYPRESSED)) return;
      const bool pushed = has(r, HBF_PUSHED);
      ReleaseCapture();
      if (pushed) click(r, true);
      return;
    }
    default: return;
  }
}

void arrowKey(HButtRecord* r, UINT key) {
  HWND parent = GetParent(r->head.window);
  HWND next = GetNextDlgGroupItem(parent, r->head.window, key == VK_LEFT || key == VK_UP);
  if (next == nullptr || next == r->head.window) return;
  SendMessageA(parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
  if (isRadioWindow(next)) SendMessageA(next, BM_SETCHECK, 1, 1);
}

LRESULT keyDown(HButtRecord* r, UINT key) {
  HWND window = r->head.window;
  switch (key) {
    case VK_RETURN: SendMessageA(window, KYM_BUTTONCLICK, 0, 0); return 0;
    case VK_SPACE:
      if (GetCapture() == window) return 0;
      setFlag(r, HBF_KEYPRESSED, true);
      SetCapture(window);
      press(r);
      return 0;
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
      if (radio(r)) arrowKey(r, key);
      return 0;
    default: return 0;
  }
}

void keyUp(HButtRecord* r, UINT key) {
  if (key != VK_SPACE || !has(r, HBF_KEYPRESSED)) return;
  setFlag(r, HBF_KEYPRESSED, false);
  if (GetCapture() == r->head.window) ReleaseCapture();
  click(r, true);
}

// --- focus ----------------------------------------------------------------------

void setFocus(HButtRecord* r) {
  setFlag(r, HBF_FOCUS, true);
  setFlag(r, HCTL_CHANGED, false);
  repaint(r);
  if (HButtType(r) >= HBT_CHECK) HCtlNotify(&r->head, HBN_SETFOCUS);
}

void killFocus(HButtRecord* r) {
  HWND window = r->head.window;
  setFlag(r, HBF_FOCUS, false);
  if (has(r, HBF_KEYPRESSED) || GetCapture() == window) {
    setFlag(r, HBF_KEYPRESSED, false);
    if (GetCapture() == window) ReleaseCapture();
  }
  showPushed(r, false);
  repaint(r);
  if (style(r) & HBS_TRANSPARENT) HCtlUpdateTopWindow(window);
  if (HButtType(r) < HBT_CHECK) return;
  if (has(r, HCTL_CHANGED) && HCtlNotify(&r->head, HBN_MODIFIED) != 0 && !IsWindow(window)) return;
  HCtlNotify(&r->head, HBN_KILLFOCUS);
}

void hideAndShow(HWND window) {
  ShowWindow(window, SW_HIDE);
  ShowWindow(window, SW_SHOWNA);
}

// --- creation ---------------------------------------------------------------------

void setCaption(HButtRecord* r, const char* caption) { HCtlReplaceDup(&r->caption, caption); }

bool define(HButtRecord* r, const CREATESTRUCTA* cs) {
  const char* text = (cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) ? cs->lpszName : "";
  HButtDefinition definition;
  HButtParseDefinition(HButtCompleteDefinition(text, HButtType(r)).c_str(), HButtType(r), &definition);
  r->textAlign = static_cast<BYTE>(definition.textAlign);
  r->pictureAlign = static_cast<BYTE>(definition.pictureAlign);
  r->relativeAlign = static_cast<BYTE>(definition.relativeAlign);
  r->storage = definition.storage;
  if (definition.hasTextColor) r->textColor = definition.textColor;
  r->keyColor = definition.keyColor;
  setCaption(r, definition.caption.c_str());
  if (r->caption == nullptr) return false;
  if (!resizePictures(r, static_cast<int>(definition.pictures.size()))) return false;
  for (int i = 0; i < r->pictureCount; ++i) loadPicture(r, i, r->module, definition.pictures[i].c_str());
  HButtSetSound(r, definition.sound.c_str());
  return true;
}

void destroy(HWND window, HButtRecord* r) {
  freePictures(r);
  HButtFreeSound(r);
  HCtlFree(r->caption);
  HCtlFree(r);
  SendMessageA(window, KYM_SETINSTANCE, 0, 0);
  if (--instances == 0) HButtHoldSharedPictures(false);
}

LRESULT create(HWND window, CREATESTRUCTA* cs, BOOL* passOn) {
  auto* r = static_cast<HButtRecord*>(HCtlAlloc(sizeof(HButtRecord)));
  if (r == nullptr) return FALSE;
  if (cs->style & HBS_NOFOCUS) cs->style &= ~WS_TABSTOP;
  HCtlInitRecord(&r->head, window, cs);
  r->head.font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  r->hadTabStop = (cs->style & WS_TABSTOP) != 0;
  r->textColor = HCTL_SYSCOLOR | COLOR_BTNTEXT;
  r->backColor = kHCtlNoColor;
  r->module = cs->hInstance;
  if (instances++ == 0) HButtHoldSharedPictures(true);
  if (!define(r, cs)) {
    destroy(window, r);
    return FALSE;
  }
  *passOn = TRUE;
  return TRUE;
}

LRESULT getText(HButtRecord* r, WPARAM size, LPSTR buffer, bool lengthOnly) {
  const char* escaped = HCtlEscapeText(r->caption, '\\', '^', '\n');
  if (lengthOnly) return static_cast<LRESULT>(std::strlen(escaped));
  if (buffer == nullptr || size == 0) return 0;
  return HCtlCopyText(buffer, escaped, static_cast<int>(std::min<WPARAM>(size, 0x7FFFFFFF)));
}

LRESULT dialogCode(const HButtRecord* r) {
  if (style(r) & HBS_NOFOCUS && !radio(r)) return DLGC_STATIC;
  switch (HButtType(r)) {
    case HBT_PUSH: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case HBT_DEFPUSH: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case HBT_RADIO:
    case HBT_PUSHRADIO: return DLGC_BUTTON | DLGC_RADIOBUTTON | ((style(r) & HBS_AUTO) ? DLGC_WANTARROWS : 0);
    default: return DLGC_BUTTON;
  }
}

LRESULT setAlignment(BYTE* target, WPARAM digit) {
  if (digit >= 9) return 0;
  *target = static_cast<BYTE>(digit);
  return 1;
}

LRESULT setPicture(HButtRecord* r, WPARAM wParam, LPARAM handle) {
  const int index = LOWORD(wParam);
  if (index >= r->pictureCount && !resizePictures(r, index + 1)) return 0;
  HCtlPicture& slot = r->pictures[index];
  HANDLE previous = slot.handle;
  const BOOL freed = HCtlFreePicture(&slot);
  if (handle == 0) {
    loadDefaultPicture(r, index);
  } else {
    slot.handle = reinterpret_cast<HANDLE>(handle);
    slot.kind = HIWORD(wParam) != 0 ? HIWORD(wParam) : static_cast<WORD>(HCTL_PIC_BITMAP);
    slot.word = HIWORD(wParam);
  }
  repaint(r);
  return freed ? 0 : reinterpret_cast<LRESULT>(previous);
}

LRESULT setWave(HButtRecord* r, WPARAM resource, LPCSTR file) {
  if (resource != 0 || file == nullptr || *file == '\0') {
    HGLOBAL previous = r->heldWave;
    r->heldWave = reinterpret_cast<HGLOBAL>(resource);
    return reinterpret_cast<LRESULT>(previous);
  }
  HButtSetSound(r, file);
  return r->waveFile != nullptr ? 1 : 0;
}

LRESULT getWave(HButtRecord* r, WPARAM size, LPSTR buffer) {
  if (r->heldWave != nullptr) return reinterpret_cast<LRESULT>(r->heldWave);
  if (buffer == nullptr || size == 0 || r->waveFile == nullptr) return 0;
  return HCtlCopyText(buffer, r->waveFile, static_cast<int>(std::min<WPARAM>(size, 0x7FFFFFFF)));
}

// WM_PAINT with a DC in wParam paints into it.
LRESULT paintMessage(HButtRecord* r, WPARAM dc) {
  if (dc == 0)
    return HCtlPaintWithErase(&r->head, &r->paintedByErase,
                              [](HCtlRecord* h, HDC paintDc) { HButtPaint(reinterpret_cast<HButtRecord*>(h), paintDc); });
  HButtPaint(r, reinterpret_cast<HDC>(dc));
  return 0;
}

// The private messages; FALSE for a number that is not the button's.
BOOL privateMessage(HButtRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT& out = *result;
  switch (message) {
    case KYM_BUTTGETPICTUREALIGN: out = r->pictureAlign; return TRUE;
    case KYM_BUTTGETPICTURE:
      out = wParam < static_cast<WPARAM>(r->pictureCount) ? reinterpret_cast<LRESULT>(r->pictures[wParam].handle) : 0;
      return TRUE;
    case KYM_BUTTGETPICTURECOUNT: out = r->pictureCount; return TRUE;
    case KYM_BUTTGETUNUSEDCOLOR: out = r->keyColor; return TRUE;
    case KYM_BUTTGETRELATIVEALIGN: out = r->relativeAlign; return TRUE;
    case KYM_BUTTGETWAVEFILE: out = getWave(r, wParam, reinterpret_cast<LPSTR>(lParam)); return TRUE;
    case KYM_BUTTGETTEXTALIGN: out = r->textAlign; return TRUE;
    case KYM_BUTTGETTYPE: out = HButtType(r); return TRUE;
    case KYM_SETPICTUREALIGN: out = setAlignment(&r->pictureAlign, wParam); repaint(r); return TRUE;
    case KYM_SETRELATIVEALIGN: out = setAlignment(&r->relativeAlign, wParam); repaint(r); return TRUE;
    case KYM_SETTEXTALIGN: out = setAlignment(&r->textAlign, wParam); repaint(r); return TRUE;
    case KYM_BUTTSETPICTURE: out = setPicture(r, wParam, lParam); return TRUE;
    case KYM_SETUNUSEDCOLOR: r->keyColor = static_cast<COLORREF>(lParam); repaint(r); out = 1; return TRUE;
    case KYM_SETWAVEFILE: out = setWave(r, wParam, reinterpret_cast<LPCSTR>(lParam)); return TRUE;
    case KYM_BUTTGETVALUE: out = writeValue(r, reinterpret_cast<void*>(lParam)); return TRUE;
    case KYM_BUTTSETVALUE: out = setValue(r, wParam, reinterpret_cast<const void*>(lParam)); return TRUE;
    case KYM_BUTTGETLINK: out = reinterpret_cast<LRESULT>(r->bound); return TRUE;
    case KYM_BUTTSETLINK: out = bindValue(r, lParam); return TRUE;
    case KYM_BUTTGETVALUESIZE: out = valueSize(r); return TRUE;
    case KYM_BUTTGETSTATECOUNT: out = r->stateCount; return TRUE;
    case KYM_BUTTISLASTRADIO: out = radio(r) && lastOfGroup(r) ? 1 : 0; return TRUE;
    case KYM_BUTTSETPICTURECOUNT:
      out = resizePictures(r, static_cast<int>(std::min<WPARAM>(wParam, 255))) ? r->pictureCount : 0;
      repaint(r);
      return TRUE;
    case KYM_BUTTGETPICTUREWORD:
      out = wParam < static_cast<WPARAM>(r->pictureCount) ? r->pictures[wParam].word : 0;
      return TRUE;
    case KYM_BUTTGETSTORAGE: out = r->storage; return TRUE;
    case KYM_BUTTSETBITMAPFILE: {
      const char* name = reinterpret_cast<LPCSTR>(lParam);
      if (r->pictureCount == 0 && !resizePictures(r, 1)) { out = 0; return TRUE; }
      loadPicture(r, 0, reinterpret_cast<HINSTANCE>(wParam), name != nullptr ? name : "");
      repaint(r);
      out = 1;
      return TRUE;
    }
    case KYM_BUTTONCLICK:
      press(r);
      click(r, true);
      out = 1;
      return TRUE;
    case KYM_BUTTGETVALUEWORD: out = r->valueWord; return TRUE;
    case KYM_BUTTSETVALUEWORD:
      out = r->valueWord;
      r->valueWord = static_cast<WORD>(wParam);
      repaint(r);
      return TRUE;
    case KYM_BUTTGETTEXTCOLOR: out = r->textColor; return TRUE;
    case KYM_SETTEXTCOLOR: r->textColor = static_cast<COLORREF>(lParam); repaint(r); out = 1; return TRUE;
    case KYM_SETBKCOLOR: r->backColor = static_cast<COLORREF>(lParam); repaint(r); out = 0; return TRUE;
    default: return FALSE;
  }
}

// The standard button messages; FALSE for others.
BOOL buttonMessage(HButtRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT& out = *result;
  switch (message) {
    case BM_GETCHECK: out = r->checkState / stateStep(r); return TRUE;
    case BM_SETCHECK: setCheck(r, static_cast<int>(wParam), LOWORD(lParam) != 0); out = 0; return TRUE;
    case BM_GETSTATE: out = has(r, HBF_PUSHED) ? 1 : 0; return TRUE;
    case BM_SETSTATE:
      if (wParam != 0) {
        press(r);
        click(r, false);
      }
      showPushed(r, wParam != 0);
      out = 1;
      return TRUE;
    case BM_SETSTYLE:
      if (!(style(r) & HBS_NOFOCUS)) {
        r->head.style = (r->head.style & ~static_cast<DWORD>(HBS_TYPEMASK)) | (static_cast<DWORD>(wParam) & HBS_TYPEMASK);
        recountStates(r);
        if (lParam != 0) repaint(r);
      }
      out = 0;
      return TRUE;
    case BM_CLICK:
      press(r);
      click(r, false);
      out = 1;
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

LRESULT HButtProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* head) {
  if (message == WM_NCCREATE) return create(window, reinterpret_cast<CREATESTRUCTA*>(lParam), passOn);
  HButtRecord* r = recordOf(head);
  if (r == nullptr) {
    *passOn = TRUE;
    return 0;
  }
  LRESULT result = 0;
  // WM_USER+0..4 are the older numbers of BM_GETCHECK .. BM_SETSTYLE.
  if (message >= WM_USER && message <= WM_USER + 4) message = BM_GETCHECK + (message - WM_USER);
  if (buttonMessage(r, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_NCDESTROY: destroy(window, r); *passOn = TRUE; return 0;
    case WM_GETDLGCODE: return dialogCode(r);
    case WM_SETTEXT:
      setCaption(r, HCtlTakeToken(reinterpret_cast<LPCSTR>(lParam), 0, '\\', '^', '\n', nullptr));
      repaint(r);
      return 1;
    case WM_GETTEXT: return getText(r, wParam, reinterpret_cast<LPSTR>(lParam), false);
    case WM_GETTEXTLENGTH: return getText(r, 0, nullptr, true);
    case WM_ERASEBKGND:
      HButtPaint(r, reinterpret_cast<HDC>(wParam));
      r->paintedByErase = TRUE;
      return 1;
    case WM_PAINT: return paintMessage(r, wParam);
    case WM_ENABLE:
      r->head.style = wParam ? (r->head.style & ~static_cast<DWORD>(WS_DISABLED)) : (r->head.style | WS_DISABLED);
      if ((style(r) & HBS_TRANSPARENT) && IsWindowVisible(window)) hideAndShow(window);
      else repaint(r);
      return 0;
    case WM_SETFOCUS: setFocus(r); return 0;
    case WM_KILLFOCUS: killFocus(r); return 0;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_MOUSEMOVE: case WM_LBUTTONUP:
      mouse(r, message, lParam);
      return 0;
    case WM_KEYDOWN: return keyDown(r, static_cast<UINT>(wParam));
    case WM_KEYUP: keyUp(r, static_cast<UINT>(wParam)); return 0;
    case WM_SETFONT: {
      HFONT previous = r->head.font;
      r->head.font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) repaint(r);
      return reinterpret_cast<LRESULT>(previous);
    }
    default: break;
  }
  if (message >= WM_USER && privateMessage(r, message, wParam, lParam, &result)) return result;
  *passOn = TRUE;
  return 0;
}
