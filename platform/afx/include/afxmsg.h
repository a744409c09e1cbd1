// Message maps: the static tables through which a window or command target
// names its handlers, the framework's private messages and the ON_ macros.
//
// A class declares DECLARE_MESSAGE_MAP() and defines its table with
// BEGIN_MESSAGE_MAP(theClass, baseClass) ... END_MESSAGE_MAP(). Each entry
// says which message (and, for commands and notifications, which code and
// id range) it takes, and holds a small function that unpacks wParam and
// lParam and calls the handler with the signature the framework documents
// for that message (OnSize(UINT nType, int cx, int cy) ...). The unpacking
// is written once per macro below, typed, so a handler of the wrong
// signature does not compile. Lookups walk the class's table, then its base
// class's, up to CCmdTarget.
#pragma once

#include "afxdefs.h"
#include "afxgeom.h"

class CCmdTarget;
class CWnd;
class CCmdUI;
class CDC;
class CMenu;
class CScrollBar;

// The header of a WM_NOTIFY notification (the common controls' NMHDR).
#ifndef KY_NMHDR_DECLARED
#define KY_NMHDR_DECLARED
typedef struct tagNMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
} NMHDR, *LPNMHDR;
#endif

// The framework's private window messages (numbers other code relies on).
#define WM_QUERYAFXWNDPROC 0x0360   // answers 1 from a window run by AfxWndProc
#define WM_SIZEPARENT 0x0361
#define WM_SETMESSAGESTRING 0x0362  // status-bar prompt: wParam string id or lParam text
#define WM_IDLEUPDATECMDUI 0x0363   // idle update of command user-interface objects
#define WM_INITIALUPDATE 0x0364
#define WM_COMMANDHELP 0x0365
#define WM_HELPHITTEST 0x0366
#define WM_EXITHELPMODE 0x0367
#define WM_RECALCPARENT 0x0368
#define WM_SIZECHILD 0x0369
#define WM_KICKIDLE 0x036A          // sent by a modal loop while its queue is empty; lParam the idle count
#define WM_QUERYCENTERWND 0x036B
#define WM_DISABLEMODAL 0x036C
#define WM_FLOATSTATUS 0x036D
#define WM_ACTIVATETOPLEVEL 0x036E
#define WM_POPMESSAGESTRING 0x0375  // puts the prompt back unless the frame has WF_NOPOPMSG
#define WM_HELPPROMPTADDR 0x0376    // answers the address of a window's help prompt context
#define WM_REFLECT_BASE 0xBC00      // a child's notification sent back to it: WM_REFLECT_BASE + message

// Notification codes of command routing (HIWORD of OnCmdMsg's nCode holds
// the message, WM_COMMAND when 0).
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

// The extra argument of WM_NOTIFY routing (OnCmdMsg's pExtra).
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

// The reflected colour message (WM_REFLECT_BASE + WM_CTLCOLOR, 0xBC19)
// carries this record in lParam: the control, its device context and the
// control kind CTLCOLOR_MSGBOX .. CTLCOLOR_STATIC (the WM_CTLCOLOR*
// message minus WM_CTLCOLORMSGBOX).
struct AFX_CTLCOLOR {
  HWND hWnd;
  HDC hDC;
  UINT nCtlType;
};
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6

// One message or command on its way to a handler.
struct AFX_MSGCALL {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;     // the message's answer, set by the handler's unpacker
  UINT nID = 0;           // command or control id (commands and notifications)
  void* pExtra = nullptr; // CCmdUI* for CN_UPDATE_COMMAND_UI, AFX_NOTIFY* for WM_NOTIFY
};

