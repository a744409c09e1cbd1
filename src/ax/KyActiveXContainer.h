// A window that hosts ActiveX controls derives from this mix-in: its
// controls register here under their ids, and the window's OnCmdMsg hands
// CN_EVENT notifications to RouteActiveXEvent, which turns each event
// into a logical event through the control's event mapping string.
#pragma once

#include <afx.h>
#include <afxocc.h>

#include <map>

class KyActiveXControlImpl;
class KyActiveXEventLog;

class AFX_EXT_CLASS KyActiveXContainer {
 public:
  KyActiveXContainer() = default;
  virtual ~KyActiveXContainer() = default;

  // Always TRUE, also for an id no control of this container has.
  BOOL RouteActiveXEvent(UINT nID, AFX_EVENT* pEvent, KyActiveXEventLog* pLog = nullptr);
  // Called once per routed event that has a logical name; the arguments
  // stay readable through GetEventParams while it runs.
  virtual void OnActiveXEvent(const char* logicalName, DISPPARAMS* params) {}
  DISPPARAMS* GetEventParams() const { return m_pEventParams; }

  std::map<WORD, KyActiveXControlImpl*> m_controls;

 private:
  DISPPARAMS* m_pEventParams = nullptr;
};
