// The circular singly linked list of the library (see collection.h).
#include "collection.h"

#include <cstring>

#include "suballocator.h"

namespace {

int sign(int value) { return (value > 0) - (value < 0); }

HCtlNode* defaultMake(HCtlList* list, const void* item) {
  size_t size;
  if (list->elementSize == kHCtlStringItems)
    size = item ? std::strlen(static_cast<const char*>(item)) + 1 : 1;
  else
    size = static_cast<size_t>(list->elementSize);
  auto* node = static_cast<HCtlNode*>(HCtlAlloc(sizeof(HCtlNode) + size));
  if (node != nullptr && item != nullptr) std::memcpy(node + 1, item, size);
  return node;
}

void* defaultData(HCtlList*, HCtlNode* node) { return node + 1; }

void defaultFree(HCtlList*, HCtlNode* node) { HCtlFree(node); }

int defaultCompare(HCtlList* list, const void* key, HCtlNode* node) {
  const void* data = list->data(list, node);
  if (list->userCompare != nullptr) return sign(list->userCompare(key, data));
  if (list->elementSize == kHCtlStringItems)
    return sign(lstrcmpiA(key ? static_cast<const char*>(key) : "", static_cast<const char*>(data)));
  if (key == nullptr) return -1;
  return sign(std::memcmp(key, data, static_cast<size_t>(list->elementSize)));
}

void resetCursor(HCtlList* list) {
  list->cursorIndex = list->count > 0 ? 0 : -1;
  list->cursorNode = list->head;
}

// Takes the node at `index` (valid) out of the chain without freeing it.
HCtlNode* unlink(HCtlList* list, int index) {
  HCtlNode* previous = index == 0 ? list->tail : HCtlListAt(list, index - 1);
  HCtlNode* node = previous->next;
  if (list->count == 1) {
    list->head = list->tail = nullptr;
  } else {
    previous->next = node->next;
    if (node == list->head) list->head = node->next;
    if (node == list->tail) list->tail = previous;
  }
  --list->count;
  if (list->count == 0) list->flags |= kHCtlListEmpty;
  resetCursor(list);
  return node;
}

int linkAtEnd(HCtlList* list, HCtlNode* node) {
  if (list->head == nullptr) {
    node->next = node;
    list->head = list->tail = node;
  } else {
    node->next = list->head;
    list->tail->next = node;
    list->tail = node;
  }
  ++list->count;
  list->flags &= ~kHCtlListEmpty;
  return list->count - 1;
}

int linkAt(HCtlList* list, int index, HCtlNode* node) {
  if (index < 0 || index >= list->count) return linkAtEnd(list, node);
  if (index == 0) {
    node->next = list->head;
    list->tail->next = node;
    list->head = node;
  } else {
    HCtlNode* previous = HCtlListAt(list, index - 1);
    node->next = previous->next;
    previous->next = node;
  }
  ++list->count;
  list->flags &= ~kHCtlListEmpty;
  resetCursor(list);
  return index;
}

}  // namespace

HCtlList* HCtlListCreate(int elementSize, HCtlMakeProc make, HCtlCompareProc compare,
                         HCtlUserCompareProc userCompare, HCtlFreeNodeProc freeNode, HCtlDataProc data,
                         BOOL sorted) {
  if (elementSize < kHCtlStringItems) return nullptr;
  auto* list = static_cast<HCtlList*>(HCtlAlloc(sizeof(HCtlList)));
  if (list == nullptr) return nullptr;
  list->elementSize = elementSize;
  list->count = 0;
  list->cursorIndex = -1;
  list->cursorNode = nullptr;
  list->make = make ? make : defaultMake;
  list->compare = compare ? compare : defaultCompare;
  list->userCompare = userCompare;
  list->freeNode = freeNode ? freeNode : defaultFree;
  list->data = data ? data : defaultData;
  list->flags = kHCtlListEmpty | (sorted ? kHCtlListSorted : 0);
  list->head = list->tail = nullptr;
  return list;
}

