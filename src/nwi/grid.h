// The grid: a window of typed cells in titled columns (class <prefix>Grid,
// handler HGridProc), its data set, the HG* exports and its private
// messages.
//
// Where the code lives: griddata.cpp the data set (columns, offsets, rows,
// reaching a row's buffer, the file store); gridcells.cpp the HG* exports and
// setting a cell; gridvirtual.cpp the virtual-mode cache; gridmessages.cpp
// the private messages; gridwindow.cpp creation, layout and scrolling;
// gridlayoutfile.cpp the layout a grid is made from; gridpaint.cpp painting;
// gridinput.cpp keyboard, mouse and moving the current cell; gridfields.cpp
// the in-cell field windows; gridclipboard.cpp copy and paste; gridsort.cpp
// sorting.
//
// Row buffers: the values of all columns in display order, each at its
// column's offset, then one 24-byte cell state per column in display order;
// every row holds two such buffers, the current values and the saved ones.
// Rows reach their buffer one at a time: reaching a row may release the one
// reached before (its bytes may go out to the file store), so no code keeps
// a row's address across reaching another.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ctlrecord.h"
#include "gridstore.h"

// --- private messages (WM_USER + n) ---------------------------------------
#define KYM_GETBKBRUSH (WM_USER + 100)
#define KYM_SETBKBRUSH (WM_USER + 101)
#define KYM_FIELDGOTFOCUS (WM_USER + 121)
#define KYM_FIELDLOSTFOCUS (WM_USER + 122)
#define KYM_GRIDSETDATA (WM_USER + 300)
#define KYM_GRIDGETDATA (WM_USER + 301)
#define KYM_GRIDCLEAR (WM_USER + 302)
#define KYM_GRIDREFRESH (WM_USER + 305)
#define KYM_GRIDGETHEADERHEIGHT (WM_USER + 310)
#define KYM_GRIDSETHEADERHEIGHT (WM_USER + 311)
#define KYM_GRIDGETROWHDRWIDTH (WM_USER + 312)
#define KYM_GRIDSETROWHDRWIDTH (WM_USER + 313)
#define KYM_GRIDGETROWHEIGHT (WM_USER + 314)
#define KYM_GRIDSETROWHEIGHT (WM_USER + 315)
#define KYM_GRIDCOLUMNCOUNT (WM_USER + 316)
#define KYM_GRIDROWCOUNT (WM_USER + 317)
#define KYM_GRIDGETLEFTCOL (WM_USER + 318)
#define KYM_GRIDSETLEFTCOL (WM_USER + 319)
#define KYM_GRIDGETTOPROW (WM_USER + 320)
#define KYM_GRIDSETTOPROW (WM_USER + 321)
#define KYM_GRIDGETFIXEDCOLS (WM_USER + 322)
#define KYM_GRIDSETFIXEDCOLS (WM_USER + 323)
#define KYM_GRIDGETANCHOR (WM_USER + 324)
#define KYM_GRIDSELECTRANGE (WM_USER + 325)
#define KYM_GRIDGETCURSEL (WM_USER + 326)
#define KYM_GRIDSETCURSEL (WM_USER + 327)
#define KYM_GRIDGETFLAGS (WM_USER + 328)
#define KYM_GRIDSETFLAGS (WM_USER + 329)
#define KYM_GRIDGETTITLE (WM_USER + 330)
#define KYM_GRIDSETTITLE (WM_USER + 331)  // sets the title as WM_SETTEXT does
#define KYM_GRIDADDFIELD (WM_USER + 332)
#define KYM_GRIDDELETEFIELD (WM_USER + 333)
#define KYM_GRIDINSERTFIELD (WM_USER + 334)
#define KYM_GRIDMOVEFIELD (WM_USER + 335)
#define KYM_GRIDAPPENDROW (WM_USER + 336)
#define KYM_GRIDDELETEROW (WM_USER + 337)
#define KYM_GRIDINSERTROW (WM_USER + 338)
#define KYM_GRIDMOVEROW (WM_USER + 339)
#define KYM_GRIDGETROWBASE (WM_USER + 340)
#define KYM_GRIDSETROWBASE (WM_USER + 341)
#define KYM_GRIDGETCURROW (WM_USER + 344)
#define KYM_GRIDFINDFIELD (WM_USER + 346)
#define KYM_GRIDGETORDER (WM_USER + 347)
#define KYM_GRIDSETORDER (WM_USER + 348)
#define KYM_GRIDGETCALLBACK (WM_USER + 349)
#define KYM_GRIDSETCALLBACK (WM_USER + 350)
#define KYM_GRIDGETVROWCOUNT (WM_USER + 351)
#define KYM_GRIDSETVROWCOUNT (WM_USER + 352)
#define KYM_GRIDGETCACHEROWS (WM_USER + 353)
#define KYM_GRIDSETCACHEROWS (WM_USER + 354)
#define KYM_GRIDSETOPTION (WM_USER + 356)
#define KYM_GRIDPOSOFFIELD (WM_USER + 357)
#define KYM_GRIDFIELDATPOS (WM_USER + 358)
#define KYM_GRIDROWOFNUMBER (WM_USER + 359)
#define KYM_GRIDGETLASTCHANGE (WM_USER + 360)
#define KYM_GRIDSETLASTCHANGE (WM_USER + 361)
#define KYM_GRIDGETHSCROLL (WM_USER + 362)
#define KYM_GRIDGETVSCROLL (WM_USER + 363)
#define KYM_GRIDSETHSCROLL (WM_USER + 364)
#define KYM_GRIDSETVSCROLL (WM_USER + 365)
#define KYM_GRIDVSCROLLRANGE (WM_USER + 366)
#define KYM_GRIDGETMAXLEFTCOL (WM_USER + 367)
#define KYM_GRIDGETSELECTED (WM_USER + 368)
#define KYM_GRIDCOUNTSELECTED (WM_USER + 369)
#define KYM_GRIDTOGGLEROW (WM_USER + 370)
#define KYM_GRIDSELECTROW (WM_USER + 371)
#define KYM_GRIDUNSELECTROW (WM_USER + 372)
#define KYM_GRIDHIDEFIELD (WM_USER + 373)
#define KYM_GRIDSHOWFIELD (WM_USER + 374)
#define KYM_GRIDGETROWFLAGS (WM_USER + 380)
#define KYM_GRIDSETROWFLAGS (WM_USER + 381)
#define KYM_GRIDGETROW (WM_USER + 382)
#define KYM_GRIDPUTROW (WM_USER + 383)
#define KYM_GRIDGETBOUNDROW (WM_USER + 384)
#define KYM_GRIDSETBOUNDROW (WM_USER + 385)
#define KYM_GRIDROWVALUESIZE (WM_USER + 386)
#define KYM_GRIDISSELECTED (WM_USER + 387)
#define KYM_GRIDNEXTSELECTED (WM_USER + 388)
#define KYM_GRIDFIRSTSELECTED (WM_USER + 389)
#define KYM_GRIDNEXTMODIFIED (WM_USER + 390)
#define KYM_GRIDFIRSTMODIFIED (WM_USER + 391)
#define KYM_GRIDGETSAVEDROW (WM_USER + 392)
#define KYM_GRIDPUTSAVEDROW (WM_USER + 393)
#define KYM_GRIDSTARTACCESS (WM_USER + 394)
#define KYM_GRIDGETVALUES (WM_USER + 395)
#define KYM_GRIDGETSAVEDVALUES (WM_USER + 396)
#define KYM_GRIDPUTVALUES (WM_USER + 397)
#define KYM_GRIDPUTSAVEDVALUES (WM_USER + 398)
#define KYM_GRIDFILL (WM_USER + 399)
#define KYM_GRIDGETFIELDWND (WM_USER + 400)
#define KYM_GRIDGETFIELDSTYLE (WM_USER + 401)
#define KYM_GRIDGETFIELDCLASS (WM_USER + 402)
#define KYM_GRIDGETFIELDDISPTYPE (WM_USER + 403)
#define KYM_GRIDGETFIELDDISPSTORE (WM_USER + 404)
#define KYM_GRIDGETFIELDTYPE (WM_USER + 405)
#define KYM_GRIDGETFIELDSIZE (WM_USER + 406)
#define KYM_GRIDGETFIELDSTORE (WM_USER + 407)
#define KYM_GRIDGETFIELDPICTURE (WM_USER + 408)
#define KYM_GRIDSETFIELDPICTURE (WM_USER + 409)
#define KYM_GRIDGETFIELDPICTURELEN (WM_USER + 410)
#define KYM_GRIDGETFIELDTITLE (WM_USER + 411)
#define KYM_GRIDGETFIELDTITLELEN (WM_USER + 412)
#define KYM_GRIDSETFIELDTITLE (WM_USER + 413)
#define KYM_GRIDGETFIELDWIDTH (WM_USER + 414)
#define KYM_GRIDSETFIELDWIDTH (WM_USER + 415)
#define KYM_GRIDGETFIELDHEIGHT (WM_USER + 416)
#define KYM_GRIDSETFIELDHEIGHT (WM_USER + 417)
#define KYM_GRIDGETFIELDFLAGS (WM_USER + 418)
#define KYM_GRIDSETFIELDFLAGS (WM_USER + 419)
#define KYM_GRIDGETFIELDOFFSET (WM_USER + 422)
#define KYM_GRIDFIELDRESERVED (WM_USER + 423)
#define KYM_GRIDSETMEMBUDGET (WM_USER + 432)
#define KYM_GRIDSORT (WM_USER + 433)
#define KYM_GRIDAUTOSORT (WM_USER + 434)
#define KYM_GRIDRESORT (WM_USER + 435)
#define KYM_GRIDGETSORTKEYS (WM_USER + 436)
// Sent by in-cell field windows to the grid's notification target.
#define KYM_GRIDCTLCOLOR (WM_USER + 424)       // 1448
#define KYM_GRIDFIELDRBUTTONUP (WM_USER + 430)  // 1454
#define KYM_GRIDFIELDLBUTTONUP (WM_USER + 431)  // 1455