// Calls one handler on pTarget (of the class whose table holds the entry);
// FALSE when the handler declined (the _EX forms, a CCmdUI that continues
// routing), so that routing goes on.
typedef BOOL (*AFX_PMSGCALL)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;             // window message, WM_COMMAND or WM_NOTIFY (+ WM_REFLECT_BASE when reflected)
  UINT nCode;                // notification code, CN_COMMAND or CN_UPDATE_COMMAND_UI
  UINT nID;                  // first id of the range
  UINT nLastID;              // last id of the range
  const UINT* pnRegistered;  // ON_REGISTERED_MESSAGE: the variable holding the number
  AFX_PMSGCALL pfn;          // null ends the table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg found, when asked to look only (CCmdUI::DoUpdate asks
// whether any handler exists).
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  const AFX_MSGMAP_ENTRY* pEntry;
};

#define afx_msg

#define DECLARE_MESSAGE_MAP()                      \
 protected:                                        \
  static const AFX_MSGMAP* GetThisMessageMap();    \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                             \
    typedef theClass ThisClass;                                                 \
    typedef baseClass TheBaseClass;                                             \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                       \
    {0, 0, 0, 0, nullptr, nullptr}};                                            \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                         \
  }

// --- building blocks -------------------------------------------------------
// The handler's object; `call` is the AFX_MSGCALL.
#define AFX_THIS static_cast<ThisClass*>(pTarget)
#define AFX_ENTRY(msg, code, id, lastId, body) \
  {(UINT)(msg), (UINT)(code), (UINT)(id), (UINT)(lastId), nullptr, [](CCmdTarget* pTarget, AFX_MSGCALL& call) -> BOOL body},
#define AFX_MSG_ENTRY(msg, body) AFX_ENTRY(msg, 0, 0, 0, body)
#define AFX_LPOINT CPoint(GET_X_LPARAM(call.lParam), GET_Y_LPARAM(call.lParam))

// --- window messages ---------------------------------------------------------
#define ON_WM_CREATE() \
  AFX_MSG_ENTRY(WM_CREATE, { call.result = AFX_THIS->OnCreate(reinterpret_cast<LPCREATESTRUCT>(call.lParam)); return TRUE; })
#define ON_WM_NCCREATE() \
  AFX_MSG_ENTRY(WM_NCCREATE, { call.result = AFX_THIS->OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(call.lParam)); return TRUE; })
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, { AFX_THIS->OnDestroy(); return TRUE; })
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY(WM_NCDESTROY, { AFX_THIS->OnNcDestroy(); return TRUE; })
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, { AFX_THIS->OnClose(); return TRUE; })
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, { AFX_THIS->OnPaint(); return TRUE; })
#define ON_WM_NCPAINT() AFX_MSG_ENTRY(WM_NCPAINT, { AFX_THIS->OnNcPaint(); return TRUE; })
#define ON_WM_SYSCOLORCHANGE() AFX_MSG_ENTRY(WM_SYSCOLORCHANGE, { AFX_THIS->OnSysColorChange(); return TRUE; })
#define ON_WM_CANCELMODE() AFX_MSG_ENTRY(WM_CANCELMODE, { AFX_THIS->OnCancelMode(); return TRUE; })
#define ON_WM_CHILDACTIVATE() AFX_MSG_ENTRY(WM_CHILDACTIVATE, { AFX_THIS->OnChildActivate(); return TRUE; })
#define ON_WM_SIZE() \
  AFX_MSG_ENTRY(WM_SIZE, { AFX_THIS->OnSize((UINT)call.wParam, (short)LOWORD(call.lParam), (short)HIWORD(call.lParam)); return TRUE; })
#define ON_WM_MOVE() \
  AFX_MSG_ENTRY(WM_MOVE, { AFX_THIS->OnMove((short)LOWORD(call.lParam), (short)HIWORD(call.lParam)); return TRUE; })
#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, { AFX_THIS->OnTimer((UINT_PTR)call.wParam); return TRUE; })
#define ON_WM_SETFOCUS() \
  AFX_MSG_ENTRY(WM_SETFOCUS, { AFX_THIS->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam))); return TRUE; })
#define ON_WM_KILLFOCUS() \
  AFX_MSG_ENTRY(WM_KILLFOCUS, { AFX_THIS->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam))); return TRUE; })
