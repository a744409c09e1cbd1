// The control site: the client and in-place site a control talks to, the
// ambient properties it reads, and the sink that turns its events into
// CN_EVENT commands of the containing window.
#include "afxocc.h"

#include <ocidl.h>

#include <internal/comobject.h>

#include "occpropbag.h"

// The site object the control holds: IOleClientSite, IOleInPlaceSite and
// IDispatch for ambient properties. It points back at its owner until the
// owner goes.
class COleControlSite::Site final : public IOleClientSite, public IOleInPlaceSite, public IDispatch {
 public:
  explicit Site(COleControlSite* owner) : owner_(owner) {}
  void detach() { owner_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    IOleClientSite* client = this;
    IOleInPlaceSite* inPlace = this;
    return win32::com::answerQuery(riid, ppv,
                                   {{&IID_IUnknown, client}, {&IID_IOleClientSite, client}, {&IID_IOleWindow, inPlace},
                                    {&IID_IOleInPlaceSite, inPlace}, {&IID_IDispatch, static_cast<IDispatch*>(this)}});
  }
  KY_COM_REFCOUNT

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) override {
    if (ppmk) *ppmk = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) override {
    if (ppContainer) *ppContainer = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override {
    if (!phwnd) return E_POINTER;
    *phwnd = owner_ && owner_->m_pParent ? owner_->m_pParent->m_hWnd : nullptr;
    return *phwnd ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return owner_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (ppFrame) *ppFrame = nullptr;
    if (ppDoc) *ppDoc = nullptr;
    if (!owner_) return E_FAIL;
    if (pos) *pos = owner_->m_rect;
    if (clip) *clip = owner_->m_rect;
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = owner_->m_pParent ? owner_->m_pParent->m_hWnd : nullptr;
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rect) override {
    return owner_ && rect ? owner_->SetRect(*rect) : E_INVALIDARG;
  }

  // IDispatch: the ambient properties.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return count ? (*count = 0, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    if (!(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
    VariantInit(result);
    switch (id) {
      case DISPID_AMBIENT_USERMODE:
        result->vt = VT_BOOL;
        result->boolVal = owner_ && !owner_->m_bUserMode ? VARIANT_FALSE : VARIANT_TRUE;
        return S_OK;
      case DISPID_AMBIENT_UIDEAD:
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_FALSE;
        return S_OK;
      case DISPID_AMBIENT_BACKCOLOR:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(0x80000000u | COLOR_WINDOW);
        return S_OK;
      case DISPID_AMBIENT_FORECOLOR:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(0x80000000u | COLOR_WINDOWTEXT);
        return S_OK;
      case DISPID_AMBIENT_LOCALEID:
        result->vt = VT_I4;
        result->lVal = 0x0409;
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  win32::com::RefCount refs_;
  COleControlSite* owner_;
};

// The event sink: answers the control's event interface and hands each
// call to the containing window.
class COleControlSite::Sink final : public IDispatch {
 public:
  Sink(COleControlSite* owner, REFIID events) : owner_(owner), events_(events) {}
  void detach() { owner_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IDispatch, this}, {&events_, this}});
  }
  KY_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return count ? (*count = 0, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO* excep,
                                   UINT* argErr) override {
    if (!owner_) return S_OK;
    AFX_EVENT event(AFX_EVENT::event, id, params, excep, argErr);
    owner_->OnEvent(&event);
    return event.m_hResult;
  }

 private:
  win32::com::RefCount refs_;
  COleControlSite* owner_;
  IID events_;
};

// The property notification sink: each change (and each request to edit)
// goes the way of the control's events, as a notification of its own kind.
class COleControlSite::NotifySink final : public IPropertyNotifySink {
 public:
  explicit NotifySink(COleControlSite* owner) : owner_(owner) {}
  void detach() { owner_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IPropertyNotifySink, this}});
  }
  KY_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID dispID) override {
    if (!owner_) return S_OK;
    AFX_EVENT event(AFX_EVENT::propChanged, dispID);
    owner_->OnEvent(&event);
    return S_OK;
  }
  // A handler refuses the edit by setting m_hResult to S_FALSE.
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID dispID) override {
    if (!owner_) return S_OK;
    AFX_EVENT event(AFX_EVENT::propRequest, dispID);
    owner_->OnEvent(&event);
    return event.m_hResult == S_FALSE ? S_FALSE : S_OK;
  }

 private:
  win32::com::RefCount refs_;
  COleControlSite* owner_;
};

