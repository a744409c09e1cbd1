// Wrappers of common controls: CSpinButtonCtrl (the up-down control) and
// CToolTipCtrl, as thin message wrappers over the documented messages of
// the common controls (commctrl.h).
#pragma once

#include "afxwin.h"

#include <commctrl.h>

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
