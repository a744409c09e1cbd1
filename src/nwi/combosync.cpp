// Keeping the combo's face and list in step, and the HC* exports, which
// work on the combo's list and then show its item in the face (or, on any
// other window, are the list functions themselves).
#include <cstring>
#include <vector>

#include "combobox.h"
#include "datatypes.h"
#include "editcontrol.h"
#include "library.h"
#include "ravlets.h"

namespace {

bool textData(const HCRecord* r) {
  const HLItemStore* s = r->listRecord->store;
  return s->dataType == 's';
}

// The face from the list: the item's value (not its text: a numeric or
// date face takes a value of its own type) or, for text, its text cut to
// 255 characters (at the first tab with style 0x80).
void faceFromList(HCRecord* r) {
  HLRecord* list = r->listRecord;
  const int index = list->current;
  if (!HCEditable(r)) {
    if (SendMessageA(r->face, KYM_LISTGETCURRENT, 0, 0) != index)
      SendMessageA(r->face, KYM_LISTSETCURRENT, static_cast<WPARAM>(index), 1);
    return;
  }
  if (index < 0) {
    SendMessageA(r->face, WM_CLEAR, 0, 0);
    return;
  }
  const void* value = HLDataAt(list, index);
  char text[256];
  if (textData(r)) {
    HCtlCopyText(text, static_cast<const char*>(value), sizeof text);
    if (r->head.style & HCS_TABCUT) {
      if (char* tab = std::strchr(text, '\t')) *tab = '\0';
    }
    value = text;
  }
  SendMessageA(r->face, WM_SETREDRAW, FALSE, 0);
  SendMessageA(r->face, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(value));
  SendMessageA(r->face, WM_SETREDRAW, TRUE, 0);
  SendMessageA(r->face, KYM_EDITSETFIRSTVISIBLE, 0, 0);
  // All selected with the caret at the start, or nothing in overwrite mode.
  SendMessageA(r->face, KYM_SETSEL, 0, GetOverwriteMode() ? 0 : MAKELPARAM(0xFFFF, 0));
  InvalidateRect(r->face, nullptr, TRUE);
}

int listFromFace(HCRecord* r) {
  if (!HCEditable(r)) {
    const LRESULT index = SendMessageA(r->face, KYM_LISTGETCURRENT, 0, 0);
    SendMessageA(r->list, KYM_LISTSETCURRENT, static_cast<WPARAM>(index), 0);
    return static_cast<int>(index);
  }
  if (!textData(r)) {
    SendMessageA(r->face, KYM_EDITREFRESH, 1, 0);
    if (SendMessageA(r->face, KYM_GETFLAG4000, 0, 0)) {
      SendMessageA(r->list, KYM_LISTSETCURRENT, static_cast<WPARAM>(-1), 0);
      return -1;
    }
    alignas(8) BYTE value[64] = {};
    SendMessageA(r->face, KYM_GETDATA, sizeof value, reinterpret_cast<LPARAM>(value));
    SendMessageA(r->list, KYM_LISTSELECTDATA, 1, reinterpret_cast<LPARAM>(value));
    return r->listRecord->current;
  }
  const int length = static_cast<int>(SendMessageA(r->face, WM_GETTEXTLENGTH, 0, 0));
  std::vector<char> typed(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(r->face, WM_GETTEXT, typed.size(), reinterpret_cast<LPARAM>(typed.data()));
  if (typed[0] == '\0') {
    SendMessageA(r->list, KYM_LISTSETCURRENT, static_cast<WPARAM>(-1), 0);
    return -1;
  }
  const LRESULT index = SendMessageA(r->list, KYM_LISTSELECTTEXT, 0, reinterpret_cast<LPARAM>(typed.data()));
  if (index >= 0 && SendMessageA(r->list, KYM_LISTGETTEXTLEN, static_cast<WPARAM>(index), 0) > length)
    r->head.flags |= HCF_DIFFERS;  // only a partial match
  return static_cast<int>(index);
}

// Runs the list function on the combo's list (then shows its item in the
// face) or, for any other window, on the window itself.
template <typename Call>
int onList(HWND window, Call call) {
  HCRecord* r = HCRecordOf(window);
  if (r == nullptr || r->list == nullptr) return call(window);
  const int result = call(r->list);
  if (HCRecordOf(window) == r) HCSync(r, 0, FALSE);
  return result;
}

}  // namespace

HCRecord* HCRecordOf(HWND window) {
  if (window == nullptr || !IsWindow(window) || !HCtlClassHasSuffix(window, "Comb")) return nullptr;
  auto* r = reinterpret_cast<HCRecord*>(SendMessageA(window, KYM_GETINSTANCE, 0, 0));
  return r != nullptr && r->head.window == window ? r : nullptr;
}

bool HCEditable(const HCRecord* r) { return (r->head.style & HCS_EDITABLE) != 0; }

void HCSync(HCRecord* r, int direction, BOOL notify) {
  if (r->listRecord == nullptr || r->face == nullptr) return;
  r->head.flags &= ~HCF_DIFFERS;
  const int before = r->listRecord->current;
  int index = before;
  if (direction == 0) faceFromList(r);
  else index = listFromFace(r);
  if (!notify || (direction == 1 && index == before)) return;
  r->head.flags |= HCF_CHANGED;
  HCtlNotify(&r->head, HC_N_CHANGE);
}

extern "C" {

int WINAPI HCAddItemEx(HWND window, const void* data, const void* code) {
  return onList(window, [&](HWND target) { return HLAddItemEx(target, data, code); });
}
int WINAPI HCAddItems(HWND window, int count, const void* data) { return HCAddItemsEx(window, count, data, nullptr); }
int WINAPI HCAddItemsEx(HWND window, int count, const void* data, const void* codes) {
  return onList(window, [&](HWND target) { return HLAddItemsEx(target, count, data, codes); });
}
int WINAPI HCInsertItemEx(HWND window, int index, const void* data, const void* code) {
  return onList(window, [&](HWND target) { return HLInsertItemEx(target, index, data, code); });
}
int WINAPI HCInsertItems(HWND window, int index, int count, const void* data) {
  return HCInsertItemsEx(window, index, count, data, nullptr);
}
int WINAPI HCInsertItemsEx(HWND window, int index, int count, const void* data, const void* codes) {
  return onList(window, [&](HWND target) { return HLInsertItemsEx(target, index, count, data, codes); });
}
int WINAPI HCDeleteItems(HWND window, int which, int count, const void* values) {
  return onList(window, [&](HWND target) { return HLDeleteItems(target, which, count, values); });
}
int WINAPI HCGetItems(HWND window, int count, int what, void* out, int which, const void* values, int bufferSize) {
  return onList(window, [&](HWND target) { return HLGetItems(target, count, what, out, which, values, bufferSize); });
}

}  // extern "C"