#define ON_WM_ENABLE() AFX_MSG_ENTRY(WM_ENABLE, { AFX_THIS->OnEnable((BOOL)call.wParam); return TRUE; })
#define ON_WM_SHOWWINDOW() \
  AFX_MSG_ENTRY(WM_SHOWWINDOW, { AFX_THIS->OnShowWindow((BOOL)call.wParam, (UINT)call.lParam); return TRUE; })
#define ON_WM_ERASEBKGND() \
  AFX_MSG_ENTRY(WM_ERASEBKGND, { call.result = AFX_THIS->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(call.wParam))); return TRUE; })
// Every WM_CTLCOLOR* message (the control kind is the message's).
#define ON_WM_CTLCOLOR()                                                                              \
  AFX_MSG_ENTRY(WM_CTLCOLOR, {                                                                        \
    call.result = reinterpret_cast<LRESULT>(AFX_THIS->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(call.wParam)), \
                                                                 CWnd::FromHandle(reinterpret_cast<HWND>(call.lParam)), \
                                                                 call.message - WM_CTLCOLORMSGBOX));  \
    return TRUE;                                                                                      \
  })
#define AFX_MOUSE_ENTRY(msg, fn) AFX_MSG_ENTRY(msg, { AFX_THIS->fn((UINT)call.wParam, AFX_LPOINT); return TRUE; })
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE_ENTRY(WM_MBUTTONUP, OnMButtonUp)
#define AFX_NCMOUSE_ENTRY(msg, fn) AFX_MSG_ENTRY(msg, { AFX_THIS->fn((UINT)call.wParam, AFX_LPOINT); return TRUE; })
#define ON_WM_NCLBUTTONDOWN() AFX_NCMOUSE_ENTRY(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONDBLCLK() AFX_NCMOUSE_ENTRY(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCMOUSEMOVE() AFX_NCMOUSE_ENTRY(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_MOUSEWHEEL()                                                                                     \
  AFX_MSG_ENTRY(WM_MOUSEWHEEL, {                                                                               \
    call.result = AFX_THIS->OnMouseWheel(LOWORD(call.wParam), (short)HIWORD(call.wParam), AFX_LPOINT);         \
    return TRUE;                                                                                               \
  })
#define AFX_KEY_ENTRY(msg, fn) \
  AFX_MSG_ENTRY(msg, { AFX_THIS->fn((UINT)call.wParam, LOWORD(call.lParam), HIWORD(call.lParam)); return TRUE; })
#define ON_WM_KEYDOWN() AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() AFX_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_KEY_ENTRY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_KEY_ENTRY(WM_SYSCHAR, OnSysChar)
// The scroll-bar control of a scroll message as a CScrollBar (its own
// object when it is one, else a temporary one); null for a window's bars.
CScrollBar* AfxScrollBarFromHandle(HWND hWnd);
#define AFX_SCROLL_ENTRY(msg, fn)                                                                           \
  AFX_MSG_ENTRY(msg, {                                                                                      \
    AFX_THIS->fn(LOWORD(call.wParam), (short)HIWORD(call.wParam),                                            \
                 AfxScrollBarFromHandle(reinterpret_cast<HWND>(call.lParam)));                               \
    return TRUE;                                                                                            \
  })
#define ON_WM_HSCROLL() AFX_SCROLL_ENTRY(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL() AFX_SCROLL_ENTRY(WM_VSCROLL, OnVScroll)
#define ON_WM_DRAWITEM()                                                                              \
  AFX_MSG_ENTRY(WM_DRAWITEM, {                                                                        \
    AFX_THIS->OnDrawItem((int)call.wParam, reinterpret_cast<LPDRAWITEMSTRUCT>(call.lParam));          \
    call.result = TRUE;                                                                               \
    return TRUE;                                                                                      \
  })
