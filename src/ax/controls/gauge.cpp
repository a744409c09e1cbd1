// KYGAUGE.OCX: the gauge control (see kygauge.h). One object answers
// IDispatch, IConnectionPointContainer, IOleObject, IOleInPlaceObject,
// IOleControl and IPersistStreamInit; in-place activation makes its window
// a child of the container's.
#include <dlfcn.h>
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>
#include <oletypelib.h>
#include <windows.h>
#include <winreg.h>

#include <atomic>
#include <internal/comobject.h>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "kygauge.h"

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
const char kWindowClass[] = "KyGaugeWindow";

std::string modulePath() {
  Dl_info info{};
  return dladdr(reinterpret_cast<void*>(&modulePath), &info) && info.dli_fname ? info.dli_fname : "";
}

BSTR wide(const std::string& text) {
  std::u16string w(text.begin(), text.end());
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(w.data()), static_cast<UINT>(w.size()));
}

std::string narrow(BSTR text) {
  std::string out;
  for (UINT i = 0; text && i < SysStringLen(text); ++i) out += text[i] <= 0xFF ? static_cast<char>(text[i]) : '?';
  return out;
}

class Gauge;

// The connection point of DIID_KyGaugeEvents.
class EventPoint final : public IConnectionPoint {
 public:
  explicit EventPoint(IConnectionPointContainer* owner) : owner_(owner) {}
  ~EventPoint() {
    for (auto& [cookie, sink] : sinks_) sink->Release();
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IConnectionPoint) return E_NOINTERFACE;
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override {
    return pIID ? (*pIID = DIID_KyGaugeEvents, S_OK) : E_POINTER;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override {
    if (!ppCPC) return E_POINTER;
    *ppCPC = owner_;
    owner_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    IDispatch* events = nullptr;
    if (FAILED(sink->QueryInterface(DIID_KyGaugeEvents, reinterpret_cast<void**>(&events))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&events))))
      return CONNECT_E_CANNOTCONNECT;
    *cookie = ++last_;
    sinks_[*cookie] = events;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    auto found = sinks_.find(cookie);
    if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
    found->second->Release();
    sinks_.erase(found);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override {
    if (ppEnum) *ppEnum = nullptr;
    return E_NOTIMPL;
  }

  void fire(DISPID id, VARIANT* args, UINT count) {
    DISPPARAMS params{args, nullptr, count, 0};
    // A sink may unadvise while it is called: walk a copy.
    std::vector<IDispatch*> sinks;
    for (auto& [cookie, sink] : sinks_) sinks.push_back((sink->AddRef(), sink));
    for (IDispatch* sink : sinks) {
      sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
      sink->Release();
    }
  }

 private:
  IConnectionPointContainer* owner_;
  std::map<DWORD, IDispatch*> sinks_;
  DWORD last_ = 0;
};

struct State {
  std::string caption = "Gauge";
  DWORD backColor = 0x80000005;  // the window background
  bool enabled = true;
  LONG value = 0;
  LONG shape = 0;
};

