// CCmdTarget: the base of every object that takes messages and commands
// through a message map; CCmdUI: one menu item, control or bar button whose
// enabled, checked and text state the update handlers set.
#pragma once

#include "afxobject.h"
#include "afxmsg.h"

class CMenu;

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget() = default;

  // Routes command nID with notification nCode (HIWORD: the message,
  // WM_COMMAND when 0; CN_UPDATE_COMMAND_UI alone) through this object's
  // message map, derived class first. With pHandlerInfo, only looks: fills
  // it with the entry found and calls nothing. Classes that route further
  // (dialogs to their owner and the application, frames to their view and
  // the application) override it.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  // Wait cursor around a long operation (the framework's Begin/End pair).
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

// The entry of `pMap`'s tables (derived first) for message nMsg, code nCode
// and id nID; null when none takes it. Registered-message entries match
// when their variable holds nMsg.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMsg, UINT nCode, UINT nID);

class CCmdUI {
 public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  UINT m_nID = 0;
  UINT m_nIndex = 0;           // menu item index
  CMenu* m_pMenu = nullptr;    // the menu of the item, when it is a menu item
  CMenu* m_pSubMenu = nullptr; // the popup the item opens, when it does
  CWnd* m_pOther = nullptr;    // the window of the item, when it is no menu item
  UINT m_nIndexMax = 0;
  CMenu* m_pParentMenu = nullptr;
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;

  virtual void Enable(BOOL bOn = TRUE);
  // 0 unchecked, 1 checked, 2 indeterminate.
  virtual void SetCheck(int nCheck = 1);
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCSTR lpszText);
  // Lets the command's routing go on after this handler.
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Asks pTarget's routing to update the item; with bDisableIfNoHndler an
  // item nobody updated and nobody handles is disabled. TRUE when an update
  // handler took it.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};