// --- option bits (low word of the options) ---------------------------------
enum : DWORD {
  HGO_READONLY = 0x0001, HGO_MDICHILD = 0x0004, HGO_INPLACE = 0x0008, HGO_NEWROW = 0x0010, HGO_SIZEHEADERS = 0x0020,
  HGO_SIZECOLUMNS = 0x0040, HGO_ROWHEADER = 0x0080, HGO_TITLES = 0x0100, HGO_INSERTDELETE = 0x0200,
  HGO_TABLEAVES = 0x0400, HGO_KEEPFIELD = 0x0800, HGO_MOVECOLUMNS = 0x1000, HGO_ROWSELECT = 0x2000,
  HGO_CTRLMOVES = 0x4000, HGO_DISABLEVSCROLL = 0x8000
};

// Record flag bits (HCtlRecord::flags).
enum : WORD {
  HGF_CAPTURED = 0x0001, HGF_NOTENTERED = 0x0002, HGF_PARTIALROW = 0x0004, HGF_COLUMNDRAG = 0x0010,
  HGF_FIELDSHOWN = 0x0020, HGF_FIELDFOCUS = 0x0040, HGF_VIRTUAL = 0x0400, HGF_REDIRECTED = 0x1000,
  HGF_ROWMODIFIED = 0x2000, HGF_SCROLLING = 0x4000, HGF_RANGESELECTED = 0x8000
};

