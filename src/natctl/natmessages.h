// The private control messages that the native controls answer, by number
// (WM_USER + n). The custom control library names the common set, the
// edit's and the list protocol in kymessages.h, editcontrol.h and
// listcontrol.h; the numbers below are the rest that the native classes take.
#pragma once

#include <windows.h>

#include "editcontrol.h"
#include "kymessages.h"
#include "listcontrol.h"

enum : UINT {
  NKM_GETOVERWRITE = 1069,
  NKM_SETOVERWRITE = 1070,
  NKM_NUMBERTEXT = 1093,     // reformats the number text at lParam (wParam its buffer size)
  NKM_SETTEXTCOLOR = 1131,
  NKM_SETBORDER = 1152,
  NKM_SETCONTEXTMENU = 1265,
  NKM_TEXTCASE = 1266,
  NKM_TEXTCASEPAINT = 1267,
  NKM_PARENTCOLOR = 1268,
  NKM_MOUSE1 = 1454,
  NKM_MOUSE2 = 1455,
  NKM_STEPUP = 1474,
  NKM_STEPDOWN = 1475,
  NKM_SETINCREMENT = 1477,
};

// Notification codes of the native edits (WM_COMMAND high word).
enum : int { NKN_CHANGED = 0x606, NKN_PLAINDBLCLK = 0x607, NKN_TYPEDDBLCLK = 0x10C, NKN_LISTCHANGED = 6 };
