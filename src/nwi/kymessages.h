// Private control messages of the custom control library: WM_USER + n, sent
// with SendMessageA to the control window. The numbers below mean the same
// in every class (the common set); the static's own numbers follow. Other
// classes declare theirs beside their code. The native control library and
// the property atom provider send the same numbers, so they never change.
#pragma once

#include <windows.h>

// --- the common set ------------------------------------------------------
#define KYM_GETFLAG2000 (WM_USER + 113)    // 1137: changed since focus: 1 or 0
#define KYM_SETFLAG2000 (WM_USER + 114)    // 1138: wParam non-zero sets it; answers 1
#define KYM_SETNONOTIFY (WM_USER + 119)    // 1143: wParam non-zero turns notifications off; answers 1
#define KYM_GETNONOTIFY (WM_USER + 120)    // 1144: 1 while notifications are off
#define KYM_GETINSTANCE (WM_USER + 123)    // 1147: the instance record, 0 when none
#define KYM_SETINSTANCE (WM_USER + 124)    // 1148: lParam = record or 0; answers 0
#define KYM_GETNOTIFYWND (WM_USER + 125)   // 1149: the notification target
#define KYM_SETNOTIFYWND (WM_USER + 126)   // 1150: wParam = new target; answers the previous one
#define KYM_GETSTYLE (WM_USER + 127)       // 1151: window style's high word | record style's low word
#define KYM_SETSTYLE (WM_USER + 128)       // 1152: lParam = style
#define KYM_VETO (WM_USER + 131)           // 1155: vetoes the notification being sent; answers 1
#define KYM_GETFLAG4000 (WM_USER + 132)    // 1156: the control holds no value: 1 or 0

// Messages several classes share with their own meaning.
#define KYM_BUTTONCLICK (WM_USER + 99)     // 1123: a button clicks itself with notification
#define KYM_GETTEXTCOLOR (WM_USER + 106)   // 1130: wParam selects the colour (class's own)
#define KYM_SETTEXTCOLOR (WM_USER + 107)   // 1131: lParam = colour
#define KYM_SETBKCOLOR (WM_USER + 134)     // 1158: lParam = colour

// --- static control ---------------------------------------------------------
#define KYM_STATGETALIGN (WM_USER + 400)       // 1424: 0 left, 1 centre, 2 right
#define KYM_STATSETALIGN (WM_USER + 401)       // 1425: wParam 0 left, 2 right, other centre
#define KYM_STATGETBKCOLOR (WM_USER + 402)     // 1426
#define KYM_STATSETBKCOLOR (WM_USER + 403)     // 1427: wParam repaint, lParam colour (kept palette-relative)
#define KYM_STATGETTEXTCOLOR (WM_USER + 404)   // 1428
#define KYM_STATSETTEXTCOLOR (WM_USER + 405)   // 1429: wParam repaint, lParam colour
#define KYM_STATGETPICTURE (WM_USER + 406)     // 1430: the picture handle
#define KYM_STATSETPICTURE (WM_USER + 407)     // 1431: wParam picture, lParam repaint | kind << 16
#define KYM_GETSTATICTYPE (WM_USER + 408)      // 1432
#define KYM_SETSTATICTYPE (WM_USER + 409)      // 1433: wParam type (0..5), lParam repaint
#define KYM_STATGETPICTUREWORD (WM_USER + 410) // 1434: the picture slot's further word
#define KYM_STATSETBITMAPFILE (WM_USER + 411)  // 1435: wParam module, lParam name

// Notification flag bits of the record's flag word that every class shares.
#define HCTL_NONOTIFY 0x0800
#define HCTL_VETO 0x1000
#define HCTL_CHANGED 0x2000
#define HCTL_NOVALUE 0x4000

// Colour values with this bit stand for the system colour of their low byte.
#define HCTL_SYSCOLOR 0x80000000u
// Palette-relative colour (PALETTERGB): the form of colours given as numbers.
#define HCTL_PALETTERGB 0x02000000u
