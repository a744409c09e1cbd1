#include "controlbase.h"

#include <dlfcn.h>
#include <winreg.h>

#include <filesystem>
#include <vector>

namespace kyctl {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

BSTR Wide(const std::string& text) {
  std::u16string w(text.begin(), text.end());
  for (size_t i = 0; i < text.size(); ++i) w[i] = static_cast<unsigned char>(text[i]);
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(w.data()), static_cast<UINT>(w.size()));
}

std::string Narrow(const OLECHAR* text, UINT length) {
  std::string out;
  for (UINT i = 0; text && i < length; ++i) out += text[i] <= 0xFF ? static_cast<char>(text[i]) : '?';
  return out;
}

std::string Narrow(BSTR text) { return Narrow(text, text ? SysStringLen(text) : 0); }

std::string Lower(const OLECHAR* text) {
  std::string out;
  for (; text && *text; ++text) out += static_cast<char>(*text >= 'A' && *text <= 'Z' ? *text + 32 : *text);
  return out;
}

std::string Lower(const char* text) {
  std::string out;
  for (; text && *text; ++text) out += static_cast<char>(*text >= 'A' && *text <= 'Z' ? *text + 32 : *text);
  return out;
}

std::string GuidText(REFGUID guid) {
  OLECHAR text[40];
  StringFromGUID2(guid, text, 40);
  std::string out;
  for (int i = 0; text[i]; ++i) out += static_cast<char>(text[i]);
  return out;
}

std::string ModulePath(const void* anyAddress) {
  Dl_info info{};
  return dladdr(anyAddress, &info) && info.dli_fname ? info.dli_fname : "";
}

// --- KyConnectionPoint ---

KyConnectionPoint::~KyConnectionPoint() {
  for (auto& [cookie, sink] : sinks_) sink->Release();
}

HRESULT KyConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
  return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IConnectionPoint, this}});
}

HRESULT KyConnectionPoint::GetConnectionInterface(IID* pIID) { return pIID ? (*pIID = iid_, S_OK) : E_POINTER; }

HRESULT KyConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
  if (!ppCPC) return E_POINTER;
  *ppCPC = owner_;
  owner_->AddRef();
  return S_OK;
}

HRESULT KyConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  void* held = nullptr;
  if (FAILED(sink->QueryInterface(iid_, &held)) &&
      (!dispatch_ || FAILED(sink->QueryInterface(IID_IDispatch, &held))))
    return CONNECT_E_CANNOTCONNECT;
  *cookie = ++last_;
  sinks_[*cookie] = static_cast<IUnknown*>(held);
  return S_OK;
}

HRESULT KyConnectionPoint::Unadvise(DWORD cookie) {
  const auto found = sinks_.find(cookie);
  if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
  found->second->Release();
  sinks_.erase(found);
  return S_OK;
}

HRESULT KyConnectionPoint::EnumConnections(IEnumConnections** ppEnum) {
  if (ppEnum) *ppEnum = nullptr;
  return E_NOTIMPL;
}

void KyConnectionPoint::ForEach(const std::function<void(IUnknown*)>& call) {
  std::vector<IUnknown*> sinks;
  for (auto& [cookie, sink] : sinks_) sinks.push_back((sink->AddRef(), sink));
  for (IUnknown* sink : sinks) {
    call(sink);
    sink->Release();
  }
}

void KyConnectionPoint::FireEvent(DISPID id, VARIANT* args, UINT count) {
  DISPPARAMS params{args, nullptr, count, 0};
  ForEach([&](IUnknown* sink) {
    static_cast<IDispatch*>(sink)->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  });
}

// --- KyControlBase ---

KyControlBase::KyControlBase(REFCLSID clsid, REFIID events, const char* windowClass)
    : clsid_(clsid), windowClass_(windowClass), events_(this, events, true), notify_(this, IID_IPropertyNotifySink, false) {
  ++g_objects;
}

KyControlBase::~KyControlBase() {
  InPlaceDeactivate();
  if (site_) site_->Release();
  --g_objects;
}