// Row flags.
enum : WORD { HGR_MODIFIED = 0x0001, HGR_NEW = 0x0002, HGR_SELECTED = 0x0008 };
// Column flags.
enum : WORD { HGC_HIDDEN = 0x0001, HGC_READONLY = 0x0004, HGC_CODED = 0x0008 };

// Notification codes.
enum : int {
  HGN_SETFOCUS = 1, HGN_KILLFOCUS = 2, HGN_MOVED = 3, HGN_DBLCLK = 4, HGN_DESTROY = 5, HGN_MOREBEFORE = 15,
  HGN_MOREAFTER = 16, HGN_ROWADDED = 17, HGN_SELCHANGE = 18, HGN_CHANGED = 19, HGN_DELETING = 20,
  HGN_COLUMNSIZED = 21, HGN_MOVING = 24, HGN_EXTENDING = 25, HGN_HSCROLL = 32, HGN_VSCROLL = 33,
  HGN_HRANGE = 34, HGN_LAYOUT = 35
};

// Virtual-mode operations.
enum : int {
  HGV_FETCH = 0, HGV_WRITEBACK = 1, HGV_INSERT = 2, HGV_DELETE = 3, HGV_STORE = 4, HGV_VALIDATE = 5, HGV_ADD = 6
};
typedef LONG(CALLBACK* HGridCallback)(HWND grid, int operation, LONG argument, void* values);

