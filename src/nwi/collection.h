// The library's generic collection: a circular singly linked list of nodes
// taken from the sub-allocator, with callbacks for making, comparing,
// freeing and reaching items, optionally kept sorted. List and combo items,
// grid columns and the item store of lists are kept in it.
#pragma once

#include <windows.h>

// A node: the link word, then the item's bytes.
struct HCtlNode {
  HCtlNode* next;
};

struct HCtlList;

typedef HCtlNode* (*HCtlMakeProc)(HCtlList* list, const void* item);
typedef int (*HCtlCompareProc)(HCtlList* list, const void* key, HCtlNode* node);  // -1, 0, 1: key vs node
typedef int (*HCtlUserCompareProc)(const void* key, const void* itemData);
typedef void (*HCtlFreeNodeProc)(HCtlList* list, HCtlNode* node);
typedef void* (*HCtlDataProc)(HCtlList* list, HCtlNode* node);

// Element size for items that are terminated strings of any length.
inline constexpr int kHCtlStringItems = -1;
// Flag bits.
inline constexpr DWORD kHCtlListSorted = 0x1;
inline constexpr DWORD kHCtlListEmpty = 0x2;

struct HCtlList {
  int elementSize;  // bytes of an item, or kHCtlStringItems
  int count;
  int cursorIndex;  // the node reached last by index (a cache for walking)
  HCtlNode* cursorNode;
  HCtlMakeProc make;
  HCtlCompareProc compare;
  HCtlUserCompareProc userCompare;
  HCtlFreeNodeProc freeNode;
  HCtlDataProc data;
  DWORD flags;
  HCtlNode* head;
  HCtlNode* tail;  // tail->next == head
};

// Absent callbacks take the defaults: make copies the item behind the link
// (the element size's bytes, a string with its terminator); compare uses the
// user compare function, else memcmp of the element size's bytes, else
// strings case-insensitively; free returns the node to the sub-allocator;
// data is the address behind the link. nullptr for an element size below -1
// or when memory runs out.
HCtlList* HCtlListCreate(int elementSize, HCtlMakeProc make, HCtlCompareProc compare,
                         HCtlUserCompareProc userCompare, HCtlFreeNodeProc freeNode, HCtlDataProc data,
                         BOOL sorted);
void HCtlListDestroy(HCtlList* list);
void HCtlListEmpty(HCtlList* list);

// Index of the new node (sorted place or the end); -1 when no node was made.
int HCtlListAdd(HCtlList* list, const void* item);
// Index of the new last node; -1 when no node was made.
int HCtlListAppend(HCtlList* list, const void* item);
// Appends the data of every node of `other`; FALSE without a data callback or
// when a node could not be made.
BOOL HCtlListAppendAll(HCtlList* list, HCtlList* other);
// Index of the new node; an index outside 0..count-1 appends; -1 when no
// node was made.
int HCtlListInsert(HCtlList* list, int index, const void* item);
// The node at `index`; -1 gives the tail; nullptr outside -1..count-1.
HCtlNode* HCtlListAt(HCtlList* list, int index);
// The first node from `start` on (modulo count, wrapping) that compares
// equal to `key`, with its index in *index; nullptr when none.
HCtlNode* HCtlListFind(HCtlList* list, const void* key, int start, int* index);
// The index at which `key` belongs in sorted order.
int HCtlListSortedPlace(HCtlList* list, const void* key);
// Moves the node at `from` to `to`; answers `to`, or -1 for equal or bad indices.
int HCtlListMove(HCtlList* list, int from, int to);
// 1 when the node at `index` was removed and freed, 0 for a bad index.
int HCtlListDelete(HCtlList* list, int index);

// The item data of a node through the list's data callback.
void* HCtlListData(HCtlList* list, HCtlNode* node);
