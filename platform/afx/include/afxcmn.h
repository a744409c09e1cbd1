// Wrappers of common controls the run-time uses before the common-control
// library exists: CSpinButtonCtrl (the up-down control) and CToolTipCtrl,
// as thin message wrappers over the documented messages. The declarations
// below stand in for the common controls' header until it exists; they
// keep the documented names and values, so that the header can replace them.
#pragma once

#include "afxwin.h"

#ifndef UDM_SETRANGE
#define UPDOWN_CLASSA "msctls_updown32"
#define UDM_SETRANGE (WM_USER + 101)
#define UDM_GETRANGE (WM_USER + 102)
#define UDM_SETPOS (WM_USER + 103)
#define UDM_GETPOS (WM_USER + 104)
#define UDM_SETBUDDY (WM_USER + 105)
#define UDM_GETBUDDY (WM_USER + 106)
#define UDM_SETACCEL (WM_USER + 107)
#define UDM_GETACCEL (WM_USER + 108)
#define UDM_SETBASE (WM_USER + 109)
#define UDM_GETBASE (WM_USER + 110)
#define UDM_SETRANGE32 (WM_USER + 111)
#define UDM_GETRANGE32 (WM_USER + 112)
typedef struct _UDACCEL {
  UINT nSec;
  UINT nInc;
} UDACCEL, *LPUDACCEL;
#endif

#ifndef TTM_ACTIVATE
#define TOOLTIPS_CLASSA "tooltips_class32"
#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02
#define TTF_IDISHWND 0x0001
#define TTF_CENTERTIP 0x0002
#define TTF_SUBCLASS 0x0010
#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_SETDELAYTIME (WM_USER + 3)
#define TTM_ADDTOOLA (WM_USER + 4)
#define TTM_DELTOOLA (WM_USER + 5)
#define TTM_NEWTOOLRECTA (WM_USER + 6)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_GETTOOLINFOA (WM_USER + 8)
#define TTM_SETTOOLINFOA (WM_USER + 9)
#define TTM_UPDATETIPTEXTA (WM_USER + 12)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_POP (WM_USER + 28)
#define TTDT_AUTOMATIC 0
#define TTDT_RESHOW 1
#define TTDT_AUTOPOP 2
#define TTDT_INITIAL 3
typedef struct tagTOOLINFOA {
  UINT cbSize;
  UINT uFlags;
  HWND hwnd;
  UINT_PTR uId;
  RECT rect;
  HINSTANCE hinst;
  LPSTR lpszText;
  LPARAM lParam;
  void* lpReserved;
} TOOLINFOA, *LPTOOLINFOA;
#endif

class CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)
 public:
  CSpinButtonCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(UPDOWN_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
  }
  BOOL SetAccel(int nAccel, UDACCEL* pAccel) { return (BOOL)SendMessage(UDM_SETACCEL, nAccel, (LPARAM)pAccel); }
  UINT GetAccel(int nAccel, UDACCEL* pAccel) const { return (UINT)SendMessage(UDM_GETACCEL, nAccel, (LPARAM)pAccel); }
  int SetBase(int nBase) { return (int)SendMessage(UDM_SETBASE, nBase); }
  UINT GetBase() const { return (UINT)SendMessage(UDM_GETBASE); }
  CWnd* SetBuddy(CWnd* pWndBuddy) {
    return CWnd::FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)AfxWndHandle(pWndBuddy)));
  }
  CWnd* GetBuddy() const { return CWnd::FromHandle((HWND)SendMessage(UDM_GETBUDDY)); }
  // The previous position; GetPos gives the position in the low word
  // (the high word is non-zero on an error).
  int SetPos(int nPos) { return (short)LOWORD(SendMessage(UDM_SETPOS, 0, MAKELPARAM(nPos, 0))); }
  int GetPos() const { return (int)SendMessage(UDM_GETPOS); }
  void SetRange(short nLower, short nUpper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
  void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, (WPARAM)nLower, nUpper); }
  DWORD GetRange() const { return (DWORD)SendMessage(UDM_GETRANGE); }
  void GetRange(int& lower, int& upper) const {
    DWORD dw = GetRange();
    lower = (short)HIWORD(dw);
    upper = (short)LOWORD(dw);
  }
  void GetRange32(int& lower, int& upper) const { SendMessage(UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper); }
};

class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)
 public:
  CToolTipCtrl() = default;
  // A top-level tip window owned by pParentWnd.
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0) {
    return CWnd::CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, AfxWndHandle(pParentWnd), nullptr);
  }
  void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
  // A tool for pWnd: its whole area when lpRectTool is null (the tool id
  // is then the window), else that rectangle under id nIDTool.
  BOOL AddTool(CWnd* pWnd, LPCSTR lpszText, const RECT* lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  BOOL AddTool(CWnd* pWnd, UINT nIDText, const RECT* lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
  void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)lpMsg); }
  void SetDelayTime(UINT nDelay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, (LPARAM)(INT)MAKELONG(nDelay, 0)); }
  void SetDelayTime(DWORD dwDuration, int iTime) { SendMessage(TTM_SETDELAYTIME, dwDuration, iTime); }
  int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
  int SetMaxTipWidth(int iWidth) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth); }
  void Pop() { SendMessage(TTM_POP); }

 private:
  void fillToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool, LPCSTR lpszText) const;
};