inline constexpr int kHGMaxRows = 32760;
inline constexpr int kHGStateSize = 24;
inline constexpr WORD kHGVersionInCode = 18506;

// A cell's state, 24 bytes as programs lay it out. The font is kept in 32
// bits: the layer's GDI handles are 32-bit values.
struct HGCellState {
  DWORD lookOn;
  WORD marks;  // 0x0001: null
  WORD reserved;
  COLORREF background;
  COLORREF text;
  DWORD font;
  DWORD disabled;
};
static_assert(sizeof(HGCellState) == kHGStateSize);
inline constexpr WORD HGM_NULL = 0x0001;

// A column, as HGFieldCreate makes it.
struct HGField {
  WORD flags;
  WORD width;
  WORD height;
  short valueWidth;
  short unit;
  char type, storage, displayType, displayStorage;
  char fieldClass;
  DWORD style;
  LPSTR title;    // owned
  LPSTR picture;  // owned, "" when none
  DWORD offset;
  HCtlRecord* fieldWindow;
  int boxed;
};

// How a row made without a file store holds its bytes. Most rows carry
// plain values with all cell states zero and a saved half that is zero or
// the same as the current half: such rows keep only their values, and are
// laid out whole into the data set's reach buffer while they are reached.
enum HGRowForm : BYTE {
  HGROW_ZERO,         // no block: every byte of both halves is zero
  HGROW_VALUES,       // heap: the current values; states and the saved half zero
  HGROW_VALUESSAVED,  // heap: the current values; states zero, saved half = current half
  HGROW_FULL          // heap: both halves as laid out
};

struct HGRowRecord {
  WORD flags = 0;
  HGRowForm form = HGROW_ZERO;           // rows without a store object
  DWORD bufferSize = 0;                  // both halves
  std::unique_ptr<BYTE[]> heap;          // rows made without a file store
  GridMemoryObject* object = nullptr;    // rows in the file store (owned by the data set)
};

struct HGridData {
  WORD version = kHGVersionInCode;
  DWORD options = 0;
  DWORD units = 0;
  DWORD savedOptions = 0xFFFFFFFFu;
  short fixedColumns = 0;
  short rowHeight = 20;
  short rowHeaderWidth = 35;
  short columnHeaderHeight = 20;
  short initialRows = 0;
  std::string title;
  std::vector<HGField*> columns;  // owned, in column-index order
  std::vector<HGRowRecord> rows;
  std::vector<short> order;       // display position -> column index
  std::vector<short> positions;   // column index -> display position
  int valuesSize = 0;             // bytes of one half's values
  int rowSize = 0;                // bytes of one half: values and states
  GridStorePtr store;
  int memoryBudget = -1;
  GridMemoryObject* lockedObject = nullptr;
  // The reach buffer: both halves of the row `reachedRow` (a row kept in a
  // short form) while it is reached; written back when another such row
  // is reached or the rows change.
  std::unique_ptr<BYTE[]> reach;
  size_t reachSize = 0;
  int reachedRow = -1;
  ~HGridData();
};

struct HGSortKey {
  LONG column;     // low 16 bits used
  LONG ascending;  // non-zero ascending
};

struct HGridRecord {
  HCtlRecord head;
  HBRUSH backBrush;
  BOOL ownsBrush;
  int leftColumn;  // first visible scrolling display position
  int topRow;      // row index
  LONG rowBase;    // absolute number of row 0
  int visibleRows;
  int reportedColumn, reportedRow;
  int anchorColumn, anchorRow;
  int currentColumn, currentRow;
  HWND editBar;
  HCtlRecord* currentField;
  void* boundRow;
  HGridData* data;
  LPSTR name;
  int cacheRows;
  int rowsPerUnit;
  int vScroll, hScroll;
  int maxLeftColumn;
  LONG totalRows;
  HGridCallback callback;
  LPARAM accessMode;
  BOOL fillPending;
  int sortedColumn, sortAscending;
  int pressedTitle;
  BOOL autoSort;
  std::vector<HGSortKey>* sortKeys;
  COLORREF backColor;
  BOOL committing;
  BOOL dataEnded;  // virtual mode: the owner answered that no row follows the held ones
  BOOL editing;    // a field window of a cell is being set up (no commits meanwhile)
  // The last move was refused or redirected. Reported as record flag 0x1000,
  // kept apart because the notifier uses that bit of the flag word for vetoes.
  BOOL redirected;
  BOOL verticalBarDisabled;  // the vertical bar was last disabled (option 0x8000)
  int movingTitle;           // the display position whose title is dragged to move it, or -1
};

