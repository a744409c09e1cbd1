// The button control (class <prefix>Butt): push buttons, default push
// buttons, check boxes, radio buttons and three-state boxes drawn from a
// definition string (alignment digits, colours, caption, one picture per
// visual state, a sound). It keeps a typed value - the check state by a
// storage letter, or for a radio button the value of the selected member of
// its group - in a buffer the run-time binds to it. The record lives in
// window long 1 (the class has two).
//
// Files: button.cpp (creation, messages, check state, radio groups),
// buttondefinition.cpp (the definition string), buttonpaint.cpp (layout and
// painting), buttonsound.cpp (the wave).
#pragma once

#include <string>
#include <vector>

#include "ctlrecord.h"
#include "picture.h"

// --- private messages of the button (kymessages.h has the shared ones) ----
#define KYM_BUTTGETPICTUREALIGN (WM_USER + 30)   // 1054
#define KYM_BUTTGETPICTURE (WM_USER + 31)        // 1055: wParam slot; the handle, 0 outside
#define KYM_BUTTGETPICTURECOUNT (WM_USER + 32)   // 1056
#define KYM_BUTTGETUNUSEDCOLOR (WM_USER + 33)    // 1057: the key colour
#define KYM_BUTTGETRELATIVEALIGN (WM_USER + 34)  // 1058
#define KYM_BUTTGETWAVEFILE (WM_USER + 35)       // 1059: wParam size, lParam buffer
#define KYM_BUTTGETTEXTALIGN (WM_USER + 36)      // 1060
#define KYM_BUTTGETTYPE (WM_USER + 39)           // 1063
#define KYM_SETPICTUREALIGN (WM_USER + 50)       // 1074: digit 0-8
#define KYM_BUTTSETPICTURE (WM_USER + 51)        // 1075: wParam slot | kind << 16, lParam handle
#define KYM_SETUNUSEDCOLOR (WM_USER + 52)        // 1076: lParam key colour
#define KYM_SETRELATIVEALIGN (WM_USER + 53)      // 1077: digit 0-8
#define KYM_SETWAVEFILE (WM_USER + 54)           // 1078: wParam wave resource, lParam file name
#define KYM_SETTEXTALIGN (WM_USER + 55)          // 1079: digit 0-8
#define KYM_BUTTGETVALUE (WM_USER + 56)          // 1080: lParam buffer; the value's size, -1 on failure
#define KYM_BUTTSETVALUE (WM_USER + 57)          // 1081: wParam 1 = radio group positions, lParam value or 0
#define KYM_BUTTGETLINK (WM_USER + 58)           // 1082
#define KYM_BUTTSETLINK (WM_USER + 59)           // 1083: lParam the caller's value buffer
#define KYM_BUTTGETVALUESIZE (WM_USER + 60)      // 1084
#define KYM_BUTTGETSTATECOUNT (WM_USER + 61)     // 1085
#define KYM_BUTTISLASTRADIO (WM_USER + 62)       // 1086
#define KYM_BUTTSETPICTURECOUNT (WM_USER + 63)   // 1087: wParam count
#define KYM_BUTTGETPICTUREWORD (WM_USER + 64)    // 1088: wParam slot
#define KYM_BUTTGETSTORAGE (WM_USER + 65)        // 1089
#define KYM_BUTTSETBITMAPFILE (WM_USER + 66)     // 1090: wParam module, lParam name (slot 0)
#define KYM_BUTTGETVALUEWORD (WM_USER + 100)     // 1124
#define KYM_BUTTSETVALUEWORD (WM_USER + 101)     // 1125: wParam value; answers the previous one
#define KYM_BUTTGETTEXTCOLOR (WM_USER + 106)     // 1130

// Notification codes (WM_COMMAND high word).
enum : int {
  HBN_CLICKED = 0, HBN_DBLCLK = 5, HBN_SETFOCUS = 256, HBN_KILLFOCUS = 512, HBN_CHANGED = 768, HBN_MODIFIED = 1024
};