#define ON_WM_MEASUREITEM()                                                                           \
  AFX_MSG_ENTRY(WM_MEASUREITEM, {                                                                     \
    AFX_THIS->OnMeasureItem((int)call.wParam, reinterpret_cast<LPMEASUREITEMSTRUCT>(call.lParam));    \
    call.result = TRUE;                                                                               \
    return TRUE;                                                                                      \
  })
#define ON_WM_ACTIVATE()                                                                              \
  AFX_MSG_ENTRY(WM_ACTIVATE, {                                                                        \
    AFX_THIS->OnActivate(LOWORD(call.wParam), CWnd::FromHandle(reinterpret_cast<HWND>(call.lParam)),  \
                         (BOOL)HIWORD(call.wParam));                                                  \
    return TRUE;                                                                                      \
  })
#define ON_WM_ACTIVATEAPP() \
  AFX_MSG_ENTRY(WM_ACTIVATEAPP, { AFX_THIS->OnActivateApp((BOOL)call.wParam, (DWORD)call.lParam); return TRUE; })
#define ON_WM_GETMINMAXINFO() \
  AFX_MSG_ENTRY(WM_GETMINMAXINFO, { AFX_THIS->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(call.lParam)); return TRUE; })
#define ON_WM_SETCURSOR()                                                                                 \
  AFX_MSG_ENTRY(WM_SETCURSOR, {                                                                           \
    call.result = AFX_THIS->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam)),            \
                                        LOWORD(call.lParam), HIWORD(call.lParam));                        \
    return TRUE;                                                                                          \
  })
#define ON_WM_MOUSEACTIVATE()                                                                             \
  AFX_MSG_ENTRY(WM_MOUSEACTIVATE, {                                                                       \
    call.result = AFX_THIS->OnMouseActivate(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam)),        \
                                            LOWORD(call.lParam), HIWORD(call.lParam));                    \
    return TRUE;                                                                                          \
  })
#define ON_WM_CONTEXTMENU()                                                                               \
  AFX_MSG_ENTRY(WM_CONTEXTMENU, {                                                                         \
    AFX_THIS->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam)), AFX_LPOINT);           \
    return TRUE;                                                                                          \
  })
#define ON_WM_SYSCOMMAND() \
  AFX_MSG_ENTRY(WM_SYSCOMMAND, { AFX_THIS->OnSysCommand((UINT)call.wParam, call.lParam); return TRUE; })
#define ON_WM_INITMENU() \
  AFX_MSG_ENTRY(WM_INITMENU, { AFX_THIS->OnInitMenu(CMenu::FromHandle(reinterpret_cast<HMENU>(call.wParam))); return TRUE; })
#define ON_WM_INITMENUPOPUP()                                                                             \
  AFX_MSG_ENTRY(WM_INITMENUPOPUP, {                                                                       \
    AFX_THIS->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(call.wParam)), LOWORD(call.lParam), \
                              (BOOL)HIWORD(call.lParam));                                                 \
    return TRUE;                                                                                          \
  })
#define ON_WM_MENUSELECT()                                                                                \
  AFX_MSG_ENTRY(WM_MENUSELECT, {                                                                          \
    AFX_THIS->OnMenuSelect(LOWORD(call.wParam), HIWORD(call.wParam), reinterpret_cast<HMENU>(call.lParam)); \
    return TRUE;                                                                                          \
  })
#define ON_WM_NCHITTEST() AFX_MSG_ENTRY(WM_NCHITTEST, { call.result = AFX_THIS->OnNcHitTest(AFX_LPOINT); return TRUE; })
#define ON_WM_WINDOWPOSCHANGING() \
  AFX_MSG_ENTRY(WM_WINDOWPOSCHANGING, { AFX_THIS->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(call.lParam)); return TRUE; })
#define ON_WM_WINDOWPOSCHANGED() \
  AFX_MSG_ENTRY(WM_WINDOWPOSCHANGED, { AFX_THIS->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(call.lParam)); return TRUE; })