LRESULT HGridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record);
// The grid record of a window of this library's grid class, else nullptr.
HGridRecord* HGRecordOf(HWND window);

// --- the data set (griddata.cpp) ---------------------------------------------
HGridData* HGDataCreate(DWORD options, DWORD units, short fixedColumns, short rowHeight, short rowHeaderWidth,
                        short columnHeaderHeight, short initialRows, const char* title);
void HGDataDestroy(HGridData* data);
int HGValuesSize(const HGridData* data);
int HGRowSize(const HGridData* data);
int HGColumnCount(const HGridData* data);
int HGRowCount(const HGridData* data);
HGField* HGColumn(const HGridData* data, int column);          // by column index
HGField* HGColumnAtPosition(const HGridData* data, int position);
int HGPositionOfColumn(const HGridData* data, int column);      // -1 when none
int HGColumnAtPositionIndex(const HGridData* data, int position);
// The current half of the row's buffer (the saved half follows it), or
// nullptr for a bad row or a row that cannot be brought in.
BYTE* HGReachRow(HGridData* data, int row);
BYTE* HGSavedHalf(HGridData* data, BYTE* current);
// The current values of a row for reading only (no reach buffer is laid
// out for a row in a short form); valid as HGReachRow's answer is.
const BYTE* HGRowValues(HGridData* data, int row);
// Writes the reached row back into its own form (before rows are relinked).
void HGReleaseRow(HGridData* data);
// A cell's state in a row buffer. States follow the values unpadded, so
// they may lie at any address: they are copied in and out, never reached
// through a pointer of their type. FALSE for a bad row or position.
BOOL HGGetState(HGridData* data, const BYTE* current, int position, HGCellState* state);
BOOL HGPutState(HGridData* data, BYTE* current, int position, const HGCellState& state);
// Column operations; each rearranges every row to the new offsets. The
// index (or position) of the column, -1 on failure (memory short).
int HGAddColumn(HGridData* data, HGField* field);
int HGInsertColumn(HGridData* data, int position, HGField* field);
int HGDeleteColumn(HGridData* data, int column);
int HGMoveColumn(HGridData* data, int from, int to);
// Rows: the new row's index, -1 at the row limit or when memory runs out.
int HGInsertRowAt(HGridData* data, int index, WORD flags);
int HGDeleteRowAt(HGridData* data, int index);
int HGMoveRowTo(HGridData* data, int from, int to);
void HGDeleteAllRows(HGridData* data);
// Sets the memory budget and with it the file store; rows held in plain
// blocks move into the store. 1, or 0 when the rows could not move (they
// stay where they are and the budget is not taken).
int HGSetBudget(HGridData* data, int budget);

// --- cells (gridcells.cpp) ---------------------------------------------------
int HGSetCell(HGridRecord* r, int column, int row, const void* value);
// The column whose values the cell shows in text (the display pair when coded).
char HGEffectiveType(const HGField* field);
char HGEffectiveStorage(const HGField* field);
// The cell as text (bounded by the value width); its length, 0 on failure.
int HGCellText(HGridRecord* r, int column, int row, char* out, int size);
int HGSetCellFromText(HGridRecord* r, int column, int row, const char* text);

// --- window (gridwindow.cpp) -------------------------------------------------
void HGLayout(HGridRecord* r);
// The vertical scroll range and thumb after rows were added or removed.
void HGUpdateVerticalBar(HGridRecord* r);
void HGRefresh(HGridRecord* r, BOOL erase);
LONG HGTotalRows(const HGridRecord* r);
LONG HGLargestTop(const HGridRecord* r);
int HGSetTop(HGridRecord* r, LONG absoluteRow);
int HGSetLeft(HGridRecord* r, int position);
int HGAttachData(HGridRecord* r, HGridData* data);
void HGClear(HGridRecord* r);
int HGAppendRow(HGridRecord* r, BOOL newRow, const void* values);
int HGInsertRow(HGridRecord* r, int row, const void* values);
int HGDeleteRow(HGridRecord* r, int row, BOOL notify);
void HGInvalidateCells(HGridRecord* r, int column1, int row1, int column2, int row2);
void HGInvalidateRow(HGridRecord* r, int row);
int HGCellRect(HGridRecord* r, int position, int row, RECT* rect);
void HGMoveCurrent(HGridRecord* r, int column, int row, BOOL extend);

