// Property sheets of the common controls library: the documented records,
// notifications and messages of PropertySheetA and its pages (64-bit:
// pointer-sized fields where Windows has them).
#pragma once

// The notifications' header, NMHDR, is the common controls'.
#include <commctrl.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

struct _PSP;
typedef struct _PSP* HPROPSHEETPAGE;
struct _PROPSHEETPAGEA;
typedef UINT(CALLBACK* LPFNPSPCALLBACKA)(HWND hwnd, UINT uMsg, struct _PROPSHEETPAGEA* ppsp);
typedef int(CALLBACK* PFNPROPSHEETCALLBACK)(HWND hwndDlg, UINT uMsg, LPARAM lParam);

// Page flags.
#define PSP_DEFAULT 0x00000000
#define PSP_DLGINDIRECT 0x00000001
#define PSP_USEHICON 0x00000002
#define PSP_USEICONID 0x00000004
#define PSP_USETITLE 0x00000008
#define PSP_RTLREADING 0x00000010
#define PSP_HASHELP 0x00000020
#define PSP_USEREFPARENT 0x00000040
#define PSP_USECALLBACK 0x00000080
#define PSP_PREMATURE 0x00000400

// Page callback messages.
#define PSPCB_ADDREF 0
#define PSPCB_RELEASE 1
#define PSPCB_CREATE 2

typedef struct _PROPSHEETPAGEA {
  DWORD dwSize;
  DWORD dwFlags;
  HINSTANCE hInstance;
  union {
    LPCSTR pszTemplate;
    LPCDLGTEMPLATEA pResource;
  };
  union {
    HICON hIcon;
    LPCSTR pszIcon;
  };
  LPCSTR pszTitle;
  DLGPROC pfnDlgProc;
  LPARAM lParam;
  LPFNPSPCALLBACKA pfnCallback;
  UINT* pcRefParent;
  LPCSTR pszHeaderTitle;
  LPCSTR pszHeaderSubTitle;
  HANDLE hActCtx;
} PROPSHEETPAGEA, *LPPROPSHEETPAGEA;
typedef const PROPSHEETPAGEA* LPCPROPSHEETPAGEA;
typedef PROPSHEETPAGEA PROPSHEETPAGE;
typedef LPPROPSHEETPAGEA LPPROPSHEETPAGE;
typedef LPCPROPSHEETPAGEA LPCPROPSHEETPAGE;

// Sheet flags.
#define PSH_DEFAULT 0x00000000
#define PSH_PROPTITLE 0x00000001
#define PSH_USEHICON 0x00000002
#define PSH_USEICONID 0x00000004
#define PSH_PROPSHEETPAGE 0x00000008
#define PSH_WIZARDHASFINISH 0x00000010
#define PSH_WIZARD 0x00000020
#define PSH_USEPSTARTPAGE 0x00000040
#define PSH_NOAPPLYNOW 0x00000080
#define PSH_USECALLBACK 0x00000100
#define PSH_HASHELP 0x00000200
#define PSH_MODELESS 0x00000400
#define PSH_RTLREADING 0x00000800

// Sheet callback messages.
#define PSCB_INITIALIZED 1
#define PSCB_PRECREATE 2

typedef struct _PROPSHEETHEADERA {
  DWORD dwSize;
  DWORD dwFlags;
  HWND hwndParent;
  HINSTANCE hInstance;
  union {
    HICON hIcon;
    LPCSTR pszIcon;
  };
  LPCSTR pszCaption;
  UINT nPages;
  union {
    UINT nStartPage;
    LPCSTR pStartPage;
  };
  union {
    LPCPROPSHEETPAGEA ppsp;
    HPROPSHEETPAGE* phpage;
  };
  PFNPROPSHEETCALLBACK pfnCallback;
  union {
    HBITMAP hbmWatermark;
    LPCSTR pszbmWatermark;
  };
  HPALETTE hplWatermark;
  union {
    HBITMAP hbmHeader;
    LPCSTR pszbmHeader;
  };
} PROPSHEETHEADERA, *LPPROPSHEETHEADERA;
typedef const PROPSHEETHEADERA* LPCPROPSHEETHEADERA;
typedef PROPSHEETHEADERA PROPSHEETHEADER;
typedef LPPROPSHEETHEADERA LPPROPSHEETHEADER;
typedef LPCPROPSHEETHEADERA LPCPROPSHEETHEADER;

// Notifications to the pages (WM_NOTIFY with a PSHNOTIFY).
#define PSN_FIRST (0U - 200U)
#define PSN_SETACTIVE (PSN_FIRST - 0)
#define PSN_KILLACTIVE (PSN_FIRST - 1)
#define PSN_APPLY (PSN_FIRST - 2)
#define PSN_RESET (PSN_FIRST - 3)
#define PSN_HELP (PSN_FIRST - 5)
#define PSN_WIZBACK (PSN_FIRST - 6)
#define PSN_WIZNEXT (PSN_FIRST - 7)
#define PSN_WIZFINISH (PSN_FIRST - 8)
#define PSN_QUERYCANCEL (PSN_FIRST - 9)

#define PSNRET_NOERROR 0
#define PSNRET_INVALID 1
#define PSNRET_INVALID_NOCHANGEPAGE 2

typedef struct _PSHNOTIFY {
  NMHDR hdr;
  LPARAM lParam;  // PSN_APPLY: TRUE when OK was pressed
} PSHNOTIFY, *LPPSHNOTIFY;

