// The "SysListView32" control's state and geometry, shared by its message
// handling (listview.cpp) and its painting (listview_paint.cpp).
//
// The report view is the one laid out in full: a header row of columns over
// one row per item, column 0 holding the item's small image and label, the
// other columns its subitems. The icon, small-icon and list views show the
// same rows as one column of labels without a header. The header is drawn
// by the list itself (there is no separate header window: LVM_GETHEADER
// answers null); a click on a column title reports LVN_COLUMNCLICK.
#pragma once

#include "commonstate.h"

#include <string>
#include <vector>

namespace win32::comctl::listview {

struct Item {
  std::vector<std::string> texts;  // [0] the label, then the subitems by column
  bool textCallback = false;       // the label is asked of the parent (LPSTR_TEXTCALLBACK)
  int image = 0;
  LPARAM param = 0;
  UINT state = 0;
  int indent = 0;
};

struct Column {
  std::string text;
  int format = LVCFMT_LEFT;
  int width = 0;
  int subItem = 0;
  int image = -1;
};

struct ListView {
  HWND self = nullptr;
  std::vector<Item> items;
  std::vector<Column> columns;
  HIMAGELIST images[3] = {};  // LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE
  HFONT font = nullptr;
  COLORREF background = 0, text = 0, textBackground = 0;
  DWORD extended = 0;
  int top = 0;      // first row shown
  int scrollX = 0;  // pixels the columns are scrolled left
  int mark = -1;    // the selection mark: the anchor of Shift selections
  bool redraw = true;
};

ListView* stateOfList(HWND hwnd);

DWORD styleOf(const ListView& lv);
bool report(const ListView& lv);
// Pixels of the header row; 0 outside the report view or with LVS_NOCOLUMNHEADER.
int headerHeight(const ListView& lv);
int rowHeight(const ListView& lv);
// Whole rows that fit below the header (at least 1).
int rowsPerPage(const ListView& lv);
RECT clientOf(const ListView& lv);
// The widths the rows are laid out in: the columns in the report view, the
// client width as one column otherwise.
std::vector<int> columnWidths(const ListView& lv);
// Row `index` as laid out now (it may lie outside the client area).
RECT rowRect(const ListView& lv, int index);
// Parts of a row by LVIR_* code, subitem 0 meaning the item itself.
bool itemPart(const ListView& lv, int index, int subItem, int code, RECT& out);
// The item's label or subitem text, asking the parent for callback labels.
std::string textOf(const ListView& lv, int index, int subItem);
HFONT fontOf(const ListView& lv);

void paint(ListView& lv);
void updateScrollBars(ListView& lv);

}  // namespace win32::comctl::listview
