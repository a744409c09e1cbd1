// The list's current item and selection: the sorted selection set of
// multiple-selection lists, the index bookkeeping after inserts and
// deletes, the current item with its links and notification, and the
// prefix search.
#include <algorithm>
#include <cstring>

#include "library.h"
#include "listcontrol.h"

namespace {

bool singleSelection(const HLRecord* r) { return (r->head.flags & HLF_SINGLESEL) != 0; }
bool focused(const HLRecord* r) { return GetFocus() == r->head.window; }

// The position of `index` in the selection set, or -1.
int setPosition(HLRecord* r, int index) {
  int position = -1;
  return r->selection && HCtlListFind(r->selection, &index, 0, &position) ? position : -1;
}

}  // namespace

void HLShiftIndices(HLRecord* r, int index, int delta) {
  const int count = HLCount(r);
  auto shift = [&](int* value) {
    if (*value >= index) *value += delta;
    *value = std::clamp(*value, -1, count - 1);
  };
  shift(&r->current);
  shift(&r->anchor);
  if (singleSelection(r) && r->current < 0) r->head.flags |= HLF_NOCURRENT;
  if (r->selection == nullptr || r->selection->count == 0) return;
  if (delta < 0) {
    const int position = setPosition(r, index);
    if (position >= 0) HCtlListDelete(r->selection, position);
  }
  HCtlNode* node = r->selection->head;
  for (int i = 0; i < r->selection->count; ++i, node = node->next) {
    int* entry = static_cast<int*>(HCtlListData(r->selection, node));
    if (*entry >= index) *entry += delta;
  }
}

bool HLIsItemSelected(HLRecord* r, int index) {
  if (index < 0 || index >= HLCount(r)) return false;
  if (singleSelection(r)) return index == r->current;
  return setPosition(r, index) >= 0;
}

int HLSelectOne(HLRecord* r, int index, int mode) {
  if (index < 0 || index >= HLCount(r)) return 0;
  const bool selected = HLIsItemSelected(r, index);
  const bool select = mode == 2 ? !selected : mode != 0;
  if (select == selected) return 0;
  if (singleSelection(r)) {
    // The focused face of a combo keeps its item.
    if (!select && (r->head.style & HLS_SINGLEITEM) && focused(r)) return 0;
    HLSetCurrent(r, select ? index : -1, FALSE, FALSE);
    return 1;
  }
  if (select) {
    if (HCtlListAdd(r->selection, &index) < 0) return 0;
  } else {
    HCtlListDelete(r->selection, setPosition(r, index));
  }
  HLRepaintItem(r, index);
  return 1;
}

int HLSelectRange(HLRecord* r, int first, int last, int mode) {
  const int count = HLCount(r);
  if (count == 0) return 0;
  if (first > last) std::swap(first, last);
  first = std::clamp(first, 0, count - 1);
  last = std::clamp(last, 0, count - 1);
  int changed = 0;
  for (int i = first; i <= last; ++i) changed += HLSelectOne(r, i, mode);
  return changed;
}

void HLClearSelection(HLRecord* r) {
  if (r->selection == nullptr || r->selection->count == 0) return;
  HCtlListEmpty(r->selection);
  HLRepaint(r);
}

void HLFillLinks(HLRecord* r) {
  if (r->current < 0) return;
  HLItemStore* s = r->store;
  // The links are the caller's buffers of the list's value form; a text
  // link must hold the longest item.
  if (r->dataLink != nullptr)
    HLCopyValue(r->dataLink, -1, HLDataAt(r, r->current), s->dataType, s->dataStorage);
  if (r->codeLink != nullptr && s->codes != nullptr)
    HLCopyValue(r->codeLink, -1, HLCodeAt(r, r->current), s->codeType, s->codeStorage);
}

void HLSetCurrent(HLRecord* r, int index, BOOL notify, BOOL keepAnchor) {
  index = std::clamp(index, -1, HLCount(r) - 1);
  const int previous = r->current;
  r->current = index;
  if (singleSelection(r)) {
    if (index < 0) r->head.flags |= HLF_NOCURRENT;
    else r->head.flags &= ~HLF_NOCURRENT;
  }
  if (!keepAnchor) r->anchor = index;
  if (previous != index) {
    HLRepaintItem(r, previous);
    HLRepaintItem(r, index);
  }
  HLMakeVisible(r, index);
  if (!notify) r->head.flags &= ~HLF_USERCHANGE;
  if (previous == index || (r->head.flags & HLF_TRACKING)) return;
  HLFillLinks(r);
  if (notify) {
    r->head.flags |= HLF_USERCHANGE;
    HCtlNotify(&r->head, HL_N_CHANGE);
  }
}

int HLFindPrefix(HLRecord* r, const char* text, int start) {
  const int count = HLCount(r);
  if (count == 0 || text == nullptr) return -1;
  const int length = static_cast<int>(std::strlen(text));
  char itemText[256];
  int index = ((start % count) + count) % count;
  for (int seen = 0; seen < count; ++seen, index = (index + 1) % count) {
    const int itemLength = HLItemText(r, index, itemText, sizeof itemText, nullptr);
    if (itemLength < length) continue;
    itemText[length] = '\0';
    if (lstrcmpiA(itemText, text) == 0) return index;
  }
  return -1;
}
