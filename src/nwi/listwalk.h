// The list's walker (HLForItems in listcontrol.h), written once for the
// list's own items and for a native window's. Its state lives in the walk's
// own variables: an action may send WM_DELETEITEM to an owner that calls
// HL* functions, even another walk, without disturbing this one.
#pragma once

// Items give: count(), selected(index), find(byCode, value) (from index 0,
// -1 when none), hasCodes(), valueBytes(byCode) (0 for text values).
template <typename Items, typename Action>
int HLWalk(Items& items, int which, int count, const void* values, Action&& action, bool alwaysAdvance) {
  int handled = 0;
  if (which == 0 || which == 8 || which == 16) {
    for (int i = 0; i < items.count();) {
      if (which != 0 && items.selected(i) != (which == 8)) {
        ++i;
        continue;
      }
      const int before = items.count();
      const int removed = action(i);
      ++handled;
      // An action that said it removed the item but did not must not stall the walk.
      if (removed == 0 || alwaysAdvance || items.count() >= before) ++i;
    }
    return handled;
  }
  if (values == nullptr || count < 1) return 0;
  if (which == 4) {
    const int* indices = static_cast<const int*>(values);
    int removedSoFar = 0;
    for (int k = 0; k < count; ++k) {
      const int index = indices[k] - removedSoFar;
      if (index < 0 || index >= items.count()) continue;
      const int before = items.count();
      action(index);
      ++handled;
      removedSoFar += std::max(before - items.count(), 0);
    }
    return handled;
  }
  if (which != 1 && which != 2) return 0;
  const bool byCode = which == 2;
  if (byCode && !items.hasCodes()) return 0;
  const int bytes = items.valueBytes(byCode);
  for (int k = 0; k < count; ++k) {
    const void* value = bytes == 0 ? static_cast<const void* const*>(values)[k]
                                   : static_cast<const BYTE*>(values) + static_cast<size_t>(k) * bytes;
    if (value == nullptr) continue;
    const int index = items.find(byCode, value);
    if (index < 0) continue;
    action(index);
    ++handled;
  }
  return handled;
}

// The list's own items as the walker sees them.
struct HLOwnItems {
  HLRecord* r;
  int count() const { return HLCount(r); }
  bool selected(int index) const { return HLIsItemSelected(r, index); }
  int find(bool byCode, const void* value) const { return HLStoreFind(r, byCode, 0, value); }
  bool hasCodes() const { return r->store->codes != nullptr; }
  int valueBytes(bool byCode) const {
    const char type = byCode ? r->store->codeType : r->store->dataType;
    const char storage = byCode ? r->store->codeStorage : r->store->dataStorage;
    return HLIsText(type, storage) ? 0 : HLValueBytes(type, storage, this);
  }
};

template <typename Action>
int HLForItems(HLRecord* r, int which, int count, const void* values, Action&& action, bool alwaysAdvance) {
  HLOwnItems items{r};
  return HLWalk(items, which, count, values, action, alwaysAdvance);
}
