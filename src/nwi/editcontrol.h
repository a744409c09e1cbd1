// The edit control: a single-line editor of one typed value (type and
// storage letters, datatypes.h), shown through FormatData, checked key by
// key by the data-type layer and read back on commit. Classes <prefix>Edit
// and <prefix>Edit_SS share HEdProc; the spin and the combo box call the
// HEd* operations below.
#pragma once

#include <windows.h>

#include "ctlrecord.h"

// --- private messages of the edit (the common set is in kymessages.h) -----
#define KYM_GETDATA (WM_USER + 40)              // 1064: wParam size, lParam buffer
#define KYM_SETDATA (WM_USER + 41)              // 1065: lParam value or 0 for null
#define KYM_EDITGETRECT (WM_USER + 42)          // 1066
#define KYM_EDITSETRECT (WM_USER + 43)          // 1067: wParam show, lParam rect or 0
#define KYM_EDITGETLIMIT (WM_USER + 44)         // 1068
#define KYM_GETOVERWRITE (WM_USER + 45)         // 1069
#define KYM_SETOVERWRITE (WM_USER + 46)         // 1070
#define KYM_EDITGETPASSWORDCHAR (WM_USER + 47)  // 1071
#define KYM_EDITSETPASSWORDCHAR (WM_USER + 48)  // 1072
#define KYM_EDITGETFIRSTVISIBLE (WM_USER + 49)  // 1073
#define KYM_EDITSETFIRSTVISIBLE (WM_USER + 50)  // 1074
#define KYM_EDITREFRESH (WM_USER + 53)          // 1077: wParam commit, lParam show
#define KYM_EDITGETVALIDATOR (WM_USER + 54)     // 1078
#define KYM_EDITSETVALIDATOR (WM_USER + 55)     // 1079
#define KYM_EDITVALIDATE (WM_USER + 56)         // 1080
#define KYM_EDITGETSELTEXT (WM_USER + 57)       // 1081
#define KYM_EDITINSERTTEXT (WM_USER + 58)       // 1082
#define KYM_GETMAX (WM_USER + 59)               // 1083
#define KYM_SETMAX (WM_USER + 60)               // 1084
#define KYM_GETMIN (WM_USER + 61)               // 1085
#define KYM_SETMIN (WM_USER + 62)               // 1086
#define KYM_EDITREFOCUS (WM_USER + 63)          // 1087
#define KYM_EDITSETLIMIT (WM_USER + 64)         // 1088
#define KYM_EDITGETSEL (WM_USER + 65)           // 1089
#define KYM_SETSEL (WM_USER + 66)               // 1090
#define KYM_SETFIELD (WM_USER + 67)             // 1091
#define KYM_GETFIELD (WM_USER + 68)             // 1092
#define KYM_EDITGETBKBRUSH (WM_USER + 100)      // 1124
#define KYM_EDITSETBKBRUSH (WM_USER + 101)      // 1125
#define KYM_EDITGETPICTURE (WM_USER + 102)      // 1126
#define KYM_EDITSETPICTURE (WM_USER + 103)      // 1127
#define KYM_EDITGETFOCUSBRUSH (WM_USER + 104)   // 1128
#define KYM_EDITSETFOCUSBRUSH (WM_USER + 105)   // 1129
#define KYM_EDITGETTYPE (WM_USER + 108)         // 1132
#define KYM_EDITGETVALUELENGTH (WM_USER + 109)  // 1133
#define KYM_EDITGETSTORAGE (WM_USER + 110)      // 1134
#define KYM_EDITGETLINK (WM_USER + 111)         // 1135
#define KYM_EDITSETLINK (WM_USER + 112)         // 1136
#define KYM_EDITGETFLAGS (WM_USER + 117)        // 1141
#define KYM_EDITSETFLAGS (WM_USER + 118)        // 1142
#define KYM_EDITGETTEXTPTR (WM_USER + 129)      // 1153
#define KYM_EDITGETPICTUREPTR (WM_USER + 130)   // 1154
#define KYM_EDITSETEMPTYNULL (WM_USER + 133)    // 1157

// Notification codes (WM_COMMAND high word).
enum : int {
  HED_N_SETFOCUS = 0x100, HED_N_ENTER = 0x101, HED_N_ESCAPE = 0x102, HED_N_TAB = 0x107, HED_N_BACKTAB = 0x108,
  HED_N_DBLCLK = 0x10C, HED_N_HELP = 0x10D, HED_N_KILLFOCUS = 0x200, HED_N_CHANGE = 0x300, HED_N_MODIFIED = 0x400,
  HED_N_FULL = 0x501, HED_N_SCROLL = 0x601, HED_N_REJECTED = 0x602, HED_N_BELOWMIN = 0x603, HED_N_ABOVEMAX = 0x604
};

// Flag word bits (HCtlRecord::flags) of the edit.
enum : WORD {
  HED_DISPLAY = 0x0002, HED_RIGHT = 0x0004, HED_CENTER = 0x0008, HED_REPLACING = 0x0010, HED_FIXEDLEN = 0x0020,
  HED_DIRTY = 0x0040, HED_NEGATIVE = 0x0080, HED_SWALLOW = 0x0100, HED_THUMB = 0x0200, HED_FOCUS = 0x0400,
  HED_MODIFIED = HCTL_CHANGED, HED_NULL = HCTL_NOVALUE
};

