// The edit's value: showing it in display or edit form, setting it, and
// the commit that reads the text back with range check, validator and veto.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "datatypes.h"
#include "editcontrol.h"
#include "formatdata.h"
#include "library.h"

namespace {

bool isStringType(char type) { return type == 's' || type == 'm'; }

void copyValue(HEdRecord* r, void* target, const void* source) {
  if (isStringType(r->type)) HCtlCopyText(static_cast<LPSTR>(target), static_cast<LPCSTR>(source), r->valueSize);
  else std::memcpy(target, source, r->valueSize);
}

// The range check of a parsed value: 0x604 above the maximum, else 0x603
// below the minimum; without a veto the value is clamped.
void checkRange(HEdRecord* r) {
  double number;
  if (!HEdValueToNumber(&number, r->value, r->type, r->storage)) return;
  if ((r->rangeFlags & HED_HASMAX) && number > r->maximum) {
    if (HCtlNotify(&r->head, HED_N_ABOVEMAX) == 0) HEdNumberToValue(r->maximum, r->value, r->type, r->storage);
  } else if ((r->rangeFlags & HED_HASMIN) && number < r->minimum) {
    if (HCtlNotify(&r->head, HED_N_BELOWMIN) == 0) HEdNumberToValue(r->minimum, r->value, r->type, r->storage);
  }
}

}  // namespace

void HEdShow(HEdRecord* r, int editing) {
  if (r == nullptr || r->text == nullptr) return;
  WORD& flags = r->head.flags;
  flags &= ~(HED_DISPLAY | HED_RIGHT | HED_CENTER);
  if (!editing) flags |= HED_DISPLAY;
  const DWORD style = r->head.style;
  if ((editing && ((style & HES_EDITRIGHT) || r->type == 'z')) || (!editing && (style & HES_RIGHT)))
    flags |= HED_RIGHT;
  else if (!editing && (style & HES_CENTER))
    flags |= HED_CENTER;
  if ((flags & HED_NULL) && (!editing || (r->rangeFlags & HED_EMPTYNULL))) {
    HCtlCopyText(r->text, r->nullText && !editing ? r->nullText : "", r->textSize);
    flags &= ~HED_NEGATIVE;
  } else {
    if (r->link != nullptr && r->value != nullptr) copyValue(r, r->value, r->link);
    int negative = 0;
    if (r->type == 's') {
      HCtlCopyText(r->text, reinterpret_cast<LPCSTR>(r->value), r->textSize);
    } else if (FormatData(r->value, r->type, r->storage, r->picture, r->text, r->textSize, &negative, editing) == 0) {
      r->text[0] = '\0';
    }
    flags = negative ? (flags | HED_NEGATIVE) : (flags & ~HED_NEGATIVE);
  }
  HEdUpdateLastFirstVisible(r);
  if (flags & HED_FOCUS) {
    const int length = HEdTextLength(r);
    r->anchor = std::clamp(r->anchor, 0, length);
    r->caret = std::clamp(r->caret, 0, length);
    HEdPlaceCaret(r);
  }
  if (!editing) r->firstVisible = 0;
  InvalidateRect(r->head.window, nullptr, TRUE);
}

int HEdSetValue(HEdRecord* r, const void* value) {
  if (r == nullptr) return -2;
  std::vector<BYTE> zero;
  if (value == nullptr) {
    zero.assign(r->valueSize, 0);
    value = zero.data();
  }
  if (r->type == 's') {
    const auto length = static_cast<int>(std::min<size_t>(std::strlen(static_cast<LPCSTR>(value)), INT32_MAX - 64));
    if (length >= r->valueSize && !(r->head.flags & HED_FIXEDLEN) && !HEdGrowBuffers(r, length + 32)) return -5;
  }
  if (zero.empty()) r->head.flags &= ~HED_NULL;
  else r->head.flags |= HED_NULL;
  copyValue(r, r->value, value);
  if (r->validator) r->validator(r->head.window, r->head.id, r->value);
  if (r->link != nullptr && r->link != value) copyValue(r, r->link, r->value);
  HEdShow(r, (r->head.flags & HED_DISPLAY) ? 0 : 1);
  const bool focused = (r->head.flags & HED_FOCUS) != 0;
  r->anchor = 0;
  r->caret = focused ? HEdTextLength(r) : 0;
  if (focused) HEdPlaceCaret(r);
  r->head.flags &= ~(HED_MODIFIED | HED_DIRTY);
  return 1;
}

