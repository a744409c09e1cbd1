#include "KyActiveXContainer.h"

#include "KyActiveXControlImpl.h"
#include "KyActiveXEventLog.h"
#include "KyDispParams.h"

BOOL KyActiveXContainer::RouteActiveXEvent(UINT nID, AFX_EVENT* pEvent, KyActiveXEventLog* pLog) {
  const auto found = m_controls.find(static_cast<WORD>(nID));
  if (found == m_controls.end() || !pEvent || pEvent->m_eventKind != AFX_EVENT::event) return TRUE;
  KyActiveXControlImpl* control = found->second;
  const CString physical = control->EventName(pEvent->m_dispid);
  if (physical.IsEmpty()) return TRUE;
  const CString logical = control->LogicalEvent(physical);
  if (pLog) {
    const KyDispParams params(pEvent->m_pDispParams);
    CString joined;
    for (int i = 0; i < params.GetCount(); ++i) {
      if (i) joined += ", ";
      joined += params.GetParam(i);
    }
    pLog->Append(physical, joined, logical);
  }
  if (logical.IsEmpty()) return TRUE;
  // Nested events restore the arguments of the event around them.
  DISPPARAMS* outer = m_pEventParams;
  m_pEventParams = pEvent->m_pDispParams;
  OnActiveXEvent(logical, pEvent->m_pDispParams);
  m_pEventParams = outer;
  return TRUE;
}