HRESULT KyControlBase::QueryInterface(REFIID riid, void** ppv) {
  IDispatch* dispatch = this;
  IOleInPlaceObject* inPlace = this;
  const HRESULT hr = win32::com::answerQuery(
      riid, ppv,
      {{&IID_IUnknown, dispatch}, {&IID_IDispatch, dispatch}, {&DispatchId(), dispatch},
       {&IID_IConnectionPointContainer, static_cast<IConnectionPointContainer*>(this)},
       {&IID_IOleObject, static_cast<IOleObject*>(this)}, {&IID_IOleWindow, inPlace}, {&IID_IOleInPlaceObject, inPlace},
       {&IID_IOleControl, static_cast<IOleControl*>(this)}});
  if (hr != E_NOINTERFACE) return hr;
  IUnknown* other = OtherInterface(riid);
  if (!other) return E_NOINTERFACE;
  other->AddRef();
  *ppv = other;
  return S_OK;
}

HRESULT KyControlBase::GetTypeInfoCount(UINT* count) { return count ? (*count = 1, S_OK) : E_POINTER; }

HRESULT KyControlBase::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ITypeLib* lib = nullptr;
  HRESULT hr = LoadRegTypeLib(LibraryId(), 1, 0, 0, &lib);
  if (FAILED(hr)) return hr;
  hr = lib->GetTypeInfoOfGuid(DispatchId(), info);
  lib->Release();
  return hr;
}

HRESULT KyControlBase::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    const std::string wanted = Lower(names[i]);
    for (const KyMemberName& member : Members())
      if (i == 0 && wanted == Lower(member.name)) ids[i] = member.id;
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT KyControlBase::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
  if (ppEnum) *ppEnum = nullptr;
  return E_NOTIMPL;
}

HRESULT KyControlBase::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
  if (!ppCP) return E_POINTER;
  *ppCP = nullptr;
  KyConnectionPoint* point = riid == events_.Iid() ? &events_ : riid == notify_.Iid() ? &notify_ : nullptr;
  if (!point) return CONNECT_E_NOCONNECTION;
  *ppCP = point;
  AddRef();
  return S_OK;
}

HRESULT KyControlBase::SetClientSite(IOleClientSite* site) {
  if (site) site->AddRef();
  if (site_) site_->Release();
  site_ = site;
  return S_OK;
}

HRESULT KyControlBase::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  if ((*site = site_)) site_->AddRef();
  return S_OK;
}

HRESULT KyControlBase::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
  if (ppmk) *ppmk = nullptr;
  return E_NOTIMPL;
}

HRESULT KyControlBase::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

HRESULT KyControlBase::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT rect) {
  if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW && verb != OLEIVERB_UIACTIVATE &&
      verb != OLEIVERB_PRIMARY)
    return OLEOBJ_E_NOVERBS;
  if (window_) return S_OK;
  if (!parent || !rect) return E_INVALIDARG;
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, windowClass_, &wc)) {
    wc.lpfnWndProc = WindowProc;
    wc.lpszClassName = windowClass_;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
  }
  window_ = CreateWindowExA(0, windowClass_, WindowText().c_str(), WS_CHILD | WS_VISIBLE, rect->left, rect->top,
                            rect->right - rect->left, rect->bottom - rect->top, parent, nullptr, nullptr, nullptr);
  if (!window_) return E_FAIL;
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return S_OK;
}

HRESULT KyControlBase::EnumVerbs(IEnumOLEVERB** e) {
  if (e) *e = nullptr;
  return E_NOTIMPL;
}

HRESULT KyControlBase::GetUserClassID(CLSID* clsid) { return clsid ? (*clsid = clsid_, S_OK) : E_POINTER; }

HRESULT KyControlBase::GetUserType(DWORD, LPOLESTR* type) {
  if (type) *type = nullptr;
  return E_NOTIMPL;
}

HRESULT KyControlBase::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT || !size) return E_INVALIDARG;
  extent_ = *size;
  return S_OK;
}

HRESULT KyControlBase::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT || !size) return E_INVALIDARG;
  *size = extent_;
  return S_OK;
}

HRESULT KyControlBase::Advise(IAdviseSink*, DWORD* c) {
  if (c) *c = 0;
  return E_NOTIMPL;
}

HRESULT KyControlBase::EnumAdvise(IEnumSTATDATA** e) {
  if (e) *e = nullptr;
  return E_NOTIMPL;
}

HRESULT KyControlBase::GetMiscStatus(DWORD, DWORD* status) { return status ? (*status = 0, S_OK) : E_POINTER; }

HRESULT KyControlBase::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = window_;
  return window_ ? S_OK : E_FAIL;
}

