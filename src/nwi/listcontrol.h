// The list control: a scrollable list of typed items (a data value shown
// through the picture and, with a code type, a code value used as the key),
// single, multiple or extended selection, two caller buffers kept in step
// with the current item, and the HL* programming interface, which drives
// native "ListBox" and "ComboBox" windows through the same private messages.
//
// Where the code lives: listitems.cpp the item store and index bookkeeping;
// listselect.cpp the current item, selection and the walker; listexports.cpp
// the HL* exports; listcontrol.cpp the window messages; listview.cpp layout,
// painting and scrolling; listinput.cpp keyboard and mouse.
#pragma once

#include <windows.h>

#include "collection.h"
#include "ctlrecord.h"

// --- private messages of the list (the common set is in kymessages.h) -----
#define KYM_LISTGETBKBRUSH (WM_USER + 100)      // 1124
#define KYM_LISTSETBKBRUSH (WM_USER + 101)      // 1125: wParam brush, lParam repaint
#define KYM_LISTGETPICTURE (WM_USER + 102)      // 1126: wParam size, lParam buffer
#define KYM_LISTSETPICTURE (WM_USER + 103)      // 1127: wParam repaint, lParam picture
#define KYM_LISTGETFOCUSBRUSH (WM_USER + 104)   // 1128
#define KYM_LISTSETFOCUSBRUSH (WM_USER + 105)   // 1129
#define KYM_LISTGETDATATYPE (WM_USER + 108)     // 1132
#define KYM_LISTGETDATALENGTH (WM_USER + 109)   // 1133: wParam index
#define KYM_LISTGETDATASTORAGE (WM_USER + 110)  // 1134
#define KYM_LISTGETDATALINK (WM_USER + 111)     // 1135
#define KYM_LISTSETDATALINK (WM_USER + 112)     // 1136: wParam select, lParam buffer
#define KYM_LISTGETCOUNT (WM_USER + 150)        // 1174
#define KYM_LISTCLEAR (WM_USER + 151)           // 1175
#define KYM_LISTDELETEITEM (WM_USER + 160)      // 1184: wParam index (16-bit)
#define KYM_LISTSELECTITEM (WM_USER + 161)      // 1185: wParam mode (16-bit), lParam index (16-bit)
#define KYM_LISTGETDATA (WM_USER + 162)         // 1186: wParam index | buffer size << 32, lParam buffer
#define KYM_LISTGETCODE (WM_USER + 163)         // 1187: as 1186
#define KYM_LISTGETTEXT (WM_USER + 164)         // 1188: wParam index, lParam buffer (256 bytes)
#define KYM_LISTGETTEXTLEN (WM_USER + 165)      // 1189: wParam index
#define KYM_LISTSETCODE (WM_USER + 166)         // 1190: wParam index, lParam code
#define KYM_LISTFINDTEXT (WM_USER + 168)        // 1192: wParam start, lParam text
#define KYM_LISTSELECTTEXT (WM_USER + 169)      // 1193: as 1192
#define KYM_LISTADDITEM (WM_USER + 175)         // 1199: lParam data
#define KYM_LISTINSERTITEM (WM_USER + 176)      // 1200: wParam index, lParam data
#define KYM_LISTFINDDATA (WM_USER + 177)        // 1201: wParam start, lParam data
#define KYM_LISTSELECTDATA (WM_USER + 178)      // 1202: wParam mode, lParam data
#define KYM_LISTGETCURDATA (WM_USER + 179)      // 1203: wParam size, lParam buffer
#define KYM_LISTGETCODETYPE (WM_USER + 180)     // 1204
#define KYM_LISTGETCODELINK (WM_USER + 181)     // 1205
#define KYM_LISTSETCODELINK (WM_USER + 182)     // 1206: wParam select, lParam buffer
#define KYM_LISTGETCODELENGTH (WM_USER + 183)   // 1207: wParam index
#define KYM_LISTGETCODESTORAGE (WM_USER + 184)  // 1208
#define KYM_LISTFINDCODE (WM_USER + 185)        // 1209: wParam start, lParam code
#define KYM_LISTSELECTCODE (WM_USER + 186)      // 1210: wParam mode, lParam code
#define KYM_LISTGETCURCODE (WM_USER + 187)      // 1211: wParam size, lParam buffer
#define KYM_LISTLAYOUT (WM_USER + 200)          // 1224
#define KYM_LISTGETCURRENT (WM_USER + 210)      // 1234
#define KYM_LISTSETCURRENT (WM_USER + 211)      // 1235: wParam index (16-bit), lParam repaint
#define KYM_LISTISSELECTED (WM_USER + 212)      // 1236: wParam index
#define KYM_LISTSELECTITEM2 (WM_USER + 213)     // 1237: as 1185
#define KYM_LISTGETSELCOUNT (WM_USER + 214)     // 1238
#define KYM_LISTSELECTRANGE (WM_USER + 215)     // 1239: wParam mode, lParam first | last << 16
#define KYM_LISTGETSELITEMS (WM_USER + 216)     // 1240: wParam count, lParam index array
#define KYM_LISTSETCOLUMNWIDTH (WM_USER + 220)  // 1244: wParam width
#define KYM_LISTGETEXTENT (WM_USER + 221)       // 1245
#define KYM_LISTGETITEMRECT (WM_USER + 222)     // 1246: wParam index, lParam rectangle
#define KYM_LISTGETCOLUMNWIDTH (WM_USER + 223)  // 1247
#define KYM_LISTGETTOP (WM_USER + 230)          // 1254
#define KYM_LISTSETTOP (WM_USER + 231)          // 1255: wParam index
#define KYM_LISTSCROLL (WM_USER + 233)          // 1257: wParam rows (16-bit)
#define KYM_LISTSETTABSTOPS (WM_USER + 234)     // 1258: wParam count, lParam array or the single stop
#define KYM_LISTSETREDRAW (WM_USER + 237)       // 1261: wParam on, lParam repaint
#define KYM_LISTGETFLAGS (WM_USER + 241)        // 1265
#define KYM_LISTSETFLAGS (WM_USER + 242)        // 1266: wParam bits, lParam set
#define KYM_LISTSAMPLE (WM_USER + 243)          // 1267
#define KYM_LISTGETSTYLE (WM_USER + 244)        // 1268

