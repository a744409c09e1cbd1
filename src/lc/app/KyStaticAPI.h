// The static API of generated code: classes with static members only. Each
// member finds the current function, panel or control of the calling
// thread and forwards to the part of the run-time that owns it.
//
// Unless a member says otherwise, a panel argument that is null means the
// current panel, a function-data argument that is null means the current
// function data, and a call that finds nothing to act on answers 0, null,
// 0.0 or an empty text and does nothing.
#pragma once

#include <windows.h>

#include <afxstr.h>

#include "KyFieldsFwd.h"
#include "KyString.h"

class CWnd;
class CWinApp;
class KyCtrl;
class KyFunctionData;
class KyPanel;
class KyRTType;

class KyUserAPI {
 public:
  // Makes the function data the thread's current one.
  static void PrepareAPICall(KyFunctionData* pFunction);
  static KyFunctionData* pGetCurrentFncData();
  // The current function data's panel, or null.
  static KyPanel* pGetCurrentPanel();
};

// Controls are looked up by name on the current panel.
class KyPanelAPI {
 public:
  static KyCtrl* GetControlByName(const char* pszName);
  static CWnd* GetControlCWndByName(const char* pszName);
  static HWND GetControlHandleByName(const char* pszName);
  // "*Current", "*Active", "*Main" or a function name (the application's
  // open panels).
  static KyPanel* GetPanelByName(const char* pszName);
  static CWnd* GetPanelCWndByName(const char* pszName);
  static HWND GetPanelHandleByName(const char* pszName);
  static KyPanel* GetPanelFromHandle(HWND hWnd);
  static HWND GetHandleFromPanel(KyPanel* pPanel);
  // 1 when the named control's window got the focus.
  static int SetFocusByName(const char* pszName);
  static void SetStatusBarText(int iPane, const char* pszText);
  // KYM_LISTADDITEM with the text / KYM_LISTCLEAR to the named list or
  // combo control; the message's answer, 0 without the control.
  static int AddItemToListControl(const char* pszControlName, const char* pszText);
  static int ClearListControl(const char* pszControlName);
  // The named control runs the logical event for that window message.
  static void TrapControlEvent(int iMessage, const char* pszControlName, const char* pszEventName);
  // Runs the logical event on the panel; result "" (also without a panel).
  static void LogicalEvent(KyPanel* pPanel, const char* pszEventName, CString& result);
  // Runs the event on every open panel of the functions of that name that
  // has it switched on; result "", "*Deactivated" or "*Not Found".
  static void LogicalEvent(const char* pszPanelName, const char* pszEventName, CString& result);
  // The current panel runs the logical event for that window message.
  static void TrapPanelEvent(int iMessage, const char* pszEventName);
  static void ActivateLogicalEvent(KyPanel* pPanel, const char* pszEventName, int fOn);
  // Name of the logical event the panel is running, or "".
  static KyString GetCurrentLogicalEvent(KyPanel* pPanel);
  // Notifies the panel; result "" or "*Not Found".
  static void Notify(KyPanel* pPanel, CString& result);
  static void Notify(const char* pszPanelName, CString& result);
  // Deletes the file of that bare name in the user's temporary directory.
  // A name with a directory part (a '\', '/' or ':', or "." / "..") is
  // refused, and a file that cannot be deleted throws the framework's file
  // exception (CFileException*) to the caller.
  static void DeleteFileA(const char* pszFileName);
  // Deletes the "*.rtf" report files of the temporary directory that this
  // thread's application wrote (never other programs' files); 1 when at
  // least one was found.
  static int DeleteReportFiles();
};

class KyControlAPI {
 public:
  // Limits and the spin increment of the named control, converted between
  // a double and the control's own type and storage; 0.0 (and nothing sent)
  // without the control.
  static double GetInc(const char* pszName);
  static double GetMax(const char* pszName);
  static double GetMin(const char* pszName);
  static void SetInc(const char* pszName, double dValue);
  static void SetMax(const char* pszName, double dValue);
  static void SetMin(const char* pszName, double dValue);
  // Properties of the control named by the first text, through the thread's
  // property atoms (KyControlProperties.cpp): set from up to five value
  // texts, or read into two fields (when given). The answer is the
  // provider's; 0 without the control or the property.
  static int GetProperty(KyRTType* pControl, KyRTType* pProperty, KyRTType* pValue, KyRTType* pValue2);
  static int SetProperty(KyRTType* pControl, KyRTType* pProperty, KyRTType* pValue1, KyRTType* pValue2 = nullptr,
                         KyRTType* pValue3 = nullptr, KyRTType* pValue4 = nullptr, KyRTType* pValue5 = nullptr);
};