HRESULT KyControlBase::InPlaceDeactivate() {
  if (window_) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
  }
  return S_OK;
}

HRESULT KyControlBase::SetObjectRects(LPCRECT pos, LPCRECT) {
  if (!pos) return E_INVALIDARG;
  if (window_) MoveWindow(window_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
  return S_OK;
}

HRESULT KyControlBase::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  *info = CONTROLINFO{sizeof(CONTROLINFO), nullptr, 0, 0};
  return S_OK;
}

void KyControlBase::Changed(DISPID id) {
  notify_.ForEach([id](IUnknown* sink) { static_cast<IPropertyNotifySink*>(sink)->OnChanged(id); });
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

bool KyControlBase::MayChange(DISPID id) {
  bool allowed = true;
  notify_.ForEach([&](IUnknown* sink) {
    if (static_cast<IPropertyNotifySink*>(sink)->OnRequestEdit(id) == S_FALSE) allowed = false;
  });
  return allowed;
}

LRESULT CALLBACK KyControlBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<KyControlBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!control) return DefWindowProcA(hwnd, message, wParam, lParam);
  control->AddRef();  // a handler may release the control
  LRESULT result = 0;
  const bool handled = control->OnMessage(hwnd, message, wParam, lParam, &result);
  control->Release();
  return handled ? result : DefWindowProcA(hwnd, message, wParam, lParam);
}

// --- KyClassFactory ---

HRESULT KyClassFactory::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
  *ppv = static_cast<IClassFactory*>(this);
  return S_OK;
}

HRESULT KyClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  IUnknown* object = create_();
  if (!object) return E_OUTOFMEMORY;
  const HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

HRESULT KyClassFactory::LockServer(BOOL lock) {
  lock ? ++g_locks : --g_locks;
  return S_OK;
}

// --- registration ---

namespace {

bool setKey(const std::string& path, const std::string& value) {
  return RegSetValueA(HKEY_CLASSES_ROOT, path.c_str(), REG_SZ, value.c_str(), 0) == ERROR_SUCCESS;
}

}  // namespace

HRESULT RegisterControl(const KyControlRegistration& control, const void* anyAddressInModule) {
  const std::string path = ModulePath(anyAddressInModule);
  if (path.empty()) return SELFREG_E_CLASS;
  if (FAILED(CoRegisterInprocServerA(control.clsid, control.progId, path.c_str()))) return SELFREG_E_CLASS;
  const std::string clsid = GuidText(control.clsid), key = "CLSID\\" + clsid;
  bool ok = setKey(key, control.displayName) && setKey(key + "\\InprocServer32", path) &&
            setKey(key + "\\Control", "") && setKey(key + "\\ProgID", control.progId) &&
            setKey(key + "\\TypeLib", GuidText(control.libid)) && setKey(control.progId, control.displayName) &&
            setKey(std::string(control.progId) + "\\CLSID", clsid);
  for (const char* const* extra = control.extraKeys; ok && extra && *extra; ++extra) ok = setKey(key + "\\" + *extra, "");
  if (!ok) return SELFREG_E_CLASS;
  const std::string library = (std::filesystem::path(path).parent_path() / control.typeLibFile).string();
  std::u16string file(library.begin(), library.end());
  ITypeLib* lib = nullptr;
  if (FAILED(LoadTypeLib(reinterpret_cast<LPCOLESTR>(file.c_str()), &lib))) return SELFREG_E_TYPELIB;
  lib->Release();
  return S_OK;
}

HRESULT UnregisterControl(const KyControlRegistration& control) {
  CoUnregisterInprocServer(control.clsid);
  const std::string key = "CLSID\\" + GuidText(control.clsid);
  std::vector<std::string> keys;
  for (const char* const* extra = control.extraKeys; extra && *extra; ++extra) keys.push_back(key + "\\" + *extra);
  for (const char* sub : {"\\InprocServer32", "\\Control", "\\ProgID", "\\TypeLib", ""}) keys.push_back(key + sub);
  keys.push_back(std::string(control.progId) + "\\CLSID");
  keys.push_back(control.progId);
  for (const std::string& path : keys) RegDeleteKeyA(HKEY_CLASSES_ROOT, path.c_str());
  UnRegisterTypeLib(control.libid, 1, 0, 0, SYS_WIN64);
  return S_OK;
}

}  // namespace kyctl