// KYM_LISTGETDATA and KYM_LISTGETCODE carry the caller's buffer size in the
// high half of wParam, as the edit's KYM_GETDATA carries it in wParam.
inline WPARAM HLIndexAndSize(int index, int size) {
  return static_cast<WPARAM>(static_cast<DWORD>(index)) | (static_cast<WPARAM>(static_cast<DWORD>(size)) << 32);
}

// Notification codes.
enum : int {
  HL_N_CHANGE = 1, HL_N_DBLCLK = 2, HL_N_SETFOCUS = 4, HL_N_KILLFOCUS = 5,
  HL_N_ENTER = 0x101, HL_N_ESCAPE = 0x102, HL_N_TAB = 0x107, HL_N_BACKTAB = 0x108, HL_N_HELP = 0x10D
};

// Class style bits.
enum : DWORD {
  HLS_SINGLEITEM = 0x0001, HLS_SORTDATA = 0x0002, HLS_SORTCODE = 0x0004, HLS_MULTIPLE = 0x0008,
  HLS_3DFRAME = 0x0010, HLS_FOCUSBRUSH = 0x0020, HLS_OWNERDRAW = 0x0040, HLS_TABS = 0x0080,
  HLS_NOINTEGRAL = 0x0100, HLS_MULTICOLUMN = 0x0200, HLS_EXTENDED = 0x0800, HLS_NOSCROLL = 0x4000
};

// Flag word bits (besides the common ones).
enum : WORD {
  HLF_RANGESELECTS = 0x0001, HLF_FOCUSRECT = 0x0002, HLF_COLUMNSET = 0x0004, HLF_SINGLESEL = 0x0010,
  HLF_TRACKING = 0x0020, HLF_NOREDRAW = 0x0040, HLF_SHAREDSTORE = 0x0080, HLF_PARTIALROW = 0x0100,
  HLF_FONTSET = 0x0200, HLF_USERCHANGE = HCTL_CHANGED, HLF_NOCURRENT = HCTL_NOVALUE, HLF_RANGE = 0x8000
};