// --- virtual mode (gridvirtual.cpp) ------------------------------------------
LONG HGCall(HGridRecord* r, int operation, LONG argument, void* values);
void HGSetCallback(HGridRecord* r, HGridCallback callback);
void HGFillCache(HGridRecord* r);
void HGCacheScrollTo(HGridRecord* r, LONG absoluteTop);
void HGEmptyCache(HGridRecord* r);
void HGTrimCache(HGridRecord* r, LONG count);
int HGGrowCacheEnd(HGridRecord* r);

// --- in-cell fields (gridfields.cpp) -----------------------------------------
// Makes or destroys the edit bar that holds the field when cells are not
// edited in place (neither read-only nor in-place options).
void HGMakeEditBar(HGridRecord* r);
// After the options changed: the edit bar made or destroyed to match them
// and the field windows made again in their new place; true when it did.
bool HGRebuildEditBar(HGridRecord* r);
// Makes each column's field window (none for classes without one).
void HGMakeFieldWindows(HGridRecord* r);
void HGMakeFieldWindow(HGridRecord* r, HGField* field);
// The current cell's field: loaded from the cell (colours, font, enabled
// state and value), placed over the cell and shown, or hidden.
void HGLoadField(HGridRecord* r);
void HGPlaceField(HGridRecord* r);
void HGHideField(HGridRecord* r);
// Takes the field's value into the cell when it changed; FALSE when the
// cell refused it (the focus stays in the field).
BOOL HGCommitField(HGridRecord* r);

// --- layouts (gridlayoutfile.cpp) --------------------------------------------
// Reads a layout from `size` bytes; nullptr when the bytes hold none (bad
// version, a header cut short, a negative text length in the header).
HGridData* HGReadLayout(const BYTE* bytes, size_t size);
// The data set a new grid window is made from: its layout from a resource
// or a file, or the default set; options and style merged.
HGridData* HGLoadLayout(HWND window, const CREATESTRUCTA* create);
// Scales the set's sizes from one font's dialog units to another's.
void HGScaleToFont(HGridData* data, DWORD oldAverage, DWORD newAverage);
// Design mode: a renamed or destroyed grid updates the shared table.
void HGRenameLayout(HGridRecord* r, const char* name);
void HGReleaseLayout(HGridRecord* r);

// --- painting and input (gridpaint.cpp, gridinput.cpp) -----------------------
BOOL HGWindowMessage(HGridRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
void HGPaint(HGridRecord* r);
void HGCopy(HGridRecord* r);
void HGPaste(HGridRecord* r);

// --- messages (gridmessages.cpp) ---------------------------------------------
BOOL HGMessage(HGridRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// --- sorting (gridsort.cpp) --------------------------------------------------
int HGSort(HGridRecord* r, int count, const HGSortKey* keys);

extern "C" {
int WINAPI HGGetCellData(HWND grid, int column, int row, void* buffer);
int WINAPI HGSetCellData(HWND grid, int column, int row, const void* value);
int WINAPI HGSetCellString(HWND grid, int column, int row, const void* value);
int WINAPI HGGetCellState(HWND grid, int position, int row, HGCellState* state);
int WINAPI HGSetCellState(HWND grid, int position, int row, const HGCellState* state);
int WINAPI HGGetCellText(HWND grid, int column, int row, char* buffer, int size);
int WINAPI HGSetCellText(HWND grid, int column, int row, const char* text);
HGField* WINAPI HGFieldCreate(LPCSTR title, WORD flags, WORD width, WORD height, char type, char storage,
                              char displayType, char displayStorage, int length, char fieldClass, DWORD style,
                              LPCSTR picture);
int WINAPI HGFieldDestroy(HGField* field);
int WINAPI HGridInvalidateRange(HWND grid, int column1, int row1, int column2, int row2);
}
