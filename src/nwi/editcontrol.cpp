// The edit control's window messages: creation, focus, the standard EM_*
// messages (and their older WM_USER numbering) and the private messages.
#include "editcontrol.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "datatypes.h"
#include "drawing.h"
#include "library.h"
#include "markup.h"
#include "ravlets.h"
#include "suballocator.h"

HWND HEdRefocusPending();
void HEdSetRefocusPending(HWND window);

namespace {

constexpr UINT kClockTimer = 1;
constexpr UINT kOldEditBase = WM_USER;      // WM_USER+0..29: EM_* in the 16-bit numbering
constexpr UINT kOldEditShift = 0x350;       // WM_USER + n - 0x350 = EM_GETSEL + n
constexpr UINT kImeReport = 0x280;          // WM_IME_REPORT
constexpr WPARAM kImeString = 0x140;        // IR_STRING

HEdRecord* recordOf(HCtlRecord* head) { return reinterpret_cast<HEdRecord*>(head); }
bool focused(const HEdRecord* r) { return (r->head.flags & HED_FOCUS) != 0; }
bool dirty(const HEdRecord* r) { return (r->head.flags & HED_DIRTY) != 0; }
bool pictureField(const HEdRecord* r) { return (r->head.style & 0xC000) != 0; }
int short16(LPARAM v) { return static_cast<SHORT>(LOWORD(v)); }

void commitIfDirty(HEdRecord* r) {
  if (focused(r) && dirty(r)) HEdCommit(r, r->text);
}

void startClock(HEdRecord* r) {
  if (r->type != 'k') return;
  const bool seconds = r->picture && std::strchr(r->picture, 'h');
  r->clockTimer = SetTimer(r->head.window, kClockTimer, seconds ? 1000 : 60000, nullptr);
}

void clockTick(HEdRecord* r) {
  if (focused(r)) return;
  int64_t now = static_cast<int64_t>(time(nullptr));
  int64_t value = 0;
  std::memcpy(&value, r->value, std::min<int>(r->valueSize, sizeof value));
  const bool showsSeconds = r->picture && std::strchr(r->picture, 's');
  if (!showsSeconds && now >= value && now / 60 == value / 60) return;
  if (now != value) HEdSetValue(r, &now);
}

LRESULT create(HWND window, const CREATESTRUCTA* cs, BOOL* passOn) {
  auto* r = static_cast<HEdRecord*>(HCtlAlloc(sizeof(HEdRecord)));
  if (r == nullptr) return FALSE;
  HCtlInitRecord(&r->head, window, cs);
  r->textColor = HCTL_SYSCOLOR | COLOR_WINDOWTEXT;
  r->negativeColor = HCTL_SYSCOLOR | COLOR_WINDOWTEXT;
  r->backColor = kHCtlNoColor;
  r->passwordChar = '*';
  if (r->head.style & HES_FOCUSBRUSH)
    r->focusBrush = static_cast<HBRUSH>(GetStockObject(GetSysColor(COLOR_WINDOW) == 0xFFFFFF ? LTGRAY_BRUSH : WHITE_BRUSH));
  const char* definition = (cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) ? cs->lpszName : "";
  if (!HEdDefine(r, definition)) {
    HCtlFree(r->picture);
    HCtlFree(r->nullText);
    HEdBufferFree(r->text);
    HEdBufferFree(r->value);
    HCtlFree(r);
    SendMessageA(window, KYM_SETINSTANCE, 0, 0);
    return FALSE;
  }
  if (r->type == 'z') r->head.style |= HES_EDITRIGHT;
  startClock(r);
  SendMessageA(window, WM_SETFONT, 0, 0);
  HEdShow(r, 0);
  *passOn = TRUE;
  return TRUE;
}

void destroy(HWND window, HEdRecord* r) {
  r->validator = nullptr;
  commitIfDirty(r);
  if (r->clockTimer) KillTimer(window, kClockTimer);
  if (HEdRefocusPending() == window) HEdSetRefocusPending(nullptr);
  HCtlFree(r->picture);
  HCtlFree(r->nullText);
  HEdBufferFree(r->value);
  HEdBufferFree(r->text);
  HCtlFree(r);
  SendMessageA(window, KYM_SETINSTANCE, 0, 0);
}

void setFocus(HEdRecord* r) {
  r->head.flags |= HED_FOCUS;
  if (HEdRefocusPending() == r->head.window) HEdSetRefocusPending(nullptr);
  if (!pictureField(r)) {
    HEdShow(r, 1);
    if (!(r->head.style & HES_KEEPSEL)) {
      if (GetOverwriteMode() && r->type == 's' && r->anchor == r->caret) r->anchor = r->caret = 0;
      else {
        r->anchor = 0;
        r->caret = HEdTextLength(r);
      }
    }
    HEdMakeCaret(r);
    HEdSetSel(r, 1, r->anchor, r->caret);
  }
  r->head.flags &= ~HED_MODIFIED;
  InvalidateRect(r->head.window, nullptr, TRUE);
  HCtlNotify(&r->head, HED_N_SETFOCUS);
}

void killFocus(HEdRecord* r, HWND next) {
  HWND window = r->head.window;
  r->head.flags &= ~HED_FOCUS;
  // The kill-focus commit never takes the focus back itself; the refocus
  // below is posted, once, and only when no other field's refocus is pending.
  const HWND pending = HEdRefocusPending();
  HEdSetRefocusPending(pending ? pending : window);
  HEdCommit(r, r->text);
  HEdSetRefocusPending(pending);
  DestroyCaret();
  if (next != nullptr && next != window && r->validator != nullptr && pending == nullptr &&
      r->validator(window, r->head.id, r->value) != 0) {
    HEdSetRefocusPending(window);
    PostMessageA(window, KYM_EDITREFOCUS, 0, 0);
  }
  HEdShow(r, 0);
  if ((r->head.flags & HED_MODIFIED) || (r->rangeFlags & HED_TOUCHED)) {
    r->rangeFlags &= ~HED_TOUCHED;
    if (HCtlNotify(&r->head, HED_N_MODIFIED) != 0 && !IsWindow(window)) return;
  }
  HCtlNotify(&r->head, HED_N_KILLFOCUS);
}

void setRect(HEdRecord* r, BOOL show, const RECT* rect) {
  if (rect != nullptr) {
    r->format = *rect;
  } else {
    RECT client;
    GetClientRect(r->head.window, &client);
    r->format.left = client.left + 3;
    r->format.right = std::max(client.right - 3, r->format.left);
    const int top = (client.bottom - r->lineHeight) / 2;
    r->format.top = std::max<LONG>(top, 0);
    r->format.bottom = std::min<LONG>(r->format.top + r->lineHeight, client.bottom);
  }
  const int average = std::max<int>(LOWORD(HCtlAvgCharSize(r->head.font)), 1);
  r->visibleChars = std::max<int>((r->format.right - r->format.left) / average, 1);
  HEdUpdateLastFirstVisible(r);
  if (show) HEdShow(r, (r->head.flags & HED_DISPLAY) ? 0 : 1);
}

LRESULT setText(HEdRecord* r, LPCSTR text) {
  if (text == nullptr) return -2;
  if (*text == '%') {
    if (!HEdDefine(r, text)) return -5;
    r->head.flags &= ~HED_NULL;
    HEdShow(r, focused(r) ? 1 : 0);
  } else if (r->type == 's') {
    HEdSetValue(r, text);
  } else {
    HCtlCopyText(r->text, text, r->textSize);
    r->head.flags |= HED_DIRTY;
    HEdCommit(r, r->text);
    HEdShow(r, focused(r) ? 1 : 0);
  }
  return 1;
}

LRESULT getData(HEdRecord* r, WPARAM size, LPARAM buffer) {
  commitIfDirty(r);
  if (r->head.flags & HED_NULL) return 0;
  if (buffer == 0) return 0;
  auto* out = reinterpret_cast<void*>(buffer);
  if (r->type == 's' || r->type == 'm')
    return HCtlCopyText(static_cast<LPSTR>(out), reinterpret_cast<LPCSTR>(r->value), short16(size));
  std::memcpy(out, r->value, r->valueSize);
  return r->valueSize;
}

LRESULT setLimit(HEdRecord* r, int length) {
  if (r->type != 's') return -1;
  const int size = length >= 0 ? length + 1 : 32;
  auto* text = static_cast<LPSTR>(HEdBufferResize(r->text, size));
  if (text) r->text = text;
  auto* value = static_cast<BYTE*>(HEdBufferResize(r->value, size));
  if (value) r->value = value;
  if (!text || !value) return -5;
  r->textSize = r->valueSize = size;
  // A shorter buffer cuts the text: terminate both at the new size.
  r->text[size - 1] = '\0';
  r->value[size - 1] = '\0';
  if (length >= 0) r->head.flags |= HED_FIXEDLEN;
  else r->head.flags &= ~HED_FIXEDLEN;
  const int n = HEdTextLength(r);
  r->anchor = std::min(r->anchor, n);
  r->caret = std::min(r->caret, n);
  HEdUpdateLastFirstVisible(r);
  InvalidateRect(r->head.window, nullptr, TRUE);
  return 1;
}

LRESULT setRange(HEdRecord* r, LPARAM value, WORD bit, double* target) {
  if (value == 0) {
    r->rangeFlags &= ~bit;
    *target = 0;
    return 0;
  }
  if (HEdValueToNumber(target, reinterpret_cast<const void*>(value), r->type, r->storage)) {
    r->rangeFlags |= bit;
    HEdClampValue(r);
    HEdShow(r, focused(r) ? 1 : 0);
  }
  return 0;
}

LRESULT getRange(HEdRecord* r, LPARAM buffer, WORD bit, double number) {
  if (buffer == 0 || !std::strchr("ncdta", r->type)) return 0;
  (void)bit;
  return HEdNumberToValue(number, reinterpret_cast<void*>(buffer), r->type, r->storage) ? 1 : 0;
}

LRESULT selection(HEdRecord* r, DWORD* low = nullptr, DWORD* high = nullptr) {
  const int a = std::min(r->anchor, r->caret), b = std::max(r->anchor, r->caret);
  if (low) *low = a;
  if (high) *high = b;
  return MAKELONG(a, b);
}

LRESULT getSelText(HEdRecord* r, WPARAM size, LPARAM buffer) {
  if (buffer == 0) return 0;
  const int length = HEdTextLength(r);
  const int a = std::clamp(std::min(r->anchor, r->caret), 0, length);
  const int b = std::clamp(std::max(r->anchor, r->caret), 0, length);
  const int room = short16(size);
  if (room <= 0) return 0;
  const int n = std::min(b - a, room - 1);
  auto* out = reinterpret_cast<LPSTR>(buffer);
  std::memcpy(out, r->text + a, n);
  out[n] = '\0';
  return n;
}

LRESULT setLink(HEdRecord* r, WPARAM direction, LPARAM buffer) {
  r->link = reinterpret_cast<void*>(buffer);
  if (direction == 0 && buffer != 0) {
    if (r->type == 's' || r->type == 'm') return HCtlCopyText(static_cast<LPSTR>(r->link), reinterpret_cast<LPCSTR>(r->value), r->valueSize);
    std::memcpy(r->link, r->value, r->valueSize);
    return r->valueSize;
  }
  return pictureField(r) ? HEdPictureSetFile(r, static_cast<LPCSTR>(r->link)) : HEdSetValue(r, r->link);
}

void repaint(HEdRecord* r) { InvalidateRect(r->head.window, nullptr, TRUE); }

// The private messages; FALSE when the number is not the edit's.
BOOL privateMessage(HEdRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT& out = *result;
  HWND window = r->head.window;
  switch (message) {
    case KYM_GETDATA: out = getData(r, wParam, lParam); return TRUE;
    case KYM_SETDATA:
      out = pictureField(r) ? HEdPictureSetFile(r, reinterpret_cast<LPCSTR>(lParam))
                            : HEdSetValue(r, reinterpret_cast<const void*>(lParam));
      return TRUE;
    case KYM_EDITGETRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = r->format;
      out = 1;
      return TRUE;
    case KYM_EDITSETRECT: setRect(r, static_cast<BOOL>(wParam), reinterpret_cast<const RECT*>(lParam)); out = 1; return TRUE;
    case KYM_EDITGETLIMIT: out = (r->type == 's' && (r->head.flags & HED_FIXEDLEN)) ? r->textSize - 1 : -1; return TRUE;
    case KYM_GETOVERWRITE: out = GetOverwriteMode(); return TRUE;
    case KYM_SETOVERWRITE:
      SetOverwriteMode(static_cast<BOOL>(wParam));
      if (focused(r)) HEdMakeCaret(r);
      out = 1;
      return TRUE;
    case KYM_EDITGETPASSWORDCHAR: out = static_cast<signed char>(r->passwordChar); return TRUE;
    case KYM_EDITSETPASSWORDCHAR:
      if (static_cast<char>(wParam) == 0) { out = -3; return TRUE; }
      r->passwordChar = static_cast<char>(wParam);
      out = 1;
      return TRUE;
    case KYM_EDITGETFIRSTVISIBLE: out = r->firstVisible; return TRUE;
    case KYM_EDITSETFIRSTVISIBLE: HEdScroll(r, static_cast<int>(wParam) - r->firstVisible); out = 1; return TRUE;
    case KYM_EDITREFRESH:
      out = wParam ? HEdCommit(r, r->text) : 0;
      if (lParam) HEdShow(r, (r->head.flags & HED_DISPLAY) ? 0 : 1);
      return TRUE;
    case KYM_EDITGETVALIDATOR: out = reinterpret_cast<LRESULT>(r->validator); return TRUE;
    case KYM_EDITSETVALIDATOR: r->validator = reinterpret_cast<HEdValidator>(lParam); out = 1; return TRUE;
    case KYM_EDITVALIDATE: out = r->validator ? r->validator(window, r->head.id, r->value) : -1; return TRUE;
    case KYM_EDITGETSELTEXT: out = getSelText(r, wParam, lParam); return TRUE;
    case KYM_EDITINSERTTEXT: HEdInsertText(r, reinterpret_cast<LPCSTR>(lParam)); out = 1; return TRUE;
    case KYM_GETMAX: out = getRange(r, lParam, HED_HASMAX, r->maximum); return TRUE;
    case KYM_GETMIN: out = getRange(r, lParam, HED_HASMIN, r->minimum); return TRUE;
    case KYM_SETMAX: out = setRange(r, lParam, HED_HASMAX, &r->maximum); return TRUE;
    case KYM_SETMIN: out = setRange(r, lParam, HED_HASMIN, &r->minimum); return TRUE;
    case KYM_EDITREFOCUS:
      SetFocus(nullptr);
      SetFocus(window);
      out = 1;
      return TRUE;
    case KYM_EDITSETLIMIT: out = setLimit(r, short16(wParam)); return TRUE;
    case KYM_EDITGETSEL: out = selection(r); return TRUE;
    case KYM_SETSEL:
      if ((r->head.style & HES_KEEPSEL) && static_cast<DWORD>(lParam) == 0xFFFE0000u) { out = 0; return TRUE; }
      HEdSetSel(r, static_cast<int>(wParam), short16(lParam), static_cast<SHORT>(HIWORD(lParam)));
      out = 1;
      return TRUE;
    case KYM_SETFIELD: r->fieldKind = static_cast<DWORD>(lParam); out = 1; return TRUE;
    case KYM_GETFIELD: out = r->fieldKind; return TRUE;
    case KYM_EDITGETBKBRUSH: out = reinterpret_cast<LRESULT>(r->backBrush); return TRUE;
    case KYM_EDITSETBKBRUSH:
      out = reinterpret_cast<LRESULT>(r->backBrush);
      r->backBrush = reinterpret_cast<HBRUSH>(wParam);
      repaint(r);
      return TRUE;
    case KYM_EDITGETFOCUSBRUSH: out = reinterpret_cast<LRESULT>(r->focusBrush); return TRUE;
    case KYM_EDITSETFOCUSBRUSH:
      out = reinterpret_cast<LRESULT>(r->focusBrush);
      r->focusBrush = reinterpret_cast<HBRUSH>(wParam);
      repaint(r);
      return TRUE;
    case KYM_EDITGETPICTURE:
      out = (r->picture && lParam) ? HCtlCopyText(reinterpret_cast<LPSTR>(lParam), r->picture, short16(wParam)) : 0;
      return TRUE;
    case KYM_EDITSETPICTURE:
      if (lParam == 0) { out = -2; return TRUE; }
      if (r->type != 's') {
        HEdSetPictureText(r, reinterpret_cast<LPCSTR>(lParam));
        // A longer picture shows a longer text (and a longer masked value).
        const int needed = static_cast<int>(std::strlen(r->picture ? r->picture : "")) + 32;
        if (!HEdGrowBuffers(r, needed)) { out = -5; return TRUE; }
      }
      if (wParam) HEdShow(r, (r->head.flags & HED_DISPLAY) ? 0 : 1);
      out = 1;
      return TRUE;
    case KYM_GETTEXTCOLOR: out = wParam ? r->negativeColor : r->textColor; return TRUE;
    case KYM_SETTEXTCOLOR:
      (wParam ? r->negativeColor : r->textColor) = static_cast<COLORREF>(lParam);
      InvalidateRect(window, &r->format, TRUE);
      out = 1;
      return TRUE;
    case KYM_EDITGETTYPE: out = r->type; return TRUE;
    case KYM_EDITGETVALUELENGTH:
      out = r->type == 's' ? static_cast<LRESULT>(std::strlen(reinterpret_cast<LPCSTR>(r->value)))
                           : HCtlStorageSize(r->type, r->storage);
      return TRUE;
    case KYM_EDITGETSTORAGE: out = r->storage; return TRUE;
    case KYM_EDITGETLINK: out = reinterpret_cast<LRESULT>(r->link); return TRUE;
    case KYM_EDITSETLINK: out = setLink(r, wParam, lParam); return TRUE;
    case KYM_GETFLAG2000: commitIfDirty(r); return FALSE;  // the common handler answers
    case KYM_EDITGETFLAGS: out = r->head.flags; return TRUE;
    case KYM_EDITSETFLAGS:
      if (lParam) r->head.flags |= static_cast<WORD>(wParam);
      else r->head.flags &= ~static_cast<WORD>(wParam);
      out = 1;
      return TRUE;
    case KYM_GETSTYLE:
      out = (GetWindowLongA(window, GWL_STYLE) & 0xFFFF0000) | (r->head.style & 0xFFFF);
      return TRUE;
    case KYM_SETSTYLE:
      r->head.style = static_cast<DWORD>(lParam);
      SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(lParam));
      out = 1;
      return TRUE;
    case KYM_EDITGETTEXTPTR: out = reinterpret_cast<LRESULT>(r->text); return TRUE;
    case KYM_EDITGETPICTUREPTR: out = reinterpret_cast<LRESULT>(r->picture); return TRUE;
    case KYM_EDITSETEMPTYNULL:
      if (wParam) r->rangeFlags |= HED_EMPTYNULL;
      else r->rangeFlags &= ~HED_EMPTYNULL;
      out = 0;
      return TRUE;
    case KYM_SETBKCOLOR: r->backColor = static_cast<COLORREF>(lParam); out = 0; return TRUE;
    default: return FALSE;
  }
}

}  // namespace

