// The built-in property sheet and KyActiveXControl::PropSheet.
#include "KyActiveXSheet.h"

#include "AxModule.h"
#include "KyActiveXControl.h"
#include "KyActiveXControlImpl.h"
#include "axres.h"

KyActiveXSheet::KyActiveXSheet(KyActiveXControl& control, BOOL withProperties, const char* logicalEvents,
                               CString* addedEvents, int startPage, CWnd* parent)
    : m_general(std::make_unique<KyActiveXGeneralDlg>(control)),
      m_properties(withProperties ? std::make_unique<KyActiveXPropDlg>(control) : nullptr),
      m_events(std::make_unique<KyActiveXEventDlg>(control, logicalEvents, addedEvents)) {
  Construct(ax::LoadText(IDS_AX_SHEET_CAPTION) + control.GetName(), parent, startPage);
  m_psh.dwFlags |= PSH_NOAPPLYNOW;
  AddPage(m_general.get());
  if (m_properties) AddPage(m_properties.get());
  AddPage(m_events.get());
}

KyActiveXSheet::~KyActiveXSheet() {
  // The pages' windows go with the sheet's, before the pages do.
  if (m_hWnd) DestroyWindow();
}

BOOL KyActiveXControl::PropSheet(int* propertiesChanged, int* eventsChanged, const char* logicalEvents,
                                 CString* addedEvents, int startPage, CWnd* parent, BOOL showProperties) {
  if (propertiesChanged) *propertiesChanged = 0;
  if (eventsChanged) *eventsChanged = 0;
  // Without the Properties page the pages after it move up by one.
  if (!showProperties && startPage > 0) --startPage;
  KyActiveXSheet sheet(*this, showProperties, logicalEvents, addedEvents, startPage, parent);
  // A placeholder hosts no control: there is nothing to show.
  const INT_PTR answer = GetImpl() && GetImpl()->m_pUnknown ? sheet.DoModal() : -1;
  if (answer == -1) {
    ::MessageBoxA(parent ? parent->m_hWnd : nullptr, ax::LoadText(IDS_AX_NO_PROPERTY_SHEET), nullptr,
                  MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  if (answer == IDOK) {
    if (propertiesChanged && sheet.GetPropertiesPage()) *propertiesChanged = sheet.GetPropertiesPage()->IsChanged();
    if (eventsChanged) *eventsChanged = sheet.GetEventsPage().IsChanged();
  }
  return TRUE;
}