// Ping-pong guard: the field whose refocus is pending. Two fields that both
// reject would otherwise hand the focus back and forth for ever; while one
// is being given the focus back, another one losing it does not claim it.
static HWND g_refocusPending = nullptr;

HWND HEdRefocusPending() { return g_refocusPending; }
void HEdSetRefocusPending(HWND window) { g_refocusPending = window; }

int HEdCommit(HEdRecord* r, const char* text) {
  if (r == nullptr || !(r->head.flags & HED_DIRTY)) return 0;
  WORD& flags = r->head.flags;
  std::vector<BYTE> kept(r->value, r->value + r->valueSize);
  const bool wasNull = (flags & HED_NULL) != 0;
  int rejected;
  bool nowNull = false;
  if ((text == nullptr || *text == '\0') && (r->rangeFlags & HED_EMPTYNULL)) {
    std::memset(r->value, 0, r->valueSize);
    nowNull = true;
    rejected = 0;
  } else {
    // A text that does not parse leaves the value untouched; only a parsed
    // value is range-checked and shown to the validator.
    rejected = HCtlTextToValue(r->value, r->valueSize, r->type, r->storage, r->picture, text ? text : "", 1);
    if (rejected == 0) checkRange(r);
  }
  if (rejected == 0 && r->validator != nullptr) {
    rejected = r->validator(r->head.window, r->head.id, r->value);
    if (rejected != 0 && GetFocus() != r->head.window && !(flags & HED_FOCUS) && g_refocusPending == nullptr)
      SetFocus(r->head.window);
  }
  bool restored = false;
  if (rejected != 0) {
    // The rejected value never stays: the previous value comes back, and the
    // text stays changed so that the next commit tries again.
    const int vetoed = HCtlNotify(&r->head, HED_N_REJECTED);
    std::memcpy(r->value, kept.data(), r->valueSize);
    restored = true;
    if (vetoed) rejected = 0;
    else return rejected;
  }
  if (!restored) {
    if (nowNull || HCtlValueDiffers(kept.data(), r->value, r->type, r->storage) || wasNull) flags |= HED_MODIFIED;
  }
  if (r->link != nullptr) copyValue(r, r->link, r->value);
  flags &= ~(HED_DIRTY | HED_NULL);
  if (nowNull) flags |= HED_NULL;
  return 0;
}

void HEdSetSel(HEdRecord* r, int which, int anchor, int caret) {
  if (r == nullptr) return;
  const int length = HEdTextLength(r);
  auto clampPosition = [length](int p) { return p < 0 ? length : std::min(p, length); };
  if (which == 0 || (which & 2)) r->anchor = clampPosition(anchor);
  if (which == 0 || (which & 1)) {
    const int previous = r->caret;
    r->caret = clampPosition(caret);
    // Keep the caret visible in a scrolling field.
    const bool scrolling = (r->head.style & HES_AUTOSCROLL) || (GetWindowLongA(r->head.window, GWL_STYLE) & WS_HSCROLL);
    if (scrolling && !(r->head.flags & (HED_RIGHT | HED_CENTER))) {
      const int width = r->format.right - r->format.left;
      // A caret more characters past the first visible one than the width
      // has pixels is past the right edge without measuring the run.
      auto beyondRight = [&] { return r->caret - r->firstVisible > width + 1; };
      const int x = beyondRight() ? INT32_MAX : HEdXOfChar(r, r->caret);
      const int moved = std::max(r->caret - previous, 0);
      const int step = r->visibleChars / 3 + moved;
      if (x > r->format.right - width / 8 && r->lastFirstVisible > r->firstVisible)
        HEdScroll(r, std::max(step, 1));
      else if (x < r->format.left + width / 8 && r->firstVisible > 0)
        HEdScroll(r, -std::max(step, 1));
      if (r->caret < r->firstVisible) HEdScroll(r, r->caret - r->firstVisible);
      // A caret still out of sight after that step (a text set or a
      // selection made while focused, far from the first visible
      // character) comes into view: its text then ends an eighth of the
      // width before the right edge.
      if (r->caret > r->firstVisible && (beyondRight() || HEdXOfChar(r, r->caret) > r->format.right)) {
        const int shown = r->caret - HEdFittingBefore(r, r->caret, width - width / 8);
        if (shown > r->firstVisible) HEdScroll(r, shown - r->firstVisible);
      }
    }
  }
  if (r->head.flags & HED_FOCUS) HEdPlaceCaret(r);
  InvalidateRect(r->head.window, nullptr, FALSE);
}