class Gauge final : public IDispatch,
                    public IConnectionPointContainer,
                    public IOleObject,
                    public IOleInPlaceObject,
                    public IOleControl,
                    public IPersistStreamInit {
 public:
  Gauge() : events_(this) {
    ++g_objects;
    resetFont();
  }

  // --- IUnknown ---
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    IDispatch* dispatch = this;
    IOleInPlaceObject* inPlace = this;
    IPersistStreamInit* persist = this;
    return win32::com::answerQuery(
        riid, ppv,
        {{&IID_IUnknown, dispatch}, {&IID_IDispatch, dispatch}, {&DIID_KyGauge, dispatch},
         {&IID_IConnectionPointContainer, static_cast<IConnectionPointContainer*>(this)},
         {&IID_IOleObject, static_cast<IOleObject*>(this)}, {&IID_IOleWindow, inPlace}, {&IID_IOleInPlaceObject, inPlace},
         {&IID_IOleControl, static_cast<IOleControl*>(this)}, {&IID_IPersist, persist}, {&IID_IPersistStreamInit, persist}});
  }
  KY_COM_REFCOUNT

  // --- IDispatch ---
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return count ? (*count = 1, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadRegTypeLib(LIBID_KyGauge, 1, 0, 0, &lib);
    if (FAILED(hr)) return hr;
    hr = lib->GetTypeInfoOfGuid(DIID_KyGauge, info);
    lib->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    static const struct {
      const char* name;
      DISPID id;
    } members[] = {{"Caption", KYGAUGE_CAPTION}, {"BackColor", KYGAUGE_BACKCOLOR}, {"Enabled", KYGAUGE_ENABLED},
                   {"Value", KYGAUGE_VALUE},     {"Shape", KYGAUGE_SHAPE},         {"Step", KYGAUGE_STEP},
                   {"Count", KYGAUGE_COUNT},     {"AboutBox", KYGAUGE_ABOUTBOX}, {"Font", KYGAUGE_FONT}};
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      const std::string wanted = lower(names[i]);
      for (const auto& member : members)
        if (i == 0 && wanted == lower(member.name)) ids[i] = member.id;
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT* argErr) override {
    const bool get = flags & DISPATCH_PROPERTYGET, put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    const UINT args = params ? params->cArgs : 0;
    if (put && args != 1) return DISP_E_BADPARAMCOUNT;
    VARIANT value;
    VariantInit(&value);
    auto argument = [&](VARTYPE vt) {
      VariantClear(&value);
      const HRESULT hr = VariantChangeType(&value, &params->rgvarg[0], 0, vt);
      if (FAILED(hr) && argErr) *argErr = 0;
      return hr;
    };
    auto answer = [&](VARIANT v) {
      if (result) *result = v;
      else VariantClear(&v);
      return S_OK;
    };
    HRESULT hr = S_OK;
    switch (id) {
      case KYGAUGE_CAPTION:
        if (put) {
          if (FAILED(hr = argument(VT_BSTR))) break;
          state_.caption = narrow(value.bstrVal);
          changed();
          if (window_) SetWindowTextA(window_, state_.caption.c_str());
        } else if (get) {
          VARIANT v;
          v.vt = VT_BSTR;
          v.bstrVal = wide(state_.caption);
          hr = answer(v);
        } else hr = DISP_E_MEMBERNOTFOUND;
        break;
      case KYGAUGE_BACKCOLOR:
      case KYGAUGE_VALUE:
      case KYGAUGE_SHAPE: {
        LONG* field = id == KYGAUGE_VALUE ? &state_.value : id == KYGAUGE_SHAPE ? &state_.shape
                                                                                  : reinterpret_cast<LONG*>(&state_.backColor);
        if (put) {
          if (FAILED(hr = argument(id == KYGAUGE_BACKCOLOR ? VT_UI4 : VT_I4))) break;
          if (id == KYGAUGE_SHAPE && (value.lVal < 0 || value.lVal > 1)) { hr = DISP_E_OVERFLOW; break; }
          *field = value.lVal;
          changed();
          if (id == KYGAUGE_VALUE && state_.value == 0) events_.fire(KYGAUGE_EVENT_RESET, nullptr, 0);
        } else if (get) {
          VARIANT v;
          VariantInit(&v);
          v.vt = id == KYGAUGE_BACKCOLOR ? VT_UI4 : VT_I4;
          v.lVal = *field;
          hr = answer(v);
        } else hr = DISP_E_MEMBERNOTFOUND;
        break;
      }
      case KYGAUGE_ENABLED:
        if (put) {
          if (FAILED(hr = argument(VT_BOOL))) break;
          state_.enabled = value.boolVal != VARIANT_FALSE;
          changed();
        } else if (get) {
          VARIANT v;
          VariantInit(&v);
          v.vt = VT_BOOL;
          v.boolVal = state_.enabled ? VARIANT_TRUE : VARIANT_FALSE;
          hr = answer(v);
        } else hr = DISP_E_MEMBERNOTFOUND;
        break;
      case KYGAUGE_COUNT:
        if (!get || put) { hr = DISP_E_MEMBERNOTFOUND; break; }
        {
          VARIANT v;
          VariantInit(&v);
          v.vt = VT_I4;
          v.lVal = changes_;
          hr = answer(v);
        }
        break;
      case KYGAUGE_STEP:
        if (!(flags & DISPATCH_METHOD)) { hr = DISP_E_MEMBERNOTFOUND; break; }
        if (args != 1) { hr = DISP_E_BADPARAMCOUNT; break; }
        if (FAILED(hr = argument(VT_I4))) break;
        state_.value += value.lVal;
        changed();
        {
          VARIANT arg;
          VariantInit(&arg);
          arg.vt = VT_I4;
          arg.lVal = state_.value;
          events_.fire(KYGAUGE_EVENT_CHANGED, &arg, 1);
        }
        break;
      case KYGAUGE_FONT:
        if (put) {
          IDispatch* font = nullptr;
          VARIANT& arg = params->rgvarg[0];
          IUnknown* given = arg.vt == VT_DISPATCH ? arg.pdispVal : arg.vt == VT_UNKNOWN ? arg.punkVal : nullptr;
          if (!given || FAILED(given->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&font)))) {
            hr = DISP_E_TYPEMISMATCH;
            break;
          }
          if (font_) font_->Release();
          font_ = font;
          changed();
        } else if (get) {
          VARIANT v;
          VariantInit(&v);
          v.vt = VT_DISPATCH;
          v.pdispVal = font_;
          if (font_) font_->AddRef();
          hr = answer(v);
        } else hr = DISP_E_MEMBERNOTFOUND;
        break;
      case KYGAUGE_ABOUTBOX:
        if (!(flags & DISPATCH_METHOD)) { hr = DISP_E_MEMBERNOTFOUND; break; }
        MessageBoxA(window_, "KyGauge Control 1.0", "About KyGauge", MB_OK);
        break;
      default:
        hr = DISP_E_MEMBERNOTFOUND;
    }
    VariantClear(&value);
    return hr;
  }

  // --- IConnectionPointContainer ---
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override {
    if (ppEnum) *ppEnum = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
    if (!ppCP) return E_POINTER;
    *ppCP = nullptr;
    if (riid != DIID_KyGaugeEvents) return CONNECT_E_NOCONNECTION;
    *ppCP = &events_;
    AddRef();
    return S_OK;
  }

  // --- IOleObject ---
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
    if (site) site->AddRef();
    if (site_) site_->Release();
    site_ = site;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
    if (!site) return E_POINTER;
    if ((*site = site_)) site_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override { return InPlaceDeactivate(); }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) override {
    if (ppmk) *ppmk = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override {
    if (data) *data = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT rect) override {
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW && verb != OLEIVERB_UIACTIVATE &&
        verb != OLEIVERB_PRIMARY)
      return OLEOBJ_E_NOVERBS;
    if (window_) return S_OK;
    if (!parent || !rect) return E_INVALIDARG;
    registerWindowClass();
    window_ = CreateWindowExA(0, kWindowClass, state_.caption.c_str(), WS_CHILD | WS_VISIBLE, rect->left, rect->top,
                              rect->right - rect->left, rect->bottom - rect->top, parent, nullptr, nullptr, nullptr);
    if (!window_) return E_FAIL;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** e) override {
    if (e) *e = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override { return clsid ? (*clsid = CLSID_KyGauge, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* type) override {
    if (type) *type = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override {
    if (aspect != DVASPECT_CONTENT || !size) return E_INVALIDARG;
    extent_ = *size;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override {
    if (aspect != DVASPECT_CONTENT || !size) return E_INVALIDARG;
    *size = extent_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* c) override {
    if (c) *c = 0;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** e) override {
    if (e) *e = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override { return status ? (*status = 0, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE SetColorScheme(tagLOGPALETTE*) override { return E_NOTIMPL; }

  // --- IOleInPlaceObject ---
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
    if (!hwnd) return E_POINTER;
    *hwnd = window_;
    return window_ ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
    if (window_) {
      SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
      DestroyWindow(window_);
      window_ = nullptr;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT pos, LPCRECT) override {
    if (!pos) return E_INVALIDARG;
    if (window_) MoveWindow(window_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

  // --- IOleControl ---
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override {
    if (!info) return E_POINTER;
    *info = CONTROLINFO{sizeof(CONTROLINFO), nullptr, 0, 0};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

  // --- IPersistStreamInit ---
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override { return clsid ? (*clsid = CLSID_KyGauge, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override {
    if (!stream) return E_POINTER;
    char magic[4];
    State loaded;
    DWORD length = 0, enabled = 0;
    if (!read(stream, magic, 4) || std::memcmp(magic, "KYG1", 4) || !read(stream, &length, 4) || length > 0x10000)
      return E_FAIL;
    loaded.caption.resize(length);
    if (!read(stream, loaded.caption.data(), length) || !read(stream, &loaded.backColor, 4) || !read(stream, &enabled, 4) ||
        !read(stream, &loaded.value, 4) || !read(stream, &loaded.shape, 4))
      return E_FAIL;
    loaded.enabled = enabled != 0;
    state_ = loaded;
    dirty_ = false;
    if (window_) SetWindowTextA(window_, state_.caption.c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override {
    if (!stream) return E_POINTER;
    const DWORD length = static_cast<DWORD>(state_.caption.size()), enabled = state_.enabled;
    if (!write(stream, "KYG1", 4) || !write(stream, &length, 4) || !write(stream, state_.caption.data(), length) ||
        !write(stream, &state_.backColor, 4) || !write(stream, &enabled, 4) || !write(stream, &state_.value, 4) ||
        !write(stream, &state_.shape, 4))
      return STG_E_WRITEFAULT;
    if (clearDirty) dirty_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override {
    if (!size) return E_POINTER;
    size->QuadPart = 24 + state_.caption.size();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InitNew() override {
    state_ = State{};
    resetFont();
    dirty_ = false;
    return S_OK;
  }

  void click() {
    if (state_.enabled) events_.fire(KYGAUGE_EVENT_CLICK, nullptr, 0);
  }
  const State& state() const { return state_; }

 private:
  ~Gauge() {
    InPlaceDeactivate();
    if (font_) font_->Release();
    if (site_) site_->Release();
    --g_objects;
  }
  void resetFont() {
    if (font_) font_->Release();
    font_ = nullptr;
    std::u16string face = u"Arial";
    FONTDESC desc{sizeof(FONTDESC), reinterpret_cast<LPOLESTR>(face.data()), {}, 400, 0, FALSE, FALSE, FALSE};
    desc.cySize.int64 = 80000;  // 8 points
    OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&font_));
  }
  void changed() {
    ++changes_;
    dirty_ = true;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
  }
  static std::string lower(const OLECHAR* text) {
    std::string out;
    for (; text && *text; ++text) out += static_cast<char>(*text >= 'A' && *text <= 'Z' ? *text + 32 : *text);
    return out;
  }
  static std::string lower(const char* text) {
    std::string out;
    for (; *text; ++text) out += static_cast<char>(*text >= 'A' && *text <= 'Z' ? *text + 32 : *text);
    return out;
  }
  static bool read(IStream* stream, void* to, ULONG n) {
    ULONG got = 0;
    return SUCCEEDED(stream->Read(to, n, &got)) && got == n;
  }
  static bool write(IStream* stream, const void* from, ULONG n) {
    ULONG put = 0;
    return SUCCEEDED(stream->Write(from, n, &put)) && put == n;
  }
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static void registerWindowClass() {
    WNDCLASSA wc{};
    if (GetClassInfoA(nullptr, kWindowClass, &wc)) return;
    wc.lpfnWndProc = windowProc;
    wc.lpszClassName = kWindowClass;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
  }

  win32::com::RefCount refs_;
  EventPoint events_;
  IOleClientSite* site_ = nullptr;
  IDispatch* font_ = nullptr;
  HWND window_ = nullptr;
  State state_;
  SIZEL extent_{2540, 1270};
  LONG changes_ = 0;
  bool dirty_ = false;
};

LRESULT CALLBACK Gauge::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* gauge = reinterpret_cast<Gauge*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (gauge && message == WM_LBUTTONDOWN) {
    gauge->AddRef();  // a handler may release the control
    gauge->click();
    gauge->Release();
    return 0;
  }
  if (gauge && message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    const DWORD color = gauge->state().backColor;
    HBRUSH brush = CreateSolidBrush((color & 0x80000000u) ? GetSysColor(color & 0xFF) : color);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    const std::string text = gauge->state().caption + " " + std::to_string(gauge->state().value);
    DrawTextA(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // static object
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* gauge = new Gauge;
    const HRESULT hr = gauge->QueryInterface(riid, ppv);
    gauge->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? ++g_locks : --g_locks;
    return S_OK;
  }
};

Factory g_factory;

bool setKey(const std::string& path, const std::string& value) {
  return RegSetValueA(HKEY_CLASSES_ROOT, path.c_str(), REG_SZ, value.c_str(), 0) == ERROR_SUCCESS;
}

std::string guidText(REFGUID guid) {
  OLECHAR text[40];
  StringFromGUID2(guid, text, 40);
  std::string out;
  for (int i = 0; text[i]; ++i) out += static_cast<char>(text[i]);
  return out;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (clsid != CLSID_KyGauge) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, ppv);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
  return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

// The class registry, HKEY_CLASSES_ROOT (class, ProgID, control, server,
// type library) and the type library beside the module.
extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
  const std::string path = modulePath();
  if (path.empty()) return SELFREG_E_CLASS;
  if (FAILED(CoRegisterInprocServerA(CLSID_KyGauge, KYGAUGE_PROGID, path.c_str()))) return SELFREG_E_CLASS;
  const std::string clsid = guidText(CLSID_KyGauge), key = "CLSID\\" + clsid;
  if (!setKey(key, "KyGauge Control") || !setKey(key + "\\InprocServer32", path) || !setKey(key + "\\Control", "") ||
      !setKey(key + "\\ProgID", KYGAUGE_PROGID) || !setKey(key + "\\TypeLib", guidText(LIBID_KyGauge)) ||
      !setKey(KYGAUGE_PROGID, "KyGauge Control") || !setKey(std::string(KYGAUGE_PROGID) + "\\CLSID", clsid))
    return SELFREG_E_CLASS;
  const std::string library = (std::filesystem::path(path).parent_path() / KYGAUGE_TYPELIB).string();
  std::u16string file(library.begin(), library.end());
  ITypeLib* lib = nullptr;
  if (FAILED(LoadTypeLib(reinterpret_cast<LPCOLESTR>(file.c_str()), &lib))) return SELFREG_E_TYPELIB;
  lib->Release();
  return S_OK;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
  CoUnregisterInprocServer(CLSID_KyGauge);
  const std::string key = "CLSID\\" + guidText(CLSID_KyGauge);
  for (const std::string& path : {key + "\\InprocServer32", key + "\\Control", key + "\\ProgID", key + "\\TypeLib", key,
                                  std::string(KYGAUGE_PROGID) + "\\CLSID", std::string(KYGAUGE_PROGID)})
    RegDeleteKeyA(HKEY_CLASSES_ROOT, path.c_str());
  UnRegisterTypeLib(LIBID_KyGauge, 1, 0, 0, SYS_WIN64);
  return S_OK;
}