COleControlSite::COleControlSite(CWnd* pParent, UINT nID) : m_pParent(pParent), m_nID(nID) {}

COleControlSite::~COleControlSite() { release(); }

BOOL COleControlSite::OnEvent(AFX_EVENT* pEvent) {
  if (m_pWndCtrl && m_pWndCtrl->OnCmdMsg(m_nID, CN_EVENT, pEvent, nullptr)) return TRUE;
  return m_pParent && m_pParent->OnCmdMsg(m_nID, CN_EVENT, pEvent, nullptr);
}

void COleControlSite::connectPropertyNotify() {
  IConnectionPointContainer* container = nullptr;
  if (!m_pObject ||
      FAILED(m_pObject->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))))
    return;
  IConnectionPoint* point = nullptr;
  const HRESULT found = container->FindConnectionPoint(IID_IPropertyNotifySink, &point);
  container->Release();
  if (FAILED(found)) return;
  auto* sink = new NotifySink(this);
  if (FAILED(point->Advise(static_cast<IPropertyNotifySink*>(sink), &m_dwNotifyCookie))) {
    sink->Release();
    point->Release();
    return;
  }
  m_pNotifySink = sink;
  m_pNotifyPoint = point;
}

HRESULT COleControlSite::SaveState(IStream* pStream, BOOL bClearDirty) {
  if (!m_pObject) return OLE_E_NOTRUNNING;
  if (!pStream) return E_POINTER;
  IPersistStreamInit* persist = nullptr;
  if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
    const HRESULT hr = persist->Save(pStream, bClearDirty);
    persist->Release();
    return hr;
  }
  IPersistPropertyBag* bagged = nullptr;
  if (FAILED(m_pObject->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&bagged))))
    return E_NOINTERFACE;
  auto* bag = new COccPropertyBag;
  HRESULT hr = bagged->Save(bag, bClearDirty, TRUE);
  if (SUCCEEDED(hr)) hr = bag->SaveTo(pStream);
  bag->Release();
  bagged->Release();
  return hr;
}

HRESULT COleControlSite::LoadState(IStream* pStream) {
  if (!m_pObject) return OLE_E_NOTRUNNING;
  IPersistStreamInit* persist = nullptr;
  if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
    const HRESULT hr = pStream ? persist->Load(pStream) : persist->InitNew();
    persist->Release();
    return hr;
  }
  IPersistPropertyBag* bagged = nullptr;
  if (FAILED(m_pObject->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&bagged))))
    return pStream ? E_NOINTERFACE : S_OK;  // a control without persistence starts as it is
  HRESULT hr = S_OK;
  if (!pStream) {
    hr = bagged->InitNew();
  } else {
    auto* bag = new COccPropertyBag;
    hr = bag->LoadFrom(pStream);
    if (SUCCEEDED(hr)) hr = bagged->Load(bag, nullptr);
    bag->Release();
  }
  bagged->Release();
  return hr;
}