LRESULT HEdProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* head) {
  if (message == WM_NCCREATE) return create(window, reinterpret_cast<const CREATESTRUCTA*>(lParam), passOn);
  HEdRecord* r = recordOf(head);
  if (r == nullptr) {
    *passOn = TRUE;
    return 0;
  }
  switch (message) {
    case WM_NCDESTROY: destroy(window, r); return 0;
    case WM_SIZE:
      setRect(r, FALSE, nullptr);
      // The frame is the edit's own drawing: it is owed whenever the size changes.
      if (r->head.style & HES_3DFRAME) RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      *passOn = TRUE;
      return 0;
    case WM_ENABLE: InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_SETFOCUS: setFocus(r); return 1;
    case WM_KILLFOCUS: killFocus(r, reinterpret_cast<HWND>(wParam)); return 0;
    case WM_SETTEXT: return setText(r, reinterpret_cast<LPCSTR>(lParam));
    case WM_GETTEXT:
      if (lParam == 0 || wParam == 0) return 0;
      return HCtlCopyText(reinterpret_cast<LPSTR>(lParam), r->text, static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFF)));
    case WM_GETTEXTLENGTH: return HEdTextLength(r);
    case WM_PAINT: HEdPaint(r); return 0;
    case WM_ERASEBKGND: return 1;  // the paint fills the background
    case WM_SETCURSOR:
      if (focused(r) && LOWORD(lParam) != HTHSCROLL && LOWORD(lParam) != HTVSCROLL) {
        SetCursor(HCtlIBeamCursor());
        return 1;
      }
      *passOn = TRUE;
      return 0;
    case WM_SETFONT: {
      r->head.font = reinterpret_cast<HFONT>(wParam);
      r->lineHeight = HIWORD(HCtlAvgCharSize(r->head.font));
      setRect(r, FALSE, nullptr);
      if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
      return 0;
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(r->head.font);
    case WM_NCCALCSIZE:
      if (!(r->head.style & HES_3DFRAME)) { *passOn = TRUE; return 0; }
      return HCtlFrameNcCalcSize(window, wParam, lParam);
    case WM_NCPAINT:
      if (r->head.style & HES_3DFRAME) HCtlFrameNcPaint(window, wParam, lParam);
      else DefWindowProcA(window, message, wParam, lParam);
      return 1;
    case WM_GETDLGCODE:
      return (r->head.style & HES_WANTALLKEYS) ? (DLGC_WANTALLKEYS | DLGC_HASSETSEL)
                                                : (DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
    case EM_GETSEL: {
      DWORD low, high;
      const LRESULT packed = selection(r, &low, &high);
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = low;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = high;
      return packed;
    }
    case EM_SETSEL: HEdSetSel(r, 0, static_cast<SHORT>(wParam), short16(lParam)); return 1;
    case EM_GETRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = r->format;
      return 1;
    case EM_SETRECT: case EM_SETRECTNP:
      return SendMessageA(window, KYM_EDITSETRECT, message == EM_SETRECT, lParam);
    case EM_GETMODIFY: commitIfDirty(r); return (r->head.flags & HED_MODIFIED) ? 1 : 0;
    case EM_LIMITTEXT: return setLimit(r, short16(wParam));
    case EM_CANUNDO: return 1;
    case EM_UNDO: case WM_UNDO:
      HEdShow(r, (r->head.flags & HED_DISPLAY) ? 0 : 1);
      r->head.flags &= ~HED_DIRTY;
      HEdSetSel(r, 0, 0, 0);
      return 0;
    case WM_CUT: return HEdCut(r);
    case WM_COPY: return HEdCopy(r);
    case WM_PASTE: return HEdPaste(r);
    case WM_CLEAR:
      if (r->value) {
        std::memset(r->value, 0, r->valueSize);
        HEdShow(r, (r->head.flags & HED_DISPLAY) ? 0 : 1);
        HEdSetSel(r, 0, 0, -1);
      }
      return 0;
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
      HEdKeyDown(r, static_cast<UINT>(wParam), message == WM_SYSKEYDOWN);
      if (IsWindow(window)) *passOn = TRUE;
      return 0;
    case WM_KEYUP:
      HEdKeyUp(r, static_cast<UINT>(wParam));
      *passOn = TRUE;
      return 0;
    case WM_CHAR:
      HEdChar(r, wParam);
      if (IsWindow(window)) *passOn = TRUE;
      return 0;
    case kImeReport:
      if (wParam == kImeString && !(r->head.style & HES_READONLY) && lParam != 0) {
        HGLOBAL memory = reinterpret_cast<HGLOBAL>(lParam);
        if (auto* text = static_cast<LPCSTR>(GlobalLock(memory))) {
          HEdInsertText(r, text);
          GlobalUnlock(memory);
        }
      } else {
        HEdKeyUp(r, 0);
      }
      return 0;
    case WM_HSCROLL:
      HEdHScroll(r, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)));
      *passOn = TRUE;
      return 0;
    case WM_LBUTTONDOWN: case WM_MOUSEMOVE: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
      HEdMouse(r, message, wParam, static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
      return 0;
    case WM_TIMER:
      if (r->type != 'k') return 0;
      clockTick(r);
      return 0;
    default: break;
  }
  LRESULT result = 0;
  if (message >= WM_USER && privateMessage(r, message, wParam, lParam, &result)) return result;
  if (message >= kOldEditBase && message < kOldEditBase + 30) {
    const UINT standard = message - kOldEditShift;
    if (standard == EM_GETSEL) return SendMessageA(window, EM_GETSEL, LOWORD(lParam), HIWORD(lParam));
    return SendMessageA(window, standard, wParam, lParam);
  }
  *passOn = TRUE;
  return 0;
}
