// The "ListBox" control and the "ComboLBox" drop-down list of combo boxes:
// the state one list keeps and the pieces its files share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win32::user {

// One entry of a list. `text` is empty for owner-drawn lists without
// LBS_HASSTRINGS, whose identity is `data`.
struct ListItem {
  std::string text;
  ULONG_PTR data = 0;
  int height = 0;         // LBS_OWNERDRAWVARIABLE only
  bool selected = false;  // multiple-selection lists only
};

// The items of a list, kept in blocks so that inserting into the middle of a
// long sorted list moves one block rather than the whole list. Indexing
// finds the block by binary search over the block starts.
class ListItems {
 public:
  int size() const { return count_; }
  ListItem& at(int index);
  const ListItem& at(int index) const;
  void insert(int index, ListItem item);
  ListItem take(int index);
  void clear();
  // Room for `more` items beyond the current count (LB_INITSTORAGE).
  void reserve(int more);

 private:
  static constexpr int kBlock = 128;  // a block holds kBlock to 2 * kBlock items, bar the last
  std::pair<int, int> locate(int index) const;  // block, offset
  void renumberFrom(size_t block);
  std::vector<std::vector<ListItem>> blocks_;
  std::vector<int> starts_;  // index of each block's first item
  int count_ = 0;
  int reserved_ = 0;
};

struct ListBox {
  HWND self = nullptr;
  HWND parent = nullptr;  // receives WM_COMMAND notifications
  HWND combo = nullptr;   // the combo box owning a "ComboLBox", or null
  DWORD style = 0;
  UINT id = 0;
  LCID locale = 0;
  ListItems items;
  HFONT font = nullptr;
  int itemHeight = 16;          // fixed height (every style but LBS_OWNERDRAWVARIABLE)
  int top = 0;                  // first visible item
  int caret = -1;               // the item with the focus rectangle
  int anchor = -1;              // where a shift-extended selection starts
  int current = -1;             // the selected item of a single-selection list
  int columnWidth = 0;          // LBS_MULTICOLUMN, pixels
  int horizontalExtent = 0;     // pixels LB_SETHORIZONTALEXTENT scrolls over
  int horizontalPos = 0;        // pixels scrolled left (not multi-column)
  std::vector<int> tabUnits;    // LB_SETTABSTOPS, dialog units (empty: every 8 average characters)
  std::vector<int> tabStops;    // the same in pixels for the current font
  bool redraw = true;
  bool focused = false;
  bool tracking = false;        // the mouse button is down over the list
  bool inLayout = false;        // guards scroll bars changing the client size
  bool searchSelects = true;    // type-ahead moves the selection (false: caret only)
  bool inOrder = true;          // the texts are in sorted order: finds may search by halves
  int wheelRemainder = 0;
  int extendedDragState = 0;    // the selection the mouse drag applies (LBS_EXTENDEDSEL)

  bool multiple() const { return (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
  bool extended() const { return (style & LBS_EXTENDEDSEL) != 0; }
  bool ownerDraw() const { return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
  bool variable() const { return (style & LBS_OWNERDRAWVARIABLE) && !(style & LBS_MULTICOLUMN); }
  bool hasStrings() const { return !ownerDraw() || (style & LBS_HASSTRINGS); }
  bool multiColumn() const { return (style & LBS_MULTICOLUMN) != 0; }
  int count() const { return items.size(); }
  bool valid(int index) const { return index >= 0 && index < items.size(); }
  bool isSelected(int index) const;
};

// The list of a window of the "ListBox" or "ComboLBox" class, or null.
ListBox* listOf(HWND hwnd);

// --- listbox.cpp ---------------------------------------------------------
// Adds an item at `index` (-1: the end), or in sorted place when `sorted`:
// the index, LB_ERR for a bad index, LB_ERRSPACE when memory runs out.
LRESULT insertItem(ListBox& lb, int index, LPARAM lParam, bool sorted);
// Sends an LBN_* notification as WM_COMMAND to the parent (or combo box).
void notifyList(ListBox& lb, int code);
// Selection changes made by the user (keyboard or mouse); notify with LBN_SELCHANGE.
void selectSingle(ListBox& lb, int index);
void setSelected(ListBox& lb, int index, bool on);
void setRange(ListBox& lb, int first, int last, bool on);
void moveCaret(ListBox& lb, int index);
// Index of the first item from `start` (exclusive, wrapping) whose text starts
// with `prefix` (or equals it when `exact`), or LB_ERR.
int findItem(ListBox& lb, int start, const char* prefix, bool exact);

// --- listbox_dir.cpp -----------------------------------------------------
// LB_DIR: adds the names a file pattern matches; the index of the last one added.
LRESULT listDirectory(ListBox& lb, UINT attributes, const char* pattern);

// --- listbox_layout.cpp --------------------------------------------------
// Geometry: rows of one page, the rectangle of an item, the item at a point.
int pageRows(ListBox& lb);
int rowsPerColumn(ListBox& lb);
bool itemRect(ListBox& lb, int index, RECT& r);
int itemAt(ListBox& lb, POINT p, bool& outside);
int maxTop(ListBox& lb);
// Makes `index` visible (fully when it fits), scrolling as little as possible.
void ensureVisible(ListBox& lb, int index);
void setTop(ListBox& lb, int top);
// Scroll bars follow the count, page and position; items after `from` repaint.
void updateScrollBars(ListBox& lb);
void invalidateItem(ListBox& lb, int index);
void invalidateFrom(ListBox& lb, int index);
void onScroll(ListBox& lb, bool vertical, int code);
void onSize(ListBox& lb);
// The height fixed-height items get from the font (or WM_MEASUREITEM).
void measureFixed(ListBox& lb);
int measureVariable(ListBox& lb, int index, ULONG_PTR data);

// --- listbox_paint.cpp ---------------------------------------------------
void paintList(ListBox& lb, HDC dc, const RECT& update);
// The owner-draw target and record fields of a list (the combo's for a drop-down).
HWND ownerWindow(const ListBox& lb);
UINT ownerControlType(const ListBox& lb);
UINT ownerControlId(const ListBox& lb);
HWND ownerItemWindow(const ListBox& lb);

// --- listbox_input.cpp ---------------------------------------------------
void onListKeyDown(ListBox& lb, UINT vk);
void onListChar(ListBox& lb, char c);
void onListButtonDown(ListBox& lb, POINT p, UINT keys, bool doubleClick);
void onListMouseMove(ListBox& lb, POINT p);
void onListButtonUp(ListBox& lb, POINT p);

}  // namespace win32::user