#define ON_WM_GETDLGCODE() AFX_MSG_ENTRY(WM_GETDLGCODE, { call.result = AFX_THIS->OnGetDlgCode(); return TRUE; })
#define ON_WM_PARENTNOTIFY() \
  AFX_MSG_ENTRY(WM_PARENTNOTIFY, { AFX_THIS->OnParentNotify(LOWORD(call.wParam), call.lParam); return TRUE; })
#define ON_WM_CAPTURECHANGED() \
  AFX_MSG_ENTRY(WM_CAPTURECHANGED, { AFX_THIS->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(call.lParam))); return TRUE; })
#define ON_WM_COPYDATA()                                                                                  \
  AFX_MSG_ENTRY(WM_COPYDATA, {                                                                            \
    call.result = AFX_THIS->OnCopyData(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam)),             \
                                       reinterpret_cast<COPYDATASTRUCT*>(call.lParam));                   \
    return TRUE;                                                                                          \
  })
#define ON_WM_ENTERIDLE() \
  AFX_MSG_ENTRY(WM_ENTERIDLE, { AFX_THIS->OnEnterIdle((UINT)call.wParam, CWnd::FromHandle(reinterpret_cast<HWND>(call.lParam))); return TRUE; })

// --- commands, control notifications and WM_NOTIFY ---------------------------
#define ON_COMMAND(id, memberFxn) AFX_ENTRY(WM_COMMAND, CN_COMMAND, id, id, { AFX_THIS->memberFxn(); return TRUE; })
#define ON_COMMAND_EX(id, memberFxn) AFX_ENTRY(WM_COMMAND, CN_COMMAND, id, id, { return AFX_THIS->memberFxn(call.nID); })
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  AFX_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, { AFX_THIS->memberFxn(call.nID); return TRUE; })
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
  AFX_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, { return AFX_THIS->memberFxn(call.nID); })
// The handler is called with the CCmdUI of the item; routing stops unless
// it calls ContinueRouting().
#define ON_UPDATE_COMMAND_UI(id, memberFxn) ON_UPDATE_COMMAND_UI_RANGE(id, id, memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                            \
  AFX_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, {                          \
    CCmdUI* pCmdUI = static_cast<CCmdUI*>(call.pExtra);                              \
    pCmdUI->m_bContinueRouting = FALSE;                                              \
    AFX_THIS->memberFxn(pCmdUI);                                                     \
    return !pCmdUI->m_bContinueRouting;                                              \
  })
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
  AFX_ENTRY(WM_COMMAND, (WORD)(wNotifyCode), id, id, { AFX_THIS->memberFxn(); return TRUE; })
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
  AFX_ENTRY(WM_COMMAND, (WORD)(wNotifyCode), id, idLast, { AFX_THIS->memberFxn(call.nID); return TRUE; })
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                     \
  AFX_ENTRY(WM_NOTIFY, (WORD)(wNotifyCode), id, id, {                                             \
    AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                                  \
    AFX_THIS->memberFxn(pNotify->pNMHDR, pNotify->pResult);                                       \
    return TRUE;                                                                                  \
  })
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                       \
  AFX_ENTRY(WM_NOTIFY, (WORD)(wNotifyCode), id, idLast, {                                         \
    AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                                  \
    AFX_THIS->memberFxn(call.nID, pNotify->pNMHDR, pNotify->pResult);                             \
    return TRUE;                                                                                  \
  })
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) ON_NOTIFY_EX_RANGE(wNotifyCode, id, id, memberFxn)
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                    \
  AFX_ENTRY(WM_NOTIFY, (WORD)(wNotifyCode), id, idLast, {                                         \
    AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                                  \
    return AFX_THIS->memberFxn(call.nID, pNotify->pNMHDR, pNotify->pResult);                      \
  })

// Any message by number, handler LRESULT (WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
  AFX_MSG_ENTRY(message, { call.result = AFX_THIS->memberFxn(call.wParam, call.lParam); return TRUE; })
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                              \
  {0xC000, 0, 0, 0, &(nMessageVariable), [](CCmdTarget* pTarget, AFX_MSGCALL& call) -> BOOL {           \
     call.result = AFX_THIS->memberFxn(call.wParam, call.lParam);                                       \
     return TRUE;                                                                                       \
   }},
