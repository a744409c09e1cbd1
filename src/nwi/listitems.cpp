// The list's item store: two collections of the library in step (data and
// codes), insertion by the store's order, deletion, look-up, codes replaced
// in place or in a new element, and sorting again after the fact.
#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "datatypes.h"
#include "formatdata.h"
#include "library.h"
#include "listcontrol.h"
#include "markup.h"
#include "suballocator.h"

namespace {

// A collection of values of one pair: fixed-size elements, or texts.
HCtlList* makeCollection(char type, char storage) {
  const int size = HCtlStorageSize(type, storage);
  if (size == 0) return nullptr;
  return HCtlListCreate(size < 0 ? kHCtlStringItems : size, nullptr, nullptr, HCtlComparator(type, storage), nullptr,
                        nullptr, FALSE);
}

// The zero value of a pair, for an item added without its code.
const void* zeroValue() {
  static const BYTE zeros[64] = {};  // room for the largest storage (36 bytes)
  return zeros;
}

HCtlList* sortKeys(HLItemStore* s) {
  if (s->flags & HLI_BYDATA) return s->data;
  if ((s->flags & HLI_BYCODE) && s->codes != nullptr) return s->codes;
  return nullptr;
}

}  // namespace

bool HLIsText(char type, char storage) { return HCtlStorageSize(type, storage) < 0; }

int HLValueBytes(char type, char storage, const void* value) {
  if (value == nullptr) return 0;
  if (HLIsText(type, storage)) return static_cast<int>(std::strlen(static_cast<const char*>(value))) + 1;
  return std::max(HCtlStorageSize(type, storage), 0);
}

HLItemStore* HLCreateStore(const char* definition, DWORD style, COLORREF* textColor, COLORREF* secondColor) {
  char type = 's', storage = 's', codeType = 0, codeStorage = 0;
  const char* rest = HCtlParsePrefix(definition ? definition : "", &type, &storage, &codeType, &codeStorage);
  COLORREF colours[2] = {*textColor, *secondColor};
  const char* picture = HCtlTakeColours(rest, &colours[0], &colours[1]);
  if (HCtlStorageSize(type, storage) == 0) return nullptr;
  if (codeType != 0 && HCtlStorageSize(codeType, codeStorage) == 0) return nullptr;
  auto* s = static_cast<HLItemStore*>(HCtlAlloc(sizeof(HLItemStore)));
  if (s == nullptr) return nullptr;
  s->dataType = type;
  s->dataStorage = storage;
  s->codeType = codeType;
  s->codeStorage = codeStorage;
  s->data = makeCollection(type, storage);
  if (codeType != 0) {
    s->flags |= HLI_CODES;
    s->codes = makeCollection(codeType, codeStorage);
  }
  // Sorting by code without codes would have no key: such a list is unsorted.
  if (style & HLS_SORTDATA) s->flags |= HLI_BYDATA;
  else if ((style & HLS_SORTCODE) && codeType != 0) s->flags |= HLI_BYCODE;
  if (picture != nullptr && *picture != '\0') s->picture = HCtlStrDup(picture);
  if (s->data == nullptr || (codeType != 0 && s->codes == nullptr) || (*picture != '\0' && s->picture == nullptr)) {
    HLDestroyStore(s);
    return nullptr;
  }
  *textColor = colours[0];
  *secondColor = colours[1];
  return s;
}

void HLDestroyStore(HLItemStore* s) {
  if (s == nullptr) return;
  HCtlListDestroy(s->data);
  HCtlListDestroy(s->codes);
  HCtlFree(s->picture);
  HCtlFree(s);
}

int HLCount(const HLRecord* r) { return r && r->store && r->store->data ? r->store->data->count : 0; }

const void* HLDataAt(HLRecord* r, int index) {
  if (index < 0 || index >= HLCount(r)) return nullptr;
  return HCtlListData(r->store->data, HCtlListAt(r->store->data, index));
}

const void* HLCodeAt(HLRecord* r, int index) {
  if (index < 0 || index >= HLCount(r) || r->store->codes == nullptr) return nullptr;
  return HCtlListData(r->store->codes, HCtlListAt(r->store->codes, index));
}

int HLStoreInsert(HLRecord* r, int index, const void* data, const void* code) {
  HLItemStore* s = r->store;
  if (data == nullptr || s == nullptr) return -1;
  const int count = HLCount(r);
  if (s->codes != nullptr && code == nullptr) code = HLIsText(s->codeType, s->codeStorage) ? "" : zeroValue();
  int place = index < 0 || index > count ? count : index;
  if (HCtlList* keys = sortKeys(s)) place = HCtlListSortedPlace(keys, keys == s->data ? data : code);
  if (HCtlListInsert(s->data, place, data) < 0) return -1;
  if (s->codes != nullptr && HCtlListInsert(s->codes, place, code) < 0) {
    HCtlListDelete(s->data, place);  // the two collections stay in step
    return -1;
  }
  HLShiftIndices(r, place, 1);
  return place;
}