// Messages to the sheet.
#define PSM_SETCURSEL (WM_USER + 101)
#define PSM_REMOVEPAGE (WM_USER + 102)
#define PSM_ADDPAGE (WM_USER + 103)
#define PSM_CHANGED (WM_USER + 104)
#define PSM_RESTARTWINDOWS (WM_USER + 105)
#define PSM_REBOOTSYSTEM (WM_USER + 106)
#define PSM_CANCELTOCLOSE (WM_USER + 107)
#define PSM_QUERYSIBLINGS (WM_USER + 108)
#define PSM_UNCHANGED (WM_USER + 109)
#define PSM_APPLY (WM_USER + 110)
#define PSM_SETTITLEA (WM_USER + 111)
#define PSM_SETWIZBUTTONS (WM_USER + 112)
#define PSM_PRESSBUTTON (WM_USER + 113)
#define PSM_SETCURSELID (WM_USER + 114)
#define PSM_SETFINISHTEXTA (WM_USER + 115)
#define PSM_GETTABCONTROL (WM_USER + 116)
#define PSM_ISDIALOGMESSAGE (WM_USER + 117)
#define PSM_GETCURRENTPAGEHWND (WM_USER + 118)
#define PSM_HWNDTOINDEX (WM_USER + 129)
#define PSM_INDEXTOHWND (WM_USER + 130)
#define PSM_PAGETOINDEX (WM_USER + 131)
#define PSM_INDEXTOPAGE (WM_USER + 132)
#define PSM_GETRESULT (WM_USER + 135)
#define PSM_SETTITLE PSM_SETTITLEA

// PSM_PRESSBUTTON's buttons.
#define PSBTN_BACK 0
#define PSBTN_NEXT 1
#define PSBTN_FINISH 2
#define PSBTN_OK 3
#define PSBTN_APPLYNOW 4
#define PSBTN_CANCEL 5
#define PSBTN_HELP 6

#define ID_PSRESTARTWINDOWS 0x2
#define ID_PSREBOOTSYSTEM (ID_PSRESTARTWINDOWS | 0x1)

// The sheet's own controls.
#define ID_APPLY_NOW 0x3021
#define IDD_PROPSHEET_TABS 0x3020

#define PropSheet_SetCurSel(hDlg, hpage, index) \
  ((BOOL)SendMessageA((hDlg), PSM_SETCURSEL, (WPARAM)(index), (LPARAM)(hpage)))
#define PropSheet_Changed(hDlg, hwnd) ((BOOL)SendMessageA((hDlg), PSM_CHANGED, (WPARAM)(hwnd), 0))
#define PropSheet_UnChanged(hDlg, hwnd) ((void)SendMessageA((hDlg), PSM_UNCHANGED, (WPARAM)(hwnd), 0))
#define PropSheet_CancelToClose(hDlg) ((void)SendMessageA((hDlg), PSM_CANCELTOCLOSE, 0, 0))
#define PropSheet_QuerySiblings(hDlg, wParam, lParam) \
  ((int)SendMessageA((hDlg), PSM_QUERYSIBLINGS, (WPARAM)(wParam), (LPARAM)(lParam)))
#define PropSheet_Apply(hDlg) ((BOOL)SendMessageA((hDlg), PSM_APPLY, 0, 0))
#define PropSheet_SetTitle(hDlg, dwStyle, lpszText) \
  ((void)SendMessageA((hDlg), PSM_SETTITLEA, (WPARAM)(dwStyle), (LPARAM)(lpszText)))
#define PropSheet_PressButton(hDlg, iButton) ((BOOL)SendMessageA((hDlg), PSM_PRESSBUTTON, (WPARAM)(iButton), 0))
#define PropSheet_GetTabControl(hDlg) ((HWND)SendMessageA((hDlg), PSM_GETTABCONTROL, 0, 0))
#define PropSheet_IsDialogMessage(hDlg, pMsg) ((BOOL)SendMessageA((hDlg), PSM_ISDIALOGMESSAGE, 0, (LPARAM)(pMsg)))
#define PropSheet_GetCurrentPageHwnd(hDlg) ((HWND)SendMessageA((hDlg), PSM_GETCURRENTPAGEHWND, 0, 0))
#define PropSheet_IndexToHwnd(hDlg, i) ((HWND)SendMessageA((hDlg), PSM_INDEXTOHWND, (WPARAM)(i), 0))
#define PropSheet_HwndToIndex(hDlg, hwnd) ((int)SendMessageA((hDlg), PSM_HWNDTOINDEX, (WPARAM)(hwnd), 0))
#define PropSheet_GetResult(hDlg) ((int)SendMessageA((hDlg), PSM_GETRESULT, 0, 0))

HPROPSHEETPAGE WINAPI CreatePropertySheetPageA(LPCPROPSHEETPAGEA constPropSheetPagePointer);
BOOL WINAPI DestroyPropertySheetPage(HPROPSHEETPAGE hPage);
// Modal: >= 1 when changes were applied, 0 when none were, -1 on failure.
// Modeless (PSH_MODELESS): the sheet's window, or -1.
INT_PTR WINAPI PropertySheetA(LPCPROPSHEETHEADERA lppsph);
#define CreatePropertySheetPage CreatePropertySheetPageA
#define PropertySheet PropertySheetA

#ifdef __cplusplus
}
#endif