// Button style: the low word of the window style.
enum : DWORD {
  HBS_TYPEMASK = 0x000F,
  HBS_TRANSPARENT = 0x0010,  // the parent repaints behind the button on focus loss and WM_ENABLE
  HBS_LEFTTEXT = 0x0020,
  HBS_RIGHTTEXT = 0x0040,
  HBS_NOFOCUS = 0x0080,
  HBS_OWNERDRAW = 0x0100,
  HBS_TWOPICTURES = 0x0400,  // a pushed picture per state: the check state counts in steps of 2
  HBS_AUTO = 0x0800,
  HBS_FLAT = 0x1000,
  HBS_SHADOW = 0x2000,
};
enum { HBT_PUSH = 0, HBT_DEFPUSH = 1, HBT_CHECK = 2, HBT_RADIO = 3, HBT_3STATE = 4, HBT_PUSHRADIO = 6 };

// Flag word bits of the button (the common ones are in kymessages.h).
enum : WORD {
  HBF_KEYPRESSED = 0x0001,   // the space bar holds the button down
  HBF_PUSHED = 0x0004,       // shown pushed
  HBF_GROUPVALUES = 0x0040,  // a radio button's value is its group position, not its id
  HBF_FOCUS = 0x0400,
};

// What a definition string says.
struct HButtDefinition {
  int textAlign = 4;
  int pictureAlign = 4;
  int relativeAlign = 4;
  char storage = 'w';  // of a check box's value
  BOOL hasTextColor = FALSE;
  COLORREF textColor = 0;
  COLORREF keyColor = 0x0000FF00;  // green: the pictures' transparent colour
  std::string caption;             // un-escaped, line breaks as '\n'
  std::vector<std::string> pictures;
  std::string sound;
};

// The definition of a creation text: the type's default definition (from
// the library's strings) goes in front of a text that does not begin with
// a digit.
std::string HButtCompleteDefinition(const char* text, int type);
// Reads a complete definition. Never fails: what is missing keeps its default.
void HButtParseDefinition(const char* definition, int type, HButtDefinition* out);

struct HButtRecord {
  HCtlRecord head;  // head.style: the full window style; its low word is the button style
  LPSTR caption;    // owned; line breaks are '\n'
  COLORREF textColor;
  COLORREF keyColor;
  COLORREF backColor;  // kHCtlNoColor: the target's WM_CTLCOLORBTN brush
  WORD valueWord;
  BYTE pictureAlign, textAlign, relativeAlign;
  BYTE checkState;
  BYTE stateCount;
  BOOL hadTabStop;  // the creation style had WS_TABSTOP (a checked automatic radio takes it back)
  int pictureCount;
  int pictureCapacity;
  HCtlPicture* pictures;  // owned array
  char storage;
  void* bound;            // the caller's value buffer, not owned
  HINSTANCE module;       // the creating module: pictures and wave resources
  HRSRC waveResource;     // a wave resource of `module` found by name
  HGLOBAL heldWave;       // a "%a" wave kept loaded, or one given with KYM_SETWAVEFILE
  LPSTR waveFile;         // owned full path of a wave file
  BOOL paintedByErase;
};

LRESULT HButtProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record);

// --- shared between the button's files -------------------------------------
inline int HButtType(const HButtRecord* r) { return static_cast<int>(r->head.style & HBS_TYPEMASK); }
inline bool HButtIsRadio(int type) { return type == HBT_RADIO || type == HBT_PUSHRADIO; }
// The default picture of a state for the type ("HC1" ...), none for push buttons.
const char* HButtDefaultPicture(int type, int index);
// Paints the whole button into `dc`.
void HButtPaint(HButtRecord* r, HDC dc);
// The rectangle inside the face's frame the content stands in (moved right
// and down while the face is sunken).
RECT HButtContentRect(HButtRecord* r);
// Where the caption and the picture stand inside the content rectangle.
void HButtLayout(HButtRecord* r, HDC dc, RECT* captionBox, RECT* pictureBox);
// The library's shared "no value" pictures (the second for pushed), held while buttons exist.
void HButtHoldSharedPictures(bool hold);
const HCtlPicture* HButtNoValuePicture(bool pushed);
// The wave of a definition's sound field; plays it.
void HButtSetSound(HButtRecord* r, const char* sound);
void HButtPlaySound(HButtRecord* r);
void HButtFreeSound(HButtRecord* r);