int HLStoreDelete(HLRecord* r, int index) {
  if (index < 0 || index >= HLCount(r)) return 0;
  if (r->head.style & HLS_OWNERDRAW) {
    DELETEITEMSTRUCT item{};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = r->head.id;
    item.itemID = static_cast<UINT>(index);
    item.hwndItem = r->head.window;
    item.itemData = reinterpret_cast<ULONG_PTR>(HLDataAt(r, index));
    if (r->store->codeType == 'n' && r->store->codeStorage == 'W') {
      DWORD code = 0;
      std::memcpy(&code, HLCodeAt(r, index), sizeof code);
      item.itemData = code;
    }
    HWND window = r->head.window;
    SendMessageA(r->head.notifyTarget, WM_DELETEITEM, r->head.id, reinterpret_cast<LPARAM>(&item));
    // The owner may have destroyed the list or changed its items meanwhile.
    if (!IsWindow(window) || HLRecordOf(window) != r || index >= HLCount(r)) return 0;
  }
  HCtlListDelete(r->store->data, index);
  if (r->store->codes != nullptr) HCtlListDelete(r->store->codes, index);
  HLShiftIndices(r, index, -1);
  return 1;
}

void HLStoreClear(HLRecord* r) {
  if (r->store == nullptr) return;
  if (r->head.style & HLS_OWNERDRAW) {
    while (HLCount(r) > 0 && HLStoreDelete(r, HLCount(r) - 1) != 0) {
    }
  }
  HCtlListEmpty(r->store->data);
  HCtlListEmpty(r->store->codes);
  HLClearSelection(r);
  r->top = 0;
  r->current = r->anchor = -1;
  if (r->head.flags & HLF_SINGLESEL) r->head.flags |= HLF_NOCURRENT;
}

int HLStoreFind(HLRecord* r, bool byCode, int start, const void* value) {
  HCtlList* list = byCode ? r->store->codes : r->store->data;
  if (list == nullptr || value == nullptr) return -1;
  int index = -1;
  return HCtlListFind(list, value, start, &index) != nullptr ? index : -1;
}

int HLStoreSetCode(HLRecord* r, int index, const void* code) {
  HLItemStore* s = r->store;
  if (s->codes == nullptr || code == nullptr || (s->flags & HLI_BYCODE) || index < 0 || index >= HLCount(r))
    return 0;
  HCtlNode* node = HCtlListAt(s->codes, index);
  void* element = HCtlListData(s->codes, node);
  const int needed = HLValueBytes(s->codeType, s->codeStorage, code);
  if (!HLIsText(s->codeType, s->codeStorage) || needed <= HLValueBytes(s->codeType, s->codeStorage, element)) {
    std::memmove(element, code, needed);
    return 1;
  }
  // A longer text needs a new element: the old one has no room for it.
  if (HCtlListInsert(s->codes, index, code) < 0) return 0;
  HCtlListDelete(s->codes, index + 1);
  return 1;
}

void HLStoreResort(HLRecord* r) {
  HLItemStore* s = r->store;
  HCtlList* keys = sortKeys(s);
  const int count = HLCount(r);
  if (keys == nullptr || count < 2) return;
  std::vector<HCtlNode*> dataNodes(count), codeNodes(s->codes ? count : 0), keyNodes(count);
  HCtlNode* node = s->data->head;
  for (int i = 0; i < count; ++i, node = node->next) dataNodes[i] = node;
  if (s->codes != nullptr) {
    node = s->codes->head;
    for (int i = 0; i < count; ++i, node = node->next) codeNodes[i] = node;
  }
  keyNodes = keys == s->data ? dataNodes : codeNodes;
  std::vector<int> order(count);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return keys->compare(keys, HCtlListData(keys, keyNodes[a]), keyNodes[b]) < 0;
  });
  // The nodes are linked again in the new order: no value is copied.
  auto relink = [&](HCtlList* list, const std::vector<HCtlNode*>& nodes) {
    for (int i = 0; i < count; ++i) nodes[order[i]]->next = nodes[order[(i + 1) % count]];
    list->head = nodes[order[0]];
    list->tail = nodes[order[count - 1]];
    list->cursorIndex = 0;
    list->cursorNode = list->head;
  };
  relink(s->data, dataNodes);
  if (s->codes != nullptr) relink(s->codes, codeNodes);
  std::vector<int> newIndex(count);
  for (int i = 0; i < count; ++i) newIndex[order[i]] = i;
  if (r->current >= 0) r->current = newIndex[r->current];
  if (r->anchor >= 0) r->anchor = newIndex[r->anchor];
  if (r->selection != nullptr && r->selection->count > 0) {
    std::vector<int> selected;
    for (int i = 0; i < count; ++i)
      if (HLIsItemSelected(r, i)) selected.push_back(newIndex[i]);
    HCtlListEmpty(r->selection);
    for (int index : selected) HCtlListAdd(r->selection, &index);
  }
}

int HLItemText(HLRecord* r, int index, char* out, int size, int* negative) {
  if (negative) *negative = 0;
  if (out == nullptr || size < 1) return 0;
  *out = '\0';
  const void* data = HLDataAt(r, index);
  if (data == nullptr) return 0;
  HLItemStore* s = r->store;
  if (s->dataType == 's') return HCtlCopyText(out, static_cast<const char*>(data), size);
  return FormatData(data, s->dataType, s->dataStorage, s->picture, out, size, negative, 0);
}

int HLCopyValue(void* buffer, int size, const void* value, char type, char storage) {
  if (value == nullptr) return 0;
  const int needed = HLValueBytes(type, storage, value);
  if (buffer == nullptr) return needed;
  if (HLIsText(type, storage)) {
    if (size == 0) return 0;  // negative: the caller's buffer holds any text (links)
    HCtlCopyText(static_cast<char*>(buffer), static_cast<const char*>(value), size);
    return 1;
  }
  if (size > 0 && size < needed) return 0;
  std::memcpy(buffer, value, needed);
  return 1;
}