// Item store flag bits.
enum : WORD { HLI_CODES = 0x1, HLI_BYDATA = 0x2, HLI_BYCODE = 0x4 };

// The items: element i of `data` and element i of `codes` make item i.
struct HLItemStore {
  WORD flags;
  char dataType, dataStorage;
  char codeType, codeStorage;  // 0 without codes
  LPSTR picture;               // owned
  HCtlList* data;
  HCtlList* codes;             // nullptr without codes
};

struct HLRecord {
  HCtlRecord head;
  HBRUSH backBrush;
  HBRUSH focusBrush;
  COLORREF textColor;  // colour values (HCTL_SYSCOLOR bit for system colours)
  COLORREF secondColor;
  RECT client;
  COLORREF backColor;  // kHCtlNoColor = none
  int columnWidth;
  int itemHeight;
  int lineHeight;      // of the font; 0 until measured again (a new font)
  int top;
  int visibleRows;
  int visibleColumns;
  int anchor;
  int current;
  int pressIndex;      // the current item when the mouse button went down
  int horizontal;
  int tabCount;
  int* tabs;           // owned
  HLItemStore* store;  // owned unless HLF_SHAREDSTORE
  HCtlList* selection; // sorted indices; nullptr in single-selection lists
  void* dataLink;      // caller buffers, not owned
  void* codeLink;
};

LRESULT HLProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record);

// The list record of a window of this library's list (or drop list) class;
// nullptr for any other window.
HLRecord* HLRecordOf(HWND window);

// --- the item store (listitems.cpp) -------------------------------------
// A store for the type definition (prefixes, colour tokens, picture);
// the colours it names are set. nullptr for an invalid pair or when memory
// runs out (the colours then stay).
HLItemStore* HLCreateStore(const char* definition, DWORD style, COLORREF* textColor, COLORREF* secondColor);
void HLDestroyStore(HLItemStore* store);
int HLCount(const HLRecord* r);
bool HLIsText(char type, char storage);
// Bytes a value of the store's data or code occupies (text: length + 1);
// 0 for none.
int HLValueBytes(char type, char storage, const void* value);
const void* HLDataAt(HLRecord* r, int index);
const void* HLCodeAt(HLRecord* r, int index);
// Inserts by the store's rule; the new index, -1 when nothing was inserted.
int HLStoreInsert(HLRecord* r, int index, const void* data, const void* code);
// Deletes item `index` (WM_DELETEITEM first for owner-drawn lists); 1, or 0
// for a bad index.
int HLStoreDelete(HLRecord* r, int index);
void HLStoreClear(HLRecord* r);
int HLStoreFind(HLRecord* r, bool byCode, int start, const void* value);
// Replaces a code (a longer text takes a new element); 1 or 0.
int HLStoreSetCode(HLRecord* r, int index, const void* code);
// Sorts the items again by the store's rule (data or code), keeping the
// order of equal keys; the current item stays current.
void HLStoreResort(HLRecord* r);
// The item's data as display text (at most size - 1 characters); its length.
int HLItemText(HLRecord* r, int index, char* out, int size, int* negative);
// Copies a value into a caller buffer of `size` bytes (text: at most size -
// 1 characters; a negative size: a buffer known to hold any value); with no
// buffer answers the bytes the value needs. 0 for no value, a text buffer of
// size 0 or a fixed-size buffer that is too small.
int HLCopyValue(void* buffer, int size, const void* value, char type, char storage);

