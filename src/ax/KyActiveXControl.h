// KyActiveXControl: a window that wraps one hosted ActiveX control. Every
// operation forwards to its KyActiveXControlImpl. A control that cannot be
// created leaves a placeholder static window in its place.
#pragma once

#include <afxwin.h>
#include <afxocc.h>

#include <memory>

class KyActiveXContainer;
class KyActiveXControlImpl;

class AFX_EXT_CLASS KyActiveXControl : public CWnd {
 public:
  KyActiveXControl();
  ~KyActiveXControl() override;

  // classText: a CLSID in braces or a ProgID. TRUE when the control or the
  // placeholder was created.
  virtual BOOL Create(const char* classText, const char* displayName, DWORD style, const RECT& rect, CWnd* parent,
                      UINT id, const char* properties, const char* eventMappings, const char* persistedFile,
                      KyActiveXContainer* container, void* createContext = nullptr);
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void Close() {}

  COleControlSite* GetControlSite() const;
  // The hosted control's own IUnknown (no reference added), as MFC's
  // CWnd::GetControlUnknown answers it; null for a placeholder.
  IUnknown* GetControlUnknown() const;
  // How many property changes the control has told its container of.
  int GetPropertyChangeCount() const;
  // The implementation (type information, property and event strings);
  // null for a placeholder.
  KyActiveXControlImpl* GetImpl() const { return m_impl.get(); }
  long GetDISPIDFromName(const char* name);
  const char* GetName() const;
  const char* GetDoc() const;
  const char* GetPropertyString() const;
  const char* GetEventMappingString() const;
  BOOL GetProperty(const char* name, CString& text);
  BOOL SetProperty(const char* name, const char* text);
  BOOL HasAbout();
  BOOL About();
  BOOL HasHelp() const;
  // Opens the control's help file (KyHelp.h); without one, the message "No
  // help available" and FALSE.
  BOOL ShowHelp();
  // TRUE when the control has pages of its own (IOleObject and
  // ISpecifyPropertyPages).
  BOOL HasCustomPropSheet();
  // Shows them in a property frame owned by the parent (else the active
  // frame of the main window) at 10, 20; TRUE when OK or Apply was pressed.
  BOOL CustomPropSheet(CWnd* parent);
  // The built-in sheet (General, Properties when asked for, Event
  // Mappings), modal over the parent: after OK the two counts tell whether
  // the Properties and the Event Mappings page changed anything (else 0);
  // logical events made on it are appended to addedEvents, each after a
  // tab. Without the Properties page a start page above 0 is lowered by
  // one. FALSE, with a message, when the sheet cannot be shown.
  BOOL PropSheet(int* propertiesChanged, int* eventsChanged, const char* logicalEvents, CString* addedEvents,
                 int startPage, CWnd* parent, BOOL showProperties);
  // The control's persisted state in a file (IPersistStreamInit, or a
  // property bag for a control with IPersistPropertyBag only).
  BOOL Load(const char* file);
  BOOL Save(const char* file);
  BOOL SetPos(CPoint point);
  BOOL SetSize(CSize size);
  void AmbientChanged(DISPID dispid);
  // Design mode: the control and its child windows ignore the user, and
  // the control hears the ambient user mode turn off.
  void SetDesignMode(BOOL on);
  bool IsBean() const { return m_bIsBean; }
  // Maps the event mapping string anew (after the mappings changed).
  void SetEventMappingString(const char* eventMappings);
  // Registers a control module through its DllRegisterServer; without a
  // file name the file dialog asks for one. The file name, "" on failure.
  static CString RegisterOCX(const char* file, CWnd* parent);

  CLSID m_clsid{};

 private:
  void createPlaceholder(const CString& name, DWORD style, const RECT& rect, CWnd* parent, UINT id, BOOL* created);
  std::unique_ptr<KyActiveXControlImpl> m_impl;
  bool m_bIsBean = false;
  CString m_nameCache;
  CString m_docCache;
};