// Style bits (low word is the edit's own).
enum : DWORD {
  HES_CENTER = 0x0001, HES_RIGHT = 0x0002, HES_UPPER = 0x0008, HES_LOWER = 0x0010, HES_PASSWORD = 0x0020,
  HES_AUTOSCROLL = 0x0080, HES_KEEPSEL = 0x0100, HES_3DFRAME = 0x0200, HES_FOCUSBRUSH = 0x0400,
  HES_EDITRIGHT = 0x0800, HES_WANTALLKEYS = 0x1000, HES_READONLY = 0x2000, HES_PICTURESIZED = 0x4000,
  HES_PICTURE = 0x8000
};

// Range flags.
enum : WORD { HED_HASMIN = 0x1, HED_HASMAX = 0x2, HED_EMPTYNULL = 0x4, HED_TOUCHED = 0x8 };

// Validation callback: 0 accepts the value, non-zero rejects it.
typedef int(CALLBACK* HEdValidator)(HWND window, int id, void* value);

struct HEdRecord {
  HCtlRecord head;
  HBRUSH backBrush;    // 0 = ask the owner (WM_CTLCOLOREDIT)
  HBRUSH focusBrush;   // with HES_FOCUSBRUSH while focused
  COLORREF textColor;  // colour values (HCTL_SYSCOLOR bit for system colours)
  COLORREF negativeColor;
  RECT format;         // the formatting rectangle in client coordinates
  COLORREF backColor;  // kHCtlNoColor = none
  int lineHeight;
  int visibleChars;
  char type;
  char storage;
  int valueSize;       // bytes of `value`
  int textSize;        // bytes of `text`
  int anchor;          // selection anchor and caret, character (byte) positions
  int caret;
  int firstVisible;
  int lastFirstVisible;
  char passwordChar;
  LPSTR picture;       // owned, or nullptr
  LPSTR nullText;      // owned, or nullptr
  BYTE* value;         // owned, valueSize bytes in the storage form
  void* link;          // the caller's buffer kept in step (not owned)
  LPSTR text;          // owned, textSize bytes
  HEdValidator validator;
  double minimum;      // for dates and times: days as in storage 'u'
  double maximum;
  WORD rangeFlags;
  DWORD fieldKind;     // 'f' (102): numeric-field separators
  UINT_PTR clockTimer; // type 'k'
};

LRESULT HEdProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record);

// 0 when the text was taken, non-zero when rejected (the previous value
// stays, the text stays changed so that the next commit tries again).
int HEdCommit(HEdRecord* r, const char* text);
void HEdShow(HEdRecord* r, int editing);
// 1; -2 without a record; -5 when a buffer cannot grow.
int HEdSetValue(HEdRecord* r, const void* value);
// which: 0 both, 1 caret, 2 anchor; negative positions mean the end.
void HEdSetSel(HEdRecord* r, int which, int anchor, int caret);
int HEdDrawValue(HEdRecord* r, HDC dc, const RECT* rect, const void* value, int alignment);
int HEdValueToNumber(double* number, const void* value, char type, char storage);
int HEdNumberToValue(double number, void* value, char type, char storage);
int HEdClampNumber(double* number, const double* minimum, const double* maximum);
void HEdClampValue(HEdRecord* r);
int HEdParseRange(const char** text, double* minimum, double* maximum, double* third, char type, char storage);

// --- shared between the edit's modules --------------------------------
// Parses a type definition into the record (buffers made anew). FALSE
// when a buffer cannot be made.
BOOL HEdDefine(HEdRecord* r, const char* definition);
// New picture text (colour markup, null text, default picture).
void HEdSetPictureText(HEdRecord* r, const char* pictureText);
// Grows text (and value for strings) to at least `size` bytes; FALSE on failure.
BOOL HEdGrowBuffers(HEdRecord* r, int size);
// The text and value buffers: sub-allocator pieces while they fit one, heap
// blocks beyond, so that a text may be longer than a piece. Resize answers
// the buffer (moved perhaps, new bytes zero) or nullptr with the old one
// kept; a null buffer is made anew.
void* HEdBufferResize(void* buffer, int size);
void HEdBufferFree(void* buffer);
// The number of characters before `end` whose text fits `width` pixels.
int HEdFittingBefore(HEdRecord* r, int end, int width);
int HEdTextLength(const HEdRecord* r);
// Keyboard, typing, clipboard, mouse, scrolling (edittyping.cpp).
LRESULT HEdChar(HEdRecord* r, WPARAM character);
LRESULT HEdKeyDown(HEdRecord* r, UINT key, BOOL system);
void HEdKeyUp(HEdRecord* r, UINT key);
void HEdDeleteSelection(HEdRecord* r, bool suspendEmptyNull);
void HEdDeleteAt(HEdRecord* r, bool moveCaret);
LRESULT HEdCopy(HEdRecord* r);
LRESULT HEdCut(HEdRecord* r);
LRESULT HEdPaste(HEdRecord* r);
void HEdInsertText(HEdRecord* r, const char* text);
void HEdScroll(HEdRecord* r, int count);
void HEdHScroll(HEdRecord* r, int code, int position);
void HEdUpdateLastFirstVisible(HEdRecord* r);
void HEdMouse(HEdRecord* r, UINT message, WPARAM keys, int x, int y);
// Picture fields (editpicture.cpp): the file set as the value, converted
// into the conversion folder (1; 0 when it is not found or does not
// convert, the value unchanged), the file dialog of F2, the painting.
int HEdPictureSetFile(HEdRecord* r, const char* name);
void HEdPictureDialog(HEdRecord* r);
void HEdPicturePaint(HEdRecord* r, HDC dc, const RECT& client);
// Painting and the caret (editpaint.cpp).
void HEdPaint(HEdRecord* r);
void HEdPlaceCaret(HEdRecord* r);
void HEdMakeCaret(HEdRecord* r);
int HEdCharAtX(HEdRecord* r, int x);
int HEdXOfChar(HEdRecord* r, int position);