// --- selection and the current item (listselect.cpp) ----------------------
void HLShiftIndices(HLRecord* r, int index, int delta);
bool HLIsItemSelected(HLRecord* r, int index);
int HLSelectOne(HLRecord* r, int index, int mode);
int HLSelectRange(HLRecord* r, int first, int last, int mode);
void HLClearSelection(HLRecord* r);
void HLSetCurrent(HLRecord* r, int index, BOOL notify, BOOL keepAnchor);
void HLFillLinks(HLRecord* r);
int HLFindPrefix(HLRecord* r, const char* text, int start);
// The walker: the items chosen by `which` (0 all, 1 by data, 2 by code, 4 by
// index, 8 selected, 16 not selected) each get `action`; its non-zero answer
// means the item was removed. The walk's state is its own, so that an owner
// answering WM_DELETEITEM may call any HL* function. The number handled.
template <typename Action>
int HLForItems(HLRecord* r, int which, int count, const void* values, Action&& action, bool alwaysAdvance);

// --- layout, painting, scrolling (listview.cpp) ----------------------------
void HLLayout(HLRecord* r);
void HLItemRect(HLRecord* r, int index, RECT* rect);
void HLPaint(HLRecord* r);
void HLEraseBackground(HLRecord* r, HDC dc);
void HLRepaintItem(HLRecord* r, int index);
void HLRepaint(HLRecord* r);
void HLMakeVisible(HLRecord* r, int index);
void HLScrollBy(HLRecord* r, int rows);
// Scrolls so that `index` is on top (multi-column lists: its column), as far as the items fill the window.
void HLSetTop(HLRecord* r, int index);
void HLVScroll(HLRecord* r, int code, int position);
void HLHScroll(HLRecord* r, int code, int position);
// The item under a client point, cut to the items; -1 for an empty list.
int HLItemAt(HLRecord* r, int x, int y);

// --- input (listinput.cpp) ----------------------------------------------
void HLClickSelect(HLRecord* r, int index, bool shift, bool ctrl);
LRESULT HLKeyDown(HLRecord* r, UINT key);
void HLMouse(HLRecord* r, UINT message, WPARAM keys, int x, int y);

// Internal operations the combo box uses.
void HLShareStore(HWND window, HLItemStore* store);

// --- exports (stdcall) ----------------------------------------------------
extern "C" {
int WINAPI HLAddItem(HWND window, const void* data);
int WINAPI HLAddItemEx(HWND window, const void* data, const void* code);
int WINAPI HLAddItems(HWND window, int count, const void* data);
int WINAPI HLAddItemsEx(HWND window, int count, const void* data, const void* codes);
int WINAPI HLInsertItem(HWND window, int index, const void* data);
int WINAPI HLInsertItemEx(HWND window, int index, const void* data, const void* code);
int WINAPI HLInsertItems(HWND window, int index, int count, const void* data);
int WINAPI HLInsertItemsEx(HWND window, int index, int count, const void* data, const void* codes);
int WINAPI HLInsertStringEx(HWND window, int index, LPCSTR data, LPCSTR code);
int WINAPI HLDeleteItem(HWND window, int index);
int WINAPI HLDeleteItems(HWND window, int which, int count, const void* values);
int WINAPI HLEmptyList(HWND window);
int WINAPI HLFindData(HWND window, int start, const void* data);
int WINAPI HLFindCode(HWND window, int start, const void* code);
// With no buffer: the bytes the value needs (text: length + 1). Text values
// are cut to size - 1 characters; a text value without a size is refused.
int WINAPI HLGetData(HWND window, int index, void* buffer, int size);
int WINAPI HLGetCode(HWND window, int index, void* buffer, int size);
// For text storages `out` is an array of pointers to buffers of bufferSize
// bytes each.
int WINAPI HLGetItems(HWND window, int count, int what, void* out, int which, const void* values, int bufferSize);
int WINAPI HLSetCode(HWND window, int index, const void* code);
int WINAPI HLSelectItem(HWND window, int index, int select);
int WINAPI HLSelectItems(HWND window, int select, int which, int count, const void* values);
int WINAPI HLSelectData(HWND window, const void* data, int select);
int WINAPI HLSelectCode(HWND window, const void* code, int select);
int WINAPI HLIsSelected(HWND window, int index);
int WINAPI HLSetDataLink(HWND window, void* buffer, int select);
int WINAPI HLSetCodeLink(HWND window, void* buffer, int select);
}

#include <algorithm>

#include "listwalk.h"
