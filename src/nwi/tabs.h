// The tab control (class <prefix>Tabs): one row, or several stacked rows,
// of tabs above a page area. The window text lists the captions separated
// by ';' ('\' escapes, '^' breaks lines). Selecting a tab is announced with
// vetoable notifications; the page area lets the mouse through to the page
// (a child dialog laid over it). IsTabDlgMessage (ravlets.h) moves the
// keyboard between the page and the dialog around the control.
//
// Files: tabs.cpp (messages, tabs, selection, keys), tabspaint.cpp (layout,
// painting, hit test).
#pragma once

#include "ctlrecord.h"

// Private messages; wParam is a tab index, -1 applies a setter to every tab.
#define KYM_TABSREPAINT (WM_USER + 10)       // 1034
#define KYM_TABSGETCURRENT (WM_USER + 11)    // 1035
#define KYM_TABSSELECT (WM_USER + 12)        // 1036: lParam non-zero normal, 0 forced
#define KYM_TABSGETCOUNT (WM_USER + 13)      // 1037
#define KYM_TABSSETCOUNT (WM_USER + 14)      // 1038: wParam count
#define KYM_TABSINSERT (WM_USER + 15)        // 1039: lParam caption or 0
#define KYM_TABSDELETE (WM_USER + 16)        // 1040
#define KYM_TABSISENABLED (WM_USER + 17)     // 1041
#define KYM_TABSENABLE (WM_USER + 18)        // 1042: lParam 0 disables
#define KYM_TABSISVISIBLE (WM_USER + 19)     // 1043
#define KYM_TABSSHOW (WM_USER + 20)          // 1044: lParam 0 hides
#define KYM_TABSGETVALUE (WM_USER + 21)      // 1045: the 4-bit user value
#define KYM_TABSSETVALUE (WM_USER + 22)      // 1046
#define KYM_TABSGETCOLOR (WM_USER + 23)      // 1047
#define KYM_TABSSETCOLOR (WM_USER + 24)      // 1048
#define KYM_TABSSETCAPTION (WM_USER + 25)    // 1049: lParam text (escaped)
#define KYM_TABSGETCAPTIONLEN (WM_USER + 26) // 1050: the escaped length
#define KYM_TABSGETCAPTION (WM_USER + 27)    // 1051: wParam index | buffer size << 16, lParam buffer
#define KYM_TABSGETWORD (WM_USER + 28)       // 1052
#define KYM_TABSSETWORD (WM_USER + 29)       // 1053
#define KYM_TABSGETPAGECOLOR (WM_USER + 30)  // 1054
#define KYM_TABSSETPAGECOLOR (WM_USER + 31)  // 1055
#define KYM_TABSVISITED (WM_USER + 32)       // 1056
#define KYM_TABSGETFLAG (WM_USER + 33)       // 1057
#define KYM_TABSSETFLAG (WM_USER + 34)       // 1058
#define KYM_TABSGETDATA (WM_USER + 50)       // 1074
#define KYM_TABSSETDATA (WM_USER + 51)       // 1075
#define KYM_TABSPAGERECT (WM_USER + 52)      // 1076: lParam RECT*

// Notification codes.
enum : int { HTN_FIRSTVISIT = 1, HTN_SELCHANGE = 2, HTN_SELCHANGING = 3, HTN_ADDED = 4 };

// Tab item flags.
enum : WORD { HTI_DISABLED = 0x1, HTI_HIDDEN = 0x2, HTI_USER = 0x4, HTI_VISITED = 0x8, HTI_VALUEMASK = 0xF0 };
// Record flags besides the common ones.
enum : WORD { HTF_SELECTED = 0x0002, HTF_FOCUS = 0x0400, HTF_NOTFORCED = 0x2000 };

inline constexpr COLORREF kHTabsGray = 0x00C0C0C0;

struct HTabItem {
  WORD flags;
  LPSTR caption;  // owned, un-escaped
  WORD userWord;
  COLORREF tabColor;
  COLORREF pageColor;
  LPARAM data;
};

struct HTabsRecord {
  HCtlRecord head;
  int count;
  int current;
  int visible;
  int rows;
  int perRow;
  int tabWidth;
  int rowHeight;
  int currentRow;
  int capacity;
  HTabItem* tabs;  // owned array
  COLORREF color;
  BOOL layingOut;
  BOOL paintedByErase;  // WM_ERASEBKGND painted for the WM_PAINT that follows
};

LRESULT HTabsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record);

// Lays the tabs out again for the client width and the font.
void HCtlTabsLayout(HTabsRecord* r);
// The rectangle of a visible tab in client coordinates (empty for a hidden one).
RECT HTabsTabRect(const HTabsRecord* r, int index);
// The page area: below the rows, inset by 3 pixels.
RECT HTabsPageRect(const HTabsRecord* r);
// The tab under a client point, -1 for none.
int HTabsTabAt(const HTabsRecord* r, POINT at);
void HTabsPaint(HTabsRecord* r, HDC dc);