void COleControlSite::release() {
  if (m_pNotifyPoint) {
    m_pNotifyPoint->Unadvise(m_dwNotifyCookie);
    m_pNotifyPoint->Release();
    m_pNotifyPoint = nullptr;
  }
  if (m_pNotifySink) {
    m_pNotifySink->detach();
    m_pNotifySink->Release();
    m_pNotifySink = nullptr;
  }
  if (m_pEventPoint) {
    m_pEventPoint->Unadvise(m_dwEventCookie);
    m_pEventPoint->Release();
    m_pEventPoint = nullptr;
  }
  if (m_pSink) {
    m_pSink->detach();
    m_pSink->Release();
    m_pSink = nullptr;
  }
  if (m_pInPlaceObject) {
    m_pInPlaceObject->InPlaceDeactivate();
    m_pInPlaceObject->Release();
    m_pInPlaceObject = nullptr;
  }
  if (m_pOleObject) {
    m_pOleObject->Close(OLECLOSE_NOSAVE);
    m_pOleObject->SetClientSite(nullptr);
    m_pOleObject->Release();
    m_pOleObject = nullptr;
  }
  if (m_pDispatch) m_pDispatch->Release();
  if (m_pObject) m_pObject->Release();
  m_pDispatch = nullptr;
  m_pObject = nullptr;
  if (m_pSite) {
    m_pSite->detach();
    m_pSite->Release();
    m_pSite = nullptr;
  }
  m_hWnd = nullptr;
}

HRESULT COleControlSite::CreateControl(REFCLSID clsid, DWORD dwStyle, const RECT& rect, IStream* pPersist) {
  release();
  m_rect = rect;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&m_pObject));
  if (SUCCEEDED(hr)) hr = m_pObject->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&m_pOleObject));
  if (SUCCEEDED(hr)) {
    m_pSite = new Site(this);
    hr = m_pOleObject->SetClientSite(static_cast<IOleClientSite*>(m_pSite));
  }
  // State given to a control that cannot take it fails the creation.
  if (SUCCEEDED(hr)) hr = LoadState(pPersist);
  if (SUCCEEDED(hr))
    hr = m_pOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(m_pSite), 0,
                              m_pParent ? m_pParent->m_hWnd : nullptr, &m_rect);
  if (SUCCEEDED(hr))
    hr = m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlaceObject));
  if (SUCCEEDED(hr)) hr = m_pInPlaceObject->GetWindow(&m_hWnd);
  if (SUCCEEDED(hr) && dwStyle) {
    // The container's styles join the control window's own.
    const LONG_PTR own = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    SetWindowLongPtrA(m_hWnd, GWL_STYLE, own | (dwStyle & ~(WS_POPUP | WS_OVERLAPPEDWINDOW)) | WS_CHILD);
  }
  if (SUCCEEDED(hr)) m_pObject->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_pDispatch));
  if (SUCCEEDED(hr)) connectPropertyNotify();
  if (FAILED(hr)) release();
  return hr;
}

HRESULT COleControlSite::ConnectEvents(REFIID iidEvents) {
  if (!m_pObject) return OLE_E_NOTRUNNING;
  IConnectionPointContainer* container = nullptr;
  HRESULT hr = m_pObject->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (FAILED(hr)) return hr;
  IConnectionPoint* point = nullptr;
  hr = container->FindConnectionPoint(iidEvents, &point);
  container->Release();
  if (FAILED(hr)) return hr;
  auto* sink = new Sink(this, iidEvents);
  DWORD cookie = 0;
  hr = point->Advise(static_cast<IDispatch*>(sink), &cookie);
  if (FAILED(hr)) {
    sink->detach();
    sink->Release();
    point->Release();
    return hr;
  }
  if (m_pEventPoint) {
    m_pEventPoint->Unadvise(m_dwEventCookie);
    m_pEventPoint->Release();
  }
  if (m_pSink) {
    m_pSink->detach();
    m_pSink->Release();
  }
  m_pEventPoint = point;
  m_dwEventCookie = cookie;
  m_pSink = sink;
  return S_OK;
}

HRESULT COleControlSite::SetRect(const RECT& rect) {
  if (!m_pInPlaceObject) return OLE_E_NOTRUNNING;
  m_rect = rect;
  return m_pInPlaceObject->SetObjectRects(&m_rect, &m_rect);
}

void COleControlSite::AmbientChanged(DISPID dispid) {
  IOleControl* control = nullptr;
  if (!m_pObject || FAILED(m_pObject->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&control)))) return;
  control->OnAmbientPropertyChange(dispid);
  control->Release();
}

void COleControlSite::SetUserMode(BOOL bUserMode) {
  m_bUserMode = bUserMode;
  AmbientChanged(DISPID_AMBIENT_USERMODE);
}
