// KyActiveXSheet: the built-in property sheet of a hosted control (General,
// Properties when asked for, Event Mappings), captioned "ActiveX Control - "
// and the control's name, without an Apply button.
#pragma once

#include <afxdlgs.h>

#include <memory>

#include "KyPropertyDlg.h"

class KyActiveXControl;

class AFX_EXT_CLASS KyActiveXSheet : public CPropertySheet {
 public:
  KyActiveXSheet(KyActiveXControl& control, BOOL withProperties, const char* logicalEvents, CString* addedEvents,
                 int startPage, CWnd* parent);
  ~KyActiveXSheet() override;

  KyActiveXGeneralDlg& GetGeneralPage() { return *m_general; }
  KyActiveXPropDlg* GetPropertiesPage() { return m_properties.get(); }
  KyActiveXEventDlg& GetEventsPage() { return *m_events; }

 private:
  std::unique_ptr<KyActiveXGeneralDlg> m_general;
  std::unique_ptr<KyActiveXPropDlg> m_properties;
  std::unique_ptr<KyActiveXEventDlg> m_events;
};
