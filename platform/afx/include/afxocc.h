// OLE control containment: a control site per hosted control. The site
// creates the control (in-process servers only), gives it its persisted
// state or a fresh one, activates it in place as a child window of the
// container, answers ambient properties, and hands every event and every
// property notification of the control as OnCmdMsg(id, CN_EVENT,
// AFX_EVENT*) first to the control's own wrapper window (m_pWndCtrl, when
// one is set) and, unless that handled it, to the containing window.
// Persisted state goes through IPersistStreamInit, or, for a control that
// has only IPersistPropertyBag, through a property bag kept in the stream.
#pragma once

#include <ocidl.h>
#include <olectl.h>

#include "afxwin.h"

// The OnCmdMsg code of control events and notifications.
#define CN_EVENT ((int)-2)

struct AFX_EVENT {
  enum { event, propRequest, propChanged, propDSCNotify };
  AFX_EVENT(int eventKind, DISPID dispid, DISPPARAMS* pDispParams = nullptr, EXCEPINFO* pExcepInfo = nullptr,
            UINT* puArgError = nullptr)
      : m_eventKind(eventKind), m_dispid(dispid), m_pDispParams(pDispParams), m_pExcepInfo(pExcepInfo),
        m_puArgError(puArgError) {}
  int m_eventKind;
  DISPID m_dispid;
  DISPPARAMS* m_pDispParams;
  EXCEPINFO* m_pExcepInfo;
  UINT* m_puArgError;
  BOOL m_bPropChanged = FALSE;
  HRESULT m_hResult = S_OK;
};

class COleControlSite {
 public:
  // The site of control `nID` in the window pParent (whose OnCmdMsg hears
  // the control's events).
  COleControlSite(CWnd* pParent, UINT nID);
  COleControlSite(const COleControlSite&) = delete;
  COleControlSite& operator=(const COleControlSite&) = delete;
  // Deactivates, closes and releases the control.
  virtual ~COleControlSite();

  // Creates and activates the control: its persisted state from pPersist
  // (IPersistStreamInit::Load) or a new one (InitNew), then in-place
  // activation at rect in pParent. The failure of the first step that
  // failed; nothing is left behind then.
  HRESULT CreateControl(REFCLSID clsid, DWORD dwStyle, const RECT& rect, IStream* pPersist = nullptr);
  // The control's state written to, or read from, a stream; E_NOINTERFACE
  // for a control that persists neither way, OLE_E_NOTRUNNING without one.
  HRESULT SaveState(IStream* pStream, BOOL bClearDirty = TRUE);
  HRESULT LoadState(IStream* pStream);
  // Listens to the control's events of interface iidEvents (found from the
  // type information by the caller); CONNECT_E_* or E_NOINTERFACE.
  HRESULT ConnectEvents(REFIID iidEvents);
  // Moves or sizes the control (the in-place object's rectangles).
  HRESULT SetRect(const RECT& rect);
  // Tells the control that an ambient property changed.
  void AmbientChanged(DISPID dispid);
  // The ambient "user mode" (FALSE while designing).
  void SetUserMode(BOOL bUserMode);

  CWnd* m_pParent;
  CWnd* m_pWndCtrl = nullptr;  // the control's wrapper window, asked first
  UINT m_nID;
  HWND m_hWnd = nullptr;  // the control's window once active
  CRect m_rect;
  IUnknown* m_pObject = nullptr;
  IOleObject* m_pOleObject = nullptr;
  IOleInPlaceObject* m_pInPlaceObject = nullptr;
  IDispatch* m_pDispatch = nullptr;
  BOOL m_bUserMode = TRUE;

 private:
  class Site;
  class Sink;
  class NotifySink;
  void release();
  // Hands one event or notification to the wrapper, then to the container.
  BOOL OnEvent(AFX_EVENT* pEvent);
  // Listens to the control's property notifications when it offers them.
  void connectPropertyNotify();
  Site* m_pSite = nullptr;
  Sink* m_pSink = nullptr;
  IConnectionPoint* m_pEventPoint = nullptr;
  DWORD m_dwEventCookie = 0;
  NotifySink* m_pNotifySink = nullptr;
  IConnectionPoint* m_pNotifyPoint = nullptr;
  DWORD m_dwNotifyCookie = 0;
};