void HCtlListEmpty(HCtlList* list) {
  if (list == nullptr) return;
  HCtlNode* node = list->head;
  for (int i = 0; i < list->count; ++i) {
    HCtlNode* next = node->next;
    list->freeNode(list, node);
    node = next;
  }
  list->head = list->tail = nullptr;
  list->count = 0;
  list->flags |= kHCtlListEmpty;
  resetCursor(list);
}

void HCtlListDestroy(HCtlList* list) {
  if (list == nullptr) return;
  HCtlListEmpty(list);
  HCtlFree(list);
}

int HCtlListAppend(HCtlList* list, const void* item) {
  if (list == nullptr) return -1;
  HCtlNode* node = list->make(list, item);
  if (node == nullptr) return -1;  // no node: no index to report
  return linkAtEnd(list, node);
}

int HCtlListInsert(HCtlList* list, int index, const void* item) {
  if (list == nullptr) return -1;
  HCtlNode* node = list->make(list, item);
  if (node == nullptr) return -1;
  return linkAt(list, index, node);
}

int HCtlListAdd(HCtlList* list, const void* item) {
  if (list == nullptr) return -1;
  if ((list->flags & kHCtlListSorted) == 0) return HCtlListAppend(list, item);
  return HCtlListInsert(list, HCtlListSortedPlace(list, item), item);
}

BOOL HCtlListAppendAll(HCtlList* list, HCtlList* other) {
  if (list == nullptr || other == nullptr || other->data == nullptr) return FALSE;
  const int count = other->count;  // fixed first: `other` may be `list` itself
  HCtlNode* node = other->head;
  for (int i = 0; i < count; ++i) {
    HCtlNode* next = node->next;
    if (HCtlListAppend(list, other->data(other, node)) < 0) return FALSE;
    node = next;
  }
  return TRUE;
}

HCtlNode* HCtlListAt(HCtlList* list, int index) {
  if (list == nullptr || list->count == 0) return nullptr;
  if (index == -1) return list->tail;
  if (index < 0 || index >= list->count) return nullptr;
  int at = 0;
  HCtlNode* node = list->head;
  if (list->cursorNode != nullptr && list->cursorIndex >= 0 && index >= list->cursorIndex) {
    at = list->cursorIndex;
    node = list->cursorNode;
  }
  for (; at < index; ++at) node = node->next;
  list->cursorIndex = index;
  list->cursorNode = node;
  return node;
}

HCtlNode* HCtlListFind(HCtlList* list, const void* key, int start, int* index) {
  if (list == nullptr || list->count == 0) return nullptr;
  if (start < 0) start = 0;
  int at = start % list->count;
  HCtlNode* node = HCtlListAt(list, at);
  const bool sorted = (list->flags & kHCtlListSorted) != 0;
  bool fromHead = at == 0;
  for (int seen = 0; seen < list->count; ++seen) {
    const int order = list->compare(list, key, node);
    if (order == 0) {
      if (index != nullptr) *index = at;
      return node;
    }
    if (sorted && order < 0) {
      // Past the key's place: only the part before `start` can still hold it.
      if (fromHead) return nullptr;
      fromHead = true;
      at = 0;
      node = list->head;
      continue;
    }
    node = node->next;
    at = at + 1 == list->count ? 0 : at + 1;
    if (at == 0) fromHead = true;
  }
  return nullptr;
}

int HCtlListSortedPlace(HCtlList* list, const void* key) {
  if (list == nullptr || list->count == 0) return 0;
  if (list->compare(list, key, list->tail) > 0) return list->count;
  HCtlNode* node = list->head;
  for (int i = 0; i < list->count; ++i, node = node->next)
    if (list->compare(list, key, node) <= 0) return i;
  return list->count;
}

int HCtlListMove(HCtlList* list, int from, int to) {
  if (list == nullptr || from == to || from < 0 || to < 0 || from >= list->count || to >= list->count) return -1;
  HCtlNode* node = unlink(list, from);
  linkAt(list, to, node);
  return to;
}

int HCtlListDelete(HCtlList* list, int index) {
  if (list == nullptr || index < 0 || index >= list->count) return 0;
  list->freeNode(list, unlink(list, index));
  return 1;
}

void* HCtlListData(HCtlList* list, HCtlNode* node) {
  if (list == nullptr || node == nullptr) return nullptr;
  return list->data(list, node);
}
