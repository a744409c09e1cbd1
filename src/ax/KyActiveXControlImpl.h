// The implementation behind one hosted ActiveX control; the wrapper window
// (KyActiveXControl) owns it. Creation and the wrapper's services are in
// KyActiveXControl.cpp, the type information in KyActiveXTypeInfo.cpp,
// the properties as text in KyActiveXProperties.cpp.
#pragma once

#include <afx.h>
#include <afxocc.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "KyComInfo.h"
#include "KyWindowSilencer.h"

class KyActiveXContainer;
class KyActiveXControl;

class AFX_EXT_CLASS KyActiveXControlImpl {
 public:
  class KyPropertyString;

  explicit KyActiveXControlImpl(KyActiveXControl* wnd);
  // Leaves the container's map, then releases the control.
  virtual ~KyActiveXControlImpl();

  // The name of the event with this DISPID ("" for none) and the logical
  // event its physical name maps to ("" for none).
  CString EventName(DISPID dispid) const;
  CString LogicalEvent(const CString& physical) const;

  // Reads the type information of the class once: the default interface's
  // methods and properties, the default source interface's events.
  BOOL LoadTypeInfo();
  void BuildEventMap();
  long GetDISPIDFromName(const char* name);
  BOOL GetProperty(const char* name, CString& text);
  BOOL SetProperty(const char* name, const char* text);
  // Applies the stored property string; a failing pair stops none of the others.
  void ApplyProperties();
  HRESULT Invoke(DISPID dispid, WORD flags, VARIANT* args, UINT count, VARIANT* result);

  std::unique_ptr<COleControlSite> m_pSite;
  IUnknown* m_pUnknown = nullptr;
  KyActiveXControl* m_pWnd;
  std::unique_ptr<KyPropertyString> m_props;
  std::unique_ptr<KyPropertyString> m_events;
  std::unique_ptr<KyComDoc> m_doc;
  BOOL m_bTypeInfoLoaded = FALSE;
  IID m_iidEvents{};
  std::vector<std::unique_ptr<KyComMethodInfo>> m_allMethods;
  std::vector<KyComMethodInfo*> m_methods;
  std::vector<KyComMethodInfo*> m_eventList;
  std::vector<KyComMethodInfo*> m_propertyFunctions;
  std::vector<std::unique_ptr<KyComVariable>> m_variables;
  // Looked up by plain text, without making a CString per look-up.
  struct NameLess {
    using is_transparent = void;
    bool operator()(const CString& a, const CString& b) const { return std::strcmp(a, b) < 0; }
    bool operator()(const CString& a, const char* b) const { return std::strcmp(a, b) < 0; }
    bool operator()(const char* a, const CString& b) const { return std::strcmp(a, b) < 0; }
  };
  std::map<CString, KyComProperty*, NameLess> m_properties;
  std::map<DISPID, KyComMethodInfo*> m_eventById, m_methodById, m_putById, m_getById;
  std::map<DISPID, KyComVariable*> m_variableById;
  std::map<CString, CString> m_eventMap;
  KyActiveXContainer* m_pContainer = nullptr;
  WORD m_nID = 0;
  HWND m_hWndLast = nullptr;
  int m_nPropertyChanges = 0;  // property-change notifications heard
  std::unique_ptr<KyWindowSilencer> m_silencer;
  // A put that made the control recreate its window silences the new one.
  void RenewSilencer();

 private:
  // Fills the lists and maps from the class's type information (may raise
  // the COM error of a documentation text that found no memory); clearModel
  // empties them again.
  void buildModel(ITypeInfo* coclass);
  void clearModel();
  // The font object a font property holds (a new reference), or null.
  IDispatch* fontOf(long dispid);
  BOOL setFont(long dispid, const char* text);
  // Loads the picture file and puts it into the property; the framework's
  // picture messages tell why not.
  BOOL setPicture(long dispid, const char* file);
};
