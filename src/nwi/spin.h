// The spin control (class <prefix>Spin): an edit field (editcontrol.h) with
// a column of two step buttons at its right edge, in the non-client area,
// and optionally a drag area between them. A press, the Up and Down keys or
// the step messages move the value one step: numbers by the increment,
// dates and times by one unit of the part under the selection. Every
// message the spin does not answer is the edit's.
//
// Files: spin.cpp (creation, the button column, presses, keys),
// spinstep.cpp (what one step does to the value).
#pragma once

#include "editcontrol.h"

#define KYM_SPINUP (WM_USER + 450)           // 1474: wParam 1 from auto-repeat
#define KYM_SPINDOWN (WM_USER + 451)         // 1475
#define KYM_GETINC (WM_USER + 452)           // 1476: lParam buffer of the control's type ('n', 'c')
#define KYM_SETINC (WM_USER + 453)           // 1477: lParam value of the control's type, 0 resets to 1
#define KYM_SPINSETDRAGAREA (WM_USER + 454)  // 1478: wParam on when non-zero

// Notification codes of a step (besides the edit's 0x603/0x604 clamps and 0x602 refusals).
enum : int { HSP_N_UP = 0x605, HSP_N_DOWN = 0x606 };

// Hit-test codes inside the button column.
enum : int { HSP_HITUP = 31, HSP_HITDRAG = 32, HSP_HITDOWN = 33 };

// The class style bit of a drag area (taken out before the edit sees the style).
inline constexpr DWORD kHSpDragStyle = 0x0020;
enum : DWORD { HSP_DRAGAREA = 0x20 };

struct HSpRecord {
  HEdRecord edit;     // the edit's record, enlarged
  WORD buttonState;   // the part held: 0 none, 1 up, 2 drag area, 3 down
  DWORD spinFlags;    // HSP_DRAGAREA
  double increment;   // of 'n' and 'c' values
};

LRESULT HSpProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record);

// One step of the value (no notifications but the clamps' and refusals'):
// 1 when the type steps, 0 when it cannot (the value stays).
int HSpStep(HSpRecord* record, BOOL up);

// Unit slots of the parts of a date/time text, smallest first.
enum { HSP_FRACTION, HSP_SECOND, HSP_MINUTE, HSP_HOUR, HSP_DAY, HSP_MONTH, HSP_YEAR, HSP_AMPM, HSP_SLOTS };
struct HSpPart {
  int position;  // first text position, -1 when the text has no such part
  int length;
};
// Finds the parts of the field's text by its picture.
void HSpPictureParts(const HEdRecord* record, HSpPart parts[HSP_SLOTS]);
// Days of a month (February by the Gregorian leap rule).
int HSpDaysInMonth(int year, int month);