// The grid is the control named by the field's text.
class KyGridAPI {
 public:
  // KYM_GRIDAUTOSORT with 1 for a positive flag, else the flag as given;
  // the message's answer.
  static int AutoSort(KyCharFld& grid, int iOn);
  // Sorts by up to three fields (ids -1 end the list; a descending flag of
  // 1 sorts that key downward); refreshes when asked. 1 when sorted.
  static int Sort(KyCharFld& grid, int fRefresh, int iField1, int fDescending1, int iField2, int fDescending2,
                  int iField3, int fDescending3);
};

class KyAppAPI {
 public:
  // Text: option id below 1 reads the INI string; else the string run
  // option, or the default when that is empty.
  static KyString GetOption(const char* pszSection, const char* pszKey, const char* pszDefault, int iOption);
  // Flag: id below 1 reads the INI flag; else the flag run option.
  static int GetOption(const char* pszSection, const char* pszKey, int fDefault, int iOption);
  // Sets the run option when the id is positive, then writes the INI entry.
  static void SetOption(const char* pszSection, const char* pszKey, const char* pszText, int iOption);
  static void SetOption(const char* pszSection, const char* pszKey, int fFlag, int iOption);
  // Stores the automatic wait-cursor flag; answers the previous one.
  static int SetAutoCursor(int fOn);
  // Makes the message-log window when there is none and shows it.
  static void ShowLogMessageWindow(int iShowCommand);
  static const MSG* GetCurrentMessage();
  static CWinApp* GetCWinApp();
  // The button bits of the current message's first parameter, 0 or 1.
  static int IsLeftButtonDown();
  static int IsMiddleButtonDown();
  static int IsRightButtonDown();
};

class KyHelpAPI {
 public:
  static void HelpOnHelp();
  static void Index();
  static void Search();
  // The current panel's help (as F1 on it opens).
  static void Panel();
};

// The panel's splitter panes (the pane panel's host's); the panel's answer.
class KySplitterAPI {
 public:
  // 1 when the pane took that percent (1..100) of its host.
  static int ResizePane(int iPane, int iSize, KyPanel* pPanel = nullptr);
  // 1 when the panes were shared out evenly.
  static int ShowAllPanes(KyPanel* pPanel = nullptr);
};

// The application's main multiple-document frame; nothing without one.
class KyWinAPI {
 public:
  static void MDICascade();
  static void MDIIconArrange();
  static void MDITile(int iTileFlag);
  // Asks every child window of the frame to close.
  static void MDICloseAll();
};

class KyDragDropAPI {
 public:
  static void AcceptDrag();
  static void RejectDrag();
  static void AcceptDrop();
  static void RejectDrop();
  static unsigned long GetDropEffect();
  static void SetDragEffect(unsigned long ulEffect);
  static void SetDropEffect(unsigned long ulEffect);
  static void UseDefaultCursors(int fUse);
  static void GetIncomingData(CString& data);
  static void SetOutgoingData(const char* pszData);
};

class KyFunctionAPI {
 public:
  static void GetFileName(CString& name, KyFunctionData* pFunction);
  static void GetImplName(CString& name, KyFunctionData* pFunction);
  static void GetModelName(CString& name, KyFunctionData* pFunction);
  // Null for null.
  static KyPanel* GetPanelFromFunctionData(KyFunctionData* pFunction);
  static KyFunctionData* GetFunctionDataFromPanel(KyPanel* pPanel);
  // The location of the first called function whose implementation name,
  // after its last '.', equals the name without regard to case; "" when none.
  static KyString GetFunctionLocation(const char* pszImplementationName, KyFunctionData* pFunction);
  static void SetFunctionLocation(const char* pszImplementationName, const char* pszLocation,
                                  KyFunctionData* pFunction);
  // Every called function takes its location from the call manager, which
  // reloads its table first when fRefresh is set.
  static void SetLocation(int fRefresh, KyFunctionData* pFunction);
};

class KyConversationAPI {
 public:
  // Finds or opens the conversation with the location; 1 when there is one.
  static int Connect(CString& location, char cSystemType);
  // Closes the location's open conversation, if any.
  static void Disconnect(CString& location, char cSystemType);
  // The network user name from MPR.DLL (loaded for the call, WNetGetUserA,
  // 128 characters); 1, or 0 and an empty text.
  static int GetLoginName(CString& name);
  // The host and the user of the thread's last AS/400 sign-on or APPC
  // allocation: the property atoms "*APPC.HostName" and "*APPC.UserId"
  // ("" when none is open).
  static void GetSystemName(CString& name);
  static void GetUserId(CString& user);
  // Makes the location the thread's default for the system type '#', 'A',
  // 'J', 'N' or 'U' (calls and conversations without a location go there);
  // any other letter changes nothing.
  static void SetDefault(CString& location, char cSystemType);
  // The AS/400 password and user of the location's record (the thread's
  // record of that name; 0 without one), written to its section: the
  // password in the form the record stores it (KyConversationAPI.cpp).
  static int SetAS400Password(CString system, CString password, CString user);
};