// Messages posted to a thread (no window), handler void (WPARAM, LPARAM).
#define ON_THREAD_MESSAGE(message, memberFxn) \
  AFX_MSG_ENTRY(message, { AFX_THIS->memberFxn(call.wParam, call.lParam); return TRUE; })
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn)                                       \
  {0xC000, 0, 0, 0, &(nMessageVariable), [](CCmdTarget* pTarget, AFX_MSGCALL& call) -> BOOL {           \
     AFX_THIS->memberFxn(call.wParam, call.lParam);                                                     \
     return TRUE;                                                                                       \
   }},

// Control notifications by control kind.
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// --- reflected notifications (entries of the control's own map) -------------
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
  AFX_ENTRY(WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, { AFX_THIS->memberFxn(); return TRUE; })
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
  AFX_ENTRY(WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, { return AFX_THIS->memberFxn(); })
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                 \
  AFX_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, {                             \
    AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                                  \
    AFX_THIS->memberFxn(pNotify->pNMHDR, pNotify->pResult);                                       \
    return TRUE;                                                                                  \
  })
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                              \
  AFX_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, {                             \
    AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                                  \
    return AFX_THIS->memberFxn(pNotify->pNMHDR, pNotify->pResult);                                \
  })
// The control's own update handler, asked by UpdateDialogControls first.
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn)                                      \
  AFX_ENTRY(WM_COMMAND + WM_REFLECT_BASE, (WORD)-1, 0, 0, {                          \
    CCmdUI* pCmdUI = static_cast<CCmdUI*>(call.pExtra);                              \
    pCmdUI->m_bContinueRouting = FALSE;                                              \
    AFX_THIS->memberFxn(pCmdUI);                                                     \
    return !pCmdUI->m_bContinueRouting;                                              \
  })
// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor); a null brush leaves the
// message to the parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                                  \
  AFX_MSG_ENTRY(WM_CTLCOLOR + WM_REFLECT_BASE, {                                                  \
    AFX_CTLCOLOR* pCtl = reinterpret_cast<AFX_CTLCOLOR*>(call.lParam);                            \
    call.result = reinterpret_cast<LRESULT>(AFX_THIS->CtlColor(CDC::FromHandle(pCtl->hDC), pCtl->nCtlType)); \
    return TRUE;                                                                                  \
  })
#define ON_WM_DRAWITEM_REFLECT()                                                                  \
  AFX_MSG_ENTRY(WM_DRAWITEM + WM_REFLECT_BASE, {                                                  \
    AFX_THIS->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(call.lParam));                          \
    call.result = TRUE;                                                                           \
    return TRUE;                                                                                  \
  })
#define ON_WM_MEASUREITEM_REFLECT()                                                               \
  AFX_MSG_ENTRY(WM_MEASUREITEM + WM_REFLECT_BASE, {                                               \
    AFX_THIS->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(call.lParam));                    \
    call.result = TRUE;                                                                           \
    return TRUE;                                                                                  \
  })
#define ON_WM_HSCROLL_REFLECT() \
  AFX_MSG_ENTRY(WM_HSCROLL + WM_REFLECT_BASE, { AFX_THIS->HScroll(LOWORD(call.wParam), (short)HIWORD(call.wParam)); return TRUE; })
#define ON_WM_VSCROLL_REFLECT() \
  AFX_MSG_ENTRY(WM_VSCROLL + WM_REFLECT_BASE, { AFX_THIS->VScroll(LOWORD(call.wParam), (short)HIWORD(call.wParam)); return TRUE; })
#define ON_WM_PARENTNOTIFY_REFLECT() \
  AFX_MSG_ENTRY(WM_PARENTNOTIFY + WM_REFLECT_BASE, { AFX_THIS->ParentNotify(LOWORD(call.wParam), call.lParam); return TRUE; })
